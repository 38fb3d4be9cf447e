// The link markup: rendering (tags cut out, formatting kept, link table) also of markup that is
// not well formed or cut at the length limit, and the lookup of a link by position.
#include "TestHilfen.h"
#include "TextFeld.h"
#include "Verweismarkup.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

namespace {

QString tabelle(const QList<tVerweis> &v)
{
    QStringList s;
    for (int i = 1; i < v.size(); ++i)
        s << QStringLiteral("%1-%2:%3%4%5")
                 .arg(v[i].Anfang)
                 .arg(v[i].Ende)
                 .arg(v[i].TextNummer.isEmpty() ? "P" + v[i].BildNummer : "T" + v[i].TextNummer,
                      v[i].BildTitel.isEmpty() ? QString() : "=" + v[i].BildTitel, QString());
    return s.join(' ');
}

// Markup braces are written "<" and ">" in the cases: in RTF they are escaped braces.
QString rtf(QString rumpf)
{
    rumpf.replace('<', "\\{").replace('>', "\\}");
    return "{\\rtf1\\ansi " + rumpf + "}";
}

} // namespace

class TstVerweismarkup : public QObject
{
    Q_OBJECT
private slots:
    void darstellen_data();
    void darstellen();
    void formatBleibt();
    void nachschlagen_data();
    void nachschlagen();
    void gekuerzt_data();
    void gekuerzt();
};

void TstVerweismarkup::darstellen_data()
{
    QTest::addColumn<QString>("rumpf");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("verweise");
    zeile("text and picture",
          "Erste Zeile\\par Siehe <T01.02.03>hier<TE> und <P00007>Bild<PE>.\\par",
          "Erste Zeile\r\nSiehe hier und Bild.\r\n", "19-23:T01.02.03 28-32:P00007=Bild");
    zeile("picture first", "<P00001>a<PE><T01.01.01>b<TE>", "ab", "0-1:P00001=a 1-2:T01.01.01");
    zeile("any closing character", "<T01.01.01Xa<TE>", "a", "0-1:T01.01.01");
    zeile("link across paragraphs", "x<T01.01.01>a\\par b<TE>", "xa\r\nb", "1-5:T01.01.01");
    zeile("no markup", "nur <Text>", "nur {Text}", "");
    // Not well formed:
    zeile("opening cut by end", "a<T01.0", "a{T01.0", "");
    zeile("opening cut by paragraph", "a<T01.\\par 01.01>b<TE>", "a{T01.\r\n01.01}b{TE}", "");
    zeile("no closing tag", "a<T01.01.01>bc", "abc", "");
    zeile("no closing, later link", "<P00001>x <T01.01.01>y<TE>", "x y", "2-3:T01.01.01");
    zeile("stray closing", "a<TE>b<PE>", "a{TE}b{PE}", "");
    zeile("nested", "<T01.01.01>a<P00002>b<PE>c<TE>d", "abcd", "0-3:T01.01.01 1-2:P00002=b");
    zeile("tag joined by removal", "<<T01.01.01>T01.01.02>a<TE>b<TE>", "ab",
          "0-1:T01.01.01 0-2:T01.01.02");
}

void TstVerweismarkup::darstellen()
{
    QFETCH(QString, rumpf);
    QFETCH(QString, text);
    QFETCH(QString, verweise);
    QTextDocument anzeige;
    QList<tVerweis> mtVerweise;
    qint16 anzahl = -1;
    Verweismarkup::darstellen(rtf(rumpf), anzeige, mtVerweise, anzahl);
    TextFeld feld(&anzeige);
    QCOMPARE(feld.text(), text);
    QCOMPARE(anzahl, qint16(mtVerweise.size() - 1));
    QCOMPARE(tabelle(mtVerweise), verweise);
    for (int i = 1; i < mtVerweise.size(); ++i) {
        QVERIFY(mtVerweise[i].Anfang <= mtVerweise[i].Ende);
        QVERIFY(mtVerweise[i].Ende <= feld.laenge());
    }
}

