// The printer control: the text cursor, rich text breaking pages by itself and continuing at
// the given top, a job that cannot begin, and real PDF output (read back with pdftotext) that
// an aborted job does not leave behind; an export that cannot be written in full fails with a
// reason and leaves no partial file.
#include "TestHilfen.h"
#include "TolvarDruckerProtokoll.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

using Art = TolvarDruckerProtokoll::Art;

// libcups keeps the PPD cache of Qt's CUPS plugin for the life of the process.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:_ppdCacheCreateWithPPD\n";
}

namespace {

QTextDocumentFragment zeilen(int n, const QString &vorsatz = "Zeile")
{
    QTextDocument d;
    QTextCursor c(&d);
    for (int i = 1; i <= n; ++i) {
        if (i > 1)
            c.insertBlock();
        c.insertText(QStringLiteral("%1 %2").arg(vorsatz).arg(i));
    }
    return QTextDocumentFragment(&d);
}

// Lowers the largest file this process may write while it lives (writes beyond it fail as on a
// full disk; the signal that would end the process is ignored).
struct Dateigrenze
{
    rlimit vorher{};
    explicit Dateigrenze(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &vorher);
        rlimit neu = vorher;
        neu.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &neu);
    }
    ~Dateigrenze() { setrlimit(RLIMIT_FSIZE, &vorher); }
    Dateigrenze(const Dateigrenze &) = delete;
    Dateigrenze &operator=(const Dateigrenze &) = delete;
};

} // namespace

