// The printer control: rich text breaking pages by itself and continuing at the given top,
// paper sizes, its drawing onto a page surface (each output where the cursor or the
// coordinates put it and in its font, read back from page images), and its PDF export (read
// back with pdftotext), which replaces a file only when complete.
#include "TestHilfen.h"
#include "TolvarDruckerProtokoll.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

#include <csignal>
#include <memory>
#include <sys/resource.h>

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

// The printer control drawing every page onto an image of 150 dpi, as a preview hands it its
// own page surface.
class BildDrucker : public TolvarDrucker
{
public:
    QList<QImage> seiten;
    ~BildDrucker() override { geraetSchliessen(true); }

protected:
    bool geraetOeffnen() override { return seiteBeginnen(); }
    bool geraetSchliessen(bool abbrechen) override
    {
        zeichenflaecheSetzen(nullptr, nullptr);
        return m_maler.isActive() && m_maler.end() && !abbrechen;
    }
    bool seiteWechseln() override { return m_maler.end() && seiteBeginnen(); }

private:
    bool seiteBeginnen()
    {
        const double pxProMm = 150 / 25.4;
        QImage seite(qRound(Seitenbreite() * pxProMm), qRound(Seitenhoehe() * pxProMm),
                     QImage::Format_RGB32);
        seite.setDotsPerMeterX(qRound(pxProMm * 1000));
        seite.setDotsPerMeterY(qRound(pxProMm * 1000));
        seite.fill(Qt::white);
        seiten << seite;
        if (!m_maler.begin(&seiten.last()))
            return false;
        zeichenflaecheSetzen(&m_maler, &seiten.last());
        return true;
    }
    QPainter m_maler;
};

