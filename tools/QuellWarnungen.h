// Warnings about the help sources that do not stop a compile: content that compiles but is
// lost or misleading when the help shows or prints it.
// - A link by help number whose text no longer resembles the title of the section it opens:
//   the number was probably given to a new section after the old one moved, and old links now
//   lead somewhere else.
// - A title too wide for the place it is shown: the page header of the print-out (all levels)
//   and the tab rows of the help window (chapters and topics).
// Title widths are measured with fonts: needs a QGuiApplication (offscreen is enough).
#pragma once
#include <QString>
#include <QStringList>

namespace QuellWarnungen {

// A word in the spelling the checks compare: lower case, ä/ö/ü as ae/oe/ue, ß as ss.
QString falten(const QString &wort);

// Whether the text of a link still reads like the title of its target. German words are
// compared case-insensitively with umlauts and ß folded (ä = ae, ß = ss); short words and
// filler words (der, und, siehe, hier, ...) do not count. Two words match when one begins
// with the other, when they begin with the same five letters (Rechnung, Rechnungen) or when
// the tail of a compound matches the other word (Ausgangsrechnung, Rechnung). The link passes
// when one of its words matches a word of the title, or when it has no word that counts
// ("hier", "siehe dort").
bool linkTextPasst(const QString &linkText, const QString &titel);

// The same against several titles (the target section's and those of its topic and chapter):
// passes when it passes against any of them.
bool linkTextPasst(const QString &linkText, const QStringList &titel);

// Empty when the title of a chapter (ebene 1), topic (2) or section (3) fits everywhere it is
// shown; otherwise a German warning naming the place and the limit in characters of average
// width. Section titles are shown in the print-out's page header beside the product name,
// chapter and topic titles there and in the tab rows of the help window.
QString titelZuLang(int ebene, const QString &titel);

// The limits behind titelZuLang, in characters of average width: the page header and the
// widest tab.
int kopfzeileZeichen();
int registerkarteZeichen();

} // namespace QuellWarnungen
