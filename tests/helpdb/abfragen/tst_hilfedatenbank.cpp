// The database object: every query's rows, order and bound values, and what goes wrong (missing,
// unusable and damaged files, null values, a lock, a replaced file, every step failing once).
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

// The rows of any query as text, one "a|b|c" per row, and whether it ran.
struct Lauf
{
    bool ok = false;
    QStringList zeilen;
    qint32 fehler = 0;
};

template <class T> Lauf lauf(const Ergebnis<T> &e, const std::function<QString(const T &)> &f)
{
    Lauf l{e.ok, {}, e.fehler.nummer};
    for (const T &z : e.zeilen)
        l.zeilen << f(z);
    return l;
}

// Runs a query of the database by name: kapitel, themen, texte, texteZumWort (of key schluessel),
// woerter and bild (of the text after a ":" in the name, else "e" and "1").
Lauf laufen(HilfeDatenbank &db, const QString &name, qint32 schluessel = 1)
{
    const QString abfrage = name.section(':', 0, 0);
    const QString text = name.section(':', 1);
    const auto k = [](const KapitelZeile &z) {
        return QString("%1|%2|%3").arg(z.bezeichnung).arg(z.id).arg(z.nummer);
    };
    if (abfrage == "kapitel")
        return lauf<KapitelZeile>(db.kapitel(), k);
    if (abfrage == "themen")
        return lauf<ThemaZeile>(db.themen(schluessel), k);
    if (abfrage == "texte")
        return lauf<TextZeile>(db.texte(schluessel), [](const TextZeile &z) {
            return QString("%1|%2|%3|%4").arg(z.bezeichnung).arg(z.id).arg(z.nummer).arg(z.text);
        });
    if (abfrage == "woerter")
        return lauf<WortZeile>(db.woerter(name.contains(':') ? text : "e"), [](const WortZeile &z) {
            return z.wort + '|' + QString::number(z.id);
        });
    if (abfrage == "texteZumWort")
        return lauf<WortTextZeile>(db.texteZumWort(schluessel), [](const WortTextZeile &z) {
            return QString("%1|%2|%3").arg(z.zeile, z.nummer).arg(z.textID);
        });
    return lauf<BildZeile>(db.bild(name.contains(':') ? text : "1"), [](const BildZeile &z) {
        return QString::fromLatin1(z.bild) + '|' + z.bezeichnung;
    });
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
    // The keyword index is ordered by the German collation: writing a keyword needs it.
    SqlDialekt::registrieren(db);
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
    void cleanup();
    void zeilen_data();
    void zeilen();
    void dateiUnbrauchbar_data();
    void dateiUnbrauchbar();
    void dateiDefekt_data();
    void dateiDefekt();
    void nullWert_data();
    void nullWert();
    void sperre_data();
    void sperre();
    void ersetzteDatei();
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
    for (const char *w : {"Kunde", "Soll-Ist", "SollxIst", "O'Neil", "Zahlung", "angebot", "Ärger",
                          "50% Rabatt", "50x Rabatt", "a_b", "[Klammer]", "Feld \"A\"", "doppelt",
                          "leer", "ohne"})
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

void TestHilfeDatenbank::cleanup()
{
    Fehlereinspeisung::aus();
}

// Rows in the writer's order or by title in German order; a keyword's sections with a pair stored
// twice listed twice, an empty title leaving its tab; keywords by the search pattern (LIKE);
// pictures by the number at the start of the text, the first of two counting.
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
    zeile("themen-negativ", QString("themen"), -7, QStringList{});
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
    zeile("zumWort-keine", QString("texteZumWort"), m_woerter["ohne"], QStringList{});
    const auto w = [this](const QStringList &woerter) {
        QStringList r;
        for (const QString &x : woerter)
            r << x + '|' + QString::number(m_woerter.value(x));
        return r;
    };
    const auto wort = [&](const char *name, const char *text, const QStringList &woerter) {
        zeile(name, QString("woerter:") + text, 0, w(woerter));
    };
    wort("kunde", "kunde", {"Kunde"});
    wort("quote", "O'Neil", {"O'Neil"});
    wort("bindestrich", "Soll-Ist", {"Soll-Ist"});
    wort("doppelquote", "\"A\"", {"Feld \"A\""});
    wort("prozent-ist-muster", "50%R", {"50% Rabatt", "50x Rabatt"});
    wort("unterstrich-ist-muster", "a_b", {"a_b"});
    wort("klammer-ist-klasse", "[ä]rger", {"Ärger"});
    wort("offene-klammer", "[Kl", {"[Klammer]"});
    wort("kein-treffer", "gibtsnicht", {});
    wort("ausbruch", "x' OR '1'='1", {});
    wort("ausbruch-kommentar", "'; DROP TABLE Kapitel; --", {});
    wort("rueckstrich", "\\", {});
    // German order: "angebot" before "Ärger" before "Zahlung".
    wort("nur-prozent", "%", {"50% Rabatt", "50x Rabatt", "[Klammer]", "a_b", "angebot", "Ärger",
                              "doppelt", "Feld \"A\"", "Kunde", "leer", "O'Neil", "ohne",
                              "Soll-Ist", "SollxIst", "Zahlung"});
    const QString zwoelf = QString::fromLatin1("PK\x03\x04zwölf") + "|Bild zwölf";
    zeile("bild-führende-nullen", QString("bild:00012"), 0, QStringList{zwoelf});
    zeile("bild-blanks-und-rest", QString("bild:  12abc"), 0, QStringList{zwoelf});
    zeile("bild-leer-ist-null", QString("bild:"), 0, QStringList{"PKnull|Bild null"});
    zeile("bild-text-ist-null", QString("bild:x"), 0, QStringList{"PKnull|Bild null"});
    zeile("bild-alte-textform", QString("bild:7"), 0,
          QStringList{QString::fromLatin1("P\xe2\x80|alt")});
    zeile("bild-fehlt", QString("bild:99"), 0, QStringList{});
    zeile("bild-bruch", QString("bild:12.5"), 0, QStringList{});
    zeile("bild-bruch-null", QString("bild:12.0"), 0, QStringList{zwoelf});
    zeile("bild-plus", QString("bild:+12"), 0, QStringList{zwoelf});
    zeile("bild-nur-vorzeichen", QString("bild:-"), 0, QStringList{"PKnull|Bild null"});
    zeile("bild-einschleusen", QString("bild:0 OR 1=1"), 0, QStringList{"PKnull|Bild null"});
}

