// The SQL dialect that the help database's queries are written in, carried onto SQLite: a LIKE
// with "%", "_" and bracket classes that ignores case, and the collation DEUTSCH that sorts text
// in German alphabetical order without regard to case (umlauts beside their base letters).
// Both are registered on every connection, by the writer as well as by the reader.
#pragma once

#include <QStringView>

struct sqlite3;

namespace SqlDialekt {

// Name of the collation that the schema gives every text column.
// Must match the COLLATE clauses written by HilfeDatenbankSchreiber.
inline constexpr const char *SortierungName = "DEUTSCH";

// German order: letters first by base letter without regard to case (ä = a, ß = ss), then
// base letters before umlauts, then small before capital letters, then by code point; only equal
// texts compare equal. Returns <0, 0 or >0. Works on UTF-8 bytes as SQLite hands them over.
int vergleichen(const char *a, int laengeA, const char *b, int laengeB);
int vergleichen(QStringView a, QStringView b);

// The LIKE comparison of the queries: "%" any sequence, "_" one character, "[abc]", "[a-c]",
// "[!a-c]" classes; every other character matches itself without regard to case. An unclosed
// "[" matches itself.
bool passt(QStringView text, QStringView muster);

// Registers like(X,Y) and the collation on a connection; any other unknown collation that a
// database names is answered with the German one too, so such a file stays readable.
// Returns an SQLite result code.
int registrieren(sqlite3 *db);

} // namespace SqlDialekt
