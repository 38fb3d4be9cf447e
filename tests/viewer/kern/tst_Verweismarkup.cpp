// Tests of the link markup: rendering (tags cut out, formatting kept, link table), the lookup
// of the link at a character position, its agreement with the character under the mouse, and
// the treatment of markup that is not well formed.
#include "TestHilfen.h"
#include "TextFeld.h"
#include "Verweismarkup.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
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
    void mausUndTabelleStimmen();
    void langerText_data();
    void langerText();
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
    zeile("only picture", "<P12345>Abb. 1<PE>", "Abb. 1", "0-6:P12345=Abb. 1");
    zeile("picture first", "<P00001>a<PE><T01.01.01>b<TE>", "ab", "0-1:P00001=a 1-2:T01.01.01");
    zeile("any closing character", "<T01.01.01Xa<TE>", "a", "0-1:T01.01.01");
    zeile("adjacent", "<T01.01.01>a<TE><T02.02.02>b<TE>", "ab", "0-1:T01.01.01 1-2:T02.02.02");
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
    QTest::newRow("second") << 5 << 2;
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

// Behind several paragraphs, the character under the mouse over a link's text is inside the
// link's recorded range, and over the text before it is not.
void TstVerweismarkup::mausUndTabelleStimmen()
{
    QTextDocument anzeige;
    QList<tVerweis> v;
    qint16 n = 0;
    Verweismarkup::darstellen(rtf("Eins\\par Zwei\\par\\par Drei <T01.02.03>Ziel<TE> Ende"),
                              anzeige, v, n);
    QCOMPARE(n, qint16(1));
    anzeige.setTextWidth(500);
    TextFeld feld(&anzeige);
    QCOMPARE(feld.text().mid(v[1].Anfang, v[1].Ende - v[1].Anfang), QString("Ziel"));
    const QTextBlock block = anzeige.lastBlock();
    const QTextLine zeile = block.layout()->lineAt(0);
    const QPointF oben = anzeige.documentLayout()->blockBoundingRect(block).topLeft();
    auto punktVor = [&](int textPos) {
        const int d = feld.zuDokument(textPos) - block.position();
        const qreal x = (zeile.cursorToX(d) + zeile.cursorToX(d + 1)) / 2 - 1;
        return QPointF(oben.x() + x, oben.y() + zeile.y() + zeile.height() / 2);
    };
    for (int i = v[1].Anfang; i < v[1].Ende; ++i)
        QCOMPARE(Verweismarkup::verweisBei(v, n, feld.zeichenAnPunkt(punktVor(i))), 1);
    QCOMPARE(Verweismarkup::verweisBei(v, n, feld.zeichenAnPunkt(punktVor(v[1].Anfang - 3))), 0);
}

// Texts at the 16-bit limits, and texts with very many tags (these once took time quadratic
// in the number of tags: minutes for a text of a few hundred kilobytes).
void TstVerweismarkup::langerText_data()
{
    QTest::addColumn<QString>("rumpf");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anzahl");
    QTest::addColumn<QString>("ersteUndLetzte");
    const QString lang(40000, 'x');
    zeile("link beyond 32767", "<T01.01.01>a<TE>" + lang + "<T02.02.02>b<TE>", "a" + lang + "b", 1,
          "0-1:T01.01.01 0-1:T01.01.01");
    // The link count is 16-bit too: it must not wrap to a negative number.
    zeile("more links than 32767", QString("<T12345678>y<TE>").repeated(33000), QString(33000, 'y'),
          32767, "0-1:T12345678 32766-32767:T12345678");
    zeile("many links with breaks", QString("a<P00001>b<PE>\\par ").repeated(20000),
          QString("ab\r\n").repeated(20000), 8192, "1-2:P00001=b 32765-32766:P00001=b");
    zeile("many tags without closing tag", QString("<T01.01.01>z").repeated(30000),
          QString(30000, 'z'), 0, "");
}

void TstVerweismarkup::langerText()
{
    QFETCH(QString, rumpf);
    QFETCH(QString, text);
    QFETCH(int, anzahl);
    QFETCH(QString, ersteUndLetzte);
    QTextDocument anzeige;
    QList<tVerweis> v;
    qint16 n = -1;
    // Without the length limit: these texts are about the 16-bit positions and counts.
    QVERIFY(!Verweismarkup::darstellen(rtf(rumpf), anzeige, v, n, 0));
    TextFeld feld(&anzeige, false);
    QCOMPARE(feld.text(), text);
    QCOMPARE(int(n), anzahl);
    QCOMPARE(v.size(), anzahl + 1);
    QCOMPARE(anzahl ? tabelle({tVerweis(), v[1], v.last()}) : QString(), ersteUndLetzte);
}

// A text longer than the limit is shown up to it and ends with the note; links behind the
// limit are not recorded, and a text that fits is shown as it is.
void TstVerweismarkup::gekuerzt_data()
{
    QTest::addColumn<QString>("rumpf");
    QTest::addColumn<int>("grenze");
    QTest::addColumn<QString>("text"); // without the note
    QTest::addColumn<QString>("verweise");
    QTest::addColumn<bool>("hinweis");
    const QString x20(20, 'x');
    // "a <T01.01.02>Ziel<TE> b" takes 23 characters as read.
    const QString mitVerweis = "a <T01.01.02>Ziel<TE> b";
    zeile("just under the limit", mitVerweis + "\\par " + x20, 45, "a Ziel b\r\n" + x20,
          "2-6:T01.01.02", false);
    zeile("exactly the limit", mitVerweis + x20, 43, "a Ziel b" + x20, "2-6:T01.01.02", false);
    zeile("one over the limit", mitVerweis + x20 + "y", 43, "a Ziel b" + x20, "2-6:T01.01.02",
          true);
    zeile("link behind the limit", mitVerweis + x20 + "<T01.01.03>Weit<TE>", 49,
          "a Ziel b" + x20 + "{T01.0", "2-6:T01.01.02", true);
    zeile("closing tag behind the limit", mitVerweis + "<T01.01.03>Weit<TE>", 37, "a Ziel bWei",
          "2-6:T01.01.02", true);
    zeile("cut before the first link", x20 + mitVerweis, 21, x20 + "a", "", true);
    zeile("picture link behind the limit", x20 + "<P00001>Bild<PE>", 20, x20, "", true);
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
