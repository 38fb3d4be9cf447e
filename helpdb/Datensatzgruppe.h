// One query's rows, read from the help database over SQLCipher: opened read-only and keyed
// with the password, all rows stepped into memory so the count is
// known before they are read, values by column name (case-insensitive, also "Tabelle.Spalte")
// with null values kept apart. Failures set the current error (Fehler.h) with the number the
// error dialog knows, and return false.
//
// The keyed open costs some 30 ms (key derivation), so the database object keeps the last
// connection (GehalteneVerbindung) for the next query while the file's identity (path, device,
// inode, size, mtime) and the password are unchanged; a replaced or changed file is opened anew.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

#include <sys/types.h>

struct sqlite3;

// What makes a file "the same file" for the kept connection.
struct Dateikennung
{
    QString pfad;
    QString passwort;
    dev_t geraet = 0;
    ino_t knoten = 0;
    off_t groesse = 0;
    qint64 geaendertSek = 0;
    qint64 geaendertNsek = 0;

    bool operator==(const Dateikennung &) const = default;
};

// The connection one database object keeps.
struct GehalteneVerbindung
{
    std::shared_ptr<sqlite3> db;
    Dateikennung kennung;
};

class Datensatzgruppe
{
public:
    // Uses the kept connection when the file is the same, else opens it and keeps it there.
    bool verbinden(const QString &pfad, const QString &passwort, GehalteneVerbindung &gehalten);
    // Runs sql with the values bound to its parameters, in order (integers, doubles, texts,
    // byte arrays; an invalid QVariant is null).
    bool ausfuehren(const QString &sql, const QList<QVariant> &parameter = {});
    bool schliessen();

    int anzahl() const { return m_anzahl; }
    int spalten() const { return int(m_spalten.size()); }
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

    // Number of keyed opens so far in this process (for tests of the kept connection).
    static int geoeffneteVerbindungen();

private:
    bool wertHolen(int zeile, const QString &name, const QVariant **aus) const;

    std::shared_ptr<sqlite3> m_db;
    GehalteneVerbindung *m_gehalten = nullptr;
    QStringList m_tabellen;
    QStringList m_spalten;
    QList<QVariant> m_werte;
    int m_anzahl = 0;
};