void TstVerweismarkup::formatBleibt()
{
    QTextDocument anzeige;
    QList<tVerweis> v;
    qint16 n = 0;
    Verweismarkup::darstellen(rtf("{\\b fett}{\\cf0\\ul <T01.02.03>Link<TE>}{\\i kursiv}"), anzeige,
                              v, n);
    QCOMPARE(anzeige.toPlainText(), QString("fettLinkkursiv"));
    QTextCursor c(&anzeige);
    c.setPosition(1);
    QCOMPARE(c.charFormat().fontWeight(), int(QFont::Bold));
    c.setPosition(5);
    QVERIFY(c.charFormat().fontUnderline());
    c.setPosition(9);
    QVERIFY(c.charFormat().fontItalic());
    QVERIFY(!c.charFormat().fontUnderline());
}

void TstVerweismarkup::nachschlagen_data()
{
    QTest::addColumn<int>("k");
    QTest::addColumn<int>("erwartet");
    // Links: 1 = 0..4, 2 = 4..6 (touching), 3 = 10..12
    QTest::newRow("negative") << -3 << 0;
    QTest::newRow("zero even where a link starts") << 0 << 0;
    QTest::newRow("inside first") << 2 << 1;
    QTest::newRow("end counts, first wins") << 4 << 1;
    QTest::newRow("end of second") << 6 << 2;
    QTest::newRow("between") << 7 << 0;
    QTest::newRow("start of third") << 10 << 3;
    QTest::newRow("behind all") << 13 << 0;
}

void TstVerweismarkup::nachschlagen()
{
    QFETCH(int, k);
    QFETCH(int, erwartet);
    QList<tVerweis> v(4);
    v[1].Anfang = 0, v[1].Ende = 4;
    v[2].Anfang = 4, v[2].Ende = 6;
    v[3].Anfang = 10, v[3].Ende = 12;
    QCOMPARE(Verweismarkup::verweisBei(v, 3, k), erwartet);
    // Only the counted links take part.
    QCOMPARE(Verweismarkup::verweisBei(v, 1, k), erwartet == 1 ? 1 : 0);
}

// A text longer than the limit is shown up to it with the note; links behind it are not recorded.
void TstVerweismarkup::gekuerzt_data()
{
    QTest::addColumn<QString>("rumpf");
    QTest::addColumn<int>("grenze");
    QTest::addColumn<QString>("text"); // without the note
    QTest::addColumn<QString>("verweise");
    QTest::addColumn<bool>("hinweis");
    const QString x20(20, 'x');
    const QString mitVerweis = "a <T01.01.02>Ziel<TE> b"; // 23 characters as read
    zeile("exactly the limit", mitVerweis + x20, 43, "a Ziel b" + x20, "2-6:T01.01.02", false);
    zeile("one over the limit", mitVerweis + x20 + "y", 43, "a Ziel b" + x20, "2-6:T01.01.02",
          true);
    zeile("link behind the limit", mitVerweis + x20 + "<T01.01.03>Weit<TE>", 49,
          "a Ziel b" + x20 + "{T01.0", "2-6:T01.01.02", true);
    zeile("closing tag behind the limit", mitVerweis + "<T01.01.03>Weit<TE>", 37, "a Ziel bWei",
          "2-6:T01.01.02", true);
    zeile("cut before the first link", x20 + mitVerweis, 21, x20 + "a", "", true);
}

void TstVerweismarkup::gekuerzt()
{
    QFETCH(QString, rumpf);
    QFETCH(int, grenze);
    QFETCH(QString, text);
    QFETCH(QString, verweise);
    QFETCH(bool, hinweis);
    QTextDocument anzeige;
    QList<tVerweis> v;
    qint16 n = -1;
    QCOMPARE(Verweismarkup::darstellen(rtf(rumpf), anzeige, v, n, grenze), hinweis);
    TextFeld feld(&anzeige, false);
    const QString ende = "\r\n" + Verweismarkup::gekuerztHinweis();
    QCOMPARE(feld.text(), hinweis ? text + ende : text);
    QCOMPARE(tabelle(v), verweise);
    QCOMPARE(int(n), int(v.size() - 1));
    for (int i = 1; i < v.size(); ++i)
        QVERIFY(v[i].Ende <= text.size());
    if (hinweis) {
        // The note is a paragraph of its own, in italics.
        QTextCursor c(anzeige.lastBlock());
        c.movePosition(QTextCursor::NextCharacter);
        QVERIFY(c.charFormat().fontItalic());
    }
}

QTEST_MAIN(TstVerweismarkup)
#include "tst_Verweismarkup.moc"
