// The ranking of full-text hits: BM25F over the index's columns (section title, text), from the
// values the index reports for each hit with matchinfo('pcnalx'). The title weighs more than the
// text, so a section that is about a word (its title says so) comes before one that only
// mentions it. The SQLite of our SQLCipher has no bm25(), so the formula lives here.
#pragma once

#include "VolltextAnfrage.h"

#include <QByteArray>
#include <QList>

namespace Volltext {

// Column weights; must match the column order of the index (VolltextIndex::Schema).
inline constexpr double GewichtTitel = 4.0;
inline constexpr double GewichtText = 1.0;
inline constexpr double K1 = 1.2;
inline constexpr double B = 0.75;

// The score of one hit from the matchinfo blob (32-bit unsigned integers in machine order:
// p, c, n, a[c], l[c], x[3 * c * p]). Higher is better; 0 for a blob that is too short for the
// counts it states. With mitLaengen false, the blob is matchinfo('pcnax'): without the row's
// lengths, which are costly to look up, each row counts as one of average length (a cheaper
// estimate for choosing the rows worth ranking exactly).
// phrasen names each phrase's term and weight (VolltextAnfrage.h); a phrase it does not name
// weighs 1.
double bm25(const QByteArray &matchinfo, const QList<Phrase> &phrasen, bool mitLaengen = true);

// How many of the terms of the query the row holds (in any column, in any of the term's
// phrases), from the same blob ('pcnalx', or 'pcnax' with mitLaengen false); 0 for a blob that
// is too short. phrasen as for bm25; a phrase it does not name is a term of its own.
int begriffeMitTreffer(const QByteArray &matchinfo, const QList<Phrase> &phrasen,
                       bool mitLaengen = true);

// For each term: does any row of the hits hold it? From the blobs of every row of a query.
QList<bool> begriffeVorhanden(const QByteArray &matchinfo, const QList<Phrase> &phrasen,
                              qsizetype begriffe, bool mitLaengen);

} // namespace Volltext
