// The keyword pane offscreen beside the help window, on small test databases. Keyword mode:
// opening by the toolbar's search button with its geometry and captions, typing that empties the
// lists, the search on the button and on Enter (a match selects the first keyword and fills the
// grid, no match shows one message), showing a text by button, Enter and double click with the
// history leading back, the default button following the focus, the keys on the grid, failed
// queries, closing that keeps the content, unloading that forgets it, the layout after resizing.
// Full-text mode: the options and their access keys, the Tab order, the hit grid (keyword
// sections first) with and without a stored index, the hit words marked without touching the
// text or its links, scrolled into view and gone on the next page, no hits. What the user sees of
// it on a real desktop is in the user-level suite (tests/e2e).
#include "TestHilfen.h"
#include "frmHilfeIndex.h"

#include "Datenbank.h"
#include "Fehler.h"
#include "Global.h"
#include "HilfeDatenbankSchreiber.h"
#include "HilfeUmgebung.h"
#include "Mauszeiger.h"
#include "Meldung.h"
#include "MeldungSkript.h"
#include "StichwortListe.h"
#include "HilfeDatenbank.h"
#include "TolvarScrollListe.h"
#include "TolvarTextBox.h"
#include "Volltextabfragen.h"
#include "frmHilfe.h"
#include "frmInhalt.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
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

frmHilfe *hilfe() { return frmHilfe::instanz(); }
frmInhalt *rahmen() { return frmInhalt::instanz(); }

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
    void volltextModus();
    void volltextOeffnen_data();
    void volltextOeffnen();
    void volltextTrefferSichtbar();

private:
    frmHilfeIndex *oeffnen(const QString &ordner = QString());
    void suche(frmHilfeIndex *f, const QString &text);
    HilfeUmgebung m_u;
    QString m_mit, m_ohne; // full-text databases with and without a stored index
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

    // The full-text databases: a keyword section, a section with a link and two hit words, one
    // long section with its only hit far down.
    QString lang;
    for (int i = 0; i < 80; ++i)
        lang += QStringLiteral("Absatz %1 ohne das gesuchte Wort.\\par ").arg(i);
    lang += QStringLiteral("Ganz unten steht Skonto.");
    m_mit = m_u.dir.filePath(QStringLiteral("mit"));
    m_ohne = m_u.dir.filePath(QStringLiteral("ohne"));
    for (const QString &ordner : {m_mit, m_ohne}) {
        QVERIFY(QDir().mkpath(ordner));
        HilfeDatenbankSchreiber v;
        QVERIFY(m_u.schreiben(v, ordner));
        v.setVolltextIndex(ordner == m_mit);
        const qint32 k = v.kapitelEinfuegen(1, QStringLiteral("Grundlagen"), 1);
        const qint32 t1 = v.themaEinfuegen(k, 1, QStringLiteral("Start"), 1);
        v.textEinfuegen(t1, 1, QStringLiteral("Willkommen"), rtfAbsatz("Guten Tag."), 1);
        v.textEinfuegen(
            t1, 2, QStringLiteral("Nachlass gewähren"),
            rtfAbsatz("Der Skonto wird abgezogen, siehe \\{T01.01.03\\}Zahlungen\\{TE\\}. "
                      "Mehr zum Skontoabzug und zu Rabatten."),
            2);
        const qint32 zahlung = v.textEinfuegen(t1, 3, QStringLiteral("Zahlungen"),
                                               rtfAbsatz("Eine Zahlung mit Skonto buchen."), 3);
        const qint32 t2 = v.themaEinfuegen(k, 2, QStringLiteral("Mehr"), 2);
        v.textEinfuegen(t2, 1, QStringLiteral("Langer Abschnitt"), rtfAbsatz(lang), 1);
        v.zuordnungEinfuegen(v.wortEinfuegen(QStringLiteral("Skonto")), zahlung);
        QVERIFY2(v.abschliessen(&fehler), qPrintable(fehler));
    }
}

void tst_frmHilfeIndex::init()
{
    m_u.zuruecksetzen();
    Volltextsuche::speicherVerwerfen();
}

void tst_frmHilfeIndex::cleanup()
{
    QVERIFY(HilfeUmgebung::entladen());
    QVERIFY(!frmHilfeIndex::instanz(false));
}

