// The per-user settings store over QSettings (see Einstellungen.h).
#include "Einstellungen.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {
QString g_ordner;

// A settings file holds a few kilobytes. QSettings reads the whole file on every use and
// opens whatever is there: a FIFO would make the help wait for a writer for ever, a huge file
// would take seconds per value. Such a file is neither read nor written; the callers get
// their defaults, and a write says the value was not kept.
constexpr qint64 GroessteDatei = 1 << 20;

bool dateiBrauchbar(const QString &datei)
{
    const QFileInfo info(datei);
    if (!info.exists())
        return true; // a missing file is read as empty and created by a write
    return info.isFile() && info.size() <= GroessteDatei;
}
} // namespace

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
    if (!dateiBrauchbar(datei)) {
        if (lesbar)
            *lesbar = false;
        return QString();
    }
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
    const QString datei = einstellungsDatei(Anwendung);
    if (!dateiBrauchbar(datei))
        return false;
    QSettings s(datei, QSettings::IniFormat);
    s.beginGroup(Abschnitt);
    s.setValue(Schluessel, Wert);
    s.endGroup();
    s.sync();
    return s.status() == QSettings::NoError;
}

QHash<QString, QString> EinstellungenLesen(const QString &Anwendung, const QString &Abschnitt)
{
    QHash<QString, QString> werte;
    const QString datei = einstellungsDatei(Anwendung);
    if (!dateiBrauchbar(datei))
        return werte;
    QSettings s(datei, QSettings::IniFormat);
    s.beginGroup(Abschnitt);
    const QStringList schluessel = s.childKeys();
    for (const QString &k : schluessel)
        werte.insert(k, s.value(k).toString());
    return werte;
}

bool EinstellungenSpeichern(const QString &Anwendung, const QString &Abschnitt,
                            const QList<std::pair<QString, QString>> &Werte)
{
    const QString datei = einstellungsDatei(Anwendung);
    if (!dateiBrauchbar(datei))
        return false;
    QSettings s(datei, QSettings::IniFormat);
    s.beginGroup(Abschnitt);
    for (const auto &[schluessel, wert] : Werte)
        s.setValue(schluessel, wert);
    s.endGroup();
    s.sync();
    return s.status() == QSettings::NoError;
}
