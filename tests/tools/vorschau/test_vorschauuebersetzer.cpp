// The preview's repeated compiles of one source folder: a run after an edit draws only the
// pictures that changed and gives the same database as a full compile; a run over unchanged
// sources writes nothing; a run with an error leaves the last good database as it was.
#include "DatenbankAnsicht.h"
#include "DatenbankVergleich.h"
#include "HilfeCompiler.h"
#include "TestHilfen.h"
#include "VorschauUebersetzer.h"

#include <QtTest>

class TestVorschauUebersetzer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void nacheinander();
};

namespace {

const char *const kapitel1 = "= 1 | K\n== 1 | T\n=== 1 | Eins\nSiehe [[Bild 1|Maske]] und "
                             "[[Bild 2|Andere]].\n";
const char *const kapitel2 = "= 2 | L\n== 1 | U\n=== 1 | Zwei\nText {{Produkt}}.\n";

QString meldungen(const VorschauUebersetzer::Lauf &l)
{
    QStringList m;
    for (const QuellFehler &f : l.meldungen)
        m << f.alsText();
    return m.join('\n');
}

QString titelVon(const QString &db, const QString &nummer)
{
    QString titel, text;
    return DatenbankAnsicht::abschnitt(db, nummer, titel, text) ? titel : QStringLiteral("?");
}

} // namespace

void TestVorschauUebersetzer::nacheinander()
{
    QTemporaryDir dir;
    const QString q = dir.filePath("q");
    dateiSchreiben(q + "/kapitel/01.txt", kapitel1);
    dateiSchreiben(q + "/kapitel/02.txt", kapitel2);
    dateiSchreiben(q + "/variablen.txt", "Produkt = Belna\n");
    dateiSchreiben(q + "/bilder/00001-a.maske", "Titel: A\nGröße: 200 x 130\nText: {{Produkt}}\n");
    dateiSchreiben(q + "/bilder/00002-b.maske", "Titel: B\nGröße: 200 x 130\nText: b\n");
    const QString db = dir.filePath("v.mdb");
    VorschauUebersetzer u(q, db);

    VorschauUebersetzer::Lauf l = u.uebersetzen();
    QVERIFY2(l.geschrieben, qPrintable(meldungen(l)));
    QCOMPARE(l.bilderGezeichnet, 2);
    QVERIFY(u.uebersetzen().unveraendert);

    // A changed variable draws the picture that uses it; the other comes from the store.
    QTest::qWait(20); // a newer time stamp for the file changed last
    dateiSchreiben(q + "/variablen.txt", "Produkt = Tolvar\n");
    dateiSchreiben(q + "/kapitel/01.txt", QByteArray(kapitel1).replace("Eins", "Erster"));
    l = u.uebersetzen();
    QVERIFY2(l.geschrieben, qPrintable(meldungen(l)));
    QCOMPARE(l.bilderGezeichnet, 1);
    QCOMPARE(l.bilderWiederverwendet, 1);
    QCOMPARE(l.zuletztBearbeitet, QString("01.01.01"));
    QCOMPARE(titelVon(db, "01.01.01"), QString("Erster"));
    QStringList meldungen;
    QVERIFY(HilfeCompiler::erstellen(q, dir.filePath("voll.mdb"), meldungen));
    DatenbankVergleich::Ergebnis e;
    QVERIFY(DatenbankVergleich::vergleichen(db, dir.filePath("voll.mdb"), e));
    QVERIFY2(e.unterschiede.isEmpty(), qPrintable(e.unterschiede.join('\n')));

    // An error: reported with its place, the database stays the last good one.
    const QByteArray vorher = dateiLesen(db);
    dateiSchreiben(q + "/kapitel/02.txt", QByteArray(kapitel2) + "**offen\n");
    l = u.uebersetzen();
    QVERIFY(!l.geschrieben);
    QCOMPARE(l.fehler, 1);
    QVERIFY(l.meldungen.first().alsText().startsWith("kapitel/02.txt:5: "));
    QCOMPARE(dateiLesen(db), vorher);
    QVERIFY(u.uebersetzen().unveraendert);
}

QTEST_MAIN(TestVorschauUebersetzer)
#include "test_vorschauuebersetzer.moc"
