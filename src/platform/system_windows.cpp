#include "platform/system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStorageInfo>
#include <windows.h>
// clang-format off: after windows.h, which it needs
#include <tlhelp32.h>
// clang-format on

namespace kelvane::platform {

QString executableName(const QString& base) {
    return base + QStringLiteral(".exe");
}

QByteArray sqliteFileName(const QString& path) {
    return path.toUtf8();
}

QByteArray cLibraryFileName(const QString& path) {
    const QByteArray ansi = QFile::encodeName(path);
    if (QFile::decodeName(ansi) == path) {
        return ansi;
    }
    const std::wstring wide = QDir::toNativeSeparators(path).toStdWString();
    std::wstring shortName(MAX_PATH, L'\0');
    const DWORD length = GetShortPathNameW(wide.c_str(), shortName.data(), static_cast<DWORD>(shortName.size()));
    if (length == 0 || length >= shortName.size()) {
        return ansi; // no short name: the library reports the file as not found
    }
    shortName.resize(length);
    return QFile::encodeName(QString::fromStdWString(shortName));
}

QString replaceFile(const QString& from, const QString& to) {
    const std::wstring source = QDir::toNativeSeparators(from).toStdWString();
    const std::wstring target = QDir::toNativeSeparators(to).toStdWString();
    if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return {};
    }
    return qt_error_string(static_cast<int>(GetLastError()));
}

void prepareConsole() {
    SetConsoleOutputCP(CP_UTF8);
}

Qt::CaseSensitivity fileNameCase() {
    return Qt::CaseInsensitive;
}

QStringList userVolumes() {
    QStringList result;
    // Every letter the system gives, mapped network drives and drives without a disk among them.
    for (const QFileInfo& drive : QDir::drives()) {
        result.append(drive.path().left(2).toLower()); // "C:/" is shown "c:", a drive list's usual spelling
    }
    return result;
}

QString volumeOf(const QString& absolutePath, const QStringList& volumes) {
    Q_UNUSED(volumes);
    if (absolutePath.size() >= 2 && absolutePath.at(1) == QLatin1Char(':')) {
        return absolutePath.left(2).toLower();
    }
    return QStorageInfo(absolutePath).rootPath(); // a network share named by its path
}

QString schoolSettingFile() {
    const QString programData = qEnvironmentVariable("ProgramData", QStringLiteral("C:/ProgramData"));
    return QDir(QDir::fromNativeSeparators(programData)).filePath(QStringLiteral("Kelvane/dossier"));
}

QString userFolderParent() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

QStringList demoFolderCandidates(const QString& programFolder) {
    // Installed or portable, the demo folder lies beside the programs; in the build tree, build/src/kelvane.exe
    // finds build/demo.
    const QDir program(programFolder);
    return {QDir::cleanPath(program.filePath(QStringLiteral("demo"))),
            QDir::cleanPath(program.filePath(QStringLiteral("../demo")))};
}

bool isOutOfSpace(int systemError) {
    Q_UNUSED(systemError); // SQLite's Windows layer already reports these as SQLITE_FULL
    return false;
}

bool childMemoryLimited() {
    return true;
}

namespace {

// Lets every thread of a process started suspended run.
void resumeThreads(DWORD processId) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return;
    }
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId) {
            continue;
        }
        if (const HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)) {
            ResumeThread(thread);
            CloseHandle(thread);
        }
    }
    CloseHandle(snapshot);
}

} // namespace

struct ChildLimits::Impl {
    HANDLE job = nullptr;
    ~Impl() {
        if (job != nullptr) {
            CloseHandle(job); // kills whatever is still in it
        }
    }
};

ChildLimits::ChildLimits(QProcess& process, qint64 memoryBytes) : process_(process), impl_(std::make_unique<Impl>()) {
    impl_->job = CreateJobObjectW(nullptr, nullptr);
    if (impl_->job != nullptr) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags =
            JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
        if (memoryBytes > 0) {
            limits.BasicLimitInformation.LimitFlags |= JOB_OBJECT_LIMIT_PROCESS_MEMORY;
            limits.ProcessMemoryLimit = static_cast<SIZE_T>(memoryBytes);
        }
        SetInformationJobObject(impl_->job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* arguments) {
        // Suspended until it is in its job, so that nothing of it runs outside the limits.
        arguments->flags |= CREATE_SUSPENDED;
    });
}

ChildLimits::~ChildLimits() = default;

void ChildLimits::started() {
    const auto processId = static_cast<DWORD>(process_.processId());
    if (processId == 0) {
        return;
    }
    if (impl_->job != nullptr) {
        if (const HANDLE child = OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE, processId)) {
            AssignProcessToJobObject(impl_->job, child);
            CloseHandle(child);
        }
    }
    resumeThreads(processId);
}

void ChildLimits::kill() {
    if (impl_->job != nullptr) {
        TerminateJobObject(impl_->job, 1);
    }
    process_.kill();
    process_.waitForFinished(5000);
}

} // namespace kelvane::platform
