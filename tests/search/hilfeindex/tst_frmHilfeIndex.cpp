// The keyword pane offscreen beside the help window, on a small test database: opening by the
// toolbar's search button with its geometry and captions, typing that empties the lists, the
// search on the button and on Enter (a match selects the first keyword and fills the grid, no
// match shows one message), showing a text by button, Enter and double click with the history
// leading back, the default button following the focus, Tab and the arrow keys on the grid of
// texts (Tab leaves it along the pane's tab order), closing that keeps the content,
// unloading with the help window that forgets it, and the layout after resizing the frame.
#include "TestHilfen.h"
#include "frmHilfeIndex.h"

#include "Datenbank.h"
#include "Fehler.h"
#include "Global.h"
#include "HilfeDatenbankSchreiber.h"
#include "HilfeUmgebung.h"
#include "Mauszeiger.h"
#include "MeldungSkript.h"
#include "StichwortListe.h"
#include "HilfeDatenbank.h"
#include "TolvarScrollListe.h"
#include "TolvarTextBox.h"
#include "frmHilfe.h"
#include "frmInhalt.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <QTextEdit>

namespace {

QStringList eintraege(const StichwortListe *l)
{
    QStringList s;
    for (int i = 0; i < l->ListCount(); ++i)
        s << l->List(i);
    return s;
}

QStringList zeilen(const TolvarScrollListe *g)
{
    QStringList s;
    for (int r = 0; r < g->Anzahl(); ++r)
        s << g->Zelle(r, 0) + u'|' + g->Zelle(r, 1) + u'|' + g->Zelle(r, 2);
    return s;
}

} // namespace

class tst_frmHilfeIndex : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void oeffnenGeometrie();
    void tippenLeert();
    void suchen_data();
    void suchen();
    void anzeigen_data();
    void anzeigen();
    void standardKnopf();
    void tastenImRaster_data();
    void tastenImRaster();
    void datenbankfehler_data();
    void datenbankfehler();
    void schliessenBehaeltInhalt_data();
    void schliessenBehaeltInhalt();
    void entladenVergisst_data();
    void entladenVergisst();
    void groesseAendern();

private:
    frmHilfeIndex *oeffnen();
    void suche(frmHilfeIndex *f, const QString &text);
    HilfeUmgebung m_u;
};

void tst_frmHilfeIndex::initTestCase()
{
    QVERIFY(m_u.einrichten());
    HilfeDatenbankSchreiber s;
    QVERIFY(m_u.schreiben(s));
    const qint32 k1 = s.kapitelEinfuegen(1, QStringLiteral("Grundlagen"), 1);
    const qint32 t11 = s.themaEinfuegen(k1, 1, QStringLiteral("Start"), 1);
    const qint32 a1 =
        s.textEinfuegen(t11, 1, QStringLiteral("Willkommen"), rtfAbsatz("Text 1.1.1"), 1);
    const qint32 a2 =
        s.textEinfuegen(t11, 2, QStringLiteral("Mahnung"), rtfAbsatz("Text 1.1.2"), 2);
    const qint32 k2 = s.kapitelEinfuegen(2, QStringLiteral("Belege"), 2);
    const qint32 t21 = s.themaEinfuegen(k2, 1, QStringLiteral("Rechnungen"), 1);
    s.textEinfuegen(t21, 1, QStringLiteral("Erfassen"), rtfAbsatz("Text 2.1.1"), 1);
    const qint32 b4 =
        s.textEinfuegen(t21, 4, QStringLiteral("Angebot"), rtfAbsatz("Text 2.1.4"), 2);
    const qint32 t23 = s.themaEinfuegen(k2, 3, QStringLiteral("Zahlungen"), 2);
    const qint32 c12 =
        s.textEinfuegen(t23, 12, QStringLiteral("Zahlung"), rtfAbsatz("Text 2.3.12"), 1);
    const qint32 ohne = s.textEinfuegen(t23, 13, QString(), rtfAbsatz("Text 2.3.13"), 2);

    // "Rechnung" leads to three texts (listed by section title), "Rechnungsdruck" to one,
    // "Kunde" to none, "Doppelt" twice to the same text, "O'Neil" to the text without title.
    const qint32 rechnung = s.wortEinfuegen(QStringLiteral("Rechnung"));
    s.zuordnungEinfuegen(rechnung, c12);
    s.zuordnungEinfuegen(rechnung, b4);
    s.zuordnungEinfuegen(rechnung, a2);
    s.zuordnungEinfuegen(s.wortEinfuegen(QStringLiteral("Rechnungsdruck")), a1);
    s.wortEinfuegen(QStringLiteral("Kunde"));
    const qint32 doppelt = s.wortEinfuegen(QStringLiteral("Doppelt"));
    s.zuordnungEinfuegen(doppelt, b4);
    s.zuordnungEinfuegen(doppelt, b4);
    s.zuordnungEinfuegen(s.wortEinfuegen(QStringLiteral("O'Neil")), ohne);
    QString fehler;
    QVERIFY2(s.abschliessen(&fehler), qPrintable(fehler));
    setzeProgrammVerzeichnis(m_u.dir.path());
}

