// The print preview of chapter 1 of the synthetic help (about 200 pages with 40 pictures), as
// the print dialog's "&Vorschau" opens it: seconds until the dialog shows its first page
// (content collected, page 1 laid out and drawn; target 1 s) and until the whole job is laid
// out and the page count stands. Each run opens a new preview; prints every run and the
// medians.
#include "DatenbankAufbau.h"
#include "DatenbankOrt.h"
#include "Global.h"
#include "HilfeDatenbank.h"
#include "SynthetischeDaten.h"
#include "frmDruckVorschau.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
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
    const DatenbankOrt ort(db);
    gsSchriftName = QStringLiteral("Arial");
    giSchriftGroesse = 10;

    // The job the help window fills for the chapter scope, with pictures.
    DruckAuftrag a;
    const Ergebnis<KapitelZeile> kapitel = standardDatenbank().kapitel();
    const Ergebnis<ThemaZeile> themen = kapitel.zeilen.isEmpty()
                                            ? Ergebnis<ThemaZeile>()
                                            : standardDatenbank().themen(kapitel.zeilen[0].id);
    if (!kapitel.ok || !themen.ok) {
        std::fprintf(stderr, "Kapitel 1 nicht lesbar\n");
        return 1;
    }
    a.miDruckUmfang = 3;
    a.mbMitGrafik = true;
    a.msDruckTitel = kapitel.zeilen[0].bezeichnung;
    a.mlThemenIDs = QList<qint32>(1, 0);
    for (const ThemaZeile &t : themen.zeilen) {
        a.mlThemenIDs << t.id;
        a.ThemenTitel << t.bezeichnung;
    }
    a.miThemenAnzahl = qint16(themen.zeilen.size());

    std::vector<double> erste, ganz;
    int seiten = 0;
    for (int i = 1; i <= laeufe; ++i) {
        QElapsedTimer uhr;
        uhr.start();
        frmDruckVorschau dlg(a);
        dlg.show();
        dlg.repaint();
        const double s1 = double(uhr.nsecsElapsed()) / 1e9;
        if (dlg.seitenAnzahl() < 1) {
            std::fprintf(stderr, "Lauf %d: keine erste Seite (%s)\n", i, qPrintable(dlg.fehler()));
            return 1;
        }
        dlg.ganzerAuftrag();
        const double s2 = double(uhr.nsecsElapsed()) / 1e9;
        if (!dlg.vollstaendig()) {
            std::fprintf(stderr, "Lauf %d: Auftrag nicht vollständig (%s)\n", i,
                         qPrintable(dlg.fehler()));
            return 1;
        }
        seiten = dlg.seitenAnzahl();
        erste.push_back(s1);
        ganz.push_back(s2);
        std::printf("Lauf %d: erste Seite nach %.3f s, alle %d Seiten nach %.2f s\n", i, s1, seiten,
                    s2);
    }
    const double m1 = median(erste), m2 = median(ganz);
    std::printf("Vorschau Kapitel 1 (%d Seiten, 40 Bilder): erste Seite Median %.3f s (Ziel <= 1 "
                "s) -> %s; ganzer Auftrag Median %.2f s\n",
                seiten, m1, m1 <= 1.0 ? "erfüllt" : "VERFEHLT", m2);
    return m1 <= 1.0 ? 0 : 1;
}
