// hilfedb suche DB TEXT: the full-text search as the help runs it, with the ranked hits on
// standard output, one line each: help number, score, section title, snippet. A mark "*" before
// the score says that a keyword equal to the search text leads to the section. Misspelled words
// that the search corrected are named first ("Meinten Sie: …"), and when the search text as
// typed finds nothing, so is the corrected text that was searched instead.
#include "DatenbankOrt.h"
#include "HilfeDatenbank.h"
#include "Volltextabfragen.h"

#include <QElapsedTimer>

#include <cstdio>

int befehlSuche(const QStringList &args)
{
    if (args.size() != 2) {
        std::fputs("Aufruf: hilfedb suche DB \"TEXT\"\n", stderr);
        return 2;
    }
    const DatenbankOrt ort(args[0]);
    QElapsedTimer uhr;
    uhr.start();
    const VolltextErgebnis e = standardDatenbank().volltextSuchen(args[1]);
    const QList<VolltextTreffer> &treffer = e.zeilen;
    const int gesamt = e.gesamt;
    if (!e.ok) {
        std::fprintf(stderr, "hilfedb: %s kann nicht gelesen werden\n", qPrintable(args[0]));
        return 1;
    }
    const qint64 ms = uhr.elapsed();
    // Misspelled words were searched as the nearest words of the help's vocabulary.
    const QString &korrektur = e.korrektur;
    if (!korrektur.isEmpty()) {
        std::printf("Meinten Sie: %s\n", qPrintable(korrektur));
        if (e.korrekturStattLeer)
            std::printf("„%s“ findet nichts; gesucht wurde „%s“.\n", qPrintable(args[1]),
                        qPrintable(korrektur));
    }
    for (const VolltextTreffer &t : std::as_const(treffer)) {
        std::printf("%s %s%7.3f  %s — %s\n", qPrintable(t.nummer), t.stichwort ? "*" : " ", t.wert,
                    qPrintable(t.abschnitt), qPrintable(t.ausschnitt));
    }
    const bool speicher = Volltextsuche::letzteQuelle() == Volltextsuche::Quelle::Speicher;
    if (treffer.isEmpty()) {
        std::printf("Kein Abschnitt enthält „%s“.\n", qPrintable(args[1]));
    } else {
        std::fprintf(stderr, "hilfedb: %d Abschnitte gefunden, %lld gezeigt (%lld ms%s)\n", gesamt,
                     static_cast<long long>(treffer.size()), static_cast<long long>(ms),
                     speicher ? ", Index im Speicher aufgebaut" : "");
    }
    return 0;
}
