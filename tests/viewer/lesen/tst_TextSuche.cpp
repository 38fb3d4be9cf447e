// Checks the search in a section: case and umlauts (ä = ae, ß = ss) taken as equal in both
// directions, accents dropped, hits only on whole characters of the text, non-overlapping hits
// in text order, and the positions mapped back through expanded characters, also after the
// object searched another text.
#include "TextSuche.h"

#include <QTest>

using Treffer = TextSuche::Treffer;

class tst_TextSuche : public QObject
{
    Q_OBJECT

private slots:
    void finden_data();
    void finden();
};

void tst_TextSuche::finden_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("suche");
    QTest::addColumn<QList<Treffer>>("erwartet");

    QTest::newRow("gross und klein")
        << QStringLiteral("Rechnung, RECHNUNG, rechnung") << QStringLiteral("rEchnung")
        << QList<Treffer>{{0, 8}, {10, 8}, {20, 8}};
    QTest::newRow("Umlaut findet Umschreibung")
        << QStringLiteral("Aenderung der Maengel") << QStringLiteral("änderung")
        << QList<Treffer>{{0, 9}};
    QTest::newRow("Umschreibung findet Umlaut")
        << QStringLiteral("Die Änderung") << QStringLiteral("aenderung") << QList<Treffer>{{4, 8}};
    QTest::newRow("grosses Umlaut")
        << QStringLiteral("ÜBERSICHT und übersicht") << QStringLiteral("Uebersicht")
        << QList<Treffer>{{0, 9}, {14, 9}};
    QTest::newRow("scharfes s") << QStringLiteral("Straße, Strasse") << QStringLiteral("strasse")
                                << QList<Treffer>{{0, 6}, {8, 7}};
    QTest::newRow("Akzent") << QStringLiteral("Café und Cafe") << QStringLiteral("cafe")
                            << QList<Treffer>{{0, 4}, {9, 4}};
    QTest::newRow("keine halben Umlaute")
        << QStringLiteral("Bär") << QStringLiteral("e") << QList<Treffer>{};
    QTest::newRow("a ist kein ae")
        << QStringLiteral("Bär") << QStringLiteral("ba") << QList<Treffer>{};
    QTest::newRow("nicht ueberlappend")
        << QStringLiteral("aaaa") << QStringLiteral("aa") << QList<Treffer>{{0, 2}, {2, 2}};
    QTest::newRow("leer") << QStringLiteral("Text") << QString() << QList<Treffer>{};
    QTest::newRow("nur Leerzeichen")
        << QStringLiteral("a b") << QStringLiteral("  ") << QList<Treffer>{};
    QTest::newRow("ueber Absatzgrenze") << QStringLiteral("Ende\u2029Anfang")
                                        << QStringLiteral("ende anfang") << QList<Treffer>{{0, 11}};
    // Positions mapped back however many expanded characters stand before a hit.
    QTest::newRow("hinter Umlauten")
        << QStringLiteral("Ä ö ü ß Größe, Grösse, GRÖSSE und Groesse.") << QStringLiteral("größe")
        << QList<Treffer>{{8, 5}, {15, 6}, {23, 6}, {34, 7}};
    QTest::newRow("nicht gefunden")
        << QStringLiteral("Rechnung") << QStringLiteral("Mahnung") << QList<Treffer>{};
}

void tst_TextSuche::finden()
{
    QFETCH(QString, text);
    QFETCH(QString, suche);
    QFETCH(QList<Treffer>, erwartet);
    // The object is reused: a text with expanded characters was searched before.
    TextSuche s(QStringLiteral("Größe Äß ÜÖ"));
    QCOMPARE(s.finden(QStringLiteral("größe")).size(), 1);
    s.setText(text);
    const QList<Treffer> ist = s.finden(suche);
    QCOMPARE(ist.size(), erwartet.size());
    for (int i = 0; i < ist.size(); ++i) {
        QCOMPARE(ist.at(i).anfang, erwartet.at(i).anfang);
        QCOMPARE(ist.at(i).laenge, erwartet.at(i).laenge);
    }
}

QTEST_APPLESS_MAIN(tst_TextSuche)
#include "tst_TextSuche.moc"
