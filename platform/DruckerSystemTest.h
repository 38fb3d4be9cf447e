// A printer system for tests: printers with their paper lists, reachability and options are
// set up by the test; jobs handed over are recorded (with a copy of their PDF when a folder is
// given). Installs itself for its lifetime and puts the previous system back afterwards.
#pragma once

#include "DruckerSystem.h"

class DruckerSystemTest : public DruckerSystem
{
public:
    struct Drucker
    {
        DruckerInfo info;
        bool erreichbar = true;
        bool vollzugriff = true;
        bool nimmtAuftraege = true; // false: the queue refuses jobs (as after cupsreject)
        QList<PapierEintrag> schaechte;
        QStringList schachtSchluessel; // driver key per entry of schaechte
        QList<PapierEintrag> formate;
        QList<DruckerOption> optionen;
    };
    struct Auftrag
    {
        QString drucker, titel, papier, schacht, kopie;
        int kopien = 1;
    };

    DruckerSystemTest();
    ~DruckerSystemTest() override;
    DruckerSystemTest(const DruckerSystemTest &) = delete;
    DruckerSystemTest &operator=(const DruckerSystemTest &) = delete;

    QList<Drucker> liste;
    QString standard;
    QString kopienOrdner; // where sent PDFs are copied; "" keeps no copy
    QList<Auftrag> auftraege;
    int faehigkeitsAbfragen = 0;
    // Reads of a printer's defaults (its driver description), by printer, and the mouse
    // pointer shown during each.
    QStringList infoAbfragen;
    QList<int> zeigerBeiInfo;

    // A printer with the usual lists: A4/A5/Letter/Legal and Auto/Tray1/Tray2/Manual.
    static Drucker beispiel(const QString &name, int papier = 9, int schacht = 7);

    QList<DruckerInfo> drucker() override;
    QStringList druckerNamen() override;
    DruckerInfo druckerInfo(const QString &name) override;
    QString standardDrucker() override { return standard; }
    bool oeffnen(const QString &name) override;
    bool oeffnenVoll(const QString &name) override;
    QList<PapierEintrag> schaechte(const QString &name) override;
    QList<PapierEintrag> papierformate(const QString &name) override;
    QList<DruckerOption> optionen(const QString &name) override;
    bool optionenSpeichern(const QString &name, const QMap<QString, QString> &werte) override;
    QString schachtSchluessel(const QString &name, int code) override;
    bool auftragSenden(const QString &name, const QString &pdfDatei, const QString &titel,
                       const QString &papier, const QString &schacht, int kopien,
                       QString *fehler = nullptr) override;

private:
    Drucker *finden(const QString &name);
    DruckerSystem *m_vorher;
};
