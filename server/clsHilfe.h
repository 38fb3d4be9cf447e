// The automation class of the help server on the session bus: HilfeAnzeigen opens the help at
// a help number (or moves the open help there), HilfeBeenden closes it and ends the server.
// The service name, object path and interface are the names the host application calls.
#pragma once

#include <QDBusContext>
#include <QObject>

class HilfeSitzung;

inline constexpr const char *HilfeDienst = "de.tolvar.BelnaHilfe";
inline constexpr const char *HilfePfad = "/de/tolvar/BelnaHilfe/clsHilfe";
inline constexpr const char *HilfeSchnittstelle = "de.tolvar.BelnaHilfe.clsHilfe";

class clsHilfe : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "de.tolvar.BelnaHilfe.clsHilfe")

public:
    // Serves the calls with the session's windows.
    explicit clsHilfe(HilfeSitzung &sitzung, QObject *parent = nullptr)
        : QObject(parent), m_sitzung(sitzung)
    {
    }

public slots:
    // Darstellung > 0: half-screen mode; otherwise full mode. Answers after the start-up
    // sequence has run; when it shows no section (an unreadable database, nothing to show),
    // the caller gets an error reply.
    void HilfeAnzeigen(const QString &Nummer, qint16 Darstellung);
    // Gives up the service name at once, so that a call sent after the answer starts a new
    // server; answers, then unloads the frame, which ends the process. A HilfeAnzeigen that
    // was already on its way to this server takes the name back and is served here, or, when
    // a new server has the name by then, gets an error answer.
    void HilfeBeenden();

private:
    // Unloads the frame once the service is given up and no modal window is open.
    void RahmenEntladen();

    HilfeSitzung &m_sitzung;
    // True from HilfeBeenden until the process ends, unless a later HilfeAnzeigen takes it
    // back.
    bool m_beenden = false;
};
