// The printer control: cursor, page breaking and drawing onto its surface, and its own PDF
// printer device (see TolvarDrucker.h).
#include "TolvarDrucker.h"
#include "Aufraeumen.h"
#include "DruckerSystem.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QScopeGuard>
#include <QTemporaryFile>

#include <optional>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <sys/stat.h>

namespace {

constexpr double mmProZoll = 25.4;

// Rich text gives paragraph indents in pixels at 96 dpi. The layout scales fonts, tab stops
// and the space above and below paragraphs to its device, but takes the left, right and
// first-line indents as device units: on a printer they would shrink to a few dots and
// indented text would start at the margin. They are scaled here by the device's units per
// pixel.
void einzuegeAufGeraet(QTextDocument &doc, double faktor)
{
    if (qFuzzyCompare(faktor, 1.0))
        return;
    QTextCursor c(&doc);
    c.beginEditBlock();
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QTextBlockFormat f = b.blockFormat();
        if (f.leftMargin() == 0 && f.rightMargin() == 0 && f.textIndent() == 0)
            continue;
        f.setLeftMargin(f.leftMargin() * faktor);
        f.setRightMargin(f.rightMargin() * faktor);
        f.setTextIndent(f.textIndent() * faktor);
        c.setPosition(b.position());
        c.setBlockFormat(f);
    }
    c.endEditBlock();
}

// Device units (of the layout) where a page may end: behind a line that no other line
// overlaps (lines of neighbouring table cells overlap), and the end of the document.
std::vector<double> schnittstellen(QTextDocument &doc)
{
    struct Zeile
    {
        double oben, unten;
    };
    std::vector<Zeile> zeilen;
    QAbstractTextDocumentLayout *layout = doc.documentLayout();
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextLayout *tl = b.layout();
        if (!tl || !b.isVisible())
            continue;
        const QRectF br = layout->blockBoundingRect(b);
        const double basis = br.top() - tl->boundingRect().top();
        for (int i = 0; i < tl->lineCount(); ++i) {
            const QTextLine line = tl->lineAt(i);
            zeilen.push_back({basis + line.y(), basis + line.y() + line.height()});
        }
    }
    std::sort(zeilen.begin(), zeilen.end(),
              [](const Zeile &a, const Zeile &b) { return a.oben < b.oben; });
    std::vector<double> schnitte;
    double maxUnten = 0;
    for (size_t i = 0; i < zeilen.size(); ++i) {
        maxUnten = std::max(maxUnten, zeilen[i].unten);
        if (i + 1 == zeilen.size() || zeilen[i + 1].oben >= maxUnten - 0.01)
            schnitte.push_back(maxUnten);
    }
    const double ende = layout->documentSize().height();
    if (schnitte.empty() || schnitte.back() < ende)
        schnitte.push_back(ende);
    return schnitte;
}

} // namespace

TolvarDrucker::TolvarDrucker(QObject *parent) : QObject(parent) {}

TolvarDrucker::~TolvarDrucker()
{
    if (m_laeuft)
        DruckAbbrechen();
}

QPageSize TolvarDrucker::seitenformatFuerCode(int code)
{
    const QPageSize::PageSizeId id = QPageSize::id(code);
    return id == QPageSize::Custom ? QPageSize() : QPageSize(id);
}

QSizeF TolvarDrucker::vorgabeSeite() const
{
    if (m_laeuft)
        return m_seiteMm;
    QPageSize format;
    if (Papierformat != 0) {
        if (DruckerSystem *s = druckerSystem(); s && PdfDatei.isEmpty())
            format = s->seitenformat(Geraetename, Papierformat);
        if (!format.isValid())
            format = seitenformatFuerCode(Papierformat);
    }
    if (!format.isValid())
        format = QPageSize(QPageSize::A4);
    QSizeF s = format.size(QPageSize::Millimeter);
    if (Querformat)
        s.transpose();
    return s;
}

void TolvarDrucker::zeichenflaecheSetzen(QPainter *zeichner, QPaintDevice *geraet)
{
    m_zeichner = zeichner;
    m_flaeche = geraet;
}

