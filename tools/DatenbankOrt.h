// Points the query layer at one database file for the lifetime of the object, then back at the
// program's own folder. The layer always opens "HilfeBelna.mdb" in its folder; another name is
// reached through a symbolic link in a private temporary folder. Sets the help's password.
#pragma once

#include <QString>

#include <memory>

class QTemporaryDir;

class DatenbankOrt
{
public:
    explicit DatenbankOrt(const QString &datei);
    ~DatenbankOrt();
    DatenbankOrt(const DatenbankOrt &) = delete;
    DatenbankOrt &operator=(const DatenbankOrt &) = delete;

private:
    std::unique_ptr<QTemporaryDir> m_temp;
};
