// Checks the help window offscreen on a test database: reading the chapters, help numbers
// with unknown parts, tab changes made by code (their handlers run inside the call), the
// page history with back, forward and the cut after back, columns of section titles, a
// failing query that is read again on the next click, following a text link, Esc, and the
// layout and scrolling applied to the widgets.
#include "TestHilfen.h"
#include "frmHilfe.h"

#include "Datenbank.h"
#include "Global.h"
#include "HilfeAnbindung.h"
#include "HilfeDatenbankSchreiber.h"
#include "HilfeUmgebung.h"
#include "MeldungSkript.h"
#include "Registerkarten.h"
#include "frmInhalt.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>

class tst_frmHilfe : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void startOhneNummer();
    void gehe_data();
    void gehe();
    void aufrufWieNeu_data();
    void aufrufWieNeu();
    void tabVonCodeLaedtSofort();
    void verlaufZurueckVorUndAbschneiden();
    void gleicherAbschnittNochmals();
    void spaltenUndVersteckteLabels();
    void fehlerBehaeltKapitel();
    void textVerweisFolgen();
    void layoutUndScrollen();
    void darstellungsKnopf();
    void escSchliesst();

private:
    static frmHilfe *oeffnen(const QString &nummer) { return HilfeUmgebung::oeffnen(nummer); }
    HilfeUmgebung m_u;
};

void tst_frmHilfe::initTestCase()
{
    QVERIFY(m_u.einrichten());
    HilfeDatenbankSchreiber s;
    QVERIFY(m_u.schreiben(s));
    // Chapter 1: topic 1 with three sections, topic 2 with twelve (two columns and more).
    const qint32 k1 = s.kapitelEinfuegen(1, QStringLiteral("Erstes"), 1);
    const qint32 t11 = s.themaEinfuegen(k1, 1, QStringLiteral("Thema A"), 1);
    s.textEinfuegen(t11, 1, QStringLiteral("A eins"), rtfAbsatz("Text A1"), 1);
    s.textEinfuegen(t11, 2, QStringLiteral("A zwei"), rtfAbsatz("Text A2"), 2);
    s.textEinfuegen(t11, 3, QStringLiteral("A drei"), rtfAbsatz("Text A3"), 3);
    const qint32 t12 = s.themaEinfuegen(k1, 2, QStringLiteral("Thema B"), 2);
    for (int i = 1; i <= 12; ++i)
        s.textEinfuegen(t12, i, QStringLiteral("Abschnitt B%1").arg(i),
                        rtfAbsatz(QStringLiteral("Text B%1").arg(i)), i);
    // Chapter 2 (listed second, by lfdNummer): a section with a text link to 01.01.02.
    const qint32 k2 = s.kapitelEinfuegen(2, QStringLiteral("Zweites"), 2);
    const qint32 t21 = s.themaEinfuegen(k2, 1, QStringLiteral("Thema C"), 1);
    s.textEinfuegen(t21, 1, QStringLiteral("C eins"),
                    rtfAbsatz("Siehe \\{T01.01.02\\}Verweis auf A zwei\\{TE\\} hier."), 1);
    s.textEinfuegen(t21, 2, QStringLiteral("C zwei"), rtfAbsatz("Text C2"), 2);
    s.themaEinfuegen(k2, 3, QStringLiteral("Thema leer"), 2);
    // Chapter 3 without topics.
    s.kapitelEinfuegen(3, QStringLiteral("Drittes"), 3);
    QString fehler;
    QVERIFY2(s.abschliessen(&fehler), qPrintable(fehler));
    setzeProgrammVerzeichnis(m_u.dir.path());
}

void tst_frmHilfe::init()
{
    m_u.zuruecksetzen();
}

void tst_frmHilfe::cleanup()
{
    QVERIFY(HilfeUmgebung::entladen());
}

