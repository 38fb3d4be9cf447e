// The zoom of the help text: the steps between and beyond the keys' steps, and a rendered
// section that comes back to its exact formats after any number of zooms.
#include "TestHilfen.h"
#include "TextFeld.h"
#include "TextZoom.h"

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

class tst_TextZoom : public QObject
{
    Q_OBJECT

private slots:
    void stufen_data();
    void stufen();
    void zurueckGibtFormate();
};

namespace {

// A list item with a hanging indent and a tab at the indent, then a paragraph in a larger font.
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
    zeile("groesste", 300, 300, 250, 300);
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