void TestHilfeDatenbank::zeilen()
{
    QFETCH(QString, abfrage);
    QFETCH(qint32, schluessel);
    QFETCH(QStringList, erwartet);
    SkriptMeldungen skript;
    // An object of its own file, whatever the default one reads.
    HilfeDatenbank db(m_gross, HilfePasswort);
    const Lauf l = laufen(db, abfrage, schluessel);
    QVERIFY(l.ok);
    QCOMPARE(l.zeilen, erwartet);
    QCOMPARE(skript.anzahl(), 0);
    // The tables are all still there; no search text runs no query and reports no error.
    QCOMPARE(db.kapitel().zeilen.size(), 3);
    const Ergebnis<WortZeile> leer = db.woerter(QString());
    QVERIFY(!leer.ok && leer.zeilen.isEmpty() && leer.fehler.nummer == 0);
}

void TestHilfeDatenbank::dateiUnbrauchbar_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<QString>("abfrage");
    for (const char *art :
         {"fehlt", "verzeichnis", "kaputte-verknuepfung", "unlesbar", "verknuepfung"})
        for (const QString &a : Abfragen)
            QTest::addRow("%s-%s", art, qPrintable(a)) << QString(art) << a;
}

// A file that is there but cannot be read is no missing file: "access denied" (70), which the
// user may retry. A link to the file is read.
void TestHilfeDatenbank::dateiUnbrauchbar()
{
    QFETCH(QString, art);
    QFETCH(QString, abfrage);
    QTemporaryDir dir;
    const QString pfad = dir.filePath("HilfeBelna.mdb");
    if (art == "verzeichnis")
        QVERIFY(QDir(dir.path()).mkdir("HilfeBelna.mdb"));
    if (art == "kaputte-verknuepfung")
        QVERIFY(QFile::link(dir.filePath("gibtsnicht.mdb"), pfad));
    if (art == "verknuepfung")
        QVERIFY(QFile::link(m_klein, pfad));
    if (art == "unlesbar") {
        QVERIFY(QFile::copy(m_klein, pfad));
        QVERIFY(QFile::setPermissions(pfad, QFileDevice::WriteOwner));
        if (QFileInfo(pfad).isReadable())
            QSKIP("running with rights that read every file");
    }
    setzeProgrammVerzeichnis(dir.path());
    SkriptMeldungen skript;
    const Lauf l = laufen(standardDatenbank(), abfrage);
    if (art == "verknuepfung") {
        QVERIFY(l.ok && !l.zeilen.isEmpty());
        QCOMPARE(skript.anzahl(), 0);
        return;
    }
    QVERIFY(!l.ok && l.zeilen.isEmpty());
    QCOMPARE(skript.anzahl(), 1);
    QCOMPARE(skript.boxen().at(0).titel, QString("Tolvar-Hilfe"));
    if (art == "verzeichnis" || art == "unlesbar") {
        QVERIFY2(skript.boxen().at(0).text.startsWith("(70) "), qPrintable(skript.boxen().at(0).text));
        QCOMPARE(skript.boxen().at(0).stil, 53);
        QCOMPARE(l.fehler, Fehlernummer::ZugriffVerweigert);
        return;
    }
    QCOMPARE(skript.boxen().at(0).text, QString("Die Hilfedatenbank wurde nicht gefunden!"));
    QCOMPARE(skript.boxen().at(0).stil, 48);
}

