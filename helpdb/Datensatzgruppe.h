// One query's rows, read from the help database over SQLCipher: opened from the connection
// string (read-only, keyed with the password), all rows stepped into memory so the count is
// known before they are read, values by column name (case-insensitive, also "Tabelle.Spalte")
// with null values kept apart. Failures set the current error (Fehler.h) with the number the
// error dialog knows, and return false.
//
// The keyed open costs some 30 ms (key derivation), so the last connection is kept for the
// next query while the file's identity (path, device, inode, size, mtime) and the password are
// unchanged; a replaced or changed file is opened anew.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

struct sqlite3;

class Datensatzgruppe
{
public:
    bool verbinden(const QString &verbindung);
    bool ausfuehren(const QString &sql);
    bool schliessen();

    int anzahl() const { return m_anzahl; }
    // Index of a column: "Spalte" (first of that name) or "Tabelle.Spalte"; -1 if none.
    int spalte(const QString &name) const;
    // Row 1..anzahl(); a null value is an invalid QVariant.
    const QVariant &wert(int zeile, int spalte) const;

    // Converting reads for the queries; false (with the current error set) for a missing
    // column, a null value or a value that does not convert.
    bool text(int zeile, const QString &name, QString *aus) const;
    bool zahl(int zeile, const QString &name, qint32 *aus) const;
    bool bytes(int zeile, const QString &name, QByteArray *aus) const;
    // Like text(), but a null value gives "" instead of an error.
    bool textOderLeer(int zeile, const QString &name, QString *aus) const;

    // Number of keyed opens so far in this process (for tests of the connection cache).
    static int geoeffneteVerbindungen();
    // Drops the kept connection.
    static void verbindungVerwerfen();

private:
    bool wertHolen(int zeile, const QString &name, const QVariant **aus) const;

    std::shared_ptr<sqlite3> m_db;
    QStringList m_tabellen;
    QStringList m_spalten;
    QList<QVariant> m_werte;
    int m_anzahl = 0;
};
