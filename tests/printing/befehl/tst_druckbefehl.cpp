// The print command of the running help, offscreen on a small test database: toolbar button 9
// opens the print dialog (answered by a script), whose captions come from the shown section,
// topic and chapter; the chosen scope is printed through the help window's print object on
// a recording printer control (text, pages, pictures, scope), on a printer of the scripted
// printer system (the PDF handed to the queue, read back with pdftotext), and on the CUPS
// test printer when one is reachable. Cancelling, a second command while printing, a topic
// without sections and "Abbrechen" in the progress window are covered too.
#include "HilfeSitzung.h"
#include "CupsDruckerSystem.h"
#include "Datenbank.h"
#include "DruckerSystemTest.h"
#include "Einstellungen.h"
#include "Global.h"
#include "HilfeDatenbankSchreiber.h"
#include "HilfeDruck.h"
#include "HilfeUmgebung.h"
#include "MeldungSkript.h"
#include "Registerkarten.h"
#include "TestHilfen.h"
#include "TolvarDruckerProtokoll.h"
#include "ZipHilfe.h"
#include "clsHilfe.h"
#include "frmDrucken.h"
#include "frmHilfe.h"
#include "frmHilfeDrucken.h"
#include "frmInhalt.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QThread>
#include <QTimer>

#include <memory>

// libcups keeps the PPD cache of Qt's CUPS plugin for the life of the process.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:_ppdCacheCreateWithPPD\n";
}

using Art = TolvarDruckerProtokoll::Art;

namespace {

QString rtf(const QString &name, int zeilen, const QString &bild = QString())
{
    QString r = QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ");
    for (int i = 1; i <= zeilen; ++i) {
        r += QStringLiteral("%1 Zeile %2").arg(name).arg(i);
        if (i == 1 && !bild.isEmpty())
            r += QStringLiteral(" siehe \\{P%1\\}Maske\\{PE\\}").arg(bild);
        r += QStringLiteral("\\par ");
    }
    return r + QLatin1Char('}');
}

// What the dialog showed, and what the script chose in it.
struct Dialogantwort
{
    bool drucken = true; // "&Drucken", else "Abbrechen"
    int umfang = 1;
    bool grafik = false;
    QString drucker; // "" keeps the preselected printer
    int papier = 0;  // paper size code to choose; 0 keeps the preselection
    // Not empty: while the dialog is open the host application calls HilfeAnzeigen with this
    // number before the dialog is answered.
    QString hostAufruf;
    QString nachHostAufruf; // the help number the window shows after that call

    int gezeigt = 0;
    bool druckenMoeglich = false; // "&Drucken" was enabled
    QString caption[4];
    bool aktiv[4] = {};
    int vorgewaehlt = -1;
};

// Answers the print dialog as soon as it is shown (inside its modal wait).
class DialogSkript : public QObject
{
public:
    explicit DialogSkript(Dialogantwort &a) : m_a(a)
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, &DialogSkript::pruefen);
        m_timer.start();
    }

private:
    void pruefen()
    {
        frmHilfeDrucken *d = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *k = qobject_cast<frmHilfeDrucken *>(w); k && k->isVisible())
                d = k;
        if (!d)
            return;
        m_timer.stop();
        ++m_a.gezeigt;
        for (int i = 0; i < 4; ++i) {
            m_a.caption[i] = d->opt[i]->text();
            m_a.aktiv[i] = d->opt[i]->isEnabled();
        }
        m_a.vorgewaehlt = d->umfang();
        m_a.druckenMoeglich = d->cmdDrucken->isEnabled();
        if (!m_a.hostAufruf.isEmpty()) {
            clsHilfe dienst;
            dienst.HilfeAnzeigen(m_a.hostAufruf, 0);
            if (frmHilfe *h = frmHilfe::instanz(false))
                m_a.nachHostAufruf = h->AktuelleNummer();
        }
        if (!m_a.drucken || !m_a.druckenMoeglich) {
            d->cmdAbbruch->click();
            return;
        }
        if (!m_a.drucker.isEmpty())
            d->comDrucker->setCurrentIndex(d->comDrucker->findText(m_a.drucker));
        if (m_a.papier != 0)
            d->comPapiergroesse->setCurrentIndex(d->comPapiergroesse->findData(m_a.papier));
        d->opt[m_a.umfang]->click();
        d->chkGrafik->setChecked(m_a.grafik);
        d->cmdDrucken->click();
    }

    Dialogantwort &m_a;
    QTimer m_timer;
};

