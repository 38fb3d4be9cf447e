// The queries when things go wrong: missing or unusable files, wrong password, damaged files,
// null values, a lock held by another connection, a file replaced between queries, and every
// step of the query pattern failing once with the user answering Retry or Cancel.
#include "Abfragemuster.h"
#include "Datenbank.h"
#include "Datensatzgruppe.h"
#include "Fehler.h"
#include "Global.h"
#include "HilfeDatenbankSchreiber.h"
#include "Inhaltsabfragen.h"
#include "Meldung.h"
#include "MeldungSkript.h"
#include "SqlDialekt.h"
#include "Stichwortabfragen.h"
#include "TestHilfen.h"

#include <QtTest>

#include <sqlite3.h>

namespace {

const QString Gesperrt = "Ein anderer Benutzer sperrt die Datenbank im Moment.";

// Runs one of the query routines by name; returns its result and the sizes of its arrays.
struct Lauf
{
    bool ergebnis = false;
    QList<int> groessen;
};

Lauf laufen(const QString &routine)
{
    Lauf l;
    QList<QString> s1{"x", "y"}, s2{"x"};
    QList<qint32> z1{1, 2}, z2{3};
    if (routine == "KapitelLesen") {
        l.ergebnis = KapitelLesen(s1, z1, z2);
        l.groessen = {int(s1.size()), int(z1.size()), int(z2.size())};
    } else if (routine == "ThemenLesen") {
        l.ergebnis = ThemenLesen(s1, z1, z2, 1);
        l.groessen = {int(s1.size()), int(z1.size()), int(z2.size())};
    } else if (routine == "TexteLesen") {
        l.ergebnis = TexteLesen(s1, z1, z2, s2, 1);
        l.groessen = {int(s1.size()), int(z1.size()), int(z2.size()), int(s2.size())};
    } else if (routine == "WoerterSuchen") {
        l.ergebnis = WoerterSuchen("e", s1, z1);
        l.groessen = {int(s1.size()), int(z1.size())};
    } else if (routine == "TexteZumWort") {
        l.ergebnis = TexteZumWort(1, s1, z1, s2);
        l.groessen = {int(s1.size()), int(z1.size()), int(s2.size())};
    } else if (routine == "BildLesen") {
        QByteArray b("vorher");
        QString bez("vorher");
        l.ergebnis = BildLesen("1", b, bez);
        // The picture's values stay untouched unless it was found.
        l.groessen = {b == "vorher" ? 1 : 0, bez == "vorher" ? 1 : 0};
    }
    return l;
}

const QStringList Routinen{"KapitelLesen",  "ThemenLesen",  "TexteLesen",
                           "WoerterSuchen", "TexteZumWort", "BildLesen"};

} // namespace

class TestAbfrageFehler : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void dateiUnbrauchbar_data();
    void dateiUnbrauchbar();
    void verknuepfungAufDatei();
    void dateiDefekt_data();
    void dateiDefekt();
    void nullWert_data();
    void nullWert();
    void sperreWiederholen_data();
    void sperreWiederholen();
    void sperreAbbrechen();
    void ersetzteDatei();
    void einspeisung_data();
    void einspeisung();

private:
    // Writes the standard database into dir: chapter 1 with topic 1 with three texts, keyword
    // "Kunde" on all three, picture 1.
    bool schreiben(const QString &dir, const QString &kapitelTitel = "Kapitel");

    QTemporaryDir m_dir;
    QString m_datei;
    qint32 m_thema = 0;
};

bool TestAbfrageFehler::schreiben(const QString &dir, const QString &kapitelTitel)
{
    HilfeDatenbankSchreiber s;
    if (!s.oeffnen(dir + "/HilfeBelna.mdb", HilfePasswort))
        return false;
    const qint32 k = s.kapitelEinfuegen(1, kapitelTitel, 1);
    m_thema = s.themaEinfuegen(k, 1, "Thema", 1);
    const qint32 w = s.wortEinfuegen("Kunde");
    for (int i = 1; i <= 3; ++i)
        s.zuordnungEinfuegen(w, s.textEinfuegen(m_thema, i, QString("Text %1").arg(i),
                                                QString("{\\rtf1 %1}").arg(i), i));
    s.bildEinfuegen(1, "PK", "Bild");
    return s.abschliessen();
}

void TestAbfrageFehler::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    QVERIFY(schreiben(m_dir.path()));
    m_datei = m_dir.filePath("HilfeBelna.mdb");
}

void TestAbfrageFehler::init()
{
    gsPasswort = HilfePasswort;
    setzeProgrammVerzeichnis(m_dir.path());
    Datensatzgruppe::verbindungVerwerfen();
}

