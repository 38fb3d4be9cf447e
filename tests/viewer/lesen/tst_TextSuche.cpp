// Checks the search in a section: case, umlauts (ä = ae, ß = ss) and accents taken as equal, hits
// only on whole characters, non-overlapping, and positions mapped back through expanded ones.
#include "TestHilfen.h"
#include "TextSuche.h"

#include <QTest>

using Treffer = QList<TextSuche::Treffer>;

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
    QTest::addColumn<Treffer>("erwartet");

    zeile("Umlaut findet Umschreibung", "Aenderung der Maengel", "änderung", Treffer{{0, 9}});
    zeile("Umschreibung findet Umlaut", "Die Änderung", "aenderung", Treffer{{4, 8}});
    zeile("scharfes s", "Straße, Strasse", "strasse", Treffer{{0, 6}, {8, 7}});
    zeile("Akzent", "Café und Cafe", "cafe", Treffer{{0, 4}, {9, 4}});
    zeile("keine halben Umlaute", "Bär", "e", Treffer{});
    zeile("a ist kein ae", "Bär", "ba", Treffer{});
    zeile("nicht ueberlappend", "aaaa", "aa", Treffer{{0, 2}, {2, 2}});
    zeile("leer", "Text", QString(), Treffer{});
    zeile("nur Leerzeichen", "a b", "  ", Treffer{});
    zeile("ueber Absatzgrenze", "Ende\u2029Anfang", "ende anfang", Treffer{{0, 11}});
    zeile("hinter Umlauten", "Ä ö ü ß Größe, Grösse, GRÖSSE und Groesse.", "größe",
          Treffer{{8, 5}, {15, 6}, {23, 6}, {34, 7}});
}

void tst_TextSuche::finden()
{
    QFETCH(QString, text);
    QFETCH(QString, suche);
    QFETCH(Treffer, erwartet);
    // The object is reused: a text with expanded characters was searched before.
    TextSuche s(QStringLiteral("Größe Äß ÜÖ"));
    QCOMPARE(s.finden(QStringLiteral("größe")).size(), 1);
    s.setText(text);
    QCOMPARE(s.finden(suche), erwartet);
}

QTEST_APPLESS_MAIN(tst_TextSuche)
#include "tst_TextSuche.moc"