QStringList texte(const TolvarDruckerProtokoll &p, Art art)
{
    QStringList s;
    for (const auto &e : p.eintraege(art))
        s << e.text;
    return s;
}

} // namespace

class tst_Druckbefehl : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void umfang_data();
    void umfang();
    void hostAufrufImDialog_data();
    void hostAufrufImDialog();
    void abbrechenBehaeltEinstellungen();
    void leererUmfang_data();
    void leererUmfang();
    void waehrendDesDrucks_data();
    void waehrendDesDrucks();
    void beendenWaehrendDesBefehls_data();
    void beendenWaehrendDesBefehls();
    void aufDemDrucker();
    void ohneDrucker();
    void auftragNichtAngekommen_data();
    void auftragNichtAngekommen();
    void aufDemCupsDrucker();

private:
    static frmHilfe *oeffnen(const QString &nummer)
    {
        frmHilfe *h = HilfeUmgebung::oeffnen(nummer);
        if (h)
            HilfeSitzung::verbinden(h);
        return h;
    }
    void druckknopf() { frmInhalt::instanz()->Button(frmInhalt::ButtonDrucken)->trigger(); }

    HilfeUmgebung m_u;
    DruckerSystemTest *m_sys = nullptr;
};

void tst_Druckbefehl::initTestCase()
{
    QVERIFY(m_u.einrichten());
    HilfeDatenbankSchreiber s;
    QVERIFY(m_u.schreiben(s));
    const qint32 k1 = s.kapitelEinfuegen(1, QStringLiteral("Rechnungen"), 1);
    const qint32 t11 = s.themaEinfuegen(k1, 1, QStringLiteral("Rechnung anlegen"), 1);
    s.textEinfuegen(t11, 1, QStringLiteral("Kunde wählen"), rtf("Kunde", 3, "00001"), 1);
    s.textEinfuegen(t11, 2, QStringLiteral("Positionen"), rtf("Position", 120), 2);
    s.textEinfuegen(t11, 3, QStringLiteral("Speichern"), rtf("Speichern", 2), 3);
    const qint32 t12 = s.themaEinfuegen(k1, 2, QStringLiteral("Rechnung drucken"), 2);
    s.textEinfuegen(t12, 1, QStringLiteral("Vorschau"), rtf("Vorschau", 2, "00001"), 1);
    s.themaEinfuegen(k1, 3, QStringLiteral("Leeres Thema"), 3);
    const qint32 k2 = s.kapitelEinfuegen(2, QStringLiteral("Mahnwesen & Inkasso"), 2);
    const qint32 t21 = s.themaEinfuegen(k2, 1, QStringLiteral("Mahnstufen"), 1);
    s.textEinfuegen(t21, 1, QStringLiteral("Erste Mahnung"), rtf("Mahnung", 2), 1);
    s.kapitelEinfuegen(3, QStringLiteral("Leeres Kapitel"), 3);
    s.bildEinfuegen(1, zipErstellen({{"Temp.bmp", bmpErstellen(QSize(400, 200), Qt::darkGreen)}}),
                    QStringLiteral("Rechnungsmaske"));
    QString fehler;
    QVERIFY2(s.abschliessen(&fehler), qPrintable(fehler));
    setzeProgrammVerzeichnis(m_u.dir.path());
    setzeEinstellungsOrdner(m_u.dir.path());
}

void tst_Druckbefehl::init()
{
    m_u.zuruecksetzen();
    gsSchriftName = QStringLiteral("Arial");
    giSchriftGroesse = 10;
    QFile::remove(einstellungsDatei(QStringLiteral("Tolvar")));
    m_sys = new DruckerSystemTest;
    m_sys->liste = {DruckerSystemTest::beispiel("Buero", 9, 7),
                    DruckerSystemTest::beispiel("Lager", 9, 2),
                    DruckerSystemTest::beispiel("Etiketten", 1, 4)};
    m_sys->standard = QStringLiteral("Buero");
}

void tst_Druckbefehl::cleanup()
{
    QVERIFY(HilfeUmgebung::entladen());
    delete m_sys;
    m_sys = nullptr;
}

