// Benchmark: steps through the whole description with next section and back with previous
// section in the help window (offscreen), timing each step from the button to the repainted
// window, and prints the median per kind of step: within a topic, into another topic, into
// another chapter. The data is synthetic (4 chapters of 4 topics of 6 sections of about one
// printed page each), or the HilfeBelna.mdb in the folder given as the first argument.
// Target: a median of at most 15 ms for every kind.
#include "Arbeitsbereich.h"
#include "Datenbank.h"
#include "DatenbankAufbau.h"
#include "DatenbankQuelle.h"
#include "Global.h"
#include "HilfeDatenbank.h"
#include "HilfeDokument.h"
#include "SynthetischeDaten.h"
#include "frmHilfe.h"
#include "frmInhalt.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

const char *art(const QString &vorher, const QString &nachher)
{
    if (vorher.left(2) != nachher.left(2))
        return "Kapitelwechsel";
    if (vorher.mid(3, 2) != nachher.mid(3, 2))
        return "Themenwechsel";
    return "im Thema";
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QString verzeichnis = argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.path();
    if (argc <= 1) {
        std::fprintf(stderr, "Schreibe Testdaten ...\n");
        SynthetischeDaten::Optionen o;
        o.kapitel = 4;
        o.themen = 4;
        o.abschnitte = 6;
        o.woerter = 500;
        o.zuordnungen = 1000;
        o.bilder = 5;
        QString fehler;
        if (!DatenbankAufbau::schreiben(SynthetischeDaten::erzeugen(o),
                                        dir.filePath(QStringLiteral("HilfeBelna.mdb")), &fehler)) {
            std::fprintf(stderr, "%s\n", qPrintable(fehler));
            return 1;
        }
    }
    setzeProgrammVerzeichnis(verzeichnis);
    gsPasswort = QString::fromLatin1(HilfePasswort);
    frmInhalt::setProzessEnde([] {});

    DatenbankQuelle quelle(standardDatenbank());
    frmHilfe *h = frmHilfe::anlegen(frmInhalt::anlegen(), new HilfeDokument(quelle));
    frmInhalt::instanz()->resize(1200, 800);
    frmInhalt::instanz()->show();
    bool klein = false;
    if (!h->DatenEinlesen(QStringLiteral("01.01.01"), klein)) {
        std::fprintf(stderr, "Keine Kapitel in %s\n", qPrintable(verzeichnis));
        return 1;
    }
    h->show();
    QApplication::processEvents();

    std::map<std::string, std::vector<double>> zeiten[2];
    const int runden = 3;
    for (int runde = 0; runde < runden; ++runde) {
        for (int richtung = 0; richtung < 2; ++richtung) {
            const int button = richtung == 0 ? frmInhalt::ButtonNaechste : frmInhalt::ButtonVorige;
            for (int schritt = 0; schritt < 100000; ++schritt) {
                const QString vorher = h->AktuelleNummer();
                QElapsedTimer t;
                t.start();
                h->ButtonClick(button);
                QApplication::processEvents(); // layout and paint of the new section
                const double ms = double(t.nsecsElapsed()) / 1e6;
                const QString nachher = h->AktuelleNummer();
                if (nachher == vorher)
                    break; // first or last section
                zeiten[richtung][art(vorher, nachher)].push_back(ms);
            }
        }
    }

    bool erreicht = true;
    for (int richtung = 0; richtung < 2; ++richtung) {
        for (const auto &[name, liste] : zeiten[richtung]) {
            const double m = median(liste);
            erreicht = erreicht && m <= 15.0;
            std::printf("%-8s %-15s Median %6.2f ms, Maximum %6.2f ms (%zu Schritte)\n",
                        richtung == 0 ? "Nächste" : "Vorige", name.c_str(), m,
                        *std::max_element(liste.begin(), liste.end()), liste.size());
        }
    }
    std::printf("Ziel Median höchstens 15 ms: %s\n", erreicht ? "erreicht" : "VERFEHLT");
    delete frmInhalt::instanz();
    return 0;
}
