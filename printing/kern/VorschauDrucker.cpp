// The printer control onto a given printer (see VorschauDrucker.h). The drawing follows
// TolvarDrucker's own onto its PDF printer: the same pen widths, fonts bound to the device and
// clipping of rich-text bands, so that preview and print-out show the same pages.
#include "VorschauDrucker.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>

VorschauDrucker::VorschauDrucker(QPrinter *ziel, QObject *parent)
    : TolvarDrucker(parent), m_ziel(ziel)
{
}

VorschauDrucker::~VorschauDrucker()
{
    if (druckLaeuft())
        DruckAbbrechen();
}

bool VorschauDrucker::geraetOeffnen()
{
    m_gekappt = false;
    m_gezeichnet = 0;
    if (!m_ziel) {
        fehlerSetzen(QStringLiteral("Es ist kein Ausgabegerät für die Vorschau da."));
        return false;
    }
    // The whole sheet, as the print-out lays it out (paper coordinates, no margins).
    m_ziel->setFullPage(true);
    m_ziel->setPageLayout(QPageLayout(QPageSize(vorgabeSeite(), QPageSize::Millimeter, QString(),
                                                QPageSize::FuzzyOrientationMatch),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                      QPageLayout::Millimeter));
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(m_ziel)) {
        fehlerSetzen(QStringLiteral("Die Vorschau kann nicht gezeichnet werden."));
        return false;
    }
    m_painter = std::move(painter);
    m_gezeichnet = 1;
    return true;
}

bool VorschauDrucker::geraetSchliessen(bool abbrechen)
{
    if (!m_painter)
        return false;
    const bool ok = m_painter->end();
    m_painter.reset();
    return ok && !abbrechen;
}

bool VorschauDrucker::seiteWechseln()
{
    if (!m_painter)
        return false;
    if (m_gekappt)
        return true;
    if (seitenGrenze > 0 && m_gezeichnet >= seitenGrenze) {
        m_gekappt = true;
        return true;
    }
    if (!m_ziel->newPage())
        return false;
    ++m_gezeichnet;
    return true;
}

QPaintDevice *VorschauDrucker::metrikGeraet() const
{
    if (m_painter)
        return m_ziel;
    return TolvarDrucker::metrikGeraet();
}

void VorschauDrucker::textZeichnen(const QPointF &obenLinksMm, const QString &text, const QFont &f)
{
    if (!zeichnen())
        return;
    const double k = mmZuGeraet();
    m_painter->setFont(QFont(f, m_ziel));
    m_painter->setPen(Qt::black);
    const QFontMetricsF fm(f, m_ziel);
    m_painter->drawText(QPointF(obenLinksMm.x() * k, obenLinksMm.y() * k + fm.ascent()), text);
}

void VorschauDrucker::linieZeichnen(const QLineF &mm)
{
    if (!zeichnen())
        return;
    const double k = mmZuGeraet();
    m_painter->setPen(QPen(Qt::black, 0.2 * k));
    m_painter->drawLine(QLineF(mm.p1() * k, mm.p2() * k));
}

void VorschauDrucker::rahmenZeichnen(const QRectF &mm)
{
    if (!zeichnen())
        return;
    const double k = mmZuGeraet();
    m_painter->setPen(QPen(Qt::black, 0.2 * k));
    m_painter->setBrush(Qt::NoBrush);
    m_painter->drawRect(QRectF(mm.topLeft() * k, mm.size() * k));
}

void VorschauDrucker::bildZeichnen(const QImage &bild, const QRectF &mm)
{
    if (!zeichnen())
        return;
    const double k = mmZuGeraet();
    m_painter->drawImage(QRectF(mm.topLeft() * k, mm.size() * k), bild);
}

void VorschauDrucker::rtfAusschnittZeichnen(QTextDocument &doc, const QPointF &zielMm,
                                            double dokOben, double dokUnten)
{
    if (!zeichnen())
        return;
    const double k = mmZuGeraet();
    m_painter->save();
    m_painter->translate(zielMm.x() * k, zielMm.y() * k - dokOben);
    // Only the lines inside the band, as on the printer.
    const QRectF band(0, dokOben + 0.01, doc.textWidth() + 1, dokUnten - dokOben - 0.02);
    m_painter->setClipRect(band.adjusted(-k, 0, k, 0));
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.clip = band;
    ctx.palette.setColor(QPalette::Text, Qt::black);
    doc.documentLayout()->draw(m_painter.get(), ctx);
    m_painter->restore();
}
