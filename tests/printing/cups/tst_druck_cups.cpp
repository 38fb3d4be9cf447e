// Against a real CUPS server with the test printer of scripts/cups.sh: the paper lists of its PPD
// with their names and codes, and a queue that rejects jobs (cupsreject) giving a print-out that
// is not printed, with the server's reason. Skips when no such server is reachable. (Printing
// through it is the e2e suite's druck_bei_aufruf, the output's layout tst_druckbefehl's.)
#include "Beschreibungsdruck.h"
#include "CupsDruckerSystem.h"
#include "Einstellungen.h"
#include "TestHilfen.h"
#include "TolvarDrucker.h"

#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// libcups keeps the PPD cache of Qt's CUPS plugin for the life of the process.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:_ppdCacheCreateWithPPD\n";
}

const QString Testdrucker = "TolvarTest";

class TestDruckCups : public QObject
{
    Q_OBJECT

    CupsDruckerSystem m_cups;
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        setzeEinstellungsOrdner(m_dir.path());
        setzeDruckerSystem(&m_cups);
        if (!m_cups.oeffnen(Testdrucker))
            QSKIP("no CUPS server with the printer TolvarTest (scripts/cups.sh sets it up)");
    }

    // The PPD's sources and sizes as name=code, the driver key of a source, and the printer's
    // own preselection.
    void listen()
    {
        QStringList schaechte, formate;
        for (const PapierEintrag &e : m_cups.schaechte(Testdrucker))
            schaechte << QString("%1=%2").arg(e.name).arg(e.code);
        for (const PapierEintrag &e : m_cups.papierformate(Testdrucker))
            formate << QString("%1=%2").arg(e.name).arg(e.code);
        QCOMPARE(schaechte,
                 (QStringList{"Automatisch=7", "Fach 1=1", "Fach 2=2", "Manuelle Zufuhr=4"}));
        QCOMPARE(formate, (QStringList{"A4=9", "A5=11", "Letter=1", "Legal=5"}));
        QCOMPARE(m_cups.schachtSchluessel(Testdrucker, 2), QString("Tray2"));
        const QList<DruckerInfo> alle = m_cups.drucker();
        const auto d = std::find_if(alle.begin(), alle.end(), [](const DruckerInfo &i) {
            return i.Geraetename == Testdrucker;
        });
        QVERIFY(d != alle.end());
        QCOMPARE(d->Port, QString("file:///var/spool/tolvar-test/ausgabe.pdf"));
        QCOMPARE(d->PapierGroesse, 9);
        QCOMPARE(d->PapierZufuhr, 7);
    }

    // A queue that rejects jobs: the job does not count as printed, and the reason is CUPS's.
    void abgewiesen()
    {
        if (QProcess::execute("cupsreject", {Testdrucker}) != 0)
            QSKIP("cupsreject is not available here");
        const auto annehmen = qScopeGuard([] { QProcess::execute("cupsaccept", {Testdrucker}); });
        TolvarDrucker dru;
        Beschreibungsdruck druck(dru, "Arial", 10);
        DruckAuftrag a;
        a.msDruckTitel = "Rechnungen";
        a.msTexteInhalt << rtfAbsatz("Kunde wählen");
        a.miTexteAnzahl = 1;
        a.msDruckerName = Testdrucker;
        QCOMPARE(druck.BeschreibungDrucken(a), Beschreibungsdruck::Ergebnis::Fehlgeschlagen);
        QVERIFY(!dru.gesendet());
        QVERIFY2(druck.fehler().contains(Testdrucker), qPrintable(druck.fehler()));
        QVERIFY2(druck.fehler().contains("nicht angenommen"), qPrintable(druck.fehler()));
    }
};

QTEST_MAIN(TestDruckCups)
#include "tst_druck_cups.moc"
