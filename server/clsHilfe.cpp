// The automation class. See clsHilfe.h.
#include "clsHilfe.h"

#include "Global.h"
#include "basMain.h"
#include "frmInhalt.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QTimer>

#include <exception>

namespace {

// Unloads the frame, which ends the process. A modal window (print dialog, progress window,
// message box) runs its own event loop with the code that opened it still below it on the
// stack; unloading then would delete the help window under that code. The modal window is
// asked to close first (the progress window takes this as "Abbrechen"), and the unload waits
// until it has gone.
void RahmenEntladen()
{
    if (QWidget *modal = QApplication::activeModalWidget()) {
        modal->close();
        QTimer::singleShot(20, RahmenEntladen);
        return;
    }
    if (frmInhalt *rahmen = frmInhalt::instanz(false))
        rahmen->Unload();
    else
        frmInhalt::instanz()->Unload(); // a frame never shown still ends the process
}

} // namespace

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
    QTimer::singleShot(0, RahmenEntladen);
}
