#include "support/doubles/scripteddialogs.h"

#include <QTest>

namespace kelvane::doubles {

void ScriptedDialogs::expect(Kind kind, const QString& answer) {
    queue_.emplace_back(kind, answer);
}

QString ScriptedDialogs::answer(Shown shown) {
    shown_.append(shown);
    if (queue_.empty() || queue_.front().first != shown.kind) {
        QTest::qFail(qPrintable(QStringLiteral("Boîte de choix inattendue: \"%1\"").arg(shown.title)), __FILE__,
                     __LINE__);
        return {};
    }
    const QString path = queue_.front().second;
    queue_.pop_front();
    return path;
}

QString ScriptedDialogs::chooseFolder(const QString& title, const QString& start) {
    return answer({Kind::Folder, title, start, {}});
}

QString ScriptedDialogs::chooseFileToOpen(const QString& title, const QString& start, const QString& filters) {
    return answer({Kind::Open, title, start, filters});
}

QString ScriptedDialogs::chooseFileToSave(const QString& title, const QString& suggested, const QString& filters) {
    return answer({Kind::Save, title, suggested, filters});
}

services::LaunchResult ScriptedLauncher::startDetached(const QString& program, const QStringList& arguments,
                                                       const QString& workingFolder) {
    launches.append({program, arguments, workingFolder});
    if (during) {
        during(launches.back());
    }
    return result;
}

} // namespace kelvane::doubles
