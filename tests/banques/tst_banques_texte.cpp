#include "banques.h"
#include "banques/importation.h"
#include "banques/texte.h"

#include <QTest>

using namespace banques;

// The text formats, GIFT and Aiken, and the plain text that HTML becomes: each row a bank or a fragment and what
// Kelvane makes of it.
class TestBanquesTexte : public QObject {
    Q_OBJECT

private:
    static void lignes() {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QStringList>("attendu");
    }
    static QStringList ecartee(int ligne, const QString& titre, const QString& raison) {
        return {QStringLiteral("ligne %1, « %2 » : %3").arg(ligne).arg(titre, raison)};
    }

private slots:
    void html_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("texte");
        QTest::newRow("blocs en espaces, balises en ligne ôtées")
            << "<p>Un</p><p>deux<br>trois</p><ul><li>H<sub>2</sub>O</li></ul>"
            << "Un deux trois H2O";
        QTest::newRow("entités nommées, numériques, inconnues")
            << "&Omega; &micro;A &#8364; &#x1F50C; &#0; &inconnue; &amp"
            << "Ω µA € 🔌 \uFFFD &inconnue; &amp";
        QTest::newRow("espaces insécables seuls gardés") << " 230&nbsp;V :\n\t a&nbsp; b "
                                                         << "230\u00a0V : a b";
        QTest::newRow("script, style et commentaires ôtés")
            << "a<script>x<y</script>b<style type=\"t\">p{}</style>c<!-- <p> -->d"
            << "abcd";
        QTest::newRow("< qui n'ouvre pas de balise, attribut avec >, balise coupée par la fin")
            << "a < b, 3<4 <span title=\"x>y\">ok</span> <b"
            << "a < b, 3<4 ok";
    }

    void html() {
        QFETCH(QString, html);
        QFETCH(QString, texte);
        QCOMPARE(texteDeHtml(html), texte);
    }

    void gift_data() {
        lignes();
        QTest::newRow("choix unique, titre, commentaires, niveaux")
            << "// Banque B1\n\n// [tag:B1] [tag:br]\n::Ohm::Que vaut U ? {\n=R × I#bravo\n~R / I\n}\n"
            << QStringList{"chapitre 1 banque", "1 ch1 B1 BR qcm « Que vaut U ? » : « R × I » 1, « R / I » 0"};
        QTest::newRow("poids, positifs cochés")
            << "Lesquels ? {~%50%A ~%50%B ~%-100%C =D ~%0%E}"
            << QStringList{"chapitre 1 banque", "1 ch1 B0 B1 B2 BR BC qcm « Lesquels ? » : « A » 1, « B » 1, « C » 0, "
                                                "« D » 1, « E » 0"};
        QTest::newRow("vrai ou faux, catégories")
            << "$CATEGORY: $course$/top/Sécurité\n\nQ1 {T}\n\nQ2{FALSE#non#oui}\n\n$CATEGORY: Secours\n\nQ3 {true}"
            << QStringList{"chapitre 1 Sécurité", "chapitre 2 Secours",
                           "1 ch1 B0 B1 B2 BR BC qcm « Q1 » : « Vrai » 1, « Faux » 0",
                           "2 ch1 B0 B1 B2 BR BC qcm « Q2 » : « Vrai » 0, « Faux » 1",
                           "3 ch2 B0 B1 B2 BR BC qcm « Q3 » : « Vrai » 1, « Faux » 0"};
        QTest::newRow("échappements, ligne vide dans les accolades")
            << "::a\\:b::1 \\= 2 \\~ \\{x\\} \\# \\\\ ?\\nfin {\n=oui \\= \\#1\n\n~\\{non\\}\n}"
            << QStringList{"chapitre 1 banque", "1 ch1 B0 B1 B2 BR BC qcm « 1 = 2 ~ {x} # \\ ? fin » : « oui = #1 » 1, "
                                                "« {non} » 0"};
        QTest::newRow("formats html, plain et auto, mot manquant")
            << "[html]<b>Le</b> &eacute;cran {=protège ~isole} la zone.\n\n[plain]<b>x</b> &amp; {=a ~b}\n\n"
               "I<In ? {=oui ~<i>non</i>}"
            << QStringList{"chapitre 1 banque",
                           "1 ch1 B0 B1 B2 BR BC qcm « Le écran _____ la zone. » : « protège » 1, « isole » 0",
                           "2 ch1 B0 B1 B2 BR BC qcm « <b>x</b> &amp; » : « a » 1, « b » 0",
                           "3 ch1 B0 B1 B2 BR BC qcm « I<In ? » : « oui » 1, « non » 0"};
        QTest::newRow("ordre (module ordering)")
            << "Dans l'ordre {>3 ALL VERTICAL ABSOLUTE_POSITION SHOW\nSéparer\nCondamner\n\nVérifier\n}"
            << QStringList{"chapitre 1 banque",
                           "1 ch1 B0 B1 B2 BR BC ordre « Dans l'ordre » : « Séparer », « Condamner », « Vérifier »"};
        QTest::newRow("réponse courte") << "\nQ {=a =b}"
                                        << ecartee(2, "Q",
                                                   "question à réponse courte (sans « ~ »), "
                                                   "non prise en charge");
        QTest::newRow("numérique") << "Q {#2:0.1}" << ecartee(1, "Q", "question numérique, non prise en charge");
        QTest::newRow("appariement") << "::M::Q {=a -> 1 =b -> 2}"
                                     << ecartee(1, "M", "question d'appariement (->), non prise en charge");
        QTest::newRow("réponse libre") << "Q {}"
                                       << ecartee(1, "Q",
                                                  "question à réponse libre (essay), non prise en "
                                                  "charge");
        QTest::newRow("description") << "Lire ceci."
                                     << ecartee(1, "Lire ceci.",
                                                "description sans réponses (aucun "
                                                "bloc « { … } »)");
        QTest::newRow("six réponses") << "Q {=1 ~2 ~3 ~4 ~5 ~6}" << ecartee(1, "Q", "6 réponses, 5 au plus");
        QTest::newRow("accolade non refermée")
            << "Q1 {T}\n\nQ2 {\n=a\n\nQ3 {T}"
            << QStringList{"erreur : banque.gift, ligne 3 : « { » sans « } » (écrire "
                           "\\{ pour une accolade)"};
        QTest::newRow("} seule") << "Q1 } {T}"
                                 << QStringList{"erreur : banque.gift, ligne 1 : « } » sans « { » "
                                                "(écrire \\} pour une accolade)"};
        QTest::newRow("poids faux") << "Q {\n~%a%x\n=y}"
                                    << QStringList{"erreur : banque.gift, ligne 2 : poids incorrect "
                                                   "(« %50% » ou « %-25% » attendu)"};
        QTest::newRow("texte avant les réponses")
            << "Q {x ~a =b}"
            << QStringList{"erreur : banque.gift, ligne 1 : texte avant la première réponse (« = » ou "
                           "« ~ » attendu)"};
        QTest::newRow("titre non refermé") << "::T Q {T}"
                                           << QStringList{"erreur : banque.gift, ligne 1 : titre sans "
                                                          "« :: » de fin (écrire \\: pour un "
                                                          "deux-points)"};
    }

    void gift() {
        QFETCH(QString, texte);
        QFETCH(QStringList, attendu);
        QCOMPARE(decrire(importer(texte.toUtf8(), Format::Gift, QStringLiteral("banque.gift"))), attendu);
    }

    void aiken_data() {
        QTest::addColumn<QByteArray>("texte");
        QTest::addColumn<QStringList>("attendu");
        QTest::newRow("deux questions, lettres A. et B)")
            << QByteArray("\xEF\xBB\xBFQuelle tension\r\nest dangereuse ?\r\nA. 12 V\r\nB) 230 V\r\nANSWER: B\r\n\r\n"
                          "Qui consigne ?\nA) Le chargé\nB) L'exécutant\nanswer:A\n")
            << QStringList{"chapitre 1 banque",
                           "1 ch1 B0 B1 B2 BR BC qcm « Quelle tension est dangereuse ? » : « 12 V » 0, « 230 V » 1",
                           "2 ch1 B0 B1 B2 BR BC qcm « Qui consigne ? » : « Le chargé » 1, « L'exécutant » 0"};
        QTest::newRow("six réponses") << QByteArray("Q\nA. 1\nB. 2\nC. 3\nD. 4\nE. 5\nF. 6\nANSWER: A")
                                      << ecartee(1, "Q", "6 réponses, 5 au plus");
        QTest::newRow("ANSWER manquant") << QByteArray("Q1\nA. a\nANSWER: A\nQ2\nA. a\nB. b")
                                         << QStringList{"erreur : banque.txt, ligne 4 : question sans ligne « ANSWER: "
                                                        "lettre »"};
        QTest::newRow("lettre inconnue") << QByteArray("Q\nA. a\nB. b\nANSWER: C")
                                         << QStringList{
                                                "erreur : banque.txt, ligne 4 : « ANSWER: C » : une des lettres "
                                                "A, B attendue"};
        QTest::newRow("texte après les réponses")
            << QByteArray("Q\nA. a\nQ2\nA. b\nANSWER: A")
            << QStringList{"erreur : banque.txt, ligne 3 : « ANSWER: lettre » attendu "
                           "après les réponses de la question de la ligne 1"};
        QTest::newRow("lettre en double") << QByteArray("Q\nA. a\nA. b\nANSWER: A")
                                          << QStringList{"erreur : banque.txt, ligne 3 : réponse « A » déjà donnée "
                                                         "ligne 2"};
        QTest::newRow("ANSWER sans réponses") << QByteArray("Q\nANSWER: A")
                                              << QStringList{"erreur : banque.txt, ligne 2 : « ANSWER: » sans réponses "
                                                             "proposées (« A. texte » attendu)"};
        QTest::newRow("non UTF-8") << QByteArray("Q\nA. \xE9t\xE9\nANSWER: A")
                                   << QStringList{"erreur : banque.txt, ligne 2 : texte non UTF-8 (enregistrez le "
                                                  "fichier en UTF-8)"};
    }

    void aiken() {
        QFETCH(QByteArray, texte);
        QFETCH(QStringList, attendu);
        QCOMPARE(decrire(importer(texte, Format::Aiken, QStringLiteral("banque.txt"))), attendu);
    }
};

QTEST_GUILESS_MAIN(TestBanquesTexte)
#include "tst_banques_texte.moc"
