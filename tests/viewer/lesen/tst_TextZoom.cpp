// Checks the zoom of the help text: the steps the keys move through, and the scaling of a
// rendered section. A zoomed document must lay out bigger, keep every character where the hit
// test finds it (the point in the middle of a character's box gives that character back), keep
// the hanging indent of a list item lined up with its tab stop, and come back to its exact
// formats when zoomed back.
#include "TestHilfen.h"
#include "TextFeld.h"
#include "TextZoom.h"

#include <QAbstractTextDocumentLayout>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

class tst_TextZoom : public QObject
{
    Q_OBJECT

private slots:
    void stufen_data();
    void stufen();
    void groesserUndTrefferstimmen_data();
    void groesserUndTrefferstimmen();
    void zurueckGibtFormate();
};

namespace {

// A list item with a hanging indent and a tab at the indent, then a paragraph in a larger
// font; wide enough to wrap.
const char *Rtf =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 DejaVu Sans;}}"
    "\\pard\\li720\\fi-360\\tx720\\f0\\fs20 \\bullet\\tab Ein Listenpunkt, der lang "
    "genug ist, um in eine zweite Zeile umzubrechen, und dort weitergeht, auch bei der "
    "kleinsten Stufe des Zooms noch mit einer zweiten Zeile.\\par"
    "\\pard\\sb120\\fs28 Gr\\'f6\\'dfere Schrift und ein Verweis hier.\\par}";

QString formText(const QTextDocument &doc)
{
    QStringList teile;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat f = b.blockFormat();
        QStringList tabs;
        for (const QTextOption::Tab &t : f.tabPositions())
            tabs << QString::number(t.position, 'f', 6);
        teile << QStringLiteral("block %1 %2 %3 %4 [%5]")
                     .arg(f.leftMargin(), 0, 'f', 6)
                     .arg(f.textIndent(), 0, 'f', 6)
                     .arg(f.topMargin(), 0, 'f', 6)
                     .arg(f.bottomMargin(), 0, 'f', 6)
                     .arg(tabs.join(u' '));
        for (auto it = b.begin(); !it.atEnd(); ++it)
            teile << QStringLiteral("lauf %1 %2")
                         .arg(it.fragment().length())
                         .arg(it.fragment().charFormat().fontPointSize(), 0, 'f', 6);
    }
    return teile.join(u'\n');
}

} // namespace

void tst_TextZoom::stufen_data()
{
    QTest::addColumn<int>("von");
    QTest::addColumn<int>("groesser");
    QTest::addColumn<int>("kleiner");
    QTest::addColumn<int>("gueltig"); // the nearest step, 100 for nothing sensible
    zeile("normal", 100, 110, 90, 100);
    zeile("kleinste", 50, 67, 50, 50);
    zeile("groesste", 300, 300, 250, 300);
    zeile("Stufe", 175, 200, 150, 175);
    zeile("zwischen", 130, 150, 125, 125);
    zeile("naechste darueber", 190, 200, 175, 200);
    zeile("unter der kleinsten", 20, 50, 50, 50);
    zeile("ueber der groessten", 900, 300, 300, 300);
    zeile("null", 0, 50, 50, 100);
    zeile("negativ", -5, 50, 50, 100);
}

void tst_TextZoom::stufen()
{
    QFETCH(int, von);
    QFETCH(int, groesser);
    QFETCH(int, kleiner);
    QFETCH(int, gueltig);
    QCOMPARE(TextZoom::groesser(von), groesser);
    QCOMPARE(TextZoom::kleiner(von), kleiner);
    QCOMPARE(TextZoom::gueltig(von), gueltig);
    // From the smallest to the largest step and back, every step once.
    QList<int> hin{TextZoom::Kleinste};
    while (hin.last() != TextZoom::Groesste)
        hin << TextZoom::groesser(hin.last());
    QCOMPARE(hin, TextZoom::stufen());
}

void tst_TextZoom::groesserUndTrefferstimmen_data()
{
    QTest::addColumn<int>("zoom");
    for (const int z : TextZoom::stufen())
        QTest::addRow("%d %%", z) << z;
}

void tst_TextZoom::groesserUndTrefferstimmen()
{
    QFETCH(int, zoom);
    QTextDocument doc;
    TextFeld feld(&doc);
    QVERIFY(feld.setzeRtf(QByteArray(Rtf)));
    doc.setTextWidth(400);
    const QString text = feld.text();
    const int verweis = int(text.indexOf(QStringLiteral("Verweis")));
    const int nachTab = int(text.indexOf(QStringLiteral("Ein")));
    QVERIFY(verweis > 0 && nachTab > 0);
    const QRectF vorher = feld.zeichenRechteck(verweis);
    const double hoeheVorher = doc.size().height();

    TextZoom::skalieren(doc, TextZoom::Normal, zoom);
    const double f = zoom / 100.0;
    const QRectF nachher = feld.zeichenRechteck(verweis);
    QVERIFY(!nachher.isNull());
    // Glyph widths and line heights grow with the font; font metrics are rounded per size.
    QVERIFY2(qAbs(nachher.width() - vorher.width() * f) <= 1.5,
             qPrintable(QStringLiteral("%1 -> %2").arg(vorher.width()).arg(nachher.width())));
    QVERIFY2(qAbs(nachher.height() - vorher.height() * f) <= 1.0 + 0.1 * vorher.height() * f,
             qPrintable(QStringLiteral("%1 -> %2").arg(vorher.height()).arg(nachher.height())));
    if (zoom > TextZoom::Normal)
        QVERIFY(doc.size().height() > hoeheVorher);
    else if (zoom < TextZoom::Normal)
        QVERIFY(doc.size().height() < hoeheVorher);

    // The hit test finds each character of a word where its box is drawn.
    for (int p = verweis; p < verweis + 7; ++p) {
        const QRectF r = feld.zeichenRechteck(p);
        QCOMPARE(feld.zeichenAnPunkt(r.center()), p);
    }
    // The text after the tab starts at the hanging indent, as do the wrapped lines.
    const QTextBlock liste = doc.begin();
    QVERIFY(liste.layout()->lineCount() >= 2);
    const double zweiteZeile = liste.layout()->lineAt(1).x();
    QCOMPARE_LE(qAbs(feld.zeichenRechteck(nachTab).left() -
                     doc.documentLayout()->blockBoundingRect(liste).left() - zweiteZeile),
                1.0);
    QCOMPARE_LE(qAbs(zweiteZeile - 48 * f), 0.02); // 720 twips = 48 px at 100 %
}

void tst_TextZoom::zurueckGibtFormate()
{
    QTextDocument doc;
    TextFeld feld(&doc);
    QVERIFY(feld.setzeRtf(QByteArray(Rtf)));
    const QString vorher = formText(doc);
    const QString text = feld.text();
    int zoom = TextZoom::Normal;
    for (const int z : {300, 67, 125, 50, 100}) {
        TextZoom::skalieren(doc, zoom, z);
        zoom = z;
        QCOMPARE(feld.text(), text);
    }
    QCOMPARE(formText(doc), vorher);
    TextZoom::skalieren(doc, 100, 200);
    QVERIFY(formText(doc) != vorher);
}

QTEST_MAIN(tst_TextZoom)
#include "tst_TextZoom.moc"
