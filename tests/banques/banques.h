#pragma once

// What the bank suites share: pictures' bytes, Moodle XML written short, and an import told as lines that a data
// table compares.

#include "banques/banque.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace banques {

using namespace kelvane::banques;

inline QByteArray png(int taille = 32) {
    return QByteArray("\x89PNG\r\n\x1a\n") + QByteArray(taille, 'p');
}

inline QByteArray jpeg(int taille = 32) {
    return QByteArray("\xFF\xD8\xFF\xE0") + QByteArray(taille, 'j');
}

// <quiz>corps</quiz> as a file.
inline QByteArray quiz(const QString& corps) {
    return (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n") + corps +
            QStringLiteral("\n</quiz>\n"))
        .toUtf8();
}

inline QString categorie(const QString& chemin) {
    return QStringLiteral("<question type=\"category\"><category><text>%1</text></category></question>\n").arg(chemin);
}

// A question titled titre whose HTML text is html (in CDATA) with its files, then the rest (answers, tags...).
inline QString question(const QString& type, const QString& titre, const QString& html, const QString& reste,
                        const QString& fichiers = QString()) {
    return QStringLiteral("<question type=\"%1\"><name><text>%2</text></name><questiontext format=\"html\">"
                          "<text><![CDATA[%3]]></text>%5</questiontext>%4</question>\n")
        .arg(type, titre, html, reste, fichiers);
}

inline QString reponse(const QString& fraction, const QString& texte, const QString& reste = QString()) {
    return QStringLiteral("<answer fraction=\"%1\" format=\"html\"><text><![CDATA[%2]]></text>%3"
                          "<feedback format=\"html\"><text>Bravo</text></feedback></answer>")
        .arg(fraction, texte, reste);
}

inline QString fichier(const QString& nom, const QByteArray& octets) {
    return QStringLiteral("<file name=\"%1\" path=\"/\" encoding=\"base64\">%2</file>")
        .arg(nom, QString::fromLatin1(octets.toBase64()));
}

// The import as lines: "erreur : ...", or each chapter, each question ("1 ch1 B1 BR qcm « texte » : « A » 1,
// « B » 0", an ordering question's answers in their right order "ordre « texte » : « A », « B »"), each picture,
// each question left out and each note.
inline QStringList decrire(const ResultatImport& r) {
    if (!r.ok()) {
        return {QStringLiteral("erreur : ") + r.erreur};
    }
    QStringList lignes;
    for (const auto& c : r.source.chapters) {
        lignes << QStringLiteral("chapitre %1 %2").arg(c.numero).arg(c.nom);
    }
    for (const auto& q : r.source.questions) {
        QStringList niveaux;
        for (std::size_t i = 0; i < q.levels.size(); ++i) {
            if (q.levels[i]) {
                niveaux << kelvane::data::kNiveaux[i];
            }
        }
        QStringList reponses;
        if (q.qcm) {
            for (const auto& a : q.answers) {
                reponses << QStringLiteral("« %1 » %2").arg(a.text).arg(a.expected);
            }
        } else {
            reponses = QStringList(static_cast<qsizetype>(q.answers.size()), QString());
            for (const auto& a : q.answers) {
                reponses[a.expected - 1] = QStringLiteral("« %1 »").arg(a.text);
            }
        }
        lignes << QStringLiteral("%1 ch%2 %3 %4 « %5 » : %6")
                      .arg(q.numero)
                      .arg(q.chapitre)
                      .arg(niveaux.join(u' '), q.qcm ? QStringLiteral("qcm") : QStringLiteral("ordre"), q.text,
                           reponses.join(QStringLiteral(", ")));
    }
    for (const auto& [numero, images] : r.images) {
        if (images.question) {
            lignes << QStringLiteral("image %1 : %2").arg(numero).arg(images.question->nom);
        }
        for (std::size_t i = 0; i < images.reponses.size(); ++i) {
            if (images.reponses[i]) {
                lignes
                    << QStringLiteral("image %1, réponse %2 : %3").arg(numero).arg(i + 1).arg(images.reponses[i]->nom);
            }
        }
    }
    return lignes + lignesRapport(r.rapport);
}

} // namespace banques