void tst_frmHilfe::startOhneNummer()
{
    frmHilfe *h = oeffnen(QString());
    QVERIFY(h);
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.01"));
    QCOMPARE(h->miKapitelAnzahl, qint32(3));
    QCOMPARE(h->tabMain()->caption(1), QStringLiteral("Zweites"));
    QCOMPARE(h->tabSub()->caption(0), QStringLiteral("Thema A"));
    QCOMPARE(h->VerlaufAnzahl(), 1);
    QCOMPARE(h->VerlaufPosition(), 1);
    frmInhalt *r = frmInhalt::instanz();
    QVERIFY(!r->Button(1)->isEnabled());
    QVERIFY(!r->Button(2)->isEnabled());
    QVERIFY(!r->Button(4)->isEnabled()); // first section of the first topic and chapter
    QVERIFY(r->Button(5)->isEnabled());
    QVERIFY(h->txt()->toPlainText().contains(QStringLiteral("Text A1")));
    QCOMPARE(h->lblSub(0)->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0xC0));
    QCOMPARE(h->lblSub(1)->palette().color(QPalette::Window), QColor(0xE0, 0xE0, 0xE0));
}

void tst_frmHilfe::gehe_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("ziel");
    QTest::addColumn<QString>("erwartet"); // "" = no section selected
    QTest::addColumn<int>("kapitelTab");
    QTest::addColumn<int>("themaTab");
    QTest::addColumn<int>("verlauf");

    zeile("genau", "01.01.01", "02.01.02", "02.01.02", 1, 0, 2);
    zeile("ohne Nullen", "01.01.01", "1.2.3", "01.02.03", 0, 1, 2);
    zeile("Leerzeichen", "01.01.01", " 2. 1.02", "02.01.02", 1, 0, 2);
    // No chapter 9: the chapter stays, topic and section are looked up within it.
    zeile("Kapitel unbekannt", "01.01.01", "09.02.03", "01.02.03", 0, 1, 2);
    // No topic 9: the topic stays.
    zeile("Thema unbekannt", "01.01.01", "01.09.02", "01.01.02", 0, 0, 2);
    // After a chapter change its first topic is loaded without selecting a section.
    zeile("Thema unbekannt, anderes Kapitel", "01.01.01", "02.09.02", "02.01.02", 1, 0, 2);
    // No section 9: nothing selected, nothing recorded.
    zeile("Abschnitt unbekannt", "01.01.01", "02.01.09", "", 1, 0, 1);
    // Too few parts: the missing ones are 0 and match nothing.
    zeile("zu kurz", "01.01.02", "02", "", 1, 0, 1);
    // A chapter without topics: the chapter tab changes, no topic tab and no section of the
    // previous chapter stays, and nothing is recorded.
    zeile("Kapitel ohne Themen", "01.02.01", "03.01.01", "", 2, -1, 1);
    zeile("Thema ohne Texte", "01.01.01", "02.03.01", "", 1, 1, 1);
}

void tst_frmHilfe::gehe()
{
    QFETCH(QString, start);
    QFETCH(QString, ziel);
    QFETCH(QString, erwartet);
    QFETCH(int, kapitelTab);
    QFETCH(int, themaTab);
    QFETCH(int, verlauf);

    frmHilfe *h = oeffnen(start);
    QVERIFY(h);
    h->GeheZuText(ziel);
    QCOMPARE(h->tabMain()->aktuell(), kapitelTab);
    QCOMPARE(h->tabSub()->aktuell(), themaTab);
    if (erwartet.isEmpty()) {
        QCOMPARE(h->miAktTextIndex, qint16(-1));
    } else {
        QCOMPARE(h->AktuelleNummer(), erwartet);
        QCOMPARE(h->VerlaufEintrag(h->VerlaufAnzahl()), erwartet);
    }
    QCOMPARE(h->VerlaufAnzahl(), verlauf);
    QCOMPARE(h->VerlaufPosition(), verlauf);
}

