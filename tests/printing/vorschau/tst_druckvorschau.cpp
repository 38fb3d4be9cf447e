// The print preview: it shows the first page before the whole job is laid out, then the pages
// hilfedb drucken writes for the same scope; from the print dialog it shows the dialog's scope.
#include "Befehle.h"
#include "DatenbankAufbau.h"
#include "DatenbankOrt.h"
#include "Druckbefehl.h"
#include "DruckerSystemTest.h"
#include "Einstellungen.h"
#include "Global.h"
#include "HilfeDatenbank.h"
#include "SynthetischeDaten.h"
#include "TestHilfen.h"
#include "frmDruckVorschau.h"
#include "frmHilfeDrucken.h"

#include <QApplication>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// The job for chapter 1 (scope 3) or its first topic (scope 2), read as hilfedb drucken does.
DruckAuftrag auftragLesen(int umfang, bool grafiken)
{
    HilfeDatenbank &db = standardDatenbank();
    const KapitelZeile kapitel = db.kapitel().zeilen.value(0);
    const QList<ThemaZeile> themen = db.themen(kapitel.id).zeilen;
    DruckAuftrag a;
    a.miDruckUmfang = qint16(umfang);
    a.mbMitGrafik = grafiken;
    a.msDruckTitel = umfang == 3 ? kapitel.bezeichnung : themen.value(0).bezeichnung;
    for (const ThemaZeile &t : themen) {
        a.mlThemenIDs << t.id;
        a.ThemenTitel << t.bezeichnung;
    }
    a.miThemenAnzahl = qint16(themen.size());
    for (const TextZeile &x : db.texte(themen.value(0).id).zeilen)
        a.msTexteInhalt << x.text;
    a.miTexteAnzahl = qint16(a.msTexteInhalt.size());
    return a;
}

QStringList seiten(const QString &pdf)
{
    QStringList s = pdfText(pdf).split(QLatin1Char('\f'));
    while (!s.isEmpty() && s.last().trimmed().isEmpty())
        s.removeLast();
    return s;
}

// Runs f on the next modal dialog of type T that opens (polling, as the dialogs block in exec).
template <typename T> void beimNaechsten(std::function<void(T *)> f)
{
    auto *uhr = new QTimer;
    uhr->setInterval(20);
    QObject::connect(uhr, &QTimer::timeout, [uhr, f] {
        if (auto *d = qobject_cast<T *>(QApplication::activeModalWidget())) {
            uhr->stop();
            uhr->deleteLater();
            f(d);
        }
    });
    uhr->start();
}

} // namespace

