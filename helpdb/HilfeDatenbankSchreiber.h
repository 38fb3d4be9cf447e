// Writes a help database: creates (or replaces) an encrypted file with the tables the server
// reads (Kapitel, Themen, Texte, Bilder, WörterIndex, ZuordnungIndex) and fills it. Used by the
// authoring tool, by tests and by benchmarks; the server itself never writes. Everything goes
// into one transaction; the finished file replaces the old one only in abschliessen(), so a
// reader never sees a half-written database. abschliessen() also builds the full-text index
// (VolltextIndex.h) over the sections as they are then, so every written database has one.
#pragma once

#include "Aufraeumen.h"

#include <QByteArray>
#include <QString>
#include <QVariantList>

#include <optional>

struct sqlite3;
struct sqlite3_stmt;

class HilfeDatenbankSchreiber
{
public:
    HilfeDatenbankSchreiber() = default;
    ~HilfeDatenbankSchreiber();
    HilfeDatenbankSchreiber(const HilfeDatenbankSchreiber &) = delete;
    HilfeDatenbankSchreiber &operator=(const HilfeDatenbankSchreiber &) = delete;

    // Starts a new database for pfad, keyed with passwort (empty: not encrypted).
    bool oeffnen(const QString &pfad, const QString &passwort, QString *fehler = nullptr);

    // The inserts return the new row's ID, 0 after a failure (see letzterFehler()).
    qint32 kapitelEinfuegen(qint32 nummer, const QString &bezeichnung, qint32 lfdNummer);
    qint32 themaEinfuegen(qint32 kapitelID, qint32 nummer, const QString &bezeichnung,
                          qint32 lfdNummer);
    qint32 textEinfuegen(qint32 themenID, qint32 nummer, const QString &bezeichnung,
                         const QString &text, qint32 lfdNummer);
    void bildEinfuegen(qint32 nummer, const QByteArray &zipArchiv, const QString &bezeichnung);
    qint32 wortEinfuegen(const QString &wort);
    void zuordnungEinfuegen(qint32 indexID, qint32 textID);

    // A row taken over as it stands from another help database: the values of the table's
    // columns in schema order, ID included; an invalid QVariant writes NULL, a QString text, a
    // QByteArray a blob, anything else an integer. False after a failure (see letzterFehler()).
    enum class Tabelle { Kapitel, Themen, Texte, Bilder, WoerterIndex, ZuordnungIndex };
    bool zeileUebernehmen(Tabelle tabelle, const QVariantList &werte);

    // Runs raw statements (for tests: null values, odd rows, other column types).
    bool ausfuehren(const QString &sql);

    // Whether abschliessen() builds the full-text index (on by default; off gives a database
    // as older versions or other tools write it).
    void setVolltextIndex(bool an) { m_volltext = an; }

    // Commits, closes and moves the new file into place. False (with the reason) if anything
    // failed since oeffnen(); then the old file at pfad is left as it was.
    bool abschliessen(QString *fehler = nullptr);

    QString letzterFehler() const { return m_fehler; }

private:
    enum Anweisung {
        Kapitel,
        Thema,
        Text,
        Bild,
        Wort,
        Zuordnung,
        ErsteUebernahme, // zeileUebernehmen(), one per Tabelle in its order
        AnzahlAnweisungen = ErsteUebernahme + 6
    };

    sqlite3_stmt *anweisung(Anweisung a);
    bool schrittAusfuehren(sqlite3_stmt *st);
    void fehlerMerken(const QString &wo);
    void verwerfen();

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_anweisungen[AnzahlAnweisungen] = {};
    QString m_pfad;
    QString m_neuPfad;
    // ZIEL.neu and its journal, removed also when a signal ends the process while they exist.
    std::optional<Aufraeumen::Datei> m_neuEintrag;
    std::optional<Aufraeumen::Datei> m_journalEintrag;
    QString m_fehler;
    bool m_volltext = true;
};
