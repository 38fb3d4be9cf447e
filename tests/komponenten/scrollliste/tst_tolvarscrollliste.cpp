// The scroll list: display lines split into cells, the IDs kept with the rows, clearing, count
// and current row, rows collected while the screen update is off and announced in one step.
// Column layout, activation and keys are seen through the search window's tests.
#include "TolvarScrollListe.h"

#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

class TestTolvarScrollListe : public QObject
{
    Q_OBJECT

private slots:
    void zellen_data();
    void zellen();
    void zeilen();
    void bildschirmAktualisierung();
};

void TestTolvarScrollListe::zellen_data()
{
    QTest::addColumn<int>("spalten");
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<QStringList>("erwartet");

    QTest::newRow("drei Felder") << 3 << "Abschnitt\tKapitel\tThema"
                                 << QStringList{"Abschnitt", "Kapitel", "Thema"};
    QTest::newRow("ohne Titel") << 3 << "\tKapitel\tThema" << QStringList{"", "Kapitel", "Thema"};
    QTest::newRow("leere Mitte") << 3 << "A\t\tC" << QStringList{"A", "", "C"};
    QTest::newRow("Tab am Ende") << 3 << "A\tB\t" << QStringList{"A", "B", ""};
    QTest::newRow("zu wenige") << 3 << "nur eins" << QStringList{"nur eins", "", ""};
    QTest::newRow("leere Zeile") << 3 << "" << QStringList{"", "", ""};
    QTest::newRow("zu viele") << 2 << "A\tB\tC\tD" << QStringList{"A", "B"};
    QTest::newRow("nur Tabs") << 3 << "\t\t" << QStringList{"", "", ""};
    QTest::newRow("Umlaute") << 3 << "Größe\tÜberblick\tß"
                             << QStringList{"Größe", "Überblick", "ß"};
}

void TestTolvarScrollListe::zellen()
{
    QFETCH(int, spalten);
    QFETCH(QString, zeile);
    QFETCH(QStringList, erwartet);

    TolvarScrollListe s;
    s.setSpalten(spalten);
    s.ZeileHinzufuegen(QStringLiteral("davor\tx\ty"), 1);
    s.ZeileHinzufuegen(zeile, 2);
    s.ZeileHinzufuegen(QStringLiteral("danach\tx\ty"), 3);
    QCOMPARE(s.Anzahl(), 3);
    QStringList zellen;
    for (int c = 0; c < spalten; ++c) {
        zellen << s.Zelle(1, c);
        // What the view shows is what the grid holds.
        QCOMPARE(s.ansicht()->model()->index(1, c).data().toString(), s.Zelle(1, c));
    }
    QCOMPARE(zellen, erwartet);
    // The neighbours are not disturbed by an odd line.
    QCOMPARE(s.Zelle(0, 0), QStringLiteral("davor"));
    QCOMPARE(s.Zelle(2, 0), QStringLiteral("danach"));
    QCOMPARE(s.Zelle(2, spalten - 1), spalten == 2 ? QStringLiteral("x") : QStringLiteral("y"));
}

// IDs, count and current row, before and after clearing.
void TestTolvarScrollListe::zeilen()
{
    TolvarScrollListe s;
    s.setSpalten(3);
    QCOMPARE(s.Anzahl(), 0);
    QCOMPARE(s.AktuelleZeile(), -1);
    const qint32 ids[] = {7, -1, 2147483647, 7};
    for (qint32 id : ids)
        s.ZeileHinzufuegen(QStringLiteral("a\tb\tc"), id);
    QCOMPARE(s.Anzahl(), 4);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(s.ZeilenID(i), ids[i]);
    QCOMPARE(s.ZeilenID(4), 0);
    QCOMPARE(s.ZeilenID(-1), 0);
    QCOMPARE(s.Zelle(4, 0), QString());
    // A filled grid has a current row without any click; one beyond the rows is not taken.
    QCOMPARE(s.AktuelleZeile(), 0);
    s.setAktuelleZeile(3);
    QCOMPARE(s.AktuelleZeile(), 3);
    s.setAktuelleZeile(4);
    QCOMPARE(s.AktuelleZeile(), 3);
    s.setAktuelleZeile(-1);
    QCOMPARE(s.AktuelleZeile(), 3);

    s.Leeren();
    QCOMPARE(s.Anzahl(), 0);
    QCOMPARE(s.ansicht()->model()->rowCount(), 0);
    QCOMPARE(s.AktuelleZeile(), -1);
    QCOMPARE(s.ZeilenID(0), 0);
    // Filled again after clearing, the rows start at 0.
    s.ZeileHinzufuegen(QStringLiteral("neu"), 99);
    QCOMPARE(s.Anzahl(), 1);
    QCOMPARE(s.ZeilenID(0), 99);
    QCOMPARE(s.Zelle(0, 0), QStringLiteral("neu"));
}

void TestTolvarScrollListe::bildschirmAktualisierung()
{
    TolvarScrollListe s;
    s.setSpalten(3);
    QAbstractItemModel *m = s.ansicht()->model();
    QSignalSpy eingefuegt(m, &QAbstractItemModel::rowsInserted);

    s.setBildschirmAktualisierung(false);
    QVERIFY(!s.BildschirmAktualisierung());
    for (int i = 0; i < 20000; ++i)
        s.ZeileHinzufuegen(QStringLiteral("A%1\tB\tC").arg(i), i + 1);
    // Counted and readable at once, but the view has not been told yet.
    QCOMPARE(s.Anzahl(), 20000);
    QCOMPARE(s.Zelle(19999, 0), QStringLiteral("A19999"));
    QCOMPARE(m->rowCount(), 0);
    QCOMPARE(eingefuegt.count(), 0);

    s.setBildschirmAktualisierung(true);
    QCOMPARE(m->rowCount(), 20000);
    QCOMPARE(eingefuegt.count(), 1);
    QCOMPARE(eingefuegt.at(0).at(1).toInt(), 0);
    QCOMPARE(eingefuegt.at(0).at(2).toInt(), 19999);
    QCOMPARE(s.AktuelleZeile(), 0);

    // With updates on, every row is announced as it comes.
    s.ZeileHinzufuegen(QStringLiteral("noch eine"), 5);
    QCOMPARE(m->rowCount(), 20001);
    QCOMPARE(eingefuegt.count(), 2);
    // Switching on with nothing new announces nothing.
    s.setBildschirmAktualisierung(false);
    s.setBildschirmAktualisierung(true);
    QCOMPARE(eingefuegt.count(), 2);
}

QTEST_MAIN(TestTolvarScrollListe)
#include "tst_tolvarscrollliste.moc"
