// The full-text search over every section, and the check of a database's full-text index
// (HilfeDatenbank::volltextSuchen, HilfeDatenbank::volltextIndexPruefen).
// The search uses the index stored in the help database (VolltextIndex.h) when it has one of
// our version that the check finds complete, sound and built from the sections as they are
// (checked once per database file); otherwise, and when a read of the stored index fails, the
// search builds the same index in memory, with the busy pointer, and keeps it for the life of
// the process (rebuilt when the database file changes). So the hits always match the text shown.
// The database is read through the database object's query pattern, so a failing read goes to
// its error policy as every other query does (reads of the stored index ask no one: damage
// there is passed over); the search text itself never causes an error (VolltextAnfrage.h).
//
// Order of the hits: when not every hit holds all terms of the query (VolltextAnfrage.h), those
// holding more terms first; then sections that the keyword index assigns to a keyword equal to
// the search text or to one of its words (without regard to case), then by BM25 score
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
    int begriffe = 0;       // how many terms of the query the section holds
};

// The hit list holds at most this many sections, the best ones.
inline constexpr int VolltextMaxTreffer = 100;

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
