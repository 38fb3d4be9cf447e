// The automation class. See clsHilfe.h.
#include "clsHilfe.h"

#include "HilfeSitzung.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTimer>
#include <QWidget>

#include <exception>

// Unloads the frame, which ends the process. A modal window (print dialog, progress window,
// message box) runs its own event loop with the code that opened it still below it on the
// stack; unloading then would delete the help window under that code. The modal window is
// asked to close first (the progress window takes this as "Abbrechen"), and the unload waits
// until it has gone.
void clsHilfe::RahmenEntladen()
{
    if (!m_beenden)
        return;
    if (QWidget *modal = QApplication::activeModalWidget()) {
        modal->close();
        QTimer::singleShot(20, this, &clsHilfe::RahmenEntladen);
        return;
    }
    // Every call sent to this server before it gave up its name has arrived once a round
    // trip to the bus has come back; those calls are served before the process ends.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && bus.interface()) {
        bus.interface()->isServiceRegistered(QString::fromLatin1(HilfeDienst));
        QCoreApplication::processEvents();
        if (!m_beenden)
            return;
    }
    m_sitzung.RahmenEntladen();
}

void clsHilfe::HilfeAnzeigen(const QString &Nummer, qint16 Darstellung)
{
    if (m_beenden) {
        // Sent before this server gave up its name: serve it here if the name can be had
        // back, else say so; never report a help as shown that is not.
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.registerService(QString::fromLatin1(HilfeDienst))) {
            if (calledFromDBus())
                sendErrorReply(QDBusError::ServiceUnknown,
                               QStringLiteral("Die Hilfe wird gerade beendet."));
            return;
        }
        m_beenden = false;
    }
    m_sitzung.setDarstellung(Darstellung > 0);
    try {
        // The host learns when the help it asked for is not shown (the database could not be
        // read, or has nothing to show there): the user has been told in a message box.
        if (!m_sitzung.HilfeStarten(Nummer) && calledFromDBus())
            sendErrorReply(QDBusError::Failed,
                           QStringLiteral("Die Hilfe zu %1 wird nicht angezeigt.").arg(Nummer));
    } catch (const std::exception &e) {
        if (calledFromDBus())
            sendErrorReply(QDBusError::Failed, QString::fromLocal8Bit(e.what()));
        else
            throw;
    }
}

void clsHilfe::HilfeBeenden()
{
    m_beenden = true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected())
        bus.unregisterService(QString::fromLatin1(HilfeDienst));
    // The answer leaves when this slot returns; the unload runs right after it.
    QTimer::singleShot(0, this, &clsHilfe::RahmenEntladen);
}