void TestHilfeDatenbank::dateiDefekt_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<qint32>("nummer");
    zeile("falsches-passwort", "falsches-passwort", Fehlernummer::KennwortUngueltig);
    zeile("unverschluesselt", "unverschluesselt", Fehlernummer::KennwortUngueltig);
    // An empty file is a valid empty database to the engine: the table is missing.
    zeile("leer", "leer", Fehlernummer::BefehlFehlerhaft);
    zeile("abgeschnitten", "abgeschnitten", 0);
}

void TestHilfeDatenbank::dateiDefekt()
{
    QFETCH(QString, art);
    QFETCH(qint32, nummer);
    QTemporaryDir dir;
    const QString pfad = dir.filePath("HilfeBelna.mdb");
    QString passwort = HilfePasswort;
    if (art == "falsches-passwort") {
        QVERIFY(QFile::copy(m_klein, pfad));
        passwort = "falsch";
    } else if (art == "unverschluesselt") {
        HilfeDatenbankSchreiber s;
        QVERIFY(s.oeffnen(pfad, QString()));
        s.kapitelEinfuegen(1, "offen", 1);
        QVERIFY(s.abschliessen());
    } else if (art == "abgeschnitten") {
        // A larger database cut in the middle: its pages cannot all be read.
        HilfeDatenbankSchreiber s;
        QVERIFY(s.oeffnen(dir.filePath("g.mdb"), HilfePasswort));
        for (int i = 0; i < 2000; ++i)
            s.kapitelEinfuegen(i, QString("Kapitel mit langem Titel %1").arg(i), i);
        QVERIFY(s.abschliessen());
        const QByteArray alles = dateiLesen(dir.filePath("g.mdb"));
        dateiSchreiben(pfad, alles.left(alles.size() / 2 + 100));
    } else {
        dateiSchreiben(pfad, QByteArray());
    }
    SkriptMeldungen skript;
    HilfeDatenbank db(pfad, passwort);
    const Lauf l = laufen(db, "kapitel");
    QVERIFY(!l.ok && l.zeilen.isEmpty());
    QCOMPARE(skript.anzahl(), 1);
    QCOMPARE(skript.boxen().at(0).stil, 53);
    if (nummer != 0)
        QCOMPARE(l.fehler, nummer);
    QVERIFY2(skript.boxen().at(0).text.contains(QString::number(l.fehler)),
             qPrintable(skript.boxen().at(0).text));
}

