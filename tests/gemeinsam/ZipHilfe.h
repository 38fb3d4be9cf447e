// Test helper: builds zip archives in memory (through a file in a temporary directory) and
// bitmaps to put into them.
#pragma once

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <zip.h>

inline QByteArray zipErstellen(const QList<std::pair<QString, QByteArray>> &mitglieder)
{
    QTemporaryDir dir;
    const QString pfad = dir.filePath("a.zip");
    int fehler = 0;
    zip_t *z = zip_open(pfad.toUtf8().constData(), ZIP_CREATE | ZIP_TRUNCATE, &fehler);
    if (!z)
        return {};
    for (const auto &[name, daten] : mitglieder) {
        zip_source_t *q = zip_source_buffer(z, daten.constData(), zip_uint64_t(daten.size()), 0);
        zip_file_add(z, name.toUtf8().constData(), q, ZIP_FL_OVERWRITE);
    }
    if (zip_close(z) != 0)
        return {};
    QFile f(pfad);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

inline QByteArray bmpErstellen(QSize groesse, QColor farbe)
{
    QImage bild(groesse, QImage::Format_RGB32);
    bild.fill(farbe);
    QByteArray bmp;
    QBuffer b(&bmp);
    b.open(QIODevice::WriteOnly);
    bild.save(&b, "BMP");
    return bmp;
}

inline QByteArray bildArchiv(QSize groesse, QColor farbe)
{
    return zipErstellen({{"Temp.bmp", bmpErstellen(groesse, farbe)}});
}
