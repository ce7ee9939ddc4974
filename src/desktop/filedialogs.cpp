#include "desktop/filedialogs.h"

#include <QApplication>
#include <QFileDialog>

namespace kelvane::desktop {

QWidget* QtFileDialogs::owner() const {
    return parent_ ? parent_.data() : QApplication::activeWindow();
}

QString QtFileDialogs::chooseFolder(const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(owner(), title, start, QFileDialog::ShowDirsOnly);
}

QString QtFileDialogs::chooseFileToOpen(const QString& title, const QString& start, const QString& filters) {
    return QFileDialog::getOpenFileName(owner(), title, start, filters);
}

QString QtFileDialogs::chooseFileToSave(const QString& title, const QString& suggested, const QString& filters) {
    // The choice of replacing an existing file is the dialog's own question.
    return QFileDialog::getSaveFileName(owner(), title, suggested, filters);
}

} // namespace kelvane::desktop
