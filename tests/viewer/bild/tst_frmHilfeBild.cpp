// Checks the picture window offscreen: its inner size (picture plus 90 twips on every side)
// and its place at the lower left of a fixed work area, for several work areas and twip
// factors and for pictures larger than the work area (clamped, scrolling); the caption from
// the link text; reuse for a second picture; Esc closing only the picture window; pictures
// that cannot be shown (missing, damaged archive, no bitmap member) leaving the window as it
// was without a message; and unloading with the help window and when the keyword pane opens.
#include "frmHilfe.h"
#include "frmHilfeBild.h"

#include "Datenbank.h"
#include "Global.h"
#include "HilfeDatenbankSchreiber.h"
#include "HilfeUmgebung.h"
#include "MeldungSkript.h"
#include "ZipHilfe.h"
#include "frmInhalt.h"

#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTextEdit>

class tst_frmHilfeBild : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void groesseUndPlatz_data();
    void groesseUndPlatz();
    void verweisKlickZeigtBild();
    void zweitesBildImSelbenFenster();
    void bildNichtZeigbar_data();
    void bildNichtZeigbar();
    void entladen_data();
    void entladen();

private:
    static frmHilfe *hilfeOeffnen() { return HilfeUmgebung::oeffnen(QStringLiteral("01.01.01")); }
    HilfeUmgebung m_u;
};

void tst_frmHilfeBild::initTestCase()
{
    QVERIFY(m_u.einrichten());
    HilfeDatenbankSchreiber s;
    QVERIFY(m_u.schreiben(s));
    const qint32 k = s.kapitelEinfuegen(1, QStringLiteral("Kapitel"), 1);
    const qint32 t = s.themaEinfuegen(k, 1, QStringLiteral("Thema"), 1);
    s.textEinfuegen(t, 1, QStringLiteral("Abschnitt"),
                    QStringLiteral("{\\rtf1\\ansi Siehe \\{P00001\\}Maske Rechnung\\{PE\\} "
                                   "hier.\\par}"),
                    1);
    // The stored title differs from the link text: the caption takes the link text.
    s.bildEinfuegen(1, bildArchiv(QSize(200, 100), Qt::red), QStringLiteral("gespeichert"));
    s.bildEinfuegen(2, bildArchiv(QSize(50, 40), Qt::blue), QStringLiteral("blau"));
    s.bildEinfuegen(3, QByteArray("PK\x03\x04 kein Archiv", 17), QStringLiteral("kaputt"));
    s.bildEinfuegen(4, zipErstellen({{"Bild.bmp", bmpErstellen(QSize(20, 20), Qt::green)}}),
                    QStringLiteral("ohne Temp.bmp"));
    s.bildEinfuegen(5, zipErstellen({{"Temp.bmp", QByteArray("BM kein Bitmap")}}),
                    QStringLiteral("kein Bitmap"));
    s.bildEinfuegen(6, bildArchiv(QSize(3000, 200), Qt::gray), QStringLiteral("breit"));
    s.bildEinfuegen(7, bildArchiv(QSize(2000, 1500), Qt::gray), QStringLiteral("gross"));
    QString fehler;
    QVERIFY2(s.abschliessen(&fehler), qPrintable(fehler));
    setzeProgrammVerzeichnis(m_u.dir.path());
}

void tst_frmHilfeBild::init()
{
    m_u.zuruecksetzen();
    m_u.bereich = FesterArbeitsbereich(QRect(0, 0, 1600, 1140));
}

void tst_frmHilfeBild::cleanup()
{
    frmHilfeBild::Entladen();
    QVERIFY(HilfeUmgebung::entladen());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!frmHilfeBild::instanz(false));
}

