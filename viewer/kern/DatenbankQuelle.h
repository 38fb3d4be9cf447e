// The help database as the document's source: the content queries, whose failures the query
// pattern has reported to the user (error dialog with Retry and Cancel).
#pragma once

#include "HilfeDokument.h"

class DatenbankQuelle : public DokumentQuelle
{
public:
    std::optional<QList<HilfeEintrag>> kapitel() override;
    std::optional<QList<HilfeEintrag>> themen(qint32 kapitelID) override;
    std::optional<QList<HilfeAbschnitt>> abschnitte(qint32 themaID) override;
};
