// The link markup of section texts (see Verweismarkup.h). The tags are found in a copy of the
// plain text (TextFeld's position space) that is changed in step with the document, so each
// tag costs one search and two deletions, not a new plain text. The deletions go straight to
// the document, keeping the format of every other character.
#include "Verweismarkup.h"
#include "TextFeld.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
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

// The plain text of the box while its tags are cut out, as a gap buffer: the text is
// buf[0, luecke) followed by buf[ende, buf.size()). The tags are cut out in reading order and
// every search starts close to the last cut, so moving the gap there costs little; cutting a
// tag out only widens the gap. The whole rendering thus takes time linear in the text, not in
// the text times the number of tags.
class Arbeitstext
{
public:
    explicit Arbeitstext(const QString &text) : mBuf(text), mLuecke(0), mEnde(0)
    {
        for (qsizetype i = text.indexOf(QLatin1String("\r\n")); i >= 0;
             i = text.indexOf(QLatin1String("\r\n"), i + 2))
            mHinten.push_back(int(text.size() - i));
        std::reverse(mHinten.begin(), mHinten.end());
    }

    int laenge() const { return int(mBuf.size() - (mEnde - mLuecke)); }

    QChar zeichen(int i) const { return i < mLuecke ? mBuf[i] : mBuf[i + (mEnde - mLuecke)]; }

    QString mid(int von, int anzahl)
    {
        lueckeNach(von);
        return mBuf.mid(mEnde, anzahl);
    }

    // Position of the first '{' at or after ab that is followed by one of the letters; -1 if
    // there is none.
    int findeOeffner(int ab, bool auchText, bool auchBild)
    {
        lueckeNach(ab);
        for (qsizetype i = mEnde; i + 1 < mBuf.size(); ++i) {
            if (mBuf[i] != QLatin1Char('{'))
                continue;
            const QChar n = mBuf[i + 1];
            if ((auchText && n == QLatin1Char('T')) || (auchBild && n == QLatin1Char('P')))
                return int(i - mEnde + ab);
        }
        return -1;
    }

    // Position of the first closing tag ("{TE}" or "{PE}") at or after ab; -1 if there is none.
    // A search that finds none is remembered, so that many tags without a closing tag do not
    // search the rest of the text again each.
    int findeSchluss(bool bild, int ab)
    {
        int &ohne = mOhneSchluss[bild];
        if (ohne >= 0 && ab >= ohne)
            return -1;
        lueckeNach(ab);
        const qsizetype i = QStringView(mBuf).sliced(mEnde).indexOf(bild ? QLatin1String("{PE}")
                                                                         : QLatin1String("{TE}"));
        if (i >= 0)
            return int(i + ab);
        ohne = ohne >= 0 ? std::min(ohne, ab) : ab;
        return -1;
    }

    bool oeffnerGueltig(int pos, int laenge) const
    {
        if (pos < 0 || pos + laenge > this->laenge())
            return false;
        for (int i = pos; i < pos + laenge; ++i)
            if (zeichen(i) == QLatin1Char('\r') || zeichen(i) == QLatin1Char('\n'))
                return false;
        return true;
    }

    // Tags never hold a break, so breaks are only moved, never removed.
    void loeschen(int von, int anzahl)
    {
        lueckeNach(von);
        mEnde += anzahl;
        // Text behind the cut moves forward; the cut may join a closing tag of its own.
        for (int bild = 0; bild < 2; ++bild) {
            int &ohne = mOhneSchluss[bild];
            if (ohne < 0)
                continue;
            if (ohne > von)
                ohne = std::max(von, ohne - anzahl);
            const QLatin1String schluss = bild ? QLatin1String("{PE}") : QLatin1String("{TE}");
            for (int a = std::max(ohne, von - 3); a < von && a + 4 <= laenge(); ++a) {
                bool gleich = true;
                for (int j = 0; j < 4 && gleich; ++j)
                    gleich = zeichen(a + j) == QLatin1Char(schluss[j]);
                if (gleich)
                    ohne = -1;
            }
        }
    }

