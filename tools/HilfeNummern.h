// The help numbers a host program calls, found in its source files, checked against a help
// database (hilfedb nummern): which of them lead to no section, and which sections no host
// number and no link leads to.
#pragma once
#include <QList>
#include <QString>
#include <QStringList>

class HilfeNummern
{
public:
    // One help number found in a file.
    struct Fund
    {
        QString datei; // as given or found under a given folder
        int zeile = 0;
        QString nummer; // KK.TT.XX
    };

    // Finds help numbers in the files given and in every text file under the folders given
    // (hidden folders and binary files are passed over): literals "KK.TT.XX" or 'KK.TT.XX', and
    // lines holding a number alone, as in a plain list file. Files that cannot be read go to
    // fehler.
    static QList<Fund> suchen(const QStringList &pfade, QStringList &fehler);

    // The help numbers in one text.
    static void textDurchsuchen(const QString &datei, const QByteArray &text, QList<Fund> &funde);

    // Where the help goes for a number, given the database's sections ("KK.TT.XX", in order):
    // empty when a section has that number, otherwise a German description of where the help
    // ends up instead.
    static QString ziel(const QString &nummer, const QStringList &abschnitte);
};
