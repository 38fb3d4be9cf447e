// Generates a large, always identical help content for benchmarks: German-looking words,
// sections with text and picture links, a big keyword index and mock-screen pictures of
// several sizes. The defaults give a keyword index of 100,000 words, topics of 20 sections,
// the keyword "Rechnung" with 50 texts, and a first chapter of about 200 printed pages with
// 40 pictures.
#pragma once
#include "HilfeQuelle.h"

class SynthetischeDaten
{
public:
    struct Optionen
    {
        int kapitel = 10;
        int themen = 10;     // per chapter
        int abschnitte = 20; // per topic
        int woerter = 100000;
        int bilder = 40;
        int zuordnungen = 150000;
        int zeichenJeAbschnitt = 3500; // about one printed page
    };

    // The keyword that leads to exactly 50 texts (or all texts, when there are fewer).
    static inline const char *const haeufigesWort = "Rechnung";

    static HilfeQuelle erzeugen(const Optionen &o);

    // The n-th generated word; distinct n give distinct words (also without regard to case).
    static QString wort(int n);
};
