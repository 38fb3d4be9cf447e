// Measures the help server as the host application meets it: a private session bus whose
// service folder is the build tree's, so the first HilfeAnzeigen starts bin/belnahilfe with the
// sample database beside it (offscreen platform). Prints one line per figure with its target:
// first call with activation, HilfeAnzeigen on the running server, moving to another chapter,
// and the resident memory of the server with the help open.
#include "PrivaterBus.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

long vmRssKb(uint pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &zeile : f.readAll().split('\n'))
        if (zeile.startsWith("VmRSS:"))
            return zeile.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Calls HilfeAnzeigen alternately with the numbers; the time runs from the call to the answer.
// Afterwards the status object must name the requested section, else the call counts as failed.
std::vector<double> reihe(PrivaterBus &bus, const QStringList &nummern, int anzahl, int *fehler)
{
    std::vector<double> ms;
    for (int i = 0; i < anzahl; ++i) {
        const QString n = nummern.at(i % nummern.size());
        QElapsedTimer t;
        t.start();
        const QDBusMessage r = bus.anzeigen(n);
        const double d = t.nsecsElapsed() / 1e6;
        if (r.type() != QDBusMessage::ReplyMessage ||
            bus.zustand(QStringLiteral("Abschnitt")).toString() != n)
            ++*fehler;
        else
            ms.push_back(d);
    }
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    PrivaterBus bus; // ends the server and the daemon on the way out
    if (!bus.starten()) {
        std::fprintf(stderr, "dbus-daemon startet nicht\n");
        return 1;
    }

    int rc = 0;
    // 1. First call: activation, start-up sequence, answer.
    QElapsedTimer t;
    t.start();
    const QDBusMessage erste = bus.anzeigen(QStringLiteral("01.01.01"));
    const double ersteMs = t.nsecsElapsed() / 1e6;
    if (erste.type() != QDBusMessage::ReplyMessage ||
        bus.zustand(QStringLiteral("Abschnitt")).toString() != QStringLiteral("01.01.01")) {
        std::fprintf(stderr, "erster Aufruf fehlgeschlagen: %s\n",
                     qPrintable(erste.errorMessage()));
        rc = 1;
    } else {
        std::printf("Erster Aufruf HilfeAnzeigen mit Aktivierung bis zur Antwort: %.0f ms "
                    "(Ziel <= 1000 ms)\n",
                    ersteMs);
    }

    if (rc == 0) {
        // Warm-up over the sections used below.
        int fehler = 0;
        reihe(bus,
              {QStringLiteral("04.01.01"), QStringLiteral("04.01.03"), QStringLiteral("01.01.01"),
               QStringLiteral("05.01.01")},
              4, &fehler);

        // 2. Running server, alternating sections (same chapter).
        fehler = 0;
        const std::vector<double> laufend =
            reihe(bus, {QStringLiteral("04.01.01"), QStringLiteral("04.01.03")}, 30, &fehler);
        std::printf("HilfeAnzeigen auf dem laufenden Server bis zur Antwort mit dem "
                    "Abschnitt (Median von %zu, Wechsel 04.01.01/04.01.03): %.2f ms "
                    "(Ziel <= 30 ms)%s\n",
                    laufend.size(), median(laufend),
                    fehler ? qPrintable(QStringLiteral(" [%1 Fehler]").arg(fehler)) : "");

        // 3. The server offers no way to select a tab, a section title or a link from
        // outside; a HilfeAnzeigen that changes chapter is the closest measurable proxy.
        fehler = 0;
        const std::vector<double> kapitel =
            reihe(bus, {QStringLiteral("01.01.01"), QStringLiteral("05.01.01")}, 30, &fehler);
        std::printf("Kapitelwechsel (Ersatz fuer Registerkarte/Abschnittstitel/Link, die "
                    "der Server nicht von aussen ausloesen laesst: HilfeAnzeigen mit "
                    "Kapitelwechsel 01.01.01/05.01.01, Median von %zu): %.2f ms "
                    "(Ziel <= 15 ms)%s\n",
                    kapitel.size(), median(kapitel),
                    fehler ? qPrintable(QStringLiteral(" [%1 Fehler]").arg(fehler)) : "");
        if (laufend.empty() || kapitel.empty())
            rc = 1;

        // 4. Resident memory with the help open.
        const uint pid = bus.serverPid();
        const long kb = pid ? vmRssKb(pid) : -1;
        if (kb < 0) {
            std::fprintf(stderr, "VmRSS des Servers nicht lesbar\n");
            rc = 1;
        } else {
            std::printf("Speicher des Servers mit offener Hilfe (VmRSS): %.1f MB "
                        "(Ziel <= 120 MB)\n",
                        kb / 1024.0);
        }
    }
    std::fflush(stdout);
    return rc;
}
