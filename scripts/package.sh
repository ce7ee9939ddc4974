#!/usr/bin/env bash
# Builds Kelvane's Debian package and checks it, step by step:
#   scripts/package.sh [BUILD_DIR]        (build-paquet/ by default)
# 1. a build of its own: Release, the Debian layout, no tests nor benchmarks, Debian's hardening flags;
# 2. cpack -G DEB writes kelvane_VERSION_ARCH.deb in BUILD_DIR;
# 3. its contents: every file the package must hold and nothing else, no path of this machine's build tree in any
#    file, no RPATH, stripped programs, valid menu entries and AppStream metadata;
# 4. lintian: no error;
# 5. as root only: the package installed (apt-get pulls its dependencies), the programs started on the offscreen
#    platform from a home without ~/Kelvane, on a given folder and on a folder without settings, then the package
#    removed and the folders checked to have stayed.
# Exits non-zero at the first failed check.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$(realpath -m "${1:-$ROOT/build-paquet}")"

etape() { printf '\n== %s\n' "$*"; }
ok() { printf '   ok : %s\n' "$*"; }
echec() {
    printf '   ÉCHEC : %s\n' "$*" >&2
    exit 1
}

"$ROOT/scripts/deps.sh"

VERSION="$(sed -n 's/^project(Kelvane VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")"
ARCH="$(dpkg --print-architecture)"
DEB="$BUILD/kelvane_${VERSION}_${ARCH}.deb"
[ -n "$VERSION" ] || echec "version introuvable dans CMakeLists.txt"

etape "1. Construction pour le paquet dans $BUILD (Kelvane $VERSION)"
# dpkg-buildflags maps the source tree's path to "." in the debugging data and __FILE__ (run from the tree).
export DEB_BUILD_MAINT_OPTIONS="hardening=+all"
CXXFLAGS="$(cd "$ROOT" && dpkg-buildflags --get CXXFLAGS) $(cd "$ROOT" && dpkg-buildflags --get CPPFLAGS)"
LDFLAGS="$(cd "$ROOT" && dpkg-buildflags --get LDFLAGS)"
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DKELVANE_LAYOUT=debian -DKELVANE_TESTS=OFF \
    -DKELVANE_BENCH=OFF -DKELVANE_SANITIZE=OFF -DKELVANE_FUZZ=OFF \
    -DCMAKE_CXX_FLAGS="$CXXFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" >/dev/null
cmake --build "$BUILD" --parallel "$(nproc)"
ok "construit"

etape "2. cpack -G DEB"
rm -f "$BUILD"/kelvane_*.deb
(cd "$BUILD" && cpack -G DEB >/dev/null)
[ -f "$DEB" ] || echec "$DEB absent ; paquets écrits : $(ls "$BUILD"/*.deb 2>/dev/null)"
ok "$(basename "$DEB")"
dpkg-deb --info "$DEB" | sed -n 's/^ \(Package\|Version\|Architecture\|Section\|Depends\|Recommends\):/   &/p'

