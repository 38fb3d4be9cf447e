// Benchmark: on a visible tab row (offscreen) sets the number of tabs to n, then fills their
// captions, once with setCaptions and once one caption at a time (setCaption per tab, as the
// help window does), and prints the times. The numbers of tabs are given as arguments (default
// 500 2000 8000). The one-step fill should grow linearly with n. Setting the number still
// grows faster (QTabBar lays out the whole row on every insert; the control keeps each of those
// layouts cheap). The per-tab fill lays out the row after each caption, measuring every caption
// each time, so it is only measured up to 2000 tabs.
#include "Registerkarten.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTabBar>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

QList<QString> titel(int n, int runde)
{
    QList<QString> liste{QString()}; // element 0 unused, as the queries return them
    for (int i = 1; i <= n; ++i)
        liste << QStringLiteral("Kapitel %1 & Runde %2").arg(i).arg(runde);
    return liste;
}

struct Zeiten
{
    double anzahl = 0;
    double captions = 0;
};

Zeiten messen(int n, bool einzeln)
{
    QWidget fenster;
    fenster.resize(900, 100);
    Registerkarten k(&fenster);
    k.setGeometry(0, 0, 900, 100);
    fenster.show();
    QCoreApplication::processEvents();
    const QList<QString> liste = titel(n, einzeln ? 1 : 2);
    Zeiten z;
    QElapsedTimer uhr;
    uhr.start();
    k.setAnzahl(n);
    z.anzahl = double(uhr.nsecsElapsed()) / 1e6;
    uhr.restart();
    if (einzeln) {
        for (int i = 1; i <= n; ++i)
            k.setCaption(i - 1, liste.at(i));
    } else {
        k.setCaptions(liste);
    }
    // The row is laid out before the time is taken.
    const int rechts = k.leiste()->tabRect(n - 1).right();
    z.captions = double(uhr.nsecsElapsed()) / 1e6;
    if (rechts <= 0 || k.caption(n - 1) != liste.at(n))
        std::fprintf(stderr, "falsche Zeile bei %d Karten\n", n);
    return z;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<int> anzahlen;
    for (int i = 1; i < argc; ++i)
        anzahlen.push_back(std::max(1, std::atoi(argv[i])));
    if (anzahlen.empty())
        anzahlen = {500, 2000, 8000};

    std::printf("%8s %14s %16s %14s\n", "Karten", "Anzahl (ms)", "auf einmal (ms)", "einzeln (ms)");
    for (int n : anzahlen) {
        const Zeiten auf = messen(n, false);
        if (n <= 2000)
            std::printf("%8d %14.1f %16.1f %14.1f\n", n, auf.anzahl, auf.captions,
                        messen(n, true).captions);
        else
            std::printf("%8d %14.1f %16.1f %14s\n", n, auf.anzahl, auf.captions, "-");
        std::fflush(stdout);
    }
    return 0;
}
