// Benchmark: writes the sample help (the build's HilfeBelna.mdb) and a synthetic help of 20,000
// sections (10 chapters x 20 topics x 100 sections, 40 pictures) as web sites, each first into an
// empty folder and then again after one section changed, and prints the times and sizes.
// Targets: the whole sample help at most 5 s, 20,000 sections at most 60 s. The browser search's
// data is also made alone, for its time and size.
#include "DatenbankAufbau.h"
#include "HilfeBaum.h"
#include "SynthetischeDaten.h"
#include "WebAuftritt.h"
#include "WebSuche.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

qint64 groesse(const QString &ordner)
{
    qint64 summe = 0;
    QDirIterator it(ordner, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        summe += it.fileInfo().size();
    }
    return summe;
}

bool messen(const char *name, const QString &db, const QString &ordner)
{
    QElapsedTimer t;
    t.start();
    HilfeBaum baum;
    QString fehler;
    if (!HilfeBaum::lesen(db, baum, fehler)) {
        std::fprintf(stderr, "bench_web: %s: %s\n", qPrintable(db), qPrintable(fehler));
        return false;
    }
    const double lesen = t.nsecsElapsed() / 1e6;
    WebAuftritt::Ergebnis e;
    if (!WebAuftritt::schreiben(baum, ordner, {QStringLiteral("https://hilfe.example.de/")}, e,
                                fehler)) {
        std::fprintf(stderr, "bench_web: %s\n", qPrintable(fehler));
        return false;
    }
    const double erstes = t.nsecsElapsed() / 1e6;
    // The browser search's data alone: its time and size.
    QElapsedTimer ts;
    ts.start();
    qint64 suchBytes = 0, indexBytes = 0;
    for (const auto &[pfad, inhalt] : WebSuche::dateien(baum)) {
        suchBytes += inhalt.size();
        if (pfad.endsWith(QLatin1String("index.js")))
            indexBytes = inhalt.size();
    }
    std::printf("%s: Suchdaten in %.0f ms, %.2f MB (davon Index %.2f MB, der Rest die Texte "
                "für die Fundstellen)\n",
                name, ts.nsecsElapsed() / 1e6, suchBytes / 1e6, indexBytes / 1e6);
    // One section changed: a second run renders its page alone.
    for (HilfeBaum::Kapitel &k : baum.kapitel)
        if (!k.themen.isEmpty() && !k.themen.first().abschnitte.isEmpty()) {
            k.themen.first().abschnitte.first().titel += QStringLiteral(" (neu)");
            break;
        }
    t.restart();
    WebAuftritt::Ergebnis zweites;
    if (!WebAuftritt::schreiben(baum, ordner, {QStringLiteral("https://hilfe.example.de/")},
                                zweites, fehler))
        return false;
    std::printf("%s: %d Seiten, %d Bilder, %.1f MB; erstes Mal %.0f ms (Lesen %.0f ms), nach "
                "einer Änderung %.0f ms (%d Seiten neu erzeugt)\n",
                name, e.seiten, e.bilder, groesse(ordner) / 1e6, erstes, lesen,
                t.nsecsElapsed() / 1e6, zweites.neuGerendert);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QTemporaryDir dir;
    if (!messen("Beispielhilfe", QStringLiteral(TOLVAR_BEISPIEL_DB), dir.filePath("beispiel")))
        return 1;
    SynthetischeDaten::Optionen o;
    o.themen = 20;
    o.abschnitte = 100;
    o.zeichenJeAbschnitt = 1500;
    QString fehler;
    if (!DatenbankAufbau::schreiben(SynthetischeDaten::erzeugen(o), dir.filePath("gross.mdb"),
                                    &fehler)) {
        std::fprintf(stderr, "bench_web: %s\n", qPrintable(fehler));
        return 1;
    }
    return messen("20.000 Abschnitte", dir.filePath("gross.mdb"), dir.filePath("gross")) ? 0 : 1;
}
