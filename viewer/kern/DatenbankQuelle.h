// The help database as the document's source: the content queries of the database object,
// whose failures its error policy has reported to the user (error dialog with Retry and
// Cancel).
#pragma once

#include "HilfeDokument.h"

class HilfeDatenbank;

class DatenbankQuelle : public DokumentQuelle
{
public:
    explicit DatenbankQuelle(HilfeDatenbank &datenbank) : m_datenbank(datenbank) {}
    std::optional<QList<HilfeEintrag>> kapitel() override;
    std::optional<QList<HilfeEintrag>> themen(qint32 kapitelID) override;
    std::optional<QList<HilfeAbschnitt>> abschnitte(qint32 themaID) override;

private:
    HilfeDatenbank &m_datenbank;
};
