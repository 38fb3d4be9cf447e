// Benchmark: imports beispiel-jet4.mdb (or the Jet file given as the first argument) into a new
// help database in a temporary folder, several times, and prints the time of the import and of
// the check that "hilfedb importieren" runs afterwards. Target: both together in at most 1 s.
// Then the sample with one byte of the catalogue's property data changed (libmdb would read it
// without end): its refusal must come within 10 s, with at most 1 GB of memory in the process
// and its reading child together.
#include "JetImport.h"
#include "Pruefung.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include <sys/resource.h>

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

    QFile f(quelle);
    if (!f.open(QIODevice::ReadOnly))
        return 1;
    QByteArray kaputt = f.readAll();
    if (kaputt.size() <= 0x17f09)
        return 1;
    kaputt[0x17f09] = char(0x5e);
    const QString kaputtPfad = dir.filePath(QStringLiteral("beschaedigt.mdb"));
    QFile k(kaputtPfad);
    if (!k.open(QIODevice::WriteOnly) || k.write(kaputt) != kaputt.size())
        return 1;
    k.close();
    QElapsedTimer uhr;
    uhr.start();
    JetImport::Ergebnis e;
    const bool angenommen = JetImport::importieren(kaputtPfad, ziel, true, e);
    const qint64 ms = uhr.elapsed();
    rusage selbst{}, kinder{};
    getrusage(RUSAGE_SELF, &selbst);
    getrusage(RUSAGE_CHILDREN, &kinder);
    const long mb = (selbst.ru_maxrss + kinder.ru_maxrss) / 1024; // each its own peak, in KB
    const bool erreicht = !angenommen && ms <= 10000 && mb <= 1024;
    std::printf("beschädigte Datei: %s in %lld ms, Speicher höchstens %ld MB (Prozess %ld, "
                "Lesen %ld); Ziel 10 s und 1 GB: %s\n",
                angenommen ? "ANGENOMMEN" : "abgelehnt", static_cast<long long>(ms), mb,
                selbst.ru_maxrss / 1024, kinder.ru_maxrss / 1024,
                erreicht ? "erreicht" : "VERFEHLT");
    return 0;
}
