// The installed message-box implementation and MsgBox (see Meldung.h).
#include "Meldung.h"

#include "MeldungKonsole.h"

namespace {
Meldungsanzeige *installiert = nullptr;

Meldungsanzeige &konsole()
{
    static KonsolenMeldungen k;
    return k;
}
} // namespace

int MsgBox(const QString &text, int stil)
{
    return meldungsanzeige()->zeigen(text, stil, QString::fromLatin1(ProgrammTitel));
}

void setzeMeldungsanzeige(Meldungsanzeige *anzeige)
{
    installiert = anzeige;
}

Meldungsanzeige *meldungsanzeige()
{
    return installiert ? installiert : &konsole();
}

int meldungKnoepfe(int stil)
{
    return stil & 0x0F;
}

int meldungSymbol(int stil)
{
    return stil & 0xF0;
}