void TestAbfrageFehler::cleanup()
{
    Fehlereinspeisung::aus();
    Datensatzgruppe::verbindungVerwerfen();
}

void TestAbfrageFehler::dateiUnbrauchbar_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<QString>("routine");
    for (const char *art : {"fehlt", "verzeichnis", "kaputte-verknuepfung", "unlesbar"}) {
        for (const QString &r : Routinen)
            QTest::addRow("%s-%s", art, qPrintable(r)) << QString(art) << r;
    }
}

// A file that is there but cannot be read is no missing file: the open fails with "access
// denied" (70), which the user may retry once the rights are mended.
void TestAbfrageFehler::dateiUnbrauchbar()
{
    QFETCH(QString, art);
    QFETCH(QString, routine);
    QTemporaryDir dir;
    const QString pfad = dir.filePath("HilfeBelna.mdb");
    if (art == "verzeichnis")
        QVERIFY(QDir(dir.path()).mkdir("HilfeBelna.mdb"));
    if (art == "kaputte-verknuepfung")
        QVERIFY(QFile::link(dir.filePath("gibtsnicht.mdb"), pfad));
    if (art == "unlesbar") {
        QVERIFY(QFile::copy(m_datei, pfad));
        QVERIFY(QFile::setPermissions(pfad, QFileDevice::WriteOwner));
        if (QFileInfo(pfad).isReadable())
            QSKIP("running with rights that read every file");
    }
    setzeProgrammVerzeichnis(dir.path());
    SkriptMeldungen skript;
    const Lauf l = laufen(routine);
    QVERIFY(!l.ergebnis);
    for (int g : l.groessen)
        QCOMPARE(g, 1);
    QCOMPARE(skript.anzahl(), 1);
    QCOMPARE(skript.boxen().at(0).titel, QString("Tolvar-Hilfe"));
    if (art == "verzeichnis" || art == "unlesbar") {
        QVERIFY2(skript.boxen().at(0).text.startsWith("(70) "), qPrintable(skript.boxen().at(0).text));
        QCOMPARE(skript.boxen().at(0).stil, 53);
        return;
    }
    QCOMPARE(skript.boxen().at(0).text, QString("Die Hilfedatenbank wurde nicht gefunden!"));
    QCOMPARE(skript.boxen().at(0).stil, 48);
}

void TestAbfrageFehler::verknuepfungAufDatei()
{
    QTemporaryDir dir;
    QVERIFY(QFile::link(m_datei, dir.filePath("HilfeBelna.mdb")));
    setzeProgrammVerzeichnis(dir.path());
    SkriptMeldungen skript;
    QVERIFY(laufen("KapitelLesen").ergebnis);
    QCOMPARE(skript.anzahl(), 0);
}

void TestAbfrageFehler::dateiDefekt_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<qint32>("nummer");
    QTest::newRow("falsches-passwort") << "falsches-passwort" << Fehlernummer::KennwortUngueltig;
    QTest::newRow("unverschluesselt") << "unverschluesselt" << Fehlernummer::KennwortUngueltig;
    QTest::newRow("zufall") << "zufall" << Fehlernummer::KennwortUngueltig;
    QTest::newRow("leer") << "leer" << 0;
    QTest::newRow("abgeschnitten") << "abgeschnitten" << 0;
}

void TestAbfrageFehler::dateiDefekt()
{
    QFETCH(QString, art);
    QFETCH(qint32, nummer);
    QTemporaryDir dir;
    const QString pfad = dir.filePath("HilfeBelna.mdb");
    if (art == "falsches-passwort") {
        QVERIFY(QFile::copy(m_datei, pfad));
        gsPasswort = "falsch";
    } else if (art == "unverschluesselt") {
        HilfeDatenbankSchreiber s;
        QVERIFY(s.oeffnen(pfad, QString()));
        s.kapitelEinfuegen(1, "offen", 1);
        QVERIFY(s.abschliessen());
    } else {
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (art == "zufall") {
            QByteArray zufall(8192, 0);
            for (auto &b : zufall)
                b = char(QRandomGenerator::global()->bounded(256));
            f.write(zufall);
        } else if (art == "abgeschnitten") {
            // A larger database cut in the middle: its pages cannot all be read.
            QTemporaryDir gross;
            HilfeDatenbankSchreiber s;
            QVERIFY(s.oeffnen(gross.filePath("g.mdb"), HilfePasswort));
            for (int i = 0; i < 2000; ++i)
                s.kapitelEinfuegen(i, QString("Kapitel mit langem Titel %1").arg(i), i);
            QVERIFY(s.abschliessen());
            QFile g(gross.filePath("g.mdb"));
            QVERIFY(g.open(QIODevice::ReadOnly));
            const QByteArray alles = g.readAll();
            f.write(alles.left(alles.size() / 2 + 100));
        }
    }
    setzeProgrammVerzeichnis(dir.path());
    SkriptMeldungen skript;
    const Lauf l = laufen("KapitelLesen");
    QVERIFY(!l.ergebnis);
    QCOMPARE(l.groessen, (QList<int>{1, 1, 1}));
    // An empty file is a valid empty database to the engine: the table is missing.
    QCOMPARE(skript.anzahl(), 1);
    QCOMPARE(skript.boxen().at(0).stil, 53);
    if (nummer != 0)
        QVERIFY2(skript.boxen().at(0).text.contains(QString("(%1)").arg(nummer)),
                 qPrintable(skript.boxen().at(0).text));
    else
        QVERIFY(skript.boxen().at(0).text.startsWith("Es ist ein Problem aufgetreten."));
}

