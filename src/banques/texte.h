#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace kelvane::banques {

// The plain text an HTML fragment shows: tags dropped (a line or block tag such as <br>, <p>, <div> or <li> as a
// space, the content of <script> and <style> with it), comments dropped, character references decoded (named ones
// of Latin-1, Greek and common punctuation, and numeric ones), then blanks collapsed as texteSimple() does. A '<'
// that does not start a tag and an unknown '&' reference stay as written; a tag that the end cuts is dropped.
QString texteDeHtml(QStringView html);

// Moodle's auto-format, plain text where HTML may appear: read as HTML when it holds a tag of HTML's own (<p>,
// <br>, <b>, </span>...) or a character reference, as plain text otherwise, so that "I<In" stays as written.
QString texteAuto(QStringView texte);

// The text on one line: each run of blanks and line breaks as one space, none at either end. A run made only of
// no-break spaces stays one no-break space, as French typography puts them before ':' or a unit.
QString texteSimple(QStringView texte);

// The lines of a UTF-8 text file, a leading byte order mark and each line's '\r' dropped; nothing when a line is
// not UTF-8, that line's number (from 1) then in ligneFautive.
std::optional<QStringList> lignesUtf8(const QByteArray& donnees, int& ligneFautive);

} // namespace kelvane::banques