void tst_frmHilfeIndex::init()
{
    m_u.zuruecksetzen();
}

void tst_frmHilfeIndex::cleanup()
{
    QVERIFY(HilfeUmgebung::entladen());
    QVERIFY(!frmHilfeIndex::instanz(false));
}

// Opens the help at 01.01.01 in a frame of 900 x 700 pixels and presses the search button.
frmHilfeIndex *tst_frmHilfeIndex::oeffnen()
{
    frmHilfe *h = frmHilfe::instanz();
    frmHilfeIndex::verbinden(h);
    frmInhalt *r = frmInhalt::instanz();
    r->resize(900, 700);
    r->show();
    if (!QTest::qWaitForWindowActive(r))
        return nullptr;
    bool klein = false;
    if (!h->DatenEinlesen(QStringLiteral("01.01.01"), klein))
        return nullptr;
    h->show();
    r->Button(frmInhalt::ButtonSuchen)->trigger();
    return frmHilfeIndex::instanz(false);
}

void tst_frmHilfeIndex::suche(frmHilfeIndex *f, const QString &text)
{
    f->txtSuchen()->SetFocus();
    f->txtSuchen()->selectAll();
    QTest::keyClicks(f->txtSuchen(), text);
    QTest::keyClick(f->txtSuchen(), Qt::Key_Return);
}

