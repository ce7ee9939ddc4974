#include "platform/services/clock.h"

#include <QLocale>
#include <QTime>

namespace kelvane::services {

QString shortDate(const QDate& date) {
    // A fixed French locale rather than the default one: a machine set to another language (or to a script
    // with its own digits) must still write the dates the way the stored files and the teachers expect.
    static const QLocale french(QLocale::French, QLocale::France);
    return french.toString(date, QStringLiteral("dd/MM/yy"));
}

QDate SystemClock::today() const {
    return QDate::currentDate();
}

int SystemClock::second() const {
    return QTime::currentTime().second();
}

} // namespace kelvane::services
