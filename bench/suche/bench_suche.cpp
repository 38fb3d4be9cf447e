// Times the keyword pane's search as the user runs it: the help window with the pane open on a
// synthetic help database of 100,000 keywords; for several search texts, the click on
// "Stichwörter anzeigen" until the keyword list and the grid of the first keyword are filled,
// and until the pane has been painted. Each figure is the median of repeated runs; the query
// alone (HilfeDatenbank::woerter) is shown beside it. Target: at most 150 ms from click to filled lists.
//
//   bench_suche [LAEUFE] [--bild DATEI.png [--quelle ORDNER] [--suche TEXT]]
// With --bild no times are taken: the frame with the pane after a search is saved as a picture,
// on the synthetic help or on help sources compiled from ORDNER (content/, for instance).
#include "Arbeitsbereich.h"
#include "Datenbank.h"
#include "DatenbankAufbau.h"
#include "Global.h"
#include "HilfeCompiler.h"
#include "HilfeDatenbank.h"
#include "HilfeSitzung.h"
#include "StichwortListe.h"
#include "SynthetischeDaten.h"
#include "TolvarScrollListe.h"
#include "TolvarTextBox.h"
#include "frmHilfe.h"
#include "frmHilfeIndex.h"
#include "frmInhalt.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double ms(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int laeufe = 15;
    QString bild, quelle, suchtext = QStringLiteral("Rechnung");
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--bild") && i + 1 < args.size())
            bild = args.at(++i);
        else if (args.at(i) == QLatin1String("--quelle") && i + 1 < args.size())
            quelle = args.at(++i);
        else if (args.at(i) == QLatin1String("--suche") && i + 1 < args.size())
            suchtext = args.at(++i);
        else
            laeufe = std::max(1, args.at(i).toInt());
    }

    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QString ziel = dir.filePath(QStringLiteral("HilfeBelna.mdb"));
    QString fehler;
    DatenbankAufbau::Statistik st;
    if (!quelle.isEmpty()) {
        QStringList meldungen;
        if (!HilfeCompiler::erstellen(quelle, ziel, meldungen, &st)) {
            std::fprintf(stderr, "%s\n", qPrintable(meldungen.join(u'\n')));
            return 1;
        }
    } else {
        std::fprintf(stderr, "Schreibe synthetische Hilfe (100000 Stichwörter) ...\n");
        SynthetischeDaten::Optionen o;
        o.bilder = 0;
        o.zeichenJeAbschnitt = 500;
        if (!DatenbankAufbau::schreiben(SynthetischeDaten::erzeugen(o), ziel, &fehler, &st)) {
            std::fprintf(stderr, "%s\n", qPrintable(fehler));
            return 1;
        }
    }
    gsPasswort = QString::fromLatin1(HilfePasswort);
    setzeProgrammVerzeichnis(dir.path());
    frmInhalt::setProzessEnde([] {});

    HilfeSitzung sitzung(standardDatenbank());
    frmHilfe *hilfe = sitzung.hilfeFenster();
    frmInhalt *rahmen = sitzung.rahmen();
    rahmen->resize(1200, 800);
    rahmen->show();
    bool klein = false;
    if (!hilfe->DatenEinlesen(QStringLiteral("01.01.01"), klein)) {
        std::fprintf(stderr, "Die Hilfe ließ sich nicht lesen\n");
        return 1;
    }
    hilfe->show();
    rahmen->Button(frmInhalt::ButtonSuchen)->trigger();
    frmHilfeIndex *f = frmHilfeIndex::instanz();
    QApplication::processEvents();

    if (!bild.isEmpty()) {
        f->txtSuchen()->setText(suchtext);
        f->cmdSuchen()->click();
        QApplication::processEvents();
        if (!rahmen->grab().save(bild)) {
            std::fprintf(stderr, "%s lässt sich nicht schreiben\n", qPrintable(bild));
            return 1;
        }
        std::printf("%s: %d Stichwörter, %d Zeilen\n", qPrintable(bild),
                    f->lstWoerter()->ListCount(), f->scr()->Anzahl());
        return 0;
    }

    std::printf("%d Stichwörter, %d Zuordnungen, %d Läufe je Suchtext\n", st.woerter,
                st.zuordnungen, laeufe);
    std::printf("%-10s %8s %8s %12s %12s %12s\n", "Suchtext", "Wörter", "Zeilen", "Abfrage ms",
                "gefüllt ms", "gemalt ms");
    bool erreicht = true;
    const QString texte[] = {QStringLiteral("Rechnung"), QStringLiteral("e"), QStringLiteral("an"),
                             QStringLiteral("%")};
    for (const QString &text : texte) {
        f->txtSuchen()->setText(text);
        std::vector<double> abfrage, gefuellt, gemalt;
        for (int i = 0; i < laeufe; ++i) {
            QElapsedTimer t;
            t.start();
            standardDatenbank().woerter(text);
            abfrage.push_back(ms(t));
        }
        for (int i = 0; i < laeufe; ++i) {
            // Typing empties the lists first, as it would before every new search.
            f->txtSuchen()->setText(QString());
            f->txtSuchen()->setText(text);
            QApplication::processEvents();
            QElapsedTimer t;
            t.start();
            f->cmdSuchen()->click();
            gefuellt.push_back(ms(t));
            f->repaint();
            QApplication::processEvents();
            gemalt.push_back(ms(t));
        }
        const double g = median(gefuellt);
        erreicht = erreicht && g <= 150;
        std::printf("%-10s %8d %8d %12.2f %12.2f %12.2f\n", qPrintable(text),
                    f->lstWoerter()->ListCount(), f->scr()->Anzahl(), median(abfrage), g,
                    median(gemalt));
    }
    std::printf("Ziel: Klick bis gefüllte Listen höchstens 150 ms (Median): %s\n",
                erreicht ? "erreicht" : "VERFEHLT");
    return 0;
}