// Each scope from the section it is chosen in: dialog captions, title in every header, the
// texts printed and left out, pictures, pages.
void tst_Druckbefehl::umfang_data()
{
    QTest::addColumn<QString>("nummer");
    QTest::addColumn<bool>("markieren");
    QTest::addColumn<int>("umfang");
    QTest::addColumn<bool>("grafik");
    QTest::addColumn<QString>("titel");
    QTest::addColumn<QStringList>("gedruckt");
    QTest::addColumn<QStringList>("nichtGedruckt");
    QTest::addColumn<int>("bilder");
    QTest::addColumn<int>("mindestSeiten");
    QTest::addColumn<int>("hoechstSeiten");

    zeile("Markierung", "01.01.01", true, 0, false, "Kunde wählen", QStringList{"Kunde Zeile 2"},
          QStringList{"Kunde Zeile 1", "Kunde Zeile 3"}, 0, 1, 1);
    zeile("Abschnitt mit Grafik", "01.01.01", false, 1, true, "Kunde wählen",
          QStringList{"Kunde Zeile 1 siehe Maske", "Kunde Zeile 3"},
          QStringList{"Position Zeile 1"}, 1, 1, 1);
    zeile("Abschnitt ohne Grafik", "01.01.01", true, 1, false, "Kunde wählen",
          QStringList{"Kunde Zeile 1 siehe Maske", "Kunde Zeile 3"}, QStringList{}, 0, 1, 1);
    zeile("Abschnitt über Seiten", "01.01.02", false, 1, false, "Positionen",
          QStringList{"Position Zeile 1", "Position Zeile 120"}, QStringList{"Kunde Zeile 1"}, 0, 2,
          3);
    zeile("Thema", "01.01.03", false, 2, true, "Rechnung anlegen",
          QStringList{"Kunde Zeile 1 siehe Maske", "Position Zeile 120", "Speichern Zeile 2"},
          QStringList{"Vorschau Zeile 1"}, 1, 3, 4);
    zeile("Kapitel", "01.02.01", false, 3, true, "Rechnungen",
          QStringList{"Rechnung anlegen", "Kunde Zeile 1 siehe Maske", "Position Zeile 120",
                      "Rechnung drucken", "Vorschau Zeile 2", "Leeres Thema"},
          QStringList{"Mahnung Zeile 1", "Mahnstufen"}, 2, 3, 5);
}

void tst_Druckbefehl::umfang()
{
    QFETCH(QString, nummer);
    QFETCH(bool, markieren);
    QFETCH(int, umfang);
    QFETCH(bool, grafik);
    QFETCH(QString, titel);
    QFETCH(QStringList, gedruckt);
    QFETCH(QStringList, nichtGedruckt);
    QFETCH(int, bilder);

    frmHilfe *h = oeffnen(nummer);
    QVERIFY(h);
    if (markieren) {
        // The second line of the section, as the user marks it.
        QTextCursor c = h->txt()->document()->find(QStringLiteral("Kunde Zeile 2"));
        QVERIFY(!c.isNull());
        h->txt()->setTextCursor(c);
    }
    TolvarDruckerProtokoll dru;
    HilfeDruck::fuer(h)->setzeDrucker(&dru);

    Dialogantwort a;
    a.umfang = umfang;
    a.grafik = grafik;
    DialogSkript skript(a);
    druckknopf();

    QCOMPARE(a.gezeigt, 1);
    QCOMPARE(a.aktiv[0], markieren);
    QCOMPARE(a.vorgewaehlt, 1);
    const QString abschnitt = h->lblSub(h->dokument()->abschnittIndex())->text();
    QCOMPARE(a.caption[1], QStringLiteral("aktueller &Abschnitt \"%1\"").arg(abschnitt));
    QCOMPARE(
        a.caption[2],
        QStringLiteral("ganzes Thema \"%1\"").arg(h->tabSub()->caption(h->tabSub()->aktuell())));
    QCOMPARE(a.caption[3], QStringLiteral("ganzes Kapitel \"Rechnungen\""));

    HilfeDruck *druck = HilfeDruck::fuer(h);
    QCOMPARE(druck->letztesErgebnis(), Beschreibungsdruck::Ergebnis::Gedruckt);
    QCOMPARE(druck->einstellungen.miDruckUmfang, qint16(umfang));
    QCOMPARE(druck->einstellungen.msDruckTitel, titel);
    QCOMPARE(druck->einstellungen.msDruckerName, QStringLiteral("Buero"));
    QCOMPARE(dru.Geraetename, QStringLiteral("Buero"));

    const QString rtfText = texte(dru, Art::Rtf).join(QLatin1Char('\n'));
    for (const QString &g : gedruckt)
        QVERIFY2(rtfText.contains(g), qPrintable(g));
    for (const QString &n : nichtGedruckt)
        QVERIFY2(!rtfText.contains(n), qPrintable(n));

    const int seiten = dru.seitenAnzahl();
    QFETCH(int, mindestSeiten);
    QFETCH(int, hoechstSeiten);
    QVERIFY2(seiten >= mindestSeiten && seiten <= hoechstSeiten,
             qPrintable(QString::number(seiten)));
    const QStringList text = texte(dru, Art::Text);
    QCOMPARE(text.count(QStringLiteral("Programmbeschreibung Tolvar-Belna")), seiten);
    QCOMPARE(text.count(titel), seiten);
    for (int s = 1; s <= seiten; ++s)
        QCOMPARE(text.count(QStringLiteral("Seite %1").arg(s)), 1);
    QCOMPARE(text.count(QStringLiteral("Abb.: ")), bilder);
    QCOMPARE(text.count(QStringLiteral("Rechnungsmaske")), bilder);
    QCOMPARE(dru.eintraege(Art::Bild).size(), bilder);
    QCOMPARE(dru.eintraege(Art::Ende).size(), 1);
}

