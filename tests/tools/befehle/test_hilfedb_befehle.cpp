// Runs the hilfedb executable as writers do and checks exit codes and output (errors on
// standard error only).
#include "TestHilfen.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestHilfedbBefehle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void aufruf_data();
    void aufruf();
    void nichtsImTemporaerordner();

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
    dateiSchreiben(m_dir.filePath("schlecht/kapitel/01.txt"), "= 1 | K\n=== 1 | ohne Thema\n");
    dateiSchreiben(m_dir.filePath("keine.mdb"), QByteArray(4096, 'x'));
    QCOMPARE(programmLaufen(HILFEDB_PFAD,
                            {"erstellen", m_dir.filePath("gut"), m_dir.filePath("gut.mdb")})
                 .code,
             0);
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
    f("erstellen fehler", "erstellen @/schlecht @/schlecht.mdb", 1, "",
      "kapitel/01.txt:2: Abschnitt außerhalb eines Themas");
    f("erstellen ohne ziel", "erstellen @/gut", 2, "", "Aufruf: hilfedb erstellen");
    f("kapitel", "kapitel @/gut.mdb", 0,
      "01 Rechnungen\n  01.02 Erfassen\n    01.02.03 Kunde wählen\n", "");
    f("kapitel fehlt", "kapitel @/fehlt.mdb", 1, "", "Die Hilfedatenbank wurde nicht gefunden!");
    f("stichwort", "stichwort @/gut.mdb kunde", 0,
      "Kunde\n  1.2.3\tKunde wählen\tRechnungen\tErfassen\n"
      "Kundennummer\n  1.2.3\tKunde wählen\tRechnungen\tErfassen\n",
      "");
    f("stichwort ohne treffer", "stichwort @/gut.mdb xyz", 0, "Kein Stichwort enthält „xyz“", "");
    zeile("stichwort leer", QStringList{"stichwort", m_dir.filePath("gut.mdb"), ""}, 2, QString(),
          QString("SUCHTEXT"));
    f("text mit verweisen", "text @/gut.mdb 1.2.4", 0,
      "Siehe auch\n\nZurück zu Kunde wählen und Maske.\n", "");
    f("text verweistabelle", "text @/gut.mdb 01.02.04", 0,
      "\nVerweis 1: Anfang 10, Ende 22, Abschnitt 01.02.03\n"
      "Verweis 2: Anfang 27, Ende 32, Bild 00007 \"Maske\"\n",
      "");
    f("text unbekannt", "text @/gut.mdb 01.02.09", 1, "", "kein Abschnitt 01.02.09");
    f("bild", "bild @/gut.mdb 7 @/b.png", 0, "300 x 200 Pixel, \"Kunde bearbeiten\"", "");
    f("bild fehlt", "bild @/gut.mdb 8 @/b.png", 1, "", "kein Bild 8");
    f("rtf", "rtf @/brief.rtf", 0, "Grüße\nzweite Zeile\n", "");
    f("synthetisch option", "synthetisch @/s.mdb --bilder x", 2, "", "--bilder");
    f("synthetisch zu viele", "synthetisch @/s.mdb --themen 100", 2, "", "1 bis 99");
    f("synthetisch klein",
      "synthetisch @/s.mdb --kapitel 1 --themen 1 --abschnitte 2 --woerter 10 --bilder 1 "
      "--zuordnungen 20",
      0, "1 Kapitel, 1 Themen, 2 Abschnitte, 1 Bilder, 10 Stichwörter", "");
    f("pruefen ohne datenbank", "pruefen", 2, "", "Aufruf: hilfedb pruefen DB");
    f("pruefen zwei datenbanken", "pruefen a.mdb b.mdb", 2, "", "Aufruf: hilfedb pruefen DB");
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
    QVERIFY2(l.aus.contains(stdoutEnthaelt), qPrintable(l.aus));
    // Errors go to standard error alone.
    if (code != 0)
        QCOMPARE(l.aus, QString());
    QVERIFY2(l.fehler.contains(stderrEnthaelt), qPrintable(l.fehler));
}

// Reading a database of any name leaves nothing in the temporary folder, also when the
// command is ended at once (nothing is created there, so nothing can be left behind).
void TestHilfedbBefehle::nichtsImTemporaerordner()
{
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMPDIR", temp.path());
    env.insert("XDG_RUNTIME_DIR", m_dir.path());
    for (int abbruchNach : {0, 20, -1}) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(HILFEDB_PFAD, {"kapitel", m_dir.filePath("gut.mdb")});
        QVERIFY(p.waitForStarted());
        if (abbruchNach >= 0) {
            QThread::msleep(abbruchNach);
            p.terminate();
        }
        QVERIFY(p.waitForFinished(60000));
        if (abbruchNach < 0) {
            QCOMPARE(p.exitCode(), 0);
            QVERIFY(p.readAllStandardOutput().contains("Kunde"));
        }
        QCOMPARE(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }
}

QTEST_GUILESS_MAIN(TestHilfedbBefehle)
#include "test_hilfedb_befehle.moc"
