// The page history of the help window. See HilfeVerlauf.h.
#include "HilfeVerlauf.h"

#include <algorithm>

HilfeVerlauf::HilfeVerlauf(qint32 kapazitaet) : m_kapazitaet(std::max<qint32>(kapazitaet, 1)) {}

void HilfeVerlauf::setAnzahl(qint32 n)
{
    n = std::clamp<qint32>(n, 0, m_kapazitaet);
    if (n < m_eintraege.size())
        m_eintraege.resize(n);
    while (m_eintraege.size() < n)
        m_eintraege.append(QString());
    m_anzahl = n;
}

QString HilfeVerlauf::eintrag(qint32 i) const
{
    if (i < 1 || i > m_anzahl)
        return QString();
    return m_eintraege.at(i - 1);
}

void HilfeVerlauf::setEintrag(qint32 i, const QString &nummer)
{
    if (i < 1 || i > m_anzahl)
        return;
    m_eintraege[i - 1] = nummer;
}

void HilfeVerlauf::leeren()
{
    m_eintraege.clear();
    m_anzahl = 0;
    m_position = 0;
}

void HilfeVerlauf::merken(const QString &nummer)
{
    qint32 pos = std::clamp<qint32>(m_position, 0, m_anzahl);
    if (pos >= m_kapazitaet) {
        // Full: the oldest entry goes, everything moves one place towards the start.
        m_eintraege.removeFirst();
        --m_anzahl;
        --pos;
    }
    setAnzahl(pos + 1);
    setEintrag(m_anzahl, nummer);
    m_position = m_anzahl;
}
