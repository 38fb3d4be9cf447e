// Round trip of belnahilfe_anzeigen as the host application sees it: a private dbus-daemon whose
// service folder is the build tree's starts bin/belnahilfe (offscreen) on the first call; then
// the same call is repeated with the help already showing that section (warm), and alternating
// between two sections (each call moves the help). Prints the cold start, median and 90th
// percentile of each series.
//   bench_client [CALLS]   (default 200)
#include "PrivaterBus.h"
#include "belnahilfe.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Uhr = std::chrono::steady_clock;

double ms(Uhr::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

void ausgeben(const char *name, std::vector<double> werte)
{
    std::sort(werte.begin(), werte.end());
    std::printf("%-28s median %8.3f ms   p90 %8.3f ms   (%zu Aufrufe)\n", name,
                werte[werte.size() / 2], werte[werte.size() * 9 / 10], werte.size());
}

} // namespace

int main(int argc, char **argv)
{
    const int anzahl = argc > 1 ? std::max(10, std::atoi(argv[1])) : 200;
    PrivaterBus bus; // exports its address; ends the server and the daemon on the way out
    if (!bus.starten()) {
        std::fprintf(stderr, "bench_client: dbus-daemon startet nicht\n");
        return 1;
    }

    int rc = 0;
    auto beginn = Uhr::now();
    belnahilfe_status s = belnahilfe_anzeigen("01.01.01", 0);
    std::printf("%-28s %8.3f ms\n", "erster Aufruf (Start)", ms(Uhr::now() - beginn));
    std::vector<double> gleich, wechselnd;
    for (int i = 0; s == BELNAHILFE_OK && i < anzahl; ++i) {
        beginn = Uhr::now();
        s = belnahilfe_anzeigen("01.01.01", 0);
        gleich.push_back(ms(Uhr::now() - beginn));
    }
    for (int i = 0; s == BELNAHILFE_OK && i < anzahl; ++i) {
        beginn = Uhr::now();
        s = belnahilfe_anzeigen(i % 2 ? "01.01.01" : "03.02.05", 0);
        wechselnd.push_back(ms(Uhr::now() - beginn));
    }
    if (s != BELNAHILFE_OK) {
        std::fprintf(stderr, "bench_client: %s\n", belnahilfe_meldung(s));
        rc = 1;
    } else {
        ausgeben("warm, gleicher Abschnitt", gleich);
        ausgeben("warm, Abschnitt wechselt", wechselnd);
    }
    belnahilfe_beenden();
    return rc;
}
