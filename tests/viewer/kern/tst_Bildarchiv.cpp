// Tests of the picture archives: reading a member from memory, the size limits against
// archives whose headers lie, and decoding the bitmap with its pixel limit.
#include "BildEntpacken.h"
#include "ZipArchiv.h"
#include "TestHilfen.h"
#include "ZipHilfe.h"

#include <QtTest>

class TstBildarchiv : public QObject
{
    Q_OBJECT
private slots:
    void grenzen_data();
    void grenzen();
    void luegenderKopf();
    void bild_data();
    void bild();
};

// A member read by its name in any case, up to a limit on its unpacked size.
void TstBildarchiv::grenzen_data()
{
    QTest::addColumn<QByteArray>("archiv");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<qint64>("grenze");
    QTest::addColumn<QByteArray>("inhalt"); // empty: refused
    const QByteArray tausend(1000, 'a');
    const QByteArray archiv = zipErstellen({{"anderes.txt", "x"}, {"Temp.bmp", tausend}});
    zeile("at the limit", archiv, QByteArray("Temp.bmp"), qint64(1000), tausend);
    zeile("name in other case", archiv, QByteArray("temp.BMP"), qint64(1000), tausend);
    zeile("other member", archiv, QByteArray("anderes.txt"), qint64(1000), QByteArray("x"));
    zeile("no such member", archiv, QByteArray("fehlt.bmp"), qint64(1000), QByteArray());
    zeile("above limit", archiv, QByteArray("Temp.bmp"), qint64(999), QByteArray());
    zeile("empty input", QByteArray(), QByteArray("Temp.bmp"), qint64(1000), QByteArray());
    zeile("not a zip", QByteArray("PK\x03\x04 kaputt"), QByteArray("Temp.bmp"), qint64(1000),
          QByteArray());
    zeile("truncated", archiv.left(archiv.size() / 2), QByteArray("Temp.bmp"), qint64(1000),
          QByteArray());
}

void TstBildarchiv::grenzen()
{
    QFETCH(QByteArray, archiv);
    QFETCH(QByteArray, name);
    QFETCH(qint64, grenze);
    QFETCH(QByteArray, inhalt);
    QByteArray gelesen = "alt";
    QCOMPARE(ZipArchiv::mitgliedLesen(archiv, QString::fromLatin1(name), gelesen, grenze),
             !inhalt.isEmpty());
    QCOMPARE(gelesen, inhalt);
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

void TstBildarchiv::bild_data()
{
    QTest::addColumn<QByteArray>("archiv");
    QTest::addColumn<bool>("ok");
    QTest::newRow("bitmap") << bildArchiv({7, 5}, Qt::green) << true;
    QTest::newRow("no member") << zipErstellen({{"Bild.bmp", bmpErstellen({2, 2}, Qt::red)}})
                               << false;
    QTest::newRow("not a bitmap") << zipErstellen({{"Temp.bmp", "kein Bild"}}) << false;
    QTest::newRow("damaged archive") << QByteArray("kaputt") << false;
    // A bitmap header announcing 10000 x 10000 pixels: refused before decoding.
    QByteArray riesig = bmpErstellen({2, 2}, Qt::red);
    qToLittleEndian<qint32>(10000, riesig.data() + 18);
    qToLittleEndian<qint32>(10000, riesig.data() + 22);
    QTest::newRow("too many pixels") << zipErstellen({{"Temp.bmp", riesig}}) << false;
}

void TstBildarchiv::bild()
{
    QFETCH(QByteArray, archiv);
    QFETCH(bool, ok);
    QImage bild(3, 3, QImage::Format_RGB32);
    bild.fill(Qt::blue);
    QCOMPARE(BildEntpacken(archiv, bild), ok);
    // A refused picture leaves the image as it was.
    QCOMPARE(bild.size(), ok ? QSize(7, 5) : QSize(3, 3));
    QCOMPARE(bild.pixelColor(2, 2), ok ? QColor(Qt::green) : QColor(Qt::blue));
}

QTEST_GUILESS_MAIN(TstBildarchiv)
#include "tst_Bildarchiv.moc"
