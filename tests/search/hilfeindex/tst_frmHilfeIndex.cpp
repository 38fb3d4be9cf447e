// The keyword pane offscreen beside the help window: the keyword search, showing a keyword's
// texts with the history leading back, closing that keeps the content, unloading that forgets it.
#include "TestHilfen.h"
#include "frmHilfeIndex.h"

#include "Datenbank.h"
#include "Global.h"
#include "HilfeDatenbankSchreiber.h"
#include "HilfeSitzung.h"
#include "HilfeUmgebung.h"
#include "Mauszeiger.h"
#include "MeldungSkript.h"
#include "StichwortListe.h"
#include "TolvarScrollListe.h"
#include "TolvarTextBox.h"
#include "frmHilfe.h"
#include "frmInhalt.h"

#include <QAction>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
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
    void suchen_data();
    void suchen();
    void anzeigen_data();
    void anzeigen();
    void schliessenBehaeltInhalt_data();
    void schliessenBehaeltInhalt();
    void entladenVergisst_data();
    void entladenVergisst();

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
}

void tst_frmHilfeIndex::init()
{
    m_u.zuruecksetzen();
}

void tst_frmHilfeIndex::cleanup()
{
    QVERIFY(HilfeUmgebung::entladen());
    QVERIFY(!frmHilfeIndex::instanz());
}

// The help at 01.01.01 with the search button pressed.
frmHilfeIndex *tst_frmHilfeIndex::oeffnen()
{
    setzeProgrammVerzeichnis(m_u.dir.path());
    frmHilfe *h = HilfeUmgebung::oeffnen(QStringLiteral("01.01.01"));
    if (!h || !QTest::qWaitForWindowActive(rahmen()))
        return nullptr;
    rahmen()->Button(frmInhalt::ButtonSuchen)->trigger();
    return frmHilfeIndex::instanz();
}

void tst_frmHilfeIndex::suche(frmHilfeIndex *f, const QString &text)
{
    f->txtSuchen()->SetFocus();
    f->txtSuchen()->selectAll();
    QTest::keyClicks(f->txtSuchen(), text);
    QTest::keyClick(f->txtSuchen(), Qt::Key_Return);
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
    QVERIFY(frmInhalt::instanz());
    QCOMPARE(m_u.enden, 0);
    QVERIFY(!f->isVisible());
    QVERIFY(!HilfeUmgebung::sitzung()->stichwortSuche());
    QCOMPARE(frmHilfeIndex::instanz(), f);
    const int hoehe = rahmen()->clientBereich()->height();
    QCOMPARE(h->geometry(), QRect(0, 0, 900, hoehe));

    rahmen()->Button(frmInhalt::ButtonSuchen)->trigger();
    QCOMPARE(frmHilfeIndex::instanz(), f);
    QVERIFY(f->isVisible());
    QVERIFY(HilfeUmgebung::sitzung()->stichwortSuche());
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
        QVERIFY(!frmHilfe::instanz());
    } else {
        emit hilfe()->Entladen();
        QCOMPARE(hilfe()->geometry(), QRect(0, 0, 900, rahmen()->clientBereich()->height()));
    }
    QVERIFY(!frmHilfeIndex::instanz());
    QVERIFY(!HilfeUmgebung::sitzung()->stichwortSuche());
    QVERIFY(!rahmen()->stichwortFenster());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!alt);
    if (mitHilfefenster)
        return;

    // The next search command builds a fresh, empty pane.
    rahmen()->Button(frmInhalt::ButtonSuchen)->trigger();
    frmHilfeIndex *neu = frmHilfeIndex::instanz();
    QVERIFY(neu);
    QVERIFY(neu->isVisible());
    QCOMPARE(neu->txtSuchen()->Text(), QString());
    QCOMPARE(neu->lstWoerter()->ListCount(), 0);
    QCOMPARE(neu->scr()->Anzahl(), 0);
    QVERIFY(!neu->cmdSuchen()->isEnabled());
    QCOMPARE(neu->msNummern.size(), 1);
}

QTEST_MAIN(tst_frmHilfeIndex)
#include "tst_frmHilfeIndex.moc"
