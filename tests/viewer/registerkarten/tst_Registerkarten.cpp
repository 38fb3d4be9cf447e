// The tab control offscreen: a new number of tabs or all captions in one step, more tabs than
// the row holds; titles with "&" are shown and returned as written.
#include "Registerkarten.h"

#include "TestHilfen.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

#include <algorithm>

namespace {

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
    void aendern_data();
    void aendern();
    void vieleKarten_data();
    void vieleKarten();
};

// A row with the second tab current gets a new number of tabs or all captions in one step: no
// Click, captions kept or cut, the current tab kept, laid out as a plain tab row.
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
    for (const auto &[von, nach, sichtbar] : {std::tuple{0, 3, true},
                                              {3, 5, false},
                                              {5, 2, true},
                                              {2, 0, true},
                                              {4, 60, true},
                                              {60, 4, false}})
        QTest::addRow("%d auf %d%s", von, nach, sichtbar ? "" : ", verborgen")
            << von << nach << QStringList() << alt(von, nach) << sichtbar;
    const QStringList drei{"", "Erstes", "Zweites & Drittes", "Drittes"};
    zeile("Captions passend, verborgen", 3, -1, drei, drei.mid(1), false);
    zeile("Captions zu kurz", 3, -1, QStringList{"", "A"}, QStringList{"A", "", ""}, true);
    zeile("Captions zu lang", 2, -1, drei, drei.mid(1, 2), true);
    zeile("Captions ohne Karten", 0, -1, drei, QStringList{}, true);
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

// More tabs than the row holds: a window of them shows the current tab; captions, the current
// tab and Click count in the control's indices; fewer tabs keep the current one or end at the last.
void tst_Registerkarten::vieleKarten_data()
{
    QTest::addColumn<int>("anzahl");
    QTest::addColumn<int>("ziel");
    QTest::addColumn<int>("danach"); // number of tabs set afterwards
    const int w = Registerkarten::FensterKarten;
    zeile("far behind the window", 3 * w, 2 * w + 5, 3 * w);
    zeile("last tab", 3 * w + 1, 3 * w, 3 * w + 1);
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

QTEST_MAIN(tst_Registerkarten)
#include "tst_Registerkarten.moc"
