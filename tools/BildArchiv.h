// The stored form of a help picture: a zip archive, built in memory, whose one member
// "Temp.bmp" holds the picture as a Windows bitmap. The help unpacks exactly this member.
#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

class BildArchiv
{
public:
    // The member name the help looks for; must match the picture unpacking of the viewer.
    static inline const char *const mitgliedName = "Temp.bmp";

    // Packs the image as BMP into a new zip archive. Empty on failure (fehler says why).
    static QByteArray packen(const QImage &bild, QString *fehler = nullptr);
    // Packs the bytes of a BMP file unchanged as the member.
    static QByteArray bmpPacken(const QByteArray &bmp, QString *fehler = nullptr);

    // The member's bytes exactly as packed; empty when the archive or the member is unreadable.
    static QByteArray mitglied(const QByteArray &archiv);

    // Reads the member "Temp.bmp" back from an archive; a null image when it is missing or
    // cannot be decoded. For checks and tests; the help has its own unpacking.
    static QImage entpacken(const QByteArray &archiv);
};
