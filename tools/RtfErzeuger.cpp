// RTF output of sections; see RtfErzeuger.h.
#include "RtfErzeuger.h"

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
        // An empty paragraph separates blocks, as writers do in a rich-text editor; items of
        // one list follow each other directly.
        if (!ersterAbsatz && !(istListe(b.art) && b.art == vorige))
            rtf += QStringLiteral("\\pard\\par\r\n");
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
        const bool hinweis = b.art == TextBlock::Art::Hinweis;
        for (const TextStueck &s : b.stuecke) {
            const bool kursiv = s.kursiv || hinweis;
            QString schalter;
            if (s.fett)
                schalter += QStringLiteral("\\b");
            if (kursiv)
                schalter += QStringLiteral("\\i");
            if (s.verweis == TextStueck::Verweis::Text)
                schalter += QStringLiteral("\\cf1\\ul");
            else if (s.verweis == TextStueck::Verweis::Bild)
                schalter += QStringLiteral("\\cf2\\ul");
            else if (s.unterstrichen)
                schalter += QStringLiteral("\\ul");
            QString inhalt = s.verweis == TextStueck::Verweis::Kein
                                 ? maskieren(s.text)
                                 : maskieren(linkMarke(s, true) + s.text + linkMarke(s, false));
            if (schalter.isEmpty())
                rtf += inhalt;
            else
                rtf += QLatin1Char('{') + schalter + QLatin1Char(' ') + inhalt + QLatin1Char('}');
        }
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
        if (!erster && !(istListe(b.art) && b.art == vorige))
            text += QLatin1Char('\r');
        erster = false;
        vorige = b.art;
        text += praefix(b);
        for (const TextStueck &s : b.stuecke) {
            text += s.verweis == TextStueck::Verweis::Kein
                        ? s.text
                        : linkMarke(s, true) + s.text + linkMarke(s, false);
        }
        text += QLatin1Char('\r');
    }
    return text;
}
