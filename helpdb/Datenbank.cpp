// Where the help database is (see Datenbank.h).
#include "Datenbank.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
QString verzeichnis;
QString eigeneDatei;
} // namespace

void setzeProgrammVerzeichnis(const QString &v)
{
    verzeichnis = v;
}

void setzeDatenbankDatei(const QString &datei)
{
    eigeneDatei = datei;
}

QString programmVerzeichnis()
{
    if (!verzeichnis.isEmpty())
        return verzeichnis;
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2);
}

QString datenbankDatei()
{
    return eigeneDatei.isEmpty() ? programmVerzeichnis() + QStringLiteral("/HilfeBelna.mdb")
                                 : eigeneDatei;
}
