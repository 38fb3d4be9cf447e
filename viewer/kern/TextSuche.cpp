// See TextSuche.h.
#include "TextSuche.h"

namespace {

// Appends the comparable form of one character.
void anhaengen(QString &ziel, QChar c)
{
    switch (c.unicode()) {
    case 0x00C4: // Ä
    case 0x00E4: // ä
        ziel += QLatin1String("ae");
        return;
    case 0x00D6: // Ö
    case 0x00F6: // ö
        ziel += QLatin1String("oe");
        return;
    case 0x00DC: // Ü
    case 0x00FC: // ü
        ziel += QLatin1String("ue");
        return;
    case 0x00DF: // ß
    case 0x1E9E: // ẞ
        ziel += QLatin1String("ss");
        return;
    case 0x00A0: // no-break space
    case 0x2029: // paragraph separator
    case 0x2028: // line separator
        ziel += QLatin1Char(' ');
        return;
    default:
        break;
    }
    if (c.unicode() < 0x80) {
        ziel += c.toLower();
        return;
    }
    // Other letters with accents: their base letter (the first part of the canonical
    // decomposition), when that is one character.
    const QString zerlegt = c.decomposition();
    if (!zerlegt.isEmpty() && c.decompositionTag() == QChar::Canonical) {
        ziel += zerlegt.at(0).toLower();
        return;
    }
    ziel += c.toLower();
}

} // namespace

TextSuche::TextSuche(const QString &text)
{
    setText(text);
}

void TextSuche::setText(const QString &text)
{
    m_form.clear();
    m_herkunft.clear();
    m_form.reserve(text.size() + text.size() / 16);
    m_herkunft.reserve(text.size() + text.size() / 16 + 1);
    for (int i = 0; i < text.size(); ++i) {
        const qsizetype vorher = m_form.size();
        anhaengen(m_form, text.at(i));
        for (qsizetype k = vorher; k < m_form.size(); ++k)
            m_herkunft.append(i);
    }
    m_herkunft.append(int(text.size()));
}

QString TextSuche::vergleichsform(const QString &text)
{
    QString form;
    form.reserve(text.size());
    for (const QChar c : text)
        anhaengen(form, c);
    return form;
}

QList<TextSuche::Treffer> TextSuche::finden(const QString &suche) const
{
    QList<Treffer> treffer;
    const QString muster = vergleichsform(suche);
    if (muster.trimmed().isEmpty())
        return treffer;
    qsizetype ab = 0;
    while (true) {
        const qsizetype i = m_form.indexOf(muster, ab);
        if (i < 0)
            break;
        const qsizetype ende = i + muster.size();
        // Whole characters only: the hit starts where a text character starts and ends where
        // one ends.
        const bool ganzAnfang = i == 0 || m_herkunft.at(i - 1) != m_herkunft.at(i);
        const bool ganzEnde = m_herkunft.at(ende - 1) != m_herkunft.at(ende);
        if (!ganzAnfang || !ganzEnde) {
            ab = i + 1;
            continue;
        }
        const int anfang = m_herkunft.at(i);
        treffer.append({anfang, m_herkunft.at(ende - 1) + 1 - anfang});
        ab = ende;
    }
    return treffer;
}
