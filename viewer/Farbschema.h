// The colour scheme of the help's windows. Normally the desktop's palette; with
// TOLVAR_HILFE_PALETTE=dunkel in the environment a dark palette, with =kontrast a high-contrast
// one (white on black), both on the Fusion style, so that a dark or high-contrast desktop can
// be shown and tested on any platform; the frames of check boxes, option buttons, push buttons
// and input fields are drawn so that they stand out on the dark window. Applied once, before
// the first window is created.
#pragma once

#include <QPalette>

namespace Farbschema {

inline constexpr const char *Variable = "TOLVAR_HILFE_PALETTE";

void anwenden();
QPalette dunkel();
QPalette kontrast();

// The application's palette is a dark one (white reads better than black on its window).
bool dunkelAktiv();
// The colour of a ground that the design gives a fixed light colour (the section strip): that
// colour on a light palette, the palette's button colour on a dark one, so that the strip does
// not shine out of a dark window.
QColor flaeche(const QColor &entwurf);

// The colour to write on a fixed ground: the text colour when it is readable there (4.5:1),
// else black or white, whichever reads better.
QColor textFarbeAuf(const QColor &grund, const QColor &text);

} // namespace Farbschema
