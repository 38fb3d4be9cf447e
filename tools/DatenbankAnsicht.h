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

    // The section named by a help number (parts compared numerically, so 1.2.3 = 01.02.03):
    // its title and stored rich text. False when no section has that number or a query failed.
    static bool abschnitt(const QString &datenbank, const QString &nummer, QString &titel,
                          QString &text);

    // The stored archive and title of a picture, through the help's own picture query.
    static bool bild(const QString &datenbank, const QString &nummer, QByteArray &archiv,
                     QString &titel);

    // KK.TT.XX with at least two digits per part, as the help writes help numbers.
    static QString hilfeNummer(qint32 kapitel, qint32 thema, qint32 text);
};
