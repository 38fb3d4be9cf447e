// Where the help database is: the file HilfeBelna.mdb beside the executable, unless a tool or
// a test points elsewhere. The default database object (HilfeDatenbank.h) reads it here.
#pragma once

#include <QString>

// The directory searched for the database; tools and tests point it elsewhere. An empty
// directory restores the executable's own.
void setzeProgrammVerzeichnis(const QString &verzeichnis);
QString programmVerzeichnis();
// A database file of any name, for the tools; it takes the place of HilfeBelna.mdb in the
// program's directory until it is set back to "".
void setzeDatenbankDatei(const QString &datei);
// The file the default database object reads now.
QString datenbankDatei();
