// hilfedb pruefen: in the works; answers that it is not available yet.
#include "Befehle.h"

#include <cstdio>

int befehlPruefen(const QStringList &)
{
    std::fputs("hilfedb: pruefen ist noch nicht verfügbar\n", stderr);
    return 1;
}
