#include "system.h"

#include <QFile>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// clang-format off: after windows.h, which it needs
#include <shellapi.h>
// clang-format on

namespace kelvane::lecteuraccess {

QString fileArgument(int argc, char* argv[]) {
    Q_UNUSED(argv);
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    QString file;
    if (wide != nullptr && count == argc && count > 1) {
        file = QString::fromWCharArray(wide[1]);
    }
    LocalFree(wide);
    return file;
}

int takeStandardOutput() {
    std::fflush(stdout);
    const int real = _dup(_fileno(stdout));
    if (real < 0 || _dup2(_fileno(stderr), _fileno(stdout)) < 0) {
        return -1;
    }
    _setmode(real, _O_BINARY);
    return real;
}

} // namespace kelvane::lecteuraccess
