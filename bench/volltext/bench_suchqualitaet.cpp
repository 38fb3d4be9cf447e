// The quality of the full-text search on the sample help (content/): every search of the table
// tests/helpdb/volltext/anfragen.tsv runs through the search the keyword pane uses
// (HilfeDatenbank::volltextSuchen), and for each kind of search and overall it prints the share
// of searches with an answering section among the first 10 hits (target 0.95 overall, 0.90 per
// kind), the mean reciprocal rank of the first answering section (target 0.80), and how many
// sections a search finds on average (many: little precision).
//
//   bench_suchqualitaet [--quelle ORDNER] [--tabelle DATEI] [--fehlt [RANG]]
// With --fehlt, every search whose answer is not among the first 10 hits (the first RANG) is
// listed with them.
#include "Datenbank.h"
#include "DatenbankAufbau.h"
#include "Global.h"
#include "HilfeDatenbank.h"
#include "QuellParser.h"
#include "Volltextabfragen.h"

#include <QApplication>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <cstdio>

namespace {

struct Summe
{
    int anfragen = 0;
    int unterZehn = 0;
    double kehrwerte = 0;
    // All sections found, summed: a search that finds nearly everything has little precision.
    qint64 gefunden = 0;
};

void zeile(const char *art, const Summe &s)
{
    std::printf("%-12s %4d   %5.3f   %5.3f  %6.1f\n", art, s.anfragen,
                s.anfragen ? double(s.unterZehn) / s.anfragen : 0.0,
                s.anfragen ? s.kehrwerte / s.anfragen : 0.0,
                s.anfragen ? double(s.gefunden) / s.anfragen : 0.0);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString quelle = QStringLiteral(TOLVAR_QUELLE);
    QString tabelle = QStringLiteral(TOLVAR_ANFRAGEN);
    bool fehlt = false;
    int grenze = 10;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--quelle") && i + 1 < args.size())
            quelle = args.at(++i);
        else if (args.at(i) == QLatin1String("--tabelle") && i + 1 < args.size())
            tabelle = args.at(++i);
        else if (args.at(i) == QLatin1String("--fehlt")) {
            fehlt = true;
            bool zahl = false;
            const int n = i + 1 < args.size() ? args.at(i + 1).toInt(&zahl) : 0;
            if (zahl && n > 0) {
                grenze = n;
                ++i;
            }
        }
    }
    gsPasswort = QString::fromLatin1(HilfePasswort);

    HilfeQuelle hilfe;
    QList<QuellFehler> fehler;
    QTemporaryDir ordner;
    QString grund;
    const QString db = ordner.filePath(QStringLiteral("HilfeBelna.mdb"));
    if (!QuellParser::lesen(quelle, hilfe, fehler) ||
        !DatenbankAufbau::schreiben(hilfe, db, &grund)) {
        std::fprintf(stderr, "%s lässt sich nicht übersetzen %s\n", qPrintable(quelle),
                     qPrintable(grund));
        return 1;
    }
    QFile datei(tabelle);
    if (!datei.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "%s lässt sich nicht lesen\n", qPrintable(tabelle));
        return 1;
    }
    setzeDatenbankDatei(db);

    QMap<QString, Summe> arten;
    Summe gesamt;
    while (!datei.atEnd()) {
        const QString z = QString::fromUtf8(datei.readLine()).trimmed();
        if (z.isEmpty() || z.startsWith(u'#'))
            continue;
        const QStringList teile = z.split(u'\t');
        if (teile.size() != 3) {
            std::fprintf(stderr, "Zeile nicht lesbar: %s\n", qPrintable(z));
            return 1;
        }
        const QStringList antworten = teile[2].split(u',');
        const VolltextErgebnis e = standardDatenbank().volltextSuchen(teile[1]);
        if (!e.ok) {
            std::fprintf(stderr, "Suche fehlgeschlagen: %s\n", qPrintable(teile[1]));
            return 1;
        }
        int rang = 0;
        QStringList ersteZehn;
        for (int i = 0; i < e.zeilen.size(); ++i) {
            if (i < 10)
                ersteZehn << e.zeilen[i].nummer;
            if (!rang && antworten.contains(e.zeilen[i].nummer))
                rang = i + 1;
        }
        for (Summe *s : {&arten[teile[0]], &gesamt}) {
            ++s->anfragen;
            s->unterZehn += rang >= 1 && rang <= 10 ? 1 : 0;
            s->kehrwerte += rang ? 1.0 / rang : 0.0;
            s->gefunden += e.gesamt;
        }
        if (fehlt && (rang == 0 || rang > grenze))
            std::printf("fehlt: %-10s %-45s %s | %s\n", qPrintable(teile[0]), qPrintable(teile[1]),
                        qPrintable(teile[2]), qPrintable(ersteZehn.join(u' ')));
    }
    std::printf("Art        Anfragen  Treffer@10  MRR  gefunden je Anfrage\n");
    for (auto it = arten.cbegin(); it != arten.cend(); ++it)
        zeile(qPrintable(it.key()), *it);
    zeile("gesamt", gesamt);
    setzeDatenbankDatei(QString());
    return 0;
}
