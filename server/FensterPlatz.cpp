// Work area conversion and frame placement arithmetic. See FensterPlatz.h.
#include "FensterPlatz.h"

#include <cmath>

namespace {

qint32 runden(double v)
{
    return qint32(std::nearbyint(v));
}

} // namespace

ArbeitsbereichTwips ArbeitsbereichUmrechnen(const QRect &pixel, double twipsProPixelX,
                                            double twipsProPixelY)
{
    ArbeitsbereichTwips b;
    // A QRect's width and height are right - left and bottom - top of an exclusive rectangle.
    b.hoehe = runden(pixel.height() * twipsProPixelY);
    b.breite = runden(pixel.width() * twipsProPixelX);
    b.links = runden(pixel.left() * twipsProPixelX);
    b.oben = runden(pixel.top() * twipsProPixelY);
    return b;
}

FensterPlatz FensterPlatzBerechnen(bool halb, const ArbeitsbereichTwips &b)
{
    if (halb)
        return FensterPlatz{b.breite / 2.0 + b.links, b.oben + 1000.0, b.breite / 2.0,
                            b.hoehe - 1000.0};
    return FensterPlatz{double(b.links), double(b.oben), double(b.breite), double(b.hoehe)};
}
