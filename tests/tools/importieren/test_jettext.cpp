// Jet text values as stored: UCS-2 and its compressed form, Jet 3 code pages, pictures in the
// old text form, lone surrogates, and the keyword table's name in any catalogue code page.
#include "JetText.h"
#include "TestHilfen.h"

#include <QtTest>

class TestJetText : public QObject
{
    Q_OBJECT

private slots:
    void lesen_data();
    void lesen();
    void bildTextAlleBytes();
    void ungueltigesZeichen_data();
    void ungueltigesZeichen();
    void woerterIndex_data();
    void woerterIndex();
};

// Jet 4 text (code page 4 here) is UCS-2 or its compressed form; Jet 3 text has a code page.
void TestJetText::lesen_data()
{
    QTest::addColumn<QByteArray>("gespeichert");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<bool>("lesbar");
    QTest::addColumn<QString>("text");
    zeile("leer", QByteArray(), 4, true, QString());
    zeile("ucs-2", QByteArray("A\0\xfc\0\xac\x20", 6), 4, true, QString::fromUtf8("Aü€"));
    zeile("ucs-2 with U+0000 inside", QByteArray("P\0\0\0K\0", 6), 4, true,
          QString(QChar(u'P')) + QChar(u'\0') + QChar(u'K'));
    // Octal escapes where a letter follows: it would continue a hexadecimal one.
    zeile("compressed", QByteArray("\377\376Gr\374\337e", 7), 4, true, QString::fromUtf8("Grüße"));
    zeile("compressed, switching to two bytes and back",
          QByteArray("\377\376a\0\xac\x20\x92\x21\0b", 10), 4, true, QString::fromUtf8("a€→b"));
    zeile("only the mark", QByteArray("\xff\xfe"), 4, true, QString());
    zeile("ucs-2 cut in half a character", QByteArray("A\0B", 3), 4, false, QString());
    zeile("compressed, two-byte run cut short", QByteArray("\377\376a\0\xac", 5), 4, false,
          QString());
    zeile("1252", QByteArray("Stra\337e \x80 \x84x\x93"), 1252, true,
          QString::fromUtf8("Straße € „x“"));
    zeile("code page 0 means 1252", QByteArray("\xf6"), 0, true, QString::fromUtf8("ö"));
    zeile("850", QByteArray("W\x94rter"), 850, true, QString::fromUtf8("Wörter"));
    zeile("1250", QByteArray("\x8a\xe8"), 1250, true, QString::fromUtf8("Šč"));
}

void TestJetText::lesen()
{
    QFETCH(QByteArray, gespeichert);
    QFETCH(int, codePage);
    QFETCH(bool, lesbar);
    QFETCH(QString, text);
    QString gelesen = QStringLiteral("unverändert");
    QString grund;
    if (codePage != 4)
        QVERIFY(JetText::jet3Lesen(gespeichert, codePage, &gelesen));
    else
        QCOMPARE(JetText::jet4Lesen(gespeichert, &gelesen, &grund), lesbar);
    if (lesbar)
        QCOMPARE(gelesen, text);
    else
        QVERIFY(!grund.isEmpty());
}

// Every byte survives the way through the old text form: written as its Windows-1252
// character (the five undefined ones as U+0081 ...), read back as the same byte.
void TestJetText::bildTextAlleBytes()
{
    QByteArray alle;
    QString text;
    for (int b = 0; b < 256; ++b) {
        alle += char(b);
        text += JetText::ausCp1252(uchar(b));
    }
    QCOMPARE(text.mid(0x80, 3), QString::fromUtf8("€\u0081‚"));
    QCOMPARE(text[0x9D], QChar(0x9D));
    QCOMPARE(text[0xF6], QChar(0xF6));
    QCOMPARE(QSet<QChar>(text.begin(), text.end()).size(), 256);
    QByteArray bytes;
    QVERIFY(JetText::bildAusText(text, &bytes));
    QCOMPARE(bytes, alle);
}

void TestJetText::ungueltigesZeichen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("stelle");

    zeile("plain", QString::fromUtf8("Grüße €"), -1);
    zeile("pair", QString::fromUtf8("a😀b"), -1);
    zeile("high alone", QStringLiteral("ab") + QChar(0xD83D) + QChar(u'c'), 2);
    zeile("low alone", QString(QChar(0xDE00)) + QChar(u'x'), 0);
    zeile("high at the end", QStringLiteral("x") + QChar(0xD800), 1);
}

void TestJetText::ungueltigesZeichen()
{
    QFETCH(QString, text);
    QFETCH(int, stelle);
    QCOMPARE(JetText::ungueltigesZeichen(text), qsizetype(stelle));
}

void TestJetText::woerterIndex_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("gemeint");

    zeile("utf-8", QByteArray("W\xc3\xb6rterIndex"), true);
    zeile("upper case", QByteArray("W\xc3\x96RTERINDEX"), true);
    zeile("latin-1 byte", QByteArray("W\xf6rterIndex"), true);
    zeile("850 read as 1252", QByteArray("W\xe2\x80\x9drterIndex"), true);
    zeile("replacement", QByteArray("W\xef\xbf\xbdrterIndex"), true);
    zeile("question mark", QByteArray("W?rterIndex"), true);
    zeile("oe", QByteArray("WoerterIndex"), true);
    zeile("another table", QByteArray("ZuordnungIndex"), false);
    zeile("ascii letter", QByteArray("WarterIndex"), false);
    zeile("longer name", QByteArray("W\xc3\xb6rterIndexAlt"), false);
    zeile("no middle", QByteArray("WrterIndex"), false);
}

void TestJetText::woerterIndex()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, gemeint);
    QCOMPARE(JetText::istWoerterIndex(name), gemeint);
}

QTEST_GUILESS_MAIN(TestJetText)
#include "test_jettext.moc"
