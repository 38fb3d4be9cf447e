// The subcommand web: the help database as a static web site (WebAuftritt.h).
#include "Befehle.h"

#include "HilfeBaum.h"
#include "WebAuftritt.h"

#include <QElapsedTimer>

#include <cstdio>

int befehlWeb(const QStringList &args)
{
    QStringList rest = args;
    WebAuftritt::Optionen optionen;
    const qsizetype a = rest.indexOf(QStringLiteral("--adresse"));
    if (a >= 0) {
        if (a + 1 >= rest.size() || !rest.at(a + 1).contains(QLatin1String("://"))) {
            std::fputs(
                "hilfedb web: --adresse braucht eine Adresse wie https://hilfe.example.de/\n",
                stderr);
            return 2;
        }
        optionen.adresse = rest.at(a + 1);
        rest.remove(a, 2);
    }
    if (rest.size() != 2 || rest.first().startsWith(QLatin1String("--")) ||
        rest.last().startsWith(QLatin1String("--"))) {
        std::fputs("Aufruf: hilfedb web DB ORDNER [--adresse URL]\n", stderr);
        return 2;
    }
    QElapsedTimer zeit;
    zeit.start();
    HilfeBaum baum;
    QString fehler;
    if (!HilfeBaum::lesen(rest[0], baum, fehler)) {
        std::fprintf(stderr, "hilfedb web: %s: %s\n", qPrintable(rest[0]), qPrintable(fehler));
        return 1;
    }
    WebAuftritt::Ergebnis e;
    if (!WebAuftritt::schreiben(baum, rest[1], optionen, e, fehler)) {
        std::fprintf(stderr, "hilfedb web: %s\n", qPrintable(fehler));
        return 1;
    }
    std::printf("%s: %d Seiten (%d neu erzeugt), %d Bilder, %d Dateien geschrieben, %d entfernt%s "
                "(%lld ms)\n",
                qPrintable(rest[1]), e.seiten, e.neuGerendert, e.bilder, e.geschrieben, e.entfernt,
                optionen.adresse.isEmpty() ? ", ohne sitemap.xml (--adresse fehlt)" : "",
                static_cast<long long>(zeit.elapsed()));
    return 0;
}
