// The per-user settings store: text values by application, section and key, as the invoicing
// product shares them. Each application is one INI file "<application>.ini" in the user's
// configuration folder (~/.config), each section a group, each key a key of that group
// (QSettings' INI form, so a blank in a key is written as "%20"). Tests point the folder
// elsewhere.
#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <utility>

// The value, or "" when the key is missing (no default is passed). With lesbar, whether the
// file could be read (a missing file counts as readable and empty).
QString EinstellungLesen(const QString &Anwendung, const QString &Abschnitt,
                         const QString &Schluessel, bool *lesbar = nullptr);
// Writes the value at once. False when the file could not be written (a folder in its place,
// no permission, the configuration folder not a folder): the value is then lost, and the
// caller must say so.
bool EinstellungSpeichern(const QString &Anwendung, const QString &Abschnitt,
                          const QString &Schluessel, const QString &Wert);

// Every value of a section with one reading of the file (for callers that need many keys).
QHash<QString, QString> EinstellungenLesen(const QString &Anwendung, const QString &Abschnitt);
// Writes several values of a section with one writing of the file; false as above.
bool EinstellungenSpeichern(const QString &Anwendung, const QString &Abschnitt,
                            const QList<std::pair<QString, QString>> &Werte);

// The folder of the INI files; "" restores the user's configuration folder.
void setzeEinstellungsOrdner(const QString &ordner);
QString einstellungsDatei(const QString &Anwendung);
