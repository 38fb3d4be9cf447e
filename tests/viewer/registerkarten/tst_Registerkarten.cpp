// The tab control offscreen. Colours: a row of tabs on the dark page of the help window, in
// each style Qt offers here with a light and a dark desktop palette; every caption stands out
// from its tab (contrast measured on the pixels), the current tab from the others, and the page
// stays visible beside them. Titles with "&" are shown and returned as written and raise no
// access key. All captions in one step give the same row as one caption at a time and keep the
// current tab and the focus. More tabs than the row holds are shown through a moving window.
#include "Registerkarten.h"

#include "TestHilfen.h"
#include "TextFarben.h"

#include <QAccessible>
#include <QApplication>
#include <QHash>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleFactory>
#include <QTabBar>
#include <QTest>

#include <algorithm>

namespace {

const QColor Seite(0x00, 0x40, 0x40); // the page of the help window

double kontrast(QRgb a, QRgb b)
{
    return TextFarben::kontrast(QColor::fromRgb(a), QColor::fromRgb(b));
}

// A tab as rendered: its dominant colour (the fill) and its caption, taken as the tenth pixel
// that stands out most from the fill, so that a stray pixel of an outline does not pass for text.
struct Karte
{
    QRgb grund = 0;
    QRgb schrift = 0;
};

Karte messen(const QImage &bild, const QRect &r)
{
    QHash<QRgb, int> anzahl;
    QList<QRgb> pixel;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            pixel.append(bild.pixel(x, y) | 0xFF000000u);
            ++anzahl[pixel.last()];
        }
    Karte k;
    k.grund = std::max_element(anzahl.keyValueBegin(), anzahl.keyValueEnd(), [](auto a, auto b) {
                  return a.second < b.second;
              })->first;
    std::sort(pixel.begin(), pixel.end(),
              [&k](QRgb a, QRgb b) { return kontrast(a, k.grund) > kontrast(b, k.grund); });
    k.schrift = pixel.at(std::min<qsizetype>(9, pixel.size() - 1));
    return k;
}

// A dark desktop palette, as dark desktop themes set it.
QPalette dunklePalette()
{
    QPalette p;
    const QPair<QPalette::ColorRole, QRgb> farben[] = {
        {QPalette::Window, 0x353535}, {QPalette::WindowText, 0xFFFFFF}, {QPalette::Base, 0x2A2A2A},
        {QPalette::AlternateBase, 0x424242}, {QPalette::Button, 0x353535},
        {QPalette::ButtonText, 0xFFFFFF}, {QPalette::Text, 0xFFFFFF}, {QPalette::Light, 0x474747},
        {QPalette::Midlight, 0x3E3E3E}, {QPalette::Mid, 0x2C2C2C}, {QPalette::Dark, 0x1E1E1E},
        {QPalette::Shadow, 0x000000}, {QPalette::Highlight, 0x2A82DA},
        {QPalette::HighlightedText, 0xFFFFFF}};
    for (const auto &[rolle, farbe] : farben)
        p.setColor(rolle, QColor::fromRgb(farbe));
    return p;
}

QString zeichen(QRgb c)
{
    return QColor::fromRgb(c).name();
}

QStringList captions(const Registerkarten &k)
{
    QStringList l;
    for (int i = 0; i < k.anzahl(); ++i)
        l << k.caption(i);
    return l;
}

// A window with a row of tabs at the top, 100 pixels high.
struct Zeile
{
    QWidget fenster;
    Registerkarten k{&fenster};
    explicit Zeile(int breite = 600)
    {
        fenster.resize(breite, 200);
        k.setGeometry(0, 0, breite, 100);
    }
};

} // namespace

class tst_Registerkarten : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void farben_data();
    void farben();
    void titel_data();
    void titel();
    void aendern_data();
    void aendern();
    void alleCaptionsBehaeltFokus();
    void vieleKarten_data();
    void vieleKarten();
    void vieleKartenTastatur();

private:
    QString m_stilAnfang;
    QPalette m_paletteAnfang;
};

void tst_Registerkarten::initTestCase()
{
    m_stilAnfang = QApplication::style()->name();
    m_paletteAnfang = QApplication::palette();
}

