// hilfedb pruefen: checks a compiled help database (see Pruefung.h). One line per problem and
// one per warning ("Warnung: ...") on standard output, a summary on standard error; exit
// status 1 when there is any problem or the database cannot be read. Warnings alone leave it 0.
#include "Befehle.h"

#include "Pruefung.h"

#include <cstdio>

int befehlPruefen(const QStringList &args)
{
    if (args.size() != 1) {
        std::fputs("Aufruf: hilfedb pruefen DB\n", stderr);
        return 2;
    }
    Pruefung::Ergebnis ergebnis;
    const bool gelesen = Pruefung::pruefen(args[0], ergebnis);
    for (const QString &p : std::as_const(ergebnis.probleme))
        std::printf("%s\n", qPrintable(p));
    for (const QString &w : std::as_const(ergebnis.warnungen))
        std::printf("Warnung: %s\n", qPrintable(w));
    std::fflush(stdout);
    if (!gelesen) {
        std::fprintf(stderr, "hilfedb: %s kann nicht vollständig gelesen werden\n",
                     qPrintable(args[0]));
        return 1;
    }
    std::fprintf(stderr,
                 "hilfedb: %d Abschnitte, %d Bilder, %d Stichwörter geprüft, %lld %s, %lld %s\n",
                 ergebnis.abschnitte, ergebnis.bilder, ergebnis.stichwoerter,
                 static_cast<long long>(ergebnis.probleme.size()),
                 ergebnis.probleme.size() == 1 ? "Problem" : "Probleme",
                 static_cast<long long>(ergebnis.warnungen.size()),
                 ergebnis.warnungen.size() == 1 ? "Warnung" : "Warnungen");
    return ergebnis.probleme.isEmpty() ? 0 : 1;
}
