// The database object: every query's rows, order and bound values, and what goes wrong (missing,
// unusable and damaged files, null values, a lock, every step failing once).
#include "Datenbank.h"
#include "Global.h"
#include "HilfeDatenbank.h"
#include "HilfeDatenbankSchreiber.h"
#include "MeldungSkript.h"
#include "SqlDialekt.h"
#include "TestHilfen.h"

#include <QtTest>

#include <sqlite3.h>

namespace {

const QString Gesperrt = "Ein anderer Benutzer sperrt die Datenbank im Moment.";

// Whether a query ran, its error and its rows as text, one "a|b|c" per row.
struct Lauf
{
    bool ok = false;
    QStringList zeilen;
    qint32 fehler = 0;
};

// Runs a query of the database by name: kapitel, themen, texte, texteZumWort (of key schluessel),
// woerter and bild (of the text after a ":" in the name, else "e" and "1").
Lauf laufen(HilfeDatenbank &db, const QString &name, qint32 schluessel = 1)
{
    const QString text = name.section(':', 1);
    const auto lauf = [](const auto &e, const auto &f) {
        Lauf l{e.ok, {}, e.fehler.nummer};
        for (const auto &z : e.zeilen)
            l.zeilen << f(z);
        return l;
    };
    const auto k = [](const auto &z) {
        return QString("%1|%2|%3").arg(z.bezeichnung).arg(z.id).arg(z.nummer);
    };
    const auto t = [&](const TextZeile &z) { return k(z) + '|' + z.text; };
    const auto w = [](const WortZeile &z) { return z.wort + '|' + QString::number(z.id); };
    const auto zw = [](const WortTextZeile &z) {
        return QString("%1|%2|%3").arg(z.zeile, z.nummer).arg(z.textID);
    };
    const auto b = [](const BildZeile &z) {
        return QString::fromLatin1(z.bild) + '|' + z.bezeichnung;
    };
    const QString abfrage = name.section(':', 0, 0);
    return abfrage == "kapitel"        ? lauf(db.kapitel(), k)
           : abfrage == "themen"       ? lauf(db.themen(schluessel), k)
           : abfrage == "texte"        ? lauf(db.texte(schluessel), t)
           : abfrage == "woerter"      ? lauf(db.woerter(name.contains(':') ? text : "e"), w)
           : abfrage == "texteZumWort" ? lauf(db.texteZumWort(schluessel), zw)
                                       : lauf(db.bild(name.contains(':') ? text : "1"), b);
}

const QStringList Abfragen{"kapitel", "themen", "texte", "woerter", "texteZumWort", "bild"};

// The small database: chapter 1 with topic 1 with three texts, keyword "Kunde" on all three,
// picture 1.
bool schreiben(const QString &datei, const QString &kapitelTitel = "Kapitel")
{
    HilfeDatenbankSchreiber s;
    if (!s.oeffnen(datei, HilfePasswort))
        return false;
    const qint32 k = s.kapitelEinfuegen(1, kapitelTitel, 1);
    const qint32 t = s.themaEinfuegen(k, 1, "Thema", 1);
    const qint32 w = s.wortEinfuegen("Kunde");
    for (int i = 1; i <= 3; ++i)
        s.zuordnungEinfuegen(w, s.textEinfuegen(t, i, QString("Text %1").arg(i),
                                                QString("{\\rtf1 %1}").arg(i), i));
    s.bildEinfuegen(1, "PK", "Bild");
    return s.abschliessen();
}

bool sqlAusfuehren(const QString &datei, const QString &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(datei).constData(), &db);
    sqlite3_key(db, HilfePasswort, int(strlen(HilfePasswort)));
    SqlDialekt::registrieren(db); // the keyword index's German collation
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc == SQLITE_OK;
}

} // namespace

class TestHilfeDatenbank : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup() { Fehlereinspeisung::aus(); }
    void zeilen_data();
    void zeilen();
    void dateiKaputt_data();
    void dateiKaputt();
    void nullWert_data();
    void nullWert();
    void sperre();
    void jederSchritt();

private:
    QTemporaryDir m_dir;
    QString m_klein; // the small database
    QString m_gross; // the database of the content tests
    qint32 m_kapitel[4] = {};
    qint32 m_kunden = 0;
    qint32 m_texte[3] = {};
    qint32 m_ohneTitel = 0;
    QHash<QString, qint32> m_woerter;
};