    // Number of "\r\n" pairs that begin before position pos.
    int umbruecheVor(int pos) const
    {
        if (pos <= mLuecke)
            return int(std::lower_bound(mVorn.begin(), mVorn.end(), pos) - mVorn.begin());
        // mHinten holds distances from the end, largest (nearest the gap) last.
        const int abstand = laenge() - pos;
        return int(mVorn.size()) +
               int(mHinten.end() - std::upper_bound(mHinten.begin(), mHinten.end(), abstand));
    }

private:
    void lueckeNach(int pos)
    {
        const qsizetype breite = mEnde - mLuecke;
        if (pos < mLuecke) {
            std::copy_backward(mBuf.constBegin() + pos, mBuf.constBegin() + mLuecke,
                               mBuf.begin() + mEnde);
            while (!mVorn.empty() && mVorn.back() >= pos) {
                mHinten.push_back(laenge() - mVorn.back());
                mVorn.pop_back();
            }
        } else if (pos > mLuecke) {
            std::copy(mBuf.constBegin() + mEnde, mBuf.constBegin() + pos + breite,
                      mBuf.begin() + mLuecke);
            while (!mHinten.empty() && laenge() - mHinten.back() < pos) {
                mVorn.push_back(laenge() - mHinten.back());
                mHinten.pop_back();
            }
        }
        mLuecke = pos;
        mEnde = pos + breite;
    }

    QString mBuf;
    qsizetype mLuecke, mEnde;
    // From this position on there is no "{TE}" (index 0) or "{PE}" (index 1); -1: not known.
    int mOhneSchluss[2] = {-1, -1};
    // Breaks before the gap by position, breaks behind it by distance from the end; neither
    // changes when a tag at the gap is cut out.
    std::vector<int> mVorn;
    std::vector<int> mHinten;
};

struct Verweise
{
    TextFeld &feld;
    Arbeitstext text;
    QList<tVerweis> liste;
    std::vector<std::pair<int, int>> offen; // positions of links recorded so far (int)
    // Links that may still move: those that end behind the next cut. Cuts only come later in
    // the text, so a link is dropped from here once the search has passed its end; only
    // nested links (not well formed) stay here for long.
    std::vector<size_t> beweglich;
    QTextCursor cursor;

    int zuDokument(int textPos) const { return textPos - text.umbruecheVor(textPos); }

    void loeschen(int von, int anzahl)
    {
        const int d = zuDokument(von);
        cursor.setPosition(d);
        cursor.setPosition(d + anzahl, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        text.loeschen(von, anzahl);
        // Only for nested (not well-formed) links: keep earlier positions on their text.
        for (size_t i : beweglich) {
            auto &[anfang, ende] = offen[i];
            if (anfang > von)
                anfang = std::max(von, anfang - anzahl);
            if (ende > von)
                ende = std::max(von, ende - anzahl);
        }
    }

    // Links that end at or before ab cannot move any more: every later cut is behind ab.
    void festschreiben(int ab)
    {
        std::erase_if(beweglich, [&](size_t i) { return offen[i].second <= ab; });
    }
};

} // namespace

QList<tVerweis> Verweismarkup::tagsEntfernen(TextFeld &feld, bool nurText)
{
    return tagsEntfernen(feld, nurText ? Tags::NurText : Tags::Alle, nullptr);
}

