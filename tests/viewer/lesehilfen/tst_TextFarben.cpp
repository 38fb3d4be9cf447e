// The colour adaptation of rendered text: the contrast formula, colours moved in their hue until
// they reach 4.5:1 on a dark page, runs with their own background, the exact return.
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
    void kontrast();
    void dokumentHinUndZurueck();
};

void tst_TextFarben::kontrast()
{
    // Black on white, grey 777 just below 4.5:1, pure blue; both ways round.
    for (const auto &[a, b, erwartet] : {std::tuple{QColor(Qt::black), QColor(Qt::white), 21.0},
                                         {QColor(0x77, 0x77, 0x77), QColor(Qt::white), 4.48},
                                         {QColor(Qt::blue), QColor(Qt::white), 8.59}}) {
        QCOMPARE_LE(qAbs(TextFarben::kontrast(a, b) - erwartet), 0.01);
        QCOMPARE_LE(qAbs(TextFarben::kontrast(b, a) - erwartet), 0.01);
    }
}

void tst_TextFarben::dokumentHinUndZurueck()
{
    // Blue and green links, a red word, plain text, a word on light yellow without own colour.
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
                const QString vorne = f.hasProperty(QTextFormat::ForegroundBrush)
                                          ? f.foreground().color().name()
                                          : QStringLiteral("-");
                l << QStringLiteral("%1:%2:%3")
                         .arg(it.fragment().text(), vorne)
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
            if (it.fragment().text() == QStringLiteral("blau")) // a blue link stays blue
                QCOMPARE_LE(qAbs(vorne.toHsl().hslHueF() - QColor(Qt::blue).toHsl().hslHueF()),
                            0.01);
        }
    // A second call finds nothing left to do.
    QCOMPARE(TextFarben::anpassen(doc, seite, text), 0);
    TextFarben::zuruecksetzen(doc);
    QCOMPARE(farben(), vorher);

    // On a white page the author's colours stay, even yellow below 4.5:1.
    QTextDocument weiss;
    QTextCharFormat gelb;
    gelb.setForeground(QColor(0xFF, 0xD0, 0x00));
    QTextCursor(&weiss).insertText(QStringLiteral("Hinweis"), gelb);
    QCOMPARE(TextFarben::anpassen(weiss, Qt::white, Qt::black), 0);
}

QTEST_MAIN(tst_TextFarben)
#include "tst_TextFarben.moc"