void tst_frmHilfe::aufrufWieNeu_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("ziel");
    QTest::addColumn<QString>("erwartet");

    // A host call resolves a number as a fresh start does, whatever was shown before: an
    // unknown chapter gives the first section of all, an unknown topic the section asked for
    // in the chapter's first topic, an unknown section the topic's first.
    for (const char *start : {"01.02.05", "02.01.02"}) {
        const QByteArray s(start);
        zeile((s + " Kapitel unbekannt").constData(), QString(start), "09.02.01", "01.01.01");
        zeile((s + " Thema unbekannt").constData(), QString(start), "01.09.02", "01.01.02");
        zeile((s + " Abschnitt unbekannt").constData(), QString(start), "01.02.99", "01.02.01");
        zeile((s + " genau").constData(), QString(start), "01.02.03", "01.02.03");
    }
}

void tst_frmHilfe::aufrufWieNeu()
{
    QFETCH(QString, start);
    QFETCH(QString, ziel);
    QFETCH(QString, erwartet);

    frmHilfe *h = oeffnen(start);
    QVERIFY(h);
    QCOMPARE(h->AktuelleNummer(), start);
    bool klein = false;
    QVERIFY(h->DatenEinlesen(ziel, klein));
    QCOMPARE(h->AktuelleNummer(), erwartet);
    QCOMPARE(h->VerlaufAnzahl(), 1);
}

void tst_frmHilfe::tabVonCodeLaedtSofort()
{
    frmHilfe *h = oeffnen("01.01.01");
    QVERIFY(h);
    // Setting the tab from code runs its handler inside the call: the first section of the
    // chapter's first topic is shown and recorded before setAktuell returns.
    h->tabMain()->setAktuell(1);
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("02.01.01"));
    QCOMPARE(h->VerlaufAnzahl(), 2);
    QCOMPARE(h->tabSub()->caption(0), QStringLiteral("Thema C"));
    h->tabSub()->setAktuell(1); // topic without texts: nothing shown, labels hidden
    QCOMPARE(h->VerlaufAnzahl(), 2);
    QVERIFY(h->lblSub(0)->isHidden());
    QVERIFY(h->txt()->toPlainText().isEmpty());
    QCOMPARE(h->miVerweisAnzahl, qint16(0));
    h->tabMain()->setAktuell(0);
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.01"));
    QCOMPARE(h->VerlaufAnzahl(), 3);
}

void tst_frmHilfe::verlaufZurueckVorUndAbschneiden()
{
    frmHilfe *h = oeffnen("01.01.01");
    QVERIFY(h);
    frmInhalt *r = frmInhalt::instanz();
    h->GeheZuText("01.01.02");
    h->GeheZuText("02.01.01");
    QCOMPARE(h->VerlaufAnzahl(), 3);
    QVERIFY(r->Button(1)->isEnabled());
    QVERIFY(!r->Button(2)->isEnabled());

    r->Button(1)->trigger(); // back, through the frame's signal
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.02"));
    QCOMPARE(h->VerlaufAnzahl(), 3);
    QCOMPARE(h->VerlaufPosition(), 2);
    QVERIFY(r->Button(2)->isEnabled());
    QVERIFY(h->mbVerlaufMerken);

    h->ButtonClick(2); // forward
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("02.01.01"));
    QCOMPARE(h->VerlaufAnzahl(), 3);
    QCOMPARE(h->VerlaufPosition(), 3);
    h->ButtonClick(2); // at the end: nothing
    QCOMPARE(h->VerlaufPosition(), 3);

    h->ButtonClick(1);
    h->ButtonClick(1);
    QCOMPARE(h->VerlaufPosition(), 1);
    QVERIFY(!r->Button(1)->isEnabled());
    h->ButtonClick(1); // at the start: nothing
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.01"));

    h->ButtonClick(2); // entry 2
    // A click on another section title cuts the entries ahead.
    QTest::mouseClick(h->lblSub(2), Qt::LeftButton);
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.03"));
    QCOMPARE(h->VerlaufAnzahl(), 3);
    QCOMPARE(h->VerlaufEintrag(3), QStringLiteral("01.01.03"));
    QCOMPARE(h->VerlaufEintrag(4), QString());
    QVERIFY(!r->Button(2)->isEnabled());
    // Separators and unknown indexes do nothing.
    for (int i : {0, 3, 6, 13, -1})
        h->ButtonClick(i);
    QCOMPARE(h->VerlaufAnzahl(), 3);
}

