// The current error and the standard texts (see Fehler.h).
#include "Fehler.h"

namespace {
Fehler aktuell;
} // namespace

const Fehler &aktuellerFehler()
{
    return aktuell;
}

void fehlerSetzen(qint32 nummer, const QString &beschreibung)
{
    aktuell.nummer = nummer;
    aktuell.beschreibung = beschreibung.isEmpty() ? fehlerStandardText(nummer) : beschreibung;
}

void fehlerLoeschen()
{
    aktuell = Fehler();
}

QString fehlerStandardText(qint32 nummer)
{
    using namespace Fehlernummer;
    switch (nummer) {
    case DatenbankGesperrt:
        return QStringLiteral("Die Datenbank ist von einem anderen Benutzer oder Programm "
                              "gesperrt.");
    case KennwortUngueltig:
        return QStringLiteral("Kein gültiges Kennwort, oder die Datei ist keine Datenbank.");
    case Unbekannt:
        return QStringLiteral("Die Datenbank ist beschädigt oder kann nicht gelesen werden.");
    case BefehlFehlerhaft:
        return QStringLiteral("Die Abfrage kann in dieser Datenbank nicht ausgeführt werden.");
    case Ueberlauf:
        return QStringLiteral("Überlauf");
    case SpeicherVoll:
        return QStringLiteral("Nicht genügend Speicher");
    case TypenUnvertraeglich:
        return QStringLiteral("Typen unverträglich");
    case ZugriffVerweigert:
        return QStringLiteral("Zugriff verweigert");
    case PfadZugriffsfehler:
        return QStringLiteral("Fehler beim Zugriff auf Pfad/Datei");
    case NullUnzulaessig:
        return QStringLiteral("Unzulässige Verwendung von Null");
    case DoppelteWerte:
        return QStringLiteral("Doppelte Werte im Index, Primärschlüssel oder in der Beziehung.");
    case SpalteFehlt:
        return QStringLiteral("Das Element wurde in der Auflistung mit dem angegebenen Namen "
                              "nicht gefunden.");
    case DatensatzVerknuepft:
        return QStringLiteral("Der Datensatz kann nicht gelöscht oder geändert werden, da er "
                              "verknüpfte Datensätze enthält.");
    }
    return QStringLiteral("Anwendungs- oder objektdefinierter Fehler");
}