void TestHilfeDatenbank::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    m_klein = m_dir.filePath("HilfeBelna.mdb");
    QVERIFY(schreiben(m_klein));
    m_gross = m_dir.filePath("gross.mdb");
    HilfeDatenbankSchreiber s;
    QVERIFY(s.oeffnen(m_gross, HilfePasswort));
    m_kapitel[1] = s.kapitelEinfuegen(1, "Erste Schritte", 3);
    m_kapitel[2] = s.kapitelEinfuegen(2, "Stammdaten", 1);
    m_kapitel[3] = s.kapitelEinfuegen(3, "Zahlung", 2);
    m_kunden = s.themaEinfuegen(m_kapitel[2], 1, "Kunden", 2);
    s.themaEinfuegen(m_kapitel[2], 2, "Artikel", 1);
    const qint32 erste = s.themaEinfuegen(m_kapitel[1], 1, "Start", 1);
    m_texte[0] = s.textEinfuegen(m_kunden, 4, "Zahlungsbedingungen", "{\\rtf1 drei}", 3);
    m_texte[1] = s.textEinfuegen(m_kunden, 1, "anlegen", "{\\rtf1 eins}", 1);
    m_texte[2] = s.textEinfuegen(m_kunden, 2, "Ändern", "{\\rtf1 zwei}", 2);
    m_ohneTitel = s.textEinfuegen(erste, 7, "x", "{\\rtf1}", 1);
    for (const char *w : {"Kunde", "O'Neil", "Zahlung", "angebot", "Ärger", "50% Rabatt",
                          "50x Rabatt", "a_b", "[Klammer]", "doppelt", "leer", "ohne"})
        m_woerter.insert(QString(w), s.wortEinfuegen(QString(w)));
    for (qint32 t : m_texte)
        s.zuordnungEinfuegen(m_woerter["Kunde"], t);
    s.zuordnungEinfuegen(m_woerter["doppelt"], m_texte[1]);
    s.zuordnungEinfuegen(m_woerter["doppelt"], m_texte[1]);
    s.zuordnungEinfuegen(m_woerter["leer"], m_ohneTitel);
    s.bildEinfuegen(12, QByteArray("PK\x03\x04zwölf", 10), "Bild zwölf");
    s.bildEinfuegen(12, "PKzweites", "zweites");
    s.bildEinfuegen(0, "PKnull", "Bild null");
    // The old form: the archive as text, one character per byte read in Windows-1252.
    QVERIFY(s.ausfuehren("INSERT INTO Bilder VALUES (7, 'Pâ€', 'alt')"));
    // A section whose title is empty (null): its display line starts with the tab.
    QVERIFY(s.ausfuehren(QString("UPDATE Texte SET Bezeichnung = NULL WHERE ID = %1")
                             .arg(m_ohneTitel)));
    QVERIFY(s.abschliessen());
}

void TestHilfeDatenbank::init()
{
    gsPasswort = HilfePasswort;
    setzeProgrammVerzeichnis(m_dir.path());
    standardDatenbank().verbindungVerwerfen();
}

