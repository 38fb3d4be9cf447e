// Checks where the frame goes on a work area given in pixels, in full and half-screen mode.
#include "FensterPlatz.h"
#include "TestHilfen.h"

#include <QTest>

using Bereich = QList<int>; // links, oben, breite, hoehe
using Platz = QList<double>;

class tst_FensterPlatz : public QObject
{
    Q_OBJECT

private slots:
    void platz_data();
    void platz();
};

void tst_FensterPlatz::platz_data()
{
    QTest::addColumn<QRect>("pixel");
    QTest::addColumn<double>("tx");
    QTest::addColumn<double>("ty");
    QTest::addColumn<Bereich>("bereich");
    QTest::addColumn<Platz>("halb");

    zeile("Leiste links", QRect(60, 0, 1540, 1140), 15.0, 15.0, Bereich{900, 0, 23100, 17100},
          Platz{12450, 1000, 11550, 16100});
    zeile("Leiste oben", QRect(0, 32, 1920, 1048), 15.0, 15.0, Bereich{0, 480, 28800, 15720},
          Platz{14400, 1480, 14400, 14720});
    zeile("ungerade Breite", QRect(61, 0, 1601, 1140), 15.0, 15.0, Bereich{915, 0, 24015, 17100},
          Platz{12922.5, 1000, 12007.5, 16100});
    // Per-axis factors; 7.5 twips per pixel gives halves, rounded to even.
    zeile("192x96 dpi", QRect(3, 5, 2561, 1400), 7.5, 15.0, Bereich{22, 75, 19208, 21000},
          Platz{9626, 1075, 9604, 20000});
}

void tst_FensterPlatz::platz()
{
    QFETCH(QRect, pixel);
    QFETCH(double, tx);
    QFETCH(double, ty);
    QFETCH(Bereich, bereich);
    QFETCH(Platz, halb);
    const ArbeitsbereichTwips b = ArbeitsbereichUmrechnen(pixel, tx, ty);
    QCOMPARE((Bereich{b.links, b.oben, b.breite, b.hoehe}), bereich);
    const auto platz = [&b](bool h) {
        const FensterPlatz p = FensterPlatzBerechnen(h, b);
        return Platz{p.links, p.oben, p.breite, p.hoehe};
    };
    QCOMPARE(platz(true), halb);
    QCOMPARE(platz(false), Platz(bereich.cbegin(), bereich.cend())); // full: the work area
}

QTEST_GUILESS_MAIN(tst_FensterPlatz)
#include "tst_FensterPlatz.moc"
