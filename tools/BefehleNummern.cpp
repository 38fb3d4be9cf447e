// hilfedb nummern: the help numbers a host program calls, checked against a help database.
// One line per number that leads to no section (file:line: number: where the help goes
// instead) on standard output, a count on standard error; exit status 1 when there is such a
// number or a file or the database cannot be read.
#include "Befehle.h"

#include "DatenbankAnsicht.h"
#include "HilfeBaum.h"
#include "HilfeNummern.h"
#include "Pruefung.h"

#include <QSet>

#include <algorithm>

#include <cstdio>

int befehlNummern(const QStringList &args)
{
    QStringList pfade = args;
    const bool unbenutzt = pfade.removeAll(QStringLiteral("--unbenutzt")) > 0;
    if (pfade.size() < 2 || std::any_of(pfade.cbegin(), pfade.cend(), [](const QString &p) {
            return p.startsWith(QLatin1String("--"));
        })) {
        std::fputs("Aufruf: hilfedb nummern DB QUELLE... [--unbenutzt]\n", stderr);
        return 2;
    }
    const QString datenbank = pfade.takeFirst();
    HilfeBaum baum;
    QString lesefehler;
    if (!HilfeBaum::lesen(datenbank, baum, lesefehler)) {
        std::fprintf(stderr, "hilfedb: %s kann nicht gelesen werden: %s\n", qPrintable(datenbank),
                     qPrintable(lesefehler));
        return 1;
    }
    // The sections the help can open, in its order, with their titles and texts.
    QStringList abschnitte, titel, texte;
    for (const HilfeBaum::Kapitel &k : std::as_const(baum.kapitel))
        for (const HilfeBaum::Thema &t : k.themen)
            for (const HilfeBaum::Abschnitt &a : t.abschnitte)
                if (a.erreichbar) {
                    abschnitte << a.hilfeNummer;
                    titel << a.titel;
                    texte << a.text;
                }

    QStringList fehler;
    const QList<HilfeNummern::Fund> funde = HilfeNummern::suchen(pfade, fehler);
    for (const QString &f : std::as_const(fehler))
        std::fprintf(stderr, "hilfedb: %s\n", qPrintable(f));
    int insLeere = 0;
    QSet<QString> verschieden, dateien, benutzt;
    for (const HilfeNummern::Fund &f : funde) {
        verschieden.insert(f.nummer);
        dateien.insert(f.datei);
        const QString wohin = HilfeNummern::ziel(f.nummer, abschnitte);
        if (wohin.isEmpty()) {
            benutzt.insert(f.nummer);
            continue;
        }
        ++insLeere;
        std::printf("%s:%d: %s: %s\n", qPrintable(f.datei), f.zeile, qPrintable(f.nummer),
                    qPrintable(wohin));
    }

    if (unbenutzt) {
        // Sections that the host calls or a link of another section leads to.
        for (qsizetype a = 0; a < abschnitte.size(); ++a) {
            const QString &nummer = abschnitte[a];
            QList<tVerweis> links; // from 1 to anzahl
            qint16 anzahl = 0;
            Pruefung::textProbleme(texte[a], &links, &anzahl);
            for (int i = 1; i <= anzahl && i < links.size(); ++i) {
                qint32 t[3];
                if (Pruefung::nummerZerlegen(links[i].TextNummer, t)) {
                    const QString ziel = DatenbankAnsicht::hilfeNummer(t[0], t[1], t[2]);
                    if (ziel != nummer)
                        benutzt.insert(ziel);
                }
            }
        }
        for (qsizetype i = 0; i < abschnitte.size(); ++i) {
            if (!benutzt.contains(abschnitte[i]))
                std::printf("unbenutzt: %s %s\n", qPrintable(abschnitte[i]), qPrintable(titel[i]));
        }
    }
    std::fflush(stdout);
    std::fprintf(stderr, "hilfedb: %lld Hilfenummern (%lld verschiedene) in %lld Dateien, %d %s\n",
                 static_cast<long long>(funde.size()), static_cast<long long>(verschieden.size()),
                 static_cast<long long>(dateien.size()), insLeere,
                 insLeere == 1 ? "führt zu keinem Abschnitt" : "führen zu keinem Abschnitt");
    return insLeere == 0 && fehler.isEmpty() ? 0 : 1;
}
