// Unpacking a stored picture: the archive's member "Temp.bmp" is read in memory and decoded;
// archives that unpack too large and pictures with too many pixels are refused.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

constexpr qint64 MaxBildPixel = 50'000'000;

// False, with bild unchanged, when the archive is damaged, has no "Temp.bmp", or the bitmap
// cannot be decoded or is larger than MaxBildPixel.
bool BildEntpacken(const QByteArray &archiv, QImage &bild);
// The pixel size from the header of the archive's bitmap, without decoding its pixels; false
// for a damaged archive, a missing member, an unreadable header or too many pixels (the limits
// of BildEntpacken).
bool BildKopfLesen(const QByteArray &archiv, QSize &pixel);
