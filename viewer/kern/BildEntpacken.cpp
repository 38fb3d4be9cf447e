// Unpacking a stored picture in memory (see BildEntpacken.h).
#include "BildEntpacken.h"
#include "ZipArchiv.h"

#include <QBuffer>
#include <QImageReader>

namespace {

// Opens the archive's bitmap and reads its size from the header, before any pixel is decoded;
// false for a damaged archive, a missing member, an unreadable header or too many pixels.
bool kopfPruefen(const QByteArray &archiv, QByteArray &bmp, QBuffer &puffer, QImageReader &leser,
                 QSize &groesse)
{
    if (!ZipArchiv::mitgliedLesen(archiv, QStringLiteral("Temp.bmp"), bmp))
        return false;
    puffer.setBuffer(&bmp);
    puffer.open(QIODevice::ReadOnly);
    leser.setDevice(&puffer);
    groesse = leser.size();
    return groesse.isValid() && !groesse.isEmpty() &&
           qint64(groesse.width()) * groesse.height() <= MaxBildPixel;
}

} // namespace

bool BildKopfLesen(const QByteArray &archiv, QSize &pixel)
{
    QByteArray bmp;
    QBuffer puffer;
    QImageReader leser;
    QSize groesse;
    if (!kopfPruefen(archiv, bmp, puffer, leser, groesse))
        return false;
    pixel = groesse;
    return true;
}

bool BildEntpacken(const QByteArray &archiv, QImage &bild)
{
    QByteArray bmp;
    QBuffer puffer;
    QImageReader leser;
    QSize groesse;
    if (!kopfPruefen(archiv, bmp, puffer, leser, groesse))
        return false;
    QImage neu = leser.read();
    if (neu.isNull())
        return false;
    bild = std::move(neu);
    return true;
}
