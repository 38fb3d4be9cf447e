// RTF output of sections; see RtfErzeuger.h.
#include "RtfErzeuger.h"

#include <algorithm>

namespace {

// Colour table: 1 = text links (blue), 2 = picture links (dark green).
const char *const kopf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 "
                         "Arial;}}\r\n{\\colortbl ;\\red0\\green0\\blue255;\\red0\\green128"
                         "\\blue0;}\r\n\\viewkind4\\uc1";

// Hanging indent of list items and the left indent of notes, in twips.
constexpr int einzug = 360;

QString linkMarke(const TextStueck &s, bool anfang)
{
    if (s.verweis == TextStueck::Verweis::Text)
        return anfang ? QStringLiteral("{T%1}").arg(s.ziel) : QStringLiteral("{TE}");
    return anfang ? QStringLiteral("{P%1}").arg(s.ziel.toInt(), 5, 10, QLatin1Char('0'))
                  : QStringLiteral("{PE}");
}

QString praefix(const TextBlock &b)
{
    switch (b.art) {
    case TextBlock::Art::Aufzaehlung:
        return QStringLiteral("\u2022\t");
    case TextBlock::Art::Nummeriert:
        return b.nummer + QStringLiteral(".\t");
    default:
        return QString();
    }
}

// Items of one list (same kind) follow each other without an empty paragraph.
bool istListe(TextBlock::Art a)
{
    return a == TextBlock::Art::Aufzaehlung || a == TextBlock::Art::Nummeriert;
}

// Empty paragraphs between two blocks, as writers separate them in a rich-text editor: one,
// none between items of one list. The paragraph in which a table starts and the one behind it
// take no room on screen or paper (the text layout hides an empty paragraph next to a table),
// so the paragraph behind a table is one more.
int trennabsaetze(TextBlock::Art vorige, TextBlock::Art art)
{
    if (vorige == TextBlock::Art::Tabelle)
        return 2;
    return istListe(art) && art == vorige ? 0 : 1;
}

// The runs of one paragraph or cell; fettAlle makes every run bold (a header cell), hinweis
// every run italic (a note).
QString laeufe(const QList<TextStueck> &stuecke, bool fettAlle, bool hinweis)
{
    QString rtf;
    for (const TextStueck &s : stuecke) {
        QString schalter;
        if (s.fett || fettAlle)
            schalter += QStringLiteral("\\b");
        if (s.kursiv || hinweis)
            schalter += QStringLiteral("\\i");
        if (s.verweis == TextStueck::Verweis::Text)
            schalter += QStringLiteral("\\cf1\\ul");
        else if (s.verweis == TextStueck::Verweis::Bild)
            schalter += QStringLiteral("\\cf2\\ul");
        else if (s.unterstrichen)
            schalter += QStringLiteral("\\ul");
        const QString inhalt =
            s.verweis == TextStueck::Verweis::Kein
                ? RtfErzeuger::maskieren(s.text)
                : RtfErzeuger::maskieren(linkMarke(s, true) + s.text + linkMarke(s, false));
        if (schalter.isEmpty())
            rtf += inhalt;
        else
            rtf += QLatin1Char('{') + schalter + QLatin1Char(' ') + inhalt + QLatin1Char('}');
    }
    return rtf;
}

// Width of a table: what fits the help window and the printed page.
constexpr int tabellenBreite = 9000;
// Space between a cell's text and its border, each side, in twips.
constexpr int zellenAbstand = 70;

QString zellenText(const TextBlock &b, const TextBlock::Zelle &zelle)
{
    QString text;
    for (const TextStueck &s : b.stueckeVon(zelle))
        text += s.text;
    return text;
}

// Right edges of the columns in twips: each column as wide as its longest cell text (at an
// average of 110 twips per character, at least four characters), the whole table narrowed
// proportionally to tabellenBreite when it would be wider.
QList<int> spaltenRaender(const TextBlock &b)
{
    const qsizetype spalten = b.ausrichtung.size();
    QList<qsizetype> zeichen(spalten, 4);
    for (const QList<TextBlock::Zelle> &zeile : b.zeilen)
        for (qsizetype s = 0; s < spalten && s < zeile.size(); ++s)
            zeichen[s] = std::max(zeichen[s], zellenText(b, zeile[s]).size());
    qint64 summe = 0;
    for (const qsizetype z : zeichen)
        summe += z * 110 + 2 * zellenAbstand;
    QList<int> raender;
    qint64 rand = 0;
    for (const qsizetype z : zeichen) {
        const qint64 breite = z * 110 + 2 * zellenAbstand;
        rand += summe > tabellenBreite ? breite * tabellenBreite / summe : breite;
        raender << int(rand);
    }
    return raender;
}

QString tabelle(const TextBlock &b, bool schrift)
{
    QString zeilenKopf = QStringLiteral("\\trowd\\trgaph%1\\trleft0").arg(zellenAbstand);
    for (const int rand : spaltenRaender(b)) {
        // A thin border on every side of the cell.
        for (const char *seite : {"t", "l", "b", "r"})
            zeilenKopf += QStringLiteral("\\clbrdr%1\\brdrs\\brdrw10").arg(QLatin1String(seite));
        zeilenKopf += QStringLiteral("\\cellx%1").arg(rand);
    }
    QString rtf;
    for (qsizetype z = 0; z < b.zeilen.size(); ++z) {
        rtf += zeilenKopf + QStringLiteral("\r\n");
        const QList<TextBlock::Zelle> &zeile = b.zeilen[z];
        for (qsizetype s = 0; s < zeile.size(); ++s) {
            rtf += QStringLiteral("\\pard\\intbl");
            switch (b.ausrichtung.value(s)) {
            case TextBlock::Ausrichtung::Links:
                rtf += QStringLiteral("\\ql");
                break;
            case TextBlock::Ausrichtung::Rechts:
                rtf += QStringLiteral("\\qr");
                break;
            case TextBlock::Ausrichtung::Mitte:
                rtf += QStringLiteral("\\qc");
                break;
            }
            if (schrift && z == 0 && s == 0)
                rtf += QStringLiteral("\\f0\\fs20");
            rtf += QLatin1Char(' ') + laeufe(b.stueckeVon(zeile[s]), b.kopfzeile && z == 0, false) +
                   QStringLiteral("\\cell");
        }
        rtf += QStringLiteral("\\row\r\n");
    }
    return rtf;
}

} // namespace

