// Rows of one query and the kept keyed connection (see Datensatzgruppe.h).
#include "Datensatzgruppe.h"

#include "Fehler.h"
#include "SqlDialekt.h"

#include <QFile>

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>

namespace {

int geoeffnet = 0;

void schliessenDb(sqlite3 *db)
{
    sqlite3_close_v2(db);
}

// Maps an engine result to the error numbers of the error dialog and sets the current error.
void fehlerAusSqlite(int rc, sqlite3 *db, bool beimOeffnen)
{
    const QString meldung = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
    switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        fehlerSetzen(Fehlernummer::DatenbankGesperrt);
        return;
    case SQLITE_CANTOPEN:
        fehlerSetzen(Fehlernummer::PfadZugriffsfehler);
        return;
    case SQLITE_PERM:
    case SQLITE_AUTH:
        fehlerSetzen(Fehlernummer::ZugriffVerweigert);
        return;
    case SQLITE_IOERR:
        fehlerSetzen(beimOeffnen ? Fehlernummer::PfadZugriffsfehler : Fehlernummer::Unbekannt);
        return;
    case SQLITE_NOTADB:
        fehlerSetzen(Fehlernummer::KennwortUngueltig);
        return;
    case SQLITE_NOMEM:
        fehlerSetzen(Fehlernummer::SpeicherVoll);
        return;
    case SQLITE_CORRUPT:
        fehlerSetzen(Fehlernummer::Unbekannt);
        return;
    case SQLITE_ERROR:
        fehlerSetzen(Fehlernummer::BefehlFehlerhaft,
                     fehlerStandardText(Fehlernummer::BefehlFehlerhaft) + QStringLiteral(" (") +
                         meldung + QStringLiteral(")"));
        return;
    }
    fehlerSetzen(Fehlernummer::Unbekannt, fehlerStandardText(Fehlernummer::Unbekannt) +
                                              QStringLiteral(" (") + meldung + QStringLiteral(")"));
}

bool kennungLesen(const QString &pfad, const QString &passwort, Dateikennung *k)
{
    struct stat st;
    const QByteArray datei = QFile::encodeName(pfad);
    if (::stat(datei.constData(), &st) != 0) {
        fehlerSetzen(errno == EACCES ? Fehlernummer::ZugriffVerweigert
                                     : Fehlernummer::PfadZugriffsfehler);
        return false;
    }
    // A directory, a FIFO or a file without read permission: access denied, before the engine
    // would wait on a FIFO or call a directory an unopenable path.
    if (!S_ISREG(st.st_mode) || ::access(datei.constData(), R_OK) != 0) {
        fehlerSetzen(Fehlernummer::ZugriffVerweigert);
        return false;
    }
    k->pfad = pfad;
    k->passwort = passwort;
    k->geraet = st.st_dev;
    k->knoten = st.st_ino;
    k->groesse = st.st_size;
    k->geaendertSek = st.st_mtim.tv_sec;
    k->geaendertNsek = st.st_mtim.tv_nsec;
    return true;
}

std::shared_ptr<sqlite3> oeffnen(const QString &pfad, const QString &passwort)
{
    sqlite3 *roh = nullptr;
    const QByteArray datei = QFile::encodeName(pfad);
    int rc = sqlite3_open_v2(datei.constData(), &roh, SQLITE_OPEN_READONLY, nullptr);
    std::shared_ptr<sqlite3> db(roh, schliessenDb);
    if (rc != SQLITE_OK) {
        fehlerAusSqlite(rc, roh, true);
        return nullptr;
    }
    ++geoeffnet;
    const QByteArray schluessel = passwort.toUtf8();
    if (!schluessel.isEmpty()) {
        rc = sqlite3_key(roh, schluessel.constData(), int(schluessel.size()));
        if (rc != SQLITE_OK) {
            fehlerAusSqlite(rc, roh, true);
            return nullptr;
        }
    }
    rc = SqlDialekt::registrieren(roh);
    // Reading the schema proves the key: a wrong password or a file that is no database
    // fails here.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(roh, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        fehlerAusSqlite(rc, roh, true);
        return nullptr;
    }
    // Decrypted pages stay in the cache while the connection is kept (16 MiB); SQLite drops
    // them itself when another connection changes the file.
    sqlite3_exec(roh, "PRAGMA cache_size = -16384", nullptr, nullptr, nullptr);
    return db;
}

