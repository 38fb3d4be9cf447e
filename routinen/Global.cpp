// Storage of the global values (see Global.h); empty until the start-up sets them.
#include "Global.h"

QString gsPasswort;
QString gsSchriftName;
qint16 giSchriftGroesse = 0;
bool gbDarstellung = false;
qint32 glBereichBreite = 0;
qint32 glBereichHoehe = 0;
qint32 glBereichLinks = 0;
qint32 glBereichOben = 0;
bool gbStichwortSuche = false;
