// The full-text search over every section, and the check of a database's full-text index.
// The search uses the index stored in the help database (VolltextIndex.h) when it has one of
// our version that the check finds complete, sound and built from the sections as they are
// (checked once per database file); otherwise, and when a read of the stored index fails, the
// search builds the same index in memory, with the busy pointer, and keeps it for the life of
// the process (rebuilt when the database file changes). So the hits always match the text shown.
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
    // One line per damaged part: a table missing, a table not readable, parts that do not fit
    // together (sizes, statistics, segments, the plain texts of the sections).
    QStringList beschaedigt;
};
// False when the database could not be read (reported already); damage in the index's own
// tables is a finding in beschaedigt, not a failure. Gruendlich also compares the index with one
// built in memory from the sections' texts (as the search builds it); without, only the parts
// are checked against each other, which is what the search does before it uses the index.
bool VolltextIndexPruefen(VolltextIndexZustand &zustand, bool gruendlich = false);