// The box (mm) of the pixels of a page image that are not white; empty when there are none.
QRectF tinte(const QImage &seite)
{
    int l = seite.width(), r = -1, o = seite.height(), u = -1;
    for (int y = 0; y < seite.height(); ++y) {
        const auto *zeile = reinterpret_cast<const QRgb *>(seite.constScanLine(y));
        for (int x = 0; x < seite.width(); ++x) {
            if (qGray(zeile[x]) < 200) {
                l = std::min(l, x), r = std::max(r, x);
                o = std::min(o, y), u = std::max(u, y);
            }
        }
    }
    const double k = seite.dotsPerMeterX() / 1000.0;
    return r < 0 ? QRectF() : QRectF(l / k, o / k, (r + 1 - l) / k, (u + 1 - o) / k);
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

    void papierformat_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QSizeF>("mm");
        zeile("A5", 11, QSizeF(148, 210));
        zeile("Letter", 1, QSizeF(215.9, 279.4));
        zeile("keiner: A4", 0, QSizeF(210, 297));
        zeile("unbekannt", 9999, QSizeF(210, 297));
    }
    void papierformat()
    {
        QFETCH(int, code);
        QFETCH(QSizeF, mm);
        TolvarDruckerProtokoll d;
        d.Papierformat = code;
        QCOMPARE_LE(std::abs(d.Seitenbreite() - mm.width()), 0.1);
        QCOMPARE_LE(std::abs(d.Seitenhoehe() - mm.height()), 0.1);
    }

    // The drawing onto a page surface: every output lands on its page where the mm
    // coordinates and the cursor put it (without line feed behind the previous text, with it
    // one line down at the x where the line began), text as wide as its font (size, weight)
    // makes it, a picture and a frame on their rectangles; rich text broken onto page 2 starts
    // at the top given there, and nothing of it shows on page 1.
    void zeichnen_data()
    {
        QTest::addColumn<QString>("fall");
        for (const char *f : {"Text", "fett hinter Text", "gross", "zwei Zeilen", "Bild", "Linie",
                              "Rahmen", "Rtf Seite 1", "Rtf Seite 2"})
            QTest::newRow(f) << QString(f);
    }
    void zeichnen()
    {
        QFETCH(QString, fall);
        BildDrucker d;
        d.Papierformat = 11; // A5
        d.Schriftgroesse = fall == "gross" ? 20 : 10;
        QVERIFY(d.DruckStarten());
        const QString text = "Kopfzeile der gedruckten Seite";
        d.AktuellesY = 30;
        QRectF soll(20, 30, d.Textbreite(text), d.Zeilenhoehe());
        int seite = 1;
        if (fall == "Bild") {
            QImage bild(40, 20, QImage::Format_RGB32);
            bild.fill(Qt::red);
            d.BildDrucken(bild, 30, 50, 40, 20);
            soll = QRectF(30, 50, 40, 20);
        } else if (fall == "Linie") {
            d.Linie(20, 100, 120, 100);
            soll = QRectF(20, 99.9, 100, 0.2);
        } else if (fall == "Rahmen") {
            d.Linie(120, 90, 20, 60, true); // corners in either order
            soll = QRectF(19.9, 59.9, 100.2, 30.2);
        } else if (fall.startsWith("Rtf")) {
            // Room for one line above the bottom margin: line 2 goes to page 2.
            double y = 150, unten = 60 - 1.5 * d.Zeilenhoehe(), oben = 40;
            d.RtfDrucken(zeilen(2), 25, y, 10, unten, oben);
            seite = fall.endsWith('1') ? 1 : 2;
            soll = QRectF(25, seite == 1 ? 150 : 40, d.Textbreite(QString("Zeile %1").arg(seite)),
                          d.Zeilenhoehe());
        } else if (fall == "fett hinter Text") {
            d.Zeilenvorschub = false;
            d.TextDrucken("Abb.: ", 20);
            d.Fett = true;
            soll.setWidth(d.Textbreite("Abb.: ") + d.Textbreite(text));
            d.TextDrucken(text);
        } else if (fall == "zwei Zeilen") {
            d.TextDrucken("Kopfzeile", 20);
            d.TextDrucken(text);
            soll.setHeight(2 * d.Zeilenhoehe());
        } else {
            d.TextDrucken(text, 20);
        }
        // Glyphs leave a little room to the edges of the line box.
        const double t = 0.25 * d.Zeilenhoehe();
        QVERIFY(d.DruckBeenden());
        QCOMPARE(d.seiten.size(), d.Seitennummer());
        QCOMPARE_GE(d.seiten.size(), seite);
        const QRectF ist = tinte(d.seiten[seite - 1]);
        const QString bericht = QDebug::toString(ist) + " statt " + QDebug::toString(soll);
        QVERIFY2(std::abs(ist.left() - soll.left()) <= t &&
                     std::abs(ist.right() - soll.right()) <= t &&
                     std::abs(ist.top() - soll.top()) <= t &&
                     std::abs(ist.bottom() - soll.bottom()) <= t,
                 qPrintable(bericht));
    }

    // A PDF export: a complete job replaces an older file of that name in one piece (vector
    // text on the right pages, readable by others as files usually are); an aborted job, one
    // not written in full and one whose target is a folder leave the older file as it was, and
    // no temporary file stays beside it. (Other targets that cannot be written are seen, and
    // tested, through hilfedb drucken.)
    void pdfExport_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::addColumn<QString>("meldung"); // part of Fehler(); "" when there is none
        zeile("geschrieben", QString("geschrieben"), QString());
        zeile("abgebrochen", QString("abgebrochen"), QString());
        zeile("Platz reicht nicht", QString("grenze"), QString("Datenträger voll"));
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
            rlimit grenze{};
            getrlimit(RLIMIT_FSIZE, &grenze);
            const rlimit vorherGrenze = grenze;
            if (fall == "grenze") { // writes beyond 4 KiB fail as on a full disk
                std::signal(SIGXFSZ, SIG_IGN);
                grenze.rlim_cur = 4096;
            }
            setrlimit(RLIMIT_FSIZE, &grenze);
            d.AktuellesY = 15;
            d.TextDrucken("Kopfzeile oben", 15);
            double y = 30, unten = 20, oben = 30;
            d.RtfDrucken(zeilen(80, "Absatz"), 15, y, 15, unten, oben);
            d.Linie(15, y, 100, y);
            if (fall == "abgebrochen")
                d.DruckAbbrechen();
            d.DruckBeenden();
            setrlimit(RLIMIT_FSIZE, &vorherGrenze);
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