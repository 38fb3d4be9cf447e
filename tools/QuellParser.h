// Reads the writers' help sources: kapitel/*.txt (in file-name order) and the pictures in
// bilder/ (NNNNN-name.maske drawn as mock screens, NNNNN-name.png/.bmp taken as they are),
// and checks them as a whole: unique numbers, link targets that exist, section lengths.
#pragma once
#include "HilfeQuelle.h"

class QuellParser
{
public:
    // Reads and checks the folder. Returns false when there was any error; fehler then lists
    // every error found (up to a limit), in file order.
    static bool lesen(const QString &ordner, HilfeQuelle &quelle, QList<QuellFehler> &fehler);

    // Reads one chapter file. dateiName is the name used in messages.
    static void kapitelDateiLesen(const QString &dateiName, const QString &inhalt,
                                  HilfeQuelle &quelle, QList<QuellFehler> &fehler);

    // Reads one picture file (by its name: NNNNN-name.maske/.png/.bmp).
    static void bildDateiLesen(const QString &pfad, const QString &dateiName, HilfeQuelle &quelle,
                               QList<QuellFehler> &fehler);

    // The checks across files: duplicates, link targets, section length.
    static void pruefen(const HilfeQuelle &quelle, QList<QuellFehler> &fehler);

    // The help addresses text positions in 16 bits: a section's visible text must fit.
    static constexpr int maximaleTextLaenge = 32767;
};
