// Building the full-text index (see VolltextIndex.h).
#include "VolltextIndex.h"

#include "RtfLeser.h"
#include "TextFeld.h"
#include "VolltextWort.h"
#include "VolltextWortschatz.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QHash>
#include <QSet>
#include <QTextDocument>

#include <sqlite3.h>

#include <algorithm>

namespace {

const char *const Schema = R"SQL(
DROP TABLE IF EXISTS VolltextIndex;
DROP TABLE IF EXISTS VolltextAbschnitte;
DROP TABLE IF EXISTS VolltextInfo;
CREATE VIRTUAL TABLE VolltextIndex USING fts4(content="", Titel, Text);
DROP TABLE IF EXISTS VolltextBloecke;
CREATE TABLE VolltextAbschnitte (TextID INTEGER PRIMARY KEY, Pruefsumme BLOB, Block INTEGER,
    Anfang INTEGER, Laenge INTEGER);
CREATE TABLE VolltextBloecke (Block INTEGER PRIMARY KEY, Daten BLOB);
CREATE TABLE VolltextInfo (Schluessel TEXT PRIMARY KEY, Wert TEXT);
DROP TABLE IF EXISTS VolltextWoerter;
CREATE TABLE VolltextWoerter (Daten BLOB);
)SQL";

void textBinden(sqlite3_stmt *st, int i, const QString &s)
{
    const QByteArray u = s.toUtf8();
    sqlite3_bind_text(st, i, u.constData(), int(u.size()), SQLITE_TRANSIENT);
}

void bytesBinden(sqlite3_stmt *st, int i, const QByteArray &b)
{
    sqlite3_bind_blob(st, i, b.isEmpty() ? "" : b.constData(), int(b.size()), SQLITE_TRANSIENT);
}

// A column's value as text, converted as the help's queries convert it (Datensatzgruppe::text);
// null gives "".
QString spaltenText(sqlite3_stmt *st, int i)
{
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER:
        return QString::number(sqlite3_column_int64(st, i));
    case SQLITE_FLOAT:
        return QString::number(sqlite3_column_double(st, i), 'g', 15);
    case SQLITE_TEXT:
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)),
                                 sqlite3_column_bytes(st, i));
    case SQLITE_BLOB:
        return QString::fromLatin1(static_cast<const char *>(sqlite3_column_blob(st, i)),
                                   sqlite3_column_bytes(st, i));
    }
    return QString();
}

// Memo of the tag cutting: from this position on there is no closing tag of a kind.
struct OhneSchluss
{
    qsizetype ab[2] = {-1, -1};

    // Text behind a cut moves forward; the cut may join a closing tag of its own.
    void geloescht(const QString &t, qsizetype von, qsizetype anzahl)
    {
        for (int bild = 0; bild < 2; ++bild) {
            qsizetype &ohne = ab[bild];
            if (ohne < 0)
                continue;
            if (ohne > von)
                ohne = std::max(von, ohne - anzahl);
            const QLatin1String schluss = bild ? QLatin1String("{PE}") : QLatin1String("{TE}");
            for (qsizetype a = std::max(ohne, von - 3); a < von && a + 4 <= t.size(); ++a) {
                if (QStringView(t).mid(a, 4) == schluss)
                    ohne = -1;
            }
        }
    }
};

bool oeffnerGueltig(const QString &t, qsizetype pos, qsizetype laenge)
{
    if (pos < 0 || pos + laenge > t.size())
        return false;
    for (qsizetype i = pos; i < pos + laenge; ++i)
        if (t[i] == u'\r' || t[i] == u'\n')
            return false;
    return true;
}

} // namespace

