#include "banques/aiken.h"

#include "banques/assemblage.h"
#include "banques/texte.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace kelvane::banques {

ResultatImport importerAiken(const QByteArray& donnees, const QString& nomFichier) {
    ResultatImport echec;
    const auto erreur = [&](int ligne, const QString& texte) {
        echec.erreur = QStringLiteral("%1, ligne %2 : %3").arg(nomFichier, QString::number(ligne), texte);
        return echec;
    };
    int fautive = 0;
    const std::optional<QStringList> lignes = lignesUtf8(donnees, fautive);
    if (!lignes) {
        return erreur(fautive, QStringLiteral("texte non UTF-8 (enregistrez le fichier en UTF-8)"));
    }
    static const QRegularExpression reponse(QStringLiteral("^([A-Z])[.)](?:\\s+(.*))?$"));
    static const QRegularExpression juste(QStringLiteral("^ANSWER\\s*:\\s*(.*)$"),
                                          QRegularExpression::CaseInsensitiveOption);
    Assembleur assembleur(QFileInfo(nomFichier).completeBaseName());
    QuestionLue q;
    QString lettres; // of the answers given, in order
    std::vector<int> lignesReponses;
    for (qsizetype i = 0; i < lignes->size(); ++i) {
        const QString ligne = lignes->at(i).trimmed();
        const int numero = static_cast<int>(i) + 1;
        if (ligne.isEmpty()) {
            continue;
        }
        const QRegularExpressionMatch lettre = reponse.match(ligne);
        if (q.ligne == 0) {
            if (juste.match(ligne).hasMatch()) {
                return erreur(numero, QStringLiteral("« ANSWER: » sans question ni réponses avant"));
            }
            q.ligne = numero;
            q.texte = ligne;
        } else if (const QRegularExpressionMatch m = juste.match(ligne); m.hasMatch()) {
            if (q.reponses.empty()) {
                return erreur(numero, QStringLiteral("« ANSWER: » sans réponses proposées (« A. texte » attendu)"));
            }
            const QString donnee = m.captured(1).trimmed();
            const qsizetype rang = donnee.size() == 1 ? lettres.indexOf(donnee[0]) : -1;
            if (rang < 0) {
                return erreur(numero, QStringLiteral("« ANSWER: %1 » : une des lettres %2 attendue")
                                          .arg(donnee, QStringList(lettres.begin(), lettres.end()).join(u", ")));
            }
            q.reponses[static_cast<std::size_t>(rang)].expected = 1;
            q.texte = texteSimple(q.texte);
            assembleur.ajouter(std::move(q));
            q = QuestionLue();
            lettres.clear();
            lignesReponses.clear();
        } else if (lettre.hasMatch()) {
            const QChar l = lettre.captured(1)[0];
            if (const qsizetype deja = lettres.indexOf(l); deja >= 0) {
                return erreur(numero, QStringLiteral("réponse « %1 » déjà donnée ligne %2")
                                          .arg(l)
                                          .arg(lignesReponses[static_cast<std::size_t>(deja)]));
            }
            lettres += l;
            lignesReponses.push_back(numero);
            q.reponses.push_back({texteSimple(lettre.captured(2)), 0});
        } else if (q.reponses.empty()) {
            q.texte += u' ' + ligne;
        } else {
            return erreur(numero, QStringLiteral("« ANSWER: lettre » attendu après les réponses de la question de la "
                                                 "ligne %1")
                                      .arg(q.ligne));
        }
    }
    if (q.ligne != 0) {
        return erreur(q.ligne, QStringLiteral("question sans ligne « ANSWER: lettre »"));
    }
    return assembleur.terminer();
}

} // namespace kelvane::banques
