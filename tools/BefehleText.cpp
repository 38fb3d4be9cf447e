// Writers' views of what the help makes of their sources: a section as the help window renders
// it (title, visible text, link table), a stored picture written out as PNG, and the plain text
// the RTF reader makes of any RTF file (for text pasted from a word processor).
#include "Befehle.h"

#include "BildEntpacken.h"
#include "DatenbankAnsicht.h"
#include "RtfLeser.h"
#include "Verweismarkup.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <cstdio>

namespace {

// One line per paragraph; line breaks inside a paragraph stay line breaks. The cells of a
// table row share one line, separated by " | ".
void absaetzeAusgeben(const QTextDocument &doc)
{
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QString zeile = b.text();
        zeile.replace(QChar::LineSeparator, QLatin1Char('\n'));
        const char *ende = "\n";
        if (const QTextTable *t = QTextCursor(b).currentTable()) {
            const QTextTableCell zelle = t->cellAt(b.position());
            if (zelle.lastCursorPosition().block() == b &&
                zelle.column() + zelle.columnSpan() < t->columns())
                ende = " | ";
        }
        std::printf("%s%s", qPrintable(zeile), ende);
    }
}

} // namespace

int befehlText(const QStringList &args)
{
    if (args.size() != 2) {
        std::fputs("Aufruf: hilfedb text DB NUMMER\n", stderr);
        return 2;
    }
    QString titel, gespeichert;
    if (!DatenbankAnsicht::abschnitt(args[0], args[1], titel, gespeichert)) {
        std::fprintf(stderr, "hilfedb: kein Abschnitt %s\n", qPrintable(args[1]));
        return 1;
    }
    QTextDocument anzeige;
    QList<tVerweis> verweise;
    qint16 anzahl = 0;
    Verweismarkup::darstellen(gespeichert, anzeige, verweise, anzahl);

    std::printf("%s\n\n", qPrintable(titel));
    absaetzeAusgeben(anzeige);
    std::printf("\n");
    for (int i = 1; i <= anzahl && i < verweise.size(); ++i) {
        const tVerweis &v = verweise[i];
        if (!v.TextNummer.isEmpty())
            std::printf("Verweis %d: Anfang %d, Ende %d, Abschnitt %s\n", i, v.Anfang, v.Ende,
                        qPrintable(v.TextNummer));
        else
            std::printf("Verweis %d: Anfang %d, Ende %d, Bild %s \"%s\"\n", i, v.Anfang, v.Ende,
                        qPrintable(v.BildNummer), qPrintable(v.BildTitel));
    }
    return 0;
}

int befehlBild(const QStringList &args)
{
    if (args.size() != 3) {
        std::fputs("Aufruf: hilfedb bild DB BILDNUMMER AUSGABE.png\n", stderr);
        return 2;
    }
    if (zielIstDatenbank(args[2], args[0]))
        return 2;
    QByteArray archiv;
    QString titel;
    if (!DatenbankAnsicht::bild(args[0], args[1], archiv, titel)) {
        std::fprintf(stderr, "hilfedb: kein Bild %s\n", qPrintable(args[1]));
        return 1;
    }
    QImage bild;
    if (!BildEntpacken(archiv, bild)) {
        std::fprintf(stderr, "hilfedb: Bild %s lässt sich nicht entpacken\n", qPrintable(args[1]));
        return 1;
    }
    // Encoded in memory first: the file is then written in one piece whose every write is
    // checked, and appears only when complete.
    QByteArray png;
    QBuffer puffer(&png);
    puffer.open(QIODevice::WriteOnly);
    QString fehler;
    const bool erzeugt = bild.save(&puffer, "PNG");
    if (!erzeugt || !dateiErsetzen(args[2], png, &fehler)) {
        std::fprintf(stderr, "hilfedb: %s kann nicht geschrieben werden: %s\n", qPrintable(args[2]),
                     erzeugt ? qPrintable(fehler) : "PNG lässt sich nicht erzeugen");
        return 1;
    }
    std::printf("%s: %d x %d Pixel, \"%s\"\n", qPrintable(args[2]), bild.width(), bild.height(),
                qPrintable(titel));
    return 0;
}

int befehlRtf(const QStringList &args)
{
    if (args.size() != 1) {
        std::fputs("Aufruf: hilfedb rtf DATEI.rtf\n", stderr);
        return 2;
    }
    QFile datei(args[0]);
    if (!datei.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "hilfedb: %s kann nicht gelesen werden\n", qPrintable(args[0]));
        return 1;
    }
    QTextDocument doc;
    RtfLesen(datei.readAll(), doc);
    absaetzeAusgeben(doc);
    return 0;
}
