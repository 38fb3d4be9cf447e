// Storage of the global values (see Global.h); empty until the start-up sets them.
#include "Global.h"

QString gsPasswort;
QString gsSchriftName;
qint16 giSchriftGroesse = 0;
