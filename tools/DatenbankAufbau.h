// Writes checked help sources into a new encrypted help database: chapters, topics and
// sections in order of appearance (lfdNummer), section texts as RTF, pictures as zip
// archives, and the keyword index with one row per distinct keyword (compared without regard
// to case, spelled as first written). The file appears only when everything was written.
#pragma once
#include "HilfeQuelle.h"

class DatenbankAufbau
{
public:
    struct Statistik
    {
        int kapitel = 0;
        int themen = 0;
        int texte = 0;
        int bilder = 0;
        int woerter = 0;
        int zuordnungen = 0;
    };

    static bool schreiben(const HilfeQuelle &quelle, const QString &ziel, QString *fehler,
                          Statistik *statistik = nullptr);
};