etape "3. Contenu du paquet"
attendus=(
    ./usr/bin/kelvane ./usr/bin/kelvane-atelier ./usr/bin/kelvane-outil
    ./usr/lib/kelvane/kelvane ./usr/lib/kelvane/kelvane-atelier ./usr/lib/kelvane/kelvane-outil
    ./usr/lib/kelvane/kelvane-lecteur-access
    ./usr/share/kelvane/demo/habilitation.mdb ./usr/share/kelvane/demo/Images/Condo.jpg
    ./usr/share/kelvane/demo/Images/Terre.jpg "./usr/share/kelvane/demo/Images/Classe II.jpg"
    ./usr/share/applications/kelvane.desktop ./usr/share/applications/kelvane-atelier.desktop
    ./usr/share/icons/hicolor/scalable/apps/kelvane.svg ./usr/share/metainfo/fr.kelvane.Kelvane.metainfo.xml
    ./usr/share/man/man1/kelvane.1.gz ./usr/share/man/man1/kelvane-atelier.1.gz
    ./usr/share/man/man1/kelvane-outil.1.gz
    ./usr/share/doc/kelvane/copyright ./usr/share/doc/kelvane/changelog.gz
)
for source in "$ROOT"/demo/tests/*.csv; do
    attendus+=("./usr/share/kelvane/demo/$(basename "$source" .csv).mdb")
done
CONTENU="$(mktemp -d)"
ESSAIS=""
nettoyer() {
    rm -rf "$CONTENU"
    if [ -n "$ESSAIS" ]; then rm -rf "$ESSAIS"; fi
}
trap nettoyer EXIT
# Files and links only (the folders follow from them), names without the " -> target" of a link.
dpkg-deb --fsys-tarfile "$DEB" | tar -t | grep -v '/$' | sort >"$CONTENU/liste"
printf '%s\n' "${attendus[@]}" | sort >"$CONTENU/attendus"
if ! diff -u "$CONTENU/attendus" "$CONTENU/liste" >"$CONTENU/diff"; then
    sed -n 's/^-\.\//   manque : /p; s/^+\.\//   en trop : /p' "$CONTENU/diff" >&2
    echec "le paquet ne contient pas exactement les fichiers attendus"
fi
ok "${#attendus[@]} fichiers attendus, rien d'autre"

for commande in kelvane kelvane-atelier kelvane-outil; do
    cible="$(dpkg-deb --contents "$DEB" | sed -n "s|.* \./usr/bin/$commande -> ||p")"
    [ "$cible" = "../lib/kelvane/$commande" ] || echec "/usr/bin/$commande : lien vers « $cible »"
done
ok "commandes : liens relatifs vers /usr/lib/kelvane"

dpkg-deb -x "$DEB" "$CONTENU/racine"
fuites="$(grep -rlaF -e "$ROOT" -e "$BUILD" -e "/tmp/" "$CONTENU/racine" || true)"
[ -z "$fuites" ] || echec "chemins de la machine de construction dans : ${fuites//$CONTENU\/racine/}"
ok "aucun chemin de $ROOT, de $BUILD ni de /tmp"
for programme in "$CONTENU"/racine/usr/lib/kelvane/*; do
    nom="$(basename "$programme")"
    if readelf -d "$programme" | grep -qE '\((RPATH|RUNPATH)\)'; then
        echec "$nom : $(readelf -d "$programme" | grep -E 'RPATH|RUNPATH')"
    fi
    if readelf -S --wide "$programme" | grep -qE ' \.(symtab|debug_[a-z]+) '; then
        echec "$nom : symboles ou données de débogage non retirés"
    fi
done
ok "programmes sans RPATH, symboles retirés"
desktop-file-validate "$CONTENU"/racine/usr/share/applications/*.desktop
ok "entrées de menu valides (desktop-file-validate)"
appstreamcli validate --no-net "$CONTENU"/racine/usr/share/metainfo/*.metainfo.xml >/dev/null ||
    echec "$(appstreamcli validate --no-net "$CONTENU"/racine/usr/share/metainfo/*.metainfo.xml)"
ok "métadonnées AppStream valides (appstreamcli validate)"

etape "4. lintian"
statut=0
lintian --fail-on error --display-info "$DEB" >"$CONTENU/lintian" 2>&1 || statut=$?
grep -v 'running with root privileges' "$CONTENU/lintian" || true
[ "$statut" -eq 0 ] || echec "lintian signale des erreurs (statut $statut)"
ok "aucune erreur ($(grep -c '^W: ' "$CONTENU/lintian" || true) avertissement(s))"

if [ "$(id -u)" -ne 0 ]; then
    etape "5. Installation et essais sautés : il faut être root (sudo scripts/package.sh)"
    exit 0
fi

etape "5. Installation du paquet"
ESSAIS="$(mktemp -d "${TMPDIR:-/tmp}/kelvane-paquet-XXXXXX")"
chmod 755 "$ESSAIS"
ECOLE=/etc/kelvane/dossier
ECOLE_ECRIT=0
retirer() {
    if dpkg-query -W -f='${Status}' kelvane 2>/dev/null | grep -q "install ok installed"; then
        dpkg -r kelvane >/dev/null
    fi
    if [ "$ECOLE_ECRIT" -eq 1 ]; then
        rm -f "$ECOLE"
        rmdir "$(dirname "$ECOLE")" 2>/dev/null || true
    fi
}
trap 'retirer; nettoyer' EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=600 "$DEB" >/dev/null
[ "$(command -v kelvane)" = /usr/bin/kelvane ] || echec "kelvane n'est pas sur le PATH"
[ "$(kelvane-outil --version)" = "kelvane-outil $VERSION" ] || echec "kelvane-outil --version : $(kelvane-outil --version)"
ok "installé ; kelvane-outil --version : $(kelvane-outil --version)"
# The conversion finds the Access reader beside the program that /usr/bin's link leads to: a real Access test is
# converted when the shared samples are here, else a file that is no Access database gets the reader's own answer.
mkdir "$ESSAIS/conversion"
ACCESS="$ROOT/../shared/testdata/access/Essai-Access2000.mdb"
if [ -f "$ACCESS" ]; then
    kelvane-outil convertir "$ACCESS" --dossier "$ESSAIS/conversion" >"$ESSAIS/sortie" 2>&1 ||
        echec "conversion d'un test Access : $(cat "$ESSAIS/sortie")"
else
    printf 'pas une base Access\n' >"$ESSAIS/faux.mdb"
    kelvane-outil convertir "$ESSAIS/faux.mdb" --dossier "$ESSAIS/conversion" >"$ESSAIS/sortie" 2>&1 || true
    grep -q "pas une base Access" "$ESSAIS/sortie" || echec "le lecteur Access n'a pas répondu : $(cat "$ESSAIS/sortie")"
fi
ok "lecteur Access trouvé : $(cat "$ESSAIS/sortie")"

# The runs below check where a session runs: kelvane DOSSIER, the school's file /etc/kelvane/dossier, ~/Kelvane made
# from the demo folder, a folder refused with a message. KELVANE_SANS_FENETRE puts the start's messages on the
# standard error instead of a box that no one would click here.
export QT_QPA_PLATFORM=offscreen KELVANE_SANS_FENETRE=1
# lancer ATTENDU COMMANDE...: runs a program for a few seconds with a home of its own, from a folder without settings.
# ATTENDU "ouvert": it must still be running (timeout's status 124: its window came up and waits for the user);
# "refus": it must end by itself with a non-zero status.
lancer() {
    local attendu="$1" statut=0
    shift
    (cd "$ESSAIS" && HOME="$ESSAIS/maison" XDG_RUNTIME_DIR="$ESSAIS/run" timeout 10 "$@" >"$ESSAIS/sortie" 2>&1) ||
        statut=$?
    case "$attendu" in
        ouvert)
            [ "$statut" -eq 124 ] || echec "$* : fini (statut $statut) au lieu de rester ouvert : $(cat "$ESSAIS/sortie")"
            # A start that went well says nothing: a message about the folder means a box was waiting instead.
            if grep -q 'habilitation\.mdb\|Kelvane n' "$ESSAIS/sortie"; then
                echec "$* : ouvert sur un message au lieu du menu : $(cat "$ESSAIS/sortie")"
            fi
            ;;
        refus) [ "$statut" -ne 0 ] && [ "$statut" -ne 124 ] || echec "$* : statut $statut au lieu d'un refus" ;;
    esac
}

etape "6. kelvane depuis un dossier personnel sans ~/Kelvane"
mkdir "$ESSAIS/maison"
mkdir -m 700 "$ESSAIS/run"
lancer ouvert kelvane
(cd /usr/share/kelvane/demo && find . -type f) | while IFS= read -r f; do
    [ -f "$ESSAIS/maison/Kelvane/$f" ] || echec "~/Kelvane/${f#./} n'a pas été copié du dossier de démonstration"
done
ok "~/Kelvane fait à partir du dossier de démonstration, le menu est ouvert"
lancer ouvert kelvane-atelier
ok "kelvane-atelier ouvert"

etape "7. kelvane sur un dossier donné, puis sur celui de $ECOLE"
mkdir "$ESSAIS/classe"
cp -r /usr/share/kelvane/demo/. "$ESSAIS/classe/"
rm -rf "$ESSAIS/maison/Kelvane"
lancer ouvert kelvane "$ESSAIS/classe"
[ ! -e "$ESSAIS/maison/Kelvane" ] || echec "~/Kelvane fait alors qu'un dossier était donné"
ok "ouvert sur $ESSAIS/classe"
if [ -e "$ECOLE" ]; then
    ok "$ECOLE existe déjà sur cette machine : essai sauté, le fichier est laissé tel quel"
else
    mkdir -p "$(dirname "$ECOLE")"
    ECOLE_ECRIT=1
    printf '# Dossier de la classe\n%s\n' "$ESSAIS/classe" >"$ECOLE"
    lancer ouvert kelvane
    [ ! -e "$ESSAIS/maison/Kelvane" ] || echec "~/Kelvane fait alors que $ECOLE nomme un dossier"
    rm "$ECOLE"
    rmdir "$(dirname "$ECOLE")" 2>/dev/null || true
    ECOLE_ECRIT=0
    ok "ouvert sur le dossier que nomme $ECOLE"
fi

etape "8. kelvane sur un dossier sans réglages"
mkdir "$ESSAIS/vide"
lancer refus kelvane "$ESSAIS/vide"
grep -q "$ESSAIS/vide" "$ESSAIS/sortie" && grep -q habilitation.mdb "$ESSAIS/sortie" ||
    echec "le message ne nomme pas le dossier et habilitation.mdb : $(cat "$ESSAIS/sortie")"
ok "refusé, avec le message : $(tr '\n' ' ' <"$ESSAIS/sortie" | cut -c1-160)…"

etape "9. Retrait du paquet"
lancer ouvert kelvane # ~/Kelvane made again, to be kept
dpkg -r kelvane >/dev/null
[ ! -e /usr/bin/kelvane ] && [ ! -e /usr/lib/kelvane ] || echec "des fichiers du paquet sont restés"
for f in maison/Kelvane/habilitation.mdb classe/habilitation.mdb; do
    [ -f "$ESSAIS/$f" ] || echec "$f a disparu avec le paquet"
done
ok "programmes retirés ; ~/Kelvane et le dossier de la classe sont restés"
printf '\nPaquet vérifié : %s\n' "$DEB"
