// Writers' views of rendered sections, pictures and RTF files. Filled in by the rich-text work.
#include "Befehle.h"
#include <cstdio>

static int nochNichtVorhanden()
{
    std::fprintf(stderr, "hilfedb: dieser Befehl ist noch nicht verfügbar\n");
    return 1;
}

int befehlText(const QStringList &) { return nochNichtVorhanden(); }
int befehlBild(const QStringList &) { return nochNichtVorhanden(); }
int befehlRtf(const QStringList &) { return nochNichtVorhanden(); }
