// Benchmark: imports beispiel-jet4.mdb (or the Jet file given as the first argument) into a new
// help database in a temporary folder, several times, and prints the time of the import and of
// the check that "hilfedb importieren" runs afterwards. Target: both together in at most 1 s.
#include "JetImport.h"
#include "Pruefung.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString quelle = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : QStringLiteral(TOLVAR_JET_DIR "/beispiel-jet4.mdb");
    const int laeufe = 5;
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QString ziel = dir.filePath(QStringLiteral("HilfeBelna.mdb"));

    qint64 besterLauf = -1;
    for (int lauf = 1; lauf <= laeufe; ++lauf) {
        QElapsedTimer uhr;
        uhr.start();
        JetImport::Ergebnis e;
        if (!JetImport::importieren(quelle, ziel, true, e)) {
            std::fprintf(stderr, "%s\n", qPrintable(e.fehler));
            return 1;
        }
        const qint64 importiert = uhr.elapsed();
        Pruefung::Ergebnis p;
        if (!Pruefung::pruefen(ziel, p)) {
            std::fprintf(stderr, "Prüfung kann %s nicht lesen\n", qPrintable(ziel));
            return 1;
        }
        const qint64 gesamt = uhr.elapsed();
        int zeilen = 0;
        for (const JetImport::Tabelle &t : std::as_const(e.tabellen))
            zeilen += t.geschrieben;
        std::printf("Lauf %d: importieren %lld ms, prüfen %lld ms, gesamt %lld ms (%d Zeilen, "
                    "%lld Probleme)\n",
                    lauf, static_cast<long long>(importiert),
                    static_cast<long long>(gesamt - importiert), static_cast<long long>(gesamt),
                    zeilen, static_cast<long long>(p.probleme.size()));
        besterLauf = besterLauf < 0 ? gesamt : std::min(besterLauf, gesamt);
    }
    std::printf("bester Lauf: %lld ms; Ziel höchstens 1000 ms: %s\n",
                static_cast<long long>(besterLauf), besterLauf <= 1000 ? "erreicht" : "VERFEHLT");
    return 0;
}