// The host application moves the help to another section while the print dialog is open: the
// print-out is still that of the section, topic or chapter the dialog named, title and text.
void tst_Druckbefehl::hostAufrufImDialog_data()
{
    QTest::addColumn<QString>("nummer");
    QTest::addColumn<bool>("markieren");
    QTest::addColumn<int>("umfang");
    QTest::addColumn<QString>("titel");
    QTest::addColumn<QStringList>("gedruckt");

    zeile("Markierung", "01.01.01", true, 0, "Kunde wählen", QStringList{"Kunde Zeile 2"});
    zeile("Abschnitt", "01.01.01", false, 1, "Kunde wählen",
          QStringList{"Kunde Zeile 1", "Kunde Zeile 3"});
    zeile("Thema", "01.01.03", false, 2, "Rechnung anlegen",
          QStringList{"Kunde Zeile 1", "Position Zeile 120", "Speichern Zeile 2"});
    zeile("Kapitel", "01.02.01", false, 3, "Rechnungen",
          QStringList{"Rechnung anlegen", "Position Zeile 120", "Vorschau Zeile 2"});
}

void tst_Druckbefehl::hostAufrufImDialog()
{
    QFETCH(QString, nummer);
    QFETCH(bool, markieren);
    QFETCH(int, umfang);
    QFETCH(QString, titel);
    QFETCH(QStringList, gedruckt);

    frmHilfe *h = oeffnen(nummer);
    QVERIFY(h);
    if (markieren) {
        QTextCursor c = h->txt()->document()->find(QStringLiteral("Kunde Zeile 2"));
        QVERIFY(!c.isNull());
        h->txt()->setTextCursor(c);
    }
    TolvarDruckerProtokoll dru;
    HilfeDruck::fuer(h)->setzeDrucker(&dru);
    Dialogantwort a;
    a.umfang = umfang;
    a.hostAufruf = QStringLiteral("02.01.01");
    DialogSkript skript(a);
    druckknopf();

    QCOMPARE(a.gezeigt, 1);
    QCOMPARE(a.nachHostAufruf, QStringLiteral("02.01.01"));  // the window did move
    QVERIFY(a.caption[std::max(umfang, 1)].contains(titel)); // marked text: the section's title
    QCOMPARE(HilfeDruck::fuer(h)->letztesErgebnis(), Beschreibungsdruck::Ergebnis::Gedruckt);
    const int seiten = dru.seitenAnzahl();
    QVERIFY(seiten >= 1);
    const QStringList text = texte(dru, Art::Text);
    QCOMPARE(text.count(titel), seiten);
    QVERIFY(!text.contains(QStringLiteral("Erste Mahnung")));
    QVERIFY(!text.contains(QStringLiteral("Mahnwesen & Inkasso")));
    const QString rtfText = texte(dru, Art::Rtf).join(QLatin1Char('\n'));
    for (const QString &g : gedruckt)
        QVERIFY2(rtfText.contains(g), qPrintable(g));
    QVERIFY2(!rtfText.contains(QStringLiteral("Mahn")), qPrintable(rtfText.left(300)));
}