void tst_Registerkarten::cleanup()
{
    QApplication::setStyle(m_stilAnfang);
    QApplication::setPalette(m_paletteAnfang);
}

void tst_Registerkarten::farben_data()
{
    QTest::addColumn<QString>("stil");
    QTest::addColumn<QString>("palette"); // "hell", "dunkel", "dunkel danach" (set afterwards)
    const QStringList stile = QStyleFactory::keys();
    QVERIFY(stile.contains(QStringLiteral("Fusion")));
    for (const QString &stil : stile)
        for (const char *palette : {"hell", "dunkel", "dunkel danach"})
            QTest::addRow("%s, %s", qPrintable(stil), palette) << stil << QString(palette);
}

void tst_Registerkarten::farben()
{
    QFETCH(QString, stil);
    QFETCH(QString, palette);
    QApplication::setStyle(stil);
    const bool hell = palette == QLatin1String("hell");
    const QPalette desktop = hell ? QApplication::style()->standardPalette() : dunklePalette();
    if (palette != QLatin1String("dunkel danach"))
        QApplication::setPalette(desktop);

    // As in the help window: the page in its dark colour, the tab control on it.
    QWidget seite;
    QPalette pal = seite.palette();
    pal.setColor(QPalette::Window, Seite);
    seite.setPalette(pal);
    seite.setAutoFillBackground(true);
    seite.resize(620, 150);
    auto *k = new Registerkarten(&seite);
    k->setGeometry(10, 10, 600, 130);
    k->setAnzahl(4);
    k->setCaptions({QString(), QStringLiteral("Übersicht & Äußeres"), QStringLiteral("Rechnungen"),
                    QStringLiteral("Mahnwesen"), QStringLiteral("Zahlungen")});
    k->setAktuell(1);
    seite.show();
    QVERIFY(QTest::qWaitForWindowExposed(&seite));
    if (palette == QLatin1String("dunkel danach")) {
        QApplication::setPalette(desktop);
        QCoreApplication::processEvents();
    }
    const QImage bild = seite.grab().toImage();
    QCOMPARE(bild.devicePixelRatio(), 1.0);

    QTabBar *leiste = k->leiste();
    const QPoint versatz = leiste->mapTo(&seite, QPoint(0, 0));
    QList<Karte> karten;
    for (int i = 0; i < k->anzahl(); ++i) {
        // Inside the tab, clear of its outline and of a line along its top.
        const QRect r = leiste->tabRect(i).translated(versatz).adjusted(3, 6, -3, -2);
        QVERIFY(r.width() > 20 && r.height() > 6);
        const Karte karte = messen(bild, r);
        const QString was = QStringLiteral("Karte %1: Schrift %2 auf %3")
                                .arg(i)
                                .arg(zeichen(karte.schrift), zeichen(karte.grund));
        QVERIFY2(kontrast(karte.schrift, karte.grund) >= 4.5, qPrintable(was));
        // The tab is not the page showing through, and follows the desktop's palette (also
        // when it changes later): light tabs on a light one, dark tabs on a dark one.
        const QColor g = QColor::fromRgb(karte.grund);
        QVERIFY2(std::abs(g.red() - Seite.red()) + std::abs(g.green() - Seite.green()) +
                         std::abs(g.blue() - Seite.blue()) >= 60,
                 qPrintable(was));
        const double gegenSchwarz = kontrast(karte.grund, 0xFF000000u);
        QVERIFY2(hell ? gegenSchwarz > 9 : gegenSchwarz < 4, qPrintable(was));
        karten.append(karte);
    }
    // The current tab stands out from the others.
    for (int i = 0; i < karten.size(); ++i)
        QVERIFY2(i == 1 || kontrast(karten.at(1).grund, karten.at(i).grund) >= 1.25,
                 qPrintable(zeichen(karten.at(i).grund)));
    // The page stays visible in the row beside the last tab.
    QCOMPARE(zeichen(bild.pixel(versatz + QPoint(leiste->tabRect(3).right() + 20, 8))),
             Seite.name());
}

