#pragma once

#include <QString>
#include <QStringList>

namespace kelvane::mktest {

// The command line of kelvane-outil (kelvane-mktest being its former name, with the same verbs):
//
//   test SOURCE.csv TEST.mdb           a test file from its text source (format in source/textsource.h)
//   exporter TEST.mdb SOURCE.csv       the text source of a test file, its pictures beside it
//   exporter TEST.mdb BANQUE.xml|.gift the test as a Moodle XML bank (pictures embedded) or a GIFT one (what GIFT
//                                      cannot carry noted on the error output), after the target's extension
//   importer BANQUE TEST.mdb           a new test file from a Moodle XML, GIFT or Aiken bank (banques::importer),
//                                      never over an existing file; the questions left out on the error output
//   reglages habilitation.mdb [CODE]   the settings file holding CODE ("settings" is the same verb)
//   images DOSSIER                     the pictures of data::imagesClasseII (data/classeii.h)
//   convertir FICHIER... [--dossier D]  Access files into tests or results files, one report line each (exit
//                                      status 1 when any was refused)
//   bilan DOSSIER [--sous-dossiers] [--xlsx F] [--csv F] [--pdf F]
//                                      the class summary of the results files: a summary on the standard output,
//                                      one line per file set aside on the error output, and the files asked for,
//                                      one option per format of exportations::formatsBilan (an existing one is
//                                      refused: exit status 1, nothing written)
//   --help                             the help, in French
//
// What was built goes to the standard output, every fault to the error output, in French, with the file and
// line. Returns the exit status: 0 done, 1 on any fault (nothing written) and for a wrong command line.
int executer(const QStringList& arguments, const QString& programme);

} // namespace kelvane::mktest
