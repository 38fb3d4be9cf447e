// The print preparation: parts cut behind the lines of picture links, pictures collected with
// their part and title, graphics off, missing or damaged pictures, and the undecoded collection.
#include "BildEntpacken.h"
#include "DruckTextAufbereiten.h"
#include "TestHilfen.h"
#include "Verweismarkup.h"
#include "ZipHilfe.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

namespace {

struct Ergebnis
{
    qint16 teilAnzahl = 0;
    QList<QTextDocumentFragment> teile;
    qint16 grafikAnzahl = 0;
    QList<QImage> grafiken;
    QList<qint16> grafikTeil;
    QList<QString> grafikTitel;
    QStringList gefragt;

    void aufbereiten(const QString &rumpf, bool mitGrafik)
    {
        const BildQuelle quelle = [this](const QString &nr, QByteArray &bild, QString &bez) {
            gefragt << nr;
            if (nr == "00001")
                bild = bildArchiv({4, 4}, Qt::red);
            else if (nr == "00002")
                bild = bildArchiv({6, 2}, Qt::blue);
            else if (nr == "00009")
                bild = "kaputt";
            else
                return false;
            bez = "Bild " + nr;
            return true;
        };
        // Markup braces are written "<" and ">" in the cases: in RTF they are escaped.
        QString r = rumpf;
        r.replace('<', "\\{").replace('>', "\\}");
        DruckTextAufbereiten("{\\rtf1{\\fonttbl{\\f0 Courier;}}\\f0 " + r + "}", teilAnzahl, teile,
                             grafikAnzahl, grafiken, grafikTeil, grafikTitel, mitGrafik, "Arial",
                             quelle);
    }
    QStringList texte() const
    {
        QStringList s;
        for (int i = 1; i <= teilAnzahl; ++i)
            s << teile[i].toPlainText();
        return s;
    }
    QString bilder() const
    {
        QStringList s;
        for (int i = 1; i <= grafikAnzahl; ++i)
            s << QStringLiteral("%1@%2:%3x%4")
                     .arg(grafikTitel[i])
                     .arg(grafikTeil[i])
                     .arg(grafiken[i].width())
                     .arg(grafiken[i].height());
        return s.join(' ');
    }
};

} // namespace

class TstDruckTextAufbereiten : public QObject
{
    Q_OBJECT
private slots:
    void teile_data();
    void teile();
    void einzug_data();
    void einzug();
    void unentpackt();
};

void TstDruckTextAufbereiten::teile_data()
{
    QTest::addColumn<QString>("rumpf");
    QTest::addColumn<bool>("mitGrafik");
    QTest::addColumn<QStringList>("texte");
    QTest::addColumn<QString>("bilder");
    QTest::newRow("no links") << "a\\par b" << true << QStringList{"a\nb\n"} << "";
    zeile("text link tags go", "a <T01.02.03>Ziel<TE> b", true, QStringList{"a Ziel b\n"}, "");
    zeile("cut behind picture line", "Vorn <P00001>Abb<PE> mehr\\par Rest", true,
          QStringList{"Vorn Abb mehr\n", "Rest\n"}, "Bild 00001@1:4x4");
    zeile("two pictures", "<P00001>eins<PE>\\par zwei <P00002>z<PE>\\par drei", true,
          QStringList{"eins\n", "zwei z\n", "drei\n"}, "Bild 00001@1:4x4 Bild 00002@2:6x2");
    zeile("graphics off: one part", "<P00001>eins<PE>\\par zwei", false,
          QStringList{"eins\nzwei\n"}, "");
    // A missing or undecodable picture is left out; the text behind it is kept.
    zeile("missing picture", "a <P00005>fehlt<PE>\\par b <P00001>da<PE>\\par c", true,
          QStringList{"a fehlt\nb da\n", "c\n"}, "Bild 00001@1:4x4");
    zeile("damaged picture", "a <P00009>kaputt<PE>\\par b", true,
          QStringList{"a kaputt\n", "b\n"}, "");
    zeile("cut like the window, with its note", QString(Verweismarkup::MaxZeichen + 100, 'x'),
          false,
          QStringList{QString(Verweismarkup::MaxZeichen, 'x') + "\n" +
                      Verweismarkup::gekuerztHinweis() + "\n"},
          "");
    // Pictures of a table's cells follow the whole table.
    const QString reihe = "\\trowd\\cellx900\\cellx1800 \\intbl %1\\cell %2\\cell\\row ";
    zeile("pictures in a table",
          "vor\\par " + reihe.arg("a", "<P00001>b<PE>") + reihe.arg("<P00002>c<PE>", "d") +
              "\\pard nach",
          true, QStringList{"vor\n\na\nb\nc\nd\n", "nach\n"}, "Bild 00001@1:4x4 Bild 00002@1:6x2");
    QTest::newRow("picture tag cut short") << "a <P000" << true << QStringList{"a {P000\n"} << "";
    zeile("picture without closing", "a <P00001>b\\par c", true, QStringList{"a b\nc\n"}, "");
}

void TstDruckTextAufbereiten::teile()
{
    QFETCH(QString, rumpf);
    QFETCH(bool, mitGrafik);
    QFETCH(QStringList, texte);
    QFETCH(QString, bilder);
    Ergebnis e;
    e.aufbereiten(rumpf, mitGrafik);
    QCOMPARE(e.texte(), texte);
    QCOMPARE(e.bilder(), bilder);
    QCOMPARE(e.teile.size(), e.teilAnzahl + 1);
    QCOMPARE(e.grafiken.size(), e.grafikAnzahl + 1);
    if (!mitGrafik)
        QVERIFY(e.gefragt.isEmpty());
}

