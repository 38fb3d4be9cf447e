// hilfedb importieren ALT.mdb NEU.mdb [--ersetzen]: carries an old help database kept in a Jet
// file over into a new encrypted help database (see JetImport.h), then runs the checks of
// "hilfedb pruefen" on the result. Standard output: one line per table with the rows read and
// written, then the check's problems and its summary. Standard error: rows left out, and why
// nothing was written. Exit status 0 when every row was carried over, 1 when the source cannot
// be read or a row could not be written, 2 on wrong usage (an existing NEU.mdb without
// --ersetzen included). The check's problems are content, not a failure of the import.
#include "Befehle.h"
#include "JetImport.h"
#include "Pruefung.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

int befehlImportieren(const QStringList &args)
{
    QStringList dateien;
    bool ersetzen = false;
    for (const QString &a : args) {
        if (a == QLatin1String("--ersetzen"))
            ersetzen = true;
        else if (a.startsWith(QLatin1String("--")))
            dateien << QString(); // an unknown option makes the call wrong
        else
            dateien << a;
    }
    if (dateien.size() != 2 || dateien.contains(QString()) || args.count("--ersetzen") > 1) {
        std::fputs("Aufruf: hilfedb importieren ALT.mdb NEU.mdb [--ersetzen]\n", stderr);
        return 2;
    }
    const QString &quelle = dateien[0];
    const QString &ziel = dateien[1];
    const QFileInfo zielInfo(ziel);
    if (zielInfo.exists() && !ersetzen) {
        std::fprintf(stderr, "hilfedb: %s gibt es schon; mit --ersetzen wird die Datei ersetzt\n",
                     qPrintable(ziel));
        return 2;
    }
    if (dieselbeDatei(ziel, quelle)) {
        std::fprintf(stderr, "hilfedb: %s ist Quelle und Ziel zugleich\n", qPrintable(ziel));
        return 2;
    }

    QElapsedTimer uhr;
    uhr.start();
    JetImport::Ergebnis ergebnis;
    const bool geschrieben = JetImport::importieren(quelle, ziel, ersetzen, ergebnis);
    for (const JetImport::Tabelle &t : std::as_const(ergebnis.tabellen))
        std::printf("%s: %d gelesen, %d geschrieben\n", qPrintable(t.name), t.gelesen,
                    t.geschrieben);
    std::fflush(stdout);
    for (const QString &z : std::as_const(ergebnis.zeilenFehler))
        std::fprintf(stderr, "hilfedb: %s\n", qPrintable(z));
    if (!geschrieben) {
        std::fprintf(stderr, "hilfedb: %s\nhilfedb: %s wurde nicht erstellt\n",
                     qPrintable(ergebnis.fehler), qPrintable(ziel));
        return 1;
    }
    std::printf("%s: geschrieben in %lld ms", qPrintable(ziel),
                static_cast<long long>(uhr.elapsed()));
    if (!ergebnis.zeilenFehler.isEmpty())
        std::printf(", %lld %s nicht übernommen",
                    static_cast<long long>(ergebnis.zeilenFehler.size()),
                    ergebnis.zeilenFehler.size() == 1 ? "Zeile" : "Zeilen");
    std::printf("\n");

    // The check reads the new file through the help's own queries, as "hilfedb pruefen" does.
    Pruefung::Ergebnis pruefung;
    const bool gelesen = Pruefung::pruefen(ziel, pruefung);
    std::printf("Prüfung von %s:\n", qPrintable(ziel));
    for (const QString &p : std::as_const(pruefung.probleme))
        std::printf("%s\n", qPrintable(p));
    for (const QString &w : std::as_const(pruefung.warnungen))
        std::printf("Warnung: %s\n", qPrintable(w));
    if (gelesen)
        std::printf("%d Abschnitte, %d Bilder, %d Stichwörter geprüft, %lld %s, %lld %s\n",
                    pruefung.abschnitte, pruefung.bilder, pruefung.stichwoerter,
                    static_cast<long long>(pruefung.probleme.size()),
                    pruefung.probleme.size() == 1 ? "Problem" : "Probleme",
                    static_cast<long long>(pruefung.warnungen.size()),
                    pruefung.warnungen.size() == 1 ? "Warnung" : "Warnungen");
    else
        std::printf("Die Prüfung konnte %s nicht vollständig lesen; die Hilfe liest diese "
                    "Inhalte ebenso wenig\n",
                    qPrintable(ziel));
    std::fflush(stdout);
    return ergebnis.zeilenFehler.isEmpty() ? 0 : 1;
}