class TestTolvarDrucker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Without line feed the next text continues behind the previous one; with it the cursor
    // moves down one line and back to the x where the line began.
    void textCursor()
    {
        TolvarDruckerProtokoll d;
        QVERIFY(d.DruckStarten());
        d.Zeilenvorschub = false;
        d.AktuellesY = 30;
        d.TextDrucken("Abb.: ", 15);
        d.Fett = true;
        d.Zeilenvorschub = true;
        d.TextDrucken("Titel");
        const double zh = d.Zeilenhoehe();
        d.Fett = false;
        d.TextDrucken("naechste");
        const auto t = d.eintraege(Art::Text);
        QCOMPARE(t.size(), 3);
        QCOMPARE(t[0].mm.topLeft(), QPointF(15, 30));
        QCOMPARE_LE(std::abs(t[1].mm.left() - t[0].mm.right()), 1e-6);
        QCOMPARE(t[1].mm.top(), 30.0);
        QVERIFY(t[1].fett && !t[0].fett);
        QCOMPARE_LE(std::abs(t[2].mm.top() - (30 + zh)), 1e-6);
        QCOMPARE(t[2].mm.left(), 15.0);
        // a bigger font has a taller line and a wider text
        const double w10 = d.Textbreite("Breite");
        d.Schriftgroesse = 20;
        QVERIFY(d.Zeilenhoehe() > 1.8 * zh);
        QVERIFY(d.Textbreite("Breite") > 1.8 * w10);
        d.DruckBeenden();
        QCOMPARE(d.eintraege().last().art, Art::Ende);
    }

    // Rich text fills the band, begins new pages itself (raising SeiteBegonnen once per new
    // page) and continues at the top the handler leaves in oben; no line is split or lost.
    void rtfSeitenumbruch_data()
    {
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<double>("unten");
        QTest::newRow("eine Seite") << 10 << 30.0;
        QTest::newRow("drei Seiten") << 150 << 30.0;
        QTest::newRow("schmaler Koerper") << 40 << 250.0;
    }
    void rtfSeitenumbruch()
    {
        QFETCH(int, anzahl);
        QFETCH(double, unten);
        TolvarDruckerProtokoll d;
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
        QCOMPARE(begonnen, d.Seitennummer() - 1);
        QStringList alle;
        for (const auto &e : rtf) {
            QCOMPARE_LE(e.mm.bottom(), 297 - unten + 0.01);
            QCOMPARE(e.mm.left(), 20.0);
            QCOMPARE_LE(std::abs(e.mm.width() - 180), 0.01);
            if (e.seite > 1)
                QCOMPARE(e.mm.top(), 40.0 + (e.seite - 1) % 2);
            alle << e.text.split('\n');
        }
        QCOMPARE(alle.size(), anzahl);
        for (int i = 0; i < anzahl; ++i)
            QCOMPARE(alle[i], QString("Zeile %1").arg(i + 1));
        QCOMPARE(y, rtf.last().mm.bottom());
        QCOMPARE(d.AktuellesY, y);
        if (anzahl == 150)
            QCOMPARE(d.Seitennummer(), 3);
    }

    // A line taller than the band still goes out, one per page, without looping.
    void zeileHoeherAlsBand()
    {
        TolvarDruckerProtokoll d;
        QVERIFY(d.DruckStarten());
        QTextDocument doc;
        QTextCursor c(&doc);
        QTextCharFormat gross;
        gross.setFontPointSize(200);
        c.insertText("A", gross);
        c.insertBlock();
        c.insertText("B", gross);
        double y = 20, unten = 240, oben = 20;
        d.RtfDrucken(QTextDocumentFragment(&doc), 15, y, 15, unten, oben);
        QCOMPARE(d.eintraege(Art::Rtf).size(), 2);
        QCOMPARE(d.Seitennummer(), 2);
    }

    void startOhneDrucker()
    {
        TolvarDrucker d; // no printer system installed and no PDF file
        d.Geraetename = "gibt-es-nicht";
        QVERIFY(!d.DruckStarten());
        QVERIFY(!d.druckLaeuft());
        TolvarDruckerProtokoll p;
        p.startErlaubt = false;
        QVERIFY(!p.DruckStarten());
    }

    void papierformat_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QSizeF>("mm");
        QTest::newRow("A4") << 9 << QSizeF(210, 297);
        QTest::newRow("A5") << 11 << QSizeF(148, 210);
        QTest::newRow("Letter") << 1 << QSizeF(215.9, 279.4);
        QTest::newRow("Legal") << 5 << QSizeF(215.9, 355.6);
        QTest::newRow("keiner") << 0 << QSizeF(210, 297);
        QTest::newRow("unbekannt") << 9999 << QSizeF(210, 297);
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

    // A PDF job holds vector text on the right pages; an aborted one leaves no file.
    void pdfAusgabe()
    {
        if (!pdftotextVorhanden())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        TolvarDrucker d;
        d.PdfDatei = dir.filePath("a.pdf");
        d.Papierformat = 11; // A5
        QVERIFY(d.DruckStarten());
        QCOMPARE_LE(std::abs(d.Seitenbreite() - 148), 0.1);
        d.AktuellesY = 15;
        d.TextDrucken("Kopfzeile oben", 15);
        double y = 30, unten = 20, oben = 30;
        d.RtfDrucken(zeilen(80, "Absatz"), 15, y, 15, unten, oben);
        QVERIFY(d.Seitennummer() >= 2);
        d.Linie(15, y, 100, y);
        d.DruckBeenden();
        const QString text = pdfText(d.PdfDatei);
        QVERIFY(text.contains("Kopfzeile oben"));
        QVERIFY(text.contains("Absatz 1\n"));
        QVERIFY(text.contains("Absatz 80"));
        // each line exactly once: nothing of one page hidden on another
        QCOMPARE(text.count("Absatz 40\n"), 1);
        const QStringList seiten = text.split('\f', Qt::SkipEmptyParts);
        QCOMPARE(seiten.size(), d.Seitennummer());

        TolvarDrucker ab;
        ab.PdfDatei = dir.filePath("b.pdf");
        QVERIFY(ab.DruckStarten());
        ab.TextDrucken("weg", 15);
        ab.NeueSeite();
        ab.DruckAbbrechen();
        QVERIFY(ab.abgebrochen());
        QVERIFY(!QFile::exists(ab.PdfDatei));
        ab.TextDrucken("danach"); // ignored, no crash
        QVERIFY(!QFile::exists(ab.PdfDatei));
    }

    // An export that cannot begin or is not written in full reports why, and leaves the
    // target as it was (an older file there unchanged, no new one) with no temporary file
    // beside it.
    void pdfZielFehler_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::newRow("Ordner ist eine Datei") << "ordnerDatei";
        QTest::newRow("Verweis auf /dev/full") << "devFull";
        QTest::newRow("Ziel ist ein Ordner") << "ordner";
        QTest::newRow("Platz reicht nicht") << "grenze";
        if (getuid() != 0) // root writes into read-only folders
            QTest::newRow("Ordner schreibgeschützt") << "schreibgeschuetzt";
    }
    void pdfZielFehler()
    {
        QFETCH(QString, fall);
        QTemporaryDir dir;
        QString ziel = dir.filePath("ziel.pdf");
        QFile alt(ziel);
        QVERIFY(alt.open(QIODevice::WriteOnly));
        alt.write("alter Inhalt");
        alt.close();
        if (fall == "ordnerDatei") {
            ziel = dir.filePath("ziel.pdf/neu.pdf");
        } else if (fall == "devFull") {
            ziel = dir.filePath("voll.pdf");
            QVERIFY(QFile::link("/dev/full", ziel));
        } else if (fall == "ordner") {
            ziel = dir.filePath("unter");
            QVERIFY(QDir(dir.path()).mkdir("unter"));
        } else if (fall == "schreibgeschuetzt") {
            QVERIFY(QDir(dir.path()).mkdir("nurlesen"));
            QFile::setPermissions(dir.filePath("nurlesen"), QFile::ReadOwner | QFile::ExeOwner);
            ziel = dir.filePath("nurlesen/ziel.pdf");
        }
        const QStringList vorher = QDir(dir.path()).entryList(QDir::AllEntries | QDir::System);

        TolvarDrucker d;
        d.PdfDatei = ziel;
        bool ok = d.DruckStarten();
        if (ok) {
            std::unique_ptr<Dateigrenze> grenze;
            if (fall == "grenze")
                grenze = std::make_unique<Dateigrenze>(4096);
            double y = 30, unten = 20, oben = 30;
            d.RtfDrucken(zeilen(400, "Absatz"), 15, y, 15, unten, oben);
            ok = d.DruckBeenden();
        }
        QVERIFY(!ok);
        QVERIFY(!d.gesendet());
        QVERIFY2(!d.Fehler().isEmpty(), qPrintable(fall));
        if (fall == "grenze")
            QVERIFY2(d.Fehler().contains("Datenträger voll"), qPrintable(d.Fehler()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System), vorher);
        QVERIFY(alt.open(QIODevice::ReadOnly));
        QCOMPARE(alt.readAll(), QByteArray("alter Inhalt"));
        QFile::setPermissions(dir.filePath("nurlesen"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // A complete export replaces an older file of that name and is readable by others as
    // files usually are.
    void pdfErsetzt()
    {
        QTemporaryDir dir;
        const QString ziel = dir.filePath("ziel.pdf");
        QFile alt(ziel);
        QVERIFY(alt.open(QIODevice::WriteOnly));
        alt.write("alter Inhalt");
        alt.close();
        TolvarDrucker d;
        d.PdfDatei = ziel;
        QVERIFY(d.DruckStarten());
        d.TextDrucken("neu", 15);
        QVERIFY(d.DruckBeenden());
        QVERIFY(d.gesendet());
        QVERIFY(d.Fehler().isEmpty());
        QVERIFY(alt.open(QIODevice::ReadOnly));
        QVERIFY(alt.readAll().startsWith("%PDF"));
        QVERIFY(QFileInfo(ziel).permissions() & QFile::ReadOther);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"ziel.pdf"});
    }
};

QTEST_MAIN(TestTolvarDrucker)
#include "tst_tolvardrucker.moc"
