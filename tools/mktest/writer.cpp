#include "writer.h"

#include "platform/db/database.h"
#include "platform/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <filesystem>
#include <system_error>

namespace kelvane::mktest {

namespace {

using db::Database;
using db::FieldType;
using db::TableDef;

void addField(TableDef& table, const QString& name, FieldType type, int size = 0) {
    db::Field field = table.CreateField(name, type, size);
    if (type == FieldType::Text) {
        field.setAllowZeroLength(true);
    }
    table.Fields().Append(field);
}

void removeWithCompanions(const QString& path) {
    QFile::remove(path);
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        QFile::remove(path + QLatin1String(suffix));
    }
}

// Builds a new database with build(db) under a temporary name beside output, then renames it over output.
template <typename Build> void writeAtomically(const QString& output, Build build) {
    const QFileInfo target(output);
    if (!target.absoluteDir().exists()) {
        throw Error(
            errc::PathNotFound,
            QStringLiteral("le dossier « %1 » n'existe pas").arg(QDir::toNativeSeparators(target.absolutePath())));
    }
    if (target.isDir()) {
        throw Error(errc::PathFileAccess,
                    QStringLiteral("« %1 » est un dossier").arg(QDir::toNativeSeparators(target.absoluteFilePath())));
    }

    QString temporary;
    Database database;
    for (int attempt = 0;; ++attempt) {
        temporary =
            target.absoluteDir().filePath(QStringLiteral(".%1.%2.tmp")
                                              .arg(target.fileName())
                                              .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        try {
            database = db::CreateDatabase(temporary, QLatin1String(kLocale));
            break;
        } catch (const Error& e) {
            if (e.number() != errc::DatabaseExists || attempt == 9) {
                throw;
            }
        }
    }

    try {
        build(database);
        database.Close();
    } catch (...) {
        try {
            if (database.inTransaction()) {
                database.Rollback();
            }
            database.Close();
        } catch (const Error&) { // the first failure is the one to report
        }
        removeWithCompanions(temporary);
        throw;
    }

    std::error_code failure;
    std::filesystem::rename(QFileInfo(temporary).filesystemAbsoluteFilePath(), target.filesystemAbsoluteFilePath(),
                            failure);
    if (failure) {
        removeWithCompanions(temporary);
        throw Error(errc::PathFileAccess, QStringLiteral("impossible d'écrire « %1 » (%2)")
                                              .arg(QDir::toNativeSeparators(target.absoluteFilePath()),
                                                   QString::fromLocal8Bit(failure.message())));
    }
}

void createTestTables(Database& database) {
    TableDef chapitre = database.CreateTableDef(QStringLiteral("chapitre"));
    addField(chapitre, QStringLiteral("nom"), FieldType::Text, kChapterNameSize);
    addField(chapitre, QStringLiteral("numero"), FieldType::Integer);
    database.TableDefs().Append(chapitre);

    TableDef numero = database.CreateTableDef(QStringLiteral("numero"));
    addField(numero, QStringLiteral("temps"), FieldType::Integer);
    addField(numero, QStringLiteral("tolerance"), FieldType::Integer);
    database.TableDefs().Append(numero);

    TableDef test = database.CreateTableDef(QStringLiteral("test"));
    for (const char* level : kLevels) {
        addField(test, QLatin1String(level), FieldType::Boolean);
    }
    addField(test, QStringLiteral("question"), FieldType::Text, kQuestionSize);
    addField(test, QStringLiteral("nbrereponse"), FieldType::Integer);
    for (int i = 1; i <= kMaxAnswers; ++i) {
        addField(test, QStringLiteral("R%1").arg(i), FieldType::Text, kAnswerSize);
    }
    for (int i = 1; i <= kMaxAnswers; ++i) {
        addField(test, QStringLiteral("S%1").arg(i), FieldType::Integer);
    }
    addField(test, QStringLiteral("temps"), FieldType::Integer);
    addField(test, QStringLiteral("qcm"), FieldType::Boolean);
    addField(test, QStringLiteral("chapitre"), FieldType::Integer);
    addField(test, QStringLiteral("numero"), FieldType::Integer);
    database.TableDefs().Append(test);
}

void fillTestTables(Database& database, const TestSource& source) {
    db::Recordset numero = database.OpenRecordset(QStringLiteral("numero"));
    db::Recordset chapitre = database.OpenRecordset(QStringLiteral("chapitre"));
    db::Recordset test = database.OpenRecordset(QStringLiteral("test"));

    database.BeginTrans();
    numero.AddNew();
    numero.SetField(QStringLiteral("temps"), source.temps);
    numero.SetField(QStringLiteral("tolerance"), source.tolerance);
    numero.Update();

    for (const Chapter& c : source.chapters) {
        chapitre.AddNew();
        chapitre.SetField(QStringLiteral("nom"), c.nom);
        chapitre.SetField(QStringLiteral("numero"), c.numero);
        chapitre.Update();
    }

    for (const Question& q : source.questions) {
        test.AddNew();
        for (std::size_t i = 0; i < kLevels.size(); ++i) {
            test.SetField(QLatin1String(kLevels[i]), q.levels[i]);
        }
        test.SetField(QStringLiteral("question"), q.text);
        test.SetField(QStringLiteral("nbrereponse"), static_cast<int>(q.answers.size()));
        for (std::size_t i = 0; i < static_cast<std::size_t>(kMaxAnswers); ++i) {
            const bool shown = i < q.answers.size();
            const int slot = static_cast<int>(i) + 1;
            test.SetField(QStringLiteral("R%1").arg(slot), shown ? q.answers[i].text : QStringLiteral(""));
            test.SetField(QStringLiteral("S%1").arg(slot), shown ? q.answers[i].expected : 0);
        }
        test.SetField(QStringLiteral("temps"), q.temps);
        test.SetField(QStringLiteral("qcm"), q.qcm);
        test.SetField(QStringLiteral("chapitre"), q.chapitre);
        test.SetField(QStringLiteral("numero"), q.numero);
        test.Update();
    }
    database.CommitTrans();
}

} // namespace

void writeTestDatabase(const TestSource& source, const QString& output) {
    writeAtomically(output, [&](Database& database) {
        createTestTables(database);
        fillTestTables(database, source);
    });
}

void writeSettingsDatabase(const QString& output, const QString& code) {
    if (code.size() > kCodeSize) {
        throw Error(errc::FieldTooSmall,
                    QStringLiteral("code trop long : %1 caractères, %2 au plus").arg(code.size()).arg(kCodeSize));
    }
    writeAtomically(output, [&](Database& database) {
        TableDef habilitation = database.CreateTableDef(QStringLiteral("habilitation"));
        addField(habilitation, QStringLiteral("code"), FieldType::Text, kCodeSize);
        database.TableDefs().Append(habilitation);

        db::Recordset rs = database.OpenRecordset(QStringLiteral("habilitation"));
        rs.AddNew();
        rs.SetField(QStringLiteral("code"), code.isNull() ? QStringLiteral("") : code);
        rs.Update();
    });
}

} // namespace kelvane::mktest
