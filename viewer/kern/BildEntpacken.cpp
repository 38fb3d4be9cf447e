// Unpacking a stored picture in memory (see BildEntpacken.h).
#include "BildEntpacken.h"
#include "ZipArchiv.h"

#include <QBuffer>
#include <QImageReader>

bool BildEntpacken(const QByteArray &archiv, QImage &bild)
{
    QByteArray bmp;
    if (!ZipArchiv::mitgliedLesen(archiv, QStringLiteral("Temp.bmp"), bmp))
        return false;
    QBuffer puffer(&bmp);
    puffer.open(QIODevice::ReadOnly);
    QImageReader leser(&puffer);
    // The size comes from the header, before any pixel is decoded.
    const QSize groesse = leser.size();
    if (!groesse.isValid() || groesse.isEmpty() ||
        qint64(groesse.width()) * groesse.height() > MaxBildPixel)
        return false;
    QImage neu = leser.read();
    if (neu.isNull())
        return false;
    bild = std::move(neu);
    return true;
}
