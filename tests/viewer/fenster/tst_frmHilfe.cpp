// Checks the help window as a view of its document, offscreen on a test database: the tab
// rows, title labels and toolbar follow what the document shows, the toolbar and the tab rows
// reach the document, columns of section titles, a failing read that puts the tab back,
// the pointer over a text link, and the layout and scrolling applied to the
// widgets. Navigation itself is checked on the document (tests/viewer/dokument).
#include "TestHilfen.h"
#include "frmHilfe.h"

#include "Datenbank.h"
#include "Global.h"
#include "HilfeDatenbankSchreiber.h"
#include "HilfeUmgebung.h"
#include "MeldungSkript.h"
#include "Registerkarten.h"
#include "frmInhalt.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
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
    void spaltenUndVersteckteLabels();
    void fehlerBehaeltKapitel();
    void textVerweisFolgen();
    void layoutUndScrollen();

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
    QCOMPARE(h->tabMain()->anzahl(), 3);
    QCOMPARE(h->tabMain()->caption(1), QStringLiteral("Zweites"));
    QCOMPARE(h->tabSub()->caption(0), QStringLiteral("Thema A"));
    frmInhalt *r = frmInhalt::instanz();
    QVERIFY(!r->Button(1)->isEnabled());
    QVERIFY(!r->Button(2)->isEnabled());
    QVERIFY(!r->Button(4)->isEnabled()); // first section of the first topic and chapter
    QVERIFY(r->Button(5)->isEnabled());
    QVERIFY(h->txt()->toPlainText().contains(QStringLiteral("Text A1")));
    QCOMPARE(h->lblSub(0)->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0xC0));
    QCOMPARE(h->lblSub(1)->palette().color(QPalette::Window), QColor(0xE0, 0xE0, 0xE0));

    // The toolbar and the tab rows reach the document; the window follows it.
    h->GeheZuText(QStringLiteral("01.01.02"));
    QVERIFY(r->Button(1)->isEnabled());
    r->Button(1)->trigger();
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.01"));
    QVERIFY(r->Button(2)->isEnabled());
    QCOMPARE(h->lblSub(0)->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0xC0));
    QCOMPARE(h->lblSub(1)->palette().color(QPalette::Window), QColor(0xE0, 0xE0, 0xE0));
    r->Button(5)->trigger();
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("01.01.02"));
    QVERIFY(r->Button(4)->isEnabled());
    h->tabMain()->setAktuell(1);
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("02.01.01"));
    QCOMPARE(h->tabSub()->caption(0), QStringLiteral("Thema C"));
    QVERIFY(h->txt()->toPlainText().contains(QStringLiteral("Verweis auf A zwei")));
    // A topic without sections: the labels go, the text is empty.
    h->tabSub()->setAktuell(1);
    QVERIFY(h->lblSub(0)->isHidden());
    QVERIFY(h->txt()->toPlainText().isEmpty());
}


void tst_frmHilfe::spaltenUndVersteckteLabels()
{
    frmHilfe *h = oeffnen("01.02.01");
    QVERIFY(h);
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
    QVERIFY(h->lblSub(11));
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

    // A click on the tab reads the chapter now.
    QTabBar *leiste = h->tabMain()->leiste();
    QTest::mouseClick(leiste, Qt::LeftButton, {}, leiste->tabRect(1).center());
    QCOMPARE(h->tabSub()->caption(0), QStringLiteral("Thema C"));
    QCOMPARE(h->AktuelleNummer(), QStringLiteral("02.01.01"));
    QCOMPARE(meldungen.anzahl(), 2);
}


void tst_frmHilfe::textVerweisFolgen()
{
    // Clicking links is a user-level scenario; here the pointer over a link and character 0.
    frmHilfe *h = oeffnen("02.01.01");
    QVERIFY(h);
    const tVerweis v = h->dokument()->verweise().at(1);
    QTextCursor c(h->txt()->document());
    c.setPosition(v.Anfang + 2);
    const QPoint ueber = h->txt()->cursorRect(c).center();
    QCOMPARE(h->VerweisAnPunkt(ueber), 1);
    QTest::mouseMove(h->txt()->viewport(), ueber);
    QCOMPARE(h->txt()->viewport()->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(h->VerweisAnPunkt(QPoint(1, 1)), 0); // character 0 never counts
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


QTEST_MAIN(tst_frmHilfe)
#include "tst_frmHilfe.moc"
