// The link markup of section texts (see Verweismarkup.h). The tags are found in a copy of the
// plain text (TextFeld's position space) that is changed in step with the document, so each
// tag costs one search and two deletions, not a new plain text. The deletions go straight to
// the document, keeping the format of every other character.
#include "Verweismarkup.h"
#include "TextFeld.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

bool Verweismarkup::oeffnerGueltig(const QString &text, int pos, int laenge)
{
    if (pos < 0 || pos + laenge > text.size())
        return false;
    for (int i = pos; i < pos + laenge; ++i)
        if (text[i] == QLatin1Char('\r') || text[i] == QLatin1Char('\n'))
            return false;
    return true;
}

namespace {

struct Verweise
{
    TextFeld &feld;
    QString text;
    QList<tVerweis> liste;
    std::vector<std::pair<int, int>> offen; // positions of links recorded so far (int)
    // Text positions of the "\r\n" pairs, kept in step with text. Tags never hold a break,
    // so a deletion only moves the breaks behind it.
    std::vector<int> umbrueche;
    QTextCursor cursor;

    int zuDokument(int textPos) const
    {
        const auto vorher = std::lower_bound(umbrueche.begin(), umbrueche.end(), textPos);
        return textPos - int(vorher - umbrueche.begin());
    }

    void loeschen(int von, int anzahl)
    {
        const int d = zuDokument(von);
        cursor.setPosition(d);
        cursor.setPosition(d + anzahl, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        text.remove(von, anzahl);
        for (auto it = std::lower_bound(umbrueche.begin(), umbrueche.end(), von);
             it != umbrueche.end(); ++it)
            *it -= anzahl;
        // Only for nested (not well-formed) links: keep earlier positions on their text.
        for (auto &[anfang, ende] : offen) {
            if (anfang > von)
                anfang = std::max(von, anfang - anzahl);
            if (ende > von)
                ende = std::max(von, ende - anzahl);
        }
    }
};

} // namespace

QList<tVerweis> Verweismarkup::tagsEntfernen(TextFeld &feld, bool nurText)
{
    Verweise v{feld, feld.text(), {tVerweis()}, {}, {}, QTextCursor(feld.dokument())};
    for (int i = v.text.indexOf(QLatin1String("\r\n")); i >= 0;
         i = v.text.indexOf(QLatin1String("\r\n"), i + 2))
        v.umbrueche.push_back(i);
    // All deletions form one edit: the document is laid out once, not after every tag.
    v.cursor.beginEditBlock();
    std::vector<QString> nummern, titel;
    std::vector<bool> istBild;
    int suchAb = 0;
    for (;;) {
        const int t = v.text.indexOf(QLatin1String("{T"), suchAb);
        const int p = nurText ? -1 : v.text.indexOf(QLatin1String("{P"), suchAb);
        if (t < 0 && p < 0)
            break;
        const bool bild = t < 0 || (p >= 0 && p < t);
        const int pos = bild ? p : t;
        const int laenge = bild ? 8 : 11;
        if (!oeffnerGueltig(v.text, pos, laenge)) {
            suchAb = pos + 1;
            continue;
        }
        const QString nummer = v.text.mid(pos + 2, laenge - 3);
        v.loeschen(pos, laenge);
        // Removing a tag may join a "{" before it with a "T" or "P" behind it.
        suchAb = std::max(0, pos - 1);
        const int e = v.text.indexOf(bild ? QLatin1String("{PE}") : QLatin1String("{TE}"), pos);
        if (e < 0)
            continue;
        v.offen.emplace_back(pos, e);
        nummern.push_back(nummer);
        istBild.push_back(bild);
        titel.push_back(bild ? v.text.mid(pos, e - pos) : QString());
        v.loeschen(e, 4);
    }
    v.cursor.endEditBlock();
    feld.invalidieren();
    feld.setzeSelStart(0);
    for (size_t i = 0; i < v.offen.size(); ++i) {
        const auto [anfang, ende] = v.offen[i];
        if (ende > MaxPosition)
            continue;
        tVerweis r;
        r.Anfang = qint16(anfang);
        r.Ende = qint16(ende);
        (istBild[i] ? r.BildNummer : r.TextNummer) = nummern[i];
        r.BildTitel = titel[i];
        v.liste.append(r);
    }
    return v.liste;
}

void Verweismarkup::darstellen(const QString &gespeicherterText, QTextDocument &anzeige,
                               QList<tVerweis> &mtVerweise, qint16 &miVerweisAnzahl)
{
    // Prepared without a layout; the display lays the document out once when it shows it.
    TextFeld feld(&anzeige, false);
    feld.setzeRtf(gespeicherterText);
    mtVerweise = tagsEntfernen(feld);
    miVerweisAnzahl = qint16(mtVerweise.size() - 1);
}

int Verweismarkup::verweisBei(const QList<tVerweis> &mtVerweise, qint16 miVerweisAnzahl, int k)
{
    if (k < 1)
        return 0;
    const int n = std::min<int>(miVerweisAnzahl, int(mtVerweise.size()) - 1);
    for (int i = 1; i <= n; ++i)
        if (mtVerweise[i].Anfang <= k && k <= mtVerweise[i].Ende)
            return i;
    return 0;
}
