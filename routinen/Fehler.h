// The error being handled: its number and the system's description, set by the layer that
// failed just before it calls FehlerMeldung. Also the German standard texts for the error
// numbers this system raises.
#pragma once

#include <QString>

namespace Fehlernummer {
inline constexpr qint32 DatenbankGesperrt = -2147217887; // another user locks the database
inline constexpr qint32 KennwortUngueltig = -2147217843; // wrong password, not a database
inline constexpr qint32 Unbekannt = -2147467259;         // unspecified provider failure
inline constexpr qint32 BefehlFehlerhaft = -2147217900;  // the SQL text cannot be run
inline constexpr qint32 Ueberlauf = 6;
inline constexpr qint32 SpeicherVoll = 7;
inline constexpr qint32 TypenUnvertraeglich = 13;
inline constexpr qint32 ZugriffVerweigert = 70;
inline constexpr qint32 PfadZugriffsfehler = 75;
inline constexpr qint32 NullUnzulaessig = 94;
inline constexpr qint32 DoppelteWerte = 3022;
inline constexpr qint32 SpalteFehlt = 3265; // no column of that name
inline constexpr qint32 DatensatzVerknuepft = 3200;
} // namespace Fehlernummer

struct Fehler
{
    qint32 nummer = 0;
    QString beschreibung;
};

// The current error (number 0: none).
const Fehler &aktuellerFehler();
// Sets the current error; an empty description takes the standard text of the number.
void fehlerSetzen(qint32 nummer, const QString &beschreibung = QString());
void fehlerLoeschen();

// The German standard text for an error number; a generic text for numbers not known here.
QString fehlerStandardText(qint32 nummer);