void tst_frmHilfeIndex::oeffnenGeometrie()
{
    frmHilfeIndex *f = oeffnen();
    QVERIFY(f);
    frmInhalt *r = frmInhalt::instanz();
    frmHilfe *h = frmHilfe::instanz();
    frmHilfeIndex::verbinden(h);
    QVERIFY(f->isVisible());
    QVERIFY(gbStichwortSuche);
    QCOMPARE(f->parentWidget(), r->clientBereich());
    QCOMPARE(f->windowTitle(), QStringLiteral("Stichwort Suchen"));

    // The strip of 4200 twips (280 pixels) at the left, the help window beside it.
    const int hoehe = r->clientBereich()->height();
    QCOMPARE(f->geometry(), QRect(0, 0, 280, hoehe));
    QCOMPARE(h->geometry(), QRect(280, 0, 900 - 280, hoehe));

    // The state of a new pane.
    QVERIFY(!f->cmdSuchen()->isEnabled());
    QCOMPARE(f->txtSuchen()->Text(), QString());
    QCOMPARE(f->lstWoerter()->ListCount(), 0);
    QCOMPARE(f->scr()->Anzahl(), 0);
    QTRY_VERIFY(f->txtSuchen()->hasFocus());
    QCOMPARE(f->standardKnopf(), f->cmdSuchen());
    QVERIFY(f->cmdSuchen()->isDefault());

    // Grid columns as designed.
    QCOMPARE(f->scr()->Spalten(), 3);
    const QStringList ueberschriften{"Thema", "Kapitel", "Überschrift"};
    const int breiten[] = {167, 67, 67}; // 2505, 1005, 1005 twips
    for (int c = 0; c < 3; ++c) {
        QCOMPARE(f->scr()->Ueberschrift(c), ueberschriften.at(c));
        QCOMPARE(f->scr()->ansicht()->horizontalHeader()->sectionSize(c), breiten[c]);
        QCOMPARE(f->scr()->Ausrichtung(c), 1);
    }

    // Controls laid out for the strip: inner width 4200, inner height from the frame.
    const int h15 = hoehe * 15;
    QCOMPARE(f->txtSuchen()->geometry(), QRect(6, 21, 268, 19)); // 90, 315, 4020, 285
    // The search button is right-aligned under the field, at least as wide as designed and
    // wide enough for its caption.
    QCOMPARE(f->cmdSuchen()->geometry().right(), 273); // 4200 - 90
    QCOMPARE(f->cmdSuchen()->geometry().top(), 42);    // 630
    QCOMPARE(f->cmdSuchen()->height(), 22);
    QVERIFY(f->cmdSuchen()->width() >= 115); // 1725
    for (QPushButton *k : {f->cmdSuchen(), f->cmdAnzeigen(), f->cmdAbbruch()})
        QVERIFY2(k->fontMetrics().horizontalAdvance(k->text()) < k->width(), qPrintable(k->text()));
    for (int i = 0; i < 3; ++i)
        QVERIFY2(f->lbl(i)->width() >= f->lbl(i)->sizeHint().width(),
                 qPrintable(f->lbl(i)->text()));
    QCOMPARE(f->lbl(1)->geometry().topLeft(), QPoint(6, 75));     // 90, 1125
    QCOMPARE(f->lstWoerter()->geometry(), QRect(6, 90, 268, 95)); // 90, 1350, 4020, 1425
    // The bottom buttons: right-aligned, 90 twips apart and from the edges.
    QCOMPARE(f->cmdAbbruch()->geometry().right(), 273);
    QCOMPARE(f->cmdAnzeigen()->geometry().right(), f->cmdAbbruch()->geometry().left() - 6 - 1);
    QCOMPARE(f->cmdAbbruch()->geometry().top(), (h15 - 420) / 15);
    QCOMPARE(f->cmdAnzeigen()->geometry().top(), (h15 - 420) / 15);
    QCOMPARE(f->scr()->geometry(), QRect(6, 207, 268, (h15 - 3615) / 15));
    QCOMPARE(f->Line1()->geometry().left(), 6);
    QCOMPARE(f->Line1()->geometry().right(), 273); // to 4110 twips
}

void tst_frmHilfeIndex::tippenLeert()
{
    frmHilfeIndex *f = oeffnen();
    QVERIFY(f);
    suche(f, QStringLiteral("rechnung"));
    QCOMPARE(f->lstWoerter()->ListCount(), 2);
    QCOMPARE(f->scr()->Anzahl(), 3);

    // One more character empties both lists at once, before any search.
    f->txtSuchen()->SetFocus();
    f->txtSuchen()->end(false);
    QTest::keyClicks(f->txtSuchen(), QStringLiteral("s"));
    QCOMPARE(f->lstWoerter()->ListCount(), 0);
    QCOMPARE(f->scr()->Anzahl(), 0);
    QVERIFY(f->cmdSuchen()->isEnabled());

    // An empty field disables the search; Enter then does nothing.
    SkriptMeldungen meldungen;
    f->txtSuchen()->clear();
    QVERIFY(!f->cmdSuchen()->isEnabled());
    QTest::keyClick(f->txtSuchen(), Qt::Key_Return);
    QCOMPARE(meldungen.anzahl(), 0);
    QCOMPARE(f->lstWoerter()->ListCount(), 0);
}

void tst_frmHilfeIndex::suchen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("perKnopf");
    QTest::addColumn<QStringList>("woerter");
    QTest::addColumn<QStringList>("raster"); // rows of the first keyword: cells joined with |

    const QStringList rechnung{"Angebot|Belege|Rechnungen", "Mahnung|Grundlagen|Start",
                               "Zahlung|Belege|Zahlungen"};
    zeile("Enter", "Rechnung", false, QStringList{"Rechnung", "Rechnungsdruck"}, rechnung);
    zeile("Knopf, klein geschrieben", "rechnung", true, QStringList{"Rechnung", "Rechnungsdruck"},
          rechnung);
    zeile("Mitte des Worts", "ungsdr", false, QStringList{"Rechnungsdruck"},
          QStringList{"Willkommen|Grundlagen|Start"});
    QTest::newRow("ohne Texte") << "Kunde" << false << QStringList{"Kunde"} << QStringList();
    zeile("zweimal derselbe Text", "Doppelt", true, QStringList{"Doppelt"},
          QStringList{"Angebot|Belege|Rechnungen", "Angebot|Belege|Rechnungen"});
    zeile("Hochkomma, Text ohne Titel", "O'Neil", false, QStringList{"O'Neil"},
          QStringList{"|Belege|Zahlungen"});
    zeile("alle", "%", true,
          QStringList{"Doppelt", "Kunde", "O'Neil", "Rechnung", "Rechnungsdruck"},
          QStringList{"Angebot|Belege|Rechnungen", "Angebot|Belege|Rechnungen"});
    QTest::newRow("kein Treffer") << "Lieferschein" << false << QStringList() << QStringList();
    QTest::newRow("kein Treffer per Knopf") << "xyz" << true << QStringList() << QStringList();
}

