// The printer control: rich text breaking pages by itself and continuing at the given top,
// paper sizes, and its PDF export (read back with pdftotext), which replaces a file only when
// complete. Where it draws on paper is seen in hilfedb drucken's PDFs.
#include "TestHilfen.h"
#include "TolvarDruckerProtokoll.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using Art = TolvarDruckerProtokoll::Art;

// libcups keeps the PPD cache of Qt's CUPS plugin for the life of the process.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:_ppdCacheCreateWithPPD\n";
}

namespace {

// n paragraphs "Zeile 1", "Zeile 2", ...
QTextDocumentFragment zeilen(int n, const QString &vorsatz = "Zeile")
{
    QStringList z;
    for (int i = 1; i <= n; ++i)
        z << QStringLiteral("%1 %2").arg(vorsatz).arg(i);
    return QTextDocumentFragment::fromPlainText(z.join('\n'));
}

} // namespace

class TestTolvarDrucker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Rich text fills the band, begins new pages itself (raising SeiteBegonnen once per new
    // page) and continues at the top the handler leaves in oben; no line is split or lost. A
    // line taller than the band still goes out, alone on its page, without looping.
    void rtfSeitenumbruch_data()
    {
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<double>("unten");
        QTest::addColumn<int>("seitenSoll"); // 0: as many as it takes
        QTest::addColumn<double>("groesse");
        zeile("eine Seite", 10, 30.0, 1, 10.0);
        zeile("drei Seiten", 150, 30.0, 3, 10.0);
        zeile("schmaler Koerper", 40, 250.0, 0, 10.0);
        zeile("Zeile hoeher als Band", 2, 240.0, 2, 120.0);
    }
    void rtfSeitenumbruch()
    {
        QFETCH(int, anzahl);
        QFETCH(double, unten);
        QFETCH(int, seitenSoll);
        QFETCH(double, groesse);
        TolvarDruckerProtokoll d;
        d.Schriftgroesse = groesse;
        QVERIFY(d.DruckStarten());
        double oben = 40, y = 25;
        int begonnen = 0;
        connect(&d, &TolvarDrucker::SeiteBegonnen, this, [&] {
            ++begonnen;
            oben = 40 + begonnen % 2; // the handler may move the top
            d.AktuellesY = 5;         // and leave the cursor anywhere
        });
        d.RtfDrucken(zeilen(anzahl), 20, y, 10, unten, oben);
        const auto rtf = d.eintraege(Art::Rtf);
        if (seitenSoll > 0)
            QCOMPARE(d.Seitennummer(), seitenSoll);
        QCOMPARE(begonnen, d.Seitennummer() - 1);
        QStringList alle;
        for (const auto &e : rtf) {
            if (e.mm.height() < 297 - unten - 41) // only what fits on no page may overflow
                QCOMPARE_LE(e.mm.bottom(), 297 - unten + 0.01);
            QCOMPARE(e.mm.left(), 20.0);
            QCOMPARE_LE(std::abs(e.mm.width() - 180), 0.01);
            if (e.seite > 1)
                QCOMPARE(e.mm.top(), 40.0 + (e.seite - 1) % 2);
            alle << e.text.split('\n');
        }
        QCOMPARE(alle, zeilen(anzahl).toPlainText().split('\n'));
        QCOMPARE(y, rtf.last().mm.bottom());
        QCOMPARE(d.AktuellesY, y);
    }

    // Page size in mm by paper code (A4 when unknown), turned in landscape.
    void papierformat_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("quer");
        QTest::addColumn<QSizeF>("mm");
        zeile("A5", 11, false, QSizeF(148, 210));
        zeile("A5 quer", 11, true, QSizeF(210, 148));
        zeile("Letter", 1, false, QSizeF(215.9, 279.4));
        zeile("keiner: A4", 0, false, QSizeF(210, 297));
        zeile("unbekannt", 9999, false, QSizeF(210, 297));
    }
    void papierformat()
    {
        QFETCH(int, code);
        QFETCH(bool, quer);
        QFETCH(QSizeF, mm);
        TolvarDruckerProtokoll d;
        d.Papierformat = code;
        d.Querformat = quer;
        QCOMPARE_LE(std::abs(d.Seitenbreite() - mm.width()), 0.1);
        QCOMPARE_LE(std::abs(d.Seitenhoehe() - mm.height()), 0.1);
    }

    // A PDF export: a complete job replaces an older file of that name in one piece (text on
    // the right pages, readable by others); an aborted job and one whose target is a folder
    // leave the older file as it was, with no temporary file beside it. (A full disk and other
    // targets that cannot be written are hilfedb drucken's.)
    void pdfExport_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::addColumn<QString>("meldung"); // part of Fehler(); "" when there is none
        zeile("geschrieben", QString("geschrieben"), QString());
        zeile("abgebrochen", QString("abgebrochen"), QString());
        zeile("Ziel ist ein Ordner", QString("ordner"), QString("keine gewöhnliche Datei"));
    }
    void pdfExport()
    {
        QFETCH(QString, fall);
        QFETCH(QString, meldung);
        if (!pdftotextVorhanden())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        QFile alt(dir.filePath("ziel.pdf"));
        dateiSchreiben(alt.fileName(), "alter Inhalt");
        TolvarDrucker d;
        d.PdfDatei = fall == "ordner" ? dir.filePath("unter") : alt.fileName();
        QDir(dir.path()).mkdir("unter");
        d.Papierformat = 11; // A5
        const QStringList vorher = QDir(dir.path()).entryList(QDir::AllEntries | QDir::System);
        if (d.DruckStarten()) {
            d.AktuellesY = 15;
            d.TextDrucken("Kopfzeile oben", 15);
            double y = 30, unten = 20, oben = 30;
            d.RtfDrucken(zeilen(80, "Absatz"), 15, y, 15, unten, oben);
            d.Linie(15, y, 100, y);
            if (fall == "abgebrochen")
                d.DruckAbbrechen();
            d.DruckBeenden();
        }
        QCOMPARE(d.gesendet(), fall == "geschrieben");
        QVERIFY2(meldung.isEmpty() ? d.Fehler().isEmpty() : d.Fehler().contains(meldung),
                 qPrintable(d.Fehler()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System), vorher);
        QVERIFY(alt.open(QIODevice::ReadOnly));
        if (fall != "geschrieben") {
            QCOMPARE(alt.readAll(), QByteArray("alter Inhalt"));
            return;
        }
        QVERIFY(alt.permissions() & QFile::ReadOther);
        const QString text = pdfText(alt.fileName());
        QVERIFY(text.contains("Kopfzeile oben"));
        QVERIFY(text.contains("Absatz 1\n"));
        QVERIFY(text.contains("Absatz 80"));
        // each line exactly once: nothing of one page hidden on another
        QCOMPARE(text.count("Absatz 40\n"), 1);
        QCOMPARE_GE(d.Seitennummer(), 2);
        QCOMPARE(text.split('\f', Qt::SkipEmptyParts).size(), d.Seitennummer());
    }
};

QTEST_MAIN(TestTolvarDrucker)
#include "tst_tolvardrucker.moc"