// The words of a text as the full-text search sees them. A word is a run of letters and digits;
// everything else separates words. Each word is reduced to a search form that the index stores
// and the query looks up, so that German is found as people type it:
// - case does not count;
// - "ß" is "ss", and "ae", "oe", "ue" count as "ä", "ö", "ü" (not after a vowel, and "ue" not
//   after "q": "Steuer", "Bauer", "Quelle" keep their letters);
// - a word the German dictionary (Hunspell, WoerterbuchPfad) knows as an inflected form is
//   first taken back to its base form, so that "stornierte", "storniere" and "storniert" meet
//   "stornieren" (the stemmer alone gives them different stems); only inflection counts, not
//   derivation ("Rechnung" stays apart from "rechnen"), and the participle of a weak verb
//   finds its verb ("angelegt" -> "anlegen");
// - inflected forms share a stem (Snowball German stemmer): "Rechnungen" -> "rechnung";
//   a participle or past form in "-t"/"-et" loses it, so "erstellt" and "erstellen" meet in
//   "erstell";
// - umlauts and other accents are dropped after stemming ("Größe" and "Groesse" -> "gross");
// - the most common function words ("der", "und", "für", ...) have no search form: they are
//   neither indexed nor searched.
// Index and query must both go through suchform(); a change to it needs a new index version
// (VolltextIndex::Version).
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace Volltext {

// The German Hunspell dictionary (".aff" and ".dic" appended). Without it, words are only
// stemmed; an index built with it does not fit searches without it (VolltextIndex::Version).
inline constexpr const char *WoerterbuchPfad = "/usr/share/hunspell/de_DE";

// One word of a text: where it stands (UTF-16 positions of the text) and its search form.
struct Wort
{
    int anfang = 0;
    int laenge = 0;
    QString form;
};

// The search form of one word (letters and digits only; empty for an empty word and for a
// function word).
QString suchform(QStringView wort);

// The words of a text that have a search form, in order.
QList<Wort> woerter(QStringView text);

// The function words that have no search form, as schluessel() writes them.
QStringList stoppwoerter();

// Prefixes of German verbs that go apart from the verb and take "ge" behind them in the
// participle ("anlegen" - "angelegt"), in small letters, longest last where one begins another.
const QStringList &trennbarePraefixe();

// True for the characters that belong to a word.
bool wortZeichen(QChar c);

// The key of a word in the index's vocabulary (VolltextWortschatz.h): the first step of its
// search form, which keeps the word whole: lower case, "ß" as "ss", accents off but for the
// umlauts, "ae", "oe", "ue" as umlauts (with the exceptions above).
QString schluessel(QStringView wort);

// The number of edits between two words: a letter more, less, another, or two neighbours
// swapped (optimal string alignment); any value above hoechstens is given as hoechstens + 1,
// which ends the count early.
int abstand(QStringView a, QStringView b, int hoechstens = 1 << 20);

} // namespace Volltext
