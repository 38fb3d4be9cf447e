// The LIKE comparison and the German sort order of the help database, as plain functions and
// as SQL on a connection that has the dialect registered.
#include "SqlDialekt.h"

#include <QtTest>

#include <sqlite3.h>

class TestSqlDialekt : public QObject
{
    Q_OBJECT

private slots:
    void like_data();
    void like();
    void likeInSql_data();
    void likeInSql();
    void vergleichen_data();
    void vergleichen();
    void sortierungInSql();
    void fremdeSortierungBleibtLesbar();
};

void TestSqlDialekt::like_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("muster");
    QTest::addColumn<bool>("passt");

    QTest::newRow("enthält") << "Kundenstamm"
                             << "%kunde%" << true;
    QTest::newRow("großklein") << "KUNDE"
                               << "kunde" << true;
    QTest::newRow("umlaut-gross") << "ÄNDERUNG"
                                  << "%änderung%" << true;
    QTest::newRow("umlaut-ist-nicht-basis") << "Anderung"
                                            << "Änderung" << false;
    QTest::newRow("ß") << "Straße"
                       << "STRAßE" << true;
    QTest::newRow("nicht-enthalten") << "Rechnung"
                                     << "%kunde%" << false;
    QTest::newRow("anfang") << "Kunde"
                            << "Kunde%" << true;
    QTest::newRow("anfang-falsch") << "Altkunde"
                                   << "Kunde%" << false;
    QTest::newRow("unterstrich") << "Mahnung"
                                 << "Ma_nung" << true;
    QTest::newRow("unterstrich-genau-eins") << "Manung"
                                            << "Ma_nung" << false;
    QTest::newRow("nur-prozent") << "irgendwas"
                                 << "%" << true;
    QTest::newRow("prozent-leer") << ""
                                  << "%%" << true;
    QTest::newRow("leer-leer") << ""
                               << "" << true;
    QTest::newRow("leer-gegen-text") << "a"
                                     << "" << false;
    QTest::newRow("bindestrich-klasse") << "Soll-Ist"
                                        << "%Soll[-]Ist%" << true;
    QTest::newRow("bindestrich-klasse-falsch") << "SollxIst"
                                               << "%Soll[-]Ist%" << false;
    QTest::newRow("quote-klasse") << "O'Neil"
                                  << "O[']Neil" << true;
    QTest::newRow("doppelquote-klasse") << "Feld \"A\""
                                        << "%[\"]A[\"]" << true;
    QTest::newRow("bereich") << "b1"
                             << "[a-c]1" << true;
    QTest::newRow("bereich-gross") << "B1"
                                   << "[a-c]1" << true;
    QTest::newRow("bereich-aussen") << "d1"
                                    << "[a-c]1" << false;
    QTest::newRow("negiert") << "d1"
                             << "[!a-c]1" << true;
    QTest::newRow("negiert-innen") << "b1"
                                   << "[!a-c]1" << false;
    QTest::newRow("klasse-aufzählung") << "y"
                                       << "[xyz]" << true;
    QTest::newRow("prozent-in-klasse") << "50%"
                                       << "50[%]" << true;
    QTest::newRow("prozent-in-klasse-literal") << "50x"
                                               << "50[%]" << false;
    QTest::newRow("offene-klammer-literal") << "a[b"
                                            << "a[b" << true;
    QTest::newRow("offene-klammer-nicht-x") << "axb"
                                            << "a[b" << false;
    QTest::newRow("schliessende-klammer") << "a]b"
                                          << "a]b" << true;
    QTest::newRow("zurückgehen") << "abcabd"
                                 << "%abd" << true;
    QTest::newRow("mehrere-sterne") << "Kunde anlegen"
                                    << "%und%leg%" << true;
    QTest::newRow("mehrere-sterne-falsch") << "Kunde anlegen"
                                           << "%leg%und%" << false;
    QTest::newRow("bindestrich-am-ende") << "-"
                                         << "[a-]" << true;
    QTest::newRow("ausrufezeichen-allein") << "!"
                                           << "[!]" << true;
}

void TestSqlDialekt::like()
{
    QFETCH(QString, text);
    QFETCH(QString, muster);
    QFETCH(bool, passt);
    QCOMPARE(SqlDialekt::passt(text, muster), passt);
}

static sqlite3 *offeneVerbindung()
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(":memory:", &db) != SQLITE_OK)
        return nullptr;
    if (SqlDialekt::registrieren(db) != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    return db;
}

static QStringList spalte(sqlite3 *db, const char *sql)
{
    QStringList werte;
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
        werte << QStringLiteral("FEHLER: ") + QString::fromUtf8(sqlite3_errmsg(db));
        return werte;
    }
    while (sqlite3_step(st) == SQLITE_ROW)
        werte << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return werte;
}

