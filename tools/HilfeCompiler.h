// Compiles a folder of help sources into the encrypted help database: reads and checks the
// sources, and writes the database only when they are free of errors. The target file is
// replaced only by a complete new database.
#pragma once
#include "DatenbankAufbau.h"

#include <QStringList>

class HilfeCompiler
{
public:
    // Returns false with one message per line in meldungen ("datei.txt:17: ...") when the
    // sources have errors or the database cannot be written.
    static bool erstellen(const QString &quellOrdner, const QString &ziel, QStringList &meldungen,
                          DatenbankAufbau::Statistik *statistik = nullptr);
};
