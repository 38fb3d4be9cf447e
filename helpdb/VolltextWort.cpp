// Words and their search forms (see VolltextWort.h). The stemmer comes from libstemmer; one
// stemmer object serves the thread (it is not safe to share between threads).
#include "VolltextWort.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <algorithm>

#include <hunspell.hxx>
#include <libstemmer.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct StemmerLoeschen
{
    void operator()(sb_stemmer *s) const { sb_stemmer_delete(s); }
};

sb_stemmer *stemmer()
{
    thread_local std::unique_ptr<sb_stemmer, StemmerLoeschen> s(sb_stemmer_new("german", "UTF_8"));
    return s.get();
}

// The German dictionary that knows the base forms of inflected words; null when it is not
// installed (then only the stemmer reduces words).
Hunspell *woerterbuch()
{
    thread_local std::unique_ptr<Hunspell> h = []() -> std::unique_ptr<Hunspell> {
        const QString aff = QString::fromUtf8(Volltext::WoerterbuchPfad) + QStringLiteral(".aff");
        const QString dic = QString::fromUtf8(Volltext::WoerterbuchPfad) + QStringLiteral(".dic");
        if (!QFile::exists(aff) || !QFile::exists(dic))
            return nullptr;
        return std::make_unique<Hunspell>(QFile::encodeName(aff).constData(),
                                          QFile::encodeName(dic).constData());
    }();
    return h.get();
}

// Affixes of the dictionary that make another word rather than another form of the same one:
// "-ung" (Rechnung is no form of rechnen), "-bar", "-lich", "-chen", "-in"/"-innen", "un-",
// "ver-". An analysis through one of them gives no base form.
bool ableitend(QStringView flag)
{
    static const QSet<QString> ableitungen = {
        QStringLiteral("J"), QStringLiteral("B"), QStringLiteral("L"), QStringLiteral("M"),
        QStringLiteral("F"), QStringLiteral("g"), QStringLiteral("U"), QStringLiteral("V")};
    return ableitungen.contains(flag.toString());
}

// The base forms the dictionary gives for a word: from the analyses of a simple
// word (no compound) through inflection only. With nurFormenMitT, only those of a form in
// "-t", "-te", "-tes" (a verb's participle or past).
QStringList grundformen(const QString &wort, bool nurFormenMitT = false)
{
    Hunspell *h = woerterbuch();
    QStringList formen;
    if (!h)
        return formen;
    // Only the small-letter spelling: verbs and adjectives, whose forms the stemmer does not
    // bring together, are written so; nouns the stemmer handles. (Analysing the capitalised
    // spelling of every compound as well would take several times as long.)
    {
        for (const std::string &analyse : h->analyze(wort.toStdString())) {
            QString stamm;
            bool gut = true;
            bool mitT = false;
            for (const QString &teil :
                 QString::fromStdString(analyse).split(u' ', Qt::SkipEmptyParts)) {
                if (teil.startsWith(u"st:"))
                    stamm = teil.mid(3);
                else if (teil.startsWith(u"pa:"))
                    gut = false;
                else if (teil.startsWith(u"fl:")) {
                    gut = gut && !ableitend(QStringView(teil).mid(3));
                    mitT = mitT || teil == u"fl:X" || teil == u"fl:Y" || teil == u"fl:O";
                }
            }
            if (gut && !stamm.isEmpty() && (mitT || !nurFormenMitT))
                formen << stamm.toLower();
        }
    }
    return formen;
}

int gemeinsamerAnfang(const QString &a, const QString &b)
{
    int i = 0;
    while (i < a.size() && i < b.size() && a.at(i) == b.at(i))
        ++i;
    return i;
}

} // namespace