void TestHilfeDatenbank::nullWert_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("abfrage");
    QTest::addColumn<bool>("fehler");
    zeile("kapitel-bezeichnung", "UPDATE Kapitel SET Bezeichnung = NULL", "kapitel", true);
    zeile("kapitel-nummer", "UPDATE Kapitel SET Nummer = NULL", "kapitel", true);
    zeile("texte-text", "UPDATE Texte SET Text = NULL WHERE Nummer = 2", "texte", true);
    zeile("wort",
          "UPDATE WörterIndex SET Wort = 'e'; INSERT INTO WörterIndex (ID, Wort) VALUES (NULL, NULL)",
          "woerter", false);
    zeile("bild", "UPDATE Bilder SET Bild = NULL", "bild", true);
    zeile("zeile-geduldet", "UPDATE Kapitel SET Bezeichnung = NULL, Nummer = NULL", "texteZumWort",
          false);
    zeile("textid", "UPDATE ZuordnungIndex SET TextID = NULL", "texteZumWort", false);
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

void TestHilfeDatenbank::sperre_data()
{
    QTest::addColumn<bool>("gehalten");
    QTest::addColumn<bool>("wiederholen");
    zeile("neue-verbindung", false, true);
    zeile("gehaltene-verbindung", true, true);
    zeile("abbrechen", false, false);
}

// Another connection locks the file; Wiederholen after the lock is gone reads everything.
void TestHilfeDatenbank::sperre()
{
    QFETCH(bool, gehalten);
    QFETCH(bool, wiederholen);
    HilfeDatenbank db(m_klein, HilfePasswort);
    if (gehalten)
        QVERIFY(db.kapitel().ok);
    sqlite3 *sperre = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(m_klein).constData(), &sperre), SQLITE_OK);
    sqlite3_key(sperre, HilfePasswort, int(strlen(HilfePasswort)));
    QCOMPARE(sqlite3_exec(sperre, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    SkriptMeldungen skript;
    skript.antworten({wiederholen ? Meldung::Wiederholen : Meldung::Abbrechen});
    skript.beimZeigen([&](const SkriptMeldungen::Box &) {
        if (wiederholen)
            sqlite3_exec(sperre, "ROLLBACK", nullptr, nullptr, nullptr);
    });
    const Lauf l = laufen(db, "texte");
    sqlite3_close(sperre);
    QCOMPARE(l.ok, wiederholen);
    QCOMPARE(l.zeilen.size(), wiederholen ? 3 : 0);
    QCOMPARE(skript.anzahl(), 1);
    QCOMPARE(skript.boxen().at(0).stil, 53);
    QVERIFY(skript.boxen().at(0).text.startsWith(Gesperrt));
    QVERIFY(skript.boxen().at(0).text.contains("(Systemmeldung: -2147217887: "));
}

void TestHilfeDatenbank::ersetzteDatei()
{
    QTemporaryDir dir;
    const QString datei = dir.filePath("HilfeBelna.mdb");
    QVERIFY(schreiben(datei, "alt"));
    HilfeDatenbank db(datei, HilfePasswort);
    const int vorher = HilfeDatenbank::geoeffneteVerbindungen();
    QCOMPARE(db.kapitel().zeilen.value(0).bezeichnung, QString("alt"));
    QCOMPARE(db.kapitel().zeilen.value(0).bezeichnung, QString("alt"));
    // The unchanged file is read over the kept connection, a replaced one over a new one.
    QCOMPARE(HilfeDatenbank::geoeffneteVerbindungen(), vorher + 1);
    QVERIFY(schreiben(datei, "neu"));
    QCOMPARE(db.kapitel().zeilen.value(0).bezeichnung, QString("neu"));
    QCOMPARE(HilfeDatenbank::geoeffneteVerbindungen(), vorher + 2);
}

// Every step of every query fails once: Wiederholen runs that step again and the query reads
// all its rows; Abbrechen ends it with the error and the rows read before. The silent policy
// shows no box and gives up at once.
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
