#include "PrivaterBus.h"

#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <signal.h>
#include <unistd.h>

const QString PrivaterBus::Dienst = QStringLiteral("de.tolvar.BelnaHilfe");
const QString PrivaterBus::HilfePfad = QStringLiteral("/de/tolvar/BelnaHilfe/clsHilfe");
const QString PrivaterBus::HilfeSchnittstelle = QStringLiteral("de.tolvar.BelnaHilfe.clsHilfe");

namespace {

// Polls every 20 ms until the process is gone; true when it is.
bool endet(uint pid, int ms)
{
    QElapsedTimer uhr;
    uhr.start();
    while (::kill(pid_t(pid), 0) == 0) {
        if (uhr.elapsed() > ms)
            return false;
        QThread::msleep(20);
    }
    return true;
}

} // namespace

QString PrivaterBus::bauDienste()
{
    return QStringLiteral(TOLVAR_BUILD_DIR "/dbus-1/services");
}

bool PrivaterBus::starten(const QString &dienste,
                          const QList<std::pair<QString, QString>> &umgebung)
{
    QFile konfig(m_dir.filePath(QStringLiteral("bus.conf")));
    if (!m_dir.isValid() || !konfig.open(QIODevice::WriteOnly))
        return false;
    konfig.write(QStringLiteral(
                     "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                     "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                     "<busconfig><type>session</type><listen>unix:tmpdir=%1</listen>"
                     "<servicedir>%2</servicedir><policy context=\"default\">"
                     "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                     "<allow own=\"*\"/></policy></busconfig>\n")
                     .arg(m_dir.path(), dienste)
                     .toUtf8());
    konfig.close();

    // The bus hands its environment to the servers it starts.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TOLVAR_MELDUNGEN"), QStringLiteral("konsole"));
    env.insert(QStringLiteral("TOLVAR_HILFE_TESTZUGANG"), QStringLiteral("1"));
    env.remove(QStringLiteral("TOLVAR_HILFE_VERZEICHNIS"));
    for (const auto &[name, wert] : umgebung) {
        if (wert.isEmpty())
            env.remove(name);
        else
            env.insert(name, wert);
    }
    m_daemon.setProcessEnvironment(env);
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--config-file=") + konfig.fileName(),
                    QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    if (!m_daemon.waitForStarted())
        return false;
    while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(10000)) {
    }
    m_adresse = QString::fromUtf8(m_daemon.readLine()).trimmed();
    if (m_adresse.isEmpty())
        return false;
    m_hatteAdresse = qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS");
    m_alteAdresse = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_adresse.toUtf8());
    return true;
}

PrivaterBus::~PrivaterBus()
{
    if (m_adresse.isEmpty()) {
        m_daemon.kill();
        m_daemon.waitForFinished();
        return;
    }
    // The server gives up its name and ends; one that does not ends with its bus, or is killed.
    // A test that holds the name itself is left alone.
    uint pid = serverPid();
    if (pid == uint(::getpid()))
        pid = 0;
    if (pid)
        serverBeenden();
    QDBusConnection::disconnectFromBus(m_adresse);
    m_daemon.terminate();
    m_daemon.waitForFinished();
    if (pid && !endet(pid, 5000))
        ::kill(pid_t(pid), SIGKILL);
    if (m_hatteAdresse)
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_alteAdresse);
    else
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
}

QDBusConnection PrivaterBus::verbindung()
{
    QDBusConnection c(m_adresse);
    return c.isConnected() ? c : QDBusConnection::connectToBus(m_adresse, m_adresse);
}

QDBusMessage PrivaterBus::rufen(const QString &methode, const QVariantList &argumente, int ms)
{
    QDBusMessage m = QDBusMessage::createMethodCall(Dienst, HilfePfad, HilfeSchnittstelle, methode);
    m.setArguments(argumente);
    return verbindung().call(m, QDBus::Block, ms);
}

QDBusMessage PrivaterBus::anzeigen(const QString &nummer, qint16 darstellung, int ms)
{
    return rufen(QStringLiteral("HilfeAnzeigen"), {nummer, QVariant::fromValue(darstellung)}, ms);
}

QVariant PrivaterBus::zustand(const QString &methode, int ms)
{
    const QDBusMessage r = verbindung().call(
        QDBusMessage::createMethodCall(Dienst, QStringLiteral("/de/tolvar/BelnaHilfe/Zustand"),
                                       QStringLiteral("de.tolvar.BelnaHilfe.Zustand"), methode),
        QDBus::Block, ms);
    return r.type() == QDBusMessage::ReplyMessage ? r.arguments().value(0) : QVariant();
}

bool PrivaterBus::dienstLaeuft()
{
    return verbindung().interface()->isServiceRegistered(Dienst).value();
}

uint PrivaterBus::serverPid()
{
    return verbindung().interface()->servicePid(Dienst).value();
}

bool PrivaterBus::serverBeenden(int ms)
{
    const uint pid = serverPid();
    if (pid == 0)
        return true;
    rufen(QStringLiteral("HilfeBeenden"), {}, ms);
    return endet(pid, ms);
}

bool PrivaterBus::aktivierungsUmgebung(const QString &name, const QString &wert)
{
    qDBusRegisterMetaType<QMap<QString, QString>>();
    QDBusMessage m = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("UpdateActivationEnvironment"));
    m << QVariant::fromValue(QMap<QString, QString>{{name, wert}});
    return verbindung().call(m).type() == QDBusMessage::ReplyMessage;
}
