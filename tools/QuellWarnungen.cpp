// Warnings about the help sources (see QuellWarnungen.h).
#include "QuellWarnungen.h"

#include "Arbeitsbereich.h"
#include "Beschreibungsdruck.h"
#include "HilfeLayout.h"
#include "TolvarDrucker.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QSet>

#include <algorithm>
#include <functional>

namespace {

// Words that say nothing about a link's target: articles, prepositions, pronouns and the
// fillers of link texts ("siehe dort", "mehr dazu"). Folded like the words compared.
const QSet<QString> &fuellwoerter()
{
    static const QSet<QString> woerter = [] {
        const QStringList liste =
            QStringLiteral(
                "der die das den dem des und oder mit fuer ohne im in von vom zu zum zur ein "
                "eine einen einem einer eines hier dort siehe unter auf aus bei beim wie sie ihr "
                "ihre ihren ihrem ihrer sich nach vor ueber an am als auch nicht noch nur wird "
                "werden ist sind kann koennen wenn dann was wer wo wann warum welche welcher "
                "welches dies diese dieser dieses mehr dazu dabei davon darueber hierzu weitere "
                "weiteren naeheres abschnitt kapitel seite lesen so es man alle allen alles neu "
                "neue neuen neuer neues")
                .split(QLatin1Char(' '));
        return QSet<QString>(liste.cbegin(), liste.cend());
    }();
    return woerter;
}

// Words shorter than this carry too little to compare ("E" of "E-Rechnung", "Nr").
constexpr int MindestLaenge = 3;
// Two words that begin with this many equal letters are taken for forms of one word.
constexpr int GemeinsamerAnfang = 5;
// The shortest tail of a compound that is compared on its own.
constexpr int KleinsterTeil = 5;

QStringList inhaltsWoerter(const QString &text)
{
    QStringList woerter;
    QString wort;
    const auto abschliessen = [&] {
        const QString f = QuellWarnungen::falten(wort);
        wort.clear();
        if (f.size() >= MindestLaenge && !fuellwoerter().contains(f))
            woerter << f;
    };
    for (const QChar c : text) {
        if (c.isLetterOrNumber())
            wort += c;
        else
            abschliessen();
    }
    abschliessen();
    return woerter;
}

qsizetype anfangLaenge(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    qsizetype i = 0;
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

// One word begins with the other, or both begin with the same GemeinsamerAnfang letters.
bool gleicherStamm(QStringView a, QStringView b)
{
    const qsizetype gleich = anfangLaenge(a, b);
    return gleich == std::min(a.size(), b.size()) || gleich >= GemeinsamerAnfang;
}

// a's tails from KleinsterTeil letters on, each compared with b as a whole word: the head of a
// compound ("rechnung" in "eingangsrechnung") matches the simple word and its forms.
bool teilPasst(QStringView a, QStringView b)
{
    for (qsizetype i = MindestLaenge; a.size() - i >= KleinsterTeil; ++i) {
        const QStringView teil = a.mid(i);
        if (anfangLaenge(teil, b) >= std::min<qsizetype>(GemeinsamerAnfang, b.size()))
            return true;
    }
    return false;
}

bool woerterPassen(const QString &a, const QString &b)
{
    return gleicherStamm(a, b) || teilPasst(a, b) || teilPasst(b, a);
}

// The width of an average character of a font: a typical German title measured and divided.
double zeichenBreite(const std::function<double(const QString &)> &breite)
{
    static const QString probe =
        QStringLiteral("Rechnungen erfassen, Zahlungseingänge buchen und Mahnungen schreiben");
    return breite(probe) / double(probe.size());
}

// The page header as the help prints it: the help server's font, A4 (the default paper).
struct Kopfzeile
{
    double platz = 0;   // mm beside the product name
    double zeichen = 1; // mm of an average character
    TolvarDrucker drucker;

    Kopfzeile()
    {
        drucker.Schriftname = QStringLiteral("Arial");
        drucker.Schriftgroesse = 10;
        drucker.Fett = true;
        platz = Beschreibungsdruck::KopfTitelPlatz(drucker);
        zeichen = zeichenBreite([this](const QString &s) { return drucker.Textbreite(s); });
    }
    double breite(const QString &titel) const { return drucker.Textbreite(titel); }
};

// The tab rows of the help window, in the application's font. A tab is as wide as its caption
// and the style's space around it; it may take half the topic row at the window's start size,
// so that its neighbours stay in view.
struct Kartenreihe
{
    static constexpr double Rand = 24; // the style's space around a caption (pixels)
    double platz = 0;                  // pixels for a caption
    double zeichen = 1;
    QFontMetricsF metrik{QGuiApplication::font()};

    Kartenreihe()
    {
        platz = twipsZuPixelX(HilfeStartGeometrie::tabSub.breite) / 2 - Rand;
        zeichen = zeichenBreite([this](const QString &s) { return metrik.horizontalAdvance(s); });
    }
    double breite(const QString &titel) const { return metrik.horizontalAdvance(titel); }
};

const Kopfzeile &kopfzeile()
{
    static const Kopfzeile k;
    return k;
}

const Kartenreihe &kartenreihe()
{
    static const Kartenreihe k;
    return k;
}

} // namespace

QString QuellWarnungen::falten(const QString &wort)
{
    QString aus;
    aus.reserve(wort.size() + 2);
    for (const QChar c : wort.toLower()) {
        switch (c.unicode()) {
        case u'ä':
            aus += QLatin1String("ae");
            break;
        case u'ö':
            aus += QLatin1String("oe");
            break;
        case u'ü':
            aus += QLatin1String("ue");
            break;
        case u'ß':
            aus += QLatin1String("ss");
            break;
        default:
            aus += c;
        }
    }
    return aus;
}

namespace QuellWarnungen {

bool linkTextPasst(const QString &linkText, const QString &titel)
{
    const QStringList link = inhaltsWoerter(linkText);
    if (link.isEmpty())
        return true;
    const QStringList ziel = inhaltsWoerter(titel);
    for (const QString &a : link)
        for (const QString &b : ziel)
            if (woerterPassen(a, b))
                return true;
    return false;
}

bool linkTextPasst(const QString &linkText, const QStringList &titel)
{
    return std::any_of(titel.cbegin(), titel.cend(),
                       [&](const QString &t) { return linkTextPasst(linkText, t); });
}

int kopfzeileZeichen()
{
    return int(kopfzeile().platz / kopfzeile().zeichen);
}

int registerkarteZeichen()
{
    return int(kartenreihe().platz / kartenreihe().zeichen);
}

QString titelZuLang(int ebene, const QString &titel)
{
    const bool kopf = kopfzeile().breite(titel) > kopfzeile().platz;
    const bool karte = ebene < 3 && kartenreihe().breite(titel) > kartenreihe().platz;
    if (!kopf && !karte)
        return {};
    int zeichen = kopf ? kopfzeileZeichen() : registerkarteZeichen();
    if (kopf && karte)
        zeichen = std::min(zeichen, registerkarteZeichen());
    QString ort;
    if (karte)
        ort = QStringLiteral("die Registerkarte im Hilfefenster");
    if (kopf)
        ort += (karte ? QStringLiteral(" und ") : QString()) +
               QStringLiteral("die Kopfzeile des Ausdrucks");
    return QStringLiteral("Titel ist zu lang für %1 (höchstens etwa %2 Zeichen)")
        .arg(ort)
        .arg(zeichen);
}

} // namespace QuellWarnungen
