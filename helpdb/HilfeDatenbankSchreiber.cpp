// Creates and fills a help database file (see HilfeDatenbankSchreiber.h).
#include "HilfeDatenbankSchreiber.h"

#include "SqlDialekt.h"
#include "VolltextIndex.h"

#include <QFile>
#include <QVariant>

#include <sqlite3.h>

#include <cstdio>

namespace {

// The schema as the queries read it. Text columns carry the German collation so that ORDER BY
// sorts as the queries expect; must match SqlDialekt::SortierungName.
const char *const Schema = R"SQL(
CREATE TABLE Kapitel (ID INTEGER PRIMARY KEY, Nummer INTEGER,
    Bezeichnung TEXT COLLATE DEUTSCH, lfdNummer INTEGER);
CREATE TABLE Themen (ID INTEGER PRIMARY KEY, KapitelID INTEGER, Nummer INTEGER,
    Bezeichnung TEXT COLLATE DEUTSCH, lfdNummer INTEGER);
CREATE TABLE Texte (ID INTEGER PRIMARY KEY, ThemenID INTEGER, Nummer INTEGER,
    Bezeichnung TEXT COLLATE DEUTSCH, Text TEXT COLLATE DEUTSCH, lfdNummer INTEGER);
CREATE TABLE Bilder (Nummer INTEGER, Bild BLOB, Bezeichnung TEXT COLLATE DEUTSCH);
CREATE TABLE "WörterIndex" (ID INTEGER PRIMARY KEY, Wort TEXT COLLATE DEUTSCH);
CREATE TABLE ZuordnungIndex (IndexID INTEGER, TextID INTEGER);
CREATE INDEX Themen_KapitelID ON Themen (KapitelID);
CREATE INDEX Texte_ThemenID ON Texte (ThemenID);
CREATE INDEX ZuordnungIndex_IndexID ON ZuordnungIndex (IndexID);
CREATE INDEX Bilder_Nummer ON Bilder (Nummer);
CREATE INDEX WoerterIndex_Wort ON "WörterIndex" (Wort);
)SQL";

const char *const Einfuegen[] = {
    "INSERT INTO Kapitel (Nummer, Bezeichnung, lfdNummer) VALUES (?1, ?2, ?3)",
    "INSERT INTO Themen (KapitelID, Nummer, Bezeichnung, lfdNummer) VALUES (?1, ?2, ?3, ?4)",
    "INSERT INTO Texte (ThemenID, Nummer, Bezeichnung, Text, lfdNummer) "
    "VALUES (?1, ?2, ?3, ?4, ?5)",
    "INSERT INTO Bilder (Nummer, Bild, Bezeichnung) VALUES (?1, ?2, ?3)",
    "INSERT INTO \"WörterIndex\" (Wort) VALUES (?1)",
    "INSERT INTO ZuordnungIndex (IndexID, TextID) VALUES (?1, ?2)",
    // zeileUebernehmen(): every column, in schema order
    "INSERT INTO Kapitel (ID, Nummer, Bezeichnung, lfdNummer) VALUES (?1, ?2, ?3, ?4)",
    "INSERT INTO Themen (ID, KapitelID, Nummer, Bezeichnung, lfdNummer) "
    "VALUES (?1, ?2, ?3, ?4, ?5)",
    "INSERT INTO Texte (ID, ThemenID, Nummer, Bezeichnung, Text, lfdNummer) "
    "VALUES (?1, ?2, ?3, ?4, ?5, ?6)",
    "INSERT INTO Bilder (Nummer, Bild, Bezeichnung) VALUES (?1, ?2, ?3)",
    "INSERT INTO \"WörterIndex\" (ID, Wort) VALUES (?1, ?2)",
    "INSERT INTO ZuordnungIndex (IndexID, TextID) VALUES (?1, ?2)",
};

void textBinden(sqlite3_stmt *st, int i, const QString &s)
{
    const QByteArray u = s.toUtf8();
    sqlite3_bind_text(st, i, u.constData(), int(u.size()), SQLITE_TRANSIENT);
}

} // namespace

HilfeDatenbankSchreiber::~HilfeDatenbankSchreiber()
{
    verwerfen();
}

void HilfeDatenbankSchreiber::verwerfen()
{
    for (auto &st : m_anweisungen) {
        sqlite3_finalize(st);
        st = nullptr;
    }
    if (m_db) {
        sqlite3_close(m_db);
        m_db = nullptr;
        QFile::remove(m_neuPfad);
        QFile::remove(m_neuPfad + QStringLiteral("-journal"));
    }
    m_neuEintrag.reset();
    m_journalEintrag.reset();
}

