#pragma once

#include <QLibrary>

namespace kelvane::support {

// Whether the suite runs under Wine, whose Windows lacks a few things of the real one (a job's memory limit, a
// window manager's focus): the checks that need them say so and are skipped there.
inline bool sousWine() {
    QLibrary ntdll(QStringLiteral("ntdll"));
    return ntdll.resolve("wine_get_version") != nullptr;
}

} // namespace kelvane::support
