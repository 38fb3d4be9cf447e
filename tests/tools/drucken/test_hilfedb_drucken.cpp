// hilfedb drucken: each scope printed to PDF and read back (header, title, page numbers, texts in
// and out of scope, captions with --grafiken only); wrong usage, unknown numbers, outputs that
// cannot be written or are the database itself; a write ended by a signal leaves nothing.
#include "TestHilfen.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

ProgrammLauf hilfedb(const QStringList &args)
{
    return programmLaufen(QStringLiteral(HILFEDB_PFAD), args);
}

} // namespace

class TestHilfedbDrucken : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void umfang_data();
    void umfang();
    void fehler_data();
    void fehler();
    void abbruch_data();
    void abbruch();

private:
    QTemporaryDir m_dir;
};

void TestHilfedbDrucken::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    if (!pdftotextVorhanden())
        QSKIP("pdftotext is not installed (poppler-utils)");
    // Chapter 1: topic 1 with a short section that shows picture 7 and a section of 150
    // paragraphs (several pages); topic 2 with a section showing picture 8. Chapter 2 apart.
    QByteArray k1 = "= 1 | Rechnungen\n== 1 | Rechnung erfassen\n=== 1 | Kunde wählen\n"
                    "Den Kunden wählen Sie in der Maske (siehe [[Bild 7|Kundenmaske]]).\n\n"
                    "Danach geht es weiter.\n"
                    "=== 2 | Positionen\n";
    for (int i = 1; i <= 150; ++i)
        k1 += "Position Absatz " + QByteArray::number(i) + " der langen Liste.\n\n";
    k1 += "== 2 | Rechnung drucken\n=== 1 | Vorschau\n"
          "Die Vorschau zeigt [[Bild 8|die Druckmaske]] vor dem Druck.\n";
    dateiSchreiben(m_dir.filePath("q/kapitel/01.txt"), k1);
    dateiSchreiben(m_dir.filePath("q/kapitel/02.txt"),
                   "= 2 | Mahnwesen\n== 1 | Mahnstufen\n=== 1 | Erste Mahnung\nMahnung Text.\n");
    dateiSchreiben(m_dir.filePath("q/bilder/00007-kunde.maske"),
                   "Titel: Kunde bearbeiten\nGröße: 400 x 250\nFeld: Name | Müller\n");
    dateiSchreiben(m_dir.filePath("q/bilder/00008-druck.maske"),
                   "Titel: Rechnung drucken\nGröße: 300 x 200\nKnöpfe: Drucken | Abbrechen\n");
    const ProgrammLauf l = hilfedb({"erstellen", m_dir.filePath("q"), m_dir.filePath("hilfe.mdb")});
    QVERIFY2(l.code == 0, qPrintable(l.fehler));
}

// One row per scope, with and without pictures.
void TestHilfedbDrucken::umfang_data()
{
    QTest::addColumn<QString>("nummer");
    QTest::addColumn<QString>("umfang");
    QTest::addColumn<bool>("grafiken");
    QTest::addColumn<QString>("titel");
    QTest::addColumn<QStringList>("drin");
    QTest::addColumn<QStringList>("nichtDrin");
    QTest::addColumn<QStringList>("abbildungen");
    QTest::addColumn<int>("mindestSeiten");

    const QStringList bilder7{"Abb.: Kunde bearbeiten"};
    const QStringList beide{"Abb.: Kunde bearbeiten", "Abb.: Rechnung drucken"};
    zeile("abschnitt mit grafiken", "01.01.01", "abschnitt", true, "Kunde wählen",
          QStringList{"Danach geht es weiter."}, QStringList{"Position Absatz 1 "}, bilder7, 1);
    zeile("abschnitt ohne grafiken", "1.1.1", "abschnitt", false, "Kunde wählen",
          QStringList{"(siehe Kundenmaske).", "Danach geht es weiter."},
          QStringList{"Position Absatz"}, QStringList{}, 1);
    zeile("thema mit grafiken", "01.01", "thema", true, "Rechnung erfassen",
          QStringList{"Danach geht es weiter.", "Position Absatz 150 "},
          QStringList{"Vorschau zeigt"}, bilder7, 3);
    zeile("thema ohne grafiken", "01.01.02", "thema", false, "Rechnung erfassen",
          QStringList{"Position Absatz 1 ", "Position Absatz 150 "}, QStringList{"Mahnung"},
          QStringList{}, 3);
    zeile("kapitel mit grafiken", "01", "kapitel", true, "Rechnungen",
          QStringList{"Rechnung erfassen", "Rechnung drucken", "Position Absatz 150 ",
                      "Vorschau zeigt die Druckmaske"},
          QStringList{"Mahnung", "Mahnstufen"}, beide, 3);
    zeile("kapitel ohne grafiken", "01.02.01", "kapitel", false, "Rechnungen",
          QStringList{"Rechnung erfassen", "Vorschau zeigt die Druckmaske"}, QStringList{"Mahnung"},
          QStringList{}, 3);
}

