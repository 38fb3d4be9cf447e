// The stored printer choice and the print dialogs against a scripted printer system: settings
// round trip in a temporary folder, restoring the choice with its fallbacks, storing it, the
// scope options, the properties message, and the progress window's printer line, cancel
// button (also Esc), single print run and place in twips; a printer always chosen when there
// is one, only the chosen printer's driver read (with the busy pointer), a failed save said
// once, and the dialog centred with its real size.
#include "Arbeitsbereich.h"
#include "CupsDruckerSystem.h"
#include "DruckerEinstellungen.h"
#include "DruckerSystemTest.h"
#include "Einstellungen.h"
#include "Mauszeiger.h"
#include "MeldungSkript.h"
#include "TolvarDruckerProtokoll.h"
#include "basDruckereigenschaften.h"
#include "frmDrucken.h"
#include "frmHilfeDrucken.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString A = "Tolvar", S = "Tolvar-Belna";

void speichern(const QString &k, const QString &v)
{
    EinstellungSpeichern(A, S, "DruckerBeschreibung " + k, v);
}

// A window that prints through the progress window, as the help window does.
class Druckfenster : public QObject
{
    Q_OBJECT
public:
    int aufrufe = 0;
    QStringList status;
    std::function<void(frmDrucken *)> waehrend;
    Q_INVOKABLE void BeschreibungDrucken()
    {
        ++aufrufe;
        frmDrucken *f = frmDrucken::aktiv();
        status << f->lblStatus->text();
        for (int seite = 2; seite <= 5 && !f->abbruchGewuenscht(); ++seite) {
            f->setzeStatus(QString("Seite %1").arg(seite));
            if (waehrend)
                waehrend(f);
            status << f->lblStatus->text();
        }
    }
};

} // namespace

class TestDruckdialog : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    DruckerSystemTest *m_sys = nullptr;

