// See DatenbankOrt.h.
#include "DatenbankOrt.h"

#include "Datenbank.h"
#include "Global.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

DatenbankOrt::DatenbankOrt(const QString &datei)
{
    const QFileInfo info(datei);
    gsPasswort = QString::fromLatin1(HilfePasswort);
    if (info.fileName() == QLatin1String("HilfeBelna.mdb")) {
        setzeProgrammVerzeichnis(info.absolutePath());
        return;
    }
    m_temp = std::make_unique<QTemporaryDir>();
    // A missing file gets no link, so the layer reports it as missing.
    if (m_temp->isValid() && info.exists())
        QFile::link(info.absoluteFilePath(), m_temp->filePath(QStringLiteral("HilfeBelna.mdb")));
    setzeProgrammVerzeichnis(m_temp->path());
}

DatenbankOrt::~DatenbankOrt()
{
    setzeProgrammVerzeichnis(QString());
}
