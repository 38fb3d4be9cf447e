// hilfedb: the help database tool for technical writers. Dispatches the subcommands of
// Befehle.h. Runs without a display: the offscreen platform is used unless another is set,
// so that mock screens can be drawn with fonts on a build server.
#include "Befehle.h"

#include "Aufraeumen.h"

#include <QApplication>
#include <QGuiApplication>

#include <csignal>
#include <cstdio>
#include <cstring>

int befehlImportieren(const QStringList &args); // BefehleImport.cpp
int befehlAuspacken(const QStringList &args);   // BefehleAuspacken.cpp
int befehlSuche(const QStringList &args);       // BefehleSuche.cpp
int befehlVorschau(const QStringList &args);    // vorschau/BefehlVorschau.cpp

namespace {

const char *const hilfeText =
    "hilfedb - Hilfedatenbank der Tolvar-Hilfe erstellen und prüfen\n"
    "\n"
    "Aufruf:\n"
    "  hilfedb erstellen QUELLORDNER ZIEL.mdb [--streng]\n"
    "      übersetzt QUELLORDNER/kapitel/*.txt und QUELLORDNER/bilder/* in die\n"
    "      verschlüsselte Hilfedatenbank; alle Fehler und Warnungen als\n"
    "      „datei.txt:17: ...“; bei Fehlern (mit --streng auch Warnungen) Rückgabe 1\n"
    "  hilfedb kapitel DB\n"
    "      listet Kapitel, Themen und Abschnitte mit ihren Hilfenummern KK.TT.XX\n"
    "  hilfedb stichwort DB SUCHTEXT\n"
    "      sucht Stichwörter wie die Hilfe und listet je Stichwort die Texte\n"
    "  hilfedb suche DB \"TEXT\"\n"
    "      Volltextsuche wie die Hilfe: Hilfenummer, Bewertung, Abschnitt, Fundstelle\n"
    "  hilfedb text DB NUMMER\n"
    "      zeigt einen Abschnitt, wie die Hilfe ihn darstellt\n"
    "  hilfedb bild DB BILDNUMMER AUSGABE.png\n"
    "      schreibt ein gespeichertes Bild als PNG\n"
    "  hilfedb rtf DATEI.rtf\n"
    "      zeigt, wie die Hilfe eine RTF-Datei liest\n"
    "  hilfedb pruefen DB\n"
    "      prüft eine erstellte Datenbank: Texte, Verweise, Bilder, Stichwörter;\n"
    "      eine Zeile je Problem, dann Rückgabe 1; Warnungen (Zeilen „Warnung: ...“)\n"
    "      ändern die Rückgabe nicht\n"
    "  hilfedb vergleichen DB1 DB2\n"
    "      vergleicht zwei Datenbanken nach Inhalt (Gliederung, dargestellte Texte mit\n"
    "      Formaten und Verweisen, Stichwörter, Bilder, Volltextindex); eine Zeile je\n"
    "      Unterschied, dann Rückgabe 1; 0, wenn sie dieselbe Hilfe enthalten\n"
    "  hilfedb drucken DB NUMMER --umfang abschnitt|thema|kapitel [--grafiken] --pdf DATEI.pdf\n"
    "      druckt Abschnitt, Thema oder Kapitel wie die Hilfe in eine PDF-Datei\n"
    "  hilfedb importieren ALT.mdb NEU.mdb [--ersetzen]\n"
    "      übernimmt eine alte Hilfedatenbank im Jet-4-Format (Access 2000) mit allen\n"
    "      Zeilen in eine neue verschlüsselte Hilfedatenbank und prüft sie wie „pruefen“;\n"
    "      eine vorhandene NEU.mdb wird nur mit --ersetzen ersetzt\n"
    "  hilfedb auspacken DB ORDNER [--ersetzen]\n"
    "      schreibt eine Hilfedatenbank zurück in einen Quellordner (kapitel/, bilder/),\n"
    "      den „erstellen“ wieder zur selben Hilfe übersetzt; Texte, die sich nicht genau\n"
    "      als Quelltext schreiben lassen, als RTF-Block; was die Quellen nicht ausdrücken\n"
    "      können, meldet es als „nicht darstellbar“ und schreibt nichts (Rückgabe 1);\n"
    "      ein vorhandener ORDNER wird nur mit --ersetzen ersetzt\n"
    "  hilfedb nummern DB QUELLE... [--unbenutzt]\n"
    "      sucht die Hilfenummern, die ein Programm aufruft („KK.TT.XX“ in Anführungszeichen\n"
    "      in allen Textdateien unter QUELLE, oder allein auf einer Zeile einer Liste), und\n"
    "      meldet jede, die zu keinem Abschnitt führt, mit Datei und Zeile, dann Rückgabe 1;\n"
    "      --unbenutzt listet dazu die Abschnitte, zu denen keine Nummer und kein Link führt\n"
    "  hilfedb web DB ORDNER [--adresse URL]\n"
    "      schreibt die Hilfe als statische Webseiten: je Abschnitt KK/TT/XX.html mit\n"
    "      Kapiteln, Themen, Abschnitten und Blättern, Inhalt, Stichwörter, Bilder als PNG,\n"
    "      hilfe.html#KK.TT.XX; mit --adresse auch sitemap.xml; nur Geändertes wird neu\n"
    "      geschrieben; ORDNER muss leer sein oder von „hilfedb web“ stammen\n"
    "  hilfedb vorschau QUELLORDNER [NUMMER]\n"
    "      übersetzt QUELLORDNER in eine temporäre Datenbank und zeigt die Hilfe bei NUMMER\n"
    "      (ohne: beim ersten Abschnitt der zuletzt geänderten Kapiteldatei) in einem\n"
    "      eigenen Fenster; nach jedem Speichern wird neu übersetzt und derselbe Abschnitt\n"
    "      neu gezeigt; Fehler stehen über dem Text und auf der Konsole, der letzte\n"
    "      fehlerfreie Stand bleibt sichtbar; Ende mit dem Fenster oder Strg+C\n"
    "  hilfedb synthetisch ZIEL.mdb [Optionen]\n"
    "      schreibt eine große, immer gleiche Datenbank für Messungen:\n"
    "        --kapitel N      Kapitel (Vorgabe 10)\n"
    "        --themen N       Themen je Kapitel (Vorgabe 10)\n"
    "        --abschnitte N   Abschnitte je Thema (Vorgabe 20)\n"
    "        --woerter N      Stichwörter im Index (Vorgabe 100000)\n"
    "        --bilder N       Bilder, alle in Kapitel 1 verlinkt (Vorgabe 40)\n"
    "        --zuordnungen N  Zuordnungen Stichwort -> Text (Vorgabe 150000)\n"
    "      Kapitel 1 ist etwa 200 Druckseiten lang; das Stichwort „Rechnung“ führt zu\n"
    "      50 Texten; Bilder bis 1024 x 768 Pixel.\n"
    "\n"
    "DB ist ein beliebiger Pfad zu einer Hilfedatenbank.\n"
    "Rückgabe: 0 ausgeführt, 1 fehlgeschlagen oder Probleme gefunden, 2 falscher Aufruf.\n"
    "hilfedb --version zeigt die Version.\n";

} // namespace

