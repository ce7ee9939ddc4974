#include "system.h"

#include <QFile>
#include <cstdio>
#include <unistd.h>

namespace kelvane::lecteuraccess {

QString fileArgument(int argc, char* argv[]) {
    return argc > 1 ? QFile::decodeName(argv[1]) : QString();
}

int takeStandardOutput() {
    std::fflush(stdout);
    const int real = ::dup(STDOUT_FILENO);
    if (real < 0 || ::dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        return -1;
    }
    return real;
}

} // namespace kelvane::lecteuraccess
