// The help database as the document's source (see DatenbankQuelle.h).
#include "DatenbankQuelle.h"

#include "HilfeDatenbank.h"

namespace {

std::optional<QList<HilfeEintrag>> eintraege(const Ergebnis<KapitelZeile> &e)
{
    if (!e.ok)
        return std::nullopt;
    QList<HilfeEintrag> liste;
    liste.reserve(e.zeilen.size());
    for (const KapitelZeile &z : e.zeilen)
        liste.append({z.bezeichnung, z.id, z.nummer});
    return liste;
}

} // namespace

std::optional<QList<HilfeEintrag>> DatenbankQuelle::kapitel()
{
    return eintraege(m_datenbank.kapitel());
}

std::optional<QList<HilfeEintrag>> DatenbankQuelle::themen(qint32 kapitelID)
{
    return eintraege(m_datenbank.themen(kapitelID));
}

std::optional<QList<HilfeAbschnitt>> DatenbankQuelle::abschnitte(qint32 themaID)
{
    const Ergebnis<TextZeile> e = m_datenbank.texte(themaID);
    if (!e.ok)
        return std::nullopt;
    QList<HilfeAbschnitt> liste;
    liste.reserve(e.zeilen.size());
    for (const TextZeile &z : e.zeilen)
        liste.append({z.bezeichnung, z.id, z.nummer, z.text});
    return liste;
}
