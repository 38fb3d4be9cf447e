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

namespace {

// The term of phrase p: as phrasen names it, or a term of its own after the named ones.
qsizetype begriffVon(const QList<Phrase> &phrasen, qint64 p)
{
    if (p < phrasen.size())
        return phrasen.at(p).begriff;
    const qsizetype benannt = phrasen.isEmpty() ? 0 : phrasen.last().begriff + 1;
    return benannt + (p - phrasen.size());
}

} // namespace

double bm25(const QByteArray &matchinfo, const QList<Phrase> &phrasenListe, bool mitLaengen)
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

    // A term's phrases (the word and the compounds it ends) count as one term: their hits
    // add up, a compound's with its lesser weight, and the phrase most rows have gives the
    // rarity.
    struct Begriff
    {
        double tf = 0;
        double mitTreffer = 0;
    };
    std::vector<Begriff> begriffe;
    for (qint64 p = 0; p < phrasen; ++p) {
        const size_t b = size_t(begriffVon(phrasenListe, p));
        if (b >= begriffe.size())
            begriffe.resize(b + 1);
        const double gewichtPhrase = p < phrasenListe.size() ? phrasenListe.at(p).gewicht : 1.0;
        for (qint64 s = 0; s < spalten; ++s) {
            const quint32 *z = x + 3 * (p * spalten + s);
            // Rows with the phrase: the column where most rows have it stands for all.
            begriffe[b].mitTreffer = std::max(begriffe[b].mitTreffer, double(z[2]));
            if (z[0] == 0)
                continue;
            const double gewicht = s < 2 ? gewichte[s] : 1.0;
            const double durchschnitt = std::max(1.0, double(mittel[s]));
            const double norm = 1.0 - B + B * double(laengen[s]) / durchschnitt;
            begriffe[b].tf += gewichtPhrase * gewicht * double(z[0]) / norm;
        }
    }
    double summe = 0;
    for (const Begriff &b : begriffe) {
        const double idf = std::log(1.0 + (dokumente - b.mitTreffer + 0.5) / (b.mitTreffer + 0.5));
        summe += idf * b.tf * (K1 + 1.0) / (b.tf + K1);
    }
    return summe;
}

int begriffeMitTreffer(const QByteArray &matchinfo, const QList<Phrase> &phrasenListe,
                       bool mitLaengen)
{
    const std::optional<Werte> v = zerlegen(matchinfo, mitLaengen);
    if (!v)
        return 0;
    const quint32 *x = v->x();
    QList<qsizetype> mit;
    for (qint64 p = 0; p < v->phrasen; ++p) {
        bool da = false;
        for (qint64 s = 0; s < v->spalten && !da; ++s)
            da = x[3 * (p * v->spalten + s)] > 0;
        const qsizetype b = begriffVon(phrasenListe, p);
        if (da && !mit.contains(b))
            mit.append(b);
    }
    return int(mit.size());
}

QList<bool> begriffeVorhanden(const QByteArray &matchinfo, const QList<Phrase> &phrasenListe,
                              qsizetype begriffe, bool mitLaengen)
{
    QList<bool> da(begriffe, false);
    const std::optional<Werte> v = zerlegen(matchinfo, mitLaengen);
    if (!v)
        return da;
    const quint32 *x = v->x();
    for (qint64 p = 0; p < v->phrasen; ++p) {
        const qsizetype b = begriffVon(phrasenListe, p);
        for (qint64 s = 0; s < v->spalten && b < begriffe; ++s)
            da[b] = da[b] || x[3 * (p * v->spalten + s) + 2] > 0;
    }
    return da;
}

} // namespace Volltext
