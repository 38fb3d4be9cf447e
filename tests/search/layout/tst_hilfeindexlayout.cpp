// The keyword pane's layout: buttons 90 twips from the right and bottom edges and each other,
// the grid growing with the height, never negative; narrower than 200 twips or minimised: none.
#include "HilfeIndexLayout.h"
#include "TestHilfen.h"

#include <QtTest>

class TestHilfeIndexLayout : public QObject
{
    Q_OBJECT

private slots:
    void groessen_data();
    void groessen();
    void keinLayout();
};

void TestHilfeIndexLayout::groessen_data()
{
    QTest::addColumn<double>("breite");
    QTest::addColumn<double>("hoehe");
    // Left of Abbrechen, left of Anzeigen, top of both, left of Suchen, line end, grid size.
    QTest::addColumn<QList<int>>("erwartet");

    // As designed: the bottom buttons move down from 5085 to 6750.
    zeile("Entwurf", 4530.0, 7170.0, QList<int>{3300, 2070, 6750, 2715, 4440, 4350, 3555});
    zeile("Mindestbreite", 200.0, 7170.0, QList<int>{-1030, -2260, 6750, -1615, 110, 20, 3555});
    zeile("zu niedrig", 4200.0, 3000.0, QList<int>{2970, 1740, 2580, 2385, 4110, 4020, 0});
    // Pixel sizes converted with 15 twips per pixel and rounding of odd values.
    zeile("ungerade", 4200.4, 7170.6, QList<int>{2970, 1740, 6751, 2385, 4110, 4020, 3556});
}

void TestHilfeIndexLayout::groessen()
{
    QFETCH(double, breite);
    QFETCH(double, hoehe);
    QFETCH(QList<int>, erwartet);
    const HilfeIndexGeometrie start;
    const auto g = HilfeIndexLayoutBerechnen(breite, hoehe, false, start);
    QVERIFY(g);
    QCOMPARE((QList<int>{g->cmdAbbruch.links, g->cmdAnzeigen.links, g->cmdAnzeigen.oben,
                         g->cmdSuchen.links, g->line1X2, g->scr.breite, g->scr.hoehe}),
             erwartet);
    // Field, list and grids get the grid's width; the full-text grid covers list and grid down
    // to the grid's end; the options stay right-aligned, 90 from the edge and 90 apart;
    // everything else keeps its design values.
    HilfeIndexGeometrie soll = start;
    soll.cmdAbbruch = {erwartet[0], erwartet[2], start.cmdAbbruch.breite, start.cmdAbbruch.hoehe};
    soll.cmdAnzeigen = {erwartet[1], erwartet[2], start.cmdAnzeigen.breite,
                        start.cmdAnzeigen.hoehe};
    soll.cmdSuchen.links = erwartet[3];
    soll.line1X2 = erwartet[4];
    soll.scr.breite = soll.lstWoerter.breite = soll.txtSuchen.breite = erwartet[5];
    soll.scrVolltext.breite = soll.lblVolltext.breite = erwartet[5];
    soll.scr.hoehe = erwartet[6];
    soll.scrVolltext.hoehe = std::max(erwartet[2] - 90 - start.lstWoerter.oben, 0);
    soll.optVolltext.links = TwipRunden(breite) - 90 - start.optVolltext.breite;
    soll.optStichwort.links = soll.optVolltext.links - 90 - start.optStichwort.breite;
    QCOMPARE(*g, soll);

    // The layout only depends on the size: running it again on its own result changes nothing.
    QCOMPARE(*HilfeIndexLayoutBerechnen(breite, hoehe, false, *g), *g);
}

void TestHilfeIndexLayout::keinLayout()
{
    QVERIFY(!HilfeIndexLayoutBerechnen(199.9, 7170, false, HilfeIndexGeometrie()));
    QVERIFY(!HilfeIndexLayoutBerechnen(4200, 7170, true, HilfeIndexGeometrie()));
}

QTEST_APPLESS_MAIN(TestHilfeIndexLayout)
#include "tst_hilfeindexlayout.moc"