QVariant wertLesen(sqlite3_stmt *st, int i)
{
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(st, i));
    case SQLITE_TEXT: {
        const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
        return QVariant(QString::fromUtf8(t, sqlite3_column_bytes(st, i)));
    }
    case SQLITE_BLOB: {
        const auto *b = static_cast<const char *>(sqlite3_column_blob(st, i));
        return QVariant(QByteArray(b, sqlite3_column_bytes(st, i)));
    }
    }
    return QVariant();
}

// Windows-1252 bytes 0x80..0x9F; the rest of the code page is Latin-1.
constexpr char16_t Cp1252Oben[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Turns text that holds one character per byte (read in Windows-1252) back into the bytes.
bool cp1252Bytes(const QString &text, QByteArray *aus)
{
    QByteArray b;
    b.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            b.append(char(u));
            continue;
        }
        int gefunden = -1;
        for (int i = 0; i < 32 && gefunden < 0; ++i) {
            if (Cp1252Oben[i] == u)
                gefunden = i;
        }
        if (gefunden < 0)
            return false;
        b.append(char(0x80 + gefunden));
    }
    *aus = b;
    return true;
}

} // namespace

bool Datensatzgruppe::verbinden(const QString &pfad, const QString &passwort,
                                GehalteneVerbindung &gehalten)
{
    m_gehalten = &gehalten;
    Dateikennung kennung;
    if (!kennungLesen(pfad, passwort, &kennung))
        return false;
    if (gehalten.db && gehalten.kennung == kennung) {
        m_db = gehalten.db;
        return true;
    }
    gehalten = GehalteneVerbindung();
    m_db = oeffnen(pfad, passwort);
    if (!m_db)
        return false;
    gehalten.db = m_db;
    gehalten.kennung = kennung;
    return true;
}

