// hilfedb drucken: in the works; answers that it is not available yet.
#include "Befehle.h"

#include <cstdio>

int befehlDrucken(const QStringList &)
{
    std::fputs("hilfedb: drucken ist noch nicht verfügbar\n", stderr);
    return 1;
}
