// Benchmark: compiles the help sources in content/ (or the folder given as the first argument)
// into a database in a temporary folder, several times, and prints the times of reading and
// drawing, of writing, and of the whole run. Target: a whole run in at most 10 s.
#include "DatenbankAufbau.h"
#include "QuellParser.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString quelle =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TOLVAR_CONTENT_DIR);
    const int laeufe = 3;
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;

    qint64 besterLauf = -1;
    for (int lauf = 1; lauf <= laeufe; ++lauf) {
        QElapsedTimer uhr;
        uhr.start();
        HilfeQuelle q;
        QList<QuellFehler> fehler;
        if (!QuellParser::lesen(quelle, q, fehler)) {
            for (const QuellFehler &f : std::as_const(fehler))
                std::fprintf(stderr, "%s\n", qPrintable(f.alsText()));
            return 1;
        }
        const qint64 gelesen = uhr.elapsed();
        QString text;
        DatenbankAufbau::Statistik st;
        if (!DatenbankAufbau::schreiben(q, dir.filePath(QStringLiteral("HilfeBelna.mdb")), &text,
                                        &st)) {
            std::fprintf(stderr, "%s\n", qPrintable(text));
            return 1;
        }
        const qint64 gesamt = uhr.elapsed();
        std::printf("Lauf %d: lesen und zeichnen %lld ms, schreiben %lld ms, gesamt %lld ms "
                    "(%d Abschnitte, %d Bilder, %d Stichwörter)\n",
                    lauf, static_cast<long long>(gelesen), static_cast<long long>(gesamt - gelesen),
                    static_cast<long long>(gesamt), st.texte, st.bilder, st.woerter);
        besterLauf = besterLauf < 0 ? gesamt : std::min(besterLauf, gesamt);
    }
    std::printf("bester Lauf: %lld ms; Ziel höchstens 10000 ms: %s\n",
                static_cast<long long>(besterLauf), besterLauf <= 10000 ? "erreicht" : "VERFEHLT");
    return 0;
}
