// The scroll list: display lines split into cells, the IDs kept with the rows, clearing, count
// and current row, rows collected while the screen update is off and announced in one step,
// column widths in twips and alignment, the activation by double click and Enter, and the keys
// in a focus chain: Tab and Shift+Tab leave the grid, arrows move within it.
#include "TolvarScrollListe.h"

#include "Arbeitsbereich.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

class TestTolvarScrollListe : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void zellen_data();
    void zellen();
    void zeilen();
    void bildschirmAktualisierung();
    void spalten();
    void aktivieren_data();
    void aktivieren();
    void tasten_data();
    void tasten();

private:
    FesterArbeitsbereich m_bereich{QRect(0, 0, 1200, 900), 15.0, 15.0};
};

void TestTolvarScrollListe::initTestCase()
{
    setzeArbeitsbereich(&m_bereich);
}

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

void TestTolvarScrollListe::spalten()
{
    TolvarScrollListe s;
    s.setSpalten(3);
    s.setSpaltenBreite(0, 2505);
    s.setSpaltenBreite(1, 1005);
    s.setUeberschrift(0, QStringLiteral("Thema"));
    s.setUeberschrift(2, QStringLiteral("Überschrift"));
    s.setAusrichtung(1, 1);
    s.setAusrichtung(2, 8);
    s.setUeberschrift(3, QStringLiteral("gibt es nicht")); // ignored
    QCOMPARE(s.Spalten(), 3);
    QCOMPARE(s.ansicht()->horizontalHeader()->sectionSize(0), 167); // 2505 / 15
    QCOMPARE(s.ansicht()->horizontalHeader()->sectionSize(1), 67);
    QCOMPARE(s.SpaltenBreite(0), 2505.0);
    QAbstractItemModel *m = s.ansicht()->model();
    QCOMPARE(m->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Überschrift"));
    s.ZeileHinzufuegen(QStringLiteral("a\tb\tc"), 1);
    const auto ausrichtung = [m](int c) {
        return m->index(0, c).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    };
    QCOMPARE(ausrichtung(1), Qt::AlignLeft | Qt::AlignVCenter);
    QCOMPARE(ausrichtung(2), Qt::AlignRight | Qt::AlignBottom);
    QCOMPARE(ausrichtung(0), Qt::AlignLeft | Qt::AlignTop);
    // Every row has the height of the grid's font, also after the font changed.
    QFont klein = s.font();
    klein.setPixelSize(11);
    s.setFont(klein);
    QCOMPARE(s.ansicht()->rowHeight(0), QFontMetrics(klein).height() + 4);
    // More columns later keep the widths already set.
    s.setSpalten(4);
    QCOMPARE(s.ansicht()->horizontalHeader()->sectionSize(0), 167);
    QCOMPARE(s.Ueberschrift(0), QStringLiteral("Thema"));
}

void TestTolvarScrollListe::aktivieren_data()
{
    QTest::addColumn<QString>("aktion"); // "doppel" row | "doppelLeer" | "enter"
    QTest::addColumn<int>("zeilen");
    QTest::addColumn<int>("zeile");
    QTest::addColumn<int>("erwartet"); // activated row, -1 for none

    QTest::newRow("Doppelklick erste") << "doppel" << 5 << 0 << 0;
    QTest::newRow("Doppelklick dritte") << "doppel" << 5 << 2 << 2;
    QTest::newRow("Doppelklick unter den Zeilen") << "doppelLeer" << 2 << 0 << -1;
    QTest::newRow("Enter erste") << "enter" << 5 << 0 << 0;
    QTest::newRow("Enter vierte") << "enter" << 5 << 3 << 3;
    QTest::newRow("Enter leer") << "enter" << 0 << 0 << -1;
}

void TestTolvarScrollListe::aktivieren()
{
    QFETCH(QString, aktion);
    QFETCH(int, zeilen);
    QFETCH(int, zeile);
    QFETCH(int, erwartet);

    QWidget fenster;
    fenster.resize(400, 300);
    TolvarScrollListe s(&fenster);
    s.setGeometry(0, 0, 400, 300);
    s.setSpalten(3);
    for (int i = 0; i < zeilen; ++i)
        s.ZeileHinzufuegen(QStringLiteral("Zeile %1\tK\tT").arg(i), 100 + i);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    QSignalSpy aktiviert(&s, &TolvarScrollListe::ZeileAktiviert);

    QTableView *v = s.ansicht();
    if (aktion == QLatin1String("enter")) {
        s.setAktuelleZeile(zeile);
        v->setFocus();
        // Enter is taken by the grid: the window around it does not see it.
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(v, &enter);
        QCOMPARE(enter.isAccepted(), erwartet >= 0);
    } else {
        QPoint p;
        if (aktion == QLatin1String("doppel")) {
            p = v->visualRect(v->model()->index(zeile, 0)).center();
        } else {
            p = QPoint(10, v->viewport()->height() - 5);
            QVERIFY(!v->indexAt(p).isValid());
        }
        QTest::mouseDClick(v->viewport(), Qt::LeftButton, Qt::NoModifier, p);
    }
    if (erwartet < 0) {
        QCOMPARE(aktiviert.count(), 0);
    } else {
        QCOMPARE(aktiviert.count(), 1);
        QCOMPARE(aktiviert.at(0).at(0).toInt(), erwartet);
        QCOMPARE(s.AktuelleZeile(), erwartet);
        QCOMPARE(s.ZeilenID(erwartet), 100 + erwartet);
    }
}

void TestTolvarScrollListe::tasten_data()
{
    QTest::addColumn<int>("taste");
    QTest::addColumn<int>("umschalt"); // 1: with Shift
    QTest::addColumn<int>("startSpalte");
    QTest::addColumn<QString>("fokus"); // object name of the widget with the focus afterwards
    QTest::addColumn<int>("zeile");     // current row afterwards
    QTest::addColumn<int>("spalte");    // current column afterwards

    // Rows 0..4, the grid starts on row 2.
    QTest::newRow("Tab verlässt das Raster") << int(Qt::Key_Tab) << 0 << 0 << "danach" << 2 << 0;
    QTest::newRow("Tab aus der mittleren Spalte")
        << int(Qt::Key_Tab) << 0 << 1 << "danach" << 2 << 1;
    QTest::newRow("Tab aus der letzten Spalte") << int(Qt::Key_Tab) << 0 << 2 << "danach" << 2 << 2;
    QTest::newRow("Umschalt+Tab zurück") << int(Qt::Key_Backtab) << 1 << 1 << "davor" << 2 << 1;
    QTest::newRow("Umschalt+Tab aus der ersten Spalte")
        << int(Qt::Key_Tab) << 1 << 0 << "davor" << 2 << 0;
    QTest::newRow("Pfeil ab") << int(Qt::Key_Down) << 0 << 0 << "ansicht" << 3 << 0;
    QTest::newRow("Pfeil auf") << int(Qt::Key_Up) << 0 << 0 << "ansicht" << 1 << 0;
    QTest::newRow("Pfeil rechts") << int(Qt::Key_Right) << 0 << 0 << "ansicht" << 2 << 1;
    QTest::newRow("Pfeil links") << int(Qt::Key_Left) << 0 << 2 << "ansicht" << 2 << 1;
}

void TestTolvarScrollListe::tasten()
{
    QFETCH(int, taste);
    QFETCH(int, umschalt);
    QFETCH(int, startSpalte);
    QFETCH(QString, fokus);
    QFETCH(int, zeile);
    QFETCH(int, spalte);

    // The grid between two other controls of a top-level window, as in a dialog.
    QWidget fenster;
    fenster.resize(400, 300);
    auto *davor = new QLineEdit(&fenster);
    davor->setObjectName(QStringLiteral("davor"));
    davor->setGeometry(0, 0, 400, 24);
    auto *s = new TolvarScrollListe(&fenster);
    s->setGeometry(0, 30, 400, 200);
    s->setSpalten(3);
    for (int i = 0; i < 5; ++i)
        s->ZeileHinzufuegen(QStringLiteral("Zeile %1\tK\tT").arg(i), i);
    auto *danach = new QPushButton(QStringLiteral("danach"), &fenster);
    danach->setObjectName(QStringLiteral("danach"));
    danach->setGeometry(0, 240, 100, 24);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowActive(&fenster));

    QTableView *v = s->ansicht();
    v->setCurrentIndex(v->model()->index(2, startSpalte));
    s->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), v);

    QTest::keyClick(v, Qt::Key(taste), umschalt ? Qt::ShiftModifier : Qt::NoModifier);
    QVERIFY(QApplication::focusWidget());
    QCOMPARE(QApplication::focusWidget()->objectName(), fokus);
    QCOMPARE(v->currentIndex().row(), zeile);
    QCOMPARE(v->currentIndex().column(), spalte);
    QCOMPARE(s->AktuelleZeile(), zeile);
}

QTEST_MAIN(TestTolvarScrollListe)
#include "tst_tolvarscrollliste.moc"
