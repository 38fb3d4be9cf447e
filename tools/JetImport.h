// The import of an old help database kept in a Jet file (Access .mdb) into a new encrypted help
// database (hilfedb importieren). Every row of the six tables is carried over as it is stored:
// IDs, numbers, lfdNummer, texts character for character (RTF as stored), NULL as NULL, and
// pictures as the zip bytes they hold (OLE values unchanged, pictures in the old text form
// turned back into bytes). The new database is written through HilfeDatenbankSchreiber, so it
// has the schema, collation and indexes of every other help database, and appears only once it
// is complete.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class JetImport
{
public:
    struct Tabelle
    {
        QString name;
        int gelesen = 0;
        int geschrieben = 0;
    };
    struct Ergebnis
    {
        QList<Tabelle> tabellen; // in the order of the import
        // One line per row that was read but not written, naming table, key and reason
        // ("Texte, ID 7: Spalte Text: ...").
        QStringList zeilenFehler;
        // Why no database was written (the source cannot be read, the target not written);
        // empty when it was.
        QString fehler;
    };

    // Reads quelle and writes ziel (replacing a file there only when ersetzen is set). True
    // when ziel was written; rows listed in zeilenFehler are left out of it.
    static bool importieren(const QString &quelle, const QString &ziel, bool ersetzen,
                            Ergebnis &ergebnis);
};