QList<tVerweis> Verweismarkup::tagsEntfernen(TextFeld &feld, Tags welche,
                                             std::vector<Fundstelle> *alle)
{
    Verweise v{feld, Arbeitstext(feld.text()), {tVerweis()}, {}, {}, QTextCursor(feld.dokument())};
    // All deletions form one edit: the document is laid out once, not after every tag.
    v.cursor.beginEditBlock();
    std::vector<QString> nummern, titel;
    std::vector<bool> istBild;
    int suchAb = 0;
    for (;;) {
        v.festschreiben(suchAb);
        const int pos =
            v.text.findeOeffner(suchAb, welche != Tags::NurBild, welche != Tags::NurText);
        if (pos < 0)
            break;
        const bool bild = v.text.zeichen(pos + 1) == QLatin1Char('P');
        const int laenge = bild ? 8 : 11;
        if (!v.text.oeffnerGueltig(pos, laenge)) {
            suchAb = pos + 1;
            continue;
        }
        const QString nummer = v.text.mid(pos + 2, laenge - 3);
        v.loeschen(pos, laenge);
        // Removing a tag may join a "{" before it with a "T" or "P" behind it.
        suchAb = std::max(0, pos - 1);
        const int e = v.text.findeSchluss(bild, pos);
        if (e < 0)
            continue;
        v.offen.emplace_back(pos, e);
        v.beweglich.push_back(v.offen.size() - 1);
        nummern.push_back(nummer);
        istBild.push_back(bild);
        titel.push_back(bild ? v.text.mid(pos, e - pos) : QString());
        v.loeschen(e, 4);
    }
    v.cursor.endEditBlock();
    feld.invalidieren();
    feld.setzeSelStart(0);
    if (alle) {
        alle->reserve(alle->size() + v.offen.size());
        for (size_t i = 0; i < v.offen.size(); ++i)
            alle->push_back({v.offen[i].first, v.offen[i].second, bool(istBild[i]), nummern[i]});
    }
    for (size_t i = 0; i < v.offen.size(); ++i) {
        const auto [anfang, ende] = v.offen[i];
        if (ende > MaxPosition)
            continue;
        // The link count is 16-bit as well: links beyond that many are not recorded.
        if (v.liste.size() > MaxPosition)
            break;
        tVerweis r;
        r.Anfang = qint16(anfang);
        r.Ende = qint16(ende);
        (istBild[i] ? r.BildNummer : r.TextNummer) = nummern[i];
        r.BildTitel = titel[i];
        v.liste.append(r);
    }
    return v.liste;
}

QString Verweismarkup::gekuerztHinweis()
{
    return QStringLiteral("[Der Abschnitt ist zu lang und wird gek\u00FCrzt angezeigt.]");
}

bool Verweismarkup::darstellen(const QString &gespeicherterText, QTextDocument &anzeige,
                               QList<tVerweis> &mtVerweise, qint16 &miVerweisAnzahl,
                               qint64 maxZeichen)
{
    // Prepared without a layout; the display lays the document out once when it shows it.
    TextFeld feld(&anzeige, false);
    RtfLeser::Grenzen grenzen;
    grenzen.maxZeichen = maxZeichen;
    const bool gekuerzt = feld.setzeRtf(gespeicherterText, grenzen).gekuerzt;
    mtVerweise = tagsEntfernen(feld);
    miVerweisAnzahl = qint16(mtVerweise.size() - 1);
    // The note is added after the tags are cut out: it is no part of the text's markup.
    if (gekuerzt)
        gekuerztHinweisAnfuegen(anzeige);
    return gekuerzt;
}

void Verweismarkup::gekuerztHinweisAnfuegen(QTextDocument &anzeige)
{
    QTextCursor c(&anzeige);
    c.movePosition(QTextCursor::End);
    // In the font of the text's end (not its colours or links), in italics.
    const QTextCharFormat ende = c.charFormat();
    QTextCharFormat f;
    if (!ende.isImageFormat()) {
        if (ende.hasProperty(QTextFormat::FontFamilies))
            f.setFontFamilies(ende.fontFamilies().toStringList());
        if (ende.hasProperty(QTextFormat::FontPointSize))
            f.setFontPointSize(ende.fontPointSize());
    }
    f.setFontItalic(true);
    c.insertBlock(QTextBlockFormat(), f);
    c.insertText(gekuerztHinweis(), f);
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
