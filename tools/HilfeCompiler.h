// Compiles a folder of help sources into the encrypted help database: reads and checks the
// sources, and writes the database only when they are free of errors. The target file is
// replaced only by a complete new database.
#pragma once
#include "DatenbankAufbau.h"

#include <QStringList>

class HilfeCompiler
{
public:
    struct Ergebnis
    {
        int fehler = 0;
        int warnungen = 0;
    };

    // Returns false when the sources have errors (with streng: errors or warnings) or the
    // database cannot be written. meldungen gets one line per error and warning, sorted by file
    // and line ("datei.txt:17: ...", "datei.txt:20: Warnung: ..."), on success too.
    static bool erstellen(const QString &quellOrdner, const QString &ziel, QStringList &meldungen,
                          DatenbankAufbau::Statistik *statistik = nullptr, bool streng = false,
                          Ergebnis *ergebnis = nullptr);
};
