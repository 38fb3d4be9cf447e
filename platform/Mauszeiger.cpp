// The application-wide mouse pointer (see Mauszeiger.h).
#include "Mauszeiger.h"

#include <QCursor>
#include <QGuiApplication>

namespace {
int zustand = Zeiger::Normal;
// Whether this module has pushed an override cursor that it still has to take back; kept
// apart from the state because the application may appear or vanish between two calls.
bool ueberschrieben = false;

QGuiApplication *anwendung()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance());
}
} // namespace

void MauszeigerSetzen(int code)
{
    zustand = code;
    QGuiApplication *app = anwendung();
    if (!app) {
        ueberschrieben = false;
        return;
    }
    if (code == Zeiger::Sanduhr) {
        if (!ueberschrieben) {
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
            ueberschrieben = true;
        }
    } else if (ueberschrieben) {
        QGuiApplication::restoreOverrideCursor();
        ueberschrieben = false;
    }
}

int MauszeigerAktuell()
{
    return zustand;
}