void tst_frmHilfeIndex::suchen()
{
    QFETCH(QString, text);
    QFETCH(bool, perKnopf);
    QFETCH(QStringList, woerter);
    QFETCH(QStringList, raster);

    frmHilfeIndex *f = oeffnen();
    QVERIFY(f);
    SkriptMeldungen meldungen;
    int zeigerBeiMeldung = -1;
    meldungen.beimZeigen(
        [&](const SkriptMeldungen::Box &) { zeigerBeiMeldung = MauszeigerAktuell(); });
    f->txtSuchen()->SetFocus();
    QTest::keyClicks(f->txtSuchen(), text);
    if (perKnopf)
        QTest::mouseClick(f->cmdSuchen(), Qt::LeftButton);
    else
        QTest::keyClick(f->txtSuchen(), Qt::Key_Return);

    QCOMPARE(eintraege(f->lstWoerter()), woerter);
    QCOMPARE(zeilen(f->scr()), raster);
    QCOMPARE(MauszeigerAktuell(), int(Zeiger::Normal));
    if (woerter.isEmpty()) {
        QCOMPARE(meldungen.anzahl(), 1);
        QCOMPARE(meldungen.boxen().at(0).text,
                 QStringLiteral("Keine entsprechenden Daten vorgefunden!"));
        QCOMPARE(meldungen.boxen().at(0).stil, 64);
        QCOMPARE(meldungen.boxen().at(0).titel, QStringLiteral("Tolvar-Hilfe"));
        QCOMPARE(zeigerBeiMeldung, int(Zeiger::Normal));
        if (!perKnopf)
            QVERIFY(f->txtSuchen()->hasFocus());
    } else {
        QCOMPARE(meldungen.anzahl(), 0);
        // The first keyword is selected and the list has the focus.
        QCOMPARE(f->lstWoerter()->ListIndex(), 0);
        QVERIFY(f->lstWoerter()->hasFocus());
        QCOMPARE(f->msNummern.size(), raster.size() + 1);
        if (!raster.isEmpty())
            QCOMPARE(f->scr()->AktuelleZeile(), 0);
    }

    // Choosing another keyword fills the grid with its texts.
    if (woerter.size() >= 2) {
        QTest::keyClick(f->lstWoerter(), Qt::Key_Down);
        QCOMPARE(f->lstWoerter()->ListIndex(), 1);
        QVERIFY(zeilen(f->scr()) != raster);
    }
}

void tst_frmHilfeIndex::anzeigen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("zeile");
    QTest::addColumn<QString>("weg"); // "knopf", "doppelklick", "enterRaster", "enterListe"
    QTest::addColumn<QString>("nummer");

    zeile("Knopf erste Zeile", "Rechnung", 0, "knopf", "02.01.04");
    zeile("Knopf dritte Zeile", "Rechnung", 2, "knopf", "02.03.12");
    zeile("Doppelklick", "Rechnung", 1, "doppelklick", "01.01.02");
    zeile("Enter im Raster", "Rechnung", 2, "enterRaster", "02.03.12");
    zeile("Enter in der Liste", "Rechnung", 1, "enterListe", "01.01.02");
    zeile("doppelte Zuordnung, zweite Zeile", "Doppelt", 1, "knopf", "02.01.04");
    zeile("Wort ohne Texte", "Kunde", 0, "knopf", "");
}

