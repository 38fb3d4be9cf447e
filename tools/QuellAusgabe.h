// Writes a help database back as writers' sources (hilfedb auspacken): one chapter file per
// chapter in display order, headings, keywords and section texts, and the pictures as the BMP
// files stored in their archives. A section text becomes source text when the source, compiled
// again, renders exactly as the stored text does; otherwise it is kept as an RTF block that the
// compiler stores unchanged. What the sources cannot express is listed, and then nothing is
// written. The folder is written beside the target under a temporary name, read back with the
// compiler's own parser and compared with the database, and only then takes the target's name.
#pragma once
#include <QString>
#include <QStringList>

class QuellAusgabe
{
public:
    struct Ergebnis
    {
        QStringList nichtDarstellbar; // one line per item the sources cannot express
        QStringList alsRtf;           // "KK.TT.XX: reason" per section kept as an RTF block
        int kapitel = 0;
        int abschnitte = 0;
        int bilder = 0;
        QString fehler; // why nothing was written, when it is not nichtDarstellbar
    };

    // False when nothing was written; ergebnis says why. An existing ordner is replaced only
    // when ersetzen is set (the caller checks that first).
    static bool auspacken(const QString &datenbank, const QString &ordner, bool ersetzen,
                          Ergebnis &ergebnis);

    // True when both stored texts look alike in the help window: the same visible text, every
    // character in the same font, style and colour, paragraphs with the same indents and tab
    // stops, and the same links. unterschied receives the first difference.
    static bool gleichDargestellt(const QString &a, const QString &b,
                                  QString *unterschied = nullptr);
};
