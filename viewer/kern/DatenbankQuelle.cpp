// The help database as the document's source (see DatenbankQuelle.h).
#include "DatenbankQuelle.h"

#include "Inhaltsabfragen.h"

#include <algorithm>

namespace {

// Rows 1..n of the query's lists (element 0 is unused there).
QList<HilfeEintrag> eintraege(const QList<QString> &bezeichnung, const QList<qint32> &ids,
                              const QList<qint32> &nummern)
{
    const qsizetype n = std::min({bezeichnung.size(), ids.size(), nummern.size()});
    QList<HilfeEintrag> liste;
    for (qsizetype i = 1; i < n; ++i)
        liste.append({bezeichnung.at(i), ids.at(i), nummern.at(i)});
    return liste;
}

} // namespace

std::optional<QList<HilfeEintrag>> DatenbankQuelle::kapitel()
{
    QList<QString> bezeichnung;
    QList<qint32> ids;
    QList<qint32> nummern;
    if (!KapitelLesen(bezeichnung, ids, nummern))
        return std::nullopt;
    return eintraege(bezeichnung, ids, nummern);
}

std::optional<QList<HilfeEintrag>> DatenbankQuelle::themen(qint32 kapitelID)
{
    QList<QString> bezeichnung;
    QList<qint32> ids;
    QList<qint32> nummern;
    if (!ThemenLesen(bezeichnung, ids, nummern, kapitelID))
        return std::nullopt;
    return eintraege(bezeichnung, ids, nummern);
}

std::optional<QList<HilfeAbschnitt>> DatenbankQuelle::abschnitte(qint32 themaID)
{
    QList<QString> bezeichnung;
    QList<qint32> ids;
    QList<qint32> nummern;
    QList<QString> texte;
    if (!TexteLesen(bezeichnung, ids, nummern, texte, themaID))
        return std::nullopt;
    const qsizetype n = std::min({bezeichnung.size(), ids.size(), nummern.size(), texte.size()});
    QList<HilfeAbschnitt> liste;
    for (qsizetype i = 1; i < n; ++i)
        liste.append({bezeichnung.at(i), ids.at(i), nummern.at(i), texte.at(i)});
    return liste;
}
