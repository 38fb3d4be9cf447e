// The help window's layout for tables of window sizes: when the scroll bars appear, page and
// viewport, scroll ranges, tab rows, section strip and text panel.
#include "HilfeLayout.h"
#include "TestHilfen.h"

#include <QTest>

Q_DECLARE_METATYPE(TwipRechteck)

namespace {

HilfeLayoutEingabe eingabe(double b, double h)
{
    HilfeLayoutEingabe e;
    e.innenBreite = b;
    e.innenHoehe = h;
    e.aussenBreite = b;
    e.rahmenInnenBreite = b;
    return e;
}

} // namespace

class tst_HilfeLayout : public QObject
{
    Q_OBJECT

private slots:
    void seiteUndLeisten_data();
    void seiteUndLeisten();
    void leistenWerte_data();
    void leistenWerte();
    void zuKleinesFensterBehaeltViewport();
};

// Rows: window size, right edge of the section titles; page W x H, which bars appear, and the
// viewport's size (it starts at 45, 45).
void tst_HilfeLayout::seiteUndLeisten_data()
{
    for (const char *spalte : {"breite", "hoehe"})
        QTest::addColumn<double>(spalte);
    for (const char *spalte : {"titelRechts", "W", "H"})
        QTest::addColumn<int>(spalte);
    for (const char *spalte : {"vertikal", "horizontal"})
        QTest::addColumn<bool>(spalte);
    for (const char *spalte : {"sichtBreite", "sichtHoehe"})
        QTest::addColumn<int>(spalte);

    zeile("genau gross genug", 10090.0, 5090.0, 0, 10000, 5000, false, false, 10000, 5000);
    zeile("Titel breiter als das Fenster", 4770.0, 5700.0, 6000, 6405, 5370, false, true, 4680,
          5370);
    // Width one short: W clamps, the horizontal bar costs height but H stays above 5000.
    zeile("eine Twip zu schmal", 3089.0, 8000.0, 0, 3000, 7670, false, true, 2999, 7670);
    // ... pushing H below 5000, the vertical bar appears late: the viewport shrinks, not W.
    zeile("zu schmal, Hoehe knapp", 3089.0, 5200.0, 0, 3000, 5000, true, true, 2759, 4870);
    zeile("zu niedrig, breit", 12000.0, 5000.0, 0, 11670, 5000, true, false, 11670, 4910);
    zeile("zu niedrig, Breite knapp", 3200.0, 5000.0, 0, 3000, 5000, true, true, 2870, 4670);
    zeile("beides zu klein", 2000.0, 3000.0, 0, 3000, 5000, true, true, 1670, 2670);
    zeile("4K, jenseits 16 Bit", 57600.0, 30000.0, 0, 57510, 29910, false, false, 57510, 29910);
    zeile("Bruchteile gerundet", 10590.5, 6090.5, 0, 10500, 6000, false, false, 10500, 6000);
}

void tst_HilfeLayout::seiteUndLeisten()
{
    QFETCH(double, breite);
    QFETCH(double, hoehe);
    QFETCH(int, titelRechts);
    QFETCH(int, W);
    QFETCH(int, H);
    QFETCH(bool, vertikal);
    QFETCH(bool, horizontal);
    QFETCH(int, sichtBreite);
    QFETCH(int, sichtHoehe);

    HilfeLayoutEingabe e = eingabe(breite, hoehe);
    e.abschnitteRechts = titelRechts;
    const auto r = HilfeLayoutBerechnen(e);
    QVERIFY(r.has_value());
    QCOMPARE(r->seitenBreite, W);
    QCOMPARE(r->seitenHoehe, H);
    QCOMPARE(r->picMain, (TwipRechteck{0, 0, W, H}));
    QCOMPARE(r->vertikalNoetig, vertikal);
    QCOMPARE(r->horizontalNoetig, horizontal);
    QCOMPARE(r->vScroll.sichtbar, vertikal);
    QCOMPARE(r->hScroll.sichtbar, horizontal);
    QCOMPARE(r->picContainer, (TwipRechteck{45, 45, sichtBreite, sichtHoehe}));
    // The content of the page (the bars move it as a whole): chapter tabs over the page, topic
    // tabs from H-1770, the strip from H-1410, the text panel from 405 down to 45 above the
    // topic tabs, the text on the panel with its width.
    QCOMPARE(r->tabMain, (TwipRechteck{0, 0, W, H}));
    QCOMPARE(r->tabSub, (TwipRechteck{90, H - 1770, W - 180, 1680}));
    QCOMPARE(r->fraSub, (TwipRechteck{180, H - 1410, W - 360, 1230}));
    QCOMPARE(r->picBackground, (TwipRechteck{45, 405, W - 90, H - 2220}));
    QCOMPARE(r->txt, (TwipRechteck{45, 0, W - 135, H - 2220}));
}

