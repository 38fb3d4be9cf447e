// Checks the frame window offscreen: the toolbar's buttons by index with captions, tool tips,
// pictures and the click signal; the arrangement of the help window and the keyword pane in
// the client area; the unload; the toolbar by keyboard. The display mode through the size
// buttons and maximise is the session's, seen in user-level scenarios.
#include "frmInhalt.h"

#include "Arbeitsbereich.h"

#include <QAction>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QToolBar>

class tst_frmInhalt : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void fenster();
    void buttons_data();
    void buttons();
    void kinderAnordnen_data();
    void kinderAnordnen();
    void entladen();
    void symbolleisteMitTastatur();

private:
    FesterArbeitsbereich m_bereich{QRect(0, 0, 1600, 1140)};
    int m_enden = 0;
};

void tst_frmInhalt::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    setzeArbeitsbereich(&m_bereich);
    frmInhalt::setProzessEnde([this] { ++m_enden; });
}

void tst_frmInhalt::init()
{
    m_enden = 0;
}

void tst_frmInhalt::cleanup()
{
    delete frmInhalt::instanz();
}

void tst_frmInhalt::fenster()
{
    QVERIFY(!frmInhalt::instanz());
    frmInhalt *f = frmInhalt::anlegen();
    QCOMPARE(frmInhalt::anlegen(), f);
    QCOMPARE(frmInhalt::instanz(), f);
    QCOMPARE(f->windowTitle(), QStringLiteral("Programmbeschreibung zu Tolvar-Belna"));
    QVERIFY(!f->windowIcon().isNull());
    QVERIFY(!f->windowIcon().pixmap(32, 32).isNull());
    QCOMPARE(f->tlb()->actions().size(), 14);
    QVERIFY(!f->Button(0));
    QVERIFY(!f->Button(15));
    QCOMPARE(f->miFensterStatus(), qint16(0));
}

void tst_frmInhalt::buttons_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption"); // empty: separator
    QTest::addColumn<QString>("tip");
    const char *const knoepfe[][2] = {
        {"Zurück", "Zeigt zuletzt gewählte Seite (Alt+Pfeil links)"},
        {"Vorwärts", "Zeigt nächste gewählte Seite (Alt+Pfeil rechts)"},
        {"", ""},
        {"Vorige", "Zeigt vorige Seite in der Beschreibung (Alt+Bild auf)"},
        {"Nächste", "Zeigt nächste Seite in der Beschreibung (Alt+Bild ab)"},
        {"", ""},
        {"Suchen", "Suche nach bestimmten Stichwörtern"},
        {"", ""},
        {"Drucken", "Ausdruck der Beschreibung"},
        {"", ""},
        {"kleiner", "verkleinert das Fenster"},
        {"größer", "vergrößert das Fenster"},
        {"Finden", "Sucht einen Text im angezeigten Abschnitt (Strg+F)"},
        {"Lesezeichen", "Lesezeichen setzen und aufrufen (Strg+L)"},
    };
    for (int i = 1; i <= 14; ++i)
        QTest::addRow("%d", i) << i << QString::fromUtf8(knoepfe[i - 1][0])
                               << QString::fromUtf8(knoepfe[i - 1][1]);
}

void tst_frmInhalt::buttons()
{
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(QString, tip);
    frmInhalt *f = frmInhalt::anlegen();
    QAction *a = f->Button(index);
    QVERIFY(a);
    QCOMPARE(f->tlb()->actions().at(index - 1), a);
    if (caption.isEmpty()) {
        QVERIFY(a->isSeparator());
        QVERIFY(a->icon().isNull());
        return;
    }
    QVERIFY(!a->isSeparator());
    QCOMPARE(a->text(), caption);
    QCOMPARE(a->toolTip(), tip);
    const QPixmap bild = a->icon().pixmap(16, 16);
    QCOMPARE(bild.size(), QSize(16, 16));
    // A picture that failed to load would be empty or fully transparent.
    const QImage img = bild.toImage();
    int deckend = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            deckend += qAlpha(img.pixel(x, y)) > 0;
    QVERIFY2(deckend > 40, qPrintable(QString::number(deckend)));
    // A click reports the button's index.
    QSignalSpy spy(f, &frmInhalt::ButtonClick);
    a->trigger();
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), index);
}