// Rows in order; keywords by the search pattern; pictures by the number the text starts with.
void TestHilfeDatenbank::zeilen_data()
{
    QTest::addColumn<QString>("abfrage");
    QTest::addColumn<qint32>("schluessel");
    QTest::addColumn<QStringList>("erwartet");
    const auto k = [](const char *t, qint32 id, int n) { return QString("%1|%2|%3").arg(t).arg(id).arg(n); };
    zeile("kapitel", QString("kapitel"), 0,
          QStringList{k("Stammdaten", m_kapitel[2], 2), k("Zahlung", m_kapitel[3], 3),
                      k("Erste Schritte", m_kapitel[1], 1)});
    zeile("themen", QString("themen"), m_kapitel[2],
          QStringList{k("Artikel", m_kunden + 1, 2), k("Kunden", m_kunden, 1)});
    zeile("themen-keine", QString("themen"), m_kapitel[3], QStringList{});
    zeile("texte", QString("texte"), m_kunden,
          QStringList{k("anlegen", m_texte[1], 1) + "|{\\rtf1 eins}",
                      k("Ändern", m_texte[2], 2) + "|{\\rtf1 zwei}",
                      k("Zahlungsbedingungen", m_texte[0], 4) + "|{\\rtf1 drei}"});
    const QString kunden = "\tStammdaten\tKunden|";
    zeile("zumWort", QString("texteZumWort"), m_woerter["Kunde"],
          QStringList{"Ändern" + kunden + QString("2.1.2|%1").arg(m_texte[2]),
                      "anlegen" + kunden + QString("2.1.1|%1").arg(m_texte[1]),
                      "Zahlungsbedingungen" + kunden + QString("2.1.4|%1").arg(m_texte[0])});
    zeile("zumWort-doppelt", QString("texteZumWort"), m_woerter["doppelt"],
          QStringList(2, "anlegen" + kunden + QString("2.1.1|%1").arg(m_texte[1])));
    zeile("zumWort-ohne-titel", QString("texteZumWort"), m_woerter["leer"],
          QStringList{QString("\tErste Schritte\tStart|1.1.7|%1").arg(m_ohneTitel)});
    const auto wort = [this](const char *name, const char *text, const QStringList &woerter) {
        QStringList r;
        for (const QString &x : woerter)
            r << x + '|' + QString::number(m_woerter.value(x));
        zeile(name, QString("woerter:") + text, 0, r);
    };
    wort("kunde", "kunde", {"Kunde"});
    wort("quote", "O'Neil", {"O'Neil"});
    wort("prozent-ist-muster", "50%R", {"50% Rabatt", "50x Rabatt"});
    wort("unterstrich-ist-muster", "a_b", {"a_b"});
    wort("klammer-ist-klasse", "[ä]rger", {"Ärger"});
    wort("offene-klammer", "[Kl", {"[Klammer]"});
    wort("rueckstrich", "\\", {});
    // German order: "angebot" before "Ärger" before "Zahlung".
    wort("nur-prozent", "%", {"50% Rabatt", "50x Rabatt", "[Klammer]", "a_b", "angebot", "Ärger",
                              "doppelt", "Kunde", "leer", "O'Neil", "ohne", "Zahlung"});
    const QString zwoelf = QString::fromLatin1("PK\x03\x04zwölf") + "|Bild zwölf";
    zeile("bild-führende-nullen", QString("bild:00012"), 0, QStringList{zwoelf});
    zeile("bild-blanks-und-rest", QString("bild:  12abc"), 0, QStringList{zwoelf});
    zeile("bild-leer-ist-null", QString("bild:"), 0, QStringList{"PKnull|Bild null"});
    zeile("bild-alte-textform", QString("bild:7"), 0,
          QStringList{QString::fromLatin1("P\xe2\x80|alt")});
    zeile("bild-fehlt", QString("bild:99"), 0, QStringList{});
    zeile("bild-bruch", QString("bild:12.5"), 0, QStringList{});
    zeile("bild-bruch-null", QString("bild:12.0"), 0, QStringList{zwoelf});
}

void TestHilfeDatenbank::zeilen()
{
    QFETCH(QString, abfrage);
    QFETCH(qint32, schluessel);
    QFETCH(QStringList, erwartet);
    SkriptMeldungen skript;
    HilfeDatenbank db(m_gross, HilfePasswort); // its own file, whatever the default one reads
    const Lauf l = laufen(db, abfrage, schluessel);
    QVERIFY(l.ok);
    QCOMPARE(l.zeilen, erwartet);
    QCOMPARE(skript.anzahl(), 0);
    // The tables are all still there; no search text runs no query and reports no error.
    QCOMPARE(db.kapitel().zeilen.size(), 3);
    const Ergebnis<WortZeile> leer = db.woerter(QString());
    QVERIFY(!leer.ok && leer.zeilen.isEmpty() && leer.fehler.nummer == 0);
}

void TestHilfeDatenbank::dateiKaputt_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<QString>("abfrage");
    QTest::addColumn<qint32>("nummer"); // 0: any number, named in the box
    QTest::addColumn<QString>("text");  // the box, or its start for a retry box (style 53)
    QTest::addColumn<int>("stil");
    const QString fehlt = "Die Hilfedatenbank wurde nicht gefunden!";
    zeile("verknuepfung", "verknuepfung", "texte", 0, QString(), 0);
    zeile("fehlt", "fehlt", "kapitel", 0, fehlt, 48);
    zeile("fehlt-bild", "fehlt", "bild", 0, fehlt, 48);
    zeile("kaputte-verknuepfung", "kaputte-verknuepfung", "woerter", 0, fehlt, 48);
    // There but unreadable is no missing file: "access denied", which the user may retry.
    const qint32 zugriff = Fehlernummer::ZugriffVerweigert;
    const qint32 kennwort = Fehlernummer::KennwortUngueltig;
    zeile("verzeichnis", "verzeichnis", "texteZumWort", zugriff, "(70) ", 53);
    zeile("unlesbar", "unlesbar", "themen", zugriff, "(70) ", 53);
    zeile("falsches-passwort", "falsches-passwort", "kapitel", kennwort, "", 53);
    zeile("unverschluesselt", "unverschluesselt", "kapitel", kennwort, "", 53);
    // An empty file is a valid empty database to the engine: the table is missing.
    zeile("leer", "leer", "kapitel", Fehlernummer::BefehlFehlerhaft, "", 53);
    zeile("abgeschnitten", "abgeschnitten", "kapitel", 0, "", 53);
}

