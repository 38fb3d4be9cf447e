// Tests of the print preparation: parts cut behind the lines of picture links, pictures
// collected with their part and title, graphics off, and missing or damaged pictures.
#include "DruckTextAufbereiten.h"
#include "TestHilfen.h"
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
    void schriftUndFormat();
    void einzug_data();
    void einzug();
    void ueberAufrufe();
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
    zeile("picture in last line", "a\\par b <P00002>x<PE>", true, QStringList{"a\nb x\n"},
          "Bild 00002@1:6x2");
    zeile("two pictures", "<P00001>eins<PE>\\par zwei <P00002>z<PE>\\par drei", true,
          QStringList{"eins\n", "zwei z\n", "drei\n"}, "Bild 00001@1:4x4 Bild 00002@2:6x2");
    zeile("graphics off: one part", "<P00001>eins<PE>\\par zwei", false,
          QStringList{"eins\nzwei\n"}, "");
    // A missing or damaged picture is left out; the text behind it is kept.
    zeile("missing picture", "a <P00005>fehlt<PE>\\par b <P00001>da<PE>\\par c", true,
          QStringList{"a fehlt\nb da\n", "c\n"}, "Bild 00001@1:4x4");
    zeile("damaged picture", "a <P00009>kaputt<PE>\\par b", true, QStringList{"a kaputt\nb\n"}, "");
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

void TstDruckTextAufbereiten::schriftUndFormat()
{
    Ergebnis e;
    e.aufbereiten("{\\b fett} <P00001>x<PE>\\par {\\i kursiv}", true);
    QCOMPARE(e.teilAnzahl, qint16(2));
    QTextDocument d1, d2;
    QTextCursor(&d1).insertFragment(e.teile[1]);
    QTextCursor(&d2).insertFragment(e.teile[2]);
    QTextCursor c1(&d1), c2(&d2);
    c1.setPosition(1);
    c2.setPosition(1);
    QCOMPARE(c1.charFormat().fontWeight(), int(QFont::Bold));
    QCOMPARE(c1.charFormat().fontFamilies().toStringList(), QStringList{"Arial"});
    QVERIFY(c2.charFormat().fontItalic());
    QCOMPARE(c2.charFormat().fontFamilies().toStringList(), QStringList{"Arial"});
}

// Paragraph indents and tab stops (list items, notes) reach every part, also where a picture
// link cuts a list, so that the print-out indents them as the help window does.
void TstDruckTextAufbereiten::einzug_data()
{
    QTest::addColumn<QString>("rumpf");
    QTest::addColumn<bool>("mitGrafik");

    const QString liste = "\\pard\\fi-360\\li720\\tx720 \\bullet\\tab eins%1\\par "
                          "\\bullet\\tab zwei%2\\par \\pard\\li720 Hinweis\\par ";
    zeile("ohne Bild", liste.arg("", ""), true);
    zeile("Bild im ersten Punkt", liste.arg(" <P00001>Abb<PE>", ""), true);
    zeile("Bild im zweiten Punkt", liste.arg("", " <P00002>z<PE>"), true);
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
            if (!b.text().isEmpty())
                format.insert(b.text().section(QLatin1Char(' '), 0, 0), b.blockFormat());
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

// The arrays are added to across calls; the part numbers of pictures count on.
void TstDruckTextAufbereiten::ueberAufrufe()
{
    Ergebnis e;
    e.aufbereiten("erste", true);
    e.aufbereiten("<P00002>z<PE>\\par zweite", true);
    QCOMPARE(e.texte(), QStringList({"erste\n", "z\n", "zweite\n"}));
    QCOMPARE(e.bilder(), QString("Bild 00002@2:6x2"));
}

QTEST_GUILESS_MAIN(TstDruckTextAufbereiten)
#include "tst_DruckTextAufbereiten.moc"
