// The full-text search over every section, and the check of a database's full-text index.
// The search uses the index stored in the help database (VolltextIndex.h) when it has one of
// our version; otherwise the first search builds the same index in memory, with the busy
// pointer, and keeps it for the life of the process (rebuilt when the database file changes).
// The database is read through the query pattern, so a failing read shows the error dialog as
// every other query does; the search text itself never causes an error (VolltextAnfrage.h).
//
// Order of the hits: sections that the keyword index assigns to a keyword equal to the search
// text or to one of its words (without regard to case) first, then by BM25 score
// (VolltextRangfolge.h), then by help number.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct VolltextTreffer
{
    qint32 textID = 0;
    QString nummer; // KK.TT.XX
    QString abschnitt;
    QString thema;
    QString ausschnitt; // a short piece of the text around the first hit
    double wert = 0;
    bool stichwort = false; // a keyword equal to the search text leads here
};

// The hit list holds at most this many sections, the best ones.
inline constexpr int VolltextMaxTreffer = 100;

// Searches Suchtext. False when the database could not be read (reported already); true
// otherwise, with the best hits in Treffer (best first, none when nothing matches or the text
// holds no word) and the number of all matching sections in Gesamt.
bool VolltextSuchen(const QString &Suchtext, QList<VolltextTreffer> &Treffer,
                    int *Gesamt = nullptr);

namespace Volltextsuche {
enum class Quelle { Keine, Datenbank, Speicher };
// Which index the last search used.
Quelle letzteQuelle();
// How often an index was built in memory in this process (for tests and benchmarks).
int speicherAufbauten();
// Forgets the index built in memory.
void speicherVerwerfen();
} // namespace Volltextsuche

// The state of the stored full-text index, for hilfedb pruefen.
struct VolltextIndexZustand
{
    bool vorhanden = false;
    int version = 0;
    // One line per section whose title or text differs from what the index was built from
    // (help number first), and per indexed section that no longer exists.
    QStringList veraltet;
};
// False when the database could not be read (reported already).
bool VolltextIndexPruefen(VolltextIndexZustand &zustand);