namespace {

int binden(sqlite3_stmt *st, const QList<QVariant> &parameter)
{
    int rc = SQLITE_OK;
    for (int i = 0; i < parameter.size() && rc == SQLITE_OK; ++i) {
        const QVariant &w = parameter.at(i);
        switch (w.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
            rc = sqlite3_bind_int64(st, i + 1, w.toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(st, i + 1, w.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray b = w.toByteArray();
            rc = sqlite3_bind_blob(st, i + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
            break;
        }
        default:
            if (w.isValid()) {
                const QByteArray u = w.toString().toUtf8();
                rc = sqlite3_bind_text(st, i + 1, u.constData(), int(u.size()), SQLITE_TRANSIENT);
            } else {
                rc = sqlite3_bind_null(st, i + 1);
            }
        }
    }
    return rc;
}

} // namespace

bool Datensatzgruppe::ausfuehren(const QString &sql, const QList<QVariant> &parameter)
{
    m_tabellen.clear();
    m_spalten.clear();
    m_werte.clear();
    m_anzahl = 0;
    if (!m_db) {
        fehlerSetzen(Fehlernummer::Unbekannt);
        return false;
    }
    sqlite3 *db = m_db.get();
    sqlite3_stmt *st = nullptr;
    const QByteArray text = sql.toUtf8();
    int rc = sqlite3_prepare_v2(db, text.constData(), int(text.size()), &st, nullptr);
    if (rc == SQLITE_OK)
        rc = binden(st, parameter);
    if (rc == SQLITE_OK) {
        const int n = sqlite3_column_count(st);
        for (int i = 0; i < n; ++i) {
            const char *tabelle = sqlite3_column_table_name(st, i);
            const char *name = sqlite3_column_origin_name(st, i);
            m_tabellen << QString::fromUtf8(tabelle ? tabelle : "");
            m_spalten << QString::fromUtf8(name ? name : sqlite3_column_name(st, i));
        }
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            for (int i = 0; i < n; ++i)
                m_werte.append(wertLesen(st, i));
            ++m_anzahl;
        }
        if (rc == SQLITE_DONE)
            rc = SQLITE_OK;
    }
    if (rc != SQLITE_OK)
        fehlerAusSqlite(rc, db, false);
    sqlite3_finalize(st);
    if (rc == SQLITE_OK)
        return true;
    m_werte.clear();
    m_anzahl = 0;
    // A damaged or changed file is opened anew next time; a lock leaves the connection good.
    const int grund = rc & 0xFF;
    if (grund != SQLITE_BUSY && grund != SQLITE_LOCKED && m_gehalten && m_gehalten->db == m_db)
        *m_gehalten = GehalteneVerbindung();
    return false;
}

bool Datensatzgruppe::schliessen()
{
    m_werte.clear();
    m_anzahl = 0;
    m_db.reset();
    return true;
}

int Datensatzgruppe::spalte(const QString &name) const
{
    const qsizetype punkt = name.lastIndexOf(u'.');
    const QStringView tabelle = punkt >= 0 ? QStringView(name).left(punkt) : QStringView();
    const QStringView spaltenname = punkt >= 0 ? QStringView(name).mid(punkt + 1) : name;
    for (int i = 0; i < m_spalten.size(); ++i) {
        if (m_spalten.at(i).compare(spaltenname, Qt::CaseInsensitive) != 0)
            continue;
        if (punkt < 0 || m_tabellen.at(i).compare(tabelle, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

const QVariant &Datensatzgruppe::wert(int zeile, int spalte) const
{
    return m_werte.at((zeile - 1) * m_spalten.size() + spalte);
}

bool Datensatzgruppe::wertHolen(int zeile, const QString &name, const QVariant **aus) const
{
    const int i = spalte(name);
    if (i < 0 || zeile < 1 || zeile > m_anzahl) {
        fehlerSetzen(Fehlernummer::SpalteFehlt);
        return false;
    }
    *aus = &wert(zeile, i);
    return true;
}

bool Datensatzgruppe::textOderLeer(int zeile, const QString &name, QString *aus) const
{
    const QVariant *w = nullptr;
    if (!wertHolen(zeile, name, &w))
        return false;
    if (!w->isValid()) {
        *aus = QString();
        return true;
    }
    return text(zeile, name, aus);
}

bool Datensatzgruppe::text(int zeile, const QString &name, QString *aus) const
{
    const QVariant *w = nullptr;
    if (!wertHolen(zeile, name, &w))
        return false;
    switch (w->typeId()) {
    case QMetaType::QString:
        *aus = w->toString();
        return true;
    case QMetaType::LongLong:
        *aus = QString::number(w->toLongLong());
        return true;
    case QMetaType::Double:
        *aus = QString::number(w->toDouble(), 'g', 15);
        return true;
    case QMetaType::QByteArray:
        *aus = QString::fromLatin1(w->toByteArray());
        return true;
    }
    fehlerSetzen(Fehlernummer::NullUnzulaessig);
    return false;
}

bool Datensatzgruppe::zahl(int zeile, const QString &name, qint32 *aus) const
{
    const QVariant *w = nullptr;
    if (!wertHolen(zeile, name, &w))
        return false;
    double d = 0;
    switch (w->typeId()) {
    case QMetaType::LongLong: {
        const qlonglong v = w->toLongLong();
        if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max()) {
            fehlerSetzen(Fehlernummer::Ueberlauf);
            return false;
        }
        *aus = qint32(v);
        return true;
    }
    case QMetaType::Double:
        d = w->toDouble();
        break;
    case QMetaType::QString: {
        bool ok = false;
        d = w->toString().trimmed().toDouble(&ok);
        if (!ok) {
            fehlerSetzen(Fehlernummer::TypenUnvertraeglich);
            return false;
        }
        break;
    }
    case QMetaType::QByteArray:
        fehlerSetzen(Fehlernummer::TypenUnvertraeglich);
        return false;
    default:
        fehlerSetzen(Fehlernummer::NullUnzulaessig);
        return false;
    }
    d = std::nearbyint(d);
    if (!(d >= std::numeric_limits<qint32>::min() && d <= std::numeric_limits<qint32>::max())) {
        fehlerSetzen(Fehlernummer::Ueberlauf);
        return false;
    }
    *aus = qint32(d);
    return true;
}

bool Datensatzgruppe::bytes(int zeile, const QString &name, QByteArray *aus) const
{
    const QVariant *w = nullptr;
    if (!wertHolen(zeile, name, &w))
        return false;
    switch (w->typeId()) {
    case QMetaType::QByteArray:
        *aus = w->toByteArray();
        return true;
    case QMetaType::QString:
        if (cp1252Bytes(w->toString(), aus))
            return true;
        fehlerSetzen(Fehlernummer::TypenUnvertraeglich);
        return false;
    case QMetaType::LongLong:
    case QMetaType::Double:
        fehlerSetzen(Fehlernummer::TypenUnvertraeglich);
        return false;
    }
    fehlerSetzen(Fehlernummer::NullUnzulaessig);
    return false;
}

int Datensatzgruppe::geoeffneteVerbindungen()
{
    return geoeffnet;
}
