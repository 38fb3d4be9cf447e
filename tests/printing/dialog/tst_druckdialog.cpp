// The stored printer choice and the print dialogs against a scripted printer system: restoring
// the choice with its fallbacks, storing it (a failed save said once), the driver read for the
// chosen printer only, the scope options, the properties message, the dialog centred, and the
// progress window's printer line, cancel button (also Esc), single print run and place.
#include "Arbeitsbereich.h"
#include "CupsDruckerSystem.h"
#include "DruckerEinstellungen.h"
#include "DruckerSystemTest.h"
#include "Einstellungen.h"
#include "Mauszeiger.h"
#include "MeldungSkript.h"
#include "TestHilfen.h"
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

    // Restoring the choice: the stored printer (any case) with its stored codes where the
    // printer has them, else the default, else the first printer, with the printer's own
    // preselection. Without any printer "&Drucken" and "&Eigenschaften ..." are disabled, a
    // line in the dialog says why, and nothing is stored.
    void lesen_data()
    {
        QTest::addColumn<int>("anzahl"); // printers installed, of Buero, Lager, Etiketten
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("name"); // stored; "" stores nothing
        QTest::addColumn<QString>("groesse");
        QTest::addColumn<QString>("schacht");
        QTest::addColumn<QString>("drucker");
        QTest::addColumn<int>("papier");
        QTest::addColumn<int>("zufuhr");
        zeile("nichts gespeichert", 3, "Lager", "", "", "", "Lager", 11, 2);
        zeile("gespeichert", 3, "Lager", "Buero", "5", "4", "Buero", 5, 4);
        zeile("andere Schreibung", 3, "Lager", "BUERO", "1", "1", "Buero", 1, 1);
        zeile("nicht mehr da", 3, "Lager", "Weg", "5", "1", "Lager", 5, 1);
        zeile("Code fehlt beim Drucker", 3, "Lager", "Etiketten", "70", "99", "Etiketten", 1, 4);
        zeile("leer und abc", 3, "Lager", "Buero", "abc", "", "Buero", 9, 7);
        zeile("Zahl am Anfang", 3, "Lager", "Buero", " 11 A5", "2x", "Buero", 11, 2);
        zeile("kein Standard", 3, "", "", "", "", "Buero", 9, 7);
        zeile("Standard nicht mehr da", 2, "Etiketten", "", "", "", "Buero", 9, 7);
        zeile("kein Drucker", 0, "", "", "", "", "", 0, 0);
    }
    void lesen()
    {
        QFETCH(int, anzahl);
        QFETCH(QString, standard);
        QFETCH(QString, name);
        QFETCH(QString, groesse);
        QFETCH(QString, schacht);
        m_sys->liste = m_sys->liste.mid(0, anzahl);
        m_sys->standard = standard;
        if (!name.isEmpty()) {
            speichern("DeviceName", name);
            speichern("PaperSize", groesse);
            speichern("PaperBin", schacht);
        }
        frmHilfeDrucken dlg;
        QVERIFY(dlg.DatenEinlesen());
        dlg.show();
        QTEST(dlg.comDrucker->currentText(), "drucker");
        QTEST(dlg.comPapiergroesse->currentData().toInt(), "papier");
        QTEST(dlg.comZufuhr->currentData().toInt(), "zufuhr");
        QCOMPARE(dlg.comPapiergroesse->count(), anzahl > 0 ? 4 : 0);
        QCOMPARE(dlg.comZufuhr->count() > 0, anzahl > 0);
        QCOMPARE(dlg.cmdDrucken->isEnabled(), anzahl > 0);
        QCOMPARE(dlg.cmdDruckeEinrichten->isEnabled(), anzahl > 0);
        QCOMPARE(dlg.lblKeinDrucker->isVisible(), anzahl == 0);
        if (anzahl > 0)
            return;
        QCOMPARE(dlg.comDrucker->currentIndex(), -1);
        QVERIFY(!dlg.lblKeinDrucker->text().isEmpty());
        dlg.cmdDrucken->click();
        QVERIFY(dlg.isVisible());
        QVERIFY(!dlg.mbOK);
        QVERIFY(!DruckerEinstellungenSpeichern("DruckerBeschreibung", dlg.comDrucker,
                                               dlg.comPapiergroesse, dlg.comZufuhr));
        QVERIFY(!QFile::exists(einstellungsDatei(A)));
    }

    void sonderfaelle()
    {
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

    // "&Drucken" stores the four keys; a printer without sources stores PaperBin "0";
    // "Abbrechen" stores nothing. A store that cannot be written: the print goes on, one box
    // says so.
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
        // In the product's shared INI file, under its section.
        QCOMPARE(einstellungsDatei(A), m_dir.filePath("Tolvar.ini"));
        QSettings roh(m_dir.filePath("Tolvar.ini"), QSettings::IniFormat);
        QCOMPARE(roh.value("Tolvar-Belna/DruckerBeschreibung DeviceName").toString(),
                 QString("Etiketten"));
        QCOMPARE(EinstellungLesen(A, "anderer", "DruckerBeschreibung DeviceName"), QString());

        const QString keinOrdner = m_dir.filePath("Tolvar.ini"); // a file, not a folder
        setzeEinstellungsOrdner(keinOrdner);
        SkriptMeldungen meldungen;
        frmHilfeDrucken fehler;
        fehler.DatenEinlesen();
        fehler.cmdDrucken->click();
        setzeEinstellungsOrdner(m_dir.path());
        QVERIFY(fehler.mbOK);
        QCOMPARE(meldungen.anzahl(), 1);
        QCOMPARE(meldungen.boxen()[0].stil, int(Meldung::Ausrufezeichen));
        QVERIFY(meldungen.boxen()[0].text.contains("Druckerauswahl"));
    }

    // The scope options and the picture box; the dialog centred in the work area with the size
    // it is shown at.
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
        dlg.DatenEinlesen();
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QRect bereich = dlg.screen()->availableGeometry();
        const QRect fenster = dlg.frameGeometry();
        QVERIFY2(fenster.height() > 278, "the layout makes the dialog taller than its design");
        QCOMPARE_LE(std::abs(fenster.center().y() - bereich.center().y()), 1);
        QCOMPARE_LE(std::abs(fenster.center().x() - bereich.center().x()), 1);
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
    // printer; the status starts at "Seite 1"; one print run, also when the window is activated
    // again while it prints. "Abbrechen" or Esc cancels: the window stays (with its cancel
    // button) until the print-out ends, and later statuses do not overwrite the status line.
    void fortschritt_data()
    {
        QTest::addColumn<QString>("msDrucker");
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<QString>("erwartet");
        QTest::addColumn<QString>("abbruch"); // at "Seite 3"; "" prints to the end
        zeile("msDrucker", "Buero", "Etiketten", "Buero", "");
        zeile("gespeichert", "", "Etiketten", "Etiketten", "");
        zeile("aktueller", "", "", "Lager", "");
        zeile("Abbrechen", "", "", "Lager", "Abbrechen");
        zeile("Esc", "", "", "Lager", "Esc");
    }
    void fortschritt()
    {
        QFETCH(QString, msDrucker);
        QFETCH(QString, gespeichert);
        QFETCH(QString, abbruch);
        if (!gespeichert.isEmpty())
            EinstellungSpeichern(A, S, "Drucker DeviceName", gespeichert);
        Druckfenster f;
        frmDrucken frm;
        frm.setBezeichnung("Programmbeschreibung");
        frm.msDrucker = msDrucker;
        frm.setFenster(&f);
        QString drucker, text, statusDanach;
        bool sichtbar = false;
        f.waehrend = [&](frmDrucken *w) {
            drucker = w->lblDrucker->text();
            text = w->lblText->text();
            QEvent aktiv(QEvent::WindowActivate);
            QCoreApplication::sendEvent(w, &aktiv);
            QCoreApplication::processEvents();
            if (abbruch.isEmpty() || w->lblStatus->text() != "Seite 3")
                return;
            if (abbruch == "Esc")
                QTest::keyClick(w, Qt::Key_Escape);
            else
                w->cmdAbbruch->click();
            sichtbar = w->isVisible();
            w->setzeStatus("lese Text B");
            statusDanach = w->lblStatus->text();
        };
        frm.Drucken("Programmbeschreibung");
        QTEST(drucker, "erwartet");
        QCOMPARE(text, QString("Programmbeschreibung"));
        QCOMPARE(f.aufrufe, 1);
        QVERIFY(!frm.isVisible());
        QCOMPARE(frm.mbAbbrechen, !abbruch.isEmpty());
        if (abbruch.isEmpty()) {
            QCOMPARE(f.status,
                     (QStringList{"Seite 1", "Seite 2", "Seite 3", "Seite 4", "Seite 5"}));
            return;
        }
        QVERIFY(sichtbar);
        QCOMPARE(statusDanach, QString("Druck wird abgebrochen"));
        QCOMPARE(f.status, (QStringList{"Seite 1", "Seite 2", "Druck wird abgebrochen"}));
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
};

QTEST_MAIN(TestDruckdialog)
#include "tst_druckdialog.moc"