// "Abbrechen" in the dialog: nothing printed, the settings of the last print stay.
void tst_Druckbefehl::abbrechenBehaeltEinstellungen()
{
    frmHilfe *h = oeffnen(QStringLiteral("01.01.01"));
    QVERIFY(h);
    TolvarDruckerProtokoll dru;
    HilfeDruck *druck = HilfeDruck::fuer(h);
    druck->setzeDrucker(&dru);
    {
        Dialogantwort a;
        a.umfang = 2;
        a.grafik = true;
        a.drucker = QStringLiteral("Etiketten");
        DialogSkript skript(a);
        druckknopf();
        QCOMPARE(a.gezeigt, 1);
    }
    const int eintraege = int(dru.eintraege().size());
    QVERIFY(eintraege > 0);
    h->GeheZuText(QStringLiteral("02.01.01"));
    Dialogantwort b;
    b.drucken = false;
    DialogSkript skript(b);
    druckknopf();
    QCOMPARE(b.gezeigt, 1);
    // "&" in a title is shown, not taken as an access key.
    QCOMPARE(b.caption[3], QStringLiteral("ganzes Kapitel \"Mahnwesen && Inkasso\""));
    QCOMPARE(dru.eintraege().size(), eintraege);
    QCOMPARE(druck->einstellungen.msDruckerName, QStringLiteral("Etiketten"));
    QCOMPARE(druck->einstellungen.miDruckUmfang, qint16(2));
    QCOMPARE(druck->einstellungen.msDruckTitel, QStringLiteral("Rechnung anlegen"));
    QVERIFY(druck->einstellungen.mbMitGrafik);
}

// Scopes without content are not offered: a topic without sections offers neither section nor
// topic and preselects the chapter; a chapter without topics has nothing to print, and the
// print command then opens no dialog at all.
void tst_Druckbefehl::leererUmfang_data()
{
    QTest::addColumn<QString>("nummer");
    QTest::addColumn<int>("themaTab"); // -1 leaves the topic tab as the number set it
    QTest::addColumn<QList<bool>>("aktiv");
    QTest::addColumn<int>("vorgewaehlt"); // -1: no dialog
    QTest::addColumn<QString>("titel");

    const QList<bool> alle{false, true, true, true};
    zeile("Abschnitt gezeigt", "01.01.02", -1, alle, 1, "Positionen");
    zeile("Thema ohne Abschnitte", "01.01.01", 2, QList<bool>{false, false, false, true}, 3,
          "Rechnungen");
    zeile("Kapitel ohne Themen", "03", -1, QList<bool>{}, -1, "");
}

void tst_Druckbefehl::leererUmfang()
{
    QFETCH(QString, nummer);
    QFETCH(int, themaTab);
    QFETCH(QList<bool>, aktiv);
    QFETCH(int, vorgewaehlt);
    QFETCH(QString, titel);

    frmHilfe *h = oeffnen(QStringLiteral("01.01.01"));
    QVERIFY(h);
    h->GeheZuText(nummer);
    if (themaTab >= 0)
        h->tabSub()->setAktuell(themaTab);
    TolvarDruckerProtokoll dru;
    HilfeDruck *druck = HilfeDruck::fuer(h);
    druck->setzeDrucker(&dru);
    Dialogantwort a;
    a.umfang = std::max(vorgewaehlt, 0);
    DialogSkript skript(a);
    // The command itself, as the toolbar button runs it (the button may be off already).
    druck->DruckBefehl();
    if (vorgewaehlt < 0) {
        // A dialog would have been answered by the script inside the command.
        QCOMPARE(a.gezeigt, 0);
        QCOMPARE(druck->letztesErgebnis(), Beschreibungsdruck::Ergebnis::NichtGestartet);
        QCOMPARE(dru.seitenAnzahl(), 0);
        QVERIFY(!druck->laeuft());
        return;
    }
    QCOMPARE(a.gezeigt, 1);
    for (int i = 0; i < 4; ++i)
        QVERIFY2(a.aktiv[i] == aktiv[i], qPrintable(a.caption[i]));
    QCOMPARE(a.vorgewaehlt, vorgewaehlt);
    QCOMPARE(druck->letztesErgebnis(), Beschreibungsdruck::Ergebnis::Gedruckt);
    QVERIFY(!dru.eintraege(Art::Rtf).isEmpty());
    const int seiten = dru.seitenAnzahl();
    QCOMPARE(texte(dru, Art::Text).count(titel), seiten);
}

// While the print-out runs (a page begun inside a long section): a second print command
// opens no dialog and starts no run; "Abbrechen" in the progress window ends the job.
void tst_Druckbefehl::waehrendDesDrucks_data()
{
    QTest::addColumn<bool>("abbrechen");
    QTest::newRow("zweiter Befehl") << false;
    QTest::newRow("Abbrechen") << true;
}

