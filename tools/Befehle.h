// The subcommands of hilfedb. Each takes the arguments behind its own name and returns the
// process exit code (0 success, 1 failure, 2 wrong usage). main() dispatches by name.
#pragma once
#include <QStringList>

int befehlErstellen(const QStringList &args);   // erstellen QUELLORDNER ZIEL.mdb
int befehlKapitel(const QStringList &args);     // kapitel DB
int befehlStichwort(const QStringList &args);   // stichwort DB SUCHTEXT
int befehlSynthetisch(const QStringList &args); // synthetisch ZIEL.mdb [options]
int befehlText(const QStringList &args);        // text DB NUMMER
int befehlBild(const QStringList &args);        // bild DB BILDNUMMER AUSGABE.png
int befehlRtf(const QStringList &args);         // rtf DATEI.rtf
int befehlPruefen(const QStringList &args);     // pruefen DB
int befehlDrucken(const QStringList &args);     // drucken DB NUMMER --umfang U [--grafiken] --pdf P
int befehlNummern(const QStringList &args);     // nummern DB QUELLE... [--unbenutzt]
int befehlVergleichen(const QStringList &args); // vergleichen DB1 DB2
int befehlWeb(const QStringList &args);         // web DB ORDNER [--adresse URL]

// Shared by the subcommands that write files (BefehleDrucken.cpp).
// True when both paths name one existing file: the same path, another spelling of it (.., a
// symbolic link) or a hard link to it.
bool dieselbeDatei(const QString &a, const QString &b);
// True (and says so on standard error) when the output file ziel is the help database itself,
// which no output may replace.
bool zielIstDatenbank(const QString &ziel, const QString &datenbank);
// Writes inhalt to ziel through a temporary file beside it that takes ziel's name only when
// every byte is written (a link is followed; only a plain file is replaced). On failure
// nothing new is left, and fehler says why.
bool dateiErsetzen(const QString &ziel, const QByteArray &inhalt, QString *fehler);
