// The subcommands that build and inspect help databases: erstellen, kapitel, stichwort.
#include "Befehle.h"

#include "DatenbankAnsicht.h"
#include "HilfeCompiler.h"
#include "SynthetischeDaten.h"

#include <QElapsedTimer>

#include <cstdio>

int befehlErstellen(const QStringList &args)
{
    QStringList pfade = args;
    const bool streng = pfade.removeAll(QStringLiteral("--streng")) > 0;
    if (pfade.size() != 2 || pfade[0].startsWith(QLatin1String("--")) ||
        pfade[1].startsWith(QLatin1String("--"))) {
        std::fputs("Aufruf: hilfedb erstellen QUELLORDNER ZIEL.mdb [--streng]\n", stderr);
        return 2;
    }
    QElapsedTimer uhr;
    uhr.start();
    QStringList meldungen;
    DatenbankAufbau::Statistik st;
    HilfeCompiler::Ergebnis e;
    const bool ok = HilfeCompiler::erstellen(pfade[0], pfade[1], meldungen, &st, streng, &e);
    for (const QString &m : std::as_const(meldungen))
        std::fprintf(stderr, "%s\n", qPrintable(m));
    if (e.fehler + e.warnungen > 0) {
        std::fprintf(stderr, "%d Fehler, %d %s%s\n", e.fehler, e.warnungen,
                     e.warnungen == 1 ? "Warnung" : "Warnungen",
                     streng && e.warnungen > 0 ? " (--streng: Warnungen zählen als Fehler)" : "");
    }
    if (!ok) {
        std::fprintf(stderr, "hilfedb: %s wurde nicht erstellt\n", qPrintable(pfade[1]));
        return 1;
    }
    std::printf("%s: %d Kapitel, %d Themen, %d Abschnitte, %d Bilder, %d Stichwörter, "
                "%d Zuordnungen (%lld ms)\n",
                qPrintable(pfade[1]), st.kapitel, st.themen, st.texte, st.bilder, st.woerter,
                st.zuordnungen, static_cast<long long>(uhr.elapsed()));
    return 0;
}

int befehlKapitel(const QStringList &args)
{
    if (args.size() != 1) {
        std::fputs("Aufruf: hilfedb kapitel DB\n", stderr);
        return 2;
    }
    QStringList zeilen;
    const bool ok = DatenbankAnsicht::kapitel(args[0], zeilen);
    for (const QString &z : std::as_const(zeilen))
        std::printf("%s\n", qPrintable(z));
    return ok ? 0 : 1;
}

int befehlStichwort(const QStringList &args)
{
    if (args.size() != 2 || args[1].isEmpty()) {
        std::fputs("Aufruf: hilfedb stichwort DB SUCHTEXT (SUCHTEXT nicht leer)\n", stderr);
        return 2;
    }
    QStringList zeilen;
    const bool ok = DatenbankAnsicht::stichwort(args[0], args[1], zeilen);
    for (const QString &z : std::as_const(zeilen))
        std::printf("%s\n", qPrintable(z));
    if (ok && zeilen.isEmpty())
        std::printf("Kein Stichwort enthält „%s“.\n", qPrintable(args[1]));
    return ok ? 0 : 1;
}

int befehlSynthetisch(const QStringList &args)
{
    const char *const aufruf = "Aufruf: hilfedb synthetisch ZIEL.mdb [--kapitel N] [--themen N] "
                               "[--abschnitte N] [--woerter N] [--bilder N] [--zuordnungen N]\n";
    SynthetischeDaten::Optionen o;
    QString ziel;
    struct Option
    {
        const char *name;
        int *wert;
        int mindestens;
    };
    const Option optionen[] = {
        {"--kapitel", &o.kapitel, 1},       {"--themen", &o.themen, 1},
        {"--abschnitte", &o.abschnitte, 1}, {"--woerter", &o.woerter, 1},
        {"--bilder", &o.bilder, 0},         {"--zuordnungen", &o.zuordnungen, 0}};
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            if (!ziel.isEmpty()) {
                std::fputs(aufruf, stderr);
                return 2;
            }
            ziel = a;
            continue;
        }
        const Option *gefunden = nullptr;
        for (const Option &opt : optionen) {
            if (a == QLatin1String(opt.name))
                gefunden = &opt;
        }
        bool ok = false;
        const int wert = i + 1 < args.size() ? args[i + 1].toInt(&ok) : 0;
        if (!gefunden || !ok || wert < gefunden->mindestens) {
            std::fprintf(stderr, "hilfedb: Option „%s“ unbekannt oder ohne gültige Zahl\n%s",
                         qPrintable(a), aufruf);
            return 2;
        }
        *gefunden->wert = wert;
        ++i;
    }
    // Help numbers have two digits per part.
    if (ziel.isEmpty() || o.kapitel > 99 || o.themen > 99 || o.abschnitte > 99) {
        std::fputs(aufruf, stderr);
        std::fputs("Kapitel, Themen und Abschnitte: je 1 bis 99\n", stderr);
        return 2;
    }
    QElapsedTimer uhr;
    uhr.start();
    const HilfeQuelle quelle = SynthetischeDaten::erzeugen(o);
    const qint64 erzeugt = uhr.elapsed();
    QString fehler;
    DatenbankAufbau::Statistik st;
    if (!DatenbankAufbau::schreiben(quelle, ziel, &fehler, &st)) {
        std::fprintf(stderr, "hilfedb: %s wurde nicht erstellt: %s\n", qPrintable(ziel),
                     qPrintable(fehler));
        return 1;
    }
    std::printf("%s: %d Kapitel, %d Themen, %d Abschnitte, %d Bilder, %d Stichwörter, "
                "%d Zuordnungen (erzeugt in %lld ms, geschrieben in %lld ms)\n",
                qPrintable(ziel), st.kapitel, st.themen, st.texte, st.bilder, st.woerter,
                st.zuordnungen, static_cast<long long>(erzeugt),
                static_cast<long long>(uhr.elapsed() - erzeugt));
    return 0;
}
