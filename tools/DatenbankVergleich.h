// The content comparison of two compiled help databases (hilfedb vergleichen). Two compiles of
// the same sources differ in every byte (fresh salts and initialisation vectors), so the files
// cannot be compared; what the help shows from them can. Each database is read through the
// help's own queries on a connection of its own, then the two contents are compared:
// - chapters, topics and sections: numbers, titles and the order the help shows them in;
// - each section's text rendered as the help renders it: the visible text, the character
//   formats (bold, italic, underline, colour, size, font) as runs, paragraph alignment and
//   indents, and the links with their link texts and targets;
// - keywords with the sections they lead to;
// - pictures: number, title and the bitmap the help unpacks from the stored archive (the
//   archive itself is not compared: its member dates differ between compiles);
// - the stored full-text index: the words indexed per section, by column and count.
// Nothing is printed here; each difference is one German line naming its place.
#pragma once

#include <QString>
#include <QStringList>

class DatenbankVergleich
{
public:
    struct Ergebnis
    {
        // One line per difference, by help number, then keywords, pictures, full-text index.
        QStringList unterschiede;
        // What the first database holds (the second holds the same when nothing differs).
        int kapitel = 0;
        int themen = 0;
        int abschnitte = 0;
        int stichwoerter = 0;
        int bilder = 0;
        bool volltextIndex = false;
        // Why a database could not be read, naming it as DB1 or DB2; empty when both were read.
        QString fehler;
    };

    // False when one of the databases could not be read (ergebnis.fehler says which and why);
    // true when both were compared, whether or not they differ.
    static bool vergleichen(const QString &datenbank1, const QString &datenbank2,
                            Ergebnis &ergebnis);
};