// Opens the help on the database in the folder (default: the keyword database) at 01.01.01 in
// a frame of 900 x 700 pixels and presses the search button.
frmHilfeIndex *tst_frmHilfeIndex::oeffnen(const QString &ordner)
{
    setzeProgrammVerzeichnis(ordner.isEmpty() ? m_u.dir.path() : ordner);
    frmHilfe *h = HilfeUmgebung::oeffnen(QStringLiteral("01.01.01"));
    if (!h || !QTest::qWaitForWindowActive(rahmen()))
        return nullptr;
    frmHilfeIndex::verbinden(h);
    rahmen()->Button(frmInhalt::ButtonSuchen)->trigger();
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
    QVERIFY(f->isVisible());
    QVERIFY(gbStichwortSuche);
    QCOMPARE(f->parentWidget(), rahmen()->clientBereich());
    QCOMPARE(f->windowTitle(), QStringLiteral("Stichwort Suchen"));

    // The strip of 4200 twips (280 pixels) at the left, the help window beside it.
    const int hoehe = rahmen()->clientBereich()->height();
    QCOMPARE(f->geometry(), QRect(0, 0, 280, hoehe));
    QCOMPARE(hilfe()->geometry(), QRect(280, 0, 900 - 280, hoehe));

    // The state of a new pane.
    QVERIFY(!f->cmdSuchen()->isEnabled());
    QCOMPARE(f->txtSuchen()->Text(), QString());
    QCOMPARE(f->lstWoerter()->ListCount(), 0);
    QCOMPARE(f->scr()->Anzahl(), 0);
    QTRY_VERIFY(f->txtSuchen()->hasFocus());
    QCOMPARE(f->standardKnopf(), f->cmdSuchen());
    QVERIFY(f->cmdSuchen()->isDefault());

    // Grid columns as designed: 2505, 1005, 1005 twips.
    QCOMPARE(f->scr()->Spalten(), 3);
    const QStringList ueberschriften{"Thema", "Kapitel", "Überschrift"};
    const int breiten[] = {167, 67, 67};
    for (int c = 0; c < 3; ++c) {
        QCOMPARE(f->scr()->Ueberschrift(c), ueberschriften.at(c));
        QCOMPARE(f->scr()->ansicht()->horizontalHeader()->sectionSize(c), breiten[c]);
        QCOMPARE(f->scr()->Ausrichtung(c), 1);
    }

    // Controls laid out for the strip (twips / 15): the search button right-aligned under the
    // field, at least as wide as designed (1725) and wide enough for its caption.
    const int h15 = hoehe * 15;
    QCOMPARE(f->txtSuchen()->geometry(), QRect(6, 21, 268, 19)); // 90, 315, 4020, 285
    QCOMPARE(f->cmdSuchen()->geometry().right(), 273);           // 4200 - 90
    QCOMPARE(f->cmdSuchen()->geometry().top(), 42);              // 630
    QCOMPARE(f->cmdSuchen()->height(), 22);
    QVERIFY(f->cmdSuchen()->width() >= 115);
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
    const QStringList angebot2{"Angebot|Belege|Rechnungen", "Angebot|Belege|Rechnungen"};
    const QStringList rw{"Rechnung", "Rechnungsdruck"};
    zeile("Enter", "Rechnung", false, rw, rechnung);
    zeile("Knopf, klein geschrieben", "rechnung", true, rw, rechnung);
    zeile("Mitte des Worts", "ungsdr", false, QStringList{"Rechnungsdruck"},
          QStringList{"Willkommen|Grundlagen|Start"});
    zeile("ohne Texte", "Kunde", false, QStringList{"Kunde"}, QStringList());
    zeile("zweimal derselbe Text", "Doppelt", true, QStringList{"Doppelt"}, angebot2);
    zeile("Hochkomma, Text ohne Titel", "O'Neil", false, QStringList{"O'Neil"},
          QStringList{"|Belege|Zahlungen"});
    zeile("alle", "%", true, QStringList{"Doppelt", "Kunde", "O'Neil", "Rechnung", "Rechnungsdruck"},
          angebot2);
    zeile("kein Treffer", "Lieferschein", false, QStringList(), QStringList());
    zeile("kein Treffer per Knopf", "xyz", true, QStringList(), QStringList());
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
    frmHilfe *h = hilfe();
    h->GeheZuText(QStringLiteral("02.01.01"));
    QCOMPARE(h->dokument()->verlauf().anzahl(), 2);
    suche(f, text);
    f->scr()->setAktuelleZeile(zeile);

    if (weg == u"knopf") {
        QTest::mouseClick(f->cmdAnzeigen(), Qt::LeftButton);
    } else if (weg == u"doppelklick") {
        QTableView *v = f->scr()->ansicht();
        QTest::mouseDClick(v->viewport(), Qt::LeftButton, Qt::NoModifier,
                           v->visualRect(v->model()->index(zeile, 1)).center());
    } else if (weg == u"enterRaster") {
        f->scr()->ansicht()->setFocus();
        QTest::keyClick(f->scr()->ansicht(), Qt::Key_Return);
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
    // The pane stays open with its lists; Back leads to the text shown before.
    QVERIFY(f->isVisible());
    QVERIFY(f->scr()->Anzahl() > 0);
    QVERIFY(rahmen()->Button(frmInhalt::ButtonZurueck)->isEnabled());
    rahmen()->Button(frmInhalt::ButtonZurueck)->trigger();
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
    hilfe()->txt()->setFocus(Qt::MouseFocusReason);
    QCOMPARE(f->standardKnopf(), f->cmdAnzeigen());
    QTest::mouseClick(f, Qt::LeftButton, Qt::NoModifier, QPoint(200, 80));
    QVERIFY(f->txtSuchen()->hasFocus());
    QCOMPARE(f->standardKnopf(), f->cmdSuchen());

    // With "anzeigen" the default, Enter in the keyword list shows the text.
    hilfe()->GeheZuText(QStringLiteral("02.01.01"));
    suche(f, QStringLiteral("Rechnungsd"));
    QCOMPARE(f->standardKnopf(), f->cmdAnzeigen());
    QTest::keyClick(f->lstWoerter(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(hilfe()->AktuelleNummer(), QStringLiteral("01.01.01"));
    QCOMPARE(hilfe()->dokument()->verlauf().anzahl(), 3);
}

void tst_frmHilfeIndex::tastenImRaster_data()
{
    // Tab and Tab Tab from the grid (to "anzeigen", then "Schließen") are a user-level scenario.
    QTest::addColumn<QList<int>>("tasten"); // keys pressed one after the other, from the grid
    QTest::addColumn<QString>("ziel");      // "woerter", "raster", "hilfe"
    QTest::addColumn<int>("zeile");         // current grid row afterwards

    const int tab = Qt::Key_Tab, zurueck = Qt::Key_Backtab;
    zeile("Tab Tab Tab", QList<int>{tab, tab, tab}, QString("hilfe"), 0);
    zeile("Umschalt+Tab", QList<int>{zurueck}, QString("woerter"), 0);
    zeile("Tab Umschalt+Tab", QList<int>{tab, zurueck}, QString("raster"), 0);
    zeile("Pfeil ab", QList<int>{int(Qt::Key_Down)}, QString("raster"), 1);
    zeile("Pfeil rechts, ab", QList<int>{int(Qt::Key_Right), int(Qt::Key_Down)}, QString("raster"),
          1);
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
    if (ziel == u"woerter")
        QCOMPARE(fokus, f->lstWoerter());
    else if (ziel == u"raster")
        QCOMPARE(fokus, raster);
    else // the pane's last control hands the focus on to the help window beside it
        QVERIFY2(hilfe()->isAncestorOf(fokus), qPrintable(fokus->objectName()));
    QCOMPARE(f->scr()->AktuelleZeile(), zeile);
    // Leaving the grid shows no text.
    QCOMPARE(hilfe()->AktuelleNummer(), QStringLiteral("01.01.01"));
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
    hilfe()->GeheZuText(QStringLiteral("02.01.01"));
    QTest::mouseClick(f->cmdAnzeigen(), Qt::LeftButton);
    QCOMPARE(hilfe()->AktuelleNummer(),
             zeilen ? QStringLiteral("01.01.01") : QStringLiteral("02.01.01"));
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
    frmHilfe *h = hilfe();
    suche(f, QStringLiteral("Rechnung"));
    f->scr()->setAktuelleZeile(2);

    if (wie == u"knopf") {
        QTest::mouseClick(f->cmdAbbruch(), Qt::LeftButton);
    } else {
        QWidget *w = wie == u"feld"    ? static_cast<QWidget *>(f->txtSuchen())
                     : wie == u"liste" ? static_cast<QWidget *>(f->lstWoerter())
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
    const int hoehe = rahmen()->clientBereich()->height();
    QCOMPARE(h->geometry(), QRect(0, 0, 900, hoehe));

    rahmen()->Button(frmInhalt::ButtonSuchen)->trigger();
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
    suche(f, QStringLiteral("Rechnung"));
    QPointer<frmHilfeIndex> alt = f;

    if (mitHilfefenster) {
        // The help window unloads the pane on its way out; the pane does not bring back a
        // help window that is going.
        hilfe()->Form_Unload();
        QVERIFY(!frmHilfe::instanz(false));
    } else {
        emit hilfe()->Entladen();
        QCOMPARE(hilfe()->geometry(), QRect(0, 0, 900, rahmen()->clientBereich()->height()));
    }
    QVERIFY(!frmHilfeIndex::instanz(false));
    QVERIFY(!gbStichwortSuche);
    QVERIFY(!rahmen()->stichwortFenster());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!alt);
    if (mitHilfefenster)
        return;

    // The next search command builds a fresh, empty pane.
    rahmen()->Button(frmInhalt::ButtonSuchen)->trigger();
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
    // The pane's layout as a function of its size is tst_hilfeindexlayout's; here, that the
    // frame's resize reaches it and its controls in both modes.
    frmHilfeIndex *f = oeffnen();
    QVERIFY(f);
    rahmen()->resize(1000, 820);
    const int hoehe = rahmen()->clientBereich()->height();
    QCOMPARE(f->geometry(), QRect(0, 0, 280, hoehe));
    QCOMPARE(hilfe()->geometry(), QRect(280, 0, 720, hoehe));
    QCOMPARE(f->scr()->height(), (hoehe * 15 - 3615) / 15);
    QCOMPARE(f->cmdAnzeigen()->geometry().bottom(), hoehe - 6 - 1);
    QCOMPARE(f->cmdAbbruch()->geometry().right(), 280 - 6 - 1);

    // The pane itself: below 200 twips inside nothing moves, at 200 it is laid out.
    const QRect abbruch = f->cmdAbbruch()->geometry();
    f->resize(13, hoehe); // 195 twips
    QCOMPARE(f->cmdAbbruch()->geometry(), abbruch);
    f->resize(14, hoehe); // 210 twips
    QCOMPARE(f->cmdAbbruch()->geometry().right(), 14 - 6 - 1);

    // Full-text mode: the hit grid covers list and grid and ends above the buttons, the
    // options stay right-aligned above the field.
    f->optVolltext()->click();
    for (const QSize s : {QSize(700, 420), QSize(1200, 900)}) {
        rahmen()->resize(s);
        QApplication::processEvents();
        const QRect g = f->scrVolltext()->geometry();
        QVERIFY(g.bottom() < f->cmdAnzeigen()->geometry().top());
        QCOMPARE(g.top(), f->lstWoerter()->geometry().top());
        QCOMPARE(g.left(), f->txtSuchen()->geometry().left());
        QCOMPARE(g.width(), f->txtSuchen()->geometry().width());
        QVERIFY(f->optVolltext()->geometry().right() < f->width());
        QVERIFY(f->optStichwort()->geometry().right() < f->optVolltext()->geometry().left());
        QVERIFY(f->optStichwort()->geometry().bottom() < f->txtSuchen()->geometry().top());
    }
}

void tst_frmHilfeIndex::volltextModus()
{
    // Alt+V with its captions, the hidden keyword list and the focus staying in the field is
    // a user-level scenario; here the rest of the switch, Alt+S and the Tab order.
    frmHilfeIndex *f = oeffnen(m_mit);
    QVERIFY(f);
    QVERIFY(f->optStichwort()->isChecked());
    QVERIFY(!f->Volltext());
    QCOMPARE(f->optStichwort()->text(), QStringLiteral("&Stichwörter"));
    QCOMPARE(f->optVolltext()->text(), QStringLiteral("&Volltext"));
    QCOMPARE(f->optVolltext()->font().pixelSize(), 11);
    QVERIFY(f->lstWoerter()->isVisible() && f->scr()->isVisible());
    QVERIFY(!f->scrVolltext()->isVisible() && !f->lblVolltext()->isVisible());
    QCOMPARE(f->cmdSuchen()->text(), QStringLiteral("Stichwörter anzeigen"));

    QTRY_VERIFY(f->txtSuchen()->hasFocus());
    // The access key clicks the option as a click would (after the button's click animation).
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::AltModifier);
    QTRY_VERIFY(f->optVolltext()->isChecked());
    QVERIFY(f->Volltext());
    QVERIFY(!f->scr()->isVisible() && !f->lbl(1)->isVisible() && !f->lbl(2)->isVisible());
    QVERIFY(f->lblVolltext()->isVisible());
    QCOMPARE(f->lbl(0)->text(), QStringLiteral("Text suchen:"));
    QCOMPARE(f->standardKnopf(), f->cmdSuchen());

    // The keyword results stay for the way back.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(!f->Volltext());
    QCOMPARE(f->lbl(0)->text(), QStringLiteral("Stichwort suchen:"));
    suche(f, QStringLiteral("Sko"));
    QCOMPARE(f->lstWoerter()->ListCount(), 1);
    QCOMPARE(f->scr()->Anzahl(), 1);
    f->optVolltext()->click();
    f->optStichwort()->click();
    QCOMPARE(f->lstWoerter()->ListCount(), 1);
    QCOMPARE(f->scr()->Anzahl(), 1);

    // The Tab order from the field, top to bottom, passing over the hidden keyword lists.
    f->optVolltext()->click();
    suche(f, QStringLiteral("Skonto"));
    QTRY_VERIFY(f->scrVolltext()->ansicht()->hasFocus());
    f->txtSuchen()->SetFocus();
    QTRY_VERIFY(f->txtSuchen()->hasFocus());
    for (QWidget *w : QList<QWidget *>{f->cmdSuchen(), f->scrVolltext()->ansicht(),
                                       f->cmdAnzeigen(), f->cmdAbbruch()}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_VERIFY2(w->hasFocus(), qPrintable(QApplication::focusWidget()->objectName()));
    }
}

void tst_frmHilfeIndex::volltextOeffnen_data()
{
    QTest::addColumn<bool>("index");
    QTest::addColumn<QString>("wie");
    // A double click on a hit is a user-level scenario.
    zeile("Enter", true, QStringLiteral("Enter"));
    zeile("anzeigen", true, QStringLiteral("anzeigen"));
    zeile("ohne Index, Enter", false, QStringLiteral("Enter"));
}

void tst_frmHilfeIndex::volltextOeffnen()
{
    QFETCH(bool, index);
    QFETCH(QString, wie);
    frmHilfeIndex *f = oeffnen(index ? m_mit : m_ohne);
    QVERIFY(f);
    frmHilfe *h = hilfe();
    f->optVolltext()->click();
    SkriptMeldungen meldungen;
    suche(f, QStringLiteral("skonto"));
    QCOMPARE(meldungen.anzahl(), 0);
    QCOMPARE(MauszeigerAktuell(), int(Zeiger::Normal));
    QCOMPARE(Volltextsuche::letzteQuelle(),
             index ? Volltextsuche::Quelle::Datenbank : Volltextsuche::Quelle::Speicher);
    TolvarScrollListe *g = f->scrVolltext();
    QCOMPARE(g->Anzahl(), 3);
    // The keyword section first; the columns: section, snippet, topic, help number.
    QCOMPARE(zeilen(g).first() + u'|' + g->Zelle(0, 3),
             QStringLiteral("Zahlungen|Eine Zahlung mit Skonto buchen.|Start|01.01.03"));
    QCOMPARE(f->lblVolltext()->text(), QStringLiteral("gefundene Abschnitte: 3"));
    QVERIFY(g->ansicht()->hasFocus());
    QCOMPARE(f->standardKnopf(), f->cmdAnzeigen());

    // The section with a link, unmarked, for comparison.
    h->GeheZuText(QStringLiteral("01.01.02"));
    const QString ohneMarken = h->txt()->toPlainText();
    const QList<tVerweis> verweise = h->dokument()->verweise();
    QCOMPARE(h->dokument()->verweisAnzahl(), 1);
    const int verlauf = h->dokument()->verlauf().anzahl();
    h->GeheZuText(QStringLiteral("01.01.01"));

    const int zeile = int(QStringList{g->Zelle(0, 3), g->Zelle(1, 3), g->Zelle(2, 3)}.indexOf(
        QStringLiteral("01.01.02")));
    QVERIFY(zeile >= 0);
    g->setAktuelleZeile(zeile);
    if (wie == u"Enter") {
        g->ansicht()->setFocus();
        QTest::keyClick(g->ansicht(), Qt::Key_Return);
    } else {
        f->cmdAnzeigen()->click();
    }
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.02"));
    // Recorded in the history as a keyword hit is.
    QCOMPARE(h->dokument()->verlauf().anzahl(), verlauf + 2);

    // Exactly the hit words are marked, where the text box shows them.
    QStringList woerter;
    for (const auto &[a, l] : h->TrefferBereiche()) {
        woerter << h->TextBereich(a, a + l);
        QVERIFY(!h->ZeichenRechteck(a).isEmpty());
    }
    QCOMPARE(woerter, (QStringList{QStringLiteral("Skonto"), QStringLiteral("Skontoabzug")}));
    QCOMPARE(h->txt()->extraSelections().size(), 2);
    for (const QTextEdit::ExtraSelection &s : h->txt()->extraSelections())
        QVERIFY(s.cursor.selectedText().contains(QStringLiteral("Skonto")));
    // The text and its links are as without marks; the link still leads where it led.
    QCOMPARE(h->txt()->toPlainText(), ohneMarken);
    QCOMPARE(h->dokument()->verweise().size(), verweise.size());
    for (int i = 1; i < verweise.size(); ++i) {
        QCOMPARE(h->dokument()->verweise()[i].Anfang, verweise[i].Anfang);
        QCOMPARE(h->dokument()->verweise()[i].Ende, verweise[i].Ende);
        QCOMPARE(h->dokument()->verweise()[i].TextNummer, verweise[i].TextNummer);
    }
    QCOMPARE(verweise[1].TextNummer, QStringLiteral("01.01.03"));
    QCOMPARE(h->VerweisAnPunkt(h->ZeichenRechteck(verweise[1].Anfang).center()), 1);

    // The marks last until the next page: another section, and this one again by Back, come
    // without them.
    h->lblSub_Click(0);
    QVERIFY(h->TrefferBereiche().isEmpty());
    QVERIFY(h->txt()->extraSelections().isEmpty());
    h->ButtonClick(frmInhalt::ButtonZurueck);
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.02"));
    QVERIFY(h->TrefferBereiche().isEmpty());
    QVERIFY(h->txt()->extraSelections().isEmpty());
}

void tst_frmHilfeIndex::volltextTrefferSichtbar()
{
    frmHilfeIndex *f = oeffnen(m_mit);
    QVERIFY(f);
    frmHilfe *h = hilfe();
    f->optVolltext()->click();
    suche(f, QStringLiteral("unten"));
    QCOMPARE(f->scrVolltext()->Anzahl(), 1);
    f->cmdAnzeigen()->click();
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.02.01"));
    QCOMPARE(h->TrefferBereiche().size(), 1);
    // The hit lies far below the first lines: the box scrolled to it.
    QVERIFY(h->txt()->verticalScrollBar()->value() > 0);
    const QRect r = h->ZeichenRechteck(h->TrefferBereiche().first().first);
    QVERIFY(h->txt()->viewport()->rect().contains(r));

    // No hits (a plain word is a user-level scenario): characters of the query syntax are
    // searched for as they are, one message, the grid emptied.
    SkriptMeldungen meldungen;
    suche(f, QStringLiteral("%_*\""));
    QCOMPARE(meldungen.anzahl(), 1);
    QCOMPARE(meldungen.boxen().first().text,
             QStringLiteral("Keine entsprechenden Daten vorgefunden!"));
    QCOMPARE(meldungen.boxen().first().stil, int(Meldung::Information));
    QCOMPARE(f->scrVolltext()->Anzahl(), 0);
    QCOMPARE(MauszeigerAktuell(), int(Zeiger::Normal));
}

QTEST_MAIN(tst_frmHilfeIndex)
#include "tst_frmHilfeIndex.moc"
