// Where the help database is and how it is reached: the file HilfeBelna.mdb beside the
// executable, checked before every query, and the connection string built from it and the
// global password.
#pragma once

#include <QString>

// Full path of the database file and the connection string of the last check.
extern QString msDatenbank;
extern QString msVerbindung;

// True when something is at the database file's place (then msDatenbank and msVerbindung are
// rebuilt; the open reports what is wrong with it); otherwise shows "Die Hilfedatenbank wurde
// nicht gefunden!" and returns false.
bool DatenbankPruefen();

// The directory searched for the database; tools and tests point it elsewhere. An empty
// directory restores the executable's own.
void setzeProgrammVerzeichnis(const QString &verzeichnis);
QString programmVerzeichnis();
// A database file of any name, for the tools; it takes the place of HilfeBelna.mdb in the
// program's directory until it is set back to "".
void setzeDatenbankDatei(const QString &datei);

// The connection string for a file and password.
QString verbindungstext(const QString &datei, const QString &passwort);
// Takes a connection string apart; false if it is not one of ours.
bool verbindungZerlegen(const QString &verbindung, QString *datei, QString *passwort);
