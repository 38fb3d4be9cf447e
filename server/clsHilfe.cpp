// The automation class. See clsHilfe.h.
#include "clsHilfe.h"

#include "Global.h"
#include "basMain.h"
#include "frmInhalt.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QTimer>

#include <exception>

void clsHilfe::HilfeAnzeigen(const QString &Nummer, qint16 Darstellung)
{
    gbDarstellung = Darstellung > 0;
    try {
        HilfeStarten(Nummer);
    } catch (const std::exception &e) {
        if (calledFromDBus())
            sendErrorReply(QDBusError::Failed, QString::fromLocal8Bit(e.what()));
        else
            throw;
    }
}

void clsHilfe::HilfeBeenden()
{
    // The answer leaves when this slot returns; the unload runs right after it.
    QTimer::singleShot(0, [] {
        if (frmInhalt *rahmen = frmInhalt::instanz(false))
            rahmen->Unload();
        else
            frmInhalt::instanz()->Unload(); // a frame never shown still ends the process
    });
}