void tst_frmHilfeIndex::anzeigen()
{
    QFETCH(QString, text);
    QFETCH(int, zeile);
    QFETCH(QString, weg);
    QFETCH(QString, nummer);

    frmHilfeIndex *f = oeffnen();
    QVERIFY(f);
    frmHilfe *h = frmHilfe::instanz();
    frmHilfeIndex::verbinden(h);
    frmInhalt *r = frmInhalt::instanz();
    h->GeheZuText(QStringLiteral("02.01.01"));
    QCOMPARE(h->dokument()->verlauf().anzahl(), 2);
    suche(f, text);
    f->scr()->setAktuelleZeile(zeile);

    QTableView *v = f->scr()->ansicht();
    if (weg == QLatin1String("knopf")) {
        QTest::mouseClick(f->cmdAnzeigen(), Qt::LeftButton);
    } else if (weg == QLatin1String("doppelklick")) {
        QTest::mouseDClick(v->viewport(), Qt::LeftButton, Qt::NoModifier,
                           v->visualRect(v->model()->index(zeile, 1)).center());
    } else if (weg == QLatin1String("enterRaster")) {
        v->setFocus();
        QTest::keyClick(v, Qt::Key_Return);
    } else {
        QVERIFY(f->lstWoerter()->hasFocus());
        QTest::keyClick(f->lstWoerter(), Qt::Key_Return);
    }

    if (nummer.isEmpty()) {
        // Nothing to show: the help window stays where it was.
        QCOMPARE(h->AktuelleNummer(), QStringLiteral("02.01.01"));
        QCOMPARE(h->dokument()->verlauf().anzahl(), 2);
        return;
    }
    QCOMPARE(h->AktuelleNummer(), nummer);
    QCOMPARE(h->dokument()->verlauf().anzahl(), 3);
    QVERIFY(h->txt()->toPlainText().contains(
        QStringLiteral("Text ") +
        nummer.split(u'.').replaceInStrings(QRegularExpression("^0"), "").join(u'.')));
    // The pane stays open with its lists.
    QVERIFY(f->isVisible());
    QVERIFY(f->scr()->Anzahl() > 0);
    // Back leads to the text shown before.
    QVERIFY(r->Button(frmInhalt::ButtonZurueck)->isEnabled());
    r->Button(frmInhalt::ButtonZurueck)->trigger();
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("02.01.01"));
}

