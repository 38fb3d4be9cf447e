// The subcommands of hilfedb. Each takes the arguments behind its own name and returns the
// process exit code (0 success, 1 failure, 2 wrong usage). main() dispatches by name.
#pragma once
#include <QStringList>

int befehlErstellen(const QStringList &args);    // erstellen QUELLORDNER ZIEL.mdb
int befehlKapitel(const QStringList &args);      // kapitel DB
int befehlStichwort(const QStringList &args);    // stichwort DB SUCHTEXT
int befehlSynthetisch(const QStringList &args);  // synthetisch ZIEL.mdb [options]
int befehlText(const QStringList &args);         // text DB NUMMER
int befehlBild(const QStringList &args);         // bild DB BILDNUMMER AUSGABE.png
int befehlRtf(const QStringList &args);          // rtf DATEI.rtf
int befehlPruefen(const QStringList &args);      // pruefen DB
int befehlDrucken(const QStringList &args);      // drucken DB NUMMER --umfang U [--grafiken] --pdf P
