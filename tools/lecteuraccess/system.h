#pragma once

#include <QByteArray>
#include <QString>

// What the reader does differently on Linux and Windows: system_posix.cpp, system_windows.cpp.
namespace kelvane::lecteuraccess {

// The file named on the command line (argv[1]), whatever its characters: on Windows read from the wide command
// line, since argv only holds what the ANSI code page can spell.
QString fileArgument(int argc, char* argv[]);

// Sends whatever is printed on the standard output to the error output from now on, and returns a descriptor of
// the real standard output, in binary mode, for the dump alone; -1 when it cannot.
int takeStandardOutput();

} // namespace kelvane::lecteuraccess
