// BM25F from matchinfo('pcnalx') (see VolltextRangfolge.h).
#include "VolltextRangfolge.h"

#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

namespace Volltext {

namespace {

// The values of a matchinfo('pcnalx') blob, or of matchinfo('pcnax') without the row lengths:
// phrase and column counts, the documents, and where the averages, lengths and hit triples lie.
// Empty when the blob is too short for what its counts say.
struct Werte
{
    std::vector<quint32> w;
    qint64 phrasen = 0;
    qint64 spalten = 0;
    qint64 vorX = 0;

    const quint32 *x() const { return &w[size_t(vorX)]; }
};

std::optional<Werte> zerlegen(const QByteArray &matchinfo, bool mitLaengen)
{
    const qsizetype anzahl = matchinfo.size() / qsizetype(sizeof(quint32));
    if (anzahl < 3)
        return std::nullopt;
    Werte v;
    v.w.assign(size_t(anzahl), 0);
    std::memcpy(v.w.data(), matchinfo.constData(), size_t(anzahl) * sizeof(quint32));
    v.phrasen = v.w[0];
    v.spalten = v.w[1];
    v.vorX = 3 + (mitLaengen ? 2 : 1) * v.spalten;
    if (v.phrasen < 1 || v.spalten < 1 || v.vorX + 3 * v.spalten * v.phrasen > anzahl)
        return std::nullopt;
    return v;
}

} // namespace

double bm25(const QByteArray &matchinfo, bool mitLaengen)
{
    const std::optional<Werte> v = zerlegen(matchinfo, mitLaengen);
    if (!v)
        return 0;
    const qint64 phrasen = v->phrasen;
    const qint64 spalten = v->spalten;
    const double dokumente = v->w[2];
    const quint32 *mittel = &v->w[3];
    // Without the row's lengths, the row counts as one of average length.
    const quint32 *laengen = mitLaengen ? &v->w[size_t(3 + spalten)] : mittel;
    const quint32 *x = v->x();
    const double gewichte[2] = {GewichtTitel, GewichtText};

    double summe = 0;
    for (qint64 p = 0; p < phrasen; ++p) {
        // Rows with the phrase: the column where most rows have it stands for all.
        double mitTreffer = 0;
        double tf = 0;
        for (qint64 s = 0; s < spalten; ++s) {
            const quint32 *z = x + 3 * (p * spalten + s);
            mitTreffer = std::max(mitTreffer, double(z[2]));
            if (z[0] == 0)
                continue;
            const double gewicht = s < 2 ? gewichte[s] : 1.0;
            const double durchschnitt = std::max(1.0, double(mittel[s]));
            const double norm = 1.0 - B + B * double(laengen[s]) / durchschnitt;
            tf += gewicht * double(z[0]) / norm;
        }
        const double idf = std::log(1.0 + (dokumente - mitTreffer + 0.5) / (mitTreffer + 0.5));
        summe += idf * tf * (K1 + 1.0) / (tf + K1);
    }
    return summe;
}

int phrasenMitTreffer(const QByteArray &matchinfo, bool mitLaengen)
{
    const std::optional<Werte> v = zerlegen(matchinfo, mitLaengen);
    if (!v)
        return 0;
    const quint32 *x = v->x();
    int mit = 0;
    for (qint64 p = 0; p < v->phrasen; ++p) {
        bool da = false;
        for (qint64 s = 0; s < v->spalten && !da; ++s)
            da = x[3 * (p * v->spalten + s)] > 0;
        mit += da ? 1 : 0;
    }
    return mit;
}

} // namespace Volltext
