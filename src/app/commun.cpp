#include "app/commun.h"

namespace Commun {

QString RepertoireAppli;
QString RepertoireInitial;
QString LecteurCourant;
QString FichierTest;
QString FichierEleve;

kelvane::db::Database BaseTest;
kelvane::db::Recordset RsTest;
kelvane::db::Recordset RsChapitre;
kelvane::db::Recordset RsNumero;

kelvane::db::Database BaseEleve;
kelvane::db::Recordset RsQuestion;
kelvane::db::Recordset RsChapitreEleve;
kelvane::db::Recordset RsEleves;

kelvane::db::Database BaseHabilitation;
kelvane::db::Recordset RsHabilitation;

void fermerBaseTest() {
    RsTest = {};
    RsChapitre = {};
    RsNumero = {};
    BaseTest.Close();
}

void fermerBaseEleve() {
    RsQuestion = {};
    RsChapitreEleve = {};
    RsEleves = {};
    BaseEleve.Close();
}

void reinitialiser() {
    fermerBaseTest();
    fermerBaseEleve();
    RsHabilitation = {};
    BaseHabilitation.Close();
    RepertoireAppli.clear();
    RepertoireInitial.clear();
    LecteurCourant.clear();
    FichierTest.clear();
    FichierEleve.clear();
}

} // namespace Commun
