// The tab control offscreen. Colours: a row of tabs on the dark page of the help window is
// rendered in each style Qt offers here, with a light and a dark desktop palette; the caption
// of every tab must stand out from its tab (contrast ratio measured on the pixels) and the
// current tab from the others, while the page stays visible around them. Titles with "&" are
// shown and returned as written and raise no access key. All captions in one step give the
// same row as one caption at a time, keep the current tab and the focus. Last, the help window
// shows titles with "&" on its tabs and section labels.
//
// With TOLVAR_BILDER set to a folder, the rendered rows are saved there as PNG files.
#include "Registerkarten.h"

#include "Datenbank.h"
#include "Global.h"
#include "HilfeDatenbankSchreiber.h"
#include "HilfeUmgebung.h"
#include "TestHilfen.h"
#include "frmHilfe.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleFactory>
#include <QTabBar>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

const QColor Seite(0x00, 0x40, 0x40); // the page of the help window

// Relative luminance of a colour (sRGB), and the contrast ratio of two colours from it.
double leuchtdichte(QRgb c)
{
    const auto k = [](int v) {
        const double x = v / 255.0;
        return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * k(qRed(c)) + 0.7152 * k(qGreen(c)) + 0.0722 * k(qBlue(c));
}

double kontrast(QRgb a, QRgb b)
{
    const double la = leuchtdichte(a);
    const double lb = leuchtdichte(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A tab as rendered: its dominant colour (the fill) and its caption, taken as the tenth pixel
// that stands out most from the fill (for dark text on a light tab, the tenth darkest), so that
// a stray pixel of an outline does not pass for text.
struct Karte
{
    QRgb grund = 0;
    QRgb schrift = 0;
    double kontrast = 0;
};

Karte messen(const QImage &bild, const QRect &r)
{
    QHash<QRgb, int> anzahl;
    QList<QRgb> pixel;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = bild.pixel(x, y) | 0xFF000000u;
            ++anzahl[p];
            pixel.append(p);
        }
    }
    Karte k;
    int meiste = 0;
    for (auto it = anzahl.cbegin(); it != anzahl.cend(); ++it) {
        if (it.value() > meiste) {
            meiste = it.value();
            k.grund = it.key();
        }
    }
    std::sort(pixel.begin(), pixel.end(),
              [&k](QRgb a, QRgb b) { return kontrast(a, k.grund) > kontrast(b, k.grund); });
    k.schrift = pixel.at(std::min<qsizetype>(9, pixel.size() - 1));
    k.kontrast = kontrast(k.schrift, k.grund);
    return k;
}

// A dark desktop palette, as dark desktop themes set it.
QPalette dunklePalette()
{
    QPalette p;
    const QPair<QPalette::ColorRole, QRgb> farben[] = {
        {QPalette::Window, 0x353535},      {QPalette::WindowText, 0xFFFFFF},
        {QPalette::Base, 0x2A2A2A},        {QPalette::AlternateBase, 0x424242},
        {QPalette::Button, 0x353535},      {QPalette::ButtonText, 0xFFFFFF},
        {QPalette::Text, 0xFFFFFF},        {QPalette::Light, 0x474747},
        {QPalette::Midlight, 0x3E3E3E},    {QPalette::Mid, 0x2C2C2C},
        {QPalette::Dark, 0x1E1E1E},        {QPalette::Shadow, 0x000000},
        {QPalette::Highlight, 0x2A82DA},   {QPalette::HighlightedText, 0xFFFFFF},
        {QPalette::ToolTipBase, 0x353535}, {QPalette::ToolTipText, 0xFFFFFF}};
    for (const auto &[rolle, farbe] : farben)
        p.setColor(rolle, QColor::fromRgb(farbe));
    return p;
}

QString zeichen(QRgb c)
{
    return QColor::fromRgb(c).name();
}

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
    void anzahl_data();
    void anzahl();
    void alleCaptions_data();
    void alleCaptions();
    void alleCaptionsBehaeltFokus();
    void vieleKarten_data();
    void vieleKarten();
    void vieleKartenTastatur();
    void titelImHilfefenster();

private:
    HilfeUmgebung m_u;
    QString m_stilAnfang;
    QPalette m_paletteAnfang;
};

