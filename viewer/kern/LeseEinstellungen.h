// What the help window keeps per user for reading: the zoom of the text and the bookmarks.
// Both live in the help's own file of the settings store (application "Tolvar-Hilfe", so
// ~/.config/Tolvar-Hilfe.ini), apart from the invoicing product's shared file: section
// "Anzeige" holds the key "Zoom" (percent), section "Lesezeichen" the keys "Anzahl" and, for
// each bookmark i from 1, "Nummer<i>" (the help number) and "Name<i>" (the name shown).
#pragma once

#include <QList>
#include <QString>

namespace LeseEinstellungen {

inline constexpr const char *Anwendung = "Tolvar-Hilfe";
inline constexpr const char *AbschnittAnzeige = "Anzeige";
inline constexpr const char *AbschnittLesezeichen = "Lesezeichen";
// More bookmarks are not read; a damaged count cannot make the menu endless.
inline constexpr int MaxLesezeichen = 200;

// The stored zoom as a usable step (TextZoom::gueltig); 100 when none is stored.
int zoomLesen();
// False when the file could not be written.
bool zoomSpeichern(int prozent);

struct Lesezeichen
{
    QString nummer; // KK.TT.XX
    QString name;
    friend bool operator==(const Lesezeichen &, const Lesezeichen &) = default;
};

// In the order saved; entries without a number are left out.
QList<Lesezeichen> lesezeichenLesen();
// Replaces the stored list; false when the file could not be written.
bool lesezeichenSpeichern(const QList<Lesezeichen> &liste);

// Appends a bookmark unless one with this number is there already (then the list stays and
// the result is false). An empty name is replaced by the number.
bool hinzufuegen(QList<Lesezeichen> &liste, const QString &nummer, const QString &name);

} // namespace LeseEinstellungen