void TolvarDrucker::seiteEinrichten(QPrinter &printer) const
{
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(m_seiteMm, QPageSize::Millimeter, QString(),
                                                QPageSize::FuzzyOrientationMatch),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                      QPageLayout::Millimeter));
}

QPaintDevice *TolvarDrucker::metrikGeraet() const
{
    if (m_flaeche)
        return m_flaeche;
    if (!m_metrikBild) {
        // Outside a job the metrics come from a 1200-dpi surface, as on a high-resolution
        // printer.
        m_metrikBild = std::make_unique<QImage>(1, 1, QImage::Format_ARGB32);
        m_metrikBild->setDotsPerMeterX(47244);
        m_metrikBild->setDotsPerMeterY(47244);
    }
    return m_metrikBild.get();
}

double TolvarDrucker::mmZuGeraet() const
{
    return metrikGeraet()->logicalDpiY() / mmProZoll;
}

QFont TolvarDrucker::aktuelleSchrift() const
{
    QFont f(Schriftname);
    f.setPointSizeF(Schriftgroesse > 0 ? Schriftgroesse : 10);
    f.setBold(Fett);
    return f;
}

double TolvarDrucker::Zeilenhoehe() const
{
    return QFontMetricsF(aktuelleSchrift(), metrikGeraet()).lineSpacing() / mmZuGeraet();
}

double TolvarDrucker::Textbreite(const QString &text) const
{
    return QFontMetricsF(aktuelleSchrift(), metrikGeraet()).horizontalAdvance(text)
         / mmZuGeraet();
}

double TolvarDrucker::Seitenbreite() const
{
    return vorgabeSeite().width();
}

double TolvarDrucker::Seitenhoehe() const
{
    return vorgabeSeite().height();
}

bool TolvarDrucker::DruckStarten()
{
    if (m_laeuft)
        return false;
    m_seiteMm = vorgabeSeite();
    m_abgebrochen = false;
    m_gesendet = false;
    m_fehler.clear();
    if (!geraetOeffnen()) {
        if (m_fehler.isEmpty())
            m_fehler = QStringLiteral("Der Druck konnte nicht begonnen werden.");
        return false;
    }
    m_laeuft = true;
    m_seite = 1;
    AktuellesY = 0;
    m_naechstesX = m_zeilenAnfangX = 0;
    return true;
}

bool TolvarDrucker::DruckBeenden()
{
    if (!m_laeuft)
        return false;
    m_laeuft = false;
    m_gesendet = geraetSchliessen(false);
    if (!m_gesendet && m_fehler.isEmpty())
        m_fehler = QStringLiteral("Der Druck konnte nicht abgeschlossen werden.");
    return m_gesendet;
}

void TolvarDrucker::DruckAbbrechen()
{
    if (m_laeuft)
        geraetSchliessen(true);
    m_laeuft = false;
    m_abgebrochen = true;
}

void TolvarDrucker::NeueSeite()
{
    if (!m_laeuft)
        return;
    if (!seiteWechseln()) {
        DruckAbbrechen();
        if (m_fehler.isEmpty())
            m_fehler = QStringLiteral("Die Druckausgabe konnte nicht weitergeschrieben werden "
                                      "(Datenträger voll oder nicht beschreibbar).");
        return;
    }
    ++m_seite;
    AktuellesY = 0;
    m_naechstesX = m_zeilenAnfangX;
}

void TolvarDrucker::NeueZeile()
{
    AktuellesY += Zeilenhoehe();
    m_naechstesX = m_zeilenAnfangX;
}

void TolvarDrucker::TextDrucken(const QString &text, std::optional<double> x)
{
    if (x) {
        m_naechstesX = *x;
        m_zeilenAnfangX = *x;
    }
    if (m_laeuft)
        textZeichnen(QPointF(m_naechstesX, AktuellesY), text, aktuelleSchrift());
    m_naechstesX += Textbreite(text);
    if (Zeilenvorschub)
        NeueZeile();
}

