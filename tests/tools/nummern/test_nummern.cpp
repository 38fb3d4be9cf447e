// The help numbers of a host program: where they are found, where the help goes for them, and
// the command's report over a folder of host sources.
#include "HilfeCompiler.h"
#include "HilfeNummern.h"
#include "TestHilfen.h"

#include <QtTest>

class TestNummern : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void fundstellen_data();
    void fundstellen();
    void ziel_data();
    void ziel();
    void befehl();
};

void TestNummern::fundstellen_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("funde"); // "zeile nummer"
    zeile("anführungszeichen", QByteArray("a(\"04.01.01\");\nb('04.01.02', \"04.01.03\")\n"),
          QStringList{"1 04.01.01", "2 04.01.02", "2 04.01.03"});
    zeile("liste", QByteArray("04.01.01\r\n  \n\t05.02.01  \n"),
          QStringList{"1 04.01.01", "3 05.02.01"});
    // Not help numbers: no quotes, mixed quotes, one digit, a date in a sentence.
    zeile("keine", QByteArray("x = 04.01.01;\n\"04.01.01'\n\"4.1.1\"\nam 24.12.26 frei\n"),
          QStringList());
}

void TestNummern::fundstellen()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, funde);
    QList<HilfeNummern::Fund> gefunden;
    HilfeNummern::textDurchsuchen("a.c", text, gefunden);
    QStringList ist;
    for (const HilfeNummern::Fund &f : gefunden)
        ist << QStringLiteral("%1 %2").arg(f.zeile).arg(f.nummer);
    QCOMPARE(ist, funde);
}

void TestNummern::ziel_data()
{
    QTest::addColumn<QString>("nummer");
    QTest::addColumn<QString>("wohin");
    zeile("abschnitt", QString("02.01.02"), QString());
    zeile("abschnitt fehlt", QString("02.01.07"), QString("Anfang des Themas (02.01.01)"));
    zeile("thema fehlt", QString("02.05.01"), QString("erste Thema des Kapitels (02.01.01)"));
    zeile("kapitel fehlt", QString("09.01.01"), QString("Anfang der Beschreibung (01.01.01)"));
}

void TestNummern::ziel()
{
    QFETCH(QString, nummer);
    QFETCH(QString, wohin);
    const QStringList abschnitte{"01.01.01", "02.01.01", "02.01.02", "02.03.01"};
    const QString ist = HilfeNummern::ziel(nummer, abschnitte);
    QVERIFY2(wohin.isEmpty() ? ist.isEmpty() : ist.endsWith(wohin), qPrintable(ist));
}

// A host source folder with good and bad numbers, a hidden folder and a binary file passed
// over, and a section that nothing leads to.
void TestNummern::befehl()
{
    QTemporaryDir dir;
    dateiSchreiben(dir.filePath("q/kapitel/01.txt"),
                   "= 1 | K\n== 1 | T\n=== 1 | Start\nZu [[01.01.02|Zwei]].\n=== 2 | Zwei\nz\n"
                   "=== 3 | Drei\nd\n");
    QStringList meldungen;
    QVERIFY(HilfeCompiler::erstellen(dir.filePath("q"), dir.filePath("h.mdb"), meldungen));
    dateiSchreiben(dir.filePath("host/src/a.c"), "hilfe(\"01.01.01\");\nhilfe(\"01.01.09\");\n");
    dateiSchreiben(dir.filePath("host/.git/x"), "\"07.01.01\"\n");
    dateiSchreiben(dir.filePath("host/bild.bin"), QByteArray("\"08.01.01\"\0", 11));
    const QString db = dir.filePath("h.mdb");

    ProgrammLauf l = programmLaufen(HILFEDB_PFAD, {"nummern", db, dir.filePath("host")});
    QCOMPARE(l.code, 1);
    QCOMPARE(l.aus, dir.filePath("host/src/a.c") +
                        ":2: 01.01.09: kein Abschnitt 09 in Thema 01.01: die Hilfe zeigt den "
                        "Anfang des Themas (01.01.01)\n");
    QVERIFY2(l.fehler.contains("2 Hilfenummern (2 verschiedene) in 1 Dateien, 1 führt"),
             qPrintable(l.fehler));

    dateiSchreiben(dir.filePath("liste.txt"), "01.01.01\n");
    l = programmLaufen(HILFEDB_PFAD, {"nummern", db, dir.filePath("liste.txt"), "--unbenutzt"});
    QCOMPARE(l.code, 0);
    QCOMPARE(l.aus, QString("unbenutzt: 01.01.03 Drei\n"));

    l = programmLaufen(HILFEDB_PFAD, {"nummern", db, dir.filePath("fehlt")});
    QCOMPARE(l.code, 1);
    QVERIFY2(l.fehler.contains("fehlt: gibt es nicht"), qPrintable(l.fehler));
}

QTEST_MAIN(TestNummern)
#include "test_nummern.moc"
