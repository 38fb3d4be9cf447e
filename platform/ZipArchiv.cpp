// Reading one member of an in-memory zip archive with libzip (see ZipArchiv.h).
#include "ZipArchiv.h"

#include <zip.h>

bool ZipArchiv::mitgliedLesen(const QByteArray &archiv, const QString &name, QByteArray &inhalt,
                              qint64 grenze)
{
    inhalt.clear();
    if (archiv.isEmpty())
        return false;
    zip_error_t fehler;
    zip_error_init(&fehler);
    zip_source_t *quelle =
        zip_source_buffer_create(archiv.constData(), zip_uint64_t(archiv.size()), 0, &fehler);
    if (!quelle) {
        zip_error_fini(&fehler);
        return false;
    }
    zip_t *zip = zip_open_from_source(quelle, ZIP_RDONLY, &fehler);
    zip_error_fini(&fehler);
    if (!zip) {
        zip_source_free(quelle);
        return false;
    }
    bool ok = false;
    const zip_int64_t index = zip_name_locate(zip, name.toUtf8().constData(), ZIP_FL_NOCASE);
    zip_stat_t info;
    if (index >= 0 && zip_stat_index(zip, zip_uint64_t(index), 0, &info) == 0 &&
        (!(info.valid & ZIP_STAT_SIZE) || info.size <= zip_uint64_t(grenze))) {
        if (zip_file_t *datei = zip_fopen_index(zip, zip_uint64_t(index), 0)) {
            // The header's size may lie: reading stops one byte past the limit at the latest.
            QByteArray daten;
            // Room for the size the header gives (never beyond the limit), so that a large
            // member is not copied again at every growth of the buffer.
            if (info.valid & ZIP_STAT_SIZE)
                daten.reserve(qsizetype(info.size));
            char puffer[64 * 1024];
            ok = true;
            for (;;) {
                const zip_int64_t gelesen = zip_fread(datei, puffer, sizeof puffer);
                if (gelesen < 0) {
                    ok = false;
                    break;
                }
                if (gelesen == 0)
                    break;
                if (daten.size() + gelesen > grenze) {
                    ok = false;
                    break;
                }
                daten.append(puffer, gelesen);
            }
            zip_fclose(datei);
            if (ok)
                inhalt = std::move(daten);
        }
    }
    zip_discard(zip);
    return ok;
}
