// The printer control of the component library: page output in millimetres from the page's
// top left corner (paper coordinates, not the printable area). It keeps a text cursor
// (AktuellesY and the position behind the last text on the line), prints plain text, rich text
// that it breaks into pages itself, pictures, lines and frames, and reports the page and font
// metrics. Output is vector text.
//
// All drawing goes through one surface: a QPainter active on a QPaintDevice, whose metrics
// also place the text. The control's own device is a PDF printer: a job is drawn into a PDF
// and handed to the printer's queue through the installed DruckerSystem when it ends. A
// subclass may open another device (the print preview draws onto its preview printer) and
// hand it over with zeichenflaecheSetzen; the drawing, cursor, metrics and page breaking stay
// this class's. The drawing primitives are virtual so that a recording double
// (TolvarDruckerProtokoll) can record instead of drawing.
#pragma once

#include <QFont>
#include <QImage>
#include <QObject>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <QTextDocumentFragment>

#include <memory>
#include <optional>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
class QPrinter;
class QTemporaryFile;
class QTextDocument;
namespace Aufraeumen {
class Datei;
}

class TolvarDrucker : public QObject
{
    Q_OBJECT

public:
    explicit TolvarDrucker(QObject *parent = nullptr);
    ~TolvarDrucker() override;

    // Job settings, read by DruckStarten.
    QString Geraetename;   // printer (CUPS queue) name
    int Papierformat = 0;  // paper size code (Windows paper code, QPageSize::windowsId); 0: default
    int Papierschacht = 0; // paper source code (Windows bin code); 0: the printer's default
    QString Dokumentname;  // job name in the spooler
    int Kopien = 1;        // copies
    bool Querformat = false;
    int Aufloesung = 1;    // 1: high resolution; otherwise the printer's screen resolution
    // When not empty the job is written to this PDF file instead of a printer.
    QString PdfDatei;

    // Font of the following text output.
    QString Schriftname = QStringLiteral("Arial");
    double Schriftgroesse = 10;
    bool Fett = false;
    // Yes: TextDrucken moves to the next line after its text; no: the next output continues
    // on the same line behind it.
    bool Zeilenvorschub = true;
    // Top of the line that the next text output fills.
    double AktuellesY = 0;

    double Zeilenhoehe() const;
    double Textbreite(const QString &text) const;
    double Seitenbreite() const;
    double Seitenhoehe() const;
    int Seitennummer() const { return m_seite; }

    // Begins the job; false (and nothing open) when it cannot begin.
    bool DruckStarten();
    // Ends the job: the PDF is finished and checked, then handed to the spooler (or put in
    // place of PdfDatei). False when the job did not reach its target; Fehler() says why.
    bool DruckBeenden();
    // Aborts the job: nothing more reaches the printer, and every further output is ignored.
    void DruckAbbrechen();
    bool druckLaeuft() const { return m_laeuft; }
    bool abgebrochen() const { return m_abgebrochen; }
    // Whether the last job that DruckBeenden ended reached its target: taken by the printer's
    // queue, or written in full to PdfDatei.
    bool gesendet() const { return m_gesendet; }
    // Why the last job failed (could not begin, a page could not be started, the PDF is
    // incomplete, the queue refused it); "" when it did not fail.
    QString Fehler() const { return m_fehler; }

    void NeueSeite();
    void NeueZeile();
    // Prints text at AktuellesY, at x (mm) if given, otherwise behind the previous output.
    void TextDrucken(const QString &text, std::optional<double> x = std::nullopt);
    // Prints rich text from y down between links and Seitenbreite - rechts. Where the text
    // reaches Seitenhoehe - unten, it begins a new page, raises SeiteBegonnen and continues
    // at oben (read again after the event). Afterwards AktuellesY and y lie below the text.
    void RtfDrucken(const QTextDocumentFragment &text, double links, double &y, double rechts,
                    double &unten, double &oben);
    void BildDrucken(const QImage &bild, double x, double y, double breite, double hoehe);
    void Linie(double x1, double y1, double x2, double y2, bool rahmen = false);

    // The page size for a paper code (Windows code); invalid when the code names none.
    static QPageSize seitenformatFuerCode(int code);

signals:
    // A page that RtfDrucken began by itself; the handler prints the page frame.
    void SeiteBegonnen();

protected:
    // Output device. The base class opens its PDF printer; a subclass that opens another one
    // overrides all three and hands its surface over with zeichenflaecheSetzen. All set
    // fehlerSetzen() when they fail.
    virtual bool geraetOeffnen();
    // Returns false when the finished job did not reach its target.
    virtual bool geraetSchliessen(bool abbrechen);
    virtual bool seiteWechseln();
    // The surface the drawing primitives paint onto: zeichner is active on geraet, which also
    // gives the metrics (metrikGeraet()) while it is set. zeichner nullptr with a geraet drops
    // the output but keeps the metrics; both nullptr: no surface (metrics of 1200 dpi).
    void zeichenflaecheSetzen(QPainter *zeichner, QPaintDevice *geraet);
    // Lays printer out for the job's sheet: the whole paper, no margins, portrait.
    void seiteEinrichten(QPrinter &printer) const;
    // Drawing onto the surface, in mm; nothing is drawn without a zeichner.
    virtual void textZeichnen(const QPointF &obenLinksMm, const QString &text, const QFont &f);
    virtual void linieZeichnen(const QLineF &mm);
    virtual void rahmenZeichnen(const QRectF &mm);
    virtual void bildZeichnen(const QImage &bild, const QRectF &mm);
    // Draws the band dokOben..dokUnten (device units of the layout) of doc with its top at
    // zielMm. The layout of doc was made on metrikGeraet().
    virtual void rtfAusschnittZeichnen(QTextDocument &doc, const QPointF &zielMm, double dokOben,
                                       double dokUnten);
    // The device whose metrics place text; the surface's device while one is set.
    virtual QPaintDevice *metrikGeraet() const;
    // Paper size in mm while no job runs (from Papierformat, or A4).
    QSizeF vorgabeSeite() const;

    double mmZuGeraet() const; // device units per mm of metrikGeraet()
    QFont aktuelleSchrift() const;
    void fehlerSetzen(const QString &grund) { m_fehler = grund; }

private:
    void ausgabeBeginnen();

    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
    // The PDF being written: a private temporary file for a printer job, a temporary file
    // beside PdfDatei (renamed to it only when complete) for an export. Its entry (declared
    // first, so it goes last) lets a process that handles signals remove it when ended by one.
    std::unique_ptr<Aufraeumen::Datei> m_auftragsEintrag;
    std::unique_ptr<QTemporaryFile> m_auftragsDatei;
    QString m_pdfZiel; // PdfDatei, or the file a link there names
    QPainter *m_zeichner = nullptr;
    QPaintDevice *m_flaeche = nullptr;
    mutable std::unique_ptr<QImage> m_metrikBild;
    QSizeF m_seiteMm;
    bool m_laeuft = false;
    bool m_abgebrochen = false;
    bool m_gesendet = false;
    QString m_fehler;
    int m_seite = 0;
    double m_naechstesX = 0;
    double m_zeilenAnfangX = 0;
};
