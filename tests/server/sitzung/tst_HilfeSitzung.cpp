// The session's display mode across the frame's window states (offscreen): what the
// user-level scenario cannot do, a resize while maximised and a minimised frame.
#include "HilfeSitzung.h"

#include "HilfeUmgebung.h"
#include "frmInhalt.h"

#include <QAction>
#include <QTest>

class tst_HilfeSitzung : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fensterZustand_data();
    void fensterZustand();

private:
    HilfeUmgebung m_u;
};

void tst_HilfeSitzung::initTestCase()
{
    QVERIFY(m_u.einrichten());
}

void tst_HilfeSitzung::fensterZustand_data()
{
    QTest::addColumn<bool>("halb");
    QTest::addColumn<Qt::WindowState>("zustand");
    QTest::addColumn<bool>("nochmal"); // the frame is resized again in that state
    QTest::newRow("maximiert, voll") << false << Qt::WindowMaximized << false;
    QTest::newRow("maximiert, nochmals vergrößert") << true << Qt::WindowMaximized << true;
    QTest::newRow("minimiert, halb") << true << Qt::WindowMinimized << false;
}

void tst_HilfeSitzung::fensterZustand()
{
    QFETCH(bool, halb);
    QFETCH(Qt::WindowState, zustand);
    QFETCH(bool, nochmal);
    HilfeSitzung &sitzung = *HilfeUmgebung::sitzung();
    sitzung.setDarstellung(halb);
    sitzung.ArbeitsbereichErmitteln();
    sitzung.FensterPositionieren();
    frmInhalt *f = sitzung.rahmen();
    f->show();
    f->setWindowState(zustand);
    QCOMPARE(sitzung.darstellung(), zustand == Qt::WindowMaximized ? false : halb);
    QCOMPARE(f->Button(frmInhalt::ButtonGroesser)->isVisible(), sitzung.darstellung());
    if (nochmal) {
        QResizeEvent e(QSize(700, 500), QSize(600, 400));
        QCoreApplication::sendEvent(f->clientBereich(), &e);
        QCOMPARE(sitzung.darstellung(), false);
    }

    f->setWindowState(Qt::WindowNoState);
    QCOMPARE(sitzung.darstellung(), halb);
    QCOMPARE(f->Button(frmInhalt::ButtonKleiner)->isVisible(), !halb);
    QVERIFY(HilfeUmgebung::entladen());
}

QTEST_MAIN(tst_HilfeSitzung)
#include "tst_HilfeSitzung.moc"