void TolvarDrucker::RtfDrucken(const QTextDocumentFragment &text, double links, double &y,
                               double rechts, double &unten, double &oben)
{
    if (!m_laeuft)
        return;
    const double f = mmZuGeraet();
    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(metrikGeraet());
    doc.setDocumentMargin(0);
    QFont grund(Schriftname);
    grund.setPointSizeF(Schriftgroesse > 0 ? Schriftgroesse : 10);
    doc.setDefaultFont(grund);
    QTextCursor(&doc).insertFragment(text);
    einzuegeAufGeraet(doc, metrikGeraet()->logicalDpiX() / 96.0);
    doc.setTextWidth(std::max(1.0, (Seitenbreite() - links - rechts) * f));

    const std::vector<double> schnitte = schnittstellen(doc);
    const double ende = schnitte.back();
    double dokOben = 0;
    double yPos = y;
    while (m_laeuft) {
        const double verfuegbar = (Seitenhoehe() - unten - yPos) * f;
        // The furthest cut that fits; at least one unit of text per page, so that a line
        // taller than the body still goes out instead of looping.
        auto it = std::upper_bound(schnitte.begin(), schnitte.end(), dokOben + verfuegbar + 0.01);
        double schnitt;
        if (it == schnitte.begin() || *(it - 1) <= dokOben + 0.01) {
            if (yPos > oben + 0.01) {
                schnitt = dokOben; // nothing fits here; try on a fresh page
            } else {
                auto naechster = std::upper_bound(schnitte.begin(), schnitte.end(), dokOben + 0.01);
                schnitt = naechster == schnitte.end() ? ende : *naechster;
            }
        } else {
            schnitt = *(it - 1);
        }
        if (schnitt > dokOben) {
            rtfAusschnittZeichnen(doc, QPointF(links, yPos), dokOben, schnitt);
            yPos += (schnitt - dokOben) / f;
            dokOben = schnitt;
        }
        if (dokOben >= ende - 0.01)
            break;
        NeueSeite();
        if (!m_laeuft)
            break;
        emit SeiteBegonnen();
        yPos = oben;
    }
    y = yPos;
    AktuellesY = yPos;
    m_naechstesX = m_zeilenAnfangX = links;
}

void TolvarDrucker::BildDrucken(const QImage &bild, double x, double y, double breite,
                                double hoehe)
{
    if (m_laeuft)
        bildZeichnen(bild, QRectF(x, y, breite, hoehe));
}

void TolvarDrucker::Linie(double x1, double y1, double x2, double y2, bool rahmen)
{
    if (!m_laeuft)
        return;
    if (rahmen)
        rahmenZeichnen(QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized());
    else
        linieZeichnen(QLineF(x1, y1, x2, y2));
}

// --- the PDF printer device ---------------------------------------------------------------------

