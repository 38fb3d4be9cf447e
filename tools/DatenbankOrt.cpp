// See DatenbankOrt.h.
#include "DatenbankOrt.h"

#include "Datenbank.h"
#include "Global.h"

#include <QFileInfo>

DatenbankOrt::DatenbankOrt(const QString &datei)
{
    gsPasswort = QString::fromLatin1(HilfePasswort);
    setzeDatenbankDatei(QFileInfo(datei).absoluteFilePath());
}

DatenbankOrt::~DatenbankOrt()
{
    setzeDatenbankDatei(QString());
    setzeProgrammVerzeichnis(QString());
}