void tst_Druckbefehl::waehrendDesDrucks()
{
    QFETCH(bool, abbrechen);
    frmHilfe *h = oeffnen(QStringLiteral("01.01.02"));
    QVERIFY(h);
    TolvarDruckerProtokoll dru;
    HilfeDruck::fuer(h)->setzeDrucker(&dru);
    Dialogantwort a;
    a.umfang = 3;
    int zweiteDialoge = -1;
    bool lief = false;
    connect(&dru, &TolvarDrucker::SeiteBegonnen, this, [&] {
        if (zweiteDialoge >= 0)
            return;
        lief = HilfeDruck::fuer(frmHilfe::instanz(false))->laeuft();
        Dialogantwort b;
        DialogSkript nochmal(b);
        druckknopf();
        QCoreApplication::processEvents();
        zweiteDialoge = b.gezeigt;
        if (abbrechen && frmDrucken::aktiv())
            frmDrucken::aktiv()->cmdAbbruch->click();
    });
    DialogSkript skript(a);
    druckknopf();
    QCOMPARE(a.gezeigt, 1);
    QVERIFY(lief);
    QCOMPARE(zweiteDialoge, 0);
    HilfeDruck *druck = HilfeDruck::fuer(h);
    QVERIFY(!druck->laeuft());
    if (abbrechen) {
        QCOMPARE(druck->letztesErgebnis(), Beschreibungsdruck::Ergebnis::Abgebrochen);
        QCOMPARE(dru.eintraege(Art::Abbruch).size(), 1);
        QVERIFY(dru.eintraege(Art::Ende).isEmpty());
        QVERIFY(!texte(dru, Art::Rtf).join(QLatin1Char('\n')).contains("Vorschau"));
    } else {
        QCOMPARE(druck->letztesErgebnis(), Beschreibungsdruck::Ergebnis::Gedruckt);
        QCOMPARE(dru.eintraege(Art::Ende).size(), 1);
        QCOMPARE(texte(dru, Art::Text).count(QStringLiteral("Seite 1")), 1);
    }
    // The command works again afterwards.
    Dialogantwort c;
    c.drucken = false;
    DialogSkript wieder(c);
    druckknopf();
    QCOMPARE(c.gezeigt, 1);
}

// The host ends the help while the print dialog is open or while the print-out runs: the
// dialog is closed (nothing printed) or the print-out cancelled, and only then the frame and
// the help window unload, once.
void tst_Druckbefehl::beendenWaehrendDesBefehls_data()
{
    QTest::addColumn<bool>("imDialog");
    QTest::newRow("Dialog offen") << true;
    QTest::newRow("Druck laeuft") << false;
}

void tst_Druckbefehl::beendenWaehrendDesBefehls()
{
    QFETCH(bool, imDialog);
    frmHilfe *h = oeffnen(QStringLiteral("01.01.02"));
    QVERIFY(h);
    TolvarDruckerProtokoll dru;
    HilfeDruck::fuer(h)->setzeDrucker(&dru);
    clsHilfe dienst;
    QTimer imDialogBeenden;
    int dialogeBeiBeenden = 0;
    if (imDialog) {
        imDialogBeenden.setInterval(5);
        connect(&imDialogBeenden, &QTimer::timeout, this, [&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (qobject_cast<frmHilfeDrucken *>(w) && w->isVisible()) {
                    imDialogBeenden.stop();
                    ++dialogeBeiBeenden;
                    dienst.HilfeBeenden();
                }
        });
        imDialogBeenden.start();
    }
    Dialogantwort a;
    a.umfang = 3;
    std::unique_ptr<DialogSkript> skript;
    if (!imDialog) {
        skript = std::make_unique<DialogSkript>(a);
        connect(&dru, &TolvarDrucker::SeiteBegonnen, this, [&] {
            if (dru.seitenAnzahl() == 2)
                dienst.HilfeBeenden();
        });
    }
    druckknopf();
    // The command has returned; the unload follows on a later turn of the event loop.
    QTRY_COMPARE(m_u.enden, 1);
    QVERIFY(!frmInhalt::instanz(false));
    QVERIFY(!frmHilfe::instanz(false));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (imDialog) {
        QCOMPARE(dialogeBeiBeenden, 1);
        QVERIFY(dru.eintraege(Art::Ende).isEmpty());
        QCOMPARE(dru.seitenAnzahl(), 0);
    } else {
        QCOMPARE(a.gezeigt, 1);
        QCOMPARE(dru.eintraege(Art::Abbruch).size(), 1);
        QVERIFY(dru.eintraege(Art::Ende).isEmpty());
    }
    QTest::qWait(50);
    QCOMPARE(m_u.enden, 1);
}