void TestHilfedbDrucken::umfang()
{
    QFETCH(QString, nummer);
    QFETCH(QString, umfang);
    QFETCH(bool, grafiken);
    QFETCH(QString, titel);
    QFETCH(QStringList, drin);
    QFETCH(QStringList, nichtDrin);
    QFETCH(QStringList, abbildungen);
    QFETCH(int, mindestSeiten);

    const QString pdf = m_dir.filePath(QStringLiteral("%1-%2.pdf").arg(umfang).arg(grafiken));
    QStringList args{"drucken", m_dir.filePath("hilfe.mdb"), nummer, "--umfang", umfang};
    if (grafiken)
        args << "--grafiken";
    args << "--pdf" << pdf;
    const ProgrammLauf l = hilfedb(args);
    QVERIFY2(l.code == 0, qPrintable(l.fehler));

    const QString text = pdfText(pdf);
    const QStringList seiten = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QVERIFY2(seiten.size() >= mindestSeiten, qPrintable(text));
    QCOMPARE(l.aus, QStringLiteral("%1: %2 %3\n").arg(pdf).arg(seiten.size()).arg(
                        seiten.size() == 1 ? "Seite" : "Seiten"));
    for (int s = 0; s < seiten.size(); ++s) {
        const QStringList zeilen = seiten[s].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(!zeilen.isEmpty());
        // Header: the fixed text at the left, the title at the right of the first line.
        QVERIFY2(zeilen.first().startsWith(QStringLiteral("Programmbeschreibung Tolvar-Belna")),
                 qPrintable(zeilen.first()));
        QVERIFY2(zeilen.first().trimmed().endsWith(titel), qPrintable(zeilen.first()));
        // Footer: the page number, centred, as the last line.
        QCOMPARE(zeilen.last().trimmed(), QStringLiteral("Seite %1").arg(s + 1));
    }
    const QString fliess = text.simplified();
    for (const QString &d : drin)
        QVERIFY2(fliess.contains(d), qPrintable(d));
    for (const QString &n : nichtDrin)
        QVERIFY2(!fliess.contains(n), qPrintable(n));
    QCOMPARE(text.count(QStringLiteral("Abb.: ")), abbildungen.size());
    for (const QString &a : abbildungen)
        QCOMPARE(fliess.count(a), 1);
}

void TestHilfedbDrucken::fehler_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("meldung");
    QTest::addColumn<int>("grenze"); // largest file hilfedb may write (bytes); 0: no limit

    const QString aufruf = "Aufruf: hilfedb drucken DB NUMMER --umfang abschnitt|thema|kapitel "
                           "[--grafiken] --pdf DATEI.pdf";
    // "@" stands for the temporary folder; "#" for "drucken @/hilfe.mdb".
    const auto f = [this](const char *name, const char *args, int code, const QString &meldung,
                          int grenze = 0) {
        zeile(name, argumente(QString(args).replace("#", "drucken @/hilfe.mdb"), m_dir.path()),
              code, QString(meldung).replace("@", m_dir.path()), grenze);
    };
    f("ohne argumente", "drucken", 2, aufruf);
    f("ohne pdf", "# 01.01.01 --umfang thema", 2, aufruf);
    f("umfang unbekannt", "# 01.01.01 --umfang seite --pdf @/x.pdf", 2, aufruf);
    f("pdf ohne wert", "# 01.01.01 --umfang thema --pdf", 2, aufruf);
    f("unbekannte option", "# 01.01.01 --umfang thema --farbe --pdf @/x.pdf", 2, aufruf);
    f("kapitel unbekannt", "# 9 --umfang kapitel --pdf @/x.pdf", 1, "hilfedb: kein Kapitel 09");
    f("thema unbekannt", "# 01.05.01 --umfang kapitel --pdf @/x.pdf", 1,
      "hilfedb: kein Thema 01.05");
    f("abschnitt unbekannt", "# 01.01.09 --umfang abschnitt --pdf @/x.pdf", 1,
      "hilfedb: kein Abschnitt 01.01.09");
    f("nummer zu kurz", "# 01.01 --umfang abschnitt --pdf @/x.pdf", 1, "keine Hilfenummer");
    f("keine zahl", "# 01.x.01 --umfang thema --pdf @/x.pdf", 1, "keine Hilfenummer");
    f("datenbank fehlt", "drucken @/fehlt.mdb 01.01.01 --umfang thema --pdf @/x.pdf", 1,
      "Die Hilfedatenbank wurde nicht gefunden!");
    f("pdf nicht schreibbar", "# 01.01.01 --umfang thema --pdf @/gibtsnicht/x.pdf", 1,
      "x.pdf wurde nicht geschrieben");
    f("ordner ist eine datei", "# 01.01.01 --umfang thema --pdf @/hilfe.mdb/x.pdf", 1,
      "wurde nicht geschrieben");
    f("verweis auf /dev/full", "# 01.01.01 --umfang thema --pdf @/voll.pdf", 1,
      "keine gewöhnliche Datei");
    // As on a nearly full disk: the writes of the PDF fail after 4 KB.
    f("platz reicht nicht", "# 01 --umfang kapitel --grafiken --pdf @/x.pdf", 1, "Datenträger voll",
      4096);
    // The print-out or a picture written over the database it is made from, under any name.
    const QString selbst = "ist die Hilfedatenbank selbst und wird nicht überschrieben";
    for (const char *name : {"@/hilfe.mdb", "@/q/../hilfe.mdb", "@/verweis.mdb", "@/hart.mdb"})
        f(qPrintable(QString("pdf ist ") + name),
          qPrintable(QString("# 01 --umfang kapitel --pdf ") + name), 2, selbst);
    f("bild ist hart.mdb", "bild @/hilfe.mdb 7 @/hart.mdb", 2, selbst);
    // A picture that does not fit: the write fails, nothing of it stays.
    f("erstellen platz reicht nicht", "erstellen @/q @/neu.mdb", 1,
      "hilfedb: @/neu.mdb wurde nicht erstellt", 4096);
    f("bild platz reicht nicht", "bild @/hilfe.mdb 7 @/x.png", 1,
      "x.png kann nicht geschrieben werden: Datenträger voll", 1000);
}

