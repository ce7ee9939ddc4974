#include "platform/error.h"

namespace kelvane {

Error::Error(int number, QString text) : number_(number), text_(std::move(text)), utf8_(message().toUtf8()) {}

QString Error::message() const {
    return QStringLiteral("Erreur %1: %2").arg(number_).arg(text_);
}

} // namespace kelvane
