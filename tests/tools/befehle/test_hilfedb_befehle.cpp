// Runs the hilfedb executable as writers do and checks exit codes and output.
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
    zeile("ohne argumente", QStringList{}, 2, "", "Aufruf:");
    zeile("hilfe", QStringList{"--help"}, 0, "--zuordnungen N", "");
    zeile("unbekannt", QStringList{"machwas"}, 2, "", "unbekannter Befehl");
    zeile("erstellen fehler", QStringList{"erstellen", "@/schlecht", "@/schlecht.mdb"}, 1, "",
          "kapitel/01.txt:2: Abschnitt außerhalb eines Themas");
    zeile("erstellen ohne ziel", QStringList{"erstellen", "@/gut"}, 2, "",
          "Aufruf: hilfedb erstellen");
    zeile("kapitel", QStringList{"kapitel", "@/gut.mdb"}, 0,
          "01 Rechnungen\n  01.02 Erfassen\n    01.02.03 Kunde wählen\n", "");
    zeile("kapitel fehlt", QStringList{"kapitel", "@/fehlt.mdb"}, 1, "",
          "Die Hilfedatenbank wurde nicht gefunden!");
    zeile("stichwort", QStringList{"stichwort", "@/gut.mdb", "kunde"}, 0,
          "Kunde\n  1.2.3\tKunde wählen\tRechnungen\tErfassen\n"
          "Kundennummer\n  1.2.3\tKunde wählen\tRechnungen\tErfassen\n",
          "");
    zeile("stichwort ohne treffer", QStringList{"stichwort", "@/gut.mdb", "xyz"}, 0,
          "Kein Stichwort enthält „xyz“", "");
    zeile("stichwort leer", QStringList{"stichwort", "@/gut.mdb", ""}, 2, "", "SUCHTEXT");
    zeile("text mit verweisen", QStringList{"text", "@/gut.mdb", "1.2.4"}, 0,
          "Siehe auch\n\nZurück zu Kunde wählen und Maske.\n", "");
    zeile("text verweistabelle", QStringList{"text", "@/gut.mdb", "01.02.04"}, 0,
          "\nVerweis 1: Anfang 10, Ende 22, Abschnitt 01.02.03\n"
          "Verweis 2: Anfang 27, Ende 32, Bild 00007 \"Maske\"\n",
          "");
    zeile("text unbekannt", QStringList{"text", "@/gut.mdb", "01.02.09"}, 1, "",
          "kein Abschnitt 01.02.09");
    zeile("bild", QStringList{"bild", "@/gut.mdb", "7", "@/b.png"}, 0,
          "300 x 200 Pixel, \"Kunde bearbeiten\"", "");
    zeile("bild fehlt", QStringList{"bild", "@/gut.mdb", "8", "@/b.png"}, 1, "", "kein Bild 8");
    zeile("rtf", QStringList{"rtf", "@/brief.rtf"}, 0, "Grüße\nzweite Zeile\n", "");
    zeile("synthetisch option", QStringList{"synthetisch", "@/s.mdb", "--bilder", "x"}, 2, "",
          "--bilder");
    zeile("synthetisch zu viele", QStringList{"synthetisch", "@/s.mdb", "--themen", "100"}, 2, "",
          "1 bis 99");
    zeile("synthetisch klein",
          QStringList{"synthetisch", "@/s.mdb", "--kapitel", "1", "--themen", "1", "--abschnitte",
                      "2", "--woerter", "10", "--bilder", "1", "--zuordnungen", "20"},
          0, "1 Kapitel, 1 Themen, 2 Abschnitte, 1 Bilder, 10 Stichwörter", "");
}

void TestHilfedbBefehle::aufruf()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, stdoutEnthaelt);
    QFETCH(QString, stderrEnthaelt);
    for (QString &a : args)
        a.replace('@', m_dir.path());
    const ProgrammLauf l = programmLaufen(HILFEDB_PFAD, args); // code -1: crashed or hung
    QVERIFY2(l.code == code, qPrintable(QString("%1\n%2").arg(l.code).arg(l.fehler)));
    QVERIFY2(l.aus.contains(stdoutEnthaelt), qPrintable(l.aus));
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
