// Reads the writers' help sources: kapitel/*.txt (in file-name order), the snippets they
// include, the variables of variablen.txt and the pictures in bilder/ (NNNNN-name.maske drawn as
// mock screens, NNNNN-name.png/.bmp taken as they are), and checks them as a whole: unique
// numbers and labels, link targets that exist, section lengths. Every file is read to its end,
// so one run reports every error, and warnings for what compiles but is likely a mistake.
#pragma once
#include "HilfeQuelle.h"

#include <QHash>

class BildSpeicher;

class QuellParser
{
public:
    // What chapter files may refer to outside themselves: the source folder (for included
    // snippets) and the variables.
    struct Umgebung
    {
        QString ordner;                    // empty: includes are not possible
        QHash<QString, QString> variablen; // by lower-case name
    };

    // Reads and checks the folder. Returns false when there was any error (warnings do not
    // count); fehler then lists every error and warning found, sorted by file and line. With a
    // store, unchanged pictures are taken from it instead of being drawn again.
    static bool lesen(const QString &ordner, HilfeQuelle &quelle, QList<QuellFehler> &fehler,
                      BildSpeicher *speicher = nullptr);

    // Reads one chapter file. dateiName is the name used in messages.
    static void kapitelDateiLesen(const QString &dateiName, const QString &inhalt,
                                  HilfeQuelle &quelle, QList<QuellFehler> &fehler,
                                  const Umgebung &umgebung = Umgebung());

    // Reads variablen.txt ("Name = Wert" per line) into umgebung.
    static void variablenLesen(const QString &dateiName, const QString &inhalt, Umgebung &umgebung,
                               QList<QuellFehler> &fehler);

    // Reads one picture file (by its name: NNNNN-name.maske/.png/.bmp).
    static void bildDateiLesen(const QString &pfad, const QString &dateiName, HilfeQuelle &quelle,
                               QList<QuellFehler> &fehler, const Umgebung &umgebung = Umgebung());

    // Reads bildtitel.txt ("Bild N | Titel" per line): titles of pictures that neither their
    // file name nor a figure gives. A figure's caption still takes precedence.
    static void bildtitelLesen(const QString &dateiName, const QString &inhalt, HilfeQuelle &quelle,
                               QList<QuellFehler> &fehler, const Umgebung &umgebung = Umgebung());

    // Replaces labels in links by the sections' numbers (and empty link texts by the titles),
    // and gives pictures the captions of their figure lines.
    static void aufloesen(HilfeQuelle &quelle, QList<QuellFehler> &fehler);

    // The checks across files: duplicates, link targets, section length, and the warnings.
    static void pruefen(const HilfeQuelle &quelle, QList<QuellFehler> &fehler);

    // True when fehler holds an error, not only warnings.
    static bool hatFehler(const QList<QuellFehler> &fehler);

    // Sorts by file and line (messages of one place in the order found) and drops repeats, as
    // a snippet included twice reports its errors twice.
    static void ordnen(QList<QuellFehler> &fehler);

    // The help addresses text positions in 16 bits: a section's visible text must fit.
    static constexpr int maximaleTextLaenge = 32767;
    // Snippets may include snippets, this deep.
    static constexpr int maximaleEinfuegeTiefe = 8;
};