void tst_HilfeLayout::leistenWerte_data()
{
    using R = TwipRechteck;
    using L = QList<int>; // maximum, small change, large change; empty: no bar
    QTest::addColumn<double>("breite");
    QTest::addColumn<double>("hoehe");
    QTest::addColumn<R>("hGeo");
    QTest::addColumn<L>("hWerte");
    QTest::addColumn<R>("vGeo");
    QTest::addColumn<L>("vWerte");
    // Viewport 1670 x 2670 on a page of 3000 x 5000.
    zeile("beide", 2000.0, 3000.0, R{0, 2760, 1760, 240}, L{1330, 167, 1670},
          R{1760, 0, 240, 2760}, L{2330, 267, 2670});
    // Viewport width 2875: a tenth is 287.5 and rounds to the even 288; 2865 gives 286.
    zeile("halbe Zehntel aufwaerts", 2965.0, 8000.0, R{0, 7760, 2965, 240}, L{125, 288, 2875},
          R{}, L{});
    zeile("halbe Zehntel abwaerts", 2955.0, 8000.0, R{0, 7760, 2955, 240}, L{135, 286, 2865},
          R{}, L{});
    zeile("nur senkrecht", 20000.0, 4000.0, R{}, L{}, R{19760, 0, 240, 4000}, L{1090, 391, 3910});
}

void tst_HilfeLayout::leistenWerte()
{
    QFETCH(double, breite);
    QFETCH(double, hoehe);
    QFETCH(TwipRechteck, hGeo);
    QFETCH(QList<int>, hWerte);
    QFETCH(TwipRechteck, vGeo);
    QFETCH(QList<int>, vWerte);

    const auto r = HilfeLayoutBerechnen(eingabe(breite, hoehe));
    QVERIFY(r.has_value());
    for (const auto &[leiste, geo, werte] :
         {std::tuple{r->hScroll, hGeo, hWerte}, std::tuple{r->vScroll, vGeo, vWerte}}) {
        QCOMPARE(leiste.sichtbar, !werte.isEmpty());
        if (leiste.sichtbar) {
            QCOMPARE(leiste.geometrie, geo);
            QCOMPARE(leiste.minimum, 0);
            QCOMPARE((QList<int>{leiste.maximum, leiste.kleineAenderung, leiste.grosseAenderung}),
                     werte);
        }
    }
}

void tst_HilfeLayout::zuKleinesFensterBehaeltViewport()
{
    HilfeLayoutEingabe e = eingabe(200, 150);
    e.picContainer = TwipRechteck{45, 45, 2000, 2000};
    const auto r = HilfeLayoutBerechnen(e);
    QVERIFY(r.has_value());
    QCOMPARE(r->picContainer, e.picContainer);
    // The bars are laid out from the kept viewport.
    QVERIFY(r->hScroll.sichtbar);
    QVERIFY(r->vScroll.sichtbar);
    QCOMPARE(r->hScroll.geometrie, (TwipRechteck{0, 2090, 2090, 240}));
    QCOMPARE(r->hScroll.maximum, 1000);
    QCOMPARE(r->vScroll.maximum, 3000);

    // A viewport kept from a wide window: the scroll range cannot become negative.
    e.picContainer = TwipRechteck{45, 45, 40000, 20000};
    const auto breit = HilfeLayoutBerechnen(e);
    QCOMPARE(breit->hScroll.maximum, 0);
    QCOMPARE(breit->vScroll.maximum, 0);
    // A minimised window is not laid out.
    e.zustand = FensterZustand::Minimiert;
    QVERIFY(!HilfeLayoutBerechnen(e).has_value());
}

QTEST_GUILESS_MAIN(tst_HilfeLayout)
#include "tst_HilfeLayout.moc"
