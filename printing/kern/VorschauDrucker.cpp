// The printer control onto a given printer (see VorschauDrucker.h).
#include "VorschauDrucker.h"

#include <QPainter>
#include <QPrinter>

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
    seiteEinrichten(*m_ziel);
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(m_ziel)) {
        fehlerSetzen(QStringLiteral("Die Vorschau kann nicht gezeichnet werden."));
        return false;
    }
    m_painter = std::move(painter);
    zeichenflaecheSetzen(m_painter.get(), m_ziel);
    m_gezeichnet = 1;
    return true;
}

bool VorschauDrucker::geraetSchliessen(bool abbrechen)
{
    if (!m_painter)
        return false;
    zeichenflaecheSetzen(nullptr, nullptr);
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
        // Output behind the limit is dropped; the metrics stay the target's, so the cursor
        // moves on as on the printer.
        m_gekappt = true;
        zeichenflaecheSetzen(nullptr, m_ziel);
        return true;
    }
    if (!m_ziel->newPage())
        return false;
    ++m_gezeichnet;
    return true;
}
