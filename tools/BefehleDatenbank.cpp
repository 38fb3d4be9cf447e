// The subcommands that build and inspect help databases: erstellen, kapitel, stichwort.
#include "Befehle.h"

#include "HilfeCompiler.h"

#include <QElapsedTimer>

#include <cstdio>

int befehlErstellen(const QStringList &args)
{
    if (args.size() != 2) {
        std::fputs("Aufruf: hilfedb erstellen QUELLORDNER ZIEL.mdb\n", stderr);
        return 2;
    }
    QElapsedTimer uhr;
    uhr.start();
    QStringList meldungen;
    DatenbankAufbau::Statistik st;
    if (!HilfeCompiler::erstellen(args[0], args[1], meldungen, &st)) {
        for (const QString &m : std::as_const(meldungen))
            std::fprintf(stderr, "%s\n", qPrintable(m));
        std::fprintf(stderr, "hilfedb: %s wurde nicht erstellt\n", qPrintable(args[1]));
        return 1;
    }
    std::printf("%s: %d Kapitel, %d Themen, %d Abschnitte, %d Bilder, %d Stichwörter, "
                "%d Zuordnungen (%lld ms)\n",
                qPrintable(args[1]), st.kapitel, st.themen, st.texte, st.bilder, st.woerter,
                st.zuordnungen, static_cast<long long>(uhr.elapsed()));
    return 0;
}

int befehlKapitel(const QStringList &)
{
    std::fputs("hilfedb: „kapitel“ ist noch nicht verfügbar\n", stderr);
    return 1;
}

int befehlStichwort(const QStringList &)
{
    std::fputs("hilfedb: „stichwort“ ist noch nicht verfügbar\n", stderr);
    return 1;
}

int befehlSynthetisch(const QStringList &)
{
    std::fputs("hilfedb: „synthetisch“ ist noch nicht verfügbar\n", stderr);
    return 1;
}
