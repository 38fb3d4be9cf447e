// The hilfedb executable run as writers do: exit codes, output, errors on standard error only.
#include "TestHilfen.h"

#include <QtTest>

class TestHilfedbBefehle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void aufruf_data();
    void aufruf();

private:
    QTemporaryDir m_dir;
};

void TestHilfedbBefehle::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    dateiSchreiben(
        m_dir.filePath("gut/kapitel/01.txt"),
        "= 1 | Rechnungen\n== 2 | Erfassen\n=== 3 | Kunde wählen\n"
        "Stichwörter: Kunde; Kundennummer\nText.\n"
        "=== 4 | Siehe auch\nZurück zu [[01.02.03|Kunde wählen]] und [[Bild 7|Maske]].\n");
    dateiSchreiben(m_dir.filePath("gut/bilder/00007-maske.maske"),
                   "Titel: Kunde bearbeiten\nGröße: 300 x 200\nFeld: Name | Müller\n");
    dateiSchreiben(m_dir.filePath("brief.rtf"),
                   "{\\rtf1\\ansi\\ansicpg1252 Gr\\'fc\\'dfe\\par {\\b zweite} Zeile}");
    dateiSchreiben(m_dir.filePath("tabelle.rtf"),
                   "{\\rtf1 \\trowd\\cellx900\\cellx1800\\intbl a\\cell "
                   "b\\par c\\cell\\row\\pard x\\par}");
    dateiSchreiben(m_dir.filePath("keine.mdb"), QByteArray(4096, 'x'));
    // A picture no link uses: a warning.
    dateiSchreiben(m_dir.filePath("warn/kapitel/01.txt"), "= 1 | K\n== 1 | T\n=== 1 | A\nText.\n");
    dateiSchreiben(m_dir.filePath("warn/bilder/00001-frei.maske"), "Titel: Frei\n");
    const QStringList erstellen = argumente("erstellen @/gut @/gut.mdb", m_dir.path());
    QCOMPARE(programmLaufen(HILFEDB_PFAD, erstellen).code, 0);
}

void TestHilfedbBefehle::aufruf_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("stdoutEnthaelt");
    QTest::addColumn<QString>("stderrEnthaelt");

    // "@" stands for the temporary folder.
    const auto f = [this](const char *name, const char *args, int code, const char *aus,
                          const char *fehler) {
        zeile(name, argumente(args, m_dir.path()), code, QString(aus), QString(fehler));
    };
    f("ohne argumente", "", 2, "", "Aufruf:");
    f("hilfe", "--help", 0, "--zuordnungen N", "");
    f("unbekannt", "machwas", 2, "", "unbekannter Befehl");
    f("erstellen ohne ziel", "erstellen @/gut", 2, "", "Aufruf: hilfedb erstellen");
    f("erstellen mit warnung", "erstellen @/warn @/warn.mdb", 0, "1 Kapitel",
      "bilder/00001-frei.maske: Warnung: Bild 1 benutzt kein Link und keine Abbildung\n"
      "0 Fehler, 1 Warnung\n");
    f("erstellen streng", "erstellen @/warn @/streng.mdb --streng", 1, "",
      "0 Fehler, 1 Warnung (--streng: Warnungen zählen als Fehler)\nhilfedb: ");
    f("kapitel", "kapitel @/gut.mdb", 0,
      "01 Rechnungen\n  01.02 Erfassen\n    01.02.03 Kunde wählen\n", "");
    f("stichwort ohne treffer", "stichwort @/gut.mdb xyz", 0, "Kein Stichwort enthält „xyz“", "");
    zeile("stichwort leer", QStringList{"stichwort", m_dir.filePath("gut.mdb"), ""}, 2, QString(),
          QString("SUCHTEXT"));
    f("text mit verweisen", "text @/gut.mdb 1.2.4", 0,
      "Siehe auch\n\nZurück zu Kunde wählen und Maske.\n\n\nVerweis 1: Anfang 10, Ende 22, "
      "Abschnitt 01.02.03\nVerweis 2: Anfang 27, Ende 32, Bild 00007 \"Maske\"\n",
      "");
    f("text unbekannt", "text @/gut.mdb 01.02.09", 1, "", "kein Abschnitt 01.02.09");
    // Help number, the keyword mark, the score, title and snippet.
    f("suche", "suche @/gut.mdb Kunde", 0, "01.02.03 *  1.355  Kunde wählen — Text.\n01.02.04  ",
      "");
    f("suche ohne treffer", "suche @/gut.mdb xyz", 0, "Kein Abschnitt enthält „xyz“", "");
    f("bild", "bild @/gut.mdb 7 @/b.png", 0, "300 x 200 Pixel, \"Kunde bearbeiten\"", "");
    f("bild fehlt", "bild @/gut.mdb 8 @/b.png", 1, "", "kein Bild 8");
    f("rtf", "rtf @/brief.rtf", 0, "Grüße\nzweite Zeile\n", "");
    // A table row on one line; a cell's paragraphs keep their own lines.
    f("rtf tabelle", "rtf @/tabelle.rtf", 0, "\na | b\nc\nx\n", "");
    f("synthetisch zu viele", "synthetisch @/s.mdb --themen 100", 2, "", "1 bis 99");
    f("synthetisch klein",
      "synthetisch @/s.mdb --kapitel 1 --themen 1 --abschnitte 2 --woerter 10 --bilder 1 "
      "--zuordnungen 20",
      0, "1 Kapitel, 1 Themen, 2 Abschnitte, 1 Bilder, 10 Stichwörter", "");
    f("pruefen ohne datenbank", "pruefen", 2, "", "Aufruf: hilfedb pruefen DB");
    f("pruefen datenbank fehlt", "pruefen @/fehlt.mdb", 1, "",
      "Die Hilfedatenbank wurde nicht gefunden!");
    f("pruefen keine datenbank", "pruefen @/keine.mdb", 1, "",
      "kann nicht vollständig gelesen werden");
}

void TestHilfedbBefehle::aufruf()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, stdoutEnthaelt);
    QFETCH(QString, stderrEnthaelt);
    const ProgrammLauf l = programmLaufen(HILFEDB_PFAD, args); // code -1: crashed or hung
    QVERIFY2(l.code == code, qPrintable(QString("%1\n%2").arg(l.code).arg(l.fehler)));
    QVERIFY2(code == 0 ? l.aus.contains(stdoutEnthaelt) : l.aus.isEmpty(), qPrintable(l.aus));
    QVERIFY2(l.fehler.contains(stderrEnthaelt), qPrintable(l.fehler));
}

QTEST_GUILESS_MAIN(TestHilfedbBefehle)
#include "test_hilfedb_befehle.moc"