void TestAbfrageFehler::nullWert_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("routine");
    QTest::addColumn<bool>("fehler");
    zeile("kapitel-bezeichnung", "UPDATE Kapitel SET Bezeichnung = NULL", "KapitelLesen", true);
    zeile("kapitel-nummer", "UPDATE Kapitel SET Nummer = NULL", "KapitelLesen", true);
    zeile("texte-text", "UPDATE Texte SET Text = NULL WHERE Nummer = 2", "TexteLesen", true);
    zeile("wort",
          "UPDATE WörterIndex SET Wort = 'e'; "
          "INSERT INTO WörterIndex (ID, Wort) VALUES (NULL, NULL)",
          "WoerterSuchen", false);
    zeile("bild", "UPDATE Bilder SET Bild = NULL", "BildLesen", true);
    zeile("zeile-geduldet", "UPDATE Kapitel SET Bezeichnung = NULL, Nummer = NULL", "TexteZumWort",
          false);
    zeile("textid", "UPDATE ZuordnungIndex SET TextID = NULL", "TexteZumWort", false);
}

void TestAbfrageFehler::nullWert()
{
    QFETCH(QString, sql);
    QFETCH(QString, routine);
    QFETCH(bool, fehler);
    QTemporaryDir dir;
    QVERIFY(schreiben(dir.path()));
    {
        // Rewrite the finished file with the change.
        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(dir.filePath("HilfeBelna.mdb")).constData(), &db),
                 SQLITE_OK);
        sqlite3_key(db, HilfePasswort, int(strlen(HilfePasswort)));
        // The keyword index is ordered by the German collation: writing a keyword needs it.
        SqlDialekt::registrieren(db);
        const QByteArray u = sql.toUtf8();
        const int rc = sqlite3_exec(db, u.constData(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
        QCOMPARE(rc, SQLITE_OK);
    }
    setzeProgrammVerzeichnis(dir.path());
    SkriptMeldungen skript;
    // Retry repeats the same failure; the second answer gives up.
    skript.antworten({Meldung::Wiederholen, Meldung::Abbrechen});
    const Lauf l = laufen(routine);
    if (!fehler) {
        QVERIFY(l.ergebnis);
        QCOMPARE(skript.anzahl(), 0);
        return;
    }
    QVERIFY(!l.ergebnis);
    QCOMPARE(skript.anzahl(), 2);
    QCOMPARE(skript.boxen().at(0).stil, 53);
    QVERIFY2(skript.boxen().at(0).text.endsWith("(94) Unzulässige Verwendung von Null"),
             qPrintable(skript.boxen().at(0).text));
}

void TestAbfrageFehler::sperreWiederholen_data()
{
    QTest::addColumn<bool>("verbindungGehalten");
    QTest::newRow("neue-verbindung") << false;
    QTest::newRow("gehaltene-verbindung") << true;
}