void tst_Registerkarten::initTestCase()
{
    QVERIFY(m_u.einrichten());
    m_stilAnfang = QApplication::style()->name();
    m_paletteAnfang = QApplication::palette();
    HilfeDatenbankSchreiber s;
    QVERIFY(m_u.schreiben(s));
    const qint32 k1 = s.kapitelEinfuegen(1, QStringLiteral("Übersicht & Äußeres"), 1);
    const qint32 t11 = s.themaEinfuegen(k1, 1, QStringLiteral("A & B"), 1);
    s.textEinfuegen(t11, 1, QStringLiteral("&"), rtfAbsatz("Text 1"), 1);
    s.textEinfuegen(t11, 2, QStringLiteral("&&"), rtfAbsatz("Text 2"), 2);
    s.textEinfuegen(t11, 3, QStringLiteral("Ende &"), rtfAbsatz("Text 3"), 3);
    s.textEinfuegen(t11, 4, QStringLiteral("&Datei"), rtfAbsatz("Text 4"), 4);
    s.themaEinfuegen(k1, 2, QStringLiteral("Kunden && Lieferanten"), 2);
    s.kapitelEinfuegen(2, QStringLiteral("Belege &"), 2);
    QString fehler;
    QVERIFY2(s.abschliessen(&fehler), qPrintable(fehler));
    setzeProgrammVerzeichnis(m_u.dir.path());
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

    // The styles Qt brings along: Fusion (what runs without a desktop theme) and the others
    // the platform offers.
    const QStringList stile = QStyleFactory::keys();
    QVERIFY(stile.contains(QStringLiteral("Fusion")));
    for (const QString &stil : stile)
        for (const char *palette : {"hell", "dunkel", "dunkel danach"})
            QTest::addRow("%s, %s", qPrintable(stil), palette)
                << stil << QString::fromLatin1(palette);
}

void tst_Registerkarten::farben()
{
    QFETCH(QString, stil);
    QFETCH(QString, palette);

    QApplication::setStyle(stil);
    const QPalette desktop = palette == QLatin1String("hell")
                                 ? QApplication::style()->standardPalette()
                                 : dunklePalette();
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
    if (qEnvironmentVariableIsSet("TOLVAR_BILDER")) {
        const QDir ordner(qEnvironmentVariable("TOLVAR_BILDER"));
        bild.save(ordner.filePath(QStringLiteral("registerkarten-%1-%2.png")
                                      .arg(stil.toLower(), QString(palette).replace(u' ', u'-'))));
    }

    QTabBar *leiste = k->leiste();
    const QPoint versatz = leiste->mapTo(&seite, QPoint(0, 0));
    QList<Karte> karten;
    for (int i = 0; i < k->anzahl(); ++i) {
        // Inside the tab, clear of its outline and of a line along its top.
        const QRect r = leiste->tabRect(i).translated(versatz).adjusted(3, 6, -3, -2);
        QVERIFY2(r.width() > 20 && r.height() > 6, qPrintable(QString::number(i)));
        const Karte karte = messen(bild, r);
        QVERIFY2(karte.kontrast >= 4.5,
                 qPrintable(QStringLiteral("Karte %1: Schrift %2 auf %3, %4:1")
                                .arg(i)
                                .arg(zeichen(karte.schrift), zeichen(karte.grund))
                                .arg(karte.kontrast, 0, 'f', 2)));
        // The tab is not the page showing through.
        const QColor grund = QColor::fromRgb(karte.grund);
        QVERIFY2(std::abs(grund.red() - Seite.red()) + std::abs(grund.green() - Seite.green()) +
                         std::abs(grund.blue() - Seite.blue()) >=
                     60,
                 qPrintable(zeichen(karte.grund)));
        karten.append(karte);
    }
    // The tabs follow the desktop's palette, also when it changes later.
    const bool hell = palette == QLatin1String("hell");
    for (const Karte &karte : std::as_const(karten))
        QVERIFY2(hell ? leuchtdichte(karte.grund) > 0.4 : leuchtdichte(karte.grund) < 0.15,
                 qPrintable(zeichen(karte.grund)));
    // The current tab stands out from the others.
    for (int i = 0; i < karten.size(); ++i) {
        if (i == 1)
            continue;
        QVERIFY2(kontrast(karten.at(1).grund, karten.at(i).grund) >= 1.25,
                 qPrintable(QStringLiteral("aktuell %1, Karte %2: %3")
                                .arg(zeichen(karten.at(1).grund))
                                .arg(i)
                                .arg(zeichen(karten.at(i).grund))));
    }
    // The page stays visible in the row beside the last tab.
    const QPoint nebenan = versatz + QPoint(leiste->tabRect(3).right() + 20, 8);
    QCOMPARE(zeichen(bild.pixel(nebenan)), Seite.name());
}