void tst_frmHilfeBild::groesseUndPlatz_data()
{
    QTest::addColumn<QRect>("bereich");
    QTest::addColumn<double>("twips");
    QTest::addColumn<QString>("bild");
    QTest::addColumn<QSize>("innen"); // when the picture does not scroll
    QTest::addColumn<int>("rand");
    QTest::addColumn<bool>("waagerecht"); // scrolls sideways
    QTest::addColumn<bool>("senkrecht");

    // 90 twips are 6 pixels at 15 twips per pixel; 200 x 100 pixels plus 12 each way.
    QTest::newRow("15 Twips") << QRect(0, 0, 1600, 1140) << 15.0 << "00001" << QSize(212, 112) << 6
                              << false << false;
    // The lower left of a work area that does not start at the screen's corner.
    QTest::newRow("Bereich versetzt")
        << QRect(100, 40, 1200, 800) << 15.0 << "1" << QSize(212, 112) << 6 << false << false;
    QTest::newRow("9 Twips") << QRect(0, 0, 1600, 1140) << 9.0 << "00001" << QSize(220, 120) << 10
                             << false << false;
    // Larger than the work area: as large as the work area, and the picture scrolls. A
    // picture only too wide keeps its height plus the horizontal scroll bar.
    QTest::newRow("zu breit") << QRect(0, 0, 1600, 1140) << 15.0 << "00006" << QSize() << 6 << true
                              << false;
    QTest::newRow("zu gross") << QRect(0, 30, 1600, 1110) << 15.0 << "00007" << QSize() << 6 << true
                              << true;
}

void tst_frmHilfeBild::groesseUndPlatz()
{
    QFETCH(QRect, bereich);
    QFETCH(double, twips);
    QFETCH(QString, bild);
    QFETCH(QSize, innen);
    QFETCH(int, rand);
    QFETCH(bool, waagerecht);
    QFETCH(bool, senkrecht);

    m_u.bereich = FesterArbeitsbereich(bereich, twips, twips);
    QVERIFY(frmHilfeBild::BildZeigen(bild, QStringLiteral("Titel")));
    frmHilfeBild *f = frmHilfeBild::instanz(false);
    QVERIFY(f);
    QVERIFY(f->isVisible());
    QVERIFY(f->isWindow());
    const QSize bildGroesse = f->picBild()->pixmap().size();
    QCOMPARE(f->picBild()->geometry(), QRect(QPoint(rand, rand), bildGroesse));

    const QRect aussen = f->frameGeometry();
    const QSize rahmen = aussen.size() - f->size();
    const int balken = f->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (!waagerecht && !senkrecht)
        QCOMPARE(f->size(), innen);
    const int breite = waagerecht ? bereich.width() - rahmen.width()
                                  : bildGroesse.width() + 2 * rand + (senkrecht ? balken : 0);
    const int hoehe = senkrecht ? bereich.height() - rahmen.height()
                                : bildGroesse.height() + 2 * rand + (waagerecht ? balken : 0);
    QCOMPARE(f->size(), QSize(breite, hoehe));
    QCOMPARE(f->minimumSize(), f->maximumSize()); // the user cannot resize it
    // The outer frame's lower left corner lies on the work area's.
    QCOMPARE(aussen.left(), bereich.left());
    QCOMPARE(aussen.bottom(), bereich.bottom());
    QVERIFY(bereich.contains(aussen));

    QScrollBar *w = f->flaeche()->horizontalScrollBar();
    QScrollBar *s = f->flaeche()->verticalScrollBar();
    QCOMPARE(w->isVisible(), waagerecht);
    QCOMPARE(s->isVisible(), senkrecht);
    // Scrolled to the far end, the picture's last pixels and the margin show.
    QCOMPARE(w->maximum() + f->flaeche()->viewport()->width(), bildGroesse.width() + 2 * rand);
    QCOMPARE(s->maximum() + f->flaeche()->viewport()->height(), bildGroesse.height() + 2 * rand);
}

// The scenarios click every link and close the picture with Esc; here the caption taken from
// the link's text, not from the stored title.
void tst_frmHilfeBild::verweisKlickZeigtBild()
{
    frmHilfe *h = hilfeOeffnen();
    QVERIFY(h);
    QCOMPARE(h->dokument()->verweisAnzahl(), qint16(1));
    QTextCursor c(h->txt()->document());
    c.setPosition(h->dokument()->verweise().at(1).Anfang + 2);
    QTest::mouseClick(h->txt()->viewport(), Qt::LeftButton, {}, h->txt()->cursorRect(c).center());
    frmHilfeBild *f = frmHilfeBild::instanz(false);
    QVERIFY(f);
    QCOMPARE(f->windowTitle(), QStringLiteral("Maske Rechnung (ESC = Fenster schließen)"));
    QVERIFY(!f->parentWidget()); // a window of its own, not inside the frame
    QCOMPARE(f->picBild()->pixmap().toImage().pixelColor(10, 10), QColor(Qt::red));
}

