// The printer system over CUPS: the queues of the CUPS server in its order, the device URI as
// port, paper sizes and sources from each queue's PPD (names as the driver gives them, sizes
// coded by their Windows paper code, sources by their Windows bin code), current defaults as
// the PPD and the user's own options (lpoptions) make them, and jobs handed over as PDF with
// media and InputSlot options and the destination's other options, as lp hands them. The
// user's defaults are written to ~/.cups/lpoptions.
#pragma once

#include "DruckerSystem.h"

#include <QHash>

class CupsDruckerSystem : public DruckerSystem
{
public:
    CupsDruckerSystem();
    ~CupsDruckerSystem() override;

    QList<DruckerInfo> drucker() override;
    QStringList druckerNamen() override;
    DruckerInfo druckerInfo(const QString &name) override;
    void aktualisieren() override { m_daten.clear(); }
    QString standardDrucker() override;
    bool oeffnen(const QString &name) override;
    bool oeffnenVoll(const QString &name) override;
    QList<PapierEintrag> schaechte(const QString &name) override;
    QList<PapierEintrag> papierformate(const QString &name) override;
    QList<DruckerOption> optionen(const QString &name) override;
    bool optionenSpeichern(const QString &name, const QMap<QString, QString> &werte) override;
    QString schachtSchluessel(const QString &name, int code) override;
    QPageSize seitenformat(const QString &name, int code) override;
    bool auftragSenden(const QString &name, const QString &pdfDatei, const QString &titel,
                       const QString &papier, const QString &schacht, int kopien,
                       QString *fehler = nullptr) override;

    // The file of the user's own printer defaults.
    static QString lpoptionsDatei();
    // The paper codes of a driver's sizes (keys and sizes in its order): the Windows code of
    // the size, but one code names one entry only: the plain size keeps it over variants of
    // the same measure ("Letter.Borderless"); the others get 256 + their position.
    static QList<int> papierCodes(const QStringList &schluessel, const QList<QPageSize> &seiten);

private:
    struct Daten
    {
        bool gelesen = false;
        bool erreichbar = false;
        int papier = 0, schacht = 0;
        QList<PapierEintrag> schaechte, formate;
        QStringList schachtSchluessel;
        QList<QPageSize> seiten; // per entry of formate
        QList<DruckerOption> optionen;
    };
    Daten &daten(const QString &name);
    void lesen(const QString &name, Daten &d);

    QHash<QString, Daten> m_daten;
};