void tst_Registerkarten::titel_data()
{
    QTest::addColumn<QString>("titel");
    QTest::addColumn<int>("taste"); // a key that Alt would make an access key of, or 0

    QTest::newRow("nur &") << "&" << 0;
    QTest::newRow("&&") << "&&" << 0;
    QTest::newRow("A & B") << "A & B" << 0;
    QTest::newRow("Umlaute") << "Übersicht & Äußeres" << 0;
    QTest::newRow("& am Ende") << "Belege &" << 0;
    QTest::newRow("& vor Buchstabe") << "&Datei" << int(Qt::Key_D);
    QTest::newRow("&& vor Buchstabe") << "x &&y &z" << int(Qt::Key_Z);
    QTest::newRow("ohne &") << "Rechnungen" << 0;
    QTest::newRow("leer") << "" << 0;
}

void tst_Registerkarten::titel()
{
    QFETCH(QString, titel);
    QFETCH(int, taste);

    // Tab 1 gets the title by setCaption, tab 2 with all captions in one step, tab 3 shows the
    // title without its "&" characters.
    QString ohne = titel;
    ohne.remove(u'&');
    QWidget fenster;
    fenster.resize(600, 100);
    Registerkarten k(&fenster);
    k.setGeometry(0, 0, 600, 100);
    k.setAnzahl(4);
    k.setCaptions({QString(), QStringLiteral("Erstes"), QString(), titel, ohne});
    k.setCaption(1, titel);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowActive(&fenster));

    QAccessibleInterface *zeile = QAccessible::queryAccessibleInterface(k.leiste());
    QVERIFY(zeile);
    for (int i = 1; i <= 2; ++i) {
        QCOMPARE(k.caption(i), titel);
        // What the row tells a screen reader is the title as written.
        QAccessibleInterface *karte = zeile->child(i);
        QVERIFY(karte);
        QCOMPARE(karte->text(QAccessible::Name), titel);
        // The row shows every "&": the tab is wider than one without them.
        if (titel.contains(u'&'))
            QVERIFY(k.leiste()->tabRect(i).width() > k.leiste()->tabRect(3).width());
        else
            QCOMPARE(k.leiste()->tabRect(i).width(), k.leiste()->tabRect(3).width());
    }
    QCOMPARE(k.caption(0), QStringLiteral("Erstes"));

    // No access key: Alt with the letter after an "&" leaves the current tab alone.
    if (taste) {
        k.setCaption(2, QStringLiteral("Zweites")); // the title on one tab only
        QSignalSpy klick(&k, &Registerkarten::Click);
        QTest::keyClick(&fenster, Qt::Key(taste), Qt::AltModifier);
        QCOMPARE(k.aktuell(), 0);
        QCOMPARE(klick.count(), 0);
    }
}

void tst_Registerkarten::anzahl_data()
{
    QTest::addColumn<int>("von");
    QTest::addColumn<int>("nach");
    QTest::addColumn<bool>("sichtbar");

    QTest::newRow("0 auf 3") << 0 << 3 << true;
    QTest::newRow("3 auf 5") << 3 << 5 << true;
    QTest::newRow("3 auf 5, verborgen") << 3 << 5 << false;
    QTest::newRow("5 auf 2") << 5 << 2 << true;
    QTest::newRow("2 auf 0") << 2 << 0 << true;
    QTest::newRow("4 auf 60") << 4 << 60 << true;
    QTest::newRow("60 auf 4, verborgen") << 60 << 4 << false;
}

