// The print command of the running help offscreen on a small test database: toolbar button 9,
// the print dialog answered by a script, the scope printed on a recording printer control or
// on a printer of the scripted printer system (its PDF read back with pdftotext).
#include "Datenbank.h"
#include "DruckerSystemTest.h"
#include "Einstellungen.h"
#include "Global.h"
#include "HilfeDatenbankSchreiber.h"
#include "HilfeDruck.h"
#include "HilfeSitzung.h"
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
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>

// libcups keeps the PPD cache of Qt's CUPS plugin for the life of the process.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:_ppdCacheCreateWithPPD\n";
}

using Art = TolvarDruckerProtokoll::Art;
using Ergebnis = Beschreibungsdruck::Ergebnis;

namespace {

QString rtf(const QString &name, int zeilen, const QString &bild = QString())
{
    QStringList z;
    for (int i = 1; i <= zeilen; ++i)
        z << QStringLiteral("%1 Zeile %2").arg(name).arg(i);
    if (!bild.isEmpty())
        z[0] += QStringLiteral(" siehe \\{P%1\\}Maske\\{PE\\}").arg(bild);
    return rtfAbsatz(z.join(QStringLiteral("\\par ")));
}

// The help window at a number, with the second line of "Kunde wählen" marked or another
// topic tab chosen; its print object, printing on dru when given (null when it cannot show it).
HilfeDruck *oeffnen(const QString &nummer, TolvarDrucker *dru = nullptr, bool markieren = false,
                    int themaTab = -1)
{
    frmHilfe *h = HilfeUmgebung::oeffnen(nummer);
    if (!h)
        return nullptr;
    if (themaTab >= 0)
        h->tabSub()->setAktuell(themaTab);
    if (markieren) {
        const QTextCursor c = h->txt()->document()->find(QStringLiteral("Kunde Zeile 2"));
        if (c.isNull())
            return nullptr;
        h->txt()->setTextCursor(c);
    }
    if (dru)
        HilfeDruck::fuer(h)->setzeDrucker(dru);
    return HilfeDruck::fuer(h);
}

// The host's calls to the session (kept alive: HilfeBeenden unloads on a later event loop turn).
clsHilfe &dienst()
{
    return *new clsHilfe(*HilfeUmgebung::sitzung(), qApp);
}

// What the dialog showed, and what the script chose in it.
struct Dialogantwort
{
    bool drucken = true; // "&Drucken", else "Abbrechen"
    int umfang = 1;
    bool grafik = false;
    QString drucker{};    // "" keeps the preselected printer
    int papier = 0;       // paper size code to choose; 0 keeps the preselection
    bool beenden = false; // the host ends the help instead of an answer
    int gezeigt = 0;
    bool druckenMoeglich = false; // "&Drucken" was enabled
    QString caption[4]{};
    bool aktiv[4] = {};
    int vorgewaehlt = -1;
};

// The print command from the toolbar (or druck's own, as the button runs it even when off), its
// dialog answered as soon as it is shown inside its modal wait.
Dialogantwort befehl(Dialogantwort a, HilfeDruck *druck = nullptr)
{
    QTimer uhr;
    uhr.setInterval(5);
    QObject::connect(&uhr, &QTimer::timeout, [&] {
        auto *d = qobject_cast<frmHilfeDrucken *>(QApplication::activeModalWidget());
        if (!d || !d->isVisible())
            return;
        uhr.stop();
        ++a.gezeigt;
        for (int i = 0; i < 4; ++i) {
            a.caption[i] = d->opt[i]->text();
            a.aktiv[i] = d->opt[i]->isEnabled();
        }
        a.vorgewaehlt = d->umfang();
        a.druckenMoeglich = d->cmdDrucken->isEnabled();
        if (a.beenden)
            return dienst().HilfeBeenden();
        if (!a.drucken || !a.druckenMoeglich)
            return d->cmdAbbruch->click();
        if (!a.drucker.isEmpty())
            d->comDrucker->setCurrentIndex(d->comDrucker->findText(a.drucker));
        if (a.papier != 0)
            d->comPapiergroesse->setCurrentIndex(d->comPapiergroesse->findData(a.papier));
        d->opt[a.umfang]->click();
        d->chkGrafik->setChecked(a.grafik);
        d->cmdDrucken->click();
    });
    uhr.start();
    druck ? druck->DruckBefehl()
          : frmInhalt::instanz()->Button(frmInhalt::ButtonDrucken)->trigger();
    return a;
}

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

