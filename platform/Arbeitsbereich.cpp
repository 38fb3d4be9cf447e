// The work area of the primary screen and the pixel/twip conversions (see Arbeitsbereich.h).
#include "Arbeitsbereich.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
constexpr double TwipsProZoll = 1440.0;
constexpr double StandardTwipsProPixel = 15.0; // 96 dpi

Arbeitsbereich *installiert = nullptr;

QScreen *hauptbildschirm()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return nullptr;
    return QGuiApplication::primaryScreen();
}

double twipsProPixel(double dpi)
{
    return dpi > 0 ? TwipsProZoll / dpi : StandardTwipsProPixel;
}
} // namespace

QRect BildschirmArbeitsbereich::pixel() const
{
    QScreen *s = hauptbildschirm();
    return s ? s->availableGeometry() : QRect();
}

double BildschirmArbeitsbereich::twipsProPixelX() const
{
    QScreen *s = hauptbildschirm();
    return s ? twipsProPixel(s->logicalDotsPerInchX()) : StandardTwipsProPixel;
}

double BildschirmArbeitsbereich::twipsProPixelY() const
{
    QScreen *s = hauptbildschirm();
    return s ? twipsProPixel(s->logicalDotsPerInchY()) : StandardTwipsProPixel;
}

void setzeArbeitsbereich(Arbeitsbereich *bereich)
{
    installiert = bereich;
}

Arbeitsbereich &arbeitsbereich()
{
    static BildschirmArbeitsbereich bildschirm;
    return installiert ? *installiert : bildschirm;
}

double pixelZuTwipsX(double pixel)
{
    return pixel * arbeitsbereich().twipsProPixelX();
}

double pixelZuTwipsY(double pixel)
{
    return pixel * arbeitsbereich().twipsProPixelY();
}

double twipsZuPixelX(double twips)
{
    return twips / arbeitsbereich().twipsProPixelX();
}

double twipsZuPixelY(double twips)
{
    return twips / arbeitsbereich().twipsProPixelY();
}