int main(int argc, char **argv)
{
    // The preview opens a window on the desktop; every other command draws offscreen.
    const bool vorschau = argc > 1 && std::strcmp(argv[1], "vorschau") == 0;
    if (vorschau) {
        QApplication app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("BelnaHilfe"));
        return befehlVorschau(QApplication::arguments().mid(2));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A file of the size limit (ulimit -f) makes a write fail with EFBIG instead of ending the
    // process, so the command reports it and removes what it began. Files under a temporary
    // name are removed when the process is ended by a signal.
    std::signal(SIGXFSZ, SIG_IGN);
    Aufraeumen::signaleAbfangen();
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("hilfedb"));

    QStringList args = QGuiApplication::arguments().mid(1);
    if (args.size() == 1 && args.first() == QLatin1String("--version")) {
        std::printf("hilfedb (Tolvar-Hilfe) %s\n", TOLVAR_VERSION);
        return 0;
    }
    if (args.isEmpty() || args.first() == QLatin1String("--help") ||
        args.first() == QLatin1String("-h") || args.first() == QLatin1String("hilfe")) {
        std::fputs(hilfeText, args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    const QString befehl = args.takeFirst();
    struct Eintrag
    {
        const char *name;
        int (*ausfuehren)(const QStringList &);
    };
    static const Eintrag befehle[] = {
        {"erstellen", befehlErstellen},
        {"kapitel", befehlKapitel},
        {"stichwort", befehlStichwort},
        {"suche", befehlSuche},
        {"synthetisch", befehlSynthetisch},
        {"text", befehlText},
        {"bild", befehlBild},
        {"rtf", befehlRtf},
        {"pruefen", befehlPruefen},
        {"drucken", befehlDrucken},
        {"importieren", befehlImportieren},
        {"auspacken", befehlAuspacken},
        {"nummern", befehlNummern},
        {"vergleichen", befehlVergleichen},
        {"web", befehlWeb},
    };
    for (const Eintrag &e : befehle) {
        if (befehl == QLatin1String(e.name))
            return e.ausfuehren(args);
    }
    std::fprintf(stderr, "hilfedb: unbekannter Befehl „%s“ (hilfedb --help)\n", qPrintable(befehl));
    return 2;
}
