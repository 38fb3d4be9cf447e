// hilfedb vorschau QUELLORDNER [NUMMER]: the live preview (Vorschau.h) until its window is
// closed or the process gets SIGINT (Ctrl+C), SIGTERM or SIGHUP. A signal only wakes the event
// loop, which ends as when the window closes, so the temporary folder is always removed.
#include "Vorschau.h"

#include "Global.h"
#include "HilfeZustand.h"
#include "ProtokollMeldungen.h"

#include <QApplication>
#include <QDBusConnection>
#include <QFileInfo>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalRohr[2] = {-1, -1};

void signalEmpfangen(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalRohr[1], &c, 1);
}

// The service name under which a preview started for tests offers its status object; the help
// server's own name stays free.
constexpr const char *VorschauDienst = "de.tolvar.BelnaHilfe.Vorschau";

} // namespace

int befehlVorschau(const QStringList &args)
{
    if (args.isEmpty() || args.size() > 2) {
        std::fputs("Aufruf: hilfedb vorschau QUELLORDNER [NUMMER]\n", stderr);
        return 2;
    }
    if (!QFileInfo(args[0]).isDir()) {
        std::fprintf(stderr, "hilfedb vorschau: %s ist kein Ordner\n", qPrintable(args[0]));
        return 1;
    }
    QApplication::setQuitOnLastWindowClosed(false);
    gsPasswort = QString::fromLatin1(HilfePasswort);
    gsSchriftName = QStringLiteral("Arial");
    giSchriftGroesse = 10;

    const std::unique_ptr<Meldungsanzeige> anzeige = meldungsanzeigeNachUmgebung();
    ProtokollMeldungen protokoll(anzeige.get());
    setzeMeldungsanzeige(&protokoll);

    int rc = 1;
    {
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalRohr) != 0) {
            std::perror("hilfedb vorschau: socketpair");
            return 1;
        }
        QSocketNotifier wecker(signalRohr[0], QSocketNotifier::Read);
        QObject::connect(&wecker, &QSocketNotifier::activated, [] { QCoreApplication::exit(0); });
        struct sigaction sa = {};
        sa.sa_handler = signalEmpfangen;
        sigemptyset(&sa.sa_mask);
        for (int s : {SIGINT, SIGTERM, SIGHUP})
            ::sigaction(s, &sa, nullptr);

        Vorschau vorschau(args[0], stderr);
        std::unique_ptr<HilfeZustand> zustand;
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (HilfeZustand::gewuenscht() && bus.isConnected()) {
            zustand = std::make_unique<HilfeZustand>(&protokoll, vorschau.sitzung());
            bus.registerObject(QString::fromLatin1(ZustandPfad), zustand.get(),
                               QDBusConnection::ExportAllSlots);
            bus.registerService(QString::fromLatin1(VorschauDienst));
        }
        if (vorschau.starten(args.value(1))) {
            std::fprintf(stderr, "Vorschau von %s: Ende mit dem Fenster oder Strg+C\n",
                         qPrintable(args[0]));
            rc = QApplication::exec();
        }
        if (zustand)
            bus.unregisterService(QString::fromLatin1(VorschauDienst));
    }
    setzeMeldungsanzeige(nullptr);
    ::close(signalRohr[0]);
    ::close(signalRohr[1]);
    return rc;
}