void tst_Registerkarten::anzahl()
{
    QFETCH(int, von);
    QFETCH(int, nach);
    QFETCH(bool, sichtbar);

    QWidget fenster;
    fenster.resize(600, 200);
    Registerkarten k(&fenster);
    k.setGeometry(0, 0, 600, 100);
    k.setAnzahl(von);
    for (int i = 0; i < von; ++i)
        k.setCaption(i, QStringLiteral("Karte %1 & mehr").arg(i));
    if (von > 1)
        k.setAktuell(1);
    if (sichtbar) {
        fenster.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    }
    QSignalSpy klick(&k, &Registerkarten::Click);

    k.setAnzahl(nach);

    QCOMPARE(k.anzahl(), nach);
    QCOMPARE(klick.count(), 0);
    QStringList erwartet;
    for (int i = 0; i < nach; ++i)
        erwartet << (i < von ? QStringLiteral("Karte %1 & mehr").arg(i) : QString());
    QStringList captions;
    for (int i = 0; i < nach; ++i)
        captions << k.caption(i);
    QCOMPARE(captions, erwartet);
    QCOMPARE(k.aktuell(), nach == 0 ? -1 : von > 1 && nach > 1 ? 1 : 0);

    // Laid out as a plain tab row of the same kind with these captions.
    QTabBar vergleich(&fenster);
    vergleich.setExpanding(false);
    vergleich.setDrawBase(false);
    vergleich.setUsesScrollButtons(true);
    vergleich.setElideMode(Qt::ElideNone);
    for (const QString &c : std::as_const(erwartet))
        vergleich.addTab(QString(c).replace(u'&', QStringLiteral("&&")));
    vergleich.setCurrentIndex(k.aktuell());
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    vergleich.setGeometry(0, 100, k.leiste()->width(), 40);
    vergleich.show();
    QCOMPARE(k.leistenHoehe(), vergleich.sizeHint().height());
    for (int i = 0; i < nach; ++i)
        QCOMPARE(k.leiste()->tabRect(i), vergleich.tabRect(i));
}

void tst_Registerkarten::alleCaptions_data()
{
    QTest::addColumn<int>("anzahl");
    QTest::addColumn<QStringList>("liste"); // element 0 unused
    QTest::addColumn<QStringList>("erwartet");
    QTest::addColumn<bool>("sichtbar");

    const QStringList drei{"", "Erstes", "Zweites & Drittes", "Drittes"};
    QTest::newRow("passend") << 3 << drei << drei.mid(1) << true;
    QTest::newRow("passend, verborgen") << 3 << drei << drei.mid(1) << false;
    QTest::newRow("zu kurz") << 3 << QStringList{"", "A"} << QStringList{"A", "", ""} << true;
    QTest::newRow("zu lang") << 2 << drei << drei.mid(1, 2) << true;
    QTest::newRow("leer") << 2 << QStringList{} << QStringList{"", ""} << true;
    QTest::newRow("keine Karten") << 0 << drei << QStringList{} << true;
    QStringList viele{QString()};
    for (int i = 1; i <= 300; ++i)
        viele << QStringLiteral("Kapitel %1 & mehr").arg(i);
    QTest::newRow("300 Karten") << 300 << viele << viele.mid(1) << true;
}

