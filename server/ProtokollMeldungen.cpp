// See ProtokollMeldungen.h.
#include "ProtokollMeldungen.h"

int ProtokollMeldungen::zeigen(const QString &text, int stil, const QString &titel)
{
    m_texte.append(text);
    return m_weiter ? m_weiter->zeigen(text, stil, titel) : Meldung::Abbrechen;
}
