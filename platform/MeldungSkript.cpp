// Scripted message boxes for tests (see MeldungSkript.h).
#include "MeldungSkript.h"

SkriptMeldungen::SkriptMeldungen() : m_vorher(meldungsanzeige())
{
    setzeMeldungsanzeige(this);
}

SkriptMeldungen::~SkriptMeldungen()
{
    if (meldungsanzeige() == this)
        setzeMeldungsanzeige(m_vorher);
}

int SkriptMeldungen::zeigen(const QString &text, int stil, const QString &titel)
{
    const Box box{text, stil, titel};
    m_boxen.append(box);
    if (m_beimZeigen)
        m_beimZeigen(box);
    if (!m_antworten.isEmpty())
        return m_antworten.takeFirst();
    return meldungKnoepfe(stil) == Meldung::WiederholenAbbrechen ? Meldung::Abbrechen : Meldung::Ok;
}
