// A full-text query as the user types it, taken apart into search terms. Every query can be
// read: words are runs of letters and digits (VolltextWort.h), text "in quotes" is a phrase, and
// every other character only separates words, so the syntax of the index's MATCH language
// (NEAR, OR, *, -, ^, :, brackets) and the LIKE wildcards "%" and "_" have no meaning; an
// unbalanced quote is ignored. The operator words NEAR, AND, OR and NOT written in capitals are
// dropped (unless nothing else is left), and so are function words ("wie", "ich", "eine": they
// have no search form), except inside a phrase. Up to two terms must all occur (AND); from
// MindestOder terms on, in a sentence (function words left out), and when all of them together
// occur nowhere, a section with any of them is a hit (OR), ranked by how many it holds
// (Volltextabfragen.h). A term whose search form has
// at least MindestPraefix characters also finds words that begin with it (compounds: "Rechnung"
// finds "Rechnungsnummer").
//
// The same terms decide what the index matches (matchAusdruck) and which words of a shown
// text are hits (trefferBereiche), so a highlighted word is always one that made the section
// a hit.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace Volltext {

inline constexpr int MindestPraefix = 3;
// From this many terms on, a section need not hold all of them.
inline constexpr int MindestOder = 3;
// The parts of a compound count when at most this many words lie between them.
inline constexpr int TeileAbstand = 6;
// More terms than this are not searched (the rest of a very long input is dropped).
inline constexpr int MaxBegriffe = 16;
// Longer words are cut to this many characters before they become search forms.
inline constexpr int MaxWortLaenge = 64;

struct Begriff
{
    // The search forms of the words, one for a single word, several for a phrase.
    QStringList formen;
    // A single word as typed (empty for a phrase).
    QString wort;
    // Other search forms that count as the term, with less weight, matching whole words: the
    // verb with a separable prefix that stands apart in the query ("lege … an": "anlegen"), and
    // compounds in the index that the word is the later part of (Wortschatz::spaetereTeile):
    // "Kundennummer" for "Nummer".
    QStringList teile;
    // The search forms of the two parts of a compound word ("Skontofrist": "skonto", "frist"):
    // both near each other in a text ("Frist für Skonto") count as the term, with less weight.
    QStringList getrennt;
    bool phrase() const { return formen.size() > 1; }
};

struct Anfrage
{
    QList<Begriff> begriffe;
    // The words as typed (without quotes and separators), for comparing with keywords.
    QStringList woerter;
    // Function words were left out: a question or sentence, whose words need not all occur.
    bool satz = false;

    bool leer() const { return begriffe.isEmpty(); }
};

Anfrage anfrageZerlegen(const QString &eingabe);

// Does a word with search form wortForm match a query word with search form begriffForm?
bool formPasst(const QString &wortForm, const QString &begriffForm);

// The MATCH expression for the index: each term quoted, prefix terms with "*", joined with
// "OR" when oder is set; empty for an empty query. A term's other forms follow it joined by
// "OR" (which binds closer than the implicit AND), its parts as "a" NEAR/TeileAbstand "b"
// (which binds closer still).
QString matchAusdruck(const Anfrage &anfrage, bool oder = false);

// The phrases of the MATCH expression in the order the index reports them: for each the
// number of its term and its weight in the score (1, or TeilGewicht for a compound).
struct Phrase
{
    int begriff = 0;
    double gewicht = 1.0;
};
QList<Phrase> phrasen(const Anfrage &anfrage);

// The hits of a query in a text: (start, length) of every word that matches a single-word
// term and of every run of words that matches a phrase, in text order, not overlapping.
QList<QPair<int, int>> trefferBereiche(QStringView text, const Anfrage &anfrage);

// A short piece of text around the first hit (its start when there is none), on one line,
// with "…" where it was cut; about laenge characters.
QString ausschnitt(QStringView text, const Anfrage &anfrage, int laenge = 90);

} // namespace Volltext