void tst_frmHilfeIndex::standardKnopf()
{
    frmHilfeIndex *f = oeffnen();
    QVERIFY(f);
    QTRY_VERIFY(f->txtSuchen()->hasFocus());
    QCOMPARE(f->standardKnopf(), f->cmdSuchen());

    // Leaving the field, by Tab or by a click elsewhere, makes "anzeigen" the default.
    QTest::keyClick(f->txtSuchen(), Qt::Key_Tab);
    QVERIFY(!f->txtSuchen()->hasFocus());
    QCOMPARE(f->standardKnopf(), f->cmdAnzeigen());
    QVERIFY(f->cmdAnzeigen()->isDefault());
    QVERIFY(!f->cmdSuchen()->isDefault());
    f->txtSuchen()->SetFocus();
    QCOMPARE(f->standardKnopf(), f->cmdSuchen());
    f->scr()->setFocus(Qt::MouseFocusReason);
    QCOMPARE(f->standardKnopf(), f->cmdAnzeigen());

    // A click on the pane's background within the active pane moves no focus; coming from
    // the help window it activates the pane, and the focus goes into the field.
    QTest::mouseClick(f, Qt::LeftButton, Qt::NoModifier, QPoint(200, 80));
    QVERIFY(f->scr()->ansicht()->hasFocus());
    frmHilfe::instanz()->txt()->setFocus(Qt::MouseFocusReason);
    QCOMPARE(f->standardKnopf(), f->cmdAnzeigen());
    QTest::mouseClick(f, Qt::LeftButton, Qt::NoModifier, QPoint(200, 80));
    QVERIFY(f->txtSuchen()->hasFocus());
    QCOMPARE(f->standardKnopf(), f->cmdSuchen());

    // With "anzeigen" the default, Enter in the keyword list shows the text.
    frmHilfe::instanz()->GeheZuText(QStringLiteral("02.01.01"));
    suche(f, QStringLiteral("Rechnungsd"));
    QCOMPARE(f->standardKnopf(), f->cmdAnzeigen());
    QTest::keyClick(f->lstWoerter(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(frmHilfe::instanz()->AktuelleNummer(), QStringLiteral("01.01.01"));
    QCOMPARE(frmHilfe::instanz()->dokument()->verlauf().anzahl(), 3);
}

void tst_frmHilfeIndex::tastenImRaster_data()
{
    QTest::addColumn<QList<int>>("tasten"); // keys pressed one after the other, from the grid
    QTest::addColumn<QString>("ziel"); // "anzeigen", "schliessen", "woerter", "raster", "hilfe"
    QTest::addColumn<int>("zeile");    // current grid row afterwards

    const int tab = Qt::Key_Tab;
    QTest::newRow("Tab") << QList<int>{tab} << "anzeigen" << 0;
    QTest::newRow("Tab Tab") << QList<int>{tab, tab} << "schliessen" << 0;
    QTest::newRow("Tab Tab Tab") << QList<int>{tab, tab, tab} << "hilfe" << 0;
    QTest::newRow("Umschalt+Tab") << QList<int>{int(Qt::Key_Backtab)} << "woerter" << 0;
    QTest::newRow("Tab Umschalt+Tab") << QList<int>{tab, int(Qt::Key_Backtab)} << "raster" << 0;
    QTest::newRow("Pfeil ab") << QList<int>{int(Qt::Key_Down)} << "raster" << 1;
    QTest::newRow("Pfeil rechts, ab")
        << QList<int>{int(Qt::Key_Right), int(Qt::Key_Down)} << "raster" << 1;
}

void tst_frmHilfeIndex::tastenImRaster()
{
    QFETCH(QList<int>, tasten);
    QFETCH(QString, ziel);
    QFETCH(int, zeile);

    frmHilfeIndex *f = oeffnen();
    QVERIFY(f);
    suche(f, QStringLiteral("Rechnung"));
    QCOMPARE(f->scr()->Anzahl(), 3);
    QTableView *raster = f->scr()->ansicht();
    raster->setFocus(Qt::MouseFocusReason);
    QCOMPARE(QApplication::focusWidget(), raster);
    QCOMPARE(f->scr()->AktuelleZeile(), 0);

    for (int taste : tasten)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(taste));

    QWidget *fokus = QApplication::focusWidget();
    QVERIFY(fokus);
    if (ziel == QLatin1String("anzeigen"))
        QCOMPARE(fokus, f->cmdAnzeigen());
    else if (ziel == QLatin1String("schliessen"))
        QCOMPARE(fokus, f->cmdAbbruch());
    else if (ziel == QLatin1String("woerter"))
        QCOMPARE(fokus, f->lstWoerter());
    else if (ziel == QLatin1String("raster"))
        QCOMPARE(fokus, raster);
    else // the pane's last control hands the focus on to the help window beside it
        QVERIFY2(frmHilfe::instanz()->isAncestorOf(fokus), qPrintable(fokus->objectName()));
    QCOMPARE(f->scr()->AktuelleZeile(), zeile);
    // Leaving the grid shows no text.
    QCOMPARE(frmHilfe::instanz()->AktuelleNummer(), QStringLiteral("01.01.01"));
}

void tst_frmHilfeIndex::datenbankfehler_data()
{
    QTest::addColumn<bool>("beiTexten"); // the keyword query fails, or the texts query
    QTest::addColumn<int>("antwort");
    QTest::addColumn<int>("woerter");
    QTest::addColumn<int>("zeilen");

    QTest::newRow("Wortsuche, Abbrechen") << false << Meldung::Abbrechen << 0 << 0;
    QTest::newRow("Wortsuche, Wiederholen") << false << Meldung::Wiederholen << 1 << 1;
    QTest::newRow("Texte, Abbrechen") << true << Meldung::Abbrechen << 1 << 0;
    QTest::newRow("Texte, Wiederholen") << true << Meldung::Wiederholen << 1 << 1;
}

void tst_frmHilfeIndex::datenbankfehler()
{
    QFETCH(bool, beiTexten);
    QFETCH(int, antwort);
    QFETCH(int, woerter);
    QFETCH(int, zeilen);

    frmHilfeIndex *f = oeffnen();
    QVERIFY(f);
    const QString text = QStringLiteral("Rechnungsd");
    // The steps of the keyword query; the texts query runs right after them, its second
    // step runs the SQL.
    Fehlereinspeisung::setzen(1000000, 0);
    QVERIFY(standardDatenbank().woerter(text).ok);
    const int wortSchritte = Fehlereinspeisung::gezaehlt();
    Fehlereinspeisung::setzen(beiTexten ? wortSchritte + 2 : 2, Fehlernummer::Unbekannt);

    SkriptMeldungen meldungen;
    meldungen.antworten({antwort});
    suche(f, text);
    Fehlereinspeisung::aus();
    // One error box and nothing else: a failed query is not "no data".
    QCOMPARE(meldungen.anzahl(), 1);
    QCOMPARE(meldungen.boxen().at(0).stil, 53);
    QCOMPARE(f->lstWoerter()->ListCount(), woerter);
    QCOMPARE(f->scr()->Anzahl(), zeilen);
    QCOMPARE(f->msNummern.size(), zeilen + 1);
    QCOMPARE(MauszeigerAktuell(), int(Zeiger::Normal));
    // Show opens the row's text; with an empty grid it does nothing.
    frmHilfe *h = frmHilfe::instanz();
    frmHilfeIndex::verbinden(h);
    h->GeheZuText(QStringLiteral("02.01.01"));
    QTest::mouseClick(f->cmdAnzeigen(), Qt::LeftButton);
    QCOMPARE(h->AktuelleNummer(), zeilen ? QStringLiteral("01.01.01") : QStringLiteral("02.01.01"));
}

void tst_frmHilfeIndex::schliessenBehaeltInhalt_data()
{
    QTest::addColumn<QString>("wie"); // "knopf", or Esc in "feld", "liste", "raster"
    QTest::newRow("Schließen") << "knopf";
    QTest::newRow("Esc im Suchfeld") << "feld";
    QTest::newRow("Esc in der Liste") << "liste";
    QTest::newRow("Esc im Raster") << "raster";
}

void tst_frmHilfeIndex::schliessenBehaeltInhalt()
{
    QFETCH(QString, wie);
    frmHilfeIndex *f = oeffnen();
    QVERIFY(f);
    frmInhalt *r = frmInhalt::instanz();
    frmHilfe *h = frmHilfe::instanz();
    frmHilfeIndex::verbinden(h);
    suche(f, QStringLiteral("Rechnung"));
    f->scr()->setAktuelleZeile(2);

    if (wie == QLatin1String("knopf")) {
        QTest::mouseClick(f->cmdAbbruch(), Qt::LeftButton);
    } else {
        QWidget *w = wie == QLatin1String("feld")    ? static_cast<QWidget *>(f->txtSuchen())
                     : wie == QLatin1String("liste") ? static_cast<QWidget *>(f->lstWoerter())
                                                     : f->scr()->ansicht();
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Escape);
    }
    // Esc in the pane closes the pane, not the help.
    QVERIFY(frmInhalt::instanz(false));
    QCOMPARE(m_u.enden, 0);
    QVERIFY(!f->isVisible());
    QVERIFY(!gbStichwortSuche);
    QCOMPARE(frmHilfeIndex::instanz(false), f);
    const int hoehe = r->clientBereich()->height();
    QCOMPARE(h->geometry(), QRect(0, 0, 900, hoehe));

    r->Button(frmInhalt::ButtonSuchen)->trigger();
    QCOMPARE(frmHilfeIndex::instanz(false), f);
    QVERIFY(f->isVisible());
    QVERIFY(gbStichwortSuche);
    QCOMPARE(h->geometry(), QRect(280, 0, 620, hoehe));
    QCOMPARE(f->geometry(), QRect(0, 0, 280, hoehe));
    QCOMPARE(f->txtSuchen()->Text(), QStringLiteral("Rechnung"));
    QCOMPARE(eintraege(f->lstWoerter()), (QStringList{"Rechnung", "Rechnungsdruck"}));
    QCOMPARE(f->scr()->Anzahl(), 3);
    QCOMPARE(f->scr()->AktuelleZeile(), 2);
    QVERIFY(f->cmdSuchen()->isEnabled());
    QTRY_VERIFY(f->txtSuchen()->hasFocus());
    // The kept rows still open their texts.
    QTest::mouseClick(f->cmdAnzeigen(), Qt::LeftButton);
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("02.03.12"));
}

