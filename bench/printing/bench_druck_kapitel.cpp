// Prints chapter 1 of the synthetic help (about 200 pages with 40 pictures) with pictures to
// PDF through hilfedb drucken, as a writer or the help does. Each run is a child process of
// its own (this program started again with --lauf), so that its peak resident memory
// (getrusage) belongs to that one print-out. Prints seconds, pages and peak RSS per run and
// their medians; targets: at most 10 s and 400 MB.
#include "Befehle.h"
#include "DatenbankAufbau.h"
#include "SynthetischeDaten.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// One print-out in this process; prints "MESSUNG <seconds> <peak RSS kB>" after the tool's
// own line "<pdf>: <n> Seiten".
int lauf(const QString &db, const QString &pdf)
{
    QElapsedTimer uhr;
    uhr.start();
    const int code = befehlDrucken({db, QStringLiteral("01"), QStringLiteral("--umfang"),
                                    QStringLiteral("kapitel"), QStringLiteral("--grafiken"),
                                    QStringLiteral("--pdf"), pdf});
    const double sekunden = double(uhr.nsecsElapsed()) / 1e9;
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    std::fflush(stdout);
    std::printf("MESSUNG %.3f %ld\n", sekunden, r.ru_maxrss);
    return code;
}

} // namespace

int main(int argc, char **argv)
{
    // The pictures are drawn with fonts, the print-out is laid out with them: both need the
    // (offscreen) GUI platform.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--lauf")
        return lauf(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    const int laeufe = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("synthetisch.mdb"));
    std::fprintf(stderr, "Schreibe die synthetische Hilfe (Kapitel 1) ...\n");
    SynthetischeDaten::Optionen o;
    o.kapitel = 1;
    o.woerter = 1000;
    o.zuordnungen = 1000;
    QString fehler;
    if (!DatenbankAufbau::schreiben(SynthetischeDaten::erzeugen(o), db, &fehler)) {
        std::fprintf(stderr, "Datenbank nicht geschrieben: %s\n", qPrintable(fehler));
        return 1;
    }

    std::vector<double> sekunden, mb;
    int seiten = 0;
    const QRegularExpression seitenMuster(QStringLiteral(": (\\d+) Seiten"));
    const QRegularExpression messMuster(QStringLiteral("MESSUNG ([0-9.]+) (\\d+)"));
    for (int i = 1; i <= laeufe; ++i) {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--lauf"), db, dir.filePath(QStringLiteral("kapitel.pdf"))});
        if (!p.waitForFinished(300000) || p.exitCode() != 0) {
            std::fprintf(stderr, "Lauf %d fehlgeschlagen\n", i);
            return 1;
        }
        const QString aus = QString::fromUtf8(p.readAllStandardOutput());
        const auto s = seitenMuster.match(aus);
        const auto m = messMuster.match(aus);
        if (!s.hasMatch() || !m.hasMatch()) {
            std::fprintf(stderr, "Ausgabe unerwartet: %s\n", qPrintable(aus));
            return 1;
        }
        seiten = s.captured(1).toInt();
        sekunden.push_back(m.captured(1).toDouble());
        mb.push_back(m.captured(2).toDouble() / 1024.0);
        std::printf("Lauf %d: %.2f s, %d Seiten, höchster Speicher %.0f MB\n", i, sekunden.back(),
                    seiten, mb.back());
    }
    const double s = median(sekunden), m = median(mb);
    std::printf("Kapitel 1 mit 40 Bildern als PDF: Median %.2f s (Ziel <= 10 s), %d Seiten, "
                "höchster Speicher Median %.0f MB (Ziel <= 400 MB) -> %s\n",
                s, seiten, m, (s <= 10.0 && m <= 400.0) ? "erfüllt" : "VERFEHLT");
    return 0;
}
