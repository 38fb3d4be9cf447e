// Fuzz target of the link markup rendering: any text as a stored section text (bytes as
// characters, or UTF-8 when the last byte is 0x01). Checks what the renderer promises: the
// link count matches the table, and every link lies inside the rendered text.
#include "FuzzStart.h"
#include "TextFeld.h"
#include "Verweismarkup.h"

#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzzStarten(argc, argv);
    return 0;
}

static void pruefen(bool bedingung, const char *was)
{
    if (!bedingung) {
        std::fprintf(stderr, "Verweismarkup: %s\n", was);
        std::abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t groesse)
{
    const bool utf8 = groesse > 0 && daten[groesse - 1] == 0x01;
    const char *text = reinterpret_cast<const char *>(daten);
    const qsizetype laenge = qsizetype(utf8 ? groesse - 1 : groesse);
    const QString gespeichert =
        utf8 ? QString::fromUtf8(text, laenge) : QString::fromLatin1(text, laenge);

    QTextDocument anzeige;
    QList<tVerweis> verweise;
    qint16 anzahl = -1;
    Verweismarkup::darstellen(gespeichert, anzeige, verweise, anzahl);
    pruefen(!verweise.isEmpty(), "link table without element 0");
    pruefen(anzahl == verweise.size() - 1, "link count differs from the table");
    TextFeld feld(&anzeige, false);
    const int ende = feld.laenge();
    for (int i = 1; i < verweise.size(); ++i) {
        const tVerweis &v = verweise[i];
        pruefen(0 <= v.Anfang && v.Anfang <= v.Ende && v.Ende <= ende, "link outside the text");
        pruefen(v.TextNummer.isEmpty() != v.BildNummer.isEmpty(), "link of no or both kinds");
        // Position 0 never counts as a link; every later position of a link finds one.
        pruefen(v.Ende < 1 || Verweismarkup::verweisBei(verweise, anzahl, v.Ende) >= 1,
                "link not found");
    }
    pruefen(Verweismarkup::verweisBei(verweise, anzahl, 0) == 0, "position 0 is a link");
    return 0;
}