// On a printer of the printer system: the chosen printer and paper reach the queue, the
// choice is stored, and the PDF handed over holds the print-out.
void tst_Druckbefehl::aufDemDrucker()
{
    if (!pdftotextVorhanden())
        QSKIP("pdftotext is not installed");
    QTemporaryDir kopien;
    m_sys->kopienOrdner = kopien.path();
    frmHilfe *h = oeffnen(QStringLiteral("01.01.01"));
    QVERIFY(h);
    Dialogantwort a;
    a.umfang = 2;
    a.grafik = true;
    a.drucker = QStringLiteral("Lager");
    a.papier = 11;
    DialogSkript skript(a);
    druckknopf();
    QCOMPARE(a.gezeigt, 1);
    QCOMPARE(HilfeDruck::fuer(h)->letztesErgebnis(), Beschreibungsdruck::Ergebnis::Gedruckt);
    QCOMPARE(m_sys->auftraege.size(), 1);
    const DruckerSystemTest::Auftrag &j = m_sys->auftraege[0];
    QCOMPARE(j.drucker, QStringLiteral("Lager"));
    QCOMPARE(j.papier, QStringLiteral("A5"));
    QCOMPARE(j.titel, QStringLiteral("Tolvar Belna - Beschreibung"));
    QCOMPARE(EinstellungLesen("Tolvar", "Tolvar-Belna", "DruckerBeschreibung DeviceName"),
             QStringLiteral("Lager"));
    QCOMPARE(EinstellungLesen("Tolvar", "Tolvar-Belna", "DruckerBeschreibung PaperSize"),
             QStringLiteral("11"));

    const QString text = pdfText(j.kopie);
    const QStringList seiten = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QVERIFY2(seiten.size() >= 4, qPrintable(text)); // A5: 120 lines need several pages
    for (int s = 0; s < seiten.size(); ++s) {
        QVERIFY(seiten[s].contains(QStringLiteral("Programmbeschreibung Tolvar-Belna")));
        QVERIFY(seiten[s].contains(QStringLiteral("Rechnung anlegen")));
        QVERIFY(seiten[s].contains(QStringLiteral("Seite %1\n").arg(s + 1)));
    }
    QCOMPARE(text.count(QStringLiteral("Abb.: Rechnungsmaske")), 1);
    QCOMPARE(text.count(QStringLiteral("Position Zeile 120\n")), 1);
    QCOMPARE(text.count(QStringLiteral("Speichern Zeile 2\n")), 1);
}

// No printer installed: "&Drucken" cannot be pressed; nothing is stored, no job begins and
// nothing reaches a queue.
void tst_Druckbefehl::ohneDrucker()
{
    m_sys->liste.clear();
    m_sys->standard.clear();
    frmHilfe *h = oeffnen(QStringLiteral("01.01.01"));
    QVERIFY(h);
    Dialogantwort a;
    DialogSkript skript(a);
    druckknopf();
    QCOMPARE(a.gezeigt, 1);
    QVERIFY(!a.druckenMoeglich);
    HilfeDruck *druck = HilfeDruck::fuer(h);
    QCOMPARE(druck->letztesErgebnis(), Beschreibungsdruck::Ergebnis::NichtGestartet);
    QVERIFY(druck->einstellungen.msDruckerName.isEmpty());
    QVERIFY(m_sys->auftraege.isEmpty());
    QVERIFY(!QFile::exists(einstellungsDatei(QStringLiteral("Tolvar"))));
    QVERIFY(!druck->dru()->druckLaeuft());
}

// A job that does not reach its target is not printed: the result says so and one box
// (style 48) gives the reason; nothing reaches a queue.
void tst_Druckbefehl::auftragNichtAngekommen_data()
{
    QTest::addColumn<QString>("fall");
    QTest::addColumn<QString>("grund");
    QTest::addColumn<int>("ergebnis");
    QTest::newRow("Warteschlange weist ab")
        << "abweisen"
        << "nimmt keine Aufträge an" << int(Beschreibungsdruck::Ergebnis::Fehlgeschlagen);
    QTest::newRow("Drucker nicht erreichbar")
        << "unerreichbar"
        << "nicht erreichbar" << int(Beschreibungsdruck::Ergebnis::NichtGestartet);
    QTest::newRow("Ausgabe unvollständig")
        << "ende"
        << "Datenträger voll" << int(Beschreibungsdruck::Ergebnis::Fehlgeschlagen);
}