void TestSqlDialekt::likeInSql_data()
{
    QTest::addColumn<QString>("ausdruck");
    QTest::addColumn<QString>("ergebnis");
    // The patterns reach LIKE through SQL literals, so the doubled quote becomes one.
    QTest::newRow("quote") << "'O''Neil' LIKE 'O['']Neil'"
                           << "1";
    QTest::newRow("gross-umlaut") << "'ÖL' LIKE '%öl%'"
                                  << "1";
    QTest::newRow("kein-treffer") << "'Öl' LIKE 'ol'"
                                  << "0";
    QTest::newRow("null") << "NULL LIKE 'a'"
                          << "";
    QTest::newRow("muster-null") << "'a' LIKE NULL"
                                 << "";
}

void TestSqlDialekt::likeInSql()
{
    QFETCH(QString, ausdruck);
    QFETCH(QString, ergebnis);
    sqlite3 *db = offeneVerbindung();
    QVERIFY(db);
    const QByteArray sql = ("SELECT " + ausdruck).toUtf8();
    const QStringList werte = spalte(db, sql.constData());
    sqlite3_close(db);
    QCOMPARE(werte, QStringList{ergebnis});
}

void TestSqlDialekt::vergleichen_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("vorzeichen");

    QTest::newRow("klein-vor-Z") << "angebot"
                                 << "Zahlung" << -1;
    QTest::newRow("Z-nach-klein") << "Zahlung"
                                  << "angebot" << 1;
    QTest::newRow("umlaut-neben-basis") << "Ärger"
                                        << "Bank" << -1;
    QTest::newRow("umlaut-nach-basis") << "Arger"
                                       << "Ärger" << -1;
    QTest::newRow("umlaut-vor-folgebuchstabe") << "Ärger"
                                               << "Arh" << -1;
    QTest::newRow("ö") << "Öl"
                       << "Ol" << 1;
    QTest::newRow("ö-vor-p") << "Öl"
                             << "Pol" << -1;
    QTest::newRow("ü") << "Übersicht"
                       << "Uhr" << -1;
    QTest::newRow("ß-als-ss") << "Straße"
                              << "Strasse" << 1;
    QTest::newRow("ß-vor-st") << "Straße"
                              << "Strast" << -1;
    QTest::newRow("klein-vor-gross") << "kunde"
                                     << "Kunde" << -1;
    QTest::newRow("gleich") << "Kunde"
                            << "Kunde" << 0;
    QTest::newRow("präfix") << "Kunde"
                            << "Kunden" << -1;
    QTest::newRow("leer") << ""
                          << "a" << -1;
    QTest::newRow("ziffern") << "1"
                             << "a" << -1;
    QTest::newRow("akzent-vor-gross") << "Äb"
                                      << "äc" << -1;
}

void TestSqlDialekt::vergleichen()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, vorzeichen);
    const int r = SqlDialekt::vergleichen(a, b);
    QCOMPARE((r > 0) - (r < 0), vorzeichen);
    const int umgekehrt = SqlDialekt::vergleichen(b, a);
    QCOMPARE((umgekehrt > 0) - (umgekehrt < 0), -vorzeichen);
}

void TestSqlDialekt::sortierungInSql()
{
    sqlite3 *db = offeneVerbindung();
    QVERIFY(db);
    QCOMPARE(sqlite3_exec(db,
                          "CREATE TABLE w (Wort TEXT COLLATE DEUTSCH);"
                          "INSERT INTO w VALUES ('Zahlung'),('angebot'),('Übersicht'),"
                          "('Umsatz'),('ändern'),('Bank'),('ausgabe');",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    const QStringList werte = spalte(db, "SELECT Wort FROM w ORDER BY Wort");
    sqlite3_close(db);
    QCOMPARE(werte, (QStringList{"ändern", "angebot", "ausgabe", "Bank", "Übersicht", "Umsatz",
                                 "Zahlung"}));
}

void TestSqlDialekt::fremdeSortierungBleibtLesbar()
{
    // A file whose columns name a collation nobody registered is still read, and sorted
    // the German way.
    sqlite3 *db = offeneVerbindung();
    QVERIFY(db);
    QCOMPARE(sqlite3_exec(db,
                          "CREATE TABLE w (Wort TEXT COLLATE GERMAN_CI);"
                          "INSERT INTO w VALUES ('Zahlung'),('angebot');",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    const QStringList werte = spalte(db, "SELECT Wort FROM w ORDER BY Wort");
    sqlite3_close(db);
    QCOMPARE(werte, (QStringList{"angebot", "Zahlung"}));
}

QTEST_GUILESS_MAIN(TestSqlDialekt)
#include "tst_sqldialekt.moc"
