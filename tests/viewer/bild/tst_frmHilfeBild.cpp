// The picture window offscreen: its size and place at the lower left of the work area (clamped
// and scrolling when too large), pictures that cannot be shown, reuse for the next picture.
#include "frmHilfeBild.h"

#include "Datenbank.h"
#include "Global.h"
#include "HilfeDatenbankSchreiber.h"
#include "HilfeUmgebung.h"
#include "MeldungSkript.h"
#include "TestHilfen.h"
#include "ZipHilfe.h"

#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTest>

class tst_frmHilfeBild : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void groesseUndPlatz_data();
    void groesseUndPlatz();
    void nichtZeigbarUndNaechstes();

private:
    HilfeUmgebung m_u;
};

void tst_frmHilfeBild::initTestCase()
{
    QVERIFY(m_u.einrichten());
    HilfeDatenbankSchreiber s;
    QVERIFY(m_u.schreiben(s));
    const qint32 k = s.kapitelEinfuegen(1, QStringLiteral("Kapitel"), 1);
    const qint32 t = s.themaEinfuegen(k, 1, QStringLiteral("Thema"), 1);
    s.textEinfuegen(t, 1, QStringLiteral("Abschnitt"), rtfAbsatz("Text."), 1);
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

    // A margin of 90 twips: 6 pixels at 15 twips per pixel. Larger than the work area: as large
    // as it, and the picture scrolls; only too wide keeps its height plus the scroll bar.
    const QRect voll(0, 0, 1600, 1140);
    zeile("15 Twips", voll, 15.0, QString("00001"), QSize(212, 112), 6, false, false);
    zeile("Bereich versetzt", QRect(100, 40, 1200, 800), 15.0, QString("1"), QSize(212, 112), 6,
          false, false);
    zeile("9 Twips", voll, 9.0, QString("00001"), QSize(220, 120), 10, false, false);
    zeile("zu breit", voll, 15.0, QString("00006"), QSize(), 6, true, false);
    zeile("zu gross", QRect(0, 30, 1600, 1110), 15.0, QString("00007"), QSize(), 6, true, true);
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

// A picture that cannot be shown (missing, damaged archive, no Temp.bmp, no bitmap) opens no
// window, or leaves the open one as it was, without a message; the next picture reuses it.
void tst_frmHilfeBild::nichtZeigbarUndNaechstes()
{
    SkriptMeldungen meldungen;
    QVERIFY(!frmHilfeBild::BildZeigen(QStringLiteral("00099"), QStringLiteral("Neu")));
    QVERIFY(!frmHilfeBild::instanz(false));
    QVERIFY(frmHilfeBild::BildZeigen("00001", "Erstes"));
    QPointer<frmHilfeBild> f = frmHilfeBild::instanz(false);
    const QRect vorher = f->geometry();
    for (const char *nummer : {"00099", "00003", "00004", "00005"}) {
        QVERIFY2(!frmHilfeBild::BildZeigen(QString::fromLatin1(nummer), "Neu"), nummer);
        QCOMPARE(frmHilfeBild::instanz(false), f.data());
        QCOMPARE(f->windowTitle(), QStringLiteral("Erstes (ESC = Fenster schließen)"));
        QCOMPARE(f->geometry(), vorher);
        QCOMPARE(f->picBild()->pixmap().size(), QSize(200, 100));
        QVERIFY(f->isVisible());
    }
    QCOMPARE(meldungen.anzahl(), 0);

    QVERIFY(frmHilfeBild::BildZeigen("00002", "Zweites"));
    QCOMPARE(frmHilfeBild::instanz(false), f.data());
    QCOMPARE(f->windowTitle(), QStringLiteral("Zweites (ESC = Fenster schließen)"));
    QCOMPARE(f->size(), QSize(62, 52));
    QCOMPARE(f->frameGeometry().left(), 0);
    QCOMPARE(f->frameGeometry().bottom(), 1139);
    QCOMPARE(f->picBild()->pixmap().toImage().pixelColor(5, 5), QColor(Qt::blue));
}

QTEST_MAIN(tst_frmHilfeBild)
#include "tst_frmHilfeBild.moc"