bool TolvarDrucker::geraetOeffnen()
{
    // Every job is drawn into a PDF (vector text and pictures). A job for a printer goes to a
    // private temporary file that is handed to the queue only by DruckBeenden, so an aborted
    // job never reaches the printer. An export goes to a temporary file beside the target that
    // takes the target's name only when it is complete: a failed export leaves no partial
    // file behind and an existing one as it was.
    m_auftragsDatei.reset();
    m_auftragsEintrag.reset();
    QString muster;
    if (PdfDatei.isEmpty()) {
        DruckerSystem *system = druckerSystem();
        if (!system || Geraetename.isEmpty()) {
            fehlerSetzen(QStringLiteral("Es ist kein Drucker gewählt."));
            return false;
        }
        if (!system->oeffnen(Geraetename)) {
            fehlerSetzen(QStringLiteral("Der Drucker „%1“ ist nicht erreichbar.").arg(Geraetename));
            return false;
        }
        muster = QDir::tempPath() + QStringLiteral("/tolvar-druck-XXXXXX.pdf");
    } else {
        // A link is followed to the file it names; only a plain file is ever replaced (never
        // a device such as /dev/full, nor a folder).
        const QFileInfo info(PdfDatei);
        if (info.exists() && !info.isFile()) {
            fehlerSetzen(QStringLiteral("%1 ist keine gewöhnliche Datei.")
                             .arg(QDir::toNativeSeparators(PdfDatei)));
            return false;
        }
        m_pdfZiel = info.isSymLink() ? info.canonicalFilePath() : PdfDatei;
        if (info.isSymLink() && !QFileInfo(m_pdfZiel).isFile()) {
            fehlerSetzen(QStringLiteral("%1 ist keine gewöhnliche Datei.")
                             .arg(QDir::toNativeSeparators(PdfDatei)));
            return false;
        }
        muster = m_pdfZiel + QStringLiteral(".XXXXXX");
    }
    // The temporary file gets its name as it is created; a signal in between would leave it.
    std::optional<Aufraeumen::SignaleZurueckhalten> zurueckhalten(std::in_place);
    m_auftragsDatei = std::make_unique<QTemporaryFile>(muster);
    if (!m_auftragsDatei->open()) {
        fehlerSetzen(QStringLiteral("Die Datei %1 kann nicht angelegt werden: %2")
                         .arg(QDir::toNativeSeparators(PdfDatei.isEmpty() ? muster : PdfDatei),
                              m_auftragsDatei->errorString()));
        m_auftragsDatei.reset();
        return false;
    }
    const QString ziel = m_auftragsDatei->fileName();
    m_auftragsEintrag = std::make_unique<Aufraeumen::Datei>(ziel);
    zurueckhalten.reset();
    m_auftragsDatei->close();
    auto printer = std::make_unique<QPrinter>(Aufloesung == 1 ? QPrinter::HighResolution
                                                              : QPrinter::ScreenResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(ziel);
    printer->setDocName(Dokumentname);
    printer->setCreator(QStringLiteral("Tolvar-Hilfe"));
    seiteEinrichten(*printer);
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(printer.get())) {
        fehlerSetzen(QStringLiteral("Die Datei %1 kann nicht geschrieben werden.")
                         .arg(QDir::toNativeSeparators(PdfDatei.isEmpty() ? ziel : PdfDatei)));
        m_auftragsDatei.reset();
        m_auftragsEintrag.reset();
        return false;
    }
    m_printer = std::move(printer);
    m_painter = std::move(painter);
    zeichenflaecheSetzen(m_painter.get(), m_printer.get());
    return true;
}

namespace {

// Whether a PDF that the writer has closed is complete: it ends with its end-of-file marker.
// The PDF writer does not report failed writes (a full disk, a full temporary folder), and a
// file cut short by one lacks the marker.
bool pdfVollstaendig(const QString &datei)
{
    QFile f(datei);
    if (!f.open(QIODevice::ReadOnly) || f.size() < 32)
        return false;
    f.seek(f.size() - 32);
    return f.read(32).contains("%%EOF");
}

} // namespace