const QStringList &Volltext::trennbarePraefixe()
{
    static const QStringList p = {
        QStringLiteral("ab"),     QStringLiteral("an"),     QStringLiteral("auf"),
        QStringLiteral("aus"),    QStringLiteral("bei"),    QStringLiteral("durch"),
        QStringLiteral("ein"),    QStringLiteral("fest"),   QStringLiteral("frei"),
        QStringLiteral("her"),    QStringLiteral("hin"),    QStringLiteral("mit"),
        QStringLiteral("nach"),   QStringLiteral("um"),     QStringLiteral("vor"),
        QStringLiteral("weg"),    QStringLiteral("weiter"), QStringLiteral("wieder"),
        QStringLiteral("zu"),     QStringLiteral("zurück"), QStringLiteral("zusammen"),
        QStringLiteral("über"),   QStringLiteral("unter"),  QStringLiteral("dar"),
        QStringLiteral("voran"),  QStringLiteral("vorbei"), QStringLiteral("heraus"),
        QStringLiteral("herein"), QStringLiteral("hinzu"),
    };
    return p;
}

namespace {

// The base form of a word for the search: the dictionary's, as close to the word as it gives
// one ("stornierte", "storniere", "storniert" -> "stornieren"); for the participle of a weak
// verb, which the dictionary lists as a word of its own, the verb's ("angelegt" -> "anlegen",
// "gedruckte" -> "drucken"). Empty when the dictionary knows none.
QString grundform(const QString &wort)
{
    if (wort.size() < 4)
        return QString();
    for (const QChar c : wort)
        if (!c.isLetter())
            return QString();
    // Nouns by their suffix: the dictionary knows them only capitalised, so it has no base
    // form for them here, and asking it for every such compound takes much of the index build.
    if (wort.size() >= 7) {
        for (const char16_t *endung :
             {u"ung", u"ungen", u"heit", u"heiten", u"keit", u"keiten", u"schaft", u"schaften",
              u"tion", u"tionen", u"tät", u"täten"})
            if (wort.endsWith(QStringView(endung)))
                return QString();
    }
    const auto naechste = [&](const QStringList &formen) {
        QString beste;
        int laenge = -1;
        for (const QString &f : formen) {
            const int g = gemeinsamerAnfang(f, wort);
            if (g > laenge) {
                beste = f;
                laenge = g;
            }
        }
        return beste;
    };
    const QStringList formen = grundformen(wort);
    const bool verb = std::any_of(formen.cbegin(), formen.cend(),
                                  [&](const QString &f) { return f != wort && f.endsWith(u'n'); });
    if (!verb && wort.size() >= 6) {
        // "ge" at the start or behind a separable prefix: the rest must be a form in "-t" of a
        // verb ("angelegt" -> "anlegt" -> "anlegen").
        QStringList vorn{QString()};
        for (const QString &p : Volltext::trennbarePraefixe())
            if (wort.startsWith(p))
                vorn << p;
        for (const QString &p : std::as_const(vorn)) {
            if (QStringView(wort).mid(p.size()).startsWith(u"ge") &&
                wort.size() - p.size() - 2 >= 3) {
                const QString ohne = p + wort.mid(p.size() + 2);
                const QString f = naechste(grundformen(ohne, true));
                if (!f.isEmpty())
                    return f;
            }
        }
    }
    return naechste(formen);
}

bool vokal(QChar c)
{
    switch (c.unicode()) {
    case u'a':
    case u'e':
    case u'i':
    case u'o':
    case u'u':
    case u'y':
    case u'ä':
    case u'ö':
    case u'ü':
        return true;
    }
    return false;
}

bool konsonant(QChar c)
{
    return c.isLetter() && !vokal(c);
}

// Accents off, but for the umlauts, which the stemmer knows ("Café" is "cafe").
QString akzenteAusserUmlauten(const QString &s)
{
    QString aus;
    aus.reserve(s.size());
    for (QChar c : s) {
        if (c.unicode() < 0x80 || c == u'ä' || c == u'ö' || c == u'ü' || c == u'ß') {
            aus += c;
            continue;
        }
        for (QChar z : QString(c).normalized(QString::NormalizationForm_D)) {
            if (z.category() != QChar::Mark_NonSpacing)
                aus += z;
        }
    }
    return aus;
}

// Lower case, "ß" as "ss", accents off and the transcriptions "ae", "oe", "ue" as umlauts.
QString vorbereiten(QStringView wort)
{
    const QString klein = akzenteAusserUmlauten(wort.toString().toLower());
    QString aus;
    aus.reserve(klein.size());
    for (qsizetype i = 0; i < klein.size(); ++i) {
        const QChar c = klein.at(i);
        if (c == u'ß') {
            aus += QStringLiteral("ss");
            continue;
        }
        const bool folgtE = i + 1 < klein.size() && klein.at(i + 1) == u'e';
        const QChar vor = i > 0 ? klein.at(i - 1) : QChar();
        if (folgtE && (c == u'a' || c == u'o' || c == u'u') && !vokal(vor) &&
            !(c == u'u' && vor == u'q')) {
            aus += c == u'a' ? u'ä' : c == u'o' ? u'ö' : u'ü';
            ++i; // the "e" is part of the umlaut
            continue;
        }
        aus += c;
    }
    return aus;
}

// Words too common to tell sections apart, written as vorbereiten() leaves them. They are
// neither indexed nor searched; a phrase skips them on both sides alike, so "Art der Zahlung"
// still finds the text "Art der Zahlung".
const QSet<QString> &stoppwortMenge()
{
    static const QSet<QString> woerter = [] {
        QSet<QString> s;
        for (const char *w :
             {"aber", "alle", "allem", "allen", "aller", "alles", "als", "also", "am", "an", "auch",
              "auf", "aus", "bei", "beim", "bin", "bis", "bist", "da", "damit", "dann", "das",
              "dass", "dem", "den", "denn", "der", "des", "dessen", "die", "dies", "diese",
              "diesem", "diesen", "dieser", "dieses", "doch", "du", "durch", "ein", "eine", "einem",
              "einen", "einer", "eines", "er", "es", "etwa", "euch", "für", "hat", "hatte", "ich",
              "ihm", "ihn", "ihr", "ihre", "ihrem", "ihren", "ihrer", "im", "in", "ins", "ist",
              "ja", "kann", "man", "mit", "nach", "nicht", "noch", "nur", "ob", "oder", "ohne",
              "sein", "seine", "sich", "sie", "sind", "so", "soll", "über", "um", "und", "uns",
              "unter", "vom", "von", "vor", "war", "was", "weil", "wenn", "werden", "wie", "wir",
              "wird", "wo", "zu", "zum", "zur", "zwar",
              // Words of a question and of how people ask: pronouns, auxiliary and modal
              // verbs, question words.
              "mein", "meine", "meinem", "meinen", "meiner", "dein", "deine", "unser", "unsere",
              "euer", "mich", "mir", "dich", "dir", "kein", "keine", "keinen", "einmal", "muss",
              "müssen", "musst", "können", "kannst", "sollen", "sollte", "will", "wollen", "möchte",
              "möchten", "darf", "dürfen", "habe", "haben", "hast", "werde", "wurde", "wurden",
              "welche", "welchem", "welchen", "welcher", "welches", "warum", "wann", "wer", "wen",
              "wem", "wieso", "weshalb", "wofür", "womit", "wozu", "woran", "wodurch", "wohin",
              "woher", "bitte", "gibt", "geht"})
            s.insert(QString::fromUtf8(w));
        return s;
    }();
    return woerter;
}

// Accents off (the stemmer has already turned umlauts into their base letters).
QString ohneAkzente(const QString &s)
{
    bool nurAscii = true;
    for (QChar c : s)
        nurAscii = nurAscii && c.unicode() < 0x80;
    if (nurAscii)
        return s;
    const QString zerlegt = s.normalized(QString::NormalizationForm_D);
    QString aus;
    aus.reserve(zerlegt.size());
    for (QChar c : zerlegt) {
        if (c.category() != QChar::Mark_NonSpacing)
            aus += c;
    }
    return aus;
}

} // namespace

