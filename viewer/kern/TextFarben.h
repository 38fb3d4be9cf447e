// Readable colours in a rendered section on any palette. Stored texts may give characters a
// fixed colour (links in blue or green, notes in red) that was chosen for a white page; on a
// dark page (a dark desktop, a high-contrast theme) such text would vanish. There anpassen() finds
// every run whose colour has less than 4.5:1 contrast with what it is drawn on (its own
// background colour, or the page) and moves the colour's lightness away from the background,
// keeping its hue, until it has; links stay blue and green and underlined, only lighter or
// darker. The original colour is kept in the format, so zuruecksetzen() restores the stored
// formats exactly (the print-out takes the marked text with its formats).
#pragma once

#include <QColor>

class QTextDocument;

namespace TextFarben {

inline constexpr double MindestKontrast = 4.5;

// The contrast ratio of two colours (1 to 21), as the web content guidelines define it.
double kontrast(const QColor &a, const QColor &b);
// The colour with the hue of farbe whose contrast with grund is at least mindestens (as
// close to farbe as that allows); farbe itself when it has it already.
QColor lesbar(const QColor &farbe, const QColor &grund, double mindestens = MindestKontrast);

// Adapts the runs of doc for the page colour seite and the default text colour text; returns
// the number of runs changed. On a light page nothing is changed: the stored colours were
// chosen for it.
int anpassen(QTextDocument &doc, const QColor &seite, const QColor &text);
// Restores the colours anpassen() changed.
void zuruecksetzen(QTextDocument &doc);

} // namespace TextFarben
