// Checks the colour adaptation of rendered text: the contrast formula, colours moved in their
// hue until they reach 4.5:1 on a dark page and kept as stored on a white one, runs with their
// own background, and the exact return to the stored colours.
#include "TextFarben.h"
#include "TextFeld.h"

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

class tst_TextFarben : public QObject
{
    Q_OBJECT

private slots:
    void kontrast_data();
    void kontrast();
    void lesbar_data();
    void lesbar();
    void dokumentHinUndZurueck();
};

void tst_TextFarben::kontrast_data()
{
    QTest::addColumn<QColor>("a");
    QTest::addColumn<QColor>("b");
    QTest::addColumn<double>("erwartet");
    QTest::newRow("schwarz weiss") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
    QTest::newRow("gleich") << QColor(0x33, 0x66, 0x99) << QColor(0x33, 0x66, 0x99) << 1.0;
    QTest::newRow("grau 777 auf weiss") << QColor(0x77, 0x77, 0x77) << QColor(Qt::white) << 4.48;
    QTest::newRow("blau auf weiss") << QColor(Qt::blue) << QColor(Qt::white) << 8.59;
}

void tst_TextFarben::kontrast()
{
    QFETCH(QColor, a);
    QFETCH(QColor, b);
    QFETCH(double, erwartet);
    QCOMPARE_LE(qAbs(TextFarben::kontrast(a, b) - erwartet), 0.01);
    QCOMPARE_LE(qAbs(TextFarben::kontrast(b, a) - erwartet), 0.01);
}

void tst_TextFarben::lesbar_data()
{
    QTest::addColumn<QColor>("farbe");
    QTest::addColumn<QColor>("grund");
    QTest::addColumn<bool>("bleibt");
    const QColor dunkel(0x1E, 0x1E, 0x1E);
    QTest::newRow("blau auf dunkel") << QColor(Qt::blue) << dunkel << false;
    QTest::newRow("gruen auf dunkel") << QColor(0x00, 0x80, 0x00) << dunkel << false;
    QTest::newRow("rot auf dunkel") << QColor(0xC0, 0x00, 0x00) << dunkel << false;
    // On the white page the stored colours are the author's, even below 4.5:1.
    QTest::newRow("gelb auf weiss") << QColor(0xFF, 0xD0, 0x00) << QColor(Qt::white) << true;
    QTest::newRow("rot auf weiss") << QColor(Qt::red) << QColor(Qt::white) << true;
    QTest::newRow("blau auf weiss") << QColor(Qt::blue) << QColor(Qt::white) << true;
    QTest::newRow("weiss auf schwarz") << QColor(Qt::white) << QColor(Qt::black) << true;
}

void tst_TextFarben::lesbar()
{
    // A run in farbe on a page in grund, adapted as the help window adapts its section.
    QFETCH(QColor, farbe);
    QFETCH(QColor, grund);
    QFETCH(bool, bleibt);
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat f;
    f.setForeground(farbe);
    c.insertText(QStringLiteral("Hinweis"), f);
    const QColor text =
        TextFarben::kontrast(Qt::white, grund) > TextFarben::kontrast(Qt::black, grund)
            ? QColor(Qt::white)
            : QColor(Qt::black);
    TextFarben::anpassen(doc, grund, text);
    const QColor neu = doc.begin().begin().fragment().charFormat().foreground().color();
    if (bleibt) {
        QCOMPARE(neu, farbe);
        return;
    }
    QVERIFY2(TextFarben::kontrast(neu, grund) >= TextFarben::MindestKontrast,
             qPrintable(neu.name()));
    // The hue stays: a blue link stays blue.
    QCOMPARE_LE(qAbs(neu.toHsl().hslHueF() - farbe.toHsl().hslHueF()), 0.01);
}

void tst_TextFarben::dokumentHinUndZurueck()
{
    // A blue and a green link, a red word, plain text, and a word on a light yellow ground
    // without a colour of its own.
    const char *rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}"
                      "{\\colortbl;\\red0\\green0\\blue255;\\red0\\green128\\blue0;"
                      "\\red192\\green0\\blue0;\\red255\\green255\\blue192;}"
                      "\\f0\\fs20 Text \\cf1 blau\\cf0  und \\cf2 gruen\\cf0 , \\cf3 rot\\cf0  "
                      "und \\highlight4 markiert\\highlight0 .\\par}";
    QTextDocument doc;
    TextFeld feld(&doc, false);
    QVERIFY(feld.setzeRtf(QByteArray(rtf)));
    const auto farben = [&doc] {
        QStringList l;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                l << QStringLiteral("%1:%2:%3")
                         .arg(it.fragment().text())
                         .arg(f.hasProperty(QTextFormat::ForegroundBrush)
                                  ? f.foreground().color().name()
                                  : QStringLiteral("-"))
                         .arg(f.properties().size());
            }
        return l;
    };
    const QStringList vorher = farben();
    const QColor seite(0x1E, 0x1E, 0x1E);
    const QColor text(0xE8, 0xE8, 0xE8);
    QCOMPARE(TextFarben::anpassen(doc, seite, text), 4); // blue, green, red, the marked word
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QColor vorne =
                f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : text;
            const QColor hinten =
                f.hasProperty(QTextFormat::BackgroundBrush) ? f.background().color() : seite;
            QVERIFY2(TextFarben::kontrast(vorne, hinten) >= TextFarben::MindestKontrast,
                     qPrintable(it.fragment().text()));
        }
    // A second call finds nothing left to do.
    QCOMPARE(TextFarben::anpassen(doc, seite, text), 0);
    TextFarben::zuruecksetzen(doc);
    QCOMPARE(farben(), vorher);
}

QTEST_MAIN(tst_TextFarben)
#include "tst_TextFarben.moc"
