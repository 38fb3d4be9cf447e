// Writers' views of a compiled help database, read through the help's own queries: the tree of
// chapters, topics and sections with their help numbers, and the keyword search. The database
// may be any file: the query layer is pointed at its folder, through a link in a temporary
// folder when the file is not named HilfeBelna.mdb.
#pragma once
#include <QString>
#include <QStringList>

class DatenbankAnsicht
{
public:
    // Chapters ("KK Titel"), topics ("  KK.TT Titel") and sections ("    KK.TT.XX Titel"), in
    // the order the help shows them. False when a query failed (the layer has told the user).
    static bool kapitel(const QString &datenbank, QStringList &zeilen);

    // For each keyword containing suchtext: the keyword, then one line per text,
    // "  " + help number + tab + display line. False when a query failed or suchtext is empty.
    static bool stichwort(const QString &datenbank, const QString &suchtext, QStringList &zeilen);

    // KK.TT.XX with at least two digits per part, as the help writes help numbers.
    static QString hilfeNummer(qint32 kapitel, qint32 thema, qint32 text);
};
