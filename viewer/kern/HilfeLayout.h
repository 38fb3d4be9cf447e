// The layout of the help window as a pure function: from the window's inner size and the current
// geometry of its controls (all in twips) to the new geometry of the page, the viewport, the two
// scroll bars, the tab rows, the section strip, the text panel and the text box. The text panel
// lies on the page and takes its width: where the window is too small and scroll bars remain,
// they move the page and the text together. The window
// applies the result to its widgets; tests check it against tables of sizes. All values are
// 32-bit, so windows wider than 32767 twips (about 2180 pixels) lay out like smaller ones.
#pragma once

#include <QtGlobal>

#include <optional>

// A rectangle in twips, as the controls of the help window keep it.
struct TwipRechteck
{
    qint32 links = 0;
    qint32 oben = 0;
    qint32 breite = 0;
    qint32 hoehe = 0;

    friend bool operator==(const TwipRechteck &, const TwipRechteck &) = default;
};

// The smallest page: the content is drawn on at least this many twips and scrolled below it.
// The page follows the window's width down to a narrow column (200 pixels at 96 dpi), so that
// a half-screen window, a keyword pane beside it or a scaled screen cuts neither the tab rows'
// arrows nor the text; it is widened further only for section titles that need the room.
inline constexpr qint32 SeiteMindestBreite = 3000;
inline constexpr qint32 SeiteMindestHoehe = 5000;

// The controls as the help window is designed; the layout changes only some of their values.
struct HilfeStartGeometrie
{
    static constexpr TwipRechteck picContainer{315, 630, 9870, 5595};
    static constexpr TwipRechteck picBackground{45, 405, 4200, 1815};
    static constexpr TwipRechteck txt{45, 0, 1725, 1185};
    static constexpr TwipRechteck picMain{0, 0, 9600, 5100};
    static constexpr TwipRechteck fraSub{180, 3240, 8520, 1230};
    static constexpr TwipRechteck tabSub{90, 2880, 8685, 1680};
    static constexpr TwipRechteck tabMain{0, 45, 9015, 4875};
    static constexpr TwipRechteck HScroll1{90, 6705, 3615, 240};
    static constexpr TwipRechteck VScroll1{10710, 90, 240, 1950};
};

enum class FensterZustand { Normal, Minimiert, Maximiert };

struct HilfeLayoutEingabe
{
    FensterZustand zustand = FensterZustand::Normal;
    double innenBreite = 0; // client area of the help window
    double innenHoehe = 0;
    double aussenBreite = 0;      // outer width of the help window (for the keyword pane)
    double rahmenInnenBreite = 0; // client width of the frame window
    bool stichwortSuche = false;  // the keyword pane is open beside the help window

    // Current geometry of the controls that the layout reads.
    TwipRechteck picContainer = HilfeStartGeometrie::picContainer;
    TwipRechteck picBackground = HilfeStartGeometrie::picBackground;
    TwipRechteck txt = HilfeStartGeometrie::txt;
    TwipRechteck fraSub = HilfeStartGeometrie::fraSub;
    TwipRechteck tabSub = HilfeStartGeometrie::tabSub;
    TwipRechteck tabMain = HilfeStartGeometrie::tabMain;
    qint32 vScrollBreite = HilfeStartGeometrie::VScroll1.breite;
    qint32 hScrollHoehe = HilfeStartGeometrie::HScroll1.hoehe;
    // Right edge of the section titles inside the strip (0: none); the page is made wide
    // enough for them and their margin.
    qint32 abschnitteRechts = 0;
    // Width of the text panel's border on each side (inner size = outer size - 2 x border).
    qint32 hintergrundRand = 0;
    // Top of the text panel when the data were read; the page goes home at every layout and
    // the text panel with it, so scroll bars, page and panel always agree.
    qint32 hintergrundTop = HilfeStartGeometrie::picBackground.oben;
};

struct ScrollLeisteLayout
{
    bool sichtbar = false;
    // The values below are only set when the bar is visible.
    TwipRechteck geometrie;
    qint32 minimum = 0;
    qint32 maximum = 0;
    qint32 kleineAenderung = 0;
    qint32 grosseAenderung = 0;
};

struct HilfeLayoutErgebnis
{
    // Keyword pane: moved to the client area's origin; its width set only when there is room.
    bool stichwortVerschieben = false;
    std::optional<qint32> stichwortBreite;

    qint32 seitenBreite = 0; // W
    qint32 seitenHoehe = 0;  // H
    bool vertikalNoetig = false;
    bool horizontalNoetig = false;

    TwipRechteck picMain;
    TwipRechteck picContainer;
    TwipRechteck picBackground;
    TwipRechteck txt;
    TwipRechteck tabMain;
    TwipRechteck tabSub;
    TwipRechteck fraSub;
    ScrollLeisteLayout hScroll;
    ScrollLeisteLayout vScroll;
};

// Rounds to the nearest integer, halves to the even neighbour.
qint32 TwipRunden(double wert);

// The layout run after every size change. Empty for a minimised window: nothing is touched.
std::optional<HilfeLayoutErgebnis> HilfeLayoutBerechnen(const HilfeLayoutEingabe &e);