void tst_frmHilfeIndex::entladenVergisst_data()
{
    QTest::addColumn<bool>("mitHilfefenster");
    QTest::newRow("Anbindung") << false;
    QTest::newRow("Hilfefenster entladen") << true;
}

void tst_frmHilfeIndex::entladenVergisst()
{
    QFETCH(bool, mitHilfefenster);
    frmHilfeIndex *f = oeffnen();
    QVERIFY(f);
    frmInhalt *r = frmInhalt::instanz();
    suche(f, QStringLiteral("Rechnung"));
    QPointer<frmHilfeIndex> alt = f;

    if (mitHilfefenster) {
        // The help window unloads the pane on its way out; the pane does not bring back a
        // help window that is going.
        frmHilfe::instanz()->Form_Unload();
        QVERIFY(!frmHilfe::instanz(false));
    } else {
        emit frmHilfe::instanz()->Entladen();
        QCOMPARE(frmHilfe::instanz()->geometry(), QRect(0, 0, 900, r->clientBereich()->height()));
    }
    QVERIFY(!frmHilfeIndex::instanz(false));
    QVERIFY(!gbStichwortSuche);
    QVERIFY(!r->stichwortFenster());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!alt);
    if (mitHilfefenster)
        return;

    // The next search command builds a fresh, empty pane.
    r->Button(frmInhalt::ButtonSuchen)->trigger();
    frmHilfeIndex *neu = frmHilfeIndex::instanz(false);
    QVERIFY(neu);
    QVERIFY(neu->isVisible());
    QCOMPARE(neu->txtSuchen()->Text(), QString());
    QCOMPARE(neu->lstWoerter()->ListCount(), 0);
    QCOMPARE(neu->scr()->Anzahl(), 0);
    QVERIFY(!neu->cmdSuchen()->isEnabled());
    QCOMPARE(neu->msNummern.size(), 1);
}