void tst_Registerkarten::titel_data()
{
    QTest::addColumn<QString>("titel");
    QTest::addColumn<int>("taste"); // a key that Alt would make an access key of, or 0
    zeile("nur &", QStringLiteral("&"), 0);
    zeile("&&", QStringLiteral("&&"), 0);
    zeile("Umlaute", QStringLiteral("Übersicht & Äußeres"), 0);
    zeile("& am Ende", QStringLiteral("Belege &"), 0);
    zeile("& vor Buchstabe", QStringLiteral("&Datei"), int(Qt::Key_D));
    zeile("&& vor Buchstabe", QStringLiteral("x &&y &z"), int(Qt::Key_Z));
    zeile("ohne &", QStringLiteral("Rechnungen"), 0);
    zeile("leer", QString(), 0);
}

void tst_Registerkarten::titel()
{
    QFETCH(QString, titel);
    QFETCH(int, taste);
    // Tab 1 gets the title by setCaption, tab 2 with all captions in one step, tab 3 shows the
    // title without its "&" characters.
    Zeile z;
    Registerkarten &k = z.k;
    k.setAnzahl(4);
    k.setCaptions({QString(), QStringLiteral("Erstes"), QString(), titel, QString(titel).remove('&')});
    k.setCaption(1, titel);
    z.fenster.show();
    QVERIFY(QTest::qWaitForWindowActive(&z.fenster));
    QAccessibleInterface *reihe = QAccessible::queryAccessibleInterface(k.leiste());
    QVERIFY(reihe);
    for (int i = 1; i <= 2; ++i) {
        QCOMPARE(k.caption(i), titel);
        // What the row tells a screen reader is the title as written.
        QVERIFY(reihe->child(i));
        QCOMPARE(reihe->child(i)->text(QAccessible::Name), titel);
        // The row shows every "&": the tab is wider than one without them.
        const int breite = k.leiste()->tabRect(i).width();
        const int ohne = k.leiste()->tabRect(3).width();
        QVERIFY(titel.contains('&') ? breite > ohne : breite == ohne);
    }
    QCOMPARE(k.caption(0), QStringLiteral("Erstes"));
    // No access key: Alt with the letter after an "&" leaves the current tab alone.
    if (taste) {
        k.setCaption(2, QStringLiteral("Zweites")); // the title on one tab only
        QSignalSpy klick(&k, &Registerkarten::Click);
        QTest::keyClick(&z.fenster, Qt::Key(taste), Qt::AltModifier);
        QCOMPARE(k.aktuell(), 0);
        QCOMPARE(klick.count(), 0);
    }
}

// A row of "von" tabs, the second one current, gets a new number of tabs or all captions in one
// step: no Click, the captions kept or cut, the current tab kept where it still exists, and the
// row laid out as a plain tab row of the same kind with these captions.
void tst_Registerkarten::aendern_data()
{
    QTest::addColumn<int>("von");
    QTest::addColumn<int>("nach"); // setAnzahl(nach), or -1: setCaptions(liste)
    QTest::addColumn<QStringList>("liste"); // element 0 unused
    QTest::addColumn<QStringList>("erwartet");
    QTest::addColumn<bool>("sichtbar");
    const auto alt = [](int von, int nach) {
        QStringList l;
        for (int i = 0; i < nach; ++i)
            l << (i < von ? QStringLiteral("Karte %1 & mehr").arg(i) : QString());
        return l;
    };
    for (const auto &[von, nach, sichtbar] : {std::tuple{0, 3, true}, {3, 5, true}, {3, 5, false},
                                              {5, 2, true}, {2, 0, true}, {4, 60, true},
                                              {60, 4, false}})
        QTest::addRow("%d auf %d%s", von, nach, sichtbar ? "" : ", verborgen")
            << von << nach << QStringList() << alt(von, nach) << sichtbar;
    const QStringList drei{"", "Erstes", "Zweites & Drittes", "Drittes"};
    zeile("Captions passend", 3, -1, drei, drei.mid(1), true);
    zeile("Captions passend, verborgen", 3, -1, drei, drei.mid(1), false);
    zeile("Captions zu kurz", 3, -1, QStringList{"", "A"}, QStringList{"A", "", ""}, true);
    zeile("Captions zu lang", 2, -1, drei, drei.mid(1, 2), true);
    zeile("Captions leer", 2, -1, QStringList{}, QStringList{"", ""}, true);
    zeile("Captions ohne Karten", 0, -1, drei, QStringList{}, true);
    QStringList viele{QString()};
    for (int i = 1; i <= 300; ++i)
        viele << QStringLiteral("Kapitel %1 & mehr").arg(i);
    zeile("300 Captions", 300, -1, viele, viele.mid(1), true);
}

