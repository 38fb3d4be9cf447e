// Checks the search in a section: case and umlauts (ä = ae, ß = ss) taken as equal in both
// directions, accents dropped, hits only on whole characters of the text, non-overlapping hits
// in text order, and the positions mapped back through expanded characters.
#include "TextSuche.h"

#include <QTest>

using Treffer = TextSuche::Treffer;

class tst_TextSuche : public QObject
{
    Q_OBJECT

private slots:
    void finden_data();
    void finden();
    void positionenHinterUmlauten();
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
    QTest::newRow("nicht gefunden")
        << QStringLiteral("Rechnung") << QStringLiteral("Mahnung") << QList<Treffer>{};
}

void tst_TextSuche::finden()
{
    QFETCH(QString, text);
    QFETCH(QString, suche);
    QFETCH(QList<Treffer>, erwartet);
    const QList<Treffer> ist = TextSuche(text).finden(suche);
    QCOMPARE(ist.size(), erwartet.size());
    for (int i = 0; i < ist.size(); ++i) {
        QCOMPARE(ist.at(i).anfang, erwartet.at(i).anfang);
        QCOMPARE(ist.at(i).laenge, erwartet.at(i).laenge);
    }
}

void tst_TextSuche::positionenHinterUmlauten()
{
    // Each hit, cut out of the text, is the word found, however many expanded characters
    // stand before it.
    const QString text = QStringLiteral("Ä ö ü ß Größe, Grösse, GRÖSSE und Groesse.");
    TextSuche s(text);
    const QList<Treffer> t = s.finden(QStringLiteral("größe"));
    QCOMPARE(t.size(), 4);
    QStringList woerter;
    for (const Treffer &h : t)
        woerter << text.mid(h.anfang, h.laenge);
    QCOMPARE(woerter, (QStringList{QStringLiteral("Größe"), QStringLiteral("Grösse"),
                                   QStringLiteral("GRÖSSE"), QStringLiteral("Groesse")}));
    // The object can be reused for another text.
    s.setText(QStringLiteral("kein Treffer"));
    QVERIFY(s.finden(QStringLiteral("größe")).isEmpty());
}

QTEST_APPLESS_MAIN(tst_TextSuche)
#include "tst_TextSuche.moc"
