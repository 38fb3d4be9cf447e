// Console message boxes (see MeldungKonsole.h).
#include "MeldungKonsole.h"

#include <unistd.h>

KonsolenMeldungen::KonsolenMeldungen(std::FILE *ausgabe, std::FILE *eingabe, int interaktiv)
    : m_ausgabe(ausgabe), m_eingabe(eingabe ? eingabe : stdin), m_interaktiv(interaktiv)
{
}

int KonsolenMeldungen::zeigen(const QString &text, int stil, const QString &titel)
{
    const char *symbol = "";
    switch (meldungSymbol(stil)) {
    case Meldung::Stopp:
        symbol = "Fehler: ";
        break;
    case Meldung::Ausrufezeichen:
        symbol = "Achtung: ";
        break;
    case Meldung::Information:
        symbol = "Hinweis: ";
        break;
    }
    std::fprintf(m_ausgabe, "[%s] %s%s\n", titel.toLocal8Bit().constData(), symbol,
                 text.toLocal8Bit().constData());
    if (meldungKnoepfe(stil) != Meldung::WiederholenAbbrechen)
        return Meldung::Ok;

    const bool fragen = m_interaktiv < 0 ? isatty(fileno(m_eingabe)) != 0 : m_interaktiv > 0;
    if (!fragen) {
        std::fprintf(m_ausgabe, "-> Abbrechen\n");
        return Meldung::Abbrechen;
    }
    std::fprintf(m_ausgabe, "(W)iederholen oder (A)bbrechen? ");
    std::fflush(m_ausgabe);
    char zeile[64];
    if (!std::fgets(zeile, sizeof zeile, m_eingabe))
        return Meldung::Abbrechen;
    return (zeile[0] == 'w' || zeile[0] == 'W') ? Meldung::Wiederholen : Meldung::Abbrechen;
}
