// Small helpers many tests repeat: table rows, writing source files, running a program, reading
// a PDF back as text, a one-paragraph RTF text.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTest>

// One row of a data table: zeile("name", a, b) is QTest::newRow("name") << a << b, kept on one
// line however its values are written.
template <typename... T> void zeile(const char *name, const T &...werte)
{
    (QTest::newRow(name) << ... << werte);
}

// Writes a file, creating its folders; fails the running test when it cannot be written.
void dateiSchreiben(const QString &pfad, const QByteArray &inhalt);
QByteArray dateiLesen(const QString &pfad); // empty when unreadable

// The outcome of a program run; code is -1 when it did not end normally in time.
struct ProgrammLauf
{
    int code = -1;
    QString aus, fehler;
};
ProgrammLauf programmLaufen(const QString &programm, const QStringList &args, int ms = 120000);
// Command-line arguments written as one line: split at blanks, each "@" replaced by ordner
// (when given).
QStringList argumente(const QString &zeile, const QString &ordner = QString());

// The text of a PDF as pdftotext -layout gives it ("\f" between pages); empty on failure.
QString pdfText(const QString &pdf);
bool pdftotextVorhanden();

// One paragraph of text in Arial 10 pt, as the help's sections are stored.
QString rtfAbsatz(const QString &text);
