// Reading one member of a zip archive held in memory (the stored picture archives). Nothing is
// written to disk. A member larger than the limit is refused, whether its header says so or
// its data only turns out larger while it is unpacked.
#pragma once

#include <QByteArray>
#include <QString>

class ZipArchiv
{
public:
    static constexpr qint64 MaxGroesse = 64 * 1024 * 1024;

    // Unpacks the member `name` (case-insensitive) of the archive bytes into inhalt. False,
    // with inhalt empty, for a damaged archive, a missing member or one beyond grenze bytes.
    static bool mitgliedLesen(const QByteArray &archiv, const QString &name, QByteArray &inhalt,
                              qint64 grenze = MaxGroesse);
};
