; The class folder named at install time: a page of the installer, or /DOSSIER=CHEMIN on the command line of a
; silent install (/S). When one is given, it is written to %ProgramData%\Kelvane\dossier, which Kelvane reads at
; start on every session of the machine; left empty, each user works in Documents\Kelvane.
!include "nsDialogs.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

Var DossierClasse
Var ChampDossierClasse

Function PageDossierClasse
  !insertmacro MUI_HEADER_TEXT "Dossier de la classe" "Où Kelvane trouve les tests et range les résultats"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 52u "Si les élèves travaillent dans un dossier partagé (par exemple H:\Habilitation ou \\serveur\classes\1ELEC), indiquez-le ici : Kelvane s'y ouvrira pour chaque utilisateur de ce poste. Le dossier doit contenir le fichier habilitation.mdb.$\r$\n$\r$\nLaissez vide pour que chacun travaille dans son dossier Documents\Kelvane, créé à partir du dossier de démonstration."
  Pop $0
  ${NSD_CreateText} 0 60u 100% 12u "$DossierClasse"
  Pop $ChampDossierClasse
  nsDialogs::Show
FunctionEnd

Function PageDossierClasseQuitter
  ${NSD_GetText} $ChampDossierClasse $DossierClasse
FunctionEnd

; Writes the school's setting in UTF-16 with its byte order mark, so that any folder name reads back as typed.
Function EcrireDossierClasse
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/DOSSIER=" $1
  ${IfNot} ${Errors}
    StrCpy $DossierClasse $1
  ${EndIf}
  ${If} $DossierClasse != ""
    SetShellVarContext all
    CreateDirectory "$APPDATA\Kelvane"
    ClearErrors
    FileOpen $2 "$APPDATA\Kelvane\dossier" w
    ${If} ${Errors}
      MessageBox MB_OK|MB_ICONEXCLAMATION "Le dossier de la classe n'a pas pu être enregistré dans $APPDATA\Kelvane\dossier." /SD IDOK
    ${Else}
      FileWriteWord $2 0xFEFF
      FileWriteUTF16LE $2 "# Dossier de la classe, écrit par l'installation de Kelvane$\r$\n$DossierClasse$\r$\n"
      FileClose $2
    ${EndIf}
  ${EndIf}
FunctionEnd