void tst_frmHilfeBild::zweitesBildImSelbenFenster()
{
    QVERIFY(frmHilfeBild::BildZeigen("00001", "Erstes"));
    QPointer<frmHilfeBild> f = frmHilfeBild::instanz(false);
    QVERIFY(frmHilfeBild::BildZeigen("00002", "Zweites"));
    QCOMPARE(frmHilfeBild::instanz(false), f.data());
    QCOMPARE(f->windowTitle(), QStringLiteral("Zweites (ESC = Fenster schließen)"));
    QCOMPARE(f->size(), QSize(62, 52));
    QCOMPARE(f->frameGeometry().left(), 0);
    QCOMPARE(f->frameGeometry().bottom(), 1139);
    QCOMPARE(f->picBild()->pixmap().toImage().pixelColor(5, 5), QColor(Qt::blue));
}

void tst_frmHilfeBild::bildNichtZeigbar_data()
{
    QTest::addColumn<QString>("nummer");
    QTest::addColumn<bool>("offen"); // a picture window is open before
    for (bool offen : {false, true}) {
        const char *zusatz = offen ? ", Fenster offen" : "";
        QTest::addRow("fehlt%s", zusatz) << "00099" << offen;
        QTest::addRow("Archiv beschädigt%s", zusatz) << "00003" << offen;
        QTest::addRow("ohne Temp.bmp%s", zusatz) << "00004" << offen;
        QTest::addRow("kein Bitmap%s", zusatz) << "00005" << offen;
    }
}

void tst_frmHilfeBild::bildNichtZeigbar()
{
    QFETCH(QString, nummer);
    QFETCH(bool, offen);
    SkriptMeldungen meldungen;
    QPointer<frmHilfeBild> f;
    if (offen) {
        QVERIFY(frmHilfeBild::BildZeigen("00001", "Erstes"));
        f = frmHilfeBild::instanz(false);
    }
    const QRect vorher = f ? f->geometry() : QRect();

    QVERIFY(!frmHilfeBild::BildZeigen(nummer, QStringLiteral("Neu")));
    QCOMPARE(meldungen.anzahl(), 0);
    QCOMPARE(frmHilfeBild::instanz(false), f.data());
    if (offen) {
        QCOMPARE(f->windowTitle(), QStringLiteral("Erstes (ESC = Fenster schließen)"));
        QCOMPARE(f->geometry(), vorher);
        QCOMPARE(f->picBild()->pixmap().size(), QSize(200, 100));
        QVERIFY(f->isVisible());
    }
}

void tst_frmHilfeBild::entladen_data()
{
    QTest::addColumn<QString>("wie");
    QTest::addColumn<bool>("hilfeBleibt");
    QTest::newRow("Rahmen entladen") << "Rahmen" << false;
    QTest::newRow("Esc in der Hilfe") << "Esc" << false;
    QTest::newRow("Stichwortsuche") << "Suchen" << true;
    QTest::newRow("Esc im Bildfenster") << "Esc im Bild" << true;
}

void tst_frmHilfeBild::entladen()
{
    QFETCH(QString, wie);
    QFETCH(bool, hilfeBleibt);
    frmHilfe *h = hilfeOeffnen();
    QVERIFY(h);
    QVERIFY(frmHilfeBild::BildZeigen("00001", "Erstes"));
    QPointer<frmHilfeBild> f = frmHilfeBild::instanz(false);
    if (wie == QStringLiteral("Rahmen"))
        frmInhalt::instanz()->Unload();
    else if (wie == QStringLiteral("Esc"))
        QTest::keyClick(h->txt(), Qt::Key_Escape);
    else if (wie == QStringLiteral("Esc im Bild"))
        QTest::keyClick(f->flaeche()->viewport(), Qt::Key_Escape);
    else
        h->ButtonClick(frmInhalt::ButtonSuchen);
    QVERIFY(!frmHilfeBild::instanz(false));
    QCOMPARE(frmHilfe::instanz(false) != nullptr, hilfeBleibt);
    QCOMPARE(m_u.enden, hilfeBleibt ? 0 : 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(f.isNull());
}

QTEST_MAIN(tst_frmHilfeBild)
#include "tst_frmHilfeBild.moc"
