// The vocabulary of a help's full-text index: every word of the section titles, texts and
// keywords that has a search form, once per key (Volltext::schluessel), with the spelling shown
// for it, its search form and the number of sections that hold it. The index stores it beside
// the words' forms (VolltextIndex.h); the search takes three things from it:
// - typo correction (korrektur): a word of the query whose form occurs nowhere in the index is
//   taken for a misspelling of the nearest word of the vocabulary;
// - later compound parts (spaetereTeile): "Nummer" also finds "Kundennummer";
// - completion as the user types (ergaenzungen).
// The rules are plain enough to be done alike elsewhere (the web pages' search does them in
// the browser); a change here must be made there too.
#pragma once

#include "VolltextWort.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace Volltext {

struct Vokabel
{
    QString schluessel; // Volltext::schluessel of the word
    QString wort;       // the spelling shown: the one most sections use
    QString form;       // the search form
    int abschnitte = 0; // sections holding the word in any spelling
};

// Correction: keys shorter than this are not corrected; up to KurzesWort characters one edit
// is allowed, beyond it two.
inline constexpr int MindestKorrektur = 3;
inline constexpr int KurzesWort = 4;
// Later compound parts: only forms of at least MindestTeil characters are looked for at the
// end of others, which must be at least TeilVorlauf characters longer; at most MaxTeile such
// compounds join the term, each weighted TeilGewicht in the score.
inline constexpr int MindestTeil = 4;
inline constexpr int TeilVorlauf = 3;
inline constexpr int MaxTeile = 20;
inline constexpr double TeilGewicht = 0.5;
// Completion: at most this many words.
inline constexpr int MaxErgaenzungen = 8;

class Wortschatz
{
public:
    Wortschatz() = default;
    // The entries in any order.
    explicit Wortschatz(QList<Vokabel> eintraege);

    bool leer() const { return m_eintraege.isEmpty(); }
    qsizetype groesse() const { return m_eintraege.size(); }
    // The entries ordered by key (UTF-16 code units).
    const QList<Vokabel> &eintraege() const { return m_eintraege; }

    // The word of the vocabulary a misspelt word stands for, or nullptr: among the keys at most
    // one edit (keys up to KurzesWort characters) or two edits (longer) away from the word's key,
    // the nearest; of equally near ones that of the most sections; then the smallest key. Words
    // with a digit are neither corrected nor offered (numbers and codes are no misspellings).
    const Vokabel *korrektur(QStringView wort) const;

    // The search forms of which the form is the later part: forms of the vocabulary that end
    // with it and are at least TeilVorlauf characters longer, and do not begin with it (the
    // prefix search finds those). Ordered by sections (of the entry with that form that has
    // most), then by form; at most MaxTeile. Empty for a form shorter than MindestTeil.
    QStringList spaetereTeile(const QString &form) const;

    // The entries packed for storing (zlib over lines "key TAB word TAB form TAB sections",
    // ordered by key), and back; a damaged or empty packing gives an empty vocabulary.
    QByteArray packen() const;
    static Wortschatz entpacken(const QByteArray &gepackt);
    // Does a packing unpack to any words? Cheaper than entpacken (nothing is read or ordered).
    static bool lesbar(const QByteArray &gepackt);

    // A compound word taken apart into two words of the vocabulary: the search forms of the
    // parts ("Skontofrist": "skonto", "frist"), or nothing. The last part has at least
    // MindestTeil characters and the first at least 3, a joining "s" belongs to neither; the
    // longest first part that fits is taken.
    QStringList zerlegung(QStringView wort) const;

    // Words that begin as the typed one (compared by key), for the completion list: most
    // sections first, then by key; at most anzahl; the spellings shown.
    QStringList ergaenzungen(QStringView anfang, int anzahl = MaxErgaenzungen) const;

private:
    QList<Vokabel> m_eintraege;
    // Each distinct form with the most sections of an entry having it, ordered by form.
    QList<QPair<QString, int>> m_formen;
};

// Gathers the vocabulary from the words of the sections, one section after the other: a
// section counts once per key, and of a key's spellings the one most sections use is shown
// (of equally used ones the smallest).
class WortschatzSammler
{
public:
    void neuerAbschnitt() { ++m_abschnitt; }
    // The words of a text of the current section (Volltext::woerter), taken into the
    // vocabulary.
    QList<Wort> woerter(const QString &text);
    Wortschatz ergebnis() const;

private:
    void wort(QStringView text, const QString &form);

    struct Schreibweise
    {
        QString text;
        qsizetype schluessel = 0;
        int abschnitte = 0;
        qint64 zuletzt = -1;
    };
    struct Eintrag
    {
        QString schluessel;
        QString form;
        int abschnitte = 0;
        qint64 zuletzt = -1;
    };
    QList<Schreibweise> m_schreibweisen;
    QList<Eintrag> m_eintraege;
    QHash<QString, qsizetype> m_schreibweiseNr, m_schluesselNr;
    qint64 m_abschnitt = 0;
};

} // namespace Volltext
