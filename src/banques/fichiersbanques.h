#pragma once

// What the workbench and kelvane-outil share around a bank's files: the test a bank's import makes, and a test file
// written as a bank.

#include "banques/banque.h"
#include "data/test.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace kelvane::banques {

// A bank gives no time allowed nor pass mark: a test made from one allows a minute per question kept, at most the
// 32767 s a test holds, and passes at 70 %, for the teacher to review in the editor.
inline constexpr int kTempsParQuestion = 60;
inline constexpr int kTempsMaxBanque = 32767;
inline constexpr int kToleranceBanque = 70;

// Sets the source's time allowed and pass mark after the rule above.
void reglerTempsEtTolerance(source::TestSource& source);

// The test that an import makes under that file name, with its pictures.
data::Test testImporte(ResultatImport importe, const QString& fichier);

enum class FormatExport { Moodle, Gift };

// The bank a test is written as after the target's extension, in any letter case: .xml Moodle XML, .gift GIFT;
// nothing for any other.
std::optional<FormatExport> formatExport(const QString& cible);

// What writing a test file as a bank did.
struct ExportBanque {
    data::Test test;    // the test as read, for a summary
    QStringList fautes; // why nothing was written: the test refused, as "FICHIER : texte"
    QStringList notes;  // what the bank could not carry, such as GIFT's pictures
    QString echec;      // the system's reason when the target could not be written
    bool ecrit() const { return fautes.isEmpty() && echec.isEmpty(); }
};

// Reads the test file at test and writes it into cible as a bank of that format (exporterMoodle, exporterGift), its
// pictures with it; cible is replaced only once wholly written and stays as it was on any fault. The engine's
// failures reading the test (missing, damaged, locked) are thrown as kelvane::Error.
ExportBanque exporterBanque(const QString& test, const QString& cible, FormatExport format);

} // namespace kelvane::banques
