// The database file check and the connection string (see Datenbank.h).
#include "Datenbank.h"

#include "Global.h"
#include "Meldung.h"
#include "Routinen.h"

#include <QCoreApplication>
#include <QFileInfo>

QString msDatenbank;
QString msVerbindung;

namespace {
QString verzeichnis;
QString datenbankDatei;

const QString Anbieter = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=");
const QString Kennwort = QStringLiteral(";Jet OLEDB:Database Password=");
} // namespace

void setzeProgrammVerzeichnis(const QString &v)
{
    verzeichnis = v;
}

void setzeDatenbankDatei(const QString &datei)
{
    datenbankDatei = datei;
}

QString programmVerzeichnis()
{
    if (!verzeichnis.isEmpty())
        return verzeichnis;
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2);
}

QString verbindungstext(const QString &datei, const QString &passwort)
{
    return Anbieter + datei + Kennwort + passwort;
}

bool verbindungZerlegen(const QString &verbindung, QString *datei, QString *passwort)
{
    if (!verbindung.startsWith(Anbieter))
        return false;
    const qsizetype k = verbindung.indexOf(Kennwort, Anbieter.size());
    if (k < 0)
        return false;
    *datei = verbindung.mid(Anbieter.size(), k - Anbieter.size());
    *passwort = verbindung.mid(k + Kennwort.size());
    return true;
}

bool DatenbankPruefen()
{
    msDatenbank = datenbankDatei.isEmpty()
                      ? programmVerzeichnis() + QStringLiteral("/HilfeBelna.mdb")
                      : datenbankDatei;
    const QFileInfo datei(msDatenbank);
    // Whatever is there (following links) goes on to the open: a file that cannot be read or
    // a directory is no missing database, and the open says "access denied", which the user
    // may retry once it is mended. Only nothing at all (or a broken link) is "not found".
    if (datei.exists()) {
        msVerbindung = verbindungstext(msDatenbank, gsPasswort);
        return true;
    }
    MausZeiger(0);
    MsgBox(QStringLiteral("Die Hilfedatenbank wurde nicht gefunden!"),
           Meldung::NurOk + Meldung::Ausrufezeichen);
    return false;
}
