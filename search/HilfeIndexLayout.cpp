// The keyword pane's layout (see HilfeIndexLayout.h).
#include "HilfeIndexLayout.h"

#include <algorithm>

std::optional<HilfeIndexGeometrie> HilfeIndexLayoutBerechnen(double innenBreite, double innenHoehe,
                                                             bool minimiert,
                                                             const HilfeIndexGeometrie &aktuell)
{
    if (minimiert || innenBreite < HilfeIndexMindestBreite)
        return std::nullopt;
    const qint32 b = TwipRunden(innenBreite);
    const qint32 h = TwipRunden(innenHoehe);
    HilfeIndexGeometrie g = aktuell;
    g.cmdAbbruch.links = b - g.cmdAbbruch.breite - 90;
    g.cmdAnzeigen.links = g.cmdAbbruch.links - g.cmdAnzeigen.breite - 90;
    g.cmdAnzeigen.oben = h - g.cmdAnzeigen.hoehe - 90;
    g.cmdAbbruch.oben = g.cmdAnzeigen.oben;
    g.cmdSuchen.links = b - g.cmdSuchen.breite - 90;
    g.line1X2 = b - g.line1X1;
    // A pane too low for the grid leaves it without height rather than failing.
    g.scr.hoehe = std::max(h - g.scr.oben - g.cmdAnzeigen.hoehe - 180, 0);
    g.scr.breite = b - 2 * g.scr.links;
    g.lstWoerter.breite = g.scr.breite;
    g.txtSuchen.breite = g.scr.breite;
    g.optVolltext.links = b - g.optVolltext.breite - 90;
    g.optStichwort.links = g.optVolltext.links - g.optStichwort.breite - 90;
    g.scrVolltext.oben = g.lstWoerter.oben;
    g.scrVolltext.breite = g.scr.breite;
    g.scrVolltext.hoehe = std::max(h - g.scrVolltext.oben - g.cmdAnzeigen.hoehe - 180, 0);
    g.lblVolltext.breite = g.scr.breite;
    return g;
}