void tst_Registerkarten::aendern()
{
    QFETCH(int, von);
    QFETCH(int, nach);
    QFETCH(QStringList, liste);
    QFETCH(QStringList, erwartet);
    QFETCH(bool, sichtbar);
    Zeile z;
    Registerkarten &k = z.k;
    k.setAnzahl(von);
    for (int i = 0; i < von; ++i)
        k.setCaption(i, QStringLiteral("Karte %1 & mehr").arg(i));
    if (von > 1)
        k.setAktuell(1);
    if (sichtbar) {
        z.fenster.show();
        QVERIFY(QTest::qWaitForWindowExposed(&z.fenster));
    }
    QSignalSpy klick(&k, &Registerkarten::Click);

    if (nach < 0)
        k.setCaptions(liste);
    else
        k.setAnzahl(nach);

    const int anzahl = int(erwartet.size());
    QCOMPARE(k.anzahl(), anzahl);
    QCOMPARE(klick.count(), 0);
    QCOMPARE(captions(k), erwartet);
    QCOMPARE(k.aktuell(), anzahl == 0 ? -1 : von > 1 && anzahl > 1 ? 1 : 0);
    QCOMPARE(k.leiste()->isVisible(), sichtbar);

    QTabBar vergleich(&z.fenster);
    vergleich.setExpanding(false);
    vergleich.setDrawBase(false);
    vergleich.setUsesScrollButtons(true);
    vergleich.setElideMode(Qt::ElideNone);
    for (const QString &c : std::as_const(erwartet))
        vergleich.addTab(QString(c).replace(u'&', QStringLiteral("&&")));
    vergleich.setCurrentIndex(k.aktuell());
    z.fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&z.fenster));
    vergleich.setGeometry(0, 100, k.leiste()->width(), 40);
    vergleich.show();
    QCOMPARE(k.leistenHoehe(), vergleich.sizeHint().height());
    for (int i = 0; i < anzahl; ++i)
        QCOMPARE(k.leiste()->tabRect(i), vergleich.tabRect(i));
}

void tst_Registerkarten::alleCaptionsBehaeltFokus()
{
    QWidget fenster;
    fenster.resize(500, 150);
    auto *feld = new QLineEdit(&fenster);
    feld->setGeometry(0, 0, 200, 24);
    auto *k = new Registerkarten(&fenster);
    k->setGeometry(0, 30, 500, 100);
    auto *danach = new QLineEdit(&fenster);
    danach->setGeometry(0, 130, 200, 20);
    k->setAnzahl(3);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowActive(&fenster));
    feld->setFocus();
    QTest::keyClick(feld, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), k->leiste());

    // Neither changing the captions nor the number of tabs hands the focus to another control.
    QSignalSpy wechsel(qApp, &QApplication::focusChanged);
    k->setCaptions({QString(), QStringLiteral("A & B"), QStringLiteral("C"), QStringLiteral("D")});
    k->setAnzahl(5);
    k->setAnzahl(2);
    QCOMPARE(QApplication::focusWidget(), k->leiste());
    for (const QList<QVariant> &w : std::as_const(wechsel)) {
        QWidget *neu = w.at(1).value<QWidget *>();
        QVERIFY(neu == k || neu == k->leiste());
    }
    QCOMPARE(k->caption(0), QStringLiteral("A & B"));
    // Tab goes on from the row as before.
    QTest::keyClick(k->leiste(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), danach);
}

