// The keyword pane's layout: the buttons keep 90 twips to the right and bottom edges and to each
// other, the field, list and grid 90 margins, the grid grows with the height and never gets a
// negative height; the search-mode options stay right-aligned above the field and the full-text
// grid covers list and grid; narrower than 200 twips or minimised nothing changes.
#include "HilfeIndexLayout.h"
#include "TestHilfen.h"

#include <QtTest>

class TestHilfeIndexLayout : public QObject
{
    Q_OBJECT

private slots:
    void groessen_data();
    void groessen();
    void keinLayout_data();
    void keinLayout();
};

void TestHilfeIndexLayout::groessen_data()
{
    QTest::addColumn<double>("breite");
    QTest::addColumn<double>("hoehe");
    QTest::addColumn<int>("abbruchLinks");
    QTest::addColumn<int>("anzeigenLinks");
    QTest::addColumn<int>("knopfOben");
    QTest::addColumn<int>("suchenLinks");
    QTest::addColumn<int>("linieEnde");
    QTest::addColumn<int>("scrBreite");
    QTest::addColumn<int>("scrHoehe");

    // As designed: the bottom buttons move down from 5085 to 6750.
    zeile("Entwurf", 4530.0, 7170.0, 3300, 2070, 6750, 2715, 4440, 4350, 3555);
    // The strip beside the help window.
    zeile("Streifen", 4200.0, 9000.0, 2970, 1740, 8580, 2385, 4110, 4020, 5385);
    zeile("Mindestbreite", 200.0, 7170.0, -1030, -2260, 6750, -1615, 110, 20, 3555);
    // Too low for the grid: it gets no height instead of a negative one.
    zeile("zu niedrig", 4200.0, 3000.0, 2970, 1740, 2580, 2385, 4110, 4020, 0);
    zeile("genau ohne Raster", 4200.0, 3615.0, 2970, 1740, 3195, 2385, 4110, 4020, 0);
    // Pixel sizes converted with 15 twips per pixel and rounding of odd values.
    zeile("ungerade", 4200.4, 7170.6, 2970, 1740, 6751, 2385, 4110, 4020, 3556);
}

void TestHilfeIndexLayout::groessen()
{
    QFETCH(double, breite);
    QFETCH(double, hoehe);
    QFETCH(int, abbruchLinks);
    QFETCH(int, anzeigenLinks);
    QFETCH(int, knopfOben);
    QFETCH(int, suchenLinks);
    QFETCH(int, linieEnde);
    QFETCH(int, scrBreite);
    QFETCH(int, scrHoehe);

    const HilfeIndexGeometrie start;
    const auto g = HilfeIndexLayoutBerechnen(breite, hoehe, false, start);
    QVERIFY(g);
    QCOMPARE(g->cmdAbbruch.links, abbruchLinks);
    QCOMPARE(g->cmdAnzeigen.links, anzeigenLinks);
    QCOMPARE(g->cmdAnzeigen.oben, knopfOben);
    QCOMPARE(g->cmdAbbruch.oben, knopfOben);
    QCOMPARE(g->cmdSuchen.links, suchenLinks);
    QCOMPARE(g->line1X2, linieEnde);
    QCOMPARE(g->scr.breite, scrBreite);
    QCOMPARE(g->scr.hoehe, scrHoehe);
    QCOMPARE(g->lstWoerter.breite, scrBreite);
    QCOMPARE(g->txtSuchen.breite, scrBreite);
    // The option buttons right-aligned above the field, 90 from the edge and 90 apart.
    QCOMPARE(g->optVolltext.links + g->optVolltext.breite, TwipRunden(breite) - 90);
    QCOMPARE(g->optStichwort.links + g->optStichwort.breite + 90, g->optVolltext.links);
    // The full-text grid covers the keyword list and the keyword grid, down to the grid's end.
    QCOMPARE(g->scrVolltext.oben, g->lstWoerter.oben);
    QCOMPARE(g->scrVolltext.breite, scrBreite);
    QCOMPARE(g->scrVolltext.hoehe, std::max(g->cmdAnzeigen.oben - 90 - g->scrVolltext.oben, 0));
    QCOMPARE(g->lblVolltext.breite, scrBreite);

    // Everything else keeps its design values.
    HilfeIndexGeometrie rest = *g;
    rest.cmdAbbruch = start.cmdAbbruch;
    rest.cmdAnzeigen = start.cmdAnzeigen;
    rest.cmdSuchen.links = start.cmdSuchen.links;
    rest.line1X2 = start.line1X2;
    rest.scr.breite = start.scr.breite;
    rest.scr.hoehe = start.scr.hoehe;
    rest.lstWoerter.breite = start.lstWoerter.breite;
    rest.txtSuchen.breite = start.txtSuchen.breite;
    rest.optVolltext.links = start.optVolltext.links;
    rest.optStichwort.links = start.optStichwort.links;
    rest.scrVolltext.breite = start.scrVolltext.breite;
    rest.scrVolltext.hoehe = start.scrVolltext.hoehe;
    rest.lblVolltext.breite = start.lblVolltext.breite;
    QCOMPARE(rest, start);

    // The layout only depends on the size: running it again on its own result changes nothing.
    QCOMPARE(*HilfeIndexLayoutBerechnen(breite, hoehe, false, *g), *g);
}

void TestHilfeIndexLayout::keinLayout_data()
{
    QTest::addColumn<double>("breite");
    QTest::addColumn<bool>("minimiert");
    QTest::addColumn<bool>("layout");

    QTest::newRow("199") << 199.0 << false << false;
    QTest::newRow("199.9") << 199.9 << false << false;
    QTest::newRow("200") << 200.0 << false << true;
    QTest::newRow("0") << 0.0 << false << false;
    QTest::newRow("minimiert") << 4200.0 << true << false;
}

void TestHilfeIndexLayout::keinLayout()
{
    QFETCH(double, breite);
    QFETCH(bool, minimiert);
    QFETCH(bool, layout);
    const auto g = HilfeIndexLayoutBerechnen(breite, 7170, minimiert, HilfeIndexGeometrie());
    QCOMPARE(g.has_value(), layout);
}

QTEST_APPLESS_MAIN(TestHilfeIndexLayout)
#include "tst_hilfeindexlayout.moc"
