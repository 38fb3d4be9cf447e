// The help server process: offers clsHilfe and the status object on the session bus and waits
// for calls; it shows nothing until the first HilfeAnzeigen. A second server finds the name
// taken and ends. The database directory can be set with TOLVAR_HILFE_VERZEICHNIS (default:
// the executable's own); TOLVAR_MELDUNGEN=konsole prints message boxes instead of showing
// them, for runs without anybody to answer.
#include "Arbeitsbereich.h"
#include "Datenbank.h"
#include "HilfeZustand.h"
#include "MeldungKonsole.h"
#include "ProtokollMeldungen.h"
#include "QtMeldungsanzeige.h"
#include "basMain.h"
#include "clsHilfe.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QGuiApplication>

#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("BelnaHilfe"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tolvar-Hilfe"));
    QApplication::setQuitOnLastWindowClosed(false);

    const QByteArray verzeichnis = qgetenv("TOLVAR_HILFE_VERZEICHNIS");
    if (!verzeichnis.isEmpty())
        setzeProgrammVerzeichnis(QString::fromLocal8Bit(verzeichnis));

    std::unique_ptr<Meldungsanzeige> anzeige;
    if (qgetenv("TOLVAR_MELDUNGEN") == "konsole")
        anzeige = std::make_unique<KonsolenMeldungen>(stderr, nullptr, 0);
    else
        anzeige = std::make_unique<QtMeldungsanzeige>();
    ProtokollMeldungen protokoll(anzeige.get());
    setzeMeldungsanzeige(&protokoll);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "belnahilfe: keine Verbindung zum Sitzungsbus\n");
        return 1;
    }
    clsHilfe hilfe;
    HilfeZustand zustand(&protokoll);
    bus.registerObject(QString::fromLatin1(HilfePfad), &hilfe, QDBusConnection::ExportAllSlots);
    bus.registerObject(QString::fromLatin1(ZustandPfad), &zustand,
                       QDBusConnection::ExportAllSlots);
    if (!bus.registerService(QString::fromLatin1(HilfeDienst))) {
        std::fprintf(stderr, "belnahilfe: der Dienst %s läuft bereits\n", HilfeDienst);
        return 2;
    }

    ServerAnbinden();
    const int rc = QApplication::exec();
    // Releasing the name is a round trip to the bus: every answer sent before it (that of
    // HilfeBeenden) has left the process when it returns.
    bus.unregisterService(QString::fromLatin1(HilfeDienst));
    setzeMeldungsanzeige(nullptr);
    return rc;
}