bool TolvarDrucker::geraetSchliessen(bool abbrechen)
{
    if (!m_painter)
        return false;
    zeichenflaecheSetzen(nullptr, nullptr);
    bool ok = true;
    if (m_painter->isActive())
        ok = m_painter->end();
    ok = ok && m_printer->printerState() != QPrinter::Error;
    m_painter.reset();
    m_printer.reset();
    const auto ende = qScopeGuard([this] {
        m_auftragsDatei.reset(); // removes the file
        m_auftragsEintrag.reset();
    });
    if (abbrechen)
        return false;
    const QString datei = m_auftragsDatei->fileName();
    if (!ok || !pdfVollstaendig(datei)) {
        fehlerSetzen(QStringLiteral("Die Druckausgabe ist unvollständig (Datenträger voll oder "
                                    "nicht beschreibbar: %1).")
                         .arg(QDir::toNativeSeparators(QFileInfo(datei).path())));
        return false;
    }
    if (!PdfDatei.isEmpty()) {
        // rename(2) puts the complete file in place of the target in one step.
        if (::rename(QFile::encodeName(datei).constData(),
                     QFile::encodeName(m_pdfZiel).constData()) != 0) {
            fehlerSetzen(QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2")
                             .arg(QDir::toNativeSeparators(PdfDatei),
                                  QString::fromLocal8Bit(std::strerror(errno))));
            return false;
        }
        m_auftragsDatei->setAutoRemove(false);
        // The temporary file was made for the owner only; the export gets the usual mode.
        const mode_t maske = ::umask(0);
        ::umask(maske);
        ::chmod(QFile::encodeName(m_pdfZiel).constData(), 0666 & ~maske);
        return true;
    }
    QPageSize format;
    if (Papierformat != 0) {
        format = druckerSystem()->seitenformat(Geraetename, Papierformat);
        if (!format.isValid())
            format = seitenformatFuerCode(Papierformat);
    }
    QString schacht;
    if (Papierschacht != 0) {
        schacht = druckerSystem()->schachtSchluessel(Geraetename, Papierschacht);
        if (schacht.isEmpty())
            schacht = DruckerSystem::standardSchachtSchluessel(Papierschacht);
    }
    QString grund;
    if (!druckerSystem()->auftragSenden(Geraetename, datei, Dokumentname,
                                        format.isValid() ? format.key() : QString(), schacht,
                                        Kopien, &grund)) {
        fehlerSetzen(grund.isEmpty()
                         ? QStringLiteral("Der Drucker „%1“ hat den Auftrag nicht angenommen.")
                               .arg(Geraetename)
                         : grund);
        return false;
    }
    return true;
}

bool TolvarDrucker::seiteWechseln()
{
    return m_printer && m_printer->newPage();
}

// --- drawing onto the surface -------------------------------------------------------------------

void TolvarDrucker::textZeichnen(const QPointF &obenLinksMm, const QString &text, const QFont &f)
{
    if (!m_zeichner)
        return;
    const double k = mmZuGeraet();
    m_zeichner->setFont(QFont(f, m_flaeche));
    m_zeichner->setPen(Qt::black);
    const QFontMetricsF fm(f, m_flaeche);
    m_zeichner->drawText(QPointF(obenLinksMm.x() * k, obenLinksMm.y() * k + fm.ascent()), text);
}

void TolvarDrucker::linieZeichnen(const QLineF &mm)
{
    if (!m_zeichner)
        return;
    const double k = mmZuGeraet();
    m_zeichner->setPen(QPen(Qt::black, 0.2 * k));
    m_zeichner->drawLine(QLineF(mm.p1() * k, mm.p2() * k));
}

void TolvarDrucker::rahmenZeichnen(const QRectF &mm)
{
    if (!m_zeichner)
        return;
    const double k = mmZuGeraet();
    m_zeichner->setPen(QPen(Qt::black, 0.2 * k));
    m_zeichner->setBrush(Qt::NoBrush);
    m_zeichner->drawRect(QRectF(mm.topLeft() * k, mm.size() * k));
}

void TolvarDrucker::bildZeichnen(const QImage &bild, const QRectF &mm)
{
    if (!m_zeichner)
        return;
    const double k = mmZuGeraet();
    m_zeichner->drawImage(QRectF(mm.topLeft() * k, mm.size() * k), bild);
}

void TolvarDrucker::rtfAusschnittZeichnen(QTextDocument &doc, const QPointF &zielMm,
                                          double dokOben, double dokUnten)
{
    if (!m_zeichner)
        return;
    const double k = mmZuGeraet();
    m_zeichner->save();
    m_zeichner->translate(zielMm.x() * k, zielMm.y() * k - dokOben);
    // Lines outside the band are not drawn at all (not merely clipped), so that no text of
    // another page ends up hidden in this page's content.
    const QRectF band(0, dokOben + 0.01, doc.textWidth() + 1, dokUnten - dokOben - 0.02);
    m_zeichner->setClipRect(band.adjusted(-k, 0, k, 0));
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.clip = band;
    ctx.palette.setColor(QPalette::Text, Qt::black);
    doc.documentLayout()->draw(m_zeichner, ctx);
    m_zeichner->restore();
}