void tst_frmHilfe::gleicherAbschnittNochmals()
{
    frmHilfe *h = oeffnen("01.01.02");
    QVERIFY(h);
    h->GeheZuText("01.01.02");
    QCOMPARE(h->VerlaufAnzahl(), 2);
    QCOMPARE(h->VerlaufEintrag(2), QStringLiteral("01.01.02"));
}

void tst_frmHilfe::spaltenUndVersteckteLabels()
{
    frmHilfe *h = oeffnen("01.02.01");
    QVERIFY(h);
    QCOMPARE(h->miTexteAnzahl, qint16(12));
    QCOMPARE(h->miLabelAnzahl, qint16(12));
    qint32 breiteste = 0;
    for (int i = 0; i < 12; ++i)
        breiteste = std::max(breiteste, h->lblSubTwips(i).breite);
    QVERIFY(breiteste > 0);
    // fraSub is 1230 twips high; titles of 195 with 45 between: five to a column.
    const qint32 spalte = breiteste + 90;
    for (int i = 0; i < 12; ++i) {
        const TwipRechteck g = h->lblSubTwips(i);
        QCOMPARE(g.oben, 45 + (i % 5) * 240);
        QCOMPARE(g.links, 45 + (i / 5) * spalte);
        QVERIFY(h->lblSub(i)->isVisibleTo(h));
    }
    // A smaller topic hides the surplus labels; they stay in existence.
    h->GeheZuText("01.01.01");
    QCOMPARE(h->miLabelAnzahl, qint16(12));
    QVERIFY(h->lblSub(2)->isVisibleTo(h));
    for (int i = 3; i < 12; ++i)
        QVERIFY(!h->lblSub(i)->isVisibleTo(h));
    QCOMPARE(h->lblSubTwips(1).links, 45);
    QCOMPARE(h->lblSub(1)->text(), QStringLiteral("A zwei"));
}

void tst_frmHilfe::fehlerBehaeltKapitel()
{
    frmHilfe *h = oeffnen("01.01.01");
    QVERIFY(h);
    SkriptMeldungen meldungen;
    const QString datei = m_u.dir.filePath(QStringLiteral("HilfeBelna.mdb"));
    const QString weg = datei + QStringLiteral(".weg");
    QVERIFY(QFile::rename(datei, weg));
    // The topic query fails: one message, and the tab goes back to the chapter whose topics
    // and section are still shown.
    h->tabMain()->setAktuell(1);
    QCOMPARE(meldungen.anzahl(), 1);
    QCOMPARE(h->tabMain()->aktuell(), 0);
    QCOMPARE(h->tabSub()->caption(0), QStringLiteral("Thema A"));
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.01"));
    // A jump into that chapter fails once, reports once and records nothing.
    h->GeheZuText(QStringLiteral("02.01.01"));
    QVERIFY(QFile::rename(weg, datei));
    QCOMPARE(meldungen.anzahl(), 2);
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.01"));
    QCOMPARE(h->VerlaufAnzahl(), 1);

    // A click on the tab reads the chapter now.
    QTabBar *leiste = h->tabMain()->leiste();
    QTest::mouseClick(leiste, Qt::LeftButton, {}, leiste->tabRect(1).center());
    QCOMPARE(h->tabSub()->caption(0), QStringLiteral("Thema C"));
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("02.01.01"));
    QCOMPARE(meldungen.anzahl(), 2);
}