void TestHilfeDatenbank::dateiKaputt()
{
    QFETCH(QString, art);
    QFETCH(QString, abfrage);
    QFETCH(qint32, nummer);
    QFETCH(QString, text);
    QFETCH(int, stil);
    QTemporaryDir dir;
    const QString pfad = dir.filePath("HilfeBelna.mdb");
    QString passwort = HilfePasswort;
    if (art == "verzeichnis")
        QVERIFY(QDir(dir.path()).mkdir("HilfeBelna.mdb"));
    if (art == "kaputte-verknuepfung")
        QVERIFY(QFile::link(dir.filePath("gibtsnicht.mdb"), pfad));
    if (art == "verknuepfung")
        QVERIFY(QFile::link(m_klein, pfad));
    if (art == "unlesbar" || art == "falsches-passwort")
        QVERIFY(QFile::copy(m_klein, pfad));
    if (art == "falsches-passwort")
        passwort = "falsch";
    if (art == "unlesbar") {
        QVERIFY(QFile::setPermissions(pfad, QFileDevice::WriteOwner));
        if (QFileInfo(pfad).isReadable())
            QSKIP("running with rights that read every file");
    }
    if (art == "unverschluesselt") {
        HilfeDatenbankSchreiber s;
        QVERIFY(s.oeffnen(pfad, QString()));
        s.kapitelEinfuegen(1, "offen", 1);
        QVERIFY(s.abschliessen());
    }
    if (art == "abgeschnitten") {
        // A larger database cut in the middle: its pages cannot all be read.
        HilfeDatenbankSchreiber s;
        QVERIFY(s.oeffnen(dir.filePath("g.mdb"), HilfePasswort));
        for (int i = 0; i < 2000; ++i)
            s.kapitelEinfuegen(i, QString("Kapitel mit langem Titel %1").arg(i), i);
        QVERIFY(s.abschliessen());
        const QByteArray alles = dateiLesen(dir.filePath("g.mdb"));
        dateiSchreiben(pfad, alles.left(alles.size() / 2 + 100));
    }
    if (art == "leer")
        dateiSchreiben(pfad, QByteArray());
    setzeProgrammVerzeichnis(dir.path());
    gsPasswort = passwort;
    SkriptMeldungen skript;
    const Lauf l = laufen(standardDatenbank(), abfrage);
    QCOMPARE(skript.anzahl(), stil == 0 ? 0 : 1);
    QCOMPARE(l.ok && !l.zeilen.isEmpty(), stil == 0);
    if (stil == 0)
        return;
    const QString box = skript.boxen().at(0).text;
    QVERIFY(!l.ok && l.zeilen.isEmpty());
    QCOMPARE(skript.boxen().at(0).stil, stil);
    QVERIFY2(stil == 48 ? box == text
                        : box.startsWith(text) && box.contains(QString::number(l.fehler)),
             qPrintable(box));
    if (nummer != 0)
        QCOMPARE(l.fehler, nummer);
}

void TestHilfeDatenbank::nullWert_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("abfrage");
    QTest::addColumn<bool>("fehler");
    zeile("kapitel-bezeichnung", "UPDATE Kapitel SET Bezeichnung = NULL", "kapitel", true);
    zeile("wort",
          "UPDATE WörterIndex SET Wort = 'e'; INSERT INTO WörterIndex (ID, Wort) VALUES (NULL, NULL)",
          "woerter", false);
    zeile("bild", "UPDATE Bilder SET Bild = NULL", "bild", true);
    zeile("zeile-geduldet", "UPDATE Kapitel SET Bezeichnung = NULL, Nummer = NULL", "texteZumWort",
          false);
}

