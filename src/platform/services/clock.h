#pragma once

#include <QDate>
#include <QString>

namespace kelvane::services {

class ClockService {
public:
    virtual ~ClockService() = default;
    virtual QDate today() const = 0;
    virtual int second() const = 0; // second of the current minute, 0 to 59
};

// The short date is always the French dd/MM/yy, whatever the machine's locale, so that file names and stored
// dates read the same on every machine: 6 December 2001 gives "06/12/01".
QString shortDate(const QDate& date);

class SystemClock final : public ClockService {
public:
    QDate today() const override;
    int second() const override;
};

} // namespace kelvane::services
