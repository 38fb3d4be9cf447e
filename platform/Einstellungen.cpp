// The per-user settings store over QSettings (see Einstellungen.h).
#include "Einstellungen.h"

#include <QDir>
#include <QFileInfo>
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
                         const QString &Schluessel, bool *lesbar)
{
    const QString datei = einstellungsDatei(Anwendung);
    QSettings s(datei, QSettings::IniFormat);
    if (lesbar) {
        // QSettings reads what it can and stays silent about the rest: a file that exists
        // but cannot be opened (a folder, no permission) is unreadable.
        const QFileInfo info(datei);
        *lesbar = s.status() == QSettings::NoError &&
                  (!info.exists() || (info.isFile() && info.isReadable()));
    }
    s.beginGroup(Abschnitt);
    return s.value(Schluessel).toString();
}

bool EinstellungSpeichern(const QString &Anwendung, const QString &Abschnitt,
                          const QString &Schluessel, const QString &Wert)
{
    QSettings s(einstellungsDatei(Anwendung), QSettings::IniFormat);
    s.beginGroup(Abschnitt);
    s.setValue(Schluessel, Wert);
    s.endGroup();
    s.sync();
    return s.status() == QSettings::NoError;
}
