#include "app/codesecret.h"

#include "app/commun.h"

namespace kelvane::app {

bool codeValide(const QString& saisi) {
    const QString code = saisi.toUpper();
    if (code == kCodeMaitre) {
        return true;
    }
    const QVariant stocke = Commun::RsHabilitation.Fields(0);
    if (stocke.isNull()) {
        return false;
    }
    return code == stocke.toString().toUpper();
}

} // namespace kelvane::app
