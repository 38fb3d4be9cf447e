// The LIKE comparison and the German sort order, as plain functions and as SQL.
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
    void sortierungInSql_data();
    void sortierungInSql();
};

void TestSqlDialekt::like_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("muster");
    QTest::addColumn<bool>("passt");

    const auto zeile = [](const char *name, const QString &text, const QString &muster,
                          bool passt) { QTest::newRow(name) << text << muster << passt; };
    zeile("enthält", "Kundenstamm", "%kunde%", true);
    zeile("großklein", "KUNDE", "kunde", true);
    zeile("umlaut-gross", "ÄNDERUNG", "%änderung%", true);
    zeile("umlaut-ist-nicht-basis", "Anderung", "Änderung", false);
    zeile("ß", "Straße", "STRAßE", true);
    zeile("anfang", "Kunde", "Kunde%", true);
    zeile("anfang-falsch", "Altkunde", "Kunde%", false);
    zeile("unterstrich", "Mahnung", "Ma_nung", true);
    zeile("unterstrich-genau-eins", "Manung", "Ma_nung", false);
    zeile("nur-prozent", "irgendwas", "%", true);
    zeile("leer-leer", "", "", true);
    zeile("leer-gegen-text", "a", "", false);
    zeile("bindestrich-klasse", "Soll-Ist", "%Soll[-]Ist%", true);
    zeile("bereich", "b1", "[a-c]1", true);
    zeile("bereich-gross", "B1", "[a-c]1", true);
    zeile("bereich-aussen", "d1", "[a-c]1", false);
    zeile("negiert", "d1", "[!a-c]1", true);
    zeile("negiert-innen", "b1", "[!a-c]1", false);
    zeile("prozent-in-klasse", "50%", "50[%]", true);
    zeile("prozent-in-klasse-literal", "50x", "50[%]", false);
    zeile("offene-klammer-literal", "a[b", "a[b", true);
    zeile("offene-klammer-nicht-x", "axb", "a[b", false);
    zeile("zurückgehen", "abcabd", "%abd", true);
    zeile("mehrere-sterne", "Kunde anlegen", "%und%leg%", true);
    zeile("bindestrich-am-ende", "-", "[a-]", true);
    zeile("ausrufezeichen-allein", "!", "[!]", true);
}

void TestSqlDialekt::like()
{
    QFETCH(QString, text);
    QFETCH(QString, muster);
    QFETCH(bool, passt);
    QCOMPARE(SqlDialekt::passt(text, muster), passt);
}

// An in-memory connection with the dialect registered; null when that failed.
static sqlite3 *offeneVerbindung()
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(":memory:", &db) == SQLITE_OK && SqlDialekt::registrieren(db) == SQLITE_OK)
        return db;
    sqlite3_close(db);
    return nullptr;
}

static QStringList spalte(sqlite3 *db, const char *sql)
{
    QStringList werte;
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
        return {QStringLiteral("FEHLER: ") + QString::fromUtf8(sqlite3_errmsg(db))};
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
    QTest::newRow("quote") << "'O''Neil' LIKE 'O['']Neil'" << "1";
    QTest::newRow("gross-umlaut") << "'ÖL' LIKE '%öl%'" << "1";
    QTest::newRow("kein-treffer") << "'Öl' LIKE 'ol'" << "0";
    QTest::newRow("null") << "NULL LIKE 'a'" << "";
    QTest::newRow("muster-null") << "'a' LIKE NULL" << "";
}

void TestSqlDialekt::likeInSql()
{
    QFETCH(QString, ausdruck);
    QFETCH(QString, ergebnis);
    sqlite3 *db = offeneVerbindung();
    QVERIFY(db);
    const QStringList werte = spalte(db, ("SELECT " + ausdruck).toUtf8().constData());
    sqlite3_close(db);
    QCOMPARE(werte, QStringList{ergebnis});
}

void TestSqlDialekt::vergleichen_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("vorzeichen");

    const auto zeile = [](const char *name, const QString &a, const QString &b, int vorzeichen) {
        QTest::newRow(name) << a << b << vorzeichen;
    };
    zeile("klein-vor-Z", "angebot", "Zahlung", -1);
    zeile("umlaut-neben-basis", "Ärger", "Bank", -1);
    zeile("umlaut-nach-basis", "Arger", "Ärger", -1);
    zeile("umlaut-vor-folgebuchstabe", "Ärger", "Arh", -1);
    zeile("ö", "Öl", "Ol", 1);
    zeile("ö-vor-p", "Öl", "Pol", -1);
    zeile("ü", "Übersicht", "Uhr", -1);
    zeile("ß-als-ss", "Straße", "Strasse", 1);
    zeile("ß-vor-st", "Straße", "Strast", -1);
    zeile("klein-vor-gross", "kunde", "Kunde", -1);
    zeile("gleich", "Kunde", "Kunde", 0);
    zeile("präfix", "Kunde", "Kunden", -1);
    zeile("leer", "", "a", -1);
    zeile("ziffern", "1", "a", -1);
    zeile("akzent-vor-gross", "Äb", "äc", -1);
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

// A file whose column names a collation nobody registered is still read, and sorted the German way.
void TestSqlDialekt::sortierungInSql_data()
{
    QTest::addColumn<QByteArray>("sortierung");
    QTest::newRow("deutsch") << QByteArray("DEUTSCH");
    QTest::newRow("fremd") << QByteArray("GERMAN_CI");
}

void TestSqlDialekt::sortierungInSql()
{
    QFETCH(QByteArray, sortierung);
    sqlite3 *db = offeneVerbindung();
    QVERIFY(db);
    const QByteArray sql = "CREATE TABLE w (Wort TEXT COLLATE " + sortierung +
                           ");INSERT INTO w VALUES ('Zahlung'),('angebot'),('Übersicht'),"
                           "('Umsatz'),('ändern'),('Bank'),('ausgabe');";
    QCOMPARE(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    const QStringList werte = spalte(db, "SELECT Wort FROM w ORDER BY Wort");
    sqlite3_close(db);
    QCOMPARE(werte, (QStringList{"ändern", "angebot", "ausgabe", "Bank", "Übersicht", "Umsatz",
                                 "Zahlung"}));
}

QTEST_GUILESS_MAIN(TestSqlDialekt)
#include "tst_sqldialekt.moc"
