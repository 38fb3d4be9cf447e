// The layout of the keyword pane as a pure function: from the pane's inner size (twips) to the
// geometry of its controls. The controls are designed for an inner size of 4530 x 7170; the
// two bottom buttons stay right-aligned 90 from the bottom and right edges and 90 apart, the
// search button right-aligned under the search field, the field, the keyword list and the
// grid keep 90 margins left and right, and the grid grows with the height down to 90 above
// the buttons. The two option buttons that choose between keyword and full-text search stand
// right-aligned above the search field, 90 from the right edge and 90 apart; the full-text hit
// grid takes the place of the keyword list and the keyword grid together (from the list's top
// down to 90 above the buttons, with the grid's width; no height rather than a negative one),
// its caption the place of the list's caption.
// Everything else keeps its design values.
#pragma once

#include "HilfeLayout.h"

#include <optional>

struct HilfeIndexGeometrie
{
    TwipRechteck txtSuchen{90, 315, 3930, 285};
    TwipRechteck lbl0{90, 90, 1275, 195};
    TwipRechteck cmdSuchen{2250, 630, 1725, 330};
    TwipRechteck lstWoerter{90, 1350, 3930, 1425};
    TwipRechteck lbl1{90, 1125, 1680, 195};
    TwipRechteck scr{90, 3105, 3930, 1905};
    TwipRechteck lbl2{90, 2835, 1440, 195};
    TwipRechteck cmdAnzeigen{1710, 5085, 1140, 330};
    TwipRechteck cmdAbbruch{2880, 5085, 1140, 330};
    // Line1 runs from (x1, y) to (x2, y).
    qint32 line1X1 = 90;
    qint32 line1X2 = 4050;
    qint32 line1Y = 1035;
    TwipRechteck optStichwort{2310, 60, 1125, 240};
    TwipRechteck optVolltext{3525, 60, 915, 240};
    TwipRechteck scrVolltext{90, 1350, 3930, 3645};
    TwipRechteck lblVolltext{90, 1125, 3930, 195};

    friend bool operator==(const HilfeIndexGeometrie &, const HilfeIndexGeometrie &) = default;
};

// The pane's inner size as designed.
inline constexpr qint32 HilfeIndexStartBreite = 4530;
inline constexpr qint32 HilfeIndexStartHoehe = 7170;
// Below this inner width the pane is not laid out.
inline constexpr qint32 HilfeIndexMindestBreite = 200;

// The geometry for an inner size, from the current one; empty (nothing changes) while the pane
// is minimised or narrower than HilfeIndexMindestBreite. A grid that would get a negative
// height gets 0.
std::optional<HilfeIndexGeometrie> HilfeIndexLayoutBerechnen(double innenBreite, double innenHoehe,
                                                             bool minimiert,
                                                             const HilfeIndexGeometrie &aktuell);
