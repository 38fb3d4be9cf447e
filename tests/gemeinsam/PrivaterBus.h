// A session bus of the program's own, for the tests and benchmarks that meet the help server
// as the host application does: a dbus-daemon with one service folder (by default the build
// tree's, so that the first call starts bin/belnahilfe with the sample database beside it),
// whose address is exported in DBUS_SESSION_BUS_ADDRESS while it runs. The bus and every server
// it starts run offscreen, with messages on the console and the status object. The destructor
// ends a help server on the bus and the daemon and puts the old address back: nothing is left
// running.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QTemporaryDir>

#include <utility>

class PrivaterBus
{
public:
    static const QString Dienst, HilfePfad, HilfeSchnittstelle;
    // The build tree's service folder: its activation file starts bin/belnahilfe.
    static QString bauDienste();

    PrivaterBus() = default;
    PrivaterBus(const PrivaterBus &) = delete;
    PrivaterBus &operator=(const PrivaterBus &) = delete;
    ~PrivaterBus();

    // Starts the daemon. `umgebung` adds variables to the environment the bus hands to the
    // servers it starts, or removes one (empty value); TOLVAR_HILFE_VERZEICHNIS is removed unless
    // given. False when the daemon does not start or names no address.
    bool starten(const QString &dienste = bauDienste(),
                 const QList<std::pair<QString, QString>> &umgebung = {});
    const QString &adresse() const { return m_adresse; }
    // The program's own connection to the bus (opened on first use).
    QDBusConnection verbindung();

    // Blocking calls to the help server (clsHilfe), and to its status object: zustand gives the
    // first answer value, invalid when the call failed.
    QDBusMessage rufen(const QString &methode, const QVariantList &argumente = {}, int ms = 20000);
    QDBusMessage anzeigen(const QString &nummer, qint16 darstellung = 0, int ms = 20000);
    QVariant zustand(const QString &methode, int ms = 20000);

    bool dienstLaeuft();
    uint serverPid(); // 0 when the name has no owner
    // HilfeBeenden, then waits up to `ms` for the process to be gone; true when it is.
    bool serverBeenden(int ms = 5000);
    // Sets a variable for the servers the bus starts from now on.
    bool aktivierungsUmgebung(const QString &name, const QString &wert);

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_adresse;
    QByteArray m_alteAdresse;
    bool m_hatteAdresse = false;
};
