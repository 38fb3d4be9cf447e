// The printer system as the print dialog and the printer control see it: the enumeration of
// installed printers with device name, port and current paper size and source, whether a
// printer can be reached, its paper sizes and sources (name and code), the options whose
// user defaults its properties dialog edits, and the platform's current printer. Paper sizes
// are coded as Windows paper codes (QPageSize::windowsId), paper sources as Windows bin codes,
// because the host application and its stored settings know those. One production
// implementation (CUPS, in DruckerCups/) and one test double (DruckerSystemTest).
#pragma once

#include <QList>
#include <QMap>
#include <QPageSize>
#include <QString>
#include <QStringList>

struct DruckerInfo
{
    QString Geraetename;
    QString Port;
    int PapierGroesse = 0; // current default paper size code
    int PapierZufuhr = 0;  // current default paper source code
};

struct PapierEintrag
{
    QString name;
    int code = 0;
};

// One setting of a printer that its properties dialog offers: a key with its choices and
// the current (user's default) choice.
struct DruckerOption
{
    QString schluessel;
    QString titel;
    QStringList werte;
    QStringList wertTitel;
    QString aktuell;
};

class DruckerSystem
{
public:
    virtual ~DruckerSystem() = default;

    // The installed printers, in the platform's order, each with its current defaults (which
    // reads every printer's driver description).
    virtual QList<DruckerInfo> drucker() = 0;
    // Only the names of the installed printers, in the same order: no driver is read.
    virtual QStringList druckerNamen();
    // One printer with its port and current defaults (reads its driver description); only the
    // name when there is no such printer.
    virtual DruckerInfo druckerInfo(const QString &name);
    // Forgets what was read about the printers, so the next calls ask the platform anew.
    virtual void aktualisieren() {}
    // The system's default printer; "" when there is none.
    virtual QString standardDrucker() = 0;
    // Whether the printer can be reached (default access), and whether its user defaults can
    // be changed (full access).
    virtual bool oeffnen(const QString &name) = 0;
    virtual bool oeffnenVoll(const QString &name) = 0;
    // Paper sources and sizes the printer's driver reports, in its order.
    virtual QList<PapierEintrag> schaechte(const QString &name) = 0;
    virtual QList<PapierEintrag> papierformate(const QString &name) = 0;
    // The options of the properties dialog and storing the user's choice of them.
    virtual QList<DruckerOption> optionen(const QString &name) = 0;
    virtual bool optionenSpeichern(const QString &name, const QMap<QString, QString> &werte) = 0;
    // For a job: the driver's key of a paper source code ("" when unknown), and the page size
    // of a paper size code (invalid when unknown).
    virtual QString schachtSchluessel(const QString &name, int code);
    virtual QPageSize seitenformat(const QString &name, int code);
    // Hands a finished PDF to the printer's queue as one job named titel, with the page size
    // (its key, e.g. "A4") and the paper source key ("" for the printer's own). False when the
    // queue did not take it; fehler (if given) then says why, in words for the user.
    virtual bool auftragSenden(const QString &name, const QString &pdfDatei, const QString &titel,
                               const QString &papier, const QString &schacht, int kopien,
                               QString *fehler = nullptr) = 0;

    // The platform's current printer: follows the system default until a printer is made
    // current; folgeStandard() makes it follow the default again.
    QString aktuellerDrucker();
    void setzeAktuellerDrucker(const QString &name) { m_aktuell = name; }
    void folgeStandard() { m_aktuell.clear(); }

    // The Windows bin code of a driver's paper source key (the common names; others get
    // 256 + their position among the sources), and the key of a standard code.
    static int schachtCode(const QString &schluessel, int position);
    static QString standardSchachtSchluessel(int code);

private:
    QString m_aktuell;
};

// The installed printer system (not owned); nullptr until one is installed.
DruckerSystem *druckerSystem();
void setzeDruckerSystem(DruckerSystem *system);