void tst_frmInhalt::kinderAnordnen_data()
{
    QTest::addColumn<bool>("suche");
    QTest::addColumn<QSize>("client"); // pixels, 15 twips each
    QTest::addColumn<QRect>("hilfe");  // pixels
    QTest::addColumn<int>("paneHoehe");

    const QRect vorher(1, 2, 30, 40);
    QTest::newRow("ohne Suche") << false << QSize(600, 400) << QRect(0, 0, 600, 400) << 100;
    // 4400 x 6000 twips: too narrow, the help window keeps its place.
    QTest::newRow("Suche, zu schmal") << true << QSize(293, 400) << vorher << 100;
    QTest::newRow("Suche, zu niedrig") << true << QSize(600, 299) << vorher << 100;
    // 4500 x 6000 twips: left 4200, width 300, height 6000; the pane takes the height.
    QTest::newRow("Suche, 4500") << true << QSize(300, 400) << QRect(280, 0, 20, 400) << 400;
    QTest::newRow("Suche, breit") << true << QSize(1000, 700) << QRect(280, 0, 720, 700) << 700;
}

void tst_frmInhalt::kinderAnordnen()
{
    QFETCH(bool, suche);
    QFETCH(QSize, client);
    QFETCH(QRect, hilfe);
    QFETCH(int, paneHoehe);

    frmInhalt *f = frmInhalt::anlegen();
    auto *h = new QWidget;
    auto *p = new QWidget;
    f->setHilfeFenster(h);
    f->setStichwortFenster(p);
    QCOMPARE(h->parentWidget(), f->clientBereich());
    h->setGeometry(1, 2, 30, 40);
    p->setGeometry(0, 0, 280, 100);
    f->setStichwortSuche(suche);
    f->clientBereich()->resize(client);
    f->AufbauMDIChilds();
    QCOMPARE(h->geometry(), hilfe);
    QCOMPARE(p->geometry(), QRect(0, 0, 280, paneHoehe));
}

void tst_frmInhalt::entladen()
{
    QPointer<frmInhalt> f = frmInhalt::anlegen();
    f->show();
    QSignalSpy spy(f.data(), &frmInhalt::Entladen);
    QVERIFY(f->close());
    QCOMPARE(spy.size(), 1);
    QCOMPARE(m_enden, 1);
    QVERIFY(!frmInhalt::instanz());
    f->Unload(); // a second unload does nothing
    QCOMPARE(m_enden, 1);
    QTRY_VERIFY(f.isNull());

    // A frame that was never shown unloads the same way.
    frmInhalt::anlegen()->Unload();
    QCOMPARE(m_enden, 2);
    QVERIFY(!frmInhalt::instanz());
}

void tst_frmInhalt::symbolleisteMitTastatur()
{
    // F10, the arrows and Return on the toolbar are a user-level scenario; here the arrows pass
    // over disabled, hidden buttons and separators and run round, and Esc goes back.
    frmInhalt *f = frmInhalt::anlegen();
    auto *feld = new QLineEdit(f->clientBereich());
    f->resize(1200, 600);
    f->show();
    f->activateWindow();
    feld->setFocus();
    f->Button(1)->setEnabled(false);
    f->Button(12)->setVisible(false);
    f->SymbolleisteFokus();
    const auto knopf = [f](int i) { return f->tlb()->widgetForAction(f->Button(i)); };
    QCOMPARE(f->focusWidget(), knopf(2));
    const std::pair<Qt::Key, int> schritte[] = {{Qt::Key_Right, 4}, {Qt::Key_Left, 2},
                                                {Qt::Key_Left, 14}, {Qt::Key_Left, 13},
                                                {Qt::Key_Left, 11}, {Qt::Key_Left, 9}};
    for (const auto &[taste, ziel] : schritte) {
        QTest::keyClick(f->focusWidget(), taste);
        QCOMPARE(f->focusWidget(), knopf(ziel));
    }
    QTest::keyClick(knopf(9), Qt::Key_Escape);
    QCOMPARE(f->focusWidget(), feld);
}

QTEST_MAIN(tst_frmInhalt)
#include "tst_frmInhalt.moc"
