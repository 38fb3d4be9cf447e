// The database writer: the file it leaves is encrypted with the password, holds the tables and
// rows as written, and replaces an older file only when everything succeeded.
#include "HilfeDatenbankSchreiber.h"
#include "SqlDialekt.h"

#include <QtTest>

#include <sqlite3.h>

class TestHilfeDatenbankSchreiber : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void schreiben_data();
    void schreiben();
    void verschluesseltMitPasswort();
    void fehlerLaesstAlteDateiStehen();

private:
    QTemporaryDir m_dir;
};

// Reads the first column of a query as text lines "a|b|...", with the dialect registered.
static QStringList lesen(const QString &pfad, const QByteArray &passwort, const char *sql,
                         int *fehlercode = nullptr)
{
    QStringList zeilen;
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(pfad).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (!passwort.isEmpty())
        sqlite3_key(db, passwort.constData(), int(passwort.size()));
    SqlDialekt::registrieren(db);
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    while (rc == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW) {
        QStringList felder;
        for (int i = 0; i < sqlite3_column_count(st); ++i)
            felder << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)));
        zeilen << felder.join(u'|');
    }
    if (rc == SQLITE_OK)
        rc = sqlite3_finalize(st);
    if (fehlercode)
        *fehlercode = rc;
    sqlite3_close(db);
    return zeilen;
}

// The rows themselves are read back through the help's queries in tst_hilfedatenbank; here: a
// picture stays a blob, the lookup indexes exist, and the full-text index is written with every
// database unless it is switched off, holding every section, also those written by raw statements.
void TestHilfeDatenbankSchreiber::schreiben_data()
{
    QTest::addColumn<bool>("an");
    QTest::newRow("mit Volltext") << true;
    QTest::newRow("ohne Volltext") << false;
}

void TestHilfeDatenbankSchreiber::schreiben()
{
    QFETCH(bool, an);
    QTemporaryDir dir;
    const QString pfad = dir.filePath("h.mdb");
    HilfeDatenbankSchreiber s;
    QString fehler;
    QVERIFY2(s.oeffnen(pfad, "geheim", &fehler), qPrintable(fehler));
    s.setVolltextIndex(an);
    const qint32 t = s.themaEinfuegen(s.kapitelEinfuegen(1, "K", 1), 1, "T", 1);
    const qint32 x = s.textEinfuegen(t, 1, "Eins", "{\\rtf1 Skonto\\par}", 1);
    s.zuordnungEinfuegen(s.wortEinfuegen("Skonto"), x);
    s.bildEinfuegen(12, QByteArray("PK\x03\x04\x00\xff", 6), "Bild zwölf");
    QVERIFY(s.ausfuehren("INSERT INTO Texte (ID, ThemenID, Nummer, Bezeichnung, Text, lfdNummer) "
                         "VALUES (7, 1, 2, NULL, NULL, 2)"));
    QVERIFY2(s.abschliessen(&fehler), qPrintable(fehler));
    QVERIFY(!QFile::exists(pfad + ".neu"));
    QCOMPARE(lesen(pfad, "geheim", "SELECT typeof(Bild), hex(Bild) FROM Bilder"),
             QStringList{"blob|504B030400FF"});
    QCOMPARE(lesen(pfad, "geheim",
                   "SELECT name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL "
                   "ORDER BY name"),
             (QStringList{"Bilder_Nummer", "Texte_ThemenID", "Themen_KapitelID",
                          "WoerterIndex_Wort", "ZuordnungIndex_IndexID"}));
    const QStringList tabellen =
        lesen(pfad, "geheim",
              "SELECT name FROM sqlite_master WHERE name IN ('VolltextIndex', "
              "'VolltextAbschnitte', 'VolltextBloecke', 'VolltextInfo') ORDER BY name");
    QCOMPARE(tabellen.size(), an ? 4 : 0);
    if (an) {
        QCOMPARE(lesen(pfad, "geheim", "SELECT TextID FROM VolltextAbschnitte ORDER BY TextID"),
                 (QStringList{"1", "7"}));
        QCOMPARE(lesen(pfad, "geheim", "SELECT docid FROM VolltextIndex WHERE VolltextIndex MATCH "
                                       "'skonto'"),
                 QStringList{"1"});
        QCOMPARE(lesen(pfad, "geheim", "PRAGMA freelist_count"), QStringList{"0"});
    }
}

void TestHilfeDatenbankSchreiber::verschluesseltMitPasswort()
{
    const QString pfad = m_dir.filePath("schluessel.mdb");
    HilfeDatenbankSchreiber s;
    QVERIFY(s.oeffnen(pfad, "QKV4815"));
    s.wortEinfuegen("Kundennummer");
    QVERIFY(s.abschliessen());

    QFile f(pfad);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray roh = f.readAll();
    QVERIFY(!roh.startsWith("SQLite format 3") && !roh.contains("Kundennummer"));
    int rc = SQLITE_OK;
    lesen(pfad, "falsch", "SELECT Wort FROM WörterIndex", &rc);
    QCOMPARE(rc, SQLITE_NOTADB);
    QCOMPARE(lesen(pfad, "QKV4815", "SELECT Wort FROM WörterIndex"), QStringList{"Kundennummer"});
}

void TestHilfeDatenbankSchreiber::fehlerLaesstAlteDateiStehen()
{
    const QString pfad = m_dir.filePath("alt.mdb");
    {
        HilfeDatenbankSchreiber s;
        QVERIFY(s.oeffnen(pfad, "pw"));
        s.wortEinfuegen("alt");
        QVERIFY(s.abschliessen());
    }
    HilfeDatenbankSchreiber s;
    QVERIFY(s.oeffnen(pfad, "pw"));
    s.wortEinfuegen("neu");
    QVERIFY(!s.ausfuehren("INSERT INTO GibtEsNicht VALUES (1)"));
    QString fehler;
    QVERIFY(!s.abschliessen(&fehler) && fehler.contains("GibtEsNicht"));
    QVERIFY(!QFile::exists(pfad + ".neu"));
    QCOMPARE(lesen(pfad, "pw", "SELECT Wort FROM WörterIndex"), QStringList{"alt"});
}

QTEST_GUILESS_MAIN(TestHilfeDatenbankSchreiber)
#include "tst_hilfedatenbankschreiber.moc"
