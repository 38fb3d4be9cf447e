// Tests of the picture archives: reading a member from memory, the size limits against
// archives whose headers lie, and decoding the bitmap with its pixel limit.
#include "BildEntpacken.h"
#include "ZipArchiv.h"
#include "ZipHilfe.h"

#include <QtTest>

class TstBildarchiv : public QObject
{
    Q_OBJECT
private slots:
    void mitglied();
    void grenzen_data();
    void grenzen();
    void luegenderKopf();
    void bild();
    void bildAbgelehnt_data();
    void bildAbgelehnt();
};

void TstBildarchiv::mitglied()
{
    const QByteArray archiv = zipErstellen({{"anderes.txt", "x"}, {"Temp.bmp", "INHALT"}});
    QByteArray inhalt;
    QVERIFY(ZipArchiv::mitgliedLesen(archiv, "Temp.bmp", inhalt));
    QCOMPARE(inhalt, QByteArray("INHALT"));
    QVERIFY(ZipArchiv::mitgliedLesen(archiv, "temp.BMP", inhalt));
    QCOMPARE(inhalt, QByteArray("INHALT"));
    QVERIFY(!ZipArchiv::mitgliedLesen(archiv, "fehlt.bmp", inhalt));
    QVERIFY(inhalt.isEmpty());
}

void TstBildarchiv::grenzen_data()
{
    QTest::addColumn<QByteArray>("archiv");
    QTest::addColumn<qint64>("grenze");
    QTest::addColumn<bool>("ok");
    const QByteArray tausend = zipErstellen({{"Temp.bmp", QByteArray(1000, 'a')}});
    QTest::newRow("below limit") << tausend << qint64(1000) << true;
    QTest::newRow("above limit") << tausend << qint64(999) << false;
    QTest::newRow("empty input") << QByteArray() << qint64(1000) << false;
    QTest::newRow("not a zip") << QByteArray("PK\x03\x04 kaputt") << qint64(1000) << false;
    QTest::newRow("truncated") << tausend.left(tausend.size() / 2) << qint64(1000) << false;
}

void TstBildarchiv::grenzen()
{
    QFETCH(QByteArray, archiv);
    QFETCH(qint64, grenze);
    QFETCH(bool, ok);
    QByteArray inhalt;
    QCOMPARE(ZipArchiv::mitgliedLesen(archiv, "Temp.bmp", inhalt, grenze), ok);
    QCOMPARE(inhalt.size(), ok ? 1000 : 0);
}

// A member whose headers claim 10 bytes but which unpacks to 200000 is refused.
void TstBildarchiv::luegenderKopf()
{
    QByteArray archiv = zipErstellen({{"Temp.bmp", QByteArray(200000, '\0')}});
    QVERIFY(!archiv.isEmpty());
    int gepatcht = 0;
    for (int i = 0; i + 30 < archiv.size(); ++i) {
        const char *d = archiv.constData() + i;
        if (memcmp(d, "PK\x03\x04", 4) == 0) {
            qToLittleEndian<quint32>(10, archiv.data() + i + 22);
            ++gepatcht;
        } else if (memcmp(d, "PK\x01\x02", 4) == 0) {
            qToLittleEndian<quint32>(10, archiv.data() + i + 24);
            ++gepatcht;
        }
    }
    QCOMPARE(gepatcht, 2);
    QByteArray inhalt;
    QVERIFY(!ZipArchiv::mitgliedLesen(archiv, "Temp.bmp", inhalt, 1000));
    QVERIFY(inhalt.isEmpty());
}

void TstBildarchiv::bild()
{
    QImage bild;
    QVERIFY(BildEntpacken(bildArchiv({7, 5}, Qt::green), bild));
    QCOMPARE(bild.size(), QSize(7, 5));
    QCOMPARE(bild.pixelColor(3, 2), QColor(Qt::green));
}

void TstBildarchiv::bildAbgelehnt_data()
{
    QTest::addColumn<QByteArray>("archiv");
    QTest::newRow("no member") << zipErstellen({{"Bild.bmp", bmpErstellen({2, 2}, Qt::red)}});
    QTest::newRow("not a bitmap") << zipErstellen({{"Temp.bmp", "kein Bild"}});
    QTest::newRow("damaged archive") << QByteArray("kaputt");
    // A bitmap header announcing 10000 x 10000 pixels: refused before decoding.
    QByteArray riesig = bmpErstellen({2, 2}, Qt::red);
    qToLittleEndian<qint32>(10000, riesig.data() + 18);
    qToLittleEndian<qint32>(10000, riesig.data() + 22);
    QTest::newRow("too many pixels") << zipErstellen({{"Temp.bmp", riesig}});
}

void TstBildarchiv::bildAbgelehnt()
{
    QFETCH(QByteArray, archiv);
    QImage bild(3, 3, QImage::Format_RGB32);
    bild.fill(Qt::blue);
    QVERIFY(!BildEntpacken(archiv, bild));
    QCOMPARE(bild.size(), QSize(3, 3)); // unchanged
}

QTEST_GUILESS_MAIN(TstBildarchiv)
#include "tst_Bildarchiv.moc"
