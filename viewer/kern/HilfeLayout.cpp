// The layout of the help window: page, viewport, scroll bars, tab rows, section strip and text
// panel for a given inner window size. See HilfeLayout.h.
#include "HilfeLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

qint32 TwipRunden(double wert)
{
    // nearbyint uses the current rounding mode, which is to-nearest-even unless changed.
    const double r = std::nearbyint(wert);
    if (r >= double(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (r <= double(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return qint32(r);
}

namespace {

// A control cannot take a negative size: for windows smaller than their margins the size
// becomes 0 instead of failing the whole layout.
qint32 nichtNegativ(qint32 v)
{
    return std::max<qint32>(v, 0);
}

} // namespace

std::optional<HilfeLayoutErgebnis> HilfeLayoutBerechnen(const HilfeLayoutEingabe &e)
{
    if (e.zustand == FensterZustand::Minimiert)
        return std::nullopt;

    HilfeLayoutErgebnis r;

    // 1. The keyword pane fills the space left of the help window (normal state only).
    if (e.zustand == FensterZustand::Normal && e.stichwortSuche) {
        r.stichwortVerschieben = true;
        const qint32 frei = TwipRunden(e.rahmenInnenBreite - e.aussenBreite);
        if (frei > 200)
            r.stichwortBreite = frei;
    }

    // 3./4. Page size and the scroll bars it needs. The vertical test comes first; a vertical
    // bar that becomes needed only in the last test does not reduce the page width.
    // The page is at least as wide as the section titles with the strip's margins need.
    const qint32 mindestBreite =
        e.abschnitteRechts > 0
            ? std::max(SeiteMindestBreite, e.abschnitteRechts + 45 + 2 * e.fraSub.links)
            : SeiteMindestBreite;
    qint32 H = TwipRunden(e.innenHoehe - 90);
    qint32 W = TwipRunden(e.innenBreite - 90);
    bool vertikal = false;
    bool horizontal = false;
    if (H < SeiteMindestHoehe) {
        H = SeiteMindestHoehe;
        vertikal = true;
    }
    if (W < mindestBreite) {
        W = mindestBreite;
        horizontal = true;
    }
    if (vertikal) {
        W = TwipRunden(double(W) - e.vScrollBreite);
        if (W < mindestBreite) {
            W = mindestBreite;
            horizontal = true;
        }
    }
    if (horizontal) {
        H = TwipRunden(double(H) - e.hScrollHoehe);
        if (H < SeiteMindestHoehe) {
            H = SeiteMindestHoehe;
            vertikal = true;
        }
    }
    r.seitenBreite = W;
    r.seitenHoehe = H;
    r.vertikalNoetig = vertikal;
    r.horizontalNoetig = horizontal;

    // 2./5. The page goes home and takes its size.
    r.picMain = TwipRechteck{0, 0, W, H};

    // 6. The viewport; a window too small for one keeps the previous one.
    const qint32 w = TwipRunden(e.innenBreite - (vertikal ? e.vScrollBreite : 0) - 90);
    const qint32 h = TwipRunden(e.innenHoehe - (horizontal ? e.hScrollHoehe : 0) - 90);
    r.picContainer = (w >= 1 && h >= 1) ? TwipRechteck{45, 45, w, h} : e.picContainer;
    const TwipRechteck &pc = r.picContainer;

    // 7.-9. Scroll bars, sized from the viewport.
    r.hScroll.sichtbar = horizontal;
    if (horizontal) {
        r.hScroll.geometrie = TwipRechteck{0, pc.hoehe + 90, pc.breite + 90, e.hScrollHoehe};
        r.hScroll.minimum = 0;
        r.hScroll.maximum = std::max<qint32>(W - pc.breite, 0);
        r.hScroll.kleineAenderung = TwipRunden(pc.breite / 10.0);
        r.hScroll.grosseAenderung = pc.breite;
    }
    r.vScroll.sichtbar = vertikal;
    if (vertikal) {
        r.vScroll.geometrie = TwipRechteck{pc.breite + 90, 0, e.vScrollBreite, pc.hoehe + 90};
        r.vScroll.minimum = 0;
        r.vScroll.maximum = std::max<qint32>(H - pc.hoehe, 0);
        r.vScroll.kleineAenderung = TwipRunden(pc.hoehe / 10.0);
        r.vScroll.grosseAenderung = pc.hoehe;
    }

    // 10. Chapter tabs over the whole page.
    r.tabMain = e.tabMain;
    r.tabMain.oben = e.tabMain.links;
    r.tabMain.breite = nichtNegativ(W - 2 * r.tabMain.links);
    r.tabMain.hoehe = nichtNegativ(H - 2 * r.tabMain.oben);

    // 11. Topic tabs at the bottom of the page.
    r.tabSub = e.tabSub;
    r.tabSub.oben = H - e.tabSub.hoehe - 2 * r.tabMain.oben - 90;
    r.tabSub.breite = nichtNegativ(W - 2 * e.tabSub.links);

    // 12. The section strip on the page of the topic tabs.
    r.fraSub = e.fraSub;
    r.fraSub.breite = nichtNegativ(W - 2 * e.fraSub.links);
    r.fraSub.oben = H - e.tabSub.links - e.fraSub.hoehe - r.tabMain.links - 90;

    // 13. The text panel from its top down to just above the topic tabs, as wide as the page
    // but for its margins; it goes home with the page.
    r.picBackground = e.picBackground;
    r.picBackground.links = HilfeStartGeometrie::picBackground.links;
    r.picBackground.oben = e.hintergrundTop;
    r.picBackground.breite = nichtNegativ(W - 2 * r.picBackground.links);
    r.picBackground.hoehe =
        nichtNegativ(H - r.picBackground.oben - 3 * r.tabMain.oben - e.tabSub.hoehe - 135);

    // 14. The text box fills the panel but for its left margin.
    const qint32 innenB = nichtNegativ(r.picBackground.breite - 2 * e.hintergrundRand);
    const qint32 innenH = nichtNegativ(r.picBackground.hoehe - 2 * e.hintergrundRand);
    r.txt = e.txt;
    r.txt.breite = nichtNegativ(innenB - e.txt.links);
    r.txt.hoehe = nichtNegativ(innenH - 2 * e.txt.oben);
    return r;
}