void tst_Registerkarten::alleCaptions()
{
    QFETCH(int, anzahl);
    QFETCH(QStringList, liste);
    QFETCH(QStringList, erwartet);
    QFETCH(bool, sichtbar);

    // Two rows alike: one gets all captions in one step, the other one caption at a time.
    QWidget fenster;
    fenster.resize(700, 200);
    Registerkarten k(&fenster);
    k.setGeometry(0, 0, 700, 100);
    Registerkarten vergleich(&fenster);
    vergleich.setGeometry(0, 100, 700, 100);
    k.setAnzahl(anzahl);
    vergleich.setAnzahl(anzahl);
    for (int i = 0; i < anzahl; ++i) {
        k.setCaption(i, QStringLiteral("alt %1").arg(i));
        vergleich.setCaption(i, erwartet.at(i));
    }
    if (anzahl > 1) {
        k.setAktuell(1);
        vergleich.setAktuell(1);
    }
    const int aktuell = k.aktuell();
    if (sichtbar) {
        fenster.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    }
    QSignalSpy klick(&k, &Registerkarten::Click);

    k.setCaptions(liste);

    QCOMPARE(k.anzahl(), anzahl);
    QCOMPARE(k.aktuell(), aktuell);
    QCOMPARE(klick.count(), 0);
    QStringList captions;
    for (int i = 0; i < k.anzahl(); ++i)
        captions << k.caption(i);
    QCOMPARE(captions, erwartet);
    QCOMPARE(k.leiste()->isVisible(), sichtbar);

    if (!sichtbar) {
        fenster.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    }
    // The row is laid out for the new captions, as the one filled a caption at a time.
    QCOMPARE(k.leistenHoehe(), vergleich.leistenHoehe());
    for (int i = 0; i < anzahl; ++i)
        QCOMPARE(k.leiste()->tabRect(i), vergleich.leiste()->tabRect(i));
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
    QWidget fenster;
    fenster.resize(600, 200);
    Registerkarten k(&fenster);
    k.setGeometry(0, 0, 600, 100);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
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
    QWidget fenster;
    fenster.resize(600, 200);
    Registerkarten k(&fenster);
    k.setGeometry(0, 0, 600, 100);
    const int w = Registerkarten::FensterKarten;
    k.setAnzahl(2 * w);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowActive(&fenster));
    k.leiste()->setFocus();
    k.setAktuell(w - 2);
    QSignalSpy klick(&k, &Registerkarten::Click);
    for (int i = w - 1; i <= w + 1; ++i) {
        QTest::keyClick(k.leiste(), Qt::Key_Right);
        QCoreApplication::processEvents();
        QCOMPARE(k.aktuell(), i);
    }
    QCOMPARE(klick.count(), 3);
    QVERIFY(k.ersteKarte() > 0);
    QCOMPARE(QApplication::focusWidget(), k.leiste());
    for (int i = w; i >= 0; --i) {
        QTest::keyClick(k.leiste(), Qt::Key_Left);
        QCoreApplication::processEvents();
        QCOMPARE(k.aktuell(), i);
    }
    QCOMPARE(k.ersteKarte(), 0);
}

void tst_Registerkarten::titelImHilfefenster()
{
    m_u.zuruecksetzen();
    frmHilfe *h = HilfeUmgebung::oeffnen(QStringLiteral("01.01.01"));
    QVERIFY(h);
    if (qEnvironmentVariableIsSet("TOLVAR_BILDER")) {
        const QDir ordner(qEnvironmentVariable("TOLVAR_BILDER"));
        h->window()->grab().save(ordner.filePath(QStringLiteral("hilfefenster.png")));
    }
    QCOMPARE(h->tabMain()->caption(0), QStringLiteral("Übersicht & Äußeres"));
    QCOMPARE(h->tabMain()->caption(1), QStringLiteral("Belege &"));
    QCOMPARE(h->tabSub()->caption(0), QStringLiteral("A & B"));
    QCOMPARE(h->tabSub()->caption(1), QStringLiteral("Kunden && Lieferanten"));
    // The section titles show every "&": each label is as wide as the whole title.
    const QStringList abschnitte{"&", "&&", "Ende &", "&Datei"};
    for (int i = 0; i < abschnitte.size(); ++i) {
        QLabel *l = h->lblSub(i);
        QVERIFY(l);
        QCOMPARE(l->text(), abschnitte.at(i));
        QVERIFY2(l->width() >= l->fontMetrics().horizontalAdvance(abschnitte.at(i)),
                 qPrintable(abschnitte.at(i)));
        QVERIFY2(l->sizeHint().width() >= l->fontMetrics().horizontalAdvance(abschnitte.at(i)),
                 qPrintable(abschnitte.at(i)));
    }
    QVERIFY(HilfeUmgebung::entladen());
}

QTEST_MAIN(tst_Registerkarten)
#include "tst_Registerkarten.moc"