int RtfErzeuger::cp1252(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    static const char16_t oben[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    for (int i = 0; i < 32; ++i) {
        if (oben[i] == c)
            return 0x80 + i;
    }
    return -1;
}

QString RtfErzeuger::maskieren(const QString &text)
{
    QString aus;
    aus.reserve(text.size() + 16);
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            aus += QLatin1Char('\\');
            aus += qc;
        } else if (c == u'\t') {
            aus += QStringLiteral("\\tab ");
        } else if (c < 0x20) {
            continue; // other control characters have no place in a help text
        } else if (c < 0x80) {
            aus += qc;
        } else if (const int b = cp1252(c); b >= 0) {
            aus += QStringLiteral("\\'%1").arg(b, 2, 16, QLatin1Char('0'));
        } else {
            // \uN takes a signed 16-bit number; characters beyond the BMP arrive here as
            // their two surrogates, which is how the rich-edit control writes them too.
            aus += QStringLiteral("\\u%1?").arg(int(qint16(c)));
        }
    }
    return aus;
}

QString RtfErzeuger::erzeugen(const QList<TextBlock> &bloecke)
{
    QString rtf = QString::fromLatin1(kopf);
    bool ersterAbsatz = true;
    TextBlock::Art vorige = TextBlock::Art::Absatz;
    for (const TextBlock &b : bloecke) {
        if (!ersterAbsatz)
            rtf += QStringLiteral("\\pard\\par\r\n").repeated(trennabsaetze(vorige, b.art));
        if (b.art == TextBlock::Art::Tabelle) {
            rtf += tabelle(b, ersterAbsatz);
            ersterAbsatz = false;
            vorige = b.art;
            continue;
        }
        rtf += QStringLiteral("\\pard");
        if (istListe(b.art))
            rtf += QStringLiteral("\\fi-%1\\li%2\\tx%2").arg(einzug).arg(2 * einzug);
        else if (b.art == TextBlock::Art::Hinweis)
            rtf += QStringLiteral("\\li%1").arg(2 * einzug);
        if (ersterAbsatz)
            rtf += QStringLiteral("\\f0\\fs20");
        rtf += QLatin1Char(' ');
        ersterAbsatz = false;
        vorige = b.art;

        rtf += maskieren(praefix(b));
        rtf += laeufe(b.stuecke, false, b.art == TextBlock::Art::Hinweis);
        rtf += QStringLiteral("\\par\r\n");
    }
    rtf += QStringLiteral("}\r\n");
    return rtf;
}

QString RtfErzeuger::sichtbarerText(const QList<TextBlock> &bloecke)
{
    QString text;
    bool erster = true;
    TextBlock::Art vorige = TextBlock::Art::Absatz;
    for (const TextBlock &b : bloecke) {
        if (!erster)
            text += QString(trennabsaetze(vorige, b.art), QLatin1Char('\r'));
        erster = false;
        vorige = b.art;
        if (b.art == TextBlock::Art::Tabelle) {
            // Every cell starts with a break (the first one ends the paragraph the table is
            // inserted in), and the table's end is one more.
            for (const QList<TextBlock::Zelle> &zeile : b.zeilen)
                for (const TextBlock::Zelle &zelle : zeile)
                    text += QLatin1Char('\r') + sichtbarerText(b.stueckeVon(zelle));
            text += QLatin1Char('\r');
            continue;
        }
        text += praefix(b);
        text += sichtbarerText(b.stuecke);
        text += QLatin1Char('\r');
    }
    return text;
}

QString RtfErzeuger::sichtbarerText(const QList<TextStueck> &stuecke)
{
    QString text;
    for (const TextStueck &s : stuecke) {
        text += s.verweis == TextStueck::Verweis::Kein
                    ? s.text
                    : linkMarke(s, true) + s.text + linkMarke(s, false);
    }
    return text;
}
