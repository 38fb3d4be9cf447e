// The arithmetic of placing the frame window: the desktop work area converted from pixels to
// twips, and the rectangle the frame takes in full mode (the whole work area) or half-screen
// mode (the right half, starting 1000 twips below the work area's top). Halves keep their
// fraction: a work area 24001 twips wide gives a half of 12000.5.
#pragma once

#include <QRect>
#include <QtGlobal>

struct ArbeitsbereichTwips
{
    qint32 breite = 0;
    qint32 hoehe = 0;
    qint32 links = 0;
    qint32 oben = 0;
};

struct FensterPlatz
{
    double links = 0;
    double oben = 0;
    double breite = 0;
    double hoehe = 0;

    friend bool operator==(const FensterPlatz &, const FensterPlatz &) = default;
};

// Converts the work area (in pixels) with the per-axis factors, each value rounded to the
// nearest whole number, halves to even.
ArbeitsbereichTwips ArbeitsbereichUmrechnen(const QRect &pixel, double twipsProPixelX,
                                            double twipsProPixelY);

// Where the frame goes: halb = half-screen mode.
FensterPlatz FensterPlatzBerechnen(bool halb, const ArbeitsbereichTwips &bereich);
