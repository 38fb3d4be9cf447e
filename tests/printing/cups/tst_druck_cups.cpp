// End to end through a real CUPS server with the test printer of scripts/cups.sh: the paper
// lists of its PPD with their names and codes, and a printed chapter with pictures whose output
// is read back with pdftotext; a queue that rejects jobs (cupsreject) gives a print-out that is
// not printed, with the server's reason. Skips when no CUPS server with the test printer is
// reachable. (The dialog's restoring of a stored choice is tst_druckdialog's, the PDF export
// hilfedb drucken's.)
#include "Beschreibungsdruck.h"
#include "CupsDruckerSystem.h"
#include "Einstellungen.h"
#include "TestHilfen.h"
#include "TolvarDrucker.h"
#include "ZipHilfe.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

// libcups keeps the PPD cache of Qt's CUPS plugin for the life of the process.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:_ppdCacheCreateWithPPD\n";
}

namespace {

const QString Testdrucker = "TolvarTest";
const QString Ausgabe = "/var/spool/tolvar-test/ausgabe.pdf";

QString abschnitt(const QString &name, int n, const QString &bild = QString())
{
    QString rtf = "{\\rtf1\\ansi\\f0\\fs20 ";
    for (int i = 1; i <= n; ++i) {
        rtf += QString("%1 Zeile %2").arg(name).arg(i);
        if (i == 2 && !bild.isEmpty())
            rtf += " \\{P" + bild + "\\}Maske\\{PE\\}";
        rtf += "\\par ";
    }
    return rtf + "}";
}

DruckAuftrag kapitelAuftrag()
{
    DruckAuftrag a;
    a.miDruckUmfang = 3;
    a.msDruckTitel = "Rechnungen";
    a.mbMitGrafik = true;
    a.mlThemenIDs = {0, 1, 2};
    a.miThemenAnzahl = 2;
    a.ThemenTitel = {"Rechnung anlegen", "Rechnung drucken"};
    a.msDruckerName = Testdrucker;
    return a;
}

void quellenSetzen(Beschreibungsdruck &d)
{
    d.texteQuelle = [](qint32 id, QList<QString> &titel, QList<QString> &texte) {
        titel = {QString(), "A", "B"};
        texte = {QString(), abschnitt(QString("T%1A").arg(id), 70, "00001"),
                 abschnitt(QString("T%1B").arg(id), 30)};
        return true;
    };
    d.bildQuelle = [](const QString &, QByteArray &b, QString &t) {
        b = zipErstellen({{"Temp.bmp", bmpErstellen(QSize(400, 200), Qt::darkGreen)}});
        t = "Rechnungsmaske";
        return true;
    };
}

} // namespace

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
        QCOMPARE(d->Port, QString("file://" + Ausgabe));
        QCOMPARE(d->PapierGroesse, 9);
        QCOMPARE(d->PapierZufuhr, 7);
    }

    void kapitelDrucken()
    {
        if (!pdftotextVorhanden())
            QSKIP("pdftotext is not installed");
        const QDateTime vorher = QFileInfo(Ausgabe).lastModified();
        QFile::remove(Ausgabe);
        TolvarDrucker dru;
        Beschreibungsdruck druck(dru, "Arial", 10);
        quellenSetzen(druck);
        DruckAuftrag a = kapitelAuftrag();
        a.miPapierGroesse = 9;
        a.miPapierZufuhr = 2;
        QCOMPARE(druck.BeschreibungDrucken(a), Beschreibungsdruck::Ergebnis::Gedruckt);
        QVERIFY(dru.gesendet());
        QDeadlineTimer frist(60000);
        while (!frist.hasExpired() &&
               (!QFileInfo::exists(Ausgabe) || QFileInfo(Ausgabe).lastModified() == vorher ||
                pdfText(Ausgabe).isEmpty()))
            QThread::msleep(200);
        const QString text = pdfText(Ausgabe);
        for (const char *t : {"Programmbeschreibung Tolvar-Belna", "Rechnungen", "Rechnung anlegen",
                              "Abb.: Rechnungsmaske"})
            QVERIFY2(text.contains(t), t);
        const int seiten = int(text.split('\f', Qt::SkipEmptyParts).size());
        QVERIFY(seiten >= 3);
        for (int s = 1; s <= seiten; ++s)
            QVERIFY2(text.contains(QString("Seite %1\n").arg(s)), qPrintable(QString::number(s)));
        QCOMPARE(text.count("T2B Zeile 30\n"), 1);
    }

    // A queue that rejects jobs: the job does not count as printed, and the reason is CUPS's.
    void abgewiesen()
    {
        if (QProcess::execute("cupsreject", {Testdrucker}) != 0)
            QSKIP("cupsreject is not available here");
        const auto annehmen = qScopeGuard([] { QProcess::execute("cupsaccept", {Testdrucker}); });
        TolvarDrucker dru;
        Beschreibungsdruck druck(dru, "Arial", 10);
        quellenSetzen(druck);
        QCOMPARE(druck.BeschreibungDrucken(kapitelAuftrag()),
                 Beschreibungsdruck::Ergebnis::Fehlgeschlagen);
        QVERIFY(!dru.gesendet());
        QVERIFY2(druck.fehler().contains(Testdrucker), qPrintable(druck.fehler()));
        QVERIFY2(druck.fehler().contains("nicht angenommen"), qPrintable(druck.fehler()));
    }
};

QTEST_MAIN(TestDruckCups)
#include "tst_druck_cups.moc"
