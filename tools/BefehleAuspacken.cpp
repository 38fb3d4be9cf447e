// hilfedb auspacken DB ORDNER [--ersetzen]: writes a help database back as editable sources
// (see QuellAusgabe.h). Standard output: the sections kept as RTF blocks with the reason, then
// a summary. Standard error: each item the sources cannot express, and why nothing was written.
// Exit status 0 when the folder was written, 1 when it was not, 2 on wrong usage (an existing
// ORDNER without --ersetzen included).
#include "Befehle.h"
#include "QuellAusgabe.h"

#include <QFileInfo>

#include <cstdio>

int befehlAuspacken(const QStringList &args)
{
    QStringList pfade;
    bool ersetzen = false;
    for (const QString &a : args) {
        if (a == QLatin1String("--ersetzen") && !ersetzen)
            ersetzen = true;
        else if (a.startsWith(QLatin1String("--")))
            pfade << QString(); // an unknown or repeated option makes the call wrong
        else
            pfade << a;
    }
    if (pfade.size() != 2 || pfade.contains(QString())) {
        std::fputs("Aufruf: hilfedb auspacken DB ORDNER [--ersetzen]\n", stderr);
        return 2;
    }
    const QString &datenbank = pfade[0];
    const QString &ordner = pfade[1];
    const QFileInfo ziel(ordner);
    if (ziel.exists() && !ersetzen) {
        std::fprintf(stderr, "hilfedb: %s gibt es schon; mit --ersetzen wird der Ordner ersetzt\n",
                     qPrintable(ordner));
        return 2;
    }
    // A link is not followed: replacing it would remove the folder it points to.
    if (ziel.isSymLink() || (ziel.exists() && !ziel.isDir())) {
        std::fprintf(stderr, "hilfedb: %s ist kein Ordner (oder eine Verknüpfung)\n",
                     qPrintable(ordner));
        return 2;
    }
    // Replacing the folder must not take the database with it.
    const QString dbPfad = QFileInfo(datenbank).canonicalFilePath();
    if (ziel.exists() && !dbPfad.isEmpty() &&
        dbPfad.startsWith(ziel.canonicalFilePath() + QLatin1Char('/'))) {
        std::fprintf(stderr, "hilfedb: %s liegt im Ordner %s\n", qPrintable(datenbank),
                     qPrintable(ordner));
        return 2;
    }

    QuellAusgabe::Ergebnis e;
    const bool geschrieben = QuellAusgabe::auspacken(datenbank, ordner, ersetzen, e);
    for (const QString &z : std::as_const(e.nichtDarstellbar))
        std::fprintf(stderr, "hilfedb: nicht darstellbar: %s\n", qPrintable(z));
    if (!geschrieben) {
        if (!e.fehler.isEmpty())
            std::fprintf(stderr, "hilfedb: %s\n", qPrintable(e.fehler));
        std::fprintf(stderr, "hilfedb: %s wurde nicht geschrieben\n", qPrintable(ordner));
        return 1;
    }
    for (const QString &z : std::as_const(e.alsRtf))
        std::printf("%s: RTF unverändert übernommen: %s\n",
                    qPrintable(z.section(QStringLiteral(": "), 0, 0)),
                    qPrintable(z.section(QStringLiteral(": "), 1)));
    std::printf("%s: %d Kapitel, %d Abschnitte (%lld als RTF unverändert), %d Bilder\n",
                qPrintable(ordner), e.kapitel, e.abschnitte,
                static_cast<long long>(e.alsRtf.size()), e.bilder);
    return 0;
}
