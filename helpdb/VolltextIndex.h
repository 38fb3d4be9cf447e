// The full-text index of a help database: what it holds and how it is built. Five tables:
// - VolltextIndex, an FTS4 table without content of its own (content=""), docid = Texte.ID,
//   columns Titel and Text holding the search forms of the section title and of the section's
//   plain text (VolltextWort.h) separated by blanks, so the "simple" tokenizer of FTS4 only has
//   to split at the blanks. The section's keywords (Stichwörter) are searched like its title:
//   their forms follow the title's in the column Titel;
// - VolltextAbschnitte: per section a checksum of the stored title, text and keywords it was
//   built from,
//   so a section changed after the build is found (hilfedb pruefen), and where its plain text
//   (as the help shows it, for the snippets of the hit list) lies: bytes Anfang..+Laenge of the
//   unpacked VolltextBloecke.Daten of its Block;
// - VolltextBloecke: the plain texts (UTF-8) of consecutive sections, zlib-packed together in
//   blocks of about BlockGroesse bytes;
// - VolltextWoerter: the vocabulary (VolltextWortschatz.h) in one packed row (Daten): per key
//   (Volltext::schluessel) of a word of the titles, texts and keywords the spelling most
//   sections use, the search form and the number of sections holding it;
// - VolltextInfo: the index version. An index of another version is not used (the search
//   builds one in memory instead), because its search forms may differ from ours.
// The same build fills the index a database writer stores and the one the search builds in
// memory for a database without it.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

struct sqlite3;

namespace VolltextIndex {

// Must change whenever the search forms or the tables change.
inline constexpr int Version = 4;

struct Abschnitt
{
    qint32 id = 0;
    QString titel;
    QString text;             // as stored: RTF with the link markup
    QStringList stichwoerter; // the keywords that lead to the section, in any order
};

// Characters of a section the help shows; must match Verweismarkup::MaxZeichen, where the help
// window's rendering stops. What lies beyond is neither shown nor indexed.
inline constexpr qint64 MaxZeichen = 500'000;

// The plain text of a stored section text as the help window shows it: RTF read (up to
// MaxZeichen), link tags cut out (link texts kept); a paragraph break is "\r\n", as in the text
// box's positions. The note the help adds to a shortened section is no part of it.
QString klartext(const QString &gespeicherterText);

// Cuts the link tags out of a plain text exactly as the help's rendering does (see
// Verweismarkup.h): an opening tag must lie within its paragraph, an opening tag without a
// closing tag is removed alone, a closing tag without an opening tag stays.
QString tagsEntfernen(QString text);

// The checksum of a section's stored title, text and keywords (their order does not count).
QByteArray pruefsumme(const QString &titel, const QString &text, QStringList stichwoerter);

// The keywords of every section of db (TextID -> keywords), from the keyword index tables.
// False when they cannot be read.
bool stichwoerterLesen(sqlite3 *db, QHash<qint32, QStringList> &stichwoerter);

// The query that gives the keywords of every section: rows (TextID, keyword).
inline constexpr const char *StichwortAbfrage =
    "SELECT ZuordnungIndex.TextID, \"WörterIndex\".Wort FROM ZuordnungIndex INNER JOIN "
    "\"WörterIndex\" ON \"WörterIndex\".ID = ZuordnungIndex.IndexID";

// Unpacked size of a block of plain texts, at least (the last section may go beyond it).
inline constexpr int BlockGroesse = 12000;

// A stored block unpacked ("" when damaged), and one section's plain text from it ("" when the
// bytes lie outside the block).
QByteArray blockEntpacken(const QByteArray &gepackt);
QString klartextAusBlock(const QByteArray &block, qint64 anfang, qint64 laenge);

// Creates the tables in db (replacing older ones) and fills them with the sections that
// naechster delivers: it returns 1 with the next section in its argument, 0 at the end, -1
// after a failure of its own. False (with the reason in fehler) when anything failed.
bool aufbauen(sqlite3 *db, const std::function<int(Abschnitt &)> &naechster, QString *fehler);

// Builds the index of db from db's own table Texte (for the database writer).
bool ausTextenAufbauen(sqlite3 *db, QString *fehler);

} // namespace VolltextIndex
