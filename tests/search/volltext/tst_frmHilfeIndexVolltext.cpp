// The keyword pane's full-text mode offscreen beside the help window: the options switch between
// keyword and full-text search with their access keys, the captions and lists follow and the
// focus goes to the search field; a search fills the hit grid (keyword sections first, with
// titles, snippet and help number) on Enter, opening a hit by Enter, double click or the
// button shows the section as a keyword hit does and marks exactly the hit words, visibly and
// without touching the text or its links, scrolled into view; the next section shown has no
// marks; a search without hits shows one message; a database without index works the same.
#include "TestHilfen.h"
#include "frmHilfeIndex.h"

#include "Datenbank.h"
#include "Global.h"
#include "HilfeDatenbankSchreiber.h"
#include "HilfeUmgebung.h"
#include "Mauszeiger.h"
#include "Meldung.h"
#include "MeldungSkript.h"
#include "StichwortListe.h"
#include "TolvarScrollListe.h"
#include "TolvarTextBox.h"
#include "Volltextabfragen.h"
#include "frmHilfe.h"
#include "frmInhalt.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTextEdit>

namespace {

QString langerText()
{
    QString t;
    for (int i = 0; i < 80; ++i)
        t += QStringLiteral("Absatz %1 ohne das gesuchte Wort.\\par ").arg(i);
    return t + QStringLiteral("Ganz unten steht Skonto.");
}

} // namespace

class tst_frmHilfeIndexVolltext : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void moduswechsel();
    void tabReihenfolge();
    void oeffnen_data();
    void oeffnen();
    void markenBisZurNaechstenSeite();
    void ersterTrefferSichtbar();
    void keineTreffer();
    void groesseAendern();

private:
    frmHilfeIndex *oeffnenPane();
    void suche(frmHilfeIndex *f, const QString &text);
    HilfeUmgebung m_u;
    QString m_mit, m_ohne;
};

void tst_frmHilfeIndexVolltext::initTestCase()
{
    QVERIFY(m_u.einrichten());
    m_mit = m_u.dir.filePath(QStringLiteral("mit"));
    m_ohne = m_u.dir.filePath(QStringLiteral("ohne"));
    for (const QString &ordner : {m_mit, m_ohne}) {
        QVERIFY(QDir().mkpath(ordner));
        HilfeDatenbankSchreiber s;
        QVERIFY(m_u.schreiben(s, ordner));
        s.setVolltextIndex(ordner == m_mit);
        const qint32 k = s.kapitelEinfuegen(1, QStringLiteral("Grundlagen"), 1);
        const qint32 t1 = s.themaEinfuegen(k, 1, QStringLiteral("Start"), 1);
        s.textEinfuegen(t1, 1, QStringLiteral("Willkommen"), rtfAbsatz("Guten Tag."), 1);
        s.textEinfuegen(
            t1, 2, QStringLiteral("Nachlass gewähren"),
            rtfAbsatz("Der Skonto wird abgezogen, siehe \\{T01.01.03\\}Zahlungen\\{TE\\}. "
                      "Mehr zum Skontoabzug und zu Rabatten."),
            2);
        const qint32 zahlung = s.textEinfuegen(t1, 3, QStringLiteral("Zahlungen"),
                                               rtfAbsatz("Eine Zahlung mit Skonto buchen."), 3);
        const qint32 t2 = s.themaEinfuegen(k, 2, QStringLiteral("Mehr"), 2);
        s.textEinfuegen(t2, 1, QStringLiteral("Langer Abschnitt"), rtfAbsatz(langerText()), 1);
        s.zuordnungEinfuegen(s.wortEinfuegen(QStringLiteral("Skonto")), zahlung);
        QString fehler;
        QVERIFY2(s.abschliessen(&fehler), qPrintable(fehler));
    }
}

void tst_frmHilfeIndexVolltext::init()
{
    m_u.zuruecksetzen();
    setzeProgrammVerzeichnis(m_mit);
}

void tst_frmHilfeIndexVolltext::cleanup()
{
    QVERIFY(HilfeUmgebung::entladen());
    QVERIFY(!frmHilfeIndex::instanz(false));
}

frmHilfeIndex *tst_frmHilfeIndexVolltext::oeffnenPane()
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