void HilfeDatenbankSchreiber::fehlerMerken(const QString &wo)
{
    if (!m_fehler.isEmpty())
        return; // the first failure is the one worth reporting
    m_fehler = wo;
    if (m_db)
        m_fehler += QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(m_db));
}

bool HilfeDatenbankSchreiber::oeffnen(const QString &pfad, const QString &passwort, QString *fehler)
{
    verwerfen();
    m_fehler.clear();
    m_pfad = pfad;
    m_neuPfad = pfad + QStringLiteral(".neu");
    m_neuEintrag.emplace(m_neuPfad);
    m_journalEintrag.emplace(m_neuPfad + QStringLiteral("-journal"));
    QFile::remove(m_neuPfad);
    QFile::remove(m_neuPfad + QStringLiteral("-journal"));

    const QByteArray datei = QFile::encodeName(m_neuPfad);
    if (sqlite3_open_v2(datei.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        fehlerMerken(QStringLiteral("Datei kann nicht angelegt werden"));
        sqlite3_close(m_db);
        m_db = nullptr;
    } else {
        const QByteArray schluessel = passwort.toUtf8();
        bool gut = true;
        if (!schluessel.isEmpty())
            gut = sqlite3_key(m_db, schluessel.constData(), int(schluessel.size())) == SQLITE_OK;
        gut = gut && SqlDialekt::registrieren(m_db) == SQLITE_OK;
        gut = gut && sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
        gut = gut && sqlite3_exec(m_db, Schema, nullptr, nullptr, nullptr) == SQLITE_OK;
        if (!gut) {
            fehlerMerken(QStringLiteral("Datenbank kann nicht angelegt werden"));
            const QString grund = m_fehler;
            verwerfen();
            m_fehler = grund;
        }
    }
    if (fehler)
        *fehler = m_fehler;
    return m_db != nullptr;
}

sqlite3_stmt *HilfeDatenbankSchreiber::anweisung(Anweisung a)
{
    if (!m_db) {
        fehlerMerken(QStringLiteral("Datenbank ist nicht geöffnet"));
        return nullptr;
    }
    sqlite3_stmt *&st = m_anweisungen[a];
    if (!st && sqlite3_prepare_v2(m_db, Einfuegen[a], -1, &st, nullptr) != SQLITE_OK) {
        fehlerMerken(QString::fromUtf8(Einfuegen[a]));
        st = nullptr;
    }
    if (st) {
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
    }
    return st;
}

bool HilfeDatenbankSchreiber::schrittAusfuehren(sqlite3_stmt *st)
{
    if (sqlite3_step(st) != SQLITE_DONE) {
        fehlerMerken(QString::fromUtf8(sqlite3_sql(st)));
        sqlite3_reset(st);
        return false;
    }
    sqlite3_reset(st);
    return true;
}

qint32 HilfeDatenbankSchreiber::kapitelEinfuegen(qint32 nummer, const QString &bezeichnung,
                                                 qint32 lfdNummer)
{
    sqlite3_stmt *st = anweisung(Kapitel);
    if (!st)
        return 0;
    sqlite3_bind_int(st, 1, nummer);
    textBinden(st, 2, bezeichnung);
    sqlite3_bind_int(st, 3, lfdNummer);
    return schrittAusfuehren(st) ? qint32(sqlite3_last_insert_rowid(m_db)) : 0;
}

qint32 HilfeDatenbankSchreiber::themaEinfuegen(qint32 kapitelID, qint32 nummer,
                                               const QString &bezeichnung, qint32 lfdNummer)
{
    sqlite3_stmt *st = anweisung(Thema);
    if (!st)
        return 0;
    sqlite3_bind_int(st, 1, kapitelID);
    sqlite3_bind_int(st, 2, nummer);
    textBinden(st, 3, bezeichnung);
    sqlite3_bind_int(st, 4, lfdNummer);
    return schrittAusfuehren(st) ? qint32(sqlite3_last_insert_rowid(m_db)) : 0;
}

qint32 HilfeDatenbankSchreiber::textEinfuegen(qint32 themenID, qint32 nummer,
                                              const QString &bezeichnung, const QString &text,
                                              qint32 lfdNummer)
{
    sqlite3_stmt *st = anweisung(Text);
    if (!st)
        return 0;
    sqlite3_bind_int(st, 1, themenID);
    sqlite3_bind_int(st, 2, nummer);
    textBinden(st, 3, bezeichnung);
    textBinden(st, 4, text);
    sqlite3_bind_int(st, 5, lfdNummer);
    return schrittAusfuehren(st) ? qint32(sqlite3_last_insert_rowid(m_db)) : 0;
}

void HilfeDatenbankSchreiber::bildEinfuegen(qint32 nummer, const QByteArray &zipArchiv,
                                            const QString &bezeichnung)
{
    sqlite3_stmt *st = anweisung(Bild);
    if (!st)
        return;
    sqlite3_bind_int(st, 1, nummer);
    // An empty archive is still a value, not a null.
    sqlite3_bind_blob(st, 2, zipArchiv.isEmpty() ? "" : zipArchiv.constData(),
                      int(zipArchiv.size()), SQLITE_TRANSIENT);
    textBinden(st, 3, bezeichnung);
    schrittAusfuehren(st);
}

qint32 HilfeDatenbankSchreiber::wortEinfuegen(const QString &wort)
{
    sqlite3_stmt *st = anweisung(Wort);
    if (!st)
        return 0;
    textBinden(st, 1, wort);
    return schrittAusfuehren(st) ? qint32(sqlite3_last_insert_rowid(m_db)) : 0;
}

void HilfeDatenbankSchreiber::zuordnungEinfuegen(qint32 indexID, qint32 textID)
{
    sqlite3_stmt *st = anweisung(Zuordnung);
    if (!st)
        return;
    sqlite3_bind_int(st, 1, indexID);
    sqlite3_bind_int(st, 2, textID);
    schrittAusfuehren(st);
}

bool HilfeDatenbankSchreiber::zeileUebernehmen(Tabelle tabelle, const QVariantList &werte)
{
    sqlite3_stmt *st = anweisung(Anweisung(ErsteUebernahme + int(tabelle)));
    if (!st)
        return false;
    if (sqlite3_bind_parameter_count(st) != werte.size()) {
        fehlerMerken(QStringLiteral("%1 Werte für: ").arg(werte.size()) +
                     QString::fromUtf8(sqlite3_sql(st)));
        return false;
    }
    for (int i = 0; i < int(werte.size()); ++i) {
        const QVariant &w = werte[i];
        if (!w.isValid()) {
            sqlite3_bind_null(st, i + 1);
        } else if (w.typeId() == QMetaType::QByteArray) {
            const QByteArray b = w.toByteArray();
            sqlite3_bind_blob(st, i + 1, b.isEmpty() ? "" : b.constData(), int(b.size()),
                              SQLITE_TRANSIENT);
        } else if (w.typeId() == QMetaType::QString) {
            textBinden(st, i + 1, w.toString());
        } else {
            sqlite3_bind_int64(st, i + 1, w.toLongLong());
        }
    }
    return schrittAusfuehren(st);
}

bool HilfeDatenbankSchreiber::ausfuehren(const QString &sql)
{
    if (!m_db) {
        fehlerMerken(QStringLiteral("Datenbank ist nicht geöffnet"));
        return false;
    }
    char *meldung = nullptr;
    const QByteArray u = sql.toUtf8();
    if (sqlite3_exec(m_db, u.constData(), nullptr, nullptr, &meldung) != SQLITE_OK) {
        if (m_fehler.isEmpty())
            m_fehler = sql + QStringLiteral(": ") + QString::fromUtf8(meldung);
        sqlite3_free(meldung);
        return false;
    }
    return true;
}

bool HilfeDatenbankSchreiber::abschliessen(QString *fehler)
{
    bool gut = m_db != nullptr && m_fehler.isEmpty();
    if (!m_db && m_fehler.isEmpty())
        m_fehler = QStringLiteral("Datenbank ist nicht geöffnet");
    if (gut) {
        for (auto &st : m_anweisungen) {
            sqlite3_finalize(st);
            st = nullptr;
        }
        QString indexFehler;
        if (m_volltext && !VolltextIndex::ausTextenAufbauen(m_db, &indexFehler)) {
            m_fehler = indexFehler;
            gut = false;
        } else if (sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
            fehlerMerken(QStringLiteral("COMMIT"));
            gut = false;
        } else if (m_volltext &&
                   sqlite3_exec(m_db, "VACUUM", nullptr, nullptr, nullptr) != SQLITE_OK) {
            // Building the index merges its segments into one; the pages of the old ones go.
            fehlerMerken(QStringLiteral("VACUUM"));
            gut = false;
        } else if (sqlite3_close(m_db) != SQLITE_OK) {
            fehlerMerken(QStringLiteral("Schließen"));
            gut = false;
        } else {
            m_db = nullptr;
            // rename() replaces the old file in one step; a reader that has the old one open
            // keeps reading it, and the next query sees a new file identity.
            const QByteArray von = QFile::encodeName(m_neuPfad);
            const QByteArray nach = QFile::encodeName(m_pfad);
            if (std::rename(von.constData(), nach.constData()) != 0) {
                m_fehler = QStringLiteral("Datei kann nicht ersetzt werden: ") + m_pfad;
                QFile::remove(m_neuPfad);
                gut = false;
            }
        }
    }
    verwerfen();
    if (fehler)
        *fehler = m_fehler;
    return gut;
}
