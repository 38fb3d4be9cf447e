// Times the queries the help window and the keyword search run most: the sections of a topic
// (after the first query, so over the kept connection), the keyword search for "e" over
// 100,000 keywords, and the texts of a keyword with 50 texts. The data is written into a
// temporary directory first; each figure is the median of repeated runs.
#include "Datenbank.h"
#include "Global.h"
#include "HilfeDatenbankSchreiber.h"
#include "HilfeDatenbank.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double median(const std::function<bool()> &lauf, int wiederholungen)
{
    std::vector<double> zeiten;
    for (int i = 0; i < wiederholungen; ++i) {
        QElapsedTimer t;
        t.start();
        if (!lauf()) {
            std::fprintf(stderr, "Abfrage fehlgeschlagen\n");
            return -1;
        }
        zeiten.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(zeiten.begin(), zeiten.end());
    return zeiten[zeiten.size() / 2];
}

QString zufallsWort(QRandomGenerator &z)
{
    static const char silben[][4] = {"an", "be", "ku", "re", "mah", "zah", "lo", "st", "ür",
                                     "ti", "ko", "ng", "ar", "fa",  "ös",  "pu", "ßi", "da"};
    QString w;
    const int n = 2 + int(z.bounded(4));
    for (int i = 0; i < n; ++i)
        w += QString::fromUtf8(silben[z.bounded(int(std::size(silben)))]);
    w[0] = w[0].toUpper();
    return w;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    gsPasswort = HilfePasswort;
    setzeProgrammVerzeichnis(dir.path());

    std::fprintf(stderr, "Schreibe Testdaten ...\n");
    HilfeDatenbankSchreiber s;
    QString fehler;
    if (!s.oeffnen(dir.filePath("HilfeBelna.mdb"), gsPasswort, &fehler)) {
        std::fprintf(stderr, "%s\n", qPrintable(fehler));
        return 1;
    }
    QRandomGenerator z(4815);
    QString rtf = QStringLiteral("{\\rtf1\\ansi ");
    while (rtf.size() < 3000)
        rtf += QStringLiteral("Ein Absatz mit Text über Rechnungen und Kunden. \\par ");
    rtf += u'}';
    qint32 thema20 = 0;
    std::vector<qint32> texte;
    for (int k = 1; k <= 20; ++k) {
        const qint32 kap = s.kapitelEinfuegen(k, QStringLiteral("Kapitel %1").arg(k), k);
        for (int t = 1; t <= 10; ++t) {
            const qint32 th = s.themaEinfuegen(kap, t, QStringLiteral("Thema %1").arg(t), t);
            if (!thema20)
                thema20 = th;
            for (int x = 1; x <= 20; ++x)
                texte.push_back(s.textEinfuegen(th, x, zufallsWort(z), rtf, x));
        }
    }
    qint32 wort50 = 0;
    for (int i = 0; i < 100000; ++i) {
        const qint32 w = s.wortEinfuegen(zufallsWort(z));
        if (i == 500)
            wort50 = w;
        const int zuordnungen = i == 500 ? 50 : 1 + int(z.bounded(3));
        for (int j = 0; j < zuordnungen; ++j)
            s.zuordnungEinfuegen(w, texte[z.bounded(int(texte.size()))]);
    }
    if (!s.abschliessen(&fehler)) {
        std::fprintf(stderr, "%s\n", qPrintable(fehler));
        return 1;
    }

    HilfeDatenbank db(dir.filePath("HilfeBelna.mdb"), gsPasswort);
    Ergebnis<TextZeile> gelesen;
    Ergebnis<WortZeile> woerter;
    Ergebnis<WortTextZeile> zuWortZeilen;
    QElapsedTimer erste;
    erste.start();
    gelesen = db.texte(thema20);
    const double ersteMs = double(erste.nsecsElapsed()) / 1e6;

    const double texteMs = median([&] { return (gelesen = db.texte(thema20)).ok; }, 201);
    const int abschnitte = int(gelesen.zeilen.size());
    const double suchenMs =
        median([&] { return (woerter = db.woerter(QStringLiteral("e"))).ok; }, 21);
    const int treffer = int(woerter.zeilen.size());
    const double zumWortMs =
        median([&] { return (zuWortZeilen = db.texteZumWort(wort50)).ok; }, 201);
    const int zuWort = int(zuWortZeilen.zeilen.size());

    std::printf("erste Abfrage (Schlüssel ableiten):         %8.2f ms\n", ersteMs);
    std::printf("texte, %d Abschnitte (Median):              %8.3f ms  (Ziel <= 1 ms)\n",
                abschnitte, texteMs);
    std::printf("woerter \"e\", 100000 Wörter, %d Treffer:       %8.2f ms  (Ziel <= 100 ms)\n",
                treffer, suchenMs);
    std::printf("texteZumWort, %d Texte (Median):            %8.3f ms  (Ziel <= 2 ms)\n", zuWort,
                zumWortMs);
    return 0;
}
