// The subcommand vergleichen: whether two help databases hold the same help.
#include "Befehle.h"

#include "DatenbankVergleich.h"

#include <cstdio>

int befehlVergleichen(const QStringList &args)
{
    if (args.size() != 2) {
        std::fputs("Aufruf: hilfedb vergleichen DB1 DB2\n", stderr);
        return 2;
    }
    DatenbankVergleich::Ergebnis e;
    if (!DatenbankVergleich::vergleichen(args[0], args[1], e)) {
        std::fprintf(stderr, "hilfedb: %s\n", qPrintable(e.fehler));
        return 1;
    }
    for (const QString &z : std::as_const(e.unterschiede))
        std::printf("%s\n", qPrintable(z));
    if (!e.unterschiede.isEmpty()) {
        std::printf("verschieden: %lld %s\n", static_cast<long long>(e.unterschiede.size()),
                    e.unterschiede.size() == 1 ? "Unterschied" : "Unterschiede");
        return 1;
    }
    std::printf("gleich: %d Kapitel, %d Themen, %d Abschnitte, %d Stichwörter, %d Bilder, %s\n",
                e.kapitel, e.themen, e.abschnitte, e.stichwoerter, e.bilder,
                e.volltextIndex ? "mit Volltextindex" : "ohne Volltextindex");
    return 0;
}
