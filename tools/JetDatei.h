// Reads tables of a Jet database file (Access .mdb, Jet 4; Jet 3 as far as libmdb reads it)
// through libmdb, value by value and without libmdb's text conversion: NULL stays apart from
// an empty text, text is decoded here (JetText.h), and long values (MEMO, OLE) are read raw
// through libmdb's long-value functions, so no byte after a U+0000 and no empty memo is lost.
// Refuses, with one German sentence, what is no Jet file, an Access 2007 file, a file with
// encrypted pages and a file that ends early. libmdb's types stay inside JetDatei.cpp.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <memory>

class JetDatei
{
public:
    enum class Art {
        Zahl, // BYTE, INTEGER or LONG; read as qint32
        Text, // TEXT or MEMO; read as QString
        Bild, // OLE (bytes as stored) or MEMO (old text form, turned back into bytes)
    };
    struct Spalte
    {
        const char *name;
        Art art;
    };
    struct Zeile
    {
        // One value per requested column: an invalid QVariant for NULL, else qint32, QString
        // or QByteArray after the column's Art.
        QVariantList werte;
        // Empty, or why a value could not be taken over (the column is named); that value is
        // then NULL in werte.
        QString problem;
    };

    JetDatei();
    ~JetDatei();
    JetDatei(const JetDatei &) = delete;
    JetDatei &operator=(const JetDatei &) = delete;

    // Opens the file and reads its catalogue. False with the reason when it cannot be used.
    bool oeffnen(const QString &pfad, QString *fehler);
    int jetVersion() const; // 3 or 4 after oeffnen()

    // Reads every row of a table in stored order into zeilen. The table is found by
    // name without regard to case ("WörterIndex" whatever the catalogue's code page made of
    // the ö). False with the reason when the table or a column is missing, a column has a type
    // that does not fit its Art, or the file breaks off before every row and long value could
    // be read.
    bool lesen(const QString &tabelle, const QList<Spalte> &spalten, QList<Zeile> *zeilen,
               QString *fehler);

    // A whole file read at once, away from the caller: libmdb follows what a damaged file
    // says without bounds (a page chain that loops, a length of gigabytes) and may then run
    // forever, take all memory or crash. So the file is opened and every table read in a
    // child process held to a time and memory limit, and the rows come back through a pipe.
    struct Tabelle
    {
        QString name;
        QList<Spalte> spalten;
    };
    struct Grenzen
    {
        int sekunden = 8;
        int megabytes = 512; // memory the child may take beyond what it starts with
    };
    struct Inhalt
    {
        int version = 0;            // as jetVersion(), 0 when not known
        QList<QList<Zeile>> zeilen; // per table, as lesen() gives them
        QString fehler;             // why not, as oeffnen() or lesen() says it
        bool fehlerBeimOeffnen = false;
    };
    static bool abgeschirmtLesen(const QString &pfad, const QList<Tabelle> &tabellen,
                                 Inhalt *inhalt, const Grenzen &grenzen);

private:
    struct Daten;
    std::unique_ptr<Daten> d;
};