void tst_frmHilfeIndex::groesseAendern()
{
    frmHilfeIndex *f = oeffnen();
    QVERIFY(f);
    frmInhalt *r = frmInhalt::instanz();
    frmHilfe *h = frmHilfe::instanz();
    frmHilfeIndex::verbinden(h);

    // The frame grows: the pane takes its full height, the grid grows, the buttons follow.
    r->resize(1000, 820);
    int hoehe = r->clientBereich()->height();
    QCOMPARE(f->geometry(), QRect(0, 0, 280, hoehe));
    QCOMPARE(h->geometry(), QRect(280, 0, 720, hoehe));
    QCOMPARE(f->scr()->height(), (hoehe * 15 - 3615) / 15);
    QCOMPARE(f->cmdAnzeigen()->geometry().bottom(), hoehe - 6 - 1);
    QCOMPARE(f->cmdAbbruch()->geometry().right(), 280 - 6 - 1);

    // A client area below 4500 twips wide keeps the children where they are.
    const QRect vorher = f->geometry();
    const QRect hilfeVorher = h->geometry();
    r->resize(290, 820);
    QCOMPARE(f->geometry(), vorher);
    QCOMPARE(h->geometry(), hilfeVorher);

    // The pane itself: below 200 twips inside nothing moves, at 200 it is laid out.
    const QRect abbruch = f->cmdAbbruch()->geometry();
    f->resize(13, hoehe); // 195 twips
    QCOMPARE(f->cmdAbbruch()->geometry(), abbruch);
    f->resize(14, hoehe); // 210 twips
    QCOMPARE(f->cmdAbbruch()->geometry().right(), 14 - 6 - 1);
    QCOMPARE(f->scr()->width(), 2); // 30 twips
    // So low that the grid would get a negative height: it gets none.
    f->resize(280, 200);
    QCOMPARE(f->scr()->height(), 0);
    QCOMPARE(f->cmdAnzeigen()->geometry().top(), (3000 - 420) / 15);
}

QTEST_MAIN(tst_frmHilfeIndex)
#include "tst_frmHilfeIndex.moc"