private slots:
    void init()
    {
        setzeEinstellungsOrdner(m_dir.path());
        QFile::remove(einstellungsDatei(A));
        m_sys = new DruckerSystemTest;
        m_sys->liste = {DruckerSystemTest::beispiel("Buero", 9, 7),
                        DruckerSystemTest::beispiel("Lager", 11, 2),
                        DruckerSystemTest::beispiel("Etiketten", 1, 4)};
        m_sys->standard = "Lager";
    }
    void cleanup() { delete m_sys; }

    void einstellungenRundreise()
    {
        EinstellungSpeichern(A, S, "DruckerBeschreibung DeviceName", "Büro 2");
        QCOMPARE(EinstellungLesen(A, S, "DruckerBeschreibung DeviceName"), QString("Büro 2"));
        QCOMPARE(EinstellungLesen(A, S, "fehlt"), QString());
        QCOMPARE(EinstellungLesen(A, "anderer", "DruckerBeschreibung DeviceName"), QString());
        QCOMPARE(einstellungsDatei(A), m_dir.filePath("Tolvar.ini"));
        QSettings roh(m_dir.filePath("Tolvar.ini"), QSettings::IniFormat);
        QCOMPARE(roh.value("Tolvar-Belna/DruckerBeschreibung DeviceName").toString(),
                 QString("Büro 2"));
    }

    // Restoring the choice: stored printer (any case), its fallbacks, stored codes where the
    // printer has them, the printer's own preselection otherwise.
    void lesen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("groesse");
        QTest::addColumn<QString>("schacht");
        QTest::addColumn<QString>("drucker");
        QTest::addColumn<int>("papier");
        QTest::addColumn<int>("zufuhr");
        QTest::newRow("nichts gespeichert") << "" << "" << "" << "Lager" << 11 << 2;
        QTest::newRow("gespeichert") << "Buero" << "5" << "4" << "Buero" << 5 << 4;
        QTest::newRow("andere Schreibung") << "BUERO" << "1" << "1" << "Buero" << 1 << 1;
        QTest::newRow("nicht mehr da") << "Weg" << "5" << "1" << "Lager" << 5 << 1;
        QTest::newRow("Code fehlt beim Drucker") << "Etiketten" << "70" << "99" << "Etiketten" << 1 << 4;
        QTest::newRow("leer und abc") << "Buero" << "abc" << "" << "Buero" << 9 << 7;
        QTest::newRow("Zahl am Anfang") << "Buero" << " 11 A5" << "2x" << "Buero" << 11 << 2;
    }
    void lesen()
    {
        QFETCH(QString, name);
        QFETCH(QString, groesse);
        QFETCH(QString, schacht);
        if (!name.isEmpty()) {
            speichern("DeviceName", name);
            speichern("PaperSize", groesse);
            speichern("PaperBin", schacht);
        }
        frmHilfeDrucken dlg;
        QVERIFY(dlg.DatenEinlesen());
        QTEST(dlg.comDrucker->currentText(), "drucker");
        QTEST(dlg.comPapiergroesse->currentData().toInt(), "papier");
        QTEST(dlg.comZufuhr->currentData().toInt(), "zufuhr");
        QCOMPARE(dlg.comPapiergroesse->count(), 4);
    }

    void sonderfaelle()
    {
        // no printer at all
        m_sys->liste.clear();
        frmHilfeDrucken leer;
        QVERIFY(leer.DatenEinlesen());
        QCOMPARE(leer.comDrucker->currentIndex(), -1);
        QCOMPARE(leer.comPapiergroesse->count(), 0);
        QCOMPARE(leer.comZufuhr->count(), 0);
        QVERIFY(!DruckerEinstellungenSpeichern("DruckerBeschreibung", leer.comDrucker,
                                               leer.comPapiergroesse, leer.comZufuhr));
        QVERIFY(!QFile::exists(einstellungsDatei(A)));

        // unreachable printer: empty paper lists; names in two cases: the first is taken
        m_sys->liste = {DruckerSystemTest::beispiel("abc"), DruckerSystemTest::beispiel("ABC")};
        m_sys->liste[0].erreichbar = false;
        m_sys->standard = "ABC";
        speichern("DeviceName", "Abc");
        frmHilfeDrucken dlg;
        dlg.DatenEinlesen();
        QCOMPARE(dlg.comDrucker->currentIndex(), 0);
        QCOMPARE(dlg.comPapiergroesse->count(), 0);
        // changing the printer refills both lists with its preselection
        dlg.comDrucker->setCurrentIndex(1);
        QCOMPARE(dlg.comPapiergroesse->count(), 4);
        QCOMPARE(dlg.comZufuhr->currentData().toInt(), 7);

        // duplicate codes: the first entry with the current code (the plain size before its
        // variants) is preselected
        m_sys->liste = {DruckerSystemTest::beispiel("D", 1, 7)};
        m_sys->standard = "D";
        m_sys->folgeStandard();
        m_sys->liste[0].schaechte.append({"Automatisch 2", 7});
        m_sys->liste[0].schaechte.append({"Ein Name mit genau 24 Z.", 3});
        m_sys->liste[0].formate.append({"Letter (Borderless)", 1});
        frmHilfeDrucken dup;
        dup.DatenEinlesen();
        QCOMPARE(dup.comZufuhr->currentIndex(), 0);
        QCOMPARE(dup.comZufuhr->itemText(5), QString("Ein Name mit genau 24 Z."));
        QCOMPARE(dup.comPapiergroesse->currentText(), QString("Letter"));
    }

    // With printers one is always chosen, the stored one, else the default, else the first;
    // without any "&Drucken" and "&Eigenschaften ..." are disabled and a line in the dialog
    // says why.
    void druckerVorwahl_data()
    {
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("gewaehlt");
        QTest::newRow("Standard") << 3 << "Lager"
                                  << "Lager";
        QTest::newRow("kein Standard") << 3 << ""
                                       << "Buero";
        QTest::newRow("Standard nicht mehr da") << 2 << "Etiketten"
                                                << "Buero";
        QTest::newRow("kein Drucker") << 0 << ""
                                      << "";
    }
    void druckerVorwahl()
    {
        QFETCH(int, anzahl);
        QFETCH(QString, standard);
        QFETCH(QString, gewaehlt);
        m_sys->liste = m_sys->liste.mid(0, anzahl);
        m_sys->standard = standard;
        frmHilfeDrucken dlg;
        QVERIFY(dlg.DatenEinlesen());
        dlg.show();
        QCOMPARE(dlg.comDrucker->currentText(), gewaehlt);
        QCOMPARE(dlg.cmdDrucken->isEnabled(), anzahl > 0);
        QCOMPARE(dlg.cmdDruckeEinrichten->isEnabled(), anzahl > 0);
        QCOMPARE(dlg.lblKeinDrucker->isVisible(), anzahl == 0);
        QCOMPARE(dlg.comPapiergroesse->count(), anzahl > 0 ? 4 : 0);
        if (anzahl == 0) {
            QVERIFY(!dlg.lblKeinDrucker->text().isEmpty());
            dlg.cmdDrucken->click();
            QVERIFY(dlg.isVisible());
            QVERIFY(!dlg.mbOK);
        }
    }

    // Opening the dialog lists the names only; the driver (defaults, paper lists) is read for
    // the chosen printer alone, under the busy pointer, and for another one when it is chosen.
    void nurGewaehlterDruckerGelesen()
    {
        frmHilfeDrucken dlg;
        m_sys->infoAbfragen.clear();
        m_sys->zeigerBeiInfo.clear();
        QVERIFY(dlg.DatenEinlesen());
        QCOMPARE(m_sys->infoAbfragen, QStringList{"Lager"});
        dlg.comDrucker->setCurrentIndex(dlg.comDrucker->findText("Etiketten"));
        QCOMPARE(m_sys->infoAbfragen, (QStringList{"Lager", "Etiketten"}));
        QCOMPARE(m_sys->zeigerBeiInfo, (QList<int>{Zeiger::Sanduhr, Zeiger::Sanduhr}));
        QCOMPARE(MauszeigerAktuell(), Zeiger::Normal);
    }

    // A settings store that cannot be written: the print goes on, one box says so.
    void speichernFehlgeschlagen()
    {
        QTemporaryDir dir;
        const QString ordner = dir.filePath("keinOrdner");
        QFile datei(ordner);
        QVERIFY(datei.open(QIODevice::WriteOnly));
        datei.close();
        setzeEinstellungsOrdner(ordner);
        SkriptMeldungen meldungen;
        frmHilfeDrucken dlg;
        dlg.DatenEinlesen();
        dlg.cmdDrucken->click();
        setzeEinstellungsOrdner(m_dir.path());
        QVERIFY(dlg.mbOK);
        QCOMPARE(meldungen.anzahl(), 1);
        QCOMPARE(meldungen.boxen()[0].stil, int(Meldung::Ausrufezeichen));
        QVERIFY(meldungen.boxen()[0].text.contains("Druckerauswahl"));
    }

    // Paper codes of a driver's sizes: a borderless variant of the same measure does not take
    // the plain size's code, wherever it stands in the list.
    void papierCodes_data()
    {
        QTest::addColumn<QStringList>("schluessel");
        QTest::addColumn<QList<int>>("codes");
        QTest::newRow("Variante danach")
            << QStringList{"A4", "Letter", "Letter.Borderless"} << QList<int>{9, 1, 258};
        QTest::newRow("Variante davor")
            << QStringList{"Letter.Borderless", "Letter", "A4"} << QList<int>{256, 1, 9};
        QTest::newRow("zwei Varianten")
            << QStringList{"A4.FullBleed", "A4.Borderless", "A4"} << QList<int>{256, 257, 9};
        QTest::newRow("ohne Varianten") << QStringList{"A4", "A5", "Legal"} << QList<int>{9, 11, 5};
    }
    void papierCodes()
    {
        QFETCH(QStringList, schluessel);
        QList<QPageSize> seiten;
        for (const QString &k : schluessel) {
            const QString basis = k.section('.', 0, 0);
            seiten << QPageSize(basis == "A4"      ? QPageSize::A4
                                : basis == "A5"    ? QPageSize::A5
                                : basis == "Legal" ? QPageSize::Legal
                                                   : QPageSize::Letter);
        }
        QTEST(CupsDruckerSystem::papierCodes(schluessel, seiten), "codes");
    }

    // Centred in the work area with the size it is shown at.
    void zentriert()
    {
        frmHilfeDrucken dlg;
        dlg.DatenEinlesen();
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QRect bereich = dlg.screen()->availableGeometry();
        const QRect fenster = dlg.frameGeometry();
        QVERIFY2(fenster.height() > 278, "the layout makes the dialog taller than its design");
        QCOMPARE_LE(std::abs(fenster.center().y() - bereich.center().y()), 1);
        QCOMPARE_LE(std::abs(fenster.center().x() - bereich.center().x()), 1);
    }

    // "&Drucken" stores the four keys; a printer without sources stores PaperBin "0";
    // "Abbrechen" stores nothing.
    void speichernUndAbbrechen()
    {
        m_sys->liste[2].schaechte.clear();
        {
            frmHilfeDrucken dlg;
            dlg.DatenEinlesen();
            dlg.comDrucker->setCurrentIndex(0);
            dlg.cmdAbbruch->click();
            QVERIFY(!dlg.mbOK);
            QVERIFY(!QFile::exists(einstellungsDatei(A)));
        }
        frmHilfeDrucken dlg;
        dlg.DatenEinlesen();
        dlg.comDrucker->setCurrentIndex(2);
        dlg.comPapiergroesse->setCurrentIndex(3);
        dlg.cmdDrucken->click();
        QVERIFY(dlg.mbOK);
        QCOMPARE(EinstellungLesen(A, S, "DruckerBeschreibung DeviceName"), QString("Etiketten"));
        QCOMPARE(EinstellungLesen(A, S, "DruckerBeschreibung Port"), QString("file:///dev/null"));
        QCOMPARE(EinstellungLesen(A, S, "DruckerBeschreibung PaperSize"), QString("5"));
        QCOMPARE(EinstellungLesen(A, S, "DruckerBeschreibung PaperBin"), QString("0"));
    }

    void umfangUndGrafik()
    {
        frmHilfeDrucken dlg;
        QVERIFY(dlg.opt[1]->isChecked());
        QVERIFY(!dlg.chkGrafik->isChecked());
        dlg.chkGrafik->setChecked(true);
        dlg.opt[0]->click();
        QVERIFY(!dlg.chkGrafik->isEnabled());
        QVERIFY(!dlg.chkGrafik->isChecked());
        dlg.opt[2]->click();
        QVERIFY(dlg.chkGrafik->isEnabled());
        QVERIFY(!dlg.chkGrafik->isChecked());
        QCOMPARE(dlg.umfang(), 2);
        QCOMPARE(dlg.windowTitle(), QString("Drucken"));
    }

    void eigenschaften()
    {
        SkriptMeldungen meldungen;
        m_sys->liste[0].vollzugriff = false;
        QVERIFY(!DruckerEigenschaftenZeigen(nullptr, m_sys->liste[0].info));
        QCOMPARE(meldungen.anzahl(), 1);
        QCOMPARE(meldungen.boxen()[0].text, QString("OpenPrinter Failed!"));
        QCOMPARE(meldungen.boxen()[0].stil, 0);
        // afterwards the current printer follows the default again
        QCOMPARE(m_sys->aktuellerDrucker(), QString("Lager"));
    }

    // The printer line: msDrucker, else the stored "Drucker DeviceName", else the current
    // printer; the status starts at "Seite 1"; one print run.
    void fortschritt_data()
    {
        QTest::addColumn<QString>("msDrucker");
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("msDrucker") << "Buero" << "Etiketten" << "Buero";
        QTest::newRow("gespeichert") << "" << "Etiketten" << "Etiketten";
        QTest::newRow("aktueller") << "" << "" << "Lager";
    }
    void fortschritt()
    {
        QFETCH(QString, msDrucker);
        QFETCH(QString, gespeichert);
        if (!gespeichert.isEmpty())
            EinstellungSpeichern(A, S, "Drucker DeviceName", gespeichert);
        Druckfenster f;
        frmDrucken frm;
        frm.setBezeichnung("Programmbeschreibung");
        frm.msDrucker = msDrucker;
        frm.setFenster(&f);
        QString drucker, text;
        f.waehrend = [&](frmDrucken *w) {
            drucker = w->lblDrucker->text();
            text = w->lblText->text();
        };
        frm.Drucken("Programmbeschreibung");
        QTEST(drucker, "erwartet");
        QCOMPARE(text, QString("Programmbeschreibung"));
        QCOMPARE(f.aufrufe, 1);
        QCOMPARE(f.status, (QStringList{"Seite 1", "Seite 2", "Seite 3", "Seite 4", "Seite 5"}));
        QVERIFY(!frm.isVisible());
    }

    // The progress window stands at (1000, 1000) twips with 4575 x 1905 twips inside, in
    // pixels by the screen's factor of each axis.
    void fortschrittPlatz()
    {
        FesterArbeitsbereich bereich(QRect(0, 0, 1600, 1000), 12.0, 10.0);
        setzeArbeitsbereich(&bereich);
        frmDrucken frm;
        setzeArbeitsbereich(nullptr);
        QCOMPARE(frm.pos(), QPoint(83, 100));
        QCOMPARE(frm.size(), QSize(381, 191));
    }

    // "Abbrechen" is honoured; activating the window again while it prints starts no second
    // run.
    void abbrechenUndZweiteAktivierung()
    {
        Druckfenster f;
        frmDrucken frm;
        frm.setFenster(&f);
        f.waehrend = [&](frmDrucken *w) {
            QEvent aktiv(QEvent::WindowActivate);
            QCoreApplication::sendEvent(w, &aktiv);
            QCoreApplication::processEvents();
            if (w->lblStatus->text() == "Seite 3")
                w->cmdAbbruch->click();
        };
        frm.Drucken(QString());
        QCOMPARE(f.aufrufe, 1);
        QVERIFY(frm.mbAbbrechen);
        QCOMPARE(f.status.last(), QString("Druck wird abgebrochen"));
        QCOMPARE(f.status.size(), 3);
    }

    // Esc while printing cancels like "Abbrechen": the window stays (with its cancel button)
    // until the print-out ends, and the status line is not overwritten by later statuses.
    void escWaehrendDesDrucks()
    {
        Druckfenster f;
        frmDrucken frm;
        frm.setFenster(&f);
        bool sichtbarNachEsc = false;
        QString statusNachEsc;
        f.waehrend = [&](frmDrucken *w) {
            if (w->lblStatus->text() == "Seite 2") {
                QTest::keyClick(w, Qt::Key_Escape);
                sichtbarNachEsc = w->isVisible();
                w->setzeStatus("lese Text B");
                statusNachEsc = w->lblStatus->text();
            }
        };
        frm.Drucken(QString());
        QVERIFY(sichtbarNachEsc);
        QVERIFY(frm.mbAbbrechen);
        QCOMPARE(statusNachEsc, QString("Druck wird abgebrochen"));
        QCOMPARE(f.aufrufe, 1);
        QVERIFY(!frm.isVisible());
    }
};

QTEST_MAIN(TestDruckdialog)
#include "tst_druckdialog.moc"