void tst_Druckbefehl::auftragNichtAngekommen()
{
    QFETCH(QString, fall);
    QFETCH(QString, grund);
    QFETCH(int, ergebnis);
    m_sys->liste[1].nimmtAuftraege = fall != QLatin1String("abweisen");
    m_sys->liste[1].erreichbar = fall != QLatin1String("unerreichbar");
    frmHilfe *h = oeffnen(QStringLiteral("01.01.01"));
    QVERIFY(h);
    TolvarDruckerProtokoll protokoll;
    if (fall == QLatin1String("ende")) {
        protokoll.endeFehler = QStringLiteral("Datenträger voll");
        HilfeDruck::fuer(h)->setzeDrucker(&protokoll);
    }
    SkriptMeldungen meldungen;
    Dialogantwort a;
    a.drucker = QStringLiteral("Lager");
    DialogSkript skript(a);
    druckknopf();
    QCOMPARE(a.gezeigt, 1);
    QCOMPARE(int(HilfeDruck::fuer(h)->letztesErgebnis()), ergebnis);
    QVERIFY(!HilfeDruck::fuer(h)->dru()->gesendet());
    QVERIFY(m_sys->auftraege.isEmpty());
    QCOMPARE(meldungen.anzahl(), 1);
    QCOMPARE(meldungen.boxen()[0].stil, int(Meldung::Ausrufezeichen));
    QVERIFY2(meldungen.boxen()[0].text.contains(grund), qPrintable(meldungen.boxen()[0].text));
    QVERIFY(meldungen.boxen()[0].text.contains(QStringLiteral("nicht gedruckt")));
}

// The same through CUPS with its test printer, read back from the printer's output file.
void tst_Druckbefehl::aufDemCupsDrucker()
{
    const QString drucker = QStringLiteral("TolvarTest");
    const QString ausgabe = QStringLiteral("/var/spool/tolvar-test/ausgabe.pdf");
    delete m_sys;
    m_sys = nullptr;
    CupsDruckerSystem cups;
    setzeDruckerSystem(&cups);
    const auto zurueck = qScopeGuard([] { setzeDruckerSystem(nullptr); });
    if (!cups.oeffnen(drucker))
        QSKIP("no CUPS server with the printer TolvarTest (scripts/cups.sh sets it up)");
    if (!pdftotextVorhanden())
        QSKIP("pdftotext is not installed");
    const QDateTime vorher = QFileInfo(ausgabe).lastModified();
    QFile::remove(ausgabe);

    frmHilfe *h = oeffnen(QStringLiteral("01.02.01"));
    QVERIFY(h);
    Dialogantwort a;
    a.umfang = 3;
    a.grafik = true;
    a.drucker = drucker;
    DialogSkript skript(a);
    druckknopf();
    QCOMPARE(a.gezeigt, 1);
    QCOMPARE(HilfeDruck::fuer(h)->letztesErgebnis(), Beschreibungsdruck::Ergebnis::Gedruckt);
    QVERIFY(HilfeDruck::fuer(h)->dru()->gesendet());

    QDeadlineTimer frist(60000);
    QString text;
    while (!frist.hasExpired()) {
        if (QFileInfo::exists(ausgabe) && QFileInfo(ausgabe).lastModified() != vorher) {
            text = pdfText(ausgabe);
            if (!text.isEmpty())
                break;
        }
        QThread::msleep(200);
    }
    QVERIFY2(!text.isEmpty(), "the test printer wrote nothing");
    const QStringList seiten = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QVERIFY(seiten.size() >= 3);
    for (int s = 0; s < seiten.size(); ++s) {
        QVERIFY(seiten[s].contains(QStringLiteral("Programmbeschreibung Tolvar-Belna")));
        QVERIFY(seiten[s].contains(QStringLiteral("Rechnungen")));
        QVERIFY(seiten[s].contains(QStringLiteral("Seite %1\n").arg(s + 1)));
    }
    QCOMPARE(text.count(QStringLiteral("Abb.: Rechnungsmaske")), 2);
    QVERIFY(text.contains(QStringLiteral("Vorschau Zeile 2")));
    QVERIFY(!text.contains(QStringLiteral("Mahnung")));
}

QTEST_MAIN(tst_Druckbefehl)
#include "tst_druckbefehl.moc"
