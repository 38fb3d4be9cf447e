// The zoom of the help window's text: the steps from 50 % to 300 % that the keys and the mouse
// wheel move through, and the scaling of a rendered section. The text is zoomed by scaling its
// formats (font sizes, paragraph indents and spacing, tab stops, pictures) in the document
// itself, not by scaling the painter: the layout then places every character where it is
// painted, so document coordinates, the hit test of links and the character boxes hold at
// every zoom. Character positions never change, so the link table, the selection and any
// marking stay valid across a zoom step.
#pragma once

#include <QList>

class QTextDocument;

namespace TextZoom {

inline constexpr int Kleinste = 50;
inline constexpr int Normal = 100;
inline constexpr int Groesste = 300;

// The steps in percent, ascending, from Kleinste to Groesste.
const QList<int> &stufen();

// The next step above or below a zoom (a value between two steps goes to the neighbouring
// step in that direction); stays at the ends.
int groesser(int prozent);
int kleiner(int prozent);
// A stored or passed zoom made usable: the nearest step, Normal for 0 or less.
int gueltig(int prozent);

// Scales the formats of a rendered document from the zoom it has (alt) to neu, both in
// percent. Scaling back to the original zoom restores the original values (up to rounding of
// doubles); one edit block, so the layout runs once.
void skalieren(QTextDocument &doc, int alt, int neu);

} // namespace TextZoom
