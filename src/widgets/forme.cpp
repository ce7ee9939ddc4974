#include "widgets/forme.h"

namespace kelvane::widgets {

void Forme::Show1() {
    Form_Load();
    setWindowModality(Qt::ApplicationModal);
    exec();
}

void Forme::Unload() {
    done(QDialog::Rejected);
}

void Forme::reject() {}

} // namespace kelvane::widgets