void TestHilfedbDrucken::fehler()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, meldung);
    QFETCH(int, grenze);
    // Made anew for each row: a link to /dev/full, a symbolic and a hard link to the database.
    const QString db = m_dir.filePath("hilfe.mdb");
    for (const char *name : {"x.pdf", "voll.pdf", "verweis.mdb", "hart.mdb"})
        QFile::remove(m_dir.filePath(name));
    QVERIFY(QFile::link("/dev/full", m_dir.filePath("voll.pdf")));
    QVERIFY(QFile::link(db, m_dir.filePath("verweis.mdb")));
    QCOMPARE(::link(QFile::encodeName(db).constData(),
                    QFile::encodeName(m_dir.filePath("hart.mdb")).constData()),
             0);
    const QByteArray datenbank = dateiLesen(db);
    const QStringList vorher = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::System);
    rlimit alt{};
    getrlimit(RLIMIT_FSIZE, &alt);
    if (grenze > 0) {
        // Inherited by hilfedb, which must make its writes beyond the limit fail instead of
        // being ended by SIGXFSZ (this process writes nothing meanwhile).
        rlimit neu = alt;
        neu.rlim_cur = rlim_t(grenze);
        setrlimit(RLIMIT_FSIZE, &neu);
    }
    const ProgrammLauf l = hilfedb(args);
    setrlimit(RLIMIT_FSIZE, &alt);
    QCOMPARE(l.code, code);
    QVERIFY2(l.fehler.contains(meldung), qPrintable(l.fehler));
    QVERIFY(l.aus.isEmpty());
    QVERIFY(!QFile::exists(m_dir.filePath("x.pdf")));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::System), vorher);
    QVERIFY(dateiLesen(db) == datenbank);
}

// hilfedb ended by a signal while it writes: the file it was writing under a temporary name
// is gone, and the signal ends it as usual.
void TestHilfedbDrucken::abbruch_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("temporaer"); // the file's name begins so while it is written
    QTest::addColumn<int>("signal");

    const QString d = m_dir.path();
    zeile("drucken, SIGTERM", argumente("drucken @/gross.mdb 01 --umfang kapitel --pdf @/x.pdf", d),
          QString("x.pdf."), int(SIGTERM));
    zeile("synthetisch, SIGINT", argumente("synthetisch @/neu.mdb", d), QString("neu.mdb.neu"),
          int(SIGINT));
}

void TestHilfedbDrucken::abbruch()
{
    QFETCH(QStringList, args);
    QFETCH(QString, temporaer);
    QFETCH(int, signal);
    // A database whose first chapter takes long to print.
    if (!QFile::exists(m_dir.filePath("gross.mdb")))
        QCOMPARE(hilfedb({"synthetisch", m_dir.filePath("gross.mdb"), "--kapitel", "1", "--themen",
                          "5", "--woerter", "10", "--zuordnungen", "10"})
                     .code,
                 0);
    const QStringList vorher = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::System);
    QProcess p;
    p.start(QStringLiteral(HILFEDB_PFAD), args);
    QVERIFY(p.waitForStarted());
    const auto geschrieben = [&] {
        return !QDir(m_dir.path()).entryList({temporaer + "*"}, QDir::Files).isEmpty();
    };
    QElapsedTimer uhr;
    uhr.start();
    while (!geschrieben() && p.state() == QProcess::Running && uhr.elapsed() < 60000)
        QThread::msleep(2);
    QVERIFY2(geschrieben(), "hilfedb ended before it wrote");
    ::kill(pid_t(p.processId()), signal);
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitStatus(), QProcess::CrashExit);
    QCOMPARE(p.exitCode(), signal);
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::System), vorher);
}

QTEST_MAIN(TestHilfedbDrucken)
#include "test_hilfedb_drucken.moc"