namespace Volltext {

bool wortZeichen(QChar c)
{
    return c.isLetterOrNumber();
}

namespace {

QString formBilden(QStringView wort)
{
    const QString vorbereitet = vorbereiten(wort);
    if (stoppwortMenge().contains(vorbereitet))
        return QString();
    // The stemmer alone maps forms of one word to different stems; their base form first.
    const QString grund = grundform(vorbereitet);
    const QString basis = grund.isEmpty() ? vorbereitet : grund;
    QString form;
    if (sb_stemmer *s = stemmer()) {
        const QByteArray u = basis.toUtf8();
        const sb_symbol *ergebnis =
            sb_stemmer_stem(s, reinterpret_cast<const sb_symbol *>(u.constData()), int(u.size()));
        form = ergebnis ? QString::fromUtf8(reinterpret_cast<const char *>(ergebnis),
                                            sb_stemmer_length(s))
                        : basis;
    } else {
        form = basis;
    }
    // Weak verbs: "erstellt", "erstellte" (stem "erstellt") meet "erstellen" (stem "erstell"),
    // "verwendet" meets "verwenden". Short stems keep their "t" ("Wert", "Rat").
    const qsizetype n = form.size();
    if (n >= 7 && form.endsWith(u"et") && (form.at(n - 3) == u'd' || form.at(n - 3) == u't'))
        form.chop(2);
    else if (n >= 6 && form.at(n - 1) == u't' && konsonant(form.at(n - 2)) &&
             form.at(n - 2) != u't')
        form.chop(1);
    return ohneAkzente(form);
}

} // namespace

QString suchform(QStringView wort)
{
    if (wort.isEmpty())
        return QString();
    // Texts repeat their words: the forms found so far are kept (a bounded number of them).
    thread_local QHash<QString, QString> bekannt;
    // The lookup borrows the characters; only a new word is copied.
    const auto it = bekannt.constFind(QString::fromRawData(wort.data(), wort.size()));
    if (it != bekannt.constEnd())
        return *it;
    if (bekannt.size() >= 200000)
        bekannt.clear();
    const QString form = formBilden(wort);
    bekannt.insert(wort.toString(), form);
    return form;
}

QStringList stoppwoerter()
{
    QStringList liste(stoppwortMenge().cbegin(), stoppwortMenge().cend());
    liste.sort();
    return liste;
}

QString schluessel(QStringView wort)
{
    return vorbereiten(wort);
}

int abstand(QStringView a, QStringView b, int hoechstens)
{
    const qsizetype n = a.size();
    const qsizetype m = b.size();
    if (std::abs(n - m) > hoechstens)
        return hoechstens + 1;
    // Three rows of the table: two back (for a swap), the last one and the new one.
    std::vector<int> z2(size_t(m + 1)), z1(size_t(m + 1)), z0(size_t(m + 1));
    for (qsizetype j = 0; j <= m; ++j)
        z1[size_t(j)] = int(j);
    for (qsizetype i = 1; i <= n; ++i) {
        z0[0] = int(i);
        int kleinste = z0[0];
        for (qsizetype j = 1; j <= m; ++j) {
            const int kosten = a[i - 1] == b[j - 1] ? 0 : 1;
            int d =
                std::min({z1[size_t(j)] + 1, z0[size_t(j - 1)] + 1, z1[size_t(j - 1)] + kosten});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d = std::min(d, z2[size_t(j - 2)] + 1);
            z0[size_t(j)] = d;
            kleinste = std::min(kleinste, d);
        }
        // Every later value is at least the smallest of this row.
        if (kleinste > hoechstens)
            return hoechstens + 1;
        std::swap(z2, z1);
        std::swap(z1, z0);
    }
    return std::min(z1[size_t(m)], hoechstens + 1);
}

QList<Wort> woerter(QStringView text)
{
    QList<Wort> liste;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && !wortZeichen(text[i]))
            ++i;
        const qsizetype anfang = i;
        while (i < n && wortZeichen(text[i]))
            ++i;
        if (i == anfang)
            continue;
        QString form = suchform(text.mid(anfang, i - anfang));
        if (!form.isEmpty())
            liste.append(Wort{int(anfang), int(i - anfang), std::move(form)});
    }
    return liste;
}

} // namespace Volltext
