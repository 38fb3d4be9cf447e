#include "TestHilfen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

void dateiSchreiben(const QString &pfad, const QByteArray &inhalt)
{
    QDir().mkpath(QFileInfo(pfad).absolutePath());
    QFile f(pfad);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(pfad));
    QCOMPARE(f.write(inhalt), inhalt.size());
}

QByteArray dateiLesen(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

ProgrammLauf programmLaufen(const QString &programm, const QStringList &args, int ms)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(programm, args);
    p.closeWriteChannel();
    ProgrammLauf l;
    if (!p.waitForFinished(ms))
        return l;
    l.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    l.aus = QString::fromUtf8(p.readAllStandardOutput());
    l.fehler = QString::fromUtf8(p.readAllStandardError());
    return l;
}

QStringList argumente(const QString &zeile, const QString &ordner)
{
    QStringList l = zeile.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (!ordner.isEmpty())
        for (QString &a : l)
            a.replace(QLatin1Char('@'), ordner);
    return l;
}

QString pdfText(const QString &pdf)
{
    return programmLaufen(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, "-"}, 30000)
        .aus;
}

bool pdftotextVorhanden()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

QString rtfAbsatz(const QString &text)
{
    return QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 %1\\par}")
        .arg(text);
}