class TestDruckvorschau : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_db;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        if (!pdftotextVorhanden())
            QSKIP("pdftotext is not installed (poppler-utils)");
        setzeEinstellungsOrdner(m_dir.path());
        // One chapter: 3 topics of 4 sections of about a page, 2000 words, 6 pictures, 500 keys.
        const SynthetischeDaten::Optionen o{1, 3, 4, 2000, 6, 500};
        m_db = m_dir.filePath("synthetisch.mdb");
        QString fehler;
        QVERIFY2(DatenbankAufbau::schreiben(SynthetischeDaten::erzeugen(o), m_db, &fehler),
                 qPrintable(fehler));
        gsSchriftName = QStringLiteral("Arial");
        giSchriftGroesse = 10;
    }

    void gleicheSeiten()
    {
        const QString pdf = m_dir.filePath("hilfedb.pdf");
        QCOMPARE(befehlDrucken({m_db, "01", "--umfang", "kapitel", "--grafiken", "--pdf", pdf}), 0);
        const QStringList erwartet = seiten(pdf);
        QVERIFY2(erwartet.size() > 2, "the scope should span several pages");
        const DatenbankOrt ort(m_db);
        frmDruckVorschau dlg(auftragLesen(3, true));
        dlg.show();
        // Shown with its first page only; the rest follows once it is on the screen.
        QCOMPARE(dlg.seitenAnzahl(), 1);
        QCOMPARE(dlg.lblSeiten->text(), QString("von …"));
        QTRY_VERIFY(dlg.vollstaendig());
        QCOMPARE(dlg.seitenAnzahl(), erwartet.size());
        QCOMPARE(dlg.lblSeiten->text(), QString("von %1").arg(erwartet.size()));
        QVERIFY(dlg.fehler().isEmpty());
        // The pages the preview draws, read back as the PDF is.
        QPrinter drucker(QPrinter::HighResolution);
        drucker.setOutputFormat(QPrinter::PdfFormat);
        drucker.setOutputFileName(m_dir.filePath("vorschau.pdf"));
        QCOMPARE(dlg.seitenZeichnen(&drucker), Beschreibungsdruck::Ergebnis::Gedruckt);
        QCOMPARE(seiten(drucker.outputFileName()), erwartet);
    }

    // "&Vorschau" shows the dialog's scope; "S&chließen" returns to the dialog, "&Drucken" ends
    // it as its own does. Without a printer: A4 pages whatever the last paper, no "&Drucken".
    void ausDemDialog_data()
    {
        QTest::addColumn<bool>("drucken");
        QTest::addColumn<bool>("drucker");
        zeile("Drucken", true, true);
        zeile("ohne Drucker", false, false);
    }
    void ausDemDialog()
    {
        QFETCH(bool, drucken);
        QFETCH(bool, drucker);
        DruckerSystemTest sys;
        if (drucker)
            sys.liste = {DruckerSystemTest::beispiel("Buero", 9, 7)};
        sys.standard = "Buero";
        const DatenbankOrt ort(m_db);
        DruckAuftrag inhalt = auftragLesen(2, false);
        DruckAngebot angebot{false, "Abschnitt", "Thema", "Kapitel"};

        int vorschauSeiten = -1;
        bool druckenAngeboten = false, dialogDanach = false;
        QPageSize::PageSizeId format = QPageSize::Custom;
        beimNaechsten<frmHilfeDrucken>([&](frmHilfeDrucken *dlg) {
            if (!dlg->cmdVorschau->isEnabled()) // no preview: vorschauSeiten stays -1
                return dlg->cmdAbbruch->click();
            dlg->opt[3]->click();
            beimNaechsten<frmDruckVorschau>([&, dlg](frmDruckVorschau *v) {
                v->ganzerAuftrag();
                vorschauSeiten = v->seitenAnzahl();
                druckenAngeboten = v->cmdDrucken->isEnabled();
                QPrinter seite(QPrinter::HighResolution);
                seite.setOutputFormat(QPrinter::PdfFormat);
                seite.setOutputFileName(m_dir.filePath("seite.pdf"));
                v->seitenZeichnen(&seite, 1);
                format = seite.pageLayout().pageSize().id();
                if (drucken)
                    return v->cmdDrucken->click();
                v->cmdSchliessen->click();
                QTimer::singleShot(0, dlg, [&, dlg] {
                    dialogDanach = QApplication::activeModalWidget() == dlg;
                    dlg->cmdAbbruch->click();
                });
            });
            dlg->cmdVorschau->click();
        });
        DruckEinstellungen e;
        e.miPapierGroesse = 11; // A5, from the last print
        QCOMPARE(Druckbefehl::DialogZeigen(nullptr, angebot, e, &inhalt), drucken);
        QVERIFY2(vorschauSeiten > 3, "the preview shows the chapter, not the section");
        QCOMPARE(druckenAngeboten, drucker);
        QCOMPARE(format, QPageSize::A4);
        QCOMPARE(dialogDanach, !drucken);
        if (drucken) {
            QCOMPARE(e.miDruckUmfang, qint16(3));
            QCOMPARE(e.msDruckerName, QString("Buero"));
        }
    }
};

QTEST_MAIN(TestDruckvorschau)
#include "tst_druckvorschau.moc"