void TestAbfrageFehler::sperreWiederholen()
{
    QFETCH(bool, verbindungGehalten);
    if (verbindungGehalten)
        QVERIFY(laufen("KapitelLesen").ergebnis);

    sqlite3 *sperre = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(m_datei).constData(), &sperre), SQLITE_OK);
    sqlite3_key(sperre, HilfePasswort, int(strlen(HilfePasswort)));
    QCOMPARE(sqlite3_exec(sperre, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

    SkriptMeldungen skript;
    skript.antworten({Meldung::Wiederholen});
    skript.beimZeigen([&](const SkriptMeldungen::Box &) {
        sqlite3_exec(sperre, "ROLLBACK", nullptr, nullptr, nullptr);
    });
    QList<QString> b, t;
    QList<qint32> id, nr;
    const bool ergebnis = TexteLesen(b, id, nr, t, m_thema);
    sqlite3_close(sperre);
    QVERIFY(ergebnis);
    QCOMPARE(b, (QList<QString>{"", "Text 1", "Text 2", "Text 3"}));
    QCOMPARE(skript.anzahl(), 1);
    QCOMPARE(skript.boxen().at(0).stil, 53);
    QVERIFY(skript.boxen().at(0).text.startsWith(Gesperrt));
    QVERIFY(skript.boxen().at(0).text.contains("(Systemmeldung: -2147217887: "));
}

void TestAbfrageFehler::sperreAbbrechen()
{
    sqlite3 *sperre = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(m_datei).constData(), &sperre), SQLITE_OK);
    sqlite3_key(sperre, HilfePasswort, int(strlen(HilfePasswort)));
    QCOMPARE(sqlite3_exec(sperre, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    SkriptMeldungen skript;
    skript.antworten({Meldung::Wiederholen, Meldung::Abbrechen});
    const Lauf l = laufen("WoerterSuchen");
    sqlite3_exec(sperre, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(sperre);
    QVERIFY(!l.ergebnis);
    QCOMPARE(l.groessen, (QList<int>{1, 1}));
    QCOMPARE(skript.anzahl(), 2);
    QVERIFY(skript.boxen().at(1).text.startsWith(Gesperrt));
}

void TestAbfrageFehler::ersetzteDatei()
{
    QTemporaryDir dir;
    QVERIFY(schreiben(dir.path(), "alt"));
    setzeProgrammVerzeichnis(dir.path());
    QList<QString> b;
    QList<qint32> id, nr;
    const int vorher = Datensatzgruppe::geoeffneteVerbindungen();
    QVERIFY(KapitelLesen(b, id, nr));
    QCOMPARE(b.value(1), QString("alt"));
    QVERIFY(KapitelLesen(b, id, nr));
    // The unchanged file is read over the kept connection.
    QCOMPARE(Datensatzgruppe::geoeffneteVerbindungen(), vorher + 1);

    QVERIFY(schreiben(dir.path(), "neu"));
    QVERIFY(KapitelLesen(b, id, nr));
    QCOMPARE(b.value(1), QString("neu"));
    QCOMPARE(Datensatzgruppe::geoeffneteVerbindungen(), vorher + 2);

    // Another password is another connection, and a wrong one fails.
    gsPasswort = "anders";
    SkriptMeldungen skript;
    QVERIFY(!KapitelLesen(b, id, nr));
    QCOMPARE(skript.anzahl(), 1);
}

void TestAbfrageFehler::einspeisung_data()
{
    QTest::addColumn<int>("schritt");
    QTest::addColumn<int>("antwort");
    // TexteLesen with three rows runs 6 steps: connect, run, three rows, close.
    for (int k = 1; k <= 6; ++k) {
        QTest::addRow("schritt%d-wiederholen", k) << k << int(Meldung::Wiederholen);
        QTest::addRow("schritt%d-abbrechen", k) << k << int(Meldung::Abbrechen);
    }
}

void TestAbfrageFehler::einspeisung()
{
    QFETCH(int, schritt);
    QFETCH(int, antwort);
    SkriptMeldungen skript;
    skript.antworten({antwort});
    Fehlereinspeisung::setzen(schritt, Fehlernummer::DatenbankGesperrt);
    QList<QString> b, t;
    QList<qint32> id, nr;
    const bool ergebnis = TexteLesen(b, id, nr, t, m_thema);
    QCOMPARE(skript.anzahl(), 1);
    QVERIFY(skript.boxen().at(0).text.startsWith(Gesperrt));
    const QList<QString> alle{"", "Text 1", "Text 2", "Text 3"};
    if (antwort == Meldung::Wiederholen) {
        QVERIFY(ergebnis);
        QCOMPARE(b, alle);
        QCOMPARE(nr, (QList<qint32>{0, 1, 2, 3}));
        // The failed step ran once more, nothing else was repeated.
        QCOMPARE(Fehlereinspeisung::gezaehlt(), 7);
        return;
    }
    QVERIFY(!ergebnis);
    QCOMPARE(Fehlereinspeisung::gezaehlt(), schritt);
    // The arrays keep what was stored before the failure.
    if (schritt <= 2) {
        QCOMPARE(b, QList<QString>{""});
        QCOMPARE(t, QList<QString>{""});
    } else {
        const int gelesen = qMin(schritt - 3, 3);
        QCOMPARE(b.size(), 4);
        QCOMPARE(t.size(), 4);
        for (int i = 1; i <= 3; ++i) {
            QCOMPARE(b.at(i), i <= gelesen ? alle.at(i) : QString());
            QCOMPARE(nr.at(i), i <= gelesen ? i : 0);
        }
    }
}

QTEST_GUILESS_MAIN(TestAbfrageFehler)
#include "tst_abfragefehler.moc"