// More tabs than the row holds: the row shows a window of them that contains the current tab;
// captions, the current tab and Click count in the control's indices; fewer tabs keep the
// current one or end at the last.
void tst_Registerkarten::vieleKarten_data()
{
    QTest::addColumn<int>("anzahl");
    QTest::addColumn<int>("ziel");
    QTest::addColumn<int>("danach"); // number of tabs set afterwards
    const int w = Registerkarten::FensterKarten;
    zeile("within the first window", 3 * w, 7, 3 * w);
    zeile("far behind the window", 3 * w, 2 * w + 5, 3 * w);
    zeile("last tab", 3 * w + 1, 3 * w, 3 * w + 1);
    zeile("fewer tabs, current stays", 3 * w, 2 * w + 5, 2 * w + 6);
    zeile("fewer tabs, current removed", 3 * w, 2 * w + 5, w + 10);
    zeile("down to one window", 3 * w, 2 * w + 5, w - 3);
}

void tst_Registerkarten::vieleKarten()
{
    QFETCH(int, anzahl);
    QFETCH(int, ziel);
    QFETCH(int, danach);
    Zeile z;
    Registerkarten &k = z.k;
    z.fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&z.fenster));
    k.setAnzahl(anzahl);
    QList<QString> titel{QString()};
    for (int i = 0; i < anzahl; ++i)
        titel << QStringLiteral("K%1 &").arg(i);
    k.setCaptions(titel);
    QCOMPARE(k.anzahl(), anzahl);
    QCOMPARE(k.leiste()->count(), Registerkarten::FensterKarten);
    QCOMPARE(k.aktuell(), 0);

    QSignalSpy klick(&k, &Registerkarten::Click);
    k.setAktuell(ziel);
    QCOMPARE(klick.count(), 1);
    QCOMPARE(k.aktuell(), ziel);
    QCoreApplication::processEvents();
    QCOMPARE(k.aktuell(), ziel);
    const auto zeigt = [&k](int index) {
        const int lokal = index - k.ersteKarte();
        QVERIFY(lokal >= 0 && lokal < k.leiste()->count());
        QCOMPARE(k.leiste()->currentIndex(), lokal);
        QCOMPARE(k.leiste()->tabText(lokal), QString(k.caption(index)).replace("&", "&&"));
    };
    zeigt(ziel);
    QCOMPARE(k.caption(anzahl - 1), titel.last());
    k.setCaption(ziel, QStringLiteral("neu"));
    zeigt(ziel);
    QCOMPARE(k.caption(ziel), QStringLiteral("neu"));
    k.setAktuell(ziel);
    QCOMPARE(klick.count(), 1);

    klick.clear();
    k.setAnzahl(danach);
    QCOMPARE(klick.count(), 0);
    QCOMPARE(k.anzahl(), danach);
    QCOMPARE(k.leiste()->count(), std::min(danach, int(Registerkarten::FensterKarten)));
    const int bleibt = std::min(ziel, danach - 1);
    QCOMPARE(k.aktuell(), bleibt);
    zeigt(bleibt);
    QCOMPARE(k.caption(bleibt), bleibt == ziel ? QStringLiteral("neu") : titel.at(bleibt + 1));
}

// The arrow keys reach the tabs beyond the window: when the row's last tab becomes current,
// the window moves on.
void tst_Registerkarten::vieleKartenTastatur()
{
    Zeile z;
    Registerkarten &k = z.k;
    const int w = Registerkarten::FensterKarten;
    k.setAnzahl(2 * w);
    z.fenster.show();
    QVERIFY(QTest::qWaitForWindowActive(&z.fenster));
    k.leiste()->setFocus();
    k.setAktuell(w - 2);
    QSignalSpy klick(&k, &Registerkarten::Click);
    const auto taste = [&k](Qt::Key t, int erwartet) {
        QTest::keyClick(k.leiste(), t);
        QCoreApplication::processEvents();
        QCOMPARE(k.aktuell(), erwartet);
    };
    for (int i = w - 1; i <= w + 1; ++i)
        taste(Qt::Key_Right, i);
    QCOMPARE(klick.count(), 3);
    QVERIFY(k.ersteKarte() > 0);
    QCOMPARE(QApplication::focusWidget(), k.leiste());
    for (int i = w; i >= 0; --i)
        taste(Qt::Key_Left, i);
    QCOMPARE(k.ersteKarte(), 0);
}

QTEST_MAIN(tst_Registerkarten)
#include "tst_Registerkarten.moc"