// Paragraph indents, tab stops and the print font reach every part, also where a picture link
// cuts a list.
void TstDruckTextAufbereiten::einzug_data()
{
    QTest::addColumn<QString>("rumpf");
    QTest::addColumn<bool>("mitGrafik");
    const QString liste = "\\pard\\fi-360\\li720\\tx720 \\bullet\\tab eins%1\\par "
                          "\\bullet\\tab zwei%2\\par \\pard\\li720 Hinweis\\par ";
    zeile("ohne Bild", liste.arg("", ""), true);
    zeile("Bild im ersten Punkt", liste.arg(" <P00001>Abb<PE>", ""), true);
    zeile("Grafiken aus", liste.arg(" <P00001>Abb<PE>", ""), false);
}

void TstDruckTextAufbereiten::einzug()
{
    QFETCH(QString, rumpf);
    QFETCH(bool, mitGrafik);
    Ergebnis e;
    e.aufbereiten(rumpf, mitGrafik);
    QHash<QString, QTextBlockFormat> format;
    for (int i = 1; i <= e.teilAnzahl; ++i) {
        QTextDocument d;
        QTextCursor(&d).insertFragment(e.teile[i]);
        for (QTextBlock b = d.begin(); b.isValid(); b = b.next())
            if (!b.text().isEmpty()) {
                format.insert(b.text().section(QLatin1Char(' '), 0, 0), b.blockFormat());
                QCOMPARE(b.begin().fragment().charFormat().fontFamilies().toStringList(),
                         QStringList{"Arial"});
            }
    }
    for (const QString &punkt : {QStringLiteral("\u2022\teins"), QStringLiteral("\u2022\tzwei")}) {
        QVERIFY2(format.contains(punkt), qPrintable(format.keys().join('|')));
        QCOMPARE(format[punkt].leftMargin(), 48.0);
        QCOMPARE(format[punkt].textIndent(), -24.0);
        QVERIFY(!format[punkt].tabPositions().isEmpty());
    }
    QCOMPARE(format.value("Hinweis").leftMargin(), 48.0);
    QCOMPARE(format.value("Hinweis").textIndent(), 0.0);
}

// The undecoded collection: each picture read once, its size from the header, its archive kept;
// a cancel request stops before the next picture and keeps what was prepared.
void TstDruckTextAufbereiten::unentpackt()
{
    QStringList gefragt;
    const BildQuelle quelle = [&](const QString &nr, QByteArray &bild, QString &bez) {
        gefragt << nr;
        bild = nr == "00009" ? QByteArray("kaputt")
                             : bildArchiv(nr == "00001" ? QSize(4, 4) : QSize(6, 2), Qt::red);
        bez = "Bild " + nr;
        return true;
    };
    const QString rtf = "{\\rtf1 a \\{P00001\\}x\\{PE\\}\\par b \\{P00002\\}y\\{PE\\}"
                        "\\par c \\{P00001\\}z\\{PE\\}\\par d \\{P00009\\}k\\{PE\\}"
                        "\\par e \\{P00009\\}k\\{PE\\}\\par f}";
    qint16 teile = 0, anzahl = 0;
    QList<QTextDocumentFragment> t;
    QList<DruckBild> b;
    QList<qint16> gt;
    QList<QString> gn;
    QHash<QString, DruckBild> bekannt;
    QVERIFY(DruckTextZerlegen(rtf, teile, t, anzahl, b, gt, gn, true, "Arial", quelle, &bekannt));
    QCOMPARE(gefragt, (QStringList{"00001", "00002", "00009"}));
    QCOMPARE(anzahl, qint16(5));
    QCOMPARE(b[1].Pixel, QSize(4, 4));
    QCOMPARE(b[2].Pixel, QSize(6, 2));
    QCOMPARE(b[3].Nummer, QString("00001"));
    QCOMPARE(gn[3], QString("Bild 00001"));
    QImage bild;
    QVERIFY(BildEntpacken(b[3].Archiv, bild));
    QCOMPARE(bild.size(), QSize(4, 4));
    // The picture that cannot be decoded has no size: the print-out shows a placeholder.
    QCOMPARE(b[4].Pixel, QSize());
    QCOMPARE(gn[4], QString("Bild 00009"));
    QCOMPARE(teile, qint16(6));
    // A second section with the same pictures reads none again.
    QVERIFY(DruckTextZerlegen(rtf, teile, t, anzahl, b, gt, gn, true, "Arial", quelle, &bekannt));
    QCOMPARE(gefragt.size(), 3);
    QCOMPARE(anzahl, qint16(10));

    // Cancelled when asked before the second picture.
    int fragen = 0;
    qint16 teile2 = 0, anzahl2 = 0;
    QList<QTextDocumentFragment> t2;
    QList<DruckBild> b2;
    QVERIFY(!DruckTextZerlegen(rtf, teile2, t2, anzahl2, b2, gt, gn, true, "Arial", quelle, nullptr,
                               [&] { return ++fragen == 2; }));
    QCOMPARE(fragen, 2);
    QCOMPARE(anzahl2, qint16(1));
    QCOMPARE(teile2, qint16(1));
}

QTEST_GUILESS_MAIN(TstDruckTextAufbereiten)
#include "tst_DruckTextAufbereiten.moc"