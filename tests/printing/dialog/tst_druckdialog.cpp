// The print dialogs against a scripted printer system: restoring the stored printer choice, the
// scope options, the printer properties that cannot be opened, and the progress window's
// printer line and cancel.
#include "DruckerEinstellungen.h"
#include "DruckerSystemTest.h"
#include "Einstellungen.h"
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

    // The stored printer (any case) with its stored codes where it has them, else the default,
    // else the first printer. Without any printer nothing can be printed or stored.
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
        zeile("kein Standard", 3, "", "", "", "", "Buero", 9, 7);
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

    // The scope options and the picture box; the dialog centred in the work area.
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
    // printer; one print run, also when the window is activated again while it prints. Esc
    // cancels: the window stays until the print-out ends, later statuses do not overwrite it.
    void fortschritt_data()
    {
        QTest::addColumn<QString>("msDrucker");
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<QString>("erwartet");
        QTest::addColumn<QString>("abbruch"); // Esc at "Seite 3"; "" prints to the end
        zeile("msDrucker", "Buero", "Etiketten", "Buero", "");
        zeile("gespeichert", "", "Etiketten", "Etiketten", "");
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
            QTest::keyClick(w, Qt::Key_Escape);
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
};

QTEST_MAIN(TestDruckdialog)
#include "tst_druckdialog.moc"