void tst_frmHilfeIndexVolltext::suche(frmHilfeIndex *f, const QString &text)
{
    f->txtSuchen()->SetFocus();
    f->txtSuchen()->selectAll();
    QTest::keyClicks(f->txtSuchen(), text);
    QTest::keyClick(f->txtSuchen(), Qt::Key_Return);
}

void tst_frmHilfeIndexVolltext::moduswechsel()
{
    frmHilfeIndex *f = oeffnenPane();
    QVERIFY(f);
    // Keyword search is the default, as before.
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
    QVERIFY(!f->lstWoerter()->isVisible() && !f->scr()->isVisible());
    QVERIFY(!f->lbl(1)->isVisible() && !f->lbl(2)->isVisible());
    QVERIFY(f->scrVolltext()->isVisible() && f->lblVolltext()->isVisible());
    QCOMPARE(f->lbl(0)->text(), QStringLiteral("Text suchen:"));
    QCOMPARE(f->cmdSuchen()->text(), QStringLiteral("Abschnitte suchen"));
    QTRY_VERIFY(f->txtSuchen()->hasFocus());
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
}

void tst_frmHilfeIndexVolltext::tabReihenfolge()
{
    frmHilfeIndex *f = oeffnenPane();
    QVERIFY(f);
    f->optVolltext()->click();
    suche(f, QStringLiteral("Skonto"));
    QTRY_VERIFY(f->scrVolltext()->ansicht()->hasFocus());
    // From the field on, top to bottom, passing over the hidden keyword lists.
    f->txtSuchen()->SetFocus();
    QTRY_VERIFY(f->txtSuchen()->hasFocus());
    const QList<QWidget *> folge = {f->cmdSuchen(), f->scrVolltext()->ansicht(), f->cmdAnzeigen(),
                                    f->cmdAbbruch()};
    for (QWidget *w : folge) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_VERIFY2(w->hasFocus(), qPrintable(QApplication::focusWidget()->objectName()));
    }
}

void tst_frmHilfeIndexVolltext::oeffnen_data()
{
    QTest::addColumn<bool>("index");
    QTest::addColumn<QString>("wie");
    zeile("Enter", true, QStringLiteral("Enter"));
    zeile("Doppelklick", true, QStringLiteral("Doppelklick"));
    zeile("anzeigen", true, QStringLiteral("anzeigen"));
    zeile("ohne Index, Enter", false, QStringLiteral("Enter"));
}

void tst_frmHilfeIndexVolltext::oeffnen()
{
    QFETCH(bool, index);
    QFETCH(QString, wie);
    setzeProgrammVerzeichnis(index ? m_mit : m_ohne);
    Volltextsuche::speicherVerwerfen();
    frmHilfeIndex *f = oeffnenPane();
    QVERIFY(f);
    frmHilfe *h = frmHilfe::instanz();
    frmHilfeIndex::verbinden(h);
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
    QCOMPARE(g->Zelle(0, 0), QStringLiteral("Zahlungen"));
    QCOMPARE(g->Zelle(0, 1), QStringLiteral("Eine Zahlung mit Skonto buchen."));
    QCOMPARE(g->Zelle(0, 2), QStringLiteral("Start"));
    QCOMPARE(g->Zelle(0, 3), QStringLiteral("01.01.03"));
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
    } else if (wie == u"Doppelklick") {
        QTableView *v = g->ansicht();
        QTest::mouseDClick(v->viewport(), Qt::LeftButton, Qt::NoModifier,
                           v->visualRect(v->model()->index(zeile, 0)).center());
    } else {
        f->cmdAnzeigen()->click();
    }
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.02"));
    // Recorded in the history as a keyword hit is.
    QCOMPARE(h->dokument()->verlauf().anzahl(), verlauf + 2);

    // Exactly the hit words are marked, where the text box shows them.
    const QList<QPair<int, int>> marken = h->TrefferBereiche();
    QStringList woerter;
    for (const auto &[a, l] : marken) {
        woerter << h->TextBereich(a, a + l);
        QVERIFY(!h->ZeichenRechteck(a).isEmpty());
    }
    QCOMPARE(woerter, (QStringList{QStringLiteral("Skonto"), QStringLiteral("Skontoabzug")}));
    QCOMPARE(h->txt()->extraSelections().size(), 2);
    for (const QTextEdit::ExtraSelection &s : h->txt()->extraSelections())
        QVERIFY(s.cursor.selectedText().contains(QStringLiteral("Skonto")));
    // The text and its links are as without marks.
    QCOMPARE(h->txt()->toPlainText(), ohneMarken);
    QCOMPARE(h->dokument()->verweise().size(), verweise.size());
    for (int i = 1; i < verweise.size(); ++i) {
        QCOMPARE(h->dokument()->verweise()[i].Anfang, verweise[i].Anfang);
        QCOMPARE(h->dokument()->verweise()[i].Ende, verweise[i].Ende);
        QCOMPARE(h->dokument()->verweise()[i].TextNummer, verweise[i].TextNummer);
    }
    // The link still leads where it led.
    QCOMPARE(verweise[1].TextNummer, QStringLiteral("01.01.03"));
    QCOMPARE(h->VerweisAnPunkt(h->ZeichenRechteck(verweise[1].Anfang).center()), 1);
}

