// Tests of the picture archives: a member read by its name in any case, the limit on its
// unpacked size also against lying headers, and decoding the bitmap with its pixel limit.
#include "BildEntpacken.h"
#include "TestHilfen.h"
#include "ZipArchiv.h"
#include "ZipHilfe.h"

#include <QtTest>

class TstBildarchiv : public QObject
{
    Q_OBJECT
private slots:
    void grenzen_data();
    void grenzen();
    void bild_data();
    void bild();
};

void TstBildarchiv::grenzen_data()
{
    QTest::addColumn<QByteArray>("archiv");
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("grenze");
    QTest::addColumn<QByteArray>("inhalt"); // empty: refused
    const QByteArray tausend(1000, 'a');
    const QByteArray archiv = zipErstellen({{"anderes.txt", "x"}, {"Temp.bmp", tausend}});
    zeile("at the limit", archiv, "Temp.bmp", qint64(1000), tausend);
    zeile("name in other case", archiv, "temp.BMP", qint64(1000), tausend);
    zeile("no such member", archiv, "fehlt.bmp", qint64(1000), QByteArray());
    zeile("above limit", archiv, "Temp.bmp", qint64(999), QByteArray());
    zeile("truncated", archiv.left(archiv.size() / 2), "Temp.bmp", qint64(1000), QByteArray());
    // Both headers claim 10 bytes for a member that unpacks to 200000.
    QByteArray luegt = zipErstellen({{"Temp.bmp", QByteArray(200000, '\0')}});
    const qsizetype lokal = luegt.indexOf("PK\x03\x04"), zentral = luegt.indexOf("PK\x01\x02");
    QVERIFY(lokal >= 0 && zentral > lokal);
    qToLittleEndian<quint32>(10, luegt.data() + lokal + 22);
    qToLittleEndian<quint32>(10, luegt.data() + zentral + 24);
    zeile("lying headers", luegt, "Temp.bmp", qint64(1000), QByteArray());
}

void TstBildarchiv::grenzen()
{
    QFETCH(QByteArray, archiv);
    QFETCH(QString, name);
    QFETCH(qint64, grenze);
    QFETCH(QByteArray, inhalt);
    QByteArray gelesen = "alt";
    QCOMPARE(ZipArchiv::mitgliedLesen(archiv, name, gelesen, grenze), !inhalt.isEmpty());
    QCOMPARE(gelesen, inhalt);
}

void TstBildarchiv::bild_data()
{
    QTest::addColumn<QByteArray>("archiv");
    QTest::newRow("not a bitmap") << zipErstellen({{"Temp.bmp", "kein Bild"}});
    // A bitmap header announcing 10000 x 10000 pixels: refused before decoding.
    QByteArray riesig = bmpErstellen({2, 2}, Qt::red);
    qToLittleEndian<qint32>(10000, riesig.data() + 18);
    qToLittleEndian<qint32>(10000, riesig.data() + 22);
    QTest::newRow("too many pixels") << zipErstellen({{"Temp.bmp", riesig}});
}

void TstBildarchiv::bild()
{
    QFETCH(QByteArray, archiv);
    QImage bild(3, 3, QImage::Format_RGB32);
    bild.fill(Qt::blue);
    // A refused picture leaves the image as it was.
    QVERIFY(!BildEntpacken(archiv, bild));
    QCOMPARE(bild.size(), QSize(3, 3));
    QCOMPARE(bild.pixelColor(2, 2), QColor(Qt::blue));
}

QTEST_GUILESS_MAIN(TstBildarchiv)
#include "tst_Bildarchiv.moc"
