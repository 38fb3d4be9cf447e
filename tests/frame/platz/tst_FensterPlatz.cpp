// Checks where the frame goes for fixed work areas: full and half-screen mode, a task bar at
// the left or top, odd widths whose halves keep their .5, other pixel densities.
#include "FensterPlatz.h"
#include "TestHilfen.h"

#include <QTest>

Q_DECLARE_METATYPE(FensterPlatz)

class tst_FensterPlatz : public QObject
{
    Q_OBJECT

private slots:
    void umrechnen_data();
    void umrechnen();
    void platz_data();
    void platz();
};

void tst_FensterPlatz::umrechnen_data()
{
    QTest::addColumn<QRect>("pixel");
    QTest::addColumn<double>("tx");
    QTest::addColumn<double>("ty");
    QTest::addColumn<QList<int>>("erwartet"); // breite, hoehe, links, oben

    zeile("1600x1140", QRect(0, 0, 1600, 1140), 15.0, 15.0, QList<int>{24000, 17100, 0, 0});
    zeile("Leiste links", QRect(60, 0, 1540, 1140), 15.0, 15.0, QList<int>{23100, 17100, 900, 0});
    zeile("Leiste oben", QRect(0, 32, 1920, 1048), 15.0, 15.0, QList<int>{28800, 15720, 0, 480});
    // 144 DPI: 10 twips per pixel.
    zeile("144 dpi", QRect(0, 0, 2560, 1400), 10.0, 10.0, QList<int>{25600, 14000, 0, 0});
    // Per-axis factors; 7.5 twips per pixel gives halves, rounded to even.
    zeile("192x96 dpi", QRect(3, 5, 101, 7), 7.5, 15.0, QList<int>{758, 105, 22, 75});
    zeile("4K", QRect(0, 0, 3840, 2112), 15.0, 15.0, QList<int>{57600, 31680, 0, 0});
}

void tst_FensterPlatz::umrechnen()
{
    QFETCH(QRect, pixel);
    QFETCH(double, tx);
    QFETCH(double, ty);
    QFETCH(QList<int>, erwartet);
    const ArbeitsbereichTwips b = ArbeitsbereichUmrechnen(pixel, tx, ty);
    QCOMPARE((QList<int>{b.breite, b.hoehe, b.links, b.oben}), erwartet);
}

void tst_FensterPlatz::platz_data()
{
    QTest::addColumn<QList<int>>("bereich"); // breite, hoehe, links, oben
    QTest::addColumn<bool>("halb");
    QTest::addColumn<FensterPlatz>("erwartet");

    zeile("halb", QList<int>{24000, 17100, 0, 0}, true, FensterPlatz{12000, 1000, 12000, 16100});
    zeile("voll", QList<int>{24000, 17100, 0, 0}, false, FensterPlatz{0, 0, 24000, 17100});
    zeile("halb, Leiste links", QList<int>{23100, 17100, 900, 0}, true,
          FensterPlatz{12450, 1000, 11550, 16100});
    zeile("voll, Leiste links", QList<int>{23100, 17100, 900, 0}, false,
          FensterPlatz{900, 0, 23100, 17100});
    zeile("halb, Leiste oben", QList<int>{28800, 15720, 0, 480}, true,
          FensterPlatz{14400, 1480, 14400, 14720});
    zeile("ungerade Breite", QList<int>{24001, 17100, 0, 0}, true,
          FensterPlatz{12000.5, 1000, 12000.5, 16100});
    zeile("ungerade Breite, links", QList<int>{24001, 17100, 901, 0}, true,
          FensterPlatz{12901.5, 1000, 12000.5, 16100});
}

void tst_FensterPlatz::platz()
{
    QFETCH(QList<int>, bereich);
    QFETCH(bool, halb);
    QFETCH(FensterPlatz, erwartet);
    const ArbeitsbereichTwips b{bereich[0], bereich[1], bereich[2], bereich[3]};
    const FensterPlatz p = FensterPlatzBerechnen(halb, b);
    QCOMPARE(p.links, erwartet.links);
    QCOMPARE(p.oben, erwartet.oben);
    QCOMPARE(p.breite, erwartet.breite);
    QCOMPARE(p.hoehe, erwartet.hoehe);
}

QTEST_GUILESS_MAIN(tst_FensterPlatz)
#include "tst_FensterPlatz.moc"
