#!/usr/bin/env bash
# The smoke run of the Windows build, under Wine inside the Xvfb of scripts/windows.sh (DISPLAY set): in a fresh
# Wine prefix, the installer installs silently with a class folder named; the student program and the workbench
# start on the installed demo folder (screenshots); a training session runs to its results on the real forms with
# the Windows platform and prints its report to PDF (tst_photos, as on Linux); the tool converts an Access test and
# writes a workbook; files go from Windows to Linux and back; the uninstaller leaves the class folders.
# Usage: essai.sh BUILD_FOLDER     Leaves its pictures and files in BUILD_FOLDER/essai; when KELVANE_PHOTOS names a
# folder, the menu's picture goes there too as windows-menu.png (the teachers' guide shows it).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="$(cd "$1" && pwd)"
ESSAI="$BUILD/essai"
LINUX="${KELVANE_BUILD:-$ROOT/build}"
ACCESS="$ROOT/../shared/testdata/access"
rm -rf "$ESSAI"
mkdir -p "$ESSAI/photos"
export WINEPREFIX="$ESSAI/prefixe"
export WINEDEBUG=-all
"$ROOT/scripts/windows/prefixe.sh"

echec() { echo "essai Windows : $*" >&2; exit 1; }
ecran() { import -window root "$ESSAI/$1-ecran.png" && convert "$ESSAI/$1-ecran.png" -trim +repage "$ESSAI/$1.png"; }
# A Windows path of the prefix as a Linux one.
unixien() { winepath -u "$1" 2>/dev/null; }

installateur="$(ls "$BUILD"/Kelvane-*-setup.exe)"
classe="$ESSAI/classe-électricité"
mkdir -p "$classe"
cp -r "$LINUX/demo/." "$classe/"
wine "$installateur" /S "/DOSSIER=Z:${classe//\//\\}" >/dev/null 2>&1
programmes="$(unixien 'C:\Program Files\Kelvane')"
[ -f "$programmes/kelvane.exe" ] || echec "kelvane.exe n'est pas installé dans $programmes"
[ -f "$programmes/demo/habilitation.mdb" ] || echec "le dossier de démonstration n'est pas installé"
reglage="$(unixien 'C:\ProgramData\Kelvane\dossier')"
[ -f "$reglage" ] || echec "le dossier de la classe n'a pas été écrit dans $reglage"
echo "installé en silence dans $programmes, dossier de la classe : $(iconv -f UTF-16 -t UTF-8 "$reglage" | tail -1)"

# The installed programs, started as from the Start menu: the student program on the class folder of the setting.
lancer() { # program → runs it for a few seconds, takes the screen, ends it
    (cd "$programmes" && exec env KELVANE_SANS_FENETRE=1 wine "$1.exe" >"$ESSAI/$1.log" 2>&1 &) 2>/dev/null
    sleep 12
    ecran "$1"
    wineserver -k 2>/dev/null || true
    sleep 1
}
lancer kelvane
lancer kelvane-atelier
grep -q "Aucun Code secret" "$ESSAI/kelvane.log" || echec "kelvane.exe n'a pas démarré"
documents="$(unixien "$(wine cmd /c 'echo %USERPROFILE%' 2>/dev/null | tr -d '\r')")/Documents/Kelvane"
[ ! -e "$documents" ] || echec "kelvane.exe a créé $documents au lieu d'ouvrir le dossier de la classe"
echo "captures : $ESSAI/kelvane.png, $ESSAI/kelvane-atelier.png"
if [ -n "${KELVANE_PHOTOS:-}" ]; then
    cp "$ESSAI/kelvane.png" "$KELVANE_PHOTOS/windows-menu.png"
fi

# A training session to its results, and the report printed to PDF, on the real forms with the Windows platform.
QT_QPA_PLATFORM=windows KELVANE_DEMO_DIR='C:\Program Files\Kelvane\demo' KELVANE_PHOTOS="Z:$ESSAI/photos" \
    "$ROOT/scripts/windows/wine.sh" "$BUILD/bin/tst_photos.exe" theStudentProgramOnTheDemoFolder
[ -f "$ESSAI/photos/resultats.png" ] || echec "pas d'écran des résultats"
pdftotext "$ESSAI/photos/rapport.pdf" - | grep -qi "Martin" || echec "le rapport imprimé ne nomme pas le candidat"
echo "séance d'entraînement jusqu'aux résultats, rapport en PDF : $ESSAI/photos"

# The tool: an Access test converted, a workbook of the class folder.
outil="$programmes/kelvane-outil.exe"
access="$ACCESS/Essai-Access2000.mdb"
mkdir -p "$ESSAI/converti"
wine "$outil" convertir "Z:${access//\//\\}" --dossier "Z:${ESSAI//\//\\}\\converti" | tr -d '\r'
ls "$ESSAI/converti"/*.mdb >/dev/null || echec "aucun test converti"
wine "$outil" bilan "Z:${classe//\//\\}" --xlsx "Z:${ESSAI//\//\\}\\classe.xlsx" >/dev/null
unzip -p "$ESSAI/classe.xlsx" xl/workbook.xml | grep -q "Élèves" || echec "le classeur écrit sous Windows ne se relit pas"

# Files of either system open on the other: a test built on Windows read on Linux, one built on Linux on Windows.
source_csv="$(ls "$ROOT"/demo/tests/*.csv | head -1)"
wine "$outil" test "Z:${source_csv//\//\\}" "Z:${ESSAI//\//\\}\\windows.mdb" | tr -d '\r'
"$LINUX/tools/outil/kelvane-outil" exporter "$ESSAI/windows.mdb" "$ESSAI/windows-lu-sous-linux.csv" >/dev/null
"$LINUX/tools/outil/kelvane-outil" test "$source_csv" "$ESSAI/linux.mdb" >/dev/null
wine "$outil" exporter "Z:${ESSAI//\//\\}\\linux.mdb" "Z:${ESSAI//\//\\}\\linux-lu-sous-windows.csv" >/dev/null
# The sources are the same but for their first line, which names the file.
cmp -s <(tail -n +2 "$ESSAI/windows-lu-sous-linux.csv") <(tail -n +2 "$ESSAI/linux-lu-sous-windows.csv") ||
    echec "un test écrit sous Windows et un écrit sous Linux ne se relisent pas à l'identique"
"$LINUX/tools/outil/kelvane-outil" bilan "$ESSAI/photos" | grep -qi "Martin" ||
    echec "Linux ne lit pas le fichier de résultats écrit sous Windows"
echo "fichiers échangés entre Windows et Linux dans les deux sens"

wine "$programmes/Desinstaller.exe" /S >/dev/null 2>&1
sleep 3
[ ! -f "$programmes/kelvane.exe" ] || echec "la désinstallation laisse kelvane.exe"
[ -f "$classe/habilitation.mdb" ] || echec "la désinstallation a touché le dossier de la classe"
echo "désinstallé ; le dossier de la classe reste"
