// Runs the hilfedb executable as writers do and checks exit codes and output.
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

private:
    QTemporaryDir m_dir;
};

namespace {

void schreiben(const QString &pfad, const QByteArray &inhalt)
{
    QDir().mkpath(QFileInfo(pfad).absolutePath());
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(inhalt);
}

} // namespace

void TestHilfedbBefehle::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    schreiben(m_dir.filePath("gut/kapitel/01.txt"),
              "= 1 | Rechnungen\n== 2 | Erfassen\n=== 3 | Kunde wählen\n"
              "Stichwörter: Kunde; Kundennummer\nText.\n"
              "=== 4 | Siehe auch\nZurück zu [[01.02.03|Kunde wählen]] und [[Bild 7|Maske]].\n");
    schreiben(m_dir.filePath("gut/bilder/00007-maske.maske"),
              "Titel: Kunde bearbeiten\nGröße: 300 x 200\nFeld: Name | Müller\n");
    schreiben(m_dir.filePath("brief.rtf"),
              "{\\rtf1\\ansi\\ansicpg1252 Gr\\'fc\\'dfe\\par {\\b zweite} Zeile}");
    schreiben(m_dir.filePath("schlecht/kapitel/01.txt"), "= 1 | K\n=== 1 | ohne Thema\n");
    QProcess p;
    p.start(HILFEDB_PFAD, {"erstellen", m_dir.filePath("gut"), m_dir.filePath("gut.mdb")});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
}

void TestHilfedbBefehle::aufruf_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("stdoutEnthaelt");
    QTest::addColumn<QString>("stderrEnthaelt");

    // "@" stands for the temporary folder.
    QTest::newRow("ohne argumente") << QStringList{} << 2 << ""
                                    << "Aufruf:";
    QTest::newRow("hilfe") << QStringList{"--help"} << 0 << "--zuordnungen N"
                           << "";
    QTest::newRow("unbekannt") << QStringList{"machwas"} << 2 << ""
                               << "unbekannter Befehl";
    QTest::newRow("erstellen fehler")
        << QStringList{"erstellen", "@/schlecht", "@/schlecht.mdb"} << 1 << ""
        << "kapitel/01.txt:2: Abschnitt außerhalb eines Themas";
    QTest::newRow("erstellen ohne ziel") << QStringList{"erstellen", "@/gut"} << 2 << ""
                                         << "Aufruf: hilfedb erstellen";
    QTest::newRow("kapitel") << QStringList{"kapitel", "@/gut.mdb"} << 0
                             << "01 Rechnungen\n  01.02 Erfassen\n    01.02.03 Kunde wählen\n"
                             << "";
    QTest::newRow("kapitel fehlt") << QStringList{"kapitel", "@/fehlt.mdb"} << 1 << ""
                                   << "Die Hilfedatenbank wurde nicht gefunden!";
    QTest::newRow("stichwort") << QStringList{"stichwort", "@/gut.mdb", "kunde"} << 0
                               << "Kunde\n  1.2.3\tKunde wählen\tRechnungen\tErfassen\n"
                                  "Kundennummer\n  1.2.3\tKunde wählen\tRechnungen\tErfassen\n"
                               << "";
    QTest::newRow("stichwort ohne treffer")
        << QStringList{"stichwort", "@/gut.mdb", "xyz"} << 0 << "Kein Stichwort enthält „xyz“"
        << "";
    QTest::newRow("stichwort leer") << QStringList{"stichwort", "@/gut.mdb", ""} << 2 << ""
                                    << "SUCHTEXT";
    QTest::newRow("text mit verweisen")
        << QStringList{"text", "@/gut.mdb", "1.2.4"} << 0
        << "Siehe auch\n\nZurück zu Kunde wählen und Maske.\n" << "";
    QTest::newRow("text verweistabelle")
        << QStringList{"text", "@/gut.mdb", "01.02.04"} << 0
        << "\nVerweis 1: Anfang 10, Ende 22, Abschnitt 01.02.03\n"
           "Verweis 2: Anfang 27, Ende 32, Bild 00007 \"Maske\"\n"
        << "";
    QTest::newRow("text unbekannt") << QStringList{"text", "@/gut.mdb", "01.02.09"} << 1 << ""
                                    << "kein Abschnitt 01.02.09";
    QTest::newRow("bild") << QStringList{"bild", "@/gut.mdb", "7", "@/b.png"} << 0
                          << "300 x 200 Pixel, \"Kunde bearbeiten\"" << "";
    QTest::newRow("bild fehlt") << QStringList{"bild", "@/gut.mdb", "8", "@/b.png"} << 1 << ""
                                << "kein Bild 8";
    QTest::newRow("rtf") << QStringList{"rtf", "@/brief.rtf"} << 0 << "Grüße\nzweite Zeile\n"
                         << "";
    QTest::newRow("synthetisch option")
        << QStringList{"synthetisch", "@/s.mdb", "--bilder", "x"} << 2 << ""
        << "--bilder";
    QTest::newRow("synthetisch zu viele")
        << QStringList{"synthetisch", "@/s.mdb", "--themen", "100"} << 2 << ""
        << "1 bis 99";
    QTest::newRow("synthetisch klein")
        << QStringList{"synthetisch",   "@/s.mdb", "--kapitel", "1",  "--themen", "1",
                       "--abschnitte",  "2",       "--woerter", "10", "--bilder", "1",
                       "--zuordnungen", "20"}
        << 0 << "1 Kapitel, 1 Themen, 2 Abschnitte, 1 Bilder, 10 Stichwörter"
        << "";
}

void TestHilfedbBefehle::aufruf()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, stdoutEnthaelt);
    QFETCH(QString, stderrEnthaelt);
    for (QString &a : args)
        a.replace('@', m_dir.path());
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(HILFEDB_PFAD, args);
    p.closeWriteChannel();
    QVERIFY(p.waitForFinished(120000));
    const QString aus = QString::fromUtf8(p.readAllStandardOutput());
    const QString fehler = QString::fromUtf8(p.readAllStandardError());
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QVERIFY2(p.exitCode() == code, qPrintable(QString("%1\n%2").arg(p.exitCode()).arg(fehler)));
    QVERIFY2(aus.contains(stdoutEnthaelt), qPrintable(aus));
    QVERIFY2(fehler.contains(stderrEnthaelt), qPrintable(fehler));
}

QTEST_GUILESS_MAIN(TestHilfedbBefehle)
#include "test_hilfedb_befehle.moc"