void tst_frmHilfeIndexVolltext::markenBisZurNaechstenSeite()
{
    frmHilfeIndex *f = oeffnenPane();
    QVERIFY(f);
    frmHilfe *h = frmHilfe::instanz();
    frmHilfeIndex::verbinden(h);
    f->optVolltext()->click();
    suche(f, QStringLiteral("Skonto"));
    f->cmdAnzeigen()->click();
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.03"));
    QCOMPARE(h->TrefferBereiche().size(), 1);
    h->lblSub_Click(0);
    QVERIFY(h->TrefferBereiche().isEmpty());
    QVERIFY(h->txt()->extraSelections().isEmpty());
    // Back in the history: the section comes without marks too.
    h->ButtonClick(frmInhalt::ButtonZurueck);
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.03"));
    QVERIFY(h->txt()->extraSelections().isEmpty());
}

void tst_frmHilfeIndexVolltext::ersterTrefferSichtbar()
{
    frmHilfeIndex *f = oeffnenPane();
    QVERIFY(f);
    frmHilfe *h = frmHilfe::instanz();
    frmHilfeIndex::verbinden(h);
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
}

void tst_frmHilfeIndexVolltext::keineTreffer()
{
    frmHilfeIndex *f = oeffnenPane();
    QVERIFY(f);
    f->optVolltext()->click();
    suche(f, QStringLiteral("Skonto"));
    QCOMPARE(f->scrVolltext()->Anzahl(), 3);
    for (const QString &text : {QStringLiteral("Xylophon"), QStringLiteral("%_*\"")}) {
        SkriptMeldungen meldungen;
        suche(f, text);
        QCOMPARE(meldungen.anzahl(), 1);
        QCOMPARE(meldungen.boxen().first().text,
                 QStringLiteral("Keine entsprechenden Daten vorgefunden!"));
        QCOMPARE(meldungen.boxen().first().stil, int(Meldung::Information));
        QCOMPARE(f->scrVolltext()->Anzahl(), 0);
        QCOMPARE(MauszeigerAktuell(), int(Zeiger::Normal));
    }
}

void tst_frmHilfeIndexVolltext::groesseAendern()
{
    frmHilfeIndex *f = oeffnenPane();
    QVERIFY(f);
    f->optVolltext()->click();
    for (const QSize s : {QSize(900, 700), QSize(700, 420), QSize(1200, 900)}) {
        frmInhalt::instanz()->resize(s);
        QApplication::processEvents();
        // The grid ends above the buttons, the options stay inside the pane and apart.
        const QRect g = f->scrVolltext()->geometry();
        QVERIFY(g.bottom() < f->cmdAnzeigen()->geometry().top());
        QVERIFY(f->optVolltext()->geometry().right() < f->width());
        QVERIFY(f->optStichwort()->geometry().right() < f->optVolltext()->geometry().left());
        QVERIFY(f->optStichwort()->geometry().bottom() < f->txtSuchen()->geometry().top());
        QCOMPARE(g.left(), f->txtSuchen()->geometry().left());
        QCOMPARE(g.width(), f->txtSuchen()->geometry().width());
    }
}

QTEST_MAIN(tst_frmHilfeIndexVolltext)
#include "tst_frmHilfeIndexVolltext.moc"