void tst_frmHilfe::textVerweisFolgen()
{
    frmHilfe *h = oeffnen("02.01.01");
    QVERIFY(h);
    QCOMPARE(h->miVerweisAnzahl, qint16(1));
    const tVerweis v = h->mtVerweise.at(1);
    QCOMPARE(v.TextNummer, QStringLiteral("01.01.02"));
    QVERIFY(!h->txt()->toPlainText().contains(QStringLiteral("{T")));

    QTextCursor c(h->txt()->document());
    c.setPosition(v.Anfang + 2);
    const QPoint ueber = h->txt()->cursorRect(c).center();
    QCOMPARE(h->VerweisAnPunkt(ueber), 1);
    QTest::mouseMove(h->txt()->viewport(), ueber);
    QCOMPARE(h->txt()->viewport()->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(h->VerweisAnPunkt(QPoint(1, 1)), 0); // character 0 never counts

    // Any button follows the link, and the jump is recorded.
    QTest::mouseClick(h->txt()->viewport(), Qt::RightButton, {}, ueber);
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.02"));
    QCOMPARE(h->VerlaufAnzahl(), 2);
    QCOMPARE(h->miVerweisAnzahl, qint16(0));
}

void tst_frmHilfe::layoutUndScrollen()
{
    frmHilfe *h = oeffnen("01.01.01");
    QVERIFY(h);
    // 150 x 200 pixels = 2250 x 3000 twips: both bars, page 3000 x 5000.
    h->resize(150, 200);
    QVERIFY(h->HScroll1()->isVisible());
    QVERIFY(h->VScroll1()->isVisible());
    QCOMPARE(h->picMainTwips(), (TwipRechteck{0, 0, 3000, 5000}));
    const int vBreite = TwipRunden(pixelZuTwipsX(h->VScroll1()->width()));
    QCOMPARE(h->HScroll1()->maximum(), 3000 - (2250 - vBreite - 90));
    QCOMPARE(h->picMain()->size(), QSize(200, 333));

    h->VScroll1()->setValue(600);
    QCOMPARE(h->picMainTwips().oben, -600);
    QCOMPARE(h->picBackgroundTwips().oben, 405 - 600);
    QCOMPARE(h->picBackground()->y(), -13);
    h->HScroll1()->setValue(600);
    QCOMPARE(h->picMainTwips().links, -600);
    QCOMPARE(h->picBackgroundTwips().links, 45 - 600); // the text moves with the page

    // Large enough: no bars, and the page is home again.
    h->resize(800, 500);
    QVERIFY(!h->HScroll1()->isVisible());
    QVERIFY(!h->VScroll1()->isVisible());
    QCOMPARE(h->picMainTwips(), (TwipRechteck{0, 0, 11910, 7410}));
    QCOMPARE(h->picBackgroundTwips().oben, 405);
    QCOMPARE(h->picContainer()->geometry(), QRect(3, 3, 794, 494));
}

void tst_frmHilfe::darstellungsKnopf()
{
    frmHilfe *h = oeffnen("01.01.01");
    QVERIFY(h);
    int platziert = 0;
    HilfeAnbindung::fensterPositionieren = [&platziert] { ++platziert; };
    frmInhalt::instanz()->Button(11)->trigger();
    QCOMPARE(gbDarstellung, true);
    h->ButtonClick(12);
    QCOMPARE(gbDarstellung, false);
    QCOMPARE(platziert, 2);
    HilfeAnbindung::fensterPositionieren = nullptr;
}

void tst_frmHilfe::escSchliesst()
{
    frmHilfe *h = oeffnen("01.01.01");
    QVERIFY(h);
    frmInhalt::instanz()->activateWindow();
    h->txt()->setFocus();
    QTest::keyClick(h->txt(), Qt::Key_Escape);
    QCOMPARE(m_u.enden, 1);
    QVERIFY(!frmHilfe::instanz(false));
    QVERIFY(!frmInhalt::instanz(false));
}

QTEST_MAIN(tst_frmHilfe)
#include "tst_frmHilfe.moc"