namespace VolltextIndex {

QString tagsEntfernen(QString t)
{
    OhneSchluss memo;
    qsizetype suchAb = 0;
    for (;;) {
        qsizetype pos = -1;
        for (qsizetype i = suchAb; i + 1 < t.size(); ++i) {
            if (t[i] == u'{' && (t[i + 1] == u'T' || t[i + 1] == u'P')) {
                pos = i;
                break;
            }
        }
        if (pos < 0)
            break;
        const bool bild = t[pos + 1] == u'P';
        const qsizetype laenge = bild ? 8 : 11;
        if (!oeffnerGueltig(t, pos, laenge)) {
            suchAb = pos + 1;
            continue;
        }
        t.remove(pos, laenge);
        memo.geloescht(t, pos, laenge);
        // Removing a tag may join a "{" before it with a "T" or "P" behind it.
        suchAb = std::max<qsizetype>(0, pos - 1);
        qsizetype &ohne = memo.ab[bild];
        if (ohne >= 0 && pos >= ohne)
            continue;
        const qsizetype e = QStringView(t).sliced(pos).indexOf(bild ? QLatin1String("{PE}")
                                                                    : QLatin1String("{TE}"));
        if (e < 0) {
            ohne = ohne >= 0 ? std::min(ohne, pos) : pos;
            continue;
        }
        t.remove(pos + e, 4);
        memo.geloescht(t, pos + e, 4);
    }
    return t;
}

QString klartext(const QString &gespeicherterText)
{
    // One document for all sections: reading replaces its content. It goes with the
    // application object, before the fonts it refers to.
    static QTextDocument *doc = nullptr;
    if (!doc) {
        doc = new QTextDocument;
        if (QCoreApplication::instance())
            qAddPostRoutine([] {
                delete doc;
                doc = nullptr;
            });
    }
    TextFeld feld(doc, false);
    RtfLeser::Grenzen grenzen;
    grenzen.maxZeichen = MaxZeichen;
    feld.setzeRtf(gespeicherterText, grenzen);
    return tagsEntfernen(feld.text());
}

QByteArray pruefsumme(const QString &titel, const QString &text, QStringList stichwoerter)
{
    QCryptographicHash h(QCryptographicHash::Md5);
    h.addData(titel.toUtf8());
    h.addData(QByteArrayView("\0", 1));
    h.addData(text.toUtf8());
    stichwoerter.sort();
    for (const QString &w : std::as_const(stichwoerter)) {
        h.addData(QByteArrayView("\0", 1));
        h.addData(w.toUtf8());
    }
    return h.result();
}

bool stichwoerterLesen(sqlite3 *db, QHash<qint32, QStringList> &stichwoerter)
{
    stichwoerter.clear();
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(db, StichwortAbfrage, -1, &st, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        if (sqlite3_column_type(st, 0) != SQLITE_NULL)
            stichwoerter[qint32(sqlite3_column_int64(st, 0))] << spaltenText(st, 1);
        rc = SQLITE_OK;
    }
    sqlite3_finalize(st);
    return rc == SQLITE_DONE;
}

QString klartextAusBlock(const QByteArray &block, qint64 anfang, qint64 laenge)
{
    if (anfang < 0 || laenge < 0 || anfang + laenge > block.size())
        return QString();
    return QString::fromUtf8(block.constData() + anfang, qsizetype(laenge));
}

QByteArray blockEntpacken(const QByteArray &gepackt)
{
    if (gepackt.size() < 4)
        return QByteArray();
    return qUncompress(gepackt);
}

bool aufbauen(sqlite3 *db, const std::function<int(Abschnitt &)> &naechster, QString *fehler)
{
    QString grund;
    const auto sqlFehler = [&](const QString &wo) {
        if (grund.isEmpty())
            grund = QStringLiteral("Volltextindex: %1: %2")
                        .arg(wo, QString::fromUtf8(sqlite3_errmsg(db)));
        return false;
    };
    sqlite3_stmt *index = nullptr;
    sqlite3_stmt *abschnitte = nullptr;
    sqlite3_stmt *bloecke = nullptr;
    bool gut = sqlite3_exec(db, Schema, nullptr, nullptr, nullptr) == SQLITE_OK ||
               sqlFehler(QStringLiteral("Tabellen"));
    gut = gut && (sqlite3_prepare_v2(db,
                                     "INSERT INTO VolltextIndex (docid, Titel, Text) "
                                     "VALUES (?1, ?2, ?3)",
                                     -1, &index, nullptr) == SQLITE_OK ||
                  sqlFehler(QStringLiteral("VolltextIndex")));
    gut = gut && (sqlite3_prepare_v2(db,
                                     "INSERT INTO VolltextAbschnitte (TextID, Pruefsumme, "
                                     "Block, Anfang, Laenge) VALUES (?1, ?2, ?3, ?4, ?5)",
                                     -1, &abschnitte, nullptr) == SQLITE_OK ||
                  sqlFehler(QStringLiteral("VolltextAbschnitte")));
    gut =
        gut && (sqlite3_prepare_v2(db, "INSERT INTO VolltextBloecke (Block, Daten) VALUES (?1, ?2)",
                                   -1, &bloecke, nullptr) == SQLITE_OK ||
                sqlFehler(QStringLiteral("VolltextBloecke")));
    // The plain texts go into blocks of consecutive sections, packed together: neighbouring
    // sections share their words, which packs far better than each text alone.
    qint64 blockNummer = 1;
    QByteArray block;
    const auto blockSchreiben = [&] {
        if (block.isEmpty())
            return true;
        sqlite3_bind_int64(bloecke, 1, blockNummer);
        bytesBinden(bloecke, 2, qCompress(block, 6));
        const bool ok =
            sqlite3_step(bloecke) == SQLITE_DONE || sqlFehler(QStringLiteral("VolltextBloecke"));
        sqlite3_reset(bloecke);
        ++blockNummer;
        block.clear();
        return ok;
    };
    Volltext::WortschatzSammler wortschatz;
    // The forms of a text for its column, separated by blanks.
    const auto formen = [&](const QString &text, QString &aus) {
        for (const Volltext::Wort &w : wortschatz.woerter(text)) {
            if (!aus.isEmpty())
                aus += u' ';
            aus += w.form;
        }
    };
    QSet<qint32> gesehen;
    Abschnitt a;
    while (gut) {
        const int r = naechster(a);
        if (r < 0) {
            grund = QStringLiteral("Volltextindex: Texte nicht lesbar");
            gut = false;
        }
        if (r <= 0)
            break;
        // A table without a unique ID (written by another tool) indexes each ID once.
        if (gesehen.contains(a.id))
            continue;
        gesehen.insert(a.id);
        const QString klar = klartext(a.text);
        sqlite3_bind_int64(index, 1, a.id);
        // The keywords count as words of the title.
        wortschatz.neuerAbschnitt();
        QString titel, text;
        formen(a.titel, titel);
        for (const QString &w : std::as_const(a.stichwoerter))
            formen(w, titel);
        formen(klar, text);
        textBinden(index, 2, titel);
        textBinden(index, 3, text);
        gut = sqlite3_step(index) == SQLITE_DONE || sqlFehler(QStringLiteral("VolltextIndex"));
        sqlite3_reset(index);
        const QByteArray u = klar.toUtf8();
        sqlite3_bind_int64(abschnitte, 1, a.id);
        bytesBinden(abschnitte, 2, pruefsumme(a.titel, a.text, a.stichwoerter));
        sqlite3_bind_int64(abschnitte, 3, blockNummer);
        sqlite3_bind_int64(abschnitte, 4, block.size());
        sqlite3_bind_int64(abschnitte, 5, u.size());
        gut = gut && (sqlite3_step(abschnitte) == SQLITE_DONE ||
                      sqlFehler(QStringLiteral("VolltextAbschnitte")));
        sqlite3_reset(abschnitte);
        block += u;
        if (gut && block.size() >= BlockGroesse)
            gut = blockSchreiben();
    }
    gut = gut && blockSchreiben();
    sqlite3_stmt *woerter = nullptr;
    gut = gut && (sqlite3_prepare_v2(db, "INSERT INTO VolltextWoerter (Daten) VALUES (?1)", -1,
                                     &woerter, nullptr) == SQLITE_OK ||
                  sqlFehler(QStringLiteral("VolltextWoerter")));
    if (gut) {
        bytesBinden(woerter, 1, wortschatz.ergebnis().packen());
        gut = sqlite3_step(woerter) == SQLITE_DONE || sqlFehler(QStringLiteral("VolltextWoerter"));
    }
    sqlite3_finalize(woerter);
    sqlite3_finalize(index);
    sqlite3_finalize(abschnitte);
    sqlite3_finalize(bloecke);
    // One segment instead of many: a smaller index and fewer lookups per query. The pages of
    // the merged segments become free; the writer gives them back (VACUUM) after its commit.
    gut = gut && (sqlite3_exec(db, "INSERT INTO VolltextIndex (VolltextIndex) VALUES ('optimize')",
                               nullptr, nullptr, nullptr) == SQLITE_OK ||
                  sqlFehler(QStringLiteral("optimize")));
    const QByteArray version = QStringLiteral("INSERT INTO VolltextInfo (Schluessel, Wert) "
                                              "VALUES ('Version', '%1')")
                                   .arg(Version)
                                   .toUtf8();
    gut = gut && (sqlite3_exec(db, version.constData(), nullptr, nullptr, nullptr) == SQLITE_OK ||
                  sqlFehler(QStringLiteral("VolltextInfo")));
    if (!gut && fehler)
        *fehler = grund;
    return gut;
}

bool ausTextenAufbauen(sqlite3 *db, QString *fehler)
{
    QHash<qint32, QStringList> stichwoerter;
    if (!stichwoerterLesen(db, stichwoerter)) {
        if (fehler)
            *fehler = QStringLiteral("Volltextindex: Stichwörter: ") +
                      QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    sqlite3_stmt *texte = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT ID, Bezeichnung, Text FROM Texte", -1, &texte, nullptr) !=
        SQLITE_OK) {
        if (fehler)
            *fehler =
                QStringLiteral("Volltextindex: Texte: ") + QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(texte);
        return false;
    }
    const bool gut = aufbauen(
        db,
        [&](Abschnitt &a) {
            for (;;) {
                const int rc = sqlite3_step(texte);
                if (rc == SQLITE_DONE)
                    return 0;
                if (rc != SQLITE_ROW)
                    return -1;
                // A section without an ID cannot be reached; it is not indexed.
                if (sqlite3_column_type(texte, 0) == SQLITE_NULL)
                    continue;
                a.id = qint32(sqlite3_column_int64(texte, 0));
                a.titel = spaltenText(texte, 1);
                a.text = spaltenText(texte, 2);
                a.stichwoerter = stichwoerter.value(a.id);
                return 1;
            }
        },
        fehler);
    sqlite3_finalize(texte);
    return gut;
}

} // namespace VolltextIndex