void TestHilfeDatenbank::nullWert()
{
    QFETCH(QString, sql);
    QFETCH(QString, abfrage);
    QFETCH(bool, fehler);
    QTemporaryDir dir;
    const QString datei = dir.filePath("HilfeBelna.mdb");
    QVERIFY(schreiben(datei));
    QVERIFY(sqlAusfuehren(datei, sql));
    SkriptMeldungen skript;
    // Retry repeats the same failure; the second answer gives up.
    skript.antworten({Meldung::Wiederholen, Meldung::Abbrechen});
    HilfeDatenbank db(datei, HilfePasswort);
    const Lauf l = laufen(db, abfrage);
    QCOMPARE(l.ok, !fehler);
    QCOMPARE(skript.anzahl(), fehler ? 2 : 0);
    if (fehler) {
        QCOMPARE(l.fehler, Fehlernummer::NullUnzulaessig);
        QVERIFY2(skript.boxen().at(0).text.endsWith("(94) Unzulässige Verwendung von Null"),
                 qPrintable(skript.boxen().at(0).text));
    }
}

// Another connection locks the file (a real lock, not an injected one); Wiederholen after the
// lock is gone reads everything.
void TestHilfeDatenbank::sperre()
{
    HilfeDatenbank db(m_klein, HilfePasswort);
    sqlite3 *sperre = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(m_klein).constData(), &sperre), SQLITE_OK);
    sqlite3_key(sperre, HilfePasswort, int(strlen(HilfePasswort)));
    QCOMPARE(sqlite3_exec(sperre, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    SkriptMeldungen skript;
    skript.antworten({Meldung::Wiederholen});
    skript.beimZeigen([&](const SkriptMeldungen::Box &) {
        sqlite3_exec(sperre, "ROLLBACK", nullptr, nullptr, nullptr);
    });
    const Lauf l = laufen(db, "texte");
    sqlite3_close(sperre);
    QVERIFY(l.ok);
    QCOMPARE(l.zeilen.size(), 3);
    QCOMPARE(skript.anzahl(), 1);
    QCOMPARE(skript.boxen().at(0).stil, 53);
    QVERIFY(skript.boxen().at(0).text.startsWith(Gesperrt));
    QVERIFY(skript.boxen().at(0).text.contains("(Systemmeldung: -2147217887: "));
}

// Every step of every query fails once: Wiederholen reruns that step, Abbrechen ends the query
// with the rows read before, the silent policy gives up at once without a box.
void TestHilfeDatenbank::jederSchritt()
{
    HilfeDatenbank db(m_klein, HilfePasswort);
    for (const QString &abfrage : Abfragen) {
        Fehlereinspeisung::setzen(1000000, 0);
        const Lauf alle = laufen(db, abfrage);
        const int schritte = Fehlereinspeisung::gezaehlt();
        QVERIFY(alle.ok);
        // Connect, run, one step per row, close.
        QCOMPARE(schritte, 3 + int(alle.zeilen.size()));
        for (int k = 1; k <= schritte; ++k) {
            const QString fall = QString("%1 Schritt %2").arg(abfrage).arg(k);
            for (const int antwort : {Meldung::Wiederholen, Meldung::Abbrechen}) {
                SkriptMeldungen skript;
                skript.antworten({antwort});
                Fehlereinspeisung::setzen(k, Fehlernummer::DatenbankGesperrt);
                const Lauf l = laufen(db, abfrage);
                QVERIFY2(skript.anzahl() == 1 && skript.boxen().at(0).text.startsWith(Gesperrt),
                         qPrintable(fall));
                if (antwort == Meldung::Wiederholen) {
                    QVERIFY2(l.ok && l.zeilen == alle.zeilen, qPrintable(fall));
                    // The failed step ran once more, nothing else was repeated.
                    QCOMPARE(Fehlereinspeisung::gezaehlt(), schritte + 1);
                } else {
                    QVERIFY2(!l.ok && l.fehler == Fehlernummer::DatenbankGesperrt, qPrintable(fall));
                    QCOMPARE(Fehlereinspeisung::gezaehlt(), k);
                    QCOMPARE(l.zeilen, alle.zeilen.mid(0, qBound(0, k - 3, int(alle.zeilen.size()))));
                }
            }
            SkriptMeldungen skript;
            db.setFehlerpolitik(HilfeDatenbank::still);
            Fehlereinspeisung::setzen(k, Fehlernummer::Unbekannt);
            QVERIFY2(!laufen(db, abfrage).ok, qPrintable(fall));
            QCOMPARE(skript.anzahl(), 0);
            db.setFehlerpolitik(HilfeDatenbank::meldungZeigen);
        }
    }
}

QTEST_GUILESS_MAIN(TestHilfeDatenbank)
#include "tst_hilfedatenbank.moc"
