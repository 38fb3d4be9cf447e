// Picture archives in memory with libzip; see BildArchiv.h.
#include "BildArchiv.h"

#include <QBuffer>
#include <zip.h>

namespace {

QString zipFehler(zip_error_t *e)
{
    return QString::fromLocal8Bit(zip_error_strerror(e));
}

} // namespace

QByteArray BildArchiv::packen(const QImage &bild, QString *fehler)
{
    auto melden = [&](const QString &text) {
        if (fehler)
            *fehler = text;
        return QByteArray();
    };

    QByteArray bmp;
    {
        QBuffer puffer(&bmp);
        puffer.open(QIODevice::WriteOnly);
        if (bild.isNull() || !bild.save(&puffer, "BMP"))
            return melden(QStringLiteral("Bild lässt sich nicht als BMP speichern"));
    }
    return bmpPacken(bmp, fehler);
}

QByteArray BildArchiv::bmpPacken(const QByteArray &bmp, QString *fehler)
{
    auto melden = [&](const QString &text) {
        if (fehler)
            *fehler = text;
        return QByteArray();
    };
    if (bmp.isEmpty())
        return melden(QStringLiteral("Bild ist leer"));

    zip_error_t err;
    zip_error_init(&err);
    // An empty source that libzip fills with the finished archive on zip_close.
    zip_source_t *ziel = zip_source_buffer_create(nullptr, 0, 0, &err);
    if (!ziel) {
        const QString text = zipFehler(&err);
        zip_error_fini(&err);
        return melden(text);
    }
    zip_source_keep(ziel);
    zip_t *za = zip_open_from_source(ziel, ZIP_TRUNCATE, &err);
    if (!za) {
        const QString text = zipFehler(&err);
        zip_error_fini(&err);
        zip_source_free(ziel);
        return melden(text);
    }
    zip_error_fini(&err);

    zip_source_t *inhalt = zip_source_buffer(za, bmp.constData(), zip_uint64_t(bmp.size()), 0);
    if (!inhalt || zip_file_add(za, mitgliedName, inhalt, ZIP_FL_ENC_UTF_8) < 0) {
        const QString text = QString::fromLocal8Bit(zip_strerror(za));
        if (inhalt)
            zip_source_free(inhalt);
        zip_discard(za);
        zip_source_free(ziel);
        return melden(text);
    }
    if (zip_close(za) < 0) {
        const QString text = QString::fromLocal8Bit(zip_strerror(za));
        zip_discard(za);
        zip_source_free(ziel);
        return melden(text);
    }

    QByteArray archiv;
    zip_stat_t st;
    if (zip_source_stat(ziel, &st) == 0 && (st.valid & ZIP_STAT_SIZE) &&
        zip_source_open(ziel) == 0) {
        archiv.resize(qsizetype(st.size));
        const zip_int64_t gelesen = zip_source_read(ziel, archiv.data(), st.size);
        zip_source_close(ziel);
        if (gelesen != zip_int64_t(st.size))
            archiv.clear();
    }
    zip_source_free(ziel);
    if (archiv.isEmpty())
        return melden(QStringLiteral("Zip-Archiv lässt sich nicht lesen"));
    return archiv;
}

QImage BildArchiv::entpacken(const QByteArray &archiv)
{
    QImage bild;
    const QByteArray bmp = mitglied(archiv);
    if (!bmp.isEmpty())
        bild.loadFromData(bmp, "BMP");
    return bild;
}

QByteArray BildArchiv::mitglied(const QByteArray &archiv)
{
    zip_error_t err;
    zip_error_init(&err);
    zip_source_t *quelle =
        zip_source_buffer_create(archiv.constData(), zip_uint64_t(archiv.size()), 0, &err);
    if (!quelle) {
        zip_error_fini(&err);
        return QByteArray();
    }
    zip_t *za = zip_open_from_source(quelle, ZIP_RDONLY, &err);
    zip_error_fini(&err);
    if (!za) {
        zip_source_free(quelle);
        return QByteArray();
    }
    QByteArray bmp;
    zip_stat_t st;
    if (zip_stat(za, mitgliedName, 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE) &&
        st.size < 256u * 1024 * 1024) {
        if (zip_file_t *f = zip_fopen(za, mitgliedName, 0)) {
            bmp.resize(qsizetype(st.size));
            if (zip_fread(f, bmp.data(), st.size) != zip_int64_t(st.size))
                bmp.clear();
            zip_fclose(f);
        }
    }
    zip_discard(za); // also frees the source
    return bmp;
}