    HilfeUmgebung m_u;
    std::unique_ptr<DruckerSystemTest> m_sys;

private slots:
    void initTestCase()
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
        s.bildEinfuegen(1,
                        zipErstellen({{"Temp.bmp", bmpErstellen(QSize(400, 200), Qt::darkGreen)}}),
                        QStringLiteral("Rechnungsmaske"));
        QString fehler;
        QVERIFY2(s.abschliessen(&fehler), qPrintable(fehler));
        setzeProgrammVerzeichnis(m_u.dir.path());
        setzeEinstellungsOrdner(m_u.dir.path());
    }

    void init()
    {
        m_u.zuruecksetzen();
        gsSchriftName = QStringLiteral("Arial");
        giSchriftGroesse = 10;
        QFile::remove(einstellungsDatei(QStringLiteral("Tolvar")));
        m_sys = std::make_unique<DruckerSystemTest>();
        m_sys->liste = {DruckerSystemTest::beispiel("Buero", 9, 7),
                        DruckerSystemTest::beispiel("Lager", 9, 2)};
        m_sys->standard = QStringLiteral("Buero");
    }

    void cleanup()
    {
        QVERIFY(HilfeUmgebung::entladen());
        m_sys.reset();
    }

    // Each scope: dialog captions, title in every header, texts printed and left out, pictures.
    void umfang_data()
    {
        QTest::addColumn<QString>("nummer");
        QTest::addColumn<bool>("markieren");
        QTest::addColumn<int>("umfang");
        QTest::addColumn<QString>("titel");
        QTest::addColumn<QStringList>("gedruckt");
        QTest::addColumn<QStringList>("nichtGedruckt");
        QTest::addColumn<int>("bilder");
        QTest::addColumn<int>("mindestSeiten");
        QTest::addColumn<int>("hoechstSeiten");

        const QStringList kunde13{"Kunde Zeile 1 siehe Maske", "Kunde Zeile 3"};
        const QStringList thema{"Kunde Zeile 1 siehe Maske", "Position Zeile 120",
                                "Speichern Zeile 2"};
        const QStringList kapitel{"Rechnung anlegen",   "Kunde Zeile 1 siehe Maske",
                                  "Position Zeile 120", "Rechnung drucken",
                                  "Vorschau Zeile 2",   "Leeres Thema"};
        zeile("Markierung", "01.01.01", true, 0, "Kunde wählen", QStringList{"Kunde Zeile 2"},
              QStringList{"Kunde Zeile 1", "Kunde Zeile 3"}, 0, 1, 1);
        // Marked text, but the section chosen: the whole section.
        zeile("Abschnitt mit Grafik", "01.01.01", true, 1, "Kunde wählen", kunde13,
              QStringList{"Position Zeile 1"}, 1, 1, 1);
        zeile("Thema", "01.01.03", false, 2, "Rechnung anlegen", thema,
              QStringList{"Vorschau Zeile 1"}, 1, 3, 4);
        zeile("Kapitel", "01.02.01", false, 3, "Rechnungen", kapitel, QStringList{}, 2, 3, 5);
    }

    void umfang()
    {
        QFETCH(QString, nummer);
        QFETCH(bool, markieren);
        QFETCH(int, umfang);
        QFETCH(QString, titel);
        QFETCH(QStringList, gedruckt);
        QFETCH(QStringList, nichtGedruckt);
        QFETCH(int, bilder);
        QFETCH(int, mindestSeiten);
        QFETCH(int, hoechstSeiten);

        TolvarDruckerProtokoll dru;
        HilfeDruck *druck = oeffnen(nummer, &dru, markieren);
        QVERIFY(druck);
        const Dialogantwort a = befehl({.umfang = umfang, .grafik = bilder > 0});

        QCOMPARE(a.gezeigt, 1);
        QCOMPARE(a.aktiv[0], markieren);
        QVERIFY(a.aktiv[1] && a.aktiv[2] && a.aktiv[3]);
        QCOMPARE(a.vorgewaehlt, 1);
        const QMap<QString, QStringList> gezeigt{{"01.01.01", {"Kunde wählen", "Rechnung anlegen"}},
                                                 {"01.01.03", {"Speichern", "Rechnung anlegen"}},
                                                 {"01.02.01", {"Vorschau", "Rechnung drucken"}}};
        QCOMPARE(a.caption[1],
                 QStringLiteral("aktueller &Abschnitt \"%1\"").arg(gezeigt[nummer][0]));
        QCOMPARE(a.caption[2], QStringLiteral("ganzes Thema \"%1\"").arg(gezeigt[nummer][1]));
        QCOMPARE(a.caption[3], QStringLiteral("ganzes Kapitel \"Rechnungen\""));

        QCOMPARE(druck->letztesErgebnis(), Ergebnis::Gedruckt);
        QCOMPARE(druck->einstellungen.miDruckUmfang, qint16(umfang));
        QCOMPARE(druck->einstellungen.msDruckTitel, titel);

        const QString rtfText = texte(dru, Art::Rtf).join(QLatin1Char('\n'));
        for (const QString &g : gedruckt)
            QVERIFY2(rtfText.contains(g), qPrintable(g));
        for (const QString &n : nichtGedruckt)
            QVERIFY2(!rtfText.contains(n), qPrintable(n));
        const QStringList text = texte(dru, Art::Text); // and nothing of chapter 2
        QVERIFY2(!(rtfText + text.join(QLatin1Char('\n'))).contains(QStringLiteral("Mahn")),
                 qPrintable(rtfText.left(300)));

        const int seiten = dru.seitenAnzahl();
        QVERIFY2(seiten >= mindestSeiten && seiten <= hoechstSeiten,
                 qPrintable(QString::number(seiten)));
        QCOMPARE(text.count(titel), seiten);
        QCOMPARE(text.count(QStringLiteral("Rechnungsmaske")), bilder);
        QCOMPARE(dru.eintraege(Art::Bild).size(), bilder);
        QCOMPARE(dru.eintraege(Art::Ende).size(), 1);
    }

    // Empty scopes are not offered; a chapter without topics opens no dialog at all.
    void leererUmfang_data()
    {
        QTest::addColumn<QString>("nummer");
        QTest::addColumn<int>("themaTab"); // -1 leaves the topic tab as the number set it
        QTest::addColumn<QList<bool>>("aktiv");
        QTest::addColumn<int>("vorgewaehlt"); // -1: no dialog
        zeile("Thema ohne Abschnitte", "01.01.01", 2, QList<bool>{false, false, false, true}, 3);
        zeile("Kapitel ohne Themen", "03", -1, QList<bool>{}, -1);
    }

    void leererUmfang()
    {
        QFETCH(QString, nummer);
        QFETCH(int, themaTab);
        QFETCH(QList<bool>, aktiv);
        QFETCH(int, vorgewaehlt);

        TolvarDruckerProtokoll dru;
        HilfeDruck *druck = oeffnen(nummer, &dru, false, themaTab);
        QVERIFY(druck);
        const Dialogantwort a = befehl({.umfang = std::max(vorgewaehlt, 0)}, druck);
        if (vorgewaehlt < 0) {
            QCOMPARE(a.gezeigt, 0);
            QCOMPARE(druck->letztesErgebnis(), Ergebnis::NichtGestartet);
            QCOMPARE(dru.seitenAnzahl(), 0);
            QVERIFY(!druck->laeuft());
            return;
        }
        QCOMPARE(a.gezeigt, 1);
        for (int i = 0; i < 4; ++i)
            QVERIFY2(a.aktiv[i] == aktiv[i], qPrintable(a.caption[i]));
        QCOMPARE(a.vorgewaehlt, vorgewaehlt);
        QCOMPARE(druck->letztesErgebnis(), Ergebnis::Gedruckt);
        QVERIFY(!dru.eintraege(Art::Rtf).isEmpty());
        QCOMPARE(texte(dru, Art::Text).count("Rechnungen"), dru.seitenAnzahl());
    }

    // A second command while printing opens nothing; "Abbrechen" ends the job; the host's end
    // closes the dialog or cancels the print-out, then unloads once. A cancelled dialog keeps
    // the settings of the last print.
    void waehrendDesBefehls_data()
    {
        QTest::addColumn<QString>("was");
        for (const char *was : {"zweiter Befehl", "Abbrechen", "Ende im Dialog", "Ende beim Druck"})
            QTest::newRow(was) << QString::fromUtf8(was);
    }

    void waehrendDesBefehls()
    {
        QFETCH(QString, was);
        const bool imDialog = was == QLatin1String("Ende im Dialog");
        const bool abbruch = was != QLatin1String("zweiter Befehl");
        TolvarDruckerProtokoll dru;
        HilfeDruck *druck = oeffnen(QStringLiteral("01.01.02"), &dru);
        QVERIFY(druck);
        int zweiteDialoge = -1;
        bool lief = false;
        connect(&dru, &TolvarDrucker::SeiteBegonnen, this, [&] {
            if (dru.seitenAnzahl() != 2)
                return;
            lief = druck->laeuft();
            if (was == QLatin1String("Ende beim Druck"))
                return dienst().HilfeBeenden();
            zweiteDialoge = befehl({}).gezeigt;
            if (abbruch)
                frmDrucken::aktiv()->cmdAbbruch->click();
        });
        QCOMPARE(befehl({.umfang = 3, .grafik = true, .beenden = imDialog}).gezeigt, 1);
        QCOMPARE(lief, !imDialog);
        QCOMPARE(dru.eintraege(Art::Ende).size(), abbruch ? 0 : 1);
        QCOMPARE(dru.eintraege(Art::Abbruch).size(), abbruch && !imDialog ? 1 : 0);
        if (was.startsWith(QLatin1String("Ende"))) {
            // The command has returned; the unload follows on a later turn of the event loop.
            QTRY_COMPARE(m_u.enden, 1);
            QVERIFY(!frmInhalt::instanz());
            QVERIFY(!frmHilfe::instanz());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(dru.seitenAnzahl() == 0, imDialog);
            QTest::qWait(50);
            QCOMPARE(m_u.enden, 1);
            return;
        }
        QCOMPARE(zweiteDialoge, 0);
        QVERIFY(!druck->laeuft());
        QCOMPARE(druck->letztesErgebnis(), abbruch ? Ergebnis::Abgebrochen : Ergebnis::Gedruckt);
        if (abbruch)
            QVERIFY(!texte(dru, Art::Rtf).join(QLatin1Char('\n')).contains("Vorschau"));
        else
            QCOMPARE(texte(dru, Art::Text).count(QStringLiteral("Seite 1")), 1);
        const int eintraege = int(dru.eintraege().size());
        dienst().HilfeAnzeigen(QStringLiteral("02.01.01"), 0);
        const Dialogantwort b = befehl({.drucken = false});
        QCOMPARE(b.gezeigt, 1);
        // "&" in a title is shown, not taken as an access key.
        QCOMPARE(b.caption[3], QStringLiteral("ganzes Kapitel \"Mahnwesen && Inkasso\""));
        QCOMPARE(dru.eintraege().size(), eintraege);
        QCOMPARE(druck->einstellungen.miDruckUmfang, qint16(3));
        QCOMPARE(druck->einstellungen.msDruckTitel, QStringLiteral("Rechnungen"));
        QVERIFY(druck->einstellungen.mbMitGrafik);
    }

    // On a printer of the printer system: the chosen printer and paper reach the queue, the
    // choice is stored, and the PDF handed over holds the print-out. A job that cannot reach
    // its printer is not printed: nothing reaches a queue, and one box (style 48) says why.
    void aufDemDrucker_data()
    {
        QTest::addColumn<QString>("grund"); // of the failure; "" prints
        QTest::addColumn<Ergebnis>("ergebnis");
        zeile("gedruckt", "", Ergebnis::Gedruckt);
        zeile("Drucker nicht erreichbar", "nicht erreichbar", Ergebnis::NichtGestartet);
        zeile("Ausgabe unvollständig", "Datenträger voll", Ergebnis::Fehlgeschlagen);
    }

    void aufDemDrucker()
    {
        QFETCH(QString, grund);
        QFETCH(Ergebnis, ergebnis);
        QTemporaryDir kopien;
        m_sys->kopienOrdner = kopien.path();
        m_sys->liste[1].erreichbar = grund != "nicht erreichbar";
        TolvarDruckerProtokoll protokoll; // its output cannot be completed
        protokoll.endeFehler = grund;
        HilfeDruck *druck = oeffnen("01.01.01", grund == "Datenträger voll" ? &protokoll : nullptr);
        QVERIFY(druck);
        SkriptMeldungen meldungen;
        const Dialogantwort a =
            befehl({.umfang = 2, .grafik = true, .drucker = "Lager", .papier = 11});
        QCOMPARE(a.gezeigt, 1);
        QVERIFY(a.druckenMoeglich);
        QCOMPARE(druck->letztesErgebnis(), ergebnis);
        QCOMPARE(EinstellungLesen("Tolvar", "Tolvar-Belna", "DruckerBeschreibung DeviceName"),
                 QStringLiteral("Lager"));
        if (!grund.isEmpty()) {
            QVERIFY(!druck->dru()->gesendet());
            QVERIFY(!druck->dru()->druckLaeuft());
            QVERIFY(m_sys->auftraege.isEmpty());
            QCOMPARE(meldungen.anzahl(), 1);
            QCOMPARE(meldungen.boxen()[0].stil, int(Meldung::Ausrufezeichen));
            QVERIFY2(meldungen.boxen()[0].text.contains(grund) &&
                         meldungen.boxen()[0].text.contains(QStringLiteral("nicht gedruckt")),
                     qPrintable(meldungen.boxen()[0].text));
            return;
        }
        QCOMPARE(EinstellungLesen("Tolvar", "Tolvar-Belna", "DruckerBeschreibung PaperSize"),
                 QStringLiteral("11"));
        QCOMPARE(m_sys->auftraege.size(), 1);
        const DruckerSystemTest::Auftrag &j = m_sys->auftraege[0];
        QCOMPARE(j.drucker, QStringLiteral("Lager"));
        QCOMPARE(j.papier, QStringLiteral("A5"));
        QCOMPARE(j.titel, QStringLiteral("Tolvar Belna - Beschreibung"));
        if (!pdftotextVorhanden())
            QSKIP("pdftotext is not installed");
        const QString text = pdfText(j.kopie);
        const QStringList seiten = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QVERIFY2(seiten.size() >= 4, qPrintable(text)); // A5: 120 lines need several pages
        for (int s = 0; s < seiten.size(); ++s)
            QVERIFY2(seiten[s].contains(QStringLiteral("Programmbeschreibung Tolvar-Belna")) &&
                         seiten[s].contains(QStringLiteral("Rechnung anlegen")) &&
                         seiten[s].contains(QStringLiteral("Seite %1\n").arg(s + 1)),
                     qPrintable(seiten[s]));
        QCOMPARE(text.count(QStringLiteral("Abb.: Rechnungsmaske")), 1);
        QCOMPARE(text.count(QStringLiteral("Position Zeile 120\n")), 1);
        QCOMPARE(text.count(QStringLiteral("Speichern Zeile 2\n")), 1);
    }
};

QTEST_MAIN(tst_Druckbefehl)
#include "tst_druckbefehl.moc"
