// "Eigenschaften ..." against libcups and the CUPS test printer, with a private options file
// (quoting, other programs' options, an instance, the default mark): changing one option keeps
// every other one and reaches the help's own print job; changing nothing does not write the file.
#include "DruckerEinstellungen.h"
#include "TestHilfen.h"
#include "basDruckereigenschaften.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cups/cups.h>

namespace {

const QString Testdrucker = "TolvarTest";

// Every destination (name/instance) with its options as libcups reads them, and the default mark.
QMap<QString, QMap<QString, QString>> zieleLesen()
{
    QMap<QString, QMap<QString, QString>> ziele;
    cups_dest_t *dests = nullptr;
    const int n = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    for (int i = 0; i < n; ++i) {
        QMap<QString, QString> o;
        for (int j = 0; j < dests[i].num_options; ++j)
            o.insert(QString::fromUtf8(dests[i].options[j].name),
                     QString::fromUtf8(dests[i].options[j].value));
        const QString name = QString::fromUtf8(dests[i].name) +
                             (dests[i].instance ? "/" + QString::fromUtf8(dests[i].instance) : "");
        for (const QString &k : o.keys()) // state and time stamps change on their own
            if (k.startsWith("printer-state") || k == "marker-change-time")
                o.remove(k);
        if (dests[i].is_default && !dests[i].instance)
            o.insert("(Standard)", "ja");
        ziele.insert(name, o);
    }
    cupsFreeDests(n, dests);
    return ziele;
}

// The attribute name of the job titled titel on the test printer as the server reports it, with
// the job's id; "" when there is no such job or attribute.
QString auftragsAttribut(const QString &titel, const char *name, int *id)
{
    cups_job_t *auftraege = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &auftraege, "TolvarTest", 0, CUPS_WHICHJOBS_ALL);
    for (int i = 0; i < n; ++i)
        if (QString::fromUtf8(auftraege[i].title) == titel)
            *id = auftraege[i].id;
    cupsFreeJobs(n, auftraege);
    ipp_t *anfrage = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const QByteArray uri = "ipp://localhost/jobs/" + QByteArray::number(*id);
    ippAddString(anfrage, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.constData());
    ippAddString(anfrage, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ipp_t *antwort = cupsDoRequest(CUPS_HTTP_DEFAULT, anfrage, "/");
    char wert[256] = "";
    if (ipp_attribute_t *a = ippFindAttribute(antwort, name, IPP_TAG_ZERO))
        ippAttributeString(a, wert, sizeof wert);
    ippDelete(antwort);
    return *id > 0 ? QString::fromUtf8(wert) : QString();
}

} // namespace

class TestLpoptionen : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_datei;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QDir().mkpath(m_dir.filePath("home/.cups"));
        QDir().mkpath(m_dir.filePath("serverroot"));
        qputenv("HOME", QFile::encodeName(m_dir.filePath("home")));
        qputenv("CUPS_SERVERROOT", QFile::encodeName(m_dir.filePath("serverroot")));
        m_datei = m_dir.filePath("home/.cups/lpoptions");
        cups_dest_t *d = cupsGetNamedDest(CUPS_HTTP_DEFAULT, "TolvarTest", nullptr);
        if (!d)
            QSKIP("no CUPS server with the printer TolvarTest (scripts/cups.sh sets it up)");
        cupsFreeDests(1, d);
    }

    void aenderung_data()
    {
        QTest::addColumn<QByteArray>("datei");
        QTest::addColumn<bool>("aendern");
        // job-hold-until keeps the help's own job below from being printed.
        const QByteArray fremd =
            "Dest TolvarTest foo=a\\ b job-priority=60 titel=\"x y\" zitat='c d' "
            "leer=\\\"q\\\" Duplex=None job-hold-until=indefinite\n"
            "Dest TolvarTest/kopie sides=two-sided-long-edge notiz=a\\ b\\ c\n";
        zeile("Zeilen anderer Programme", fremd, true);
        zeile("Standarddrucker",
              QByteArray("Default TolvarTest job-priority=40 foo=a\\ b Duplex=None "
                         "job-hold-until=indefinite\n"
                         "Dest TolvarTest/kopie notiz=\"e f\"\n"),
              true);
        zeile("nichts geändert", fremd, false);
    }

    void aenderung()
    {
        QFETCH(QByteArray, datei);
        QFETCH(bool, aendern);
        dateiSchreiben(m_datei, datei);
        QFile f(m_datei); // an hour back, so that a rewrite shows in the modification time
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                              QFileDevice::FileModificationTime));
        f.close();
        const QDateTime vorherZeit = QFileInfo(m_datei).lastModified();
        const auto vorher = zieleLesen();
        QVERIFY(vorher.contains("TolvarTest"));
        QString neuerWert, groesseText;
        bool seitenbereich = true;
        QTimer::singleShot(0, [&] {
            auto *dlg = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            auto *duplex = dlg->findChild<QComboBox *>("Duplex");
            QVERIFY(duplex && duplex->count() > 1);
            seitenbereich = dlg->findChild<QComboBox *>("PageRegion") != nullptr;
            auto *form = dlg->findChild<QFormLayout *>();
            if (auto *l =
                    form ? form->labelForField(dlg->findChild<QComboBox *>("PageSize")) : nullptr)
                groesseText = l->property("text").toString();
            if (aendern) {
                duplex->setCurrentIndex(duplex->currentIndex() == 0 ? 1 : 0);
                neuerWert = duplex->currentData().toString();
            }
            dlg->accept();
        });
        QCOMPARE(
            DruckerEigenschaftenZeigen(nullptr, aktivesDruckerSystem().druckerInfo(Testdrucker)),
            aendern);
        QVERIFY(!seitenbereich); // PageRegion follows the paper size, no choice of its own
        QCOMPARE(groesseText, QString("Papiergröße:"));
        if (!aendern) {
            QCOMPARE(dateiLesen(m_datei), datei);
            QCOMPARE(QFileInfo(m_datei).lastModified(), vorherZeit);
            return;
        }
        const auto nachher = zieleLesen();
        QCOMPARE(nachher.keys(), vorher.keys());
        auto erwartet = vorher; // only the printer's own value changes, not an instance's
        erwartet[Testdrucker].insert("Duplex", neuerWert);
        for (const QString &ziel : vorher.keys())
            QCOMPARE(nachher[ziel], erwartet[ziel]);
        QVERIFY(dateiLesen(m_datei).contains("Duplex=" + neuerWert.toUtf8()));

        // The help's own job, held and then cancelled, carries the changed option.
        const QString pdf = m_dir.filePath("seite.pdf");
        QPdfWriter schreiber(pdf);
        QPainter(&schreiber).drawText(100, 100, "Seite"); // the painter's end writes the file
        const QString titel = QString("Eigenschaften %1").arg(QDateTime::currentMSecsSinceEpoch());
        QString fehler;
        QVERIFY2(aktivesDruckerSystem().auftragSenden(Testdrucker, pdf, titel, "A4", QString(), 1,
                                                      &fehler),
                 qPrintable(fehler));
        int id = 0;
        const QString imAuftrag = auftragsAttribut(titel, "Duplex", &id);
        if (id > 0)
            cupsCancelJob2(CUPS_HTTP_DEFAULT, "TolvarTest", id, 1);
        QVERIFY(id > 0);
        QCOMPARE(imAuftrag, neuerWert);
    }
};

QTEST_MAIN(TestLpoptionen)
#include "tst_lpoptionen.moc"
