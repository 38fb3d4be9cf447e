// The per-user settings store over QSettings (see Einstellungen.h).
#include "Einstellungen.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {
QString g_ordner;
}

void setzeEinstellungsOrdner(const QString &ordner)
{
    g_ordner = ordner;
}

QString einstellungsDatei(const QString &Anwendung)
{
    const QString ordner =
        g_ordner.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                           : g_ordner;
    return QDir(ordner).filePath(Anwendung + QStringLiteral(".ini"));
}

QString EinstellungLesen(const QString &Anwendung, const QString &Abschnitt,
                         const QString &Schluessel)
{
    QSettings s(einstellungsDatei(Anwendung), QSettings::IniFormat);
    s.beginGroup(Abschnitt);
    return s.value(Schluessel).toString();
}

void EinstellungSpeichern(const QString &Anwendung, const QString &Abschnitt,
                          const QString &Schluessel, const QString &Wert)
{
    QSettings s(einstellungsDatei(Anwendung), QSettings::IniFormat);
    s.beginGroup(Abschnitt);
    s.setValue(Schluessel, Wert);
    s.endGroup();
    s.sync();
}
