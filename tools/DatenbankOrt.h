// Points the query layer at one database file for the lifetime of the object, then back at the
// program's own folder, and sets the help's password. The file is named directly: nothing is
// created on disk, so an interrupted command leaves nothing behind.
#pragma once

#include <QString>

class DatenbankOrt
{
public:
    explicit DatenbankOrt(const QString &datei);
    ~DatenbankOrt();
    DatenbankOrt(const DatenbankOrt &) = delete;
    DatenbankOrt &operator=(const DatenbankOrt &) = delete;
};
