// BM25F from matchinfo('pcnalx') (see VolltextRangfolge.h).
#include "VolltextRangfolge.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace Volltext {

double bm25(const QByteArray &matchinfo, bool mitLaengen)
{
    const qsizetype anzahl = matchinfo.size() / qsizetype(sizeof(quint32));
    if (anzahl < 3)
        return 0;
    std::vector<quint32> w(size_t(anzahl), 0);
    std::memcpy(w.data(), matchinfo.constData(), size_t(anzahl) * sizeof(quint32));
    const qint64 phrasen = w[0];
    const qint64 spalten = w[1];
    const double dokumente = w[2];
    const qint64 vorX = 3 + (mitLaengen ? 2 : 1) * spalten;
    if (phrasen < 1 || spalten < 1 || vorX + 3 * spalten * phrasen > anzahl)
        return 0;
    const quint32 *mittel = &w[3];
    // Without the row's lengths, the row counts as one of average length.
    const quint32 *laengen = mitLaengen ? &w[size_t(3 + spalten)] : mittel;
    const quint32 *x = &w[size_t(vorX)];
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

} // namespace Volltext

namespace Volltext {

int phrasenMitTreffer(const QByteArray &matchinfo, bool mitLaengen)
{
    const qsizetype anzahl = matchinfo.size() / qsizetype(sizeof(quint32));
    if (anzahl < 3)
        return 0;
    std::vector<quint32> w(size_t(anzahl), 0);
    std::memcpy(w.data(), matchinfo.constData(), size_t(anzahl) * sizeof(quint32));
    const qint64 phrasen = w[0];
    const qint64 spalten = w[1];
    const qint64 vorX = 3 + (mitLaengen ? 2 : 1) * spalten;
    if (phrasen < 1 || spalten < 1 || vorX + 3 * spalten * phrasen > anzahl)
        return 0;
    const quint32 *x = &w[size_t(vorX)];
    int mit = 0;
    for (qint64 p = 0; p < phrasen; ++p) {
        bool da = false;
        for (qint64 s = 0; s < spalten && !da; ++s)
            da = x[3 * (p * spalten + s)] > 0;
        mit += da ? 1 : 0;
    }
    return mit;
}

} // namespace Volltext
