// The check of a compiled help database for writers (hilfedb pruefen): every section text is
// rendered as the help renders it, every text link must name an existing section, every
// picture link a picture that unpacks to a bitmap, and every keyword must lead to a text; a
// stored full-text index must be of the help's version, complete and sound, and no section may
// have changed since it was built.
// Besides problems it gives warnings, which do not fail the check: a text link whose text no
// longer resembles the title of its target (its number was probably given to a new section)
// and a picture that no link shows.
// Everything is read through the help's own queries, so the check sees what the help sees.
#pragma once
#include "Verweis.h"

#include <QList>
#include <QString>
#include <QStringList>

class Pruefung
{
public:
    struct Ergebnis
    {
        // One line per problem; section problems start with the section's help number.
        QStringList probleme;
        // One line per warning, in the same form.
        QStringList warnungen;
        int abschnitte = 0;
        int bilder = 0; // distinct pictures linked
        int stichwoerter = 0;
        bool volltextIndex = false; // the database holds a full-text index
    };

    // False when the database could not be read (the query layer has said why); the problems
    // found until then are in ergebnis.
    static bool pruefen(const QString &datenbank, Ergebnis &ergebnis);

    // Problems of one stored section text (rendering and markup, not the link targets). The
    // links of the rendered text go to links and linkAnzahl when given, their visible texts
    // (element i for link i) to linkTexte.
    static QStringList textProbleme(const QString &gespeicherterText,
                                    QList<tVerweis> *links = nullptr,
                                    qint16 *linkAnzahl = nullptr,
                                    QStringList *linkTexte = nullptr);

    // A link target in the documented form KK.TT.XX: three parts of digits only.
    static bool nummerZerlegen(const QString &nummer, qint32 teile[3]);
};
