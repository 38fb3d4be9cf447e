// The full-text search and the index check (see Volltextabfragen.h).
#include "Volltextabfragen.h"

#include "Fehler.h"
#include "HilfeDatenbank.h"
#include "Routinen.h"
#include "VolltextAnfrage.h"
#include "VolltextIndex.h"
#include "VolltextRangfolge.h"
#include "VolltextWort.h"
#include "VolltextWortschatz.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

namespace {

using Zeile = QList<QVariant>;

// The index built in memory, and the identity of the file it was built from.
struct SpeicherIndex
{
    QString pfad;
    dev_t geraet = 0;
    ino_t knoten = 0;
    off_t groesse = 0;
    qint64 sek = 0;
    qint64 nsek = 0;
    sqlite3 *db = nullptr;

    bool gleich(const SpeicherIndex &o) const
    {
        return pfad == o.pfad && geraet == o.geraet && knoten == o.knoten && groesse == o.groesse &&
               sek == o.sek && nsek == o.nsek;
    }
};

SpeicherIndex s_speicher;
int s_aufbauten = 0;

bool indexPruefen(HilfeDatenbank &db, VolltextIndexZustand &zustand, bool gruendlich);
Volltextsuche::Quelle s_quelle = Volltextsuche::Quelle::Keine;

// The vocabulary of the index used last, and which index that was.
struct GeladenerWortschatz
{
    SpeicherIndex kennung;
    bool gespeichert = false;
    bool geladen = false;
    Volltext::Wortschatz wortschatz;
};
GeladenerWortschatz s_wortschatz;

bool kennungLesen(const QString &pfad, SpeicherIndex *k)
{
    struct stat st;
    if (::stat(QFile::encodeName(pfad).constData(), &st) != 0)
        return false;
    k->pfad = pfad;
    k->geraet = st.st_dev;
    k->knoten = st.st_ino;
    k->groesse = st.st_size;
    k->sek = st.st_mtim.tv_sec;
    k->nsek = st.st_mtim.tv_nsec;
    return true;
}

// A value as text, converted as Datensatzgruppe::text converts it; null gives "".
QString alsText(const QVariant &w)
{
    switch (w.typeId()) {
    case QMetaType::QString:
        return w.toString();
    case QMetaType::LongLong:
        return QString::number(w.toLongLong());
    case QMetaType::Double:
        return QString::number(w.toDouble(), 'g', 15);
    case QMetaType::QByteArray:
        return QString::fromLatin1(w.toByteArray());
    }
    return QString();
}

bool alsZahl(const QVariant &w, qint64 *aus)
{
    bool ok = false;
    if (w.typeId() == QMetaType::LongLong) {
        *aus = w.toLongLong();
        return true;
    }
    if (w.typeId() == QMetaType::Double || w.typeId() == QMetaType::QString) {
        const double d =
            w.typeId() == QMetaType::Double ? w.toDouble() : w.toString().trimmed().toDouble(&ok);
        if ((w.typeId() == QMetaType::QString && !ok) || !(d >= -2147483648.0 && d <= 2147483647.0))
            return false;
        *aus = qint64(d);
        return true;
    }
    return false;
}

QString zweistellig(qint64 n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// Runs a query on the help database under the database object's error policy.
bool datenbankAbfrage(HilfeDatenbank &db, const QString &sql, QList<Zeile> &zeilen,
                      const Werte &parameter = {})
{
    Ergebnis<Werte> e = db.abfragen(sql, parameter);
    zeilen = std::move(e.zeilen);
    return e.ok;
}

QVariant speicherWert(sqlite3_stmt *st, int i)
{
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(st, i));
    case SQLITE_TEXT:
        return QVariant(
            QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)),
                              sqlite3_column_bytes(st, i)));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(st, i)),
                                   sqlite3_column_bytes(st, i)));
    }
    return QVariant();
}

// Runs a query on the index in memory, under the same error protocol.
bool speicherAbfrage(HilfeDatenbank &db, const QString &sql, QList<Zeile> &zeilen)
{
    return db.schritt([&] {
        zeilen.clear();
        sqlite3_stmt *st = nullptr;
        const QByteArray text = sql.toUtf8();
        int rc =
            sqlite3_prepare_v2(s_speicher.db, text.constData(), int(text.size()), &st, nullptr);
        if (rc == SQLITE_OK) {
            const int spalten = sqlite3_column_count(st);
            while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
                Zeile z;
                z.reserve(spalten);
                for (int s = 0; s < spalten; ++s)
                    z.append(speicherWert(st, s));
                zeilen.append(z);
            }
            if (rc == SQLITE_DONE)
                rc = SQLITE_OK;
        }
        if (rc != SQLITE_OK) {
            fehlerSetzen(Fehlernummer::Unbekannt,
                         fehlerStandardText(Fehlernummer::Unbekannt) + QStringLiteral(" (") +
                             QString::fromUtf8(sqlite3_errmsg(s_speicher.db)) + u')');
        }
        sqlite3_finalize(st);
        return rc == SQLITE_OK;
    });
}

// How a read of the stored index went: a failure in the index's own tables is damage to be
// named (and the search passes over the index); a failure of the database itself is reported
// as every other read is.
enum class Lesen { Gut, Schaden, Abbruch };

// Reads from the stored index without the error dialog. On damage, grund gets SQLite's reason.
Lesen stillAbfragen(HilfeDatenbank &db, const QString &sql, QList<Zeile> &zeilen, QString *grund)
{
    static const HilfeDatenbank::Fehlerpolitik still = HilfeDatenbank::still;
    Ergebnis<Werte> e = db.abfragen(sql, {}, &still);
    zeilen = std::move(e.zeilen);
    if (e.ok)
        return Lesen::Gut;
    const qint32 nummer = e.fehler.nummer;
    if (nummer == Fehlernummer::DatenbankGesperrt || nummer == Fehlernummer::PfadZugriffsfehler ||
        nummer == Fehlernummer::ZugriffVerweigert || nummer == Fehlernummer::KennwortUngueltig)
        return datenbankAbfrage(db, sql, zeilen) ? Lesen::Gut : Lesen::Abbruch;
    if (grund)
        *grund = e.fehler.beschreibung;
    fehlerLoeschen();
    return Lesen::Schaden;
}

Lesen indexAbfrage(HilfeDatenbank &db, bool gespeichert, const QString &sql, QList<Zeile> &zeilen)
{
    if (gespeichert)
        return stillAbfragen(db, sql, zeilen, nullptr);
    return speicherAbfrage(db, sql, zeilen) ? Lesen::Gut : Lesen::Abbruch;
}

// The verdict on the stored index of one database file, so the check runs once per file.
SpeicherIndex s_geprueft;
bool s_brauchbar = false;

// Decodes the varints of an FTS4 size record (docsize, stat); false when it is not one.
bool varintsLesen(const QByteArray &b, QList<quint64> &werte)
{
    werte.clear();
    quint64 w = 0;
    int bits = 0;
    for (const char c : b) {
        const auto u = quint8(c);
        if (bits > 63)
            return false;
        w |= quint64(u & 0x7F) << bits;
        bits += 7;
        if (!(u & 0x80)) {
            werte.append(w);
            w = 0;
            bits = 0;
        }
    }
    return bits == 0;
}

// The plausibility of the stored index's parts against each other, without building an index:
// sizes and statistics per section, the segments' node types, and the plain texts in their
// blocks. Cheap enough to run before the first search on a database.
Lesen teilePruefen(HilfeDatenbank &db, QStringList &schaeden)
{
    const QString vorn = QStringLiteral("Volltextindex beschädigt: ");
    QList<Zeile> z;
    QString grund;
    const auto lesen = [&](const QString &sql, const QString &was) {
        const Lesen l = stillAbfragen(db, sql, z, &grund);
        if (l == Lesen::Schaden)
            schaeden << vorn + was + QStringLiteral(" nicht lesbar (") + grund + u')';
        return l;
    };

    // Sections: every one has its plain text in a block, the texts of a block lie one after
    // the other and fill it.
    Lesen l = lesen(QStringLiteral("SELECT TextID, Block, Anfang, Laenge FROM VolltextAbschnitte "
                                   "ORDER BY Block, Anfang"),
                    QStringLiteral("VolltextAbschnitte"));
    if (l == Lesen::Abbruch)
        return l;
    QSet<qint64> abschnitte;
    QHash<qint64, qint64> blockEnde; // block -> end of its last text
    int falsch = 0;
    for (const Zeile &r : std::as_const(z)) {
        abschnitte.insert(r.at(0).toLongLong());
        qint64 block = 0, anfang = 0, laenge = 0;
        if (r.at(1).typeId() != QMetaType::LongLong || r.at(2).typeId() != QMetaType::LongLong ||
            r.at(3).typeId() != QMetaType::LongLong) {
            ++falsch;
            continue;
        }
        block = r.at(1).toLongLong();
        anfang = r.at(2).toLongLong();
        laenge = r.at(3).toLongLong();
        qint64 &ende = blockEnde[block];
        if (anfang != ende || laenge < 0)
            ++falsch;
        ende = std::max(ende, anfang + std::max<qint64>(laenge, 0));
    }
    l = lesen(QStringLiteral("SELECT Block, Daten FROM VolltextBloecke"),
              QStringLiteral("VolltextBloecke"));
    if (l == Lesen::Abbruch)
        return l;
    QSet<qint64> bloecke;
    for (const Zeile &r : std::as_const(z)) {
        const qint64 block = r.at(0).toLongLong();
        bloecke.insert(block);
        const auto it = blockEnde.constFind(block);
        if (it == blockEnde.constEnd())
            continue;
        const QByteArray daten = r.at(1).typeId() == QMetaType::QByteArray
                                     ? VolltextIndex::blockEntpacken(r.at(1).toByteArray())
                                     : QByteArray();
        if (daten.size() != *it || (daten.isEmpty() && *it > 0))
            ++falsch;
    }
    for (auto it = blockEnde.constBegin(); it != blockEnde.constEnd(); ++it)
        if (!bloecke.contains(it.key()))
            ++falsch;
    if (falsch)
        schaeden << vorn + QStringLiteral("Klartext nicht lesbar bei %1 von %2 Abschnitten "
                                          "(VolltextAbschnitte, VolltextBloecke)")
                               .arg(falsch)
                               .arg(abschnitte.size());

    // The vocabulary unpacks (an index with words has words in it).
    l = lesen(QStringLiteral("SELECT Daten FROM VolltextWoerter"),
              QStringLiteral("VolltextWoerter"));
    if (l == Lesen::Abbruch)
        return l;
    const bool wortschatzLeer = l != Lesen::Gut || z.size() != 1 ||
                                !Volltext::Wortschatz::lesbar(z.first().first().toByteArray());
    const bool ohneTexte = abschnitte.isEmpty();

    // Sizes per section and the totals: one size record per indexed section (words per
    // column), the statistics holding their number, the sums per column and the bytes.
    l = lesen(QStringLiteral("SELECT docid, size FROM VolltextIndex_docsize"),
              QStringLiteral("VolltextIndex_docsize"));
    if (l == Lesen::Abbruch)
        return l;
    QSet<qint64> mitGroesse;
    quint64 summe[2] = {0, 0};
    bool groessenGut = l == Lesen::Gut;
    for (const Zeile &r : std::as_const(z)) {
        QList<quint64> w;
        mitGroesse.insert(r.at(0).toLongLong());
        if (!varintsLesen(r.at(1).toByteArray(), w) || w.size() != 2) {
            groessenGut = false;
            continue;
        }
        summe[0] += w[0];
        summe[1] += w[1];
    }
    if (l == Lesen::Gut && (!groessenGut || mitGroesse != abschnitte))
        schaeden << vorn + QStringLiteral("die Längen (VolltextIndex_docsize) passen nicht zu "
                                          "den Abschnitten");
    l = lesen(QStringLiteral("SELECT value FROM VolltextIndex_stat WHERE id = 0"),
              QStringLiteral("VolltextIndex_stat"));
    if (l == Lesen::Abbruch)
        return l;
    QList<quint64> stat;
    if (l == Lesen::Gut && (z.size() != 1 || !varintsLesen(z.first().first().toByteArray(), stat) ||
                            stat.size() != 4 || stat[0] != quint64(abschnitte.size()) ||
                            (groessenGut && (stat[1] != summe[0] || stat[2] != summe[1]))))
        schaeden << vorn + QStringLiteral("die Statistik (VolltextIndex_stat) passt nicht zu "
                                          "den Abschnitten");

    // Segments: a root is a leaf exactly when the segment has no blocks, a leaf block starts
    // as a leaf with a term, the blocks a segment names exist.
    l = lesen(QStringLiteral("SELECT start_block, leaves_end_block, end_block, root, "
                             "(SELECT count(*) FROM VolltextIndex_segments WHERE blockid "
                             "BETWEEN start_block AND leaves_end_block), (SELECT count(*) FROM "
                             "VolltextIndex_segments WHERE blockid BETWEEN start_block AND "
                             "leaves_end_block AND (substr(block, 1, 1) != x'00' OR "
                             "substr(block, 2, 1) = x'00')) FROM VolltextIndex_segdir"),
              QStringLiteral("VolltextIndex_segdir"));
    if (l == Lesen::Abbruch)
        return l;
    int segmenteFalsch = 0;
    for (const Zeile &r : std::as_const(z)) {
        const qint64 anfang = r.at(0).toLongLong();
        const qint64 blaetterEnde = r.at(1).toLongLong();
        const QByteArray wurzel = r.at(3).toByteArray();
        const bool blatt = !wurzel.isEmpty() && wurzel.at(0) == 0;
        if (wurzel.size() < 2 || blatt != (anfang == 0) || (blatt && wurzel.at(1) == 0) ||
            (anfang != 0 &&
             (blaetterEnde < anfang || r.at(4).toLongLong() != blaetterEnde - anfang + 1 ||
              r.at(5).toLongLong() != 0)))
            ++segmenteFalsch;
    }
    const bool woerter = stat.size() == 4 && stat[1] + stat[2] > 0;
    if (l != Lesen::Abbruch && wortschatzLeer && woerter && !ohneTexte)
        schaeden << vorn + QStringLiteral("der Wortschatz (VolltextWoerter) ist nicht lesbar");
    if (l == Lesen::Gut && (z.isEmpty() ? woerter : segmenteFalsch > 0))
        schaeden << vorn + QStringLiteral("die Segmente (VolltextIndex_segdir, "
                                          "VolltextIndex_segments) sind nicht lesbar");
    return Lesen::Gut;
}

// The keywords of every section (TextID -> keywords).
bool stichwoerterAbfragen(HilfeDatenbank &db, QHash<qint32, QStringList> &stichwoerter)
{
    QList<Zeile> z;
    if (!datenbankAbfrage(db, QString::fromUtf8(VolltextIndex::StichwortAbfrage), z))
        return false;
    stichwoerter.clear();
    for (const Zeile &r : std::as_const(z)) {
        qint64 id = 0;
        if (alsZahl(r.at(0), &id))
            stichwoerter[qint32(id)] << alsText(r.at(1));
    }
    return true;
}

// Builds the index of the current database in memory, unless the one built last is of the
// same file.
bool speicherIndexAufbauen(HilfeDatenbank &db)
{
    SpeicherIndex neu;
    if (s_speicher.db && kennungLesen(db.datei(), &neu) && neu.gleich(s_speicher))
        return true;
    MausZeiger(11);
    QList<Zeile> texte;
    QHash<qint32, QStringList> stichwoerter;
    if (!datenbankAbfrage(db, QStringLiteral("SELECT ID, Bezeichnung, Text FROM Texte"), texte) ||
        !stichwoerterAbfragen(db, stichwoerter)) {
        MausZeiger(0);
        return false;
    }
    Volltextsuche::speicherVerwerfen();
    kennungLesen(db.datei(), &neu);
    bool gut = sqlite3_open_v2(":memory:", &neu.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                               nullptr) == SQLITE_OK;
    QString grund;
    if (gut) {
        sqlite3_exec(neu.db, "BEGIN", nullptr, nullptr, nullptr);
        qsizetype i = 0;
        gut = VolltextIndex::aufbauen(
            neu.db,
            [&](VolltextIndex::Abschnitt &a) {
                while (i < texte.size()) {
                    const Zeile &z = texte.at(i++);
                    qint64 id = 0;
                    if (!alsZahl(z.at(0), &id))
                        continue; // a section without an ID cannot be reached
                    a.id = qint32(id);
                    a.titel = alsText(z.at(1));
                    a.text = alsText(z.at(2));
                    a.stichwoerter = stichwoerter.value(a.id);
                    return 1;
                }
                return 0;
            },
            &grund);
        gut = gut && sqlite3_exec(neu.db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    MausZeiger(0);
    if (!gut) {
        sqlite3_close(neu.db);
        fehlerSetzen(Fehlernummer::SpeicherVoll);
        FehlerMeldung();
        return false;
    }
    s_speicher = neu;
    ++s_aufbauten;
    return true;
}

// The search texts that a keyword must equal to put a section first: the whole text (without
// quotes), the words together and each word, compared without regard to case.
QStringList stichwortKandidaten(const QString &suchtext, const Volltext::Anfrage &a)
{
    QString ganz = suchtext;
    for (const QChar q : {QChar(u'"'), QChar(u'„'), QChar(u'“'), QChar(u'”')})
        ganz.remove(q);
    QStringList k{ganz.simplified(), a.woerter.join(u' ')};
    k << a.woerter;
    QStringList eindeutig;
    QSet<QString> gesehen;
    for (const QString &w : std::as_const(k)) {
        if (!w.isEmpty() && !gesehen.contains(w.toCaseFolded())) {
            gesehen.insert(w.toCaseFolded());
            eindeutig << w;
        }
    }
    return eindeutig;
}

// The sections a keyword equal to one of the candidates leads to.
bool stichwortTexte(HilfeDatenbank &db, const QStringList &kandidaten, QSet<qint32> &texte)
{
    texte.clear();
    if (kandidaten.isEmpty())
        return true;
    QStringList bedingungen;
    Werte parameter;
    QSet<QString> gefaltet;
    for (const QString &k : kandidaten) {
        // The German collation sorts the variants of a word by case last, small letters
        // first: they all lie between the all-small and the all-capital spelling.
        bedingungen << QStringLiteral("(WörterIndex.Wort BETWEEN ? AND ?)");
        parameter << k.toLower() << k.toUpper();
        gefaltet.insert(k.toCaseFolded());
    }
    QList<Zeile> z;
    if (!datenbankAbfrage(db,
                          QStringLiteral("SELECT ZuordnungIndex.TextID, WörterIndex.Wort FROM "
                                         "WörterIndex INNER JOIN ZuordnungIndex ON "
                                         "WörterIndex.ID = ZuordnungIndex.IndexID WHERE ") +
                              bedingungen.join(QStringLiteral(" OR ")),
                          z, parameter))
        return false;
    for (const Zeile &r : std::as_const(z)) {
        qint64 id = 0;
        if (alsZahl(r.at(0), &id) && gefaltet.contains(alsText(r.at(1)).toCaseFolded()))
            texte.insert(qint32(id));
    }
    return true;
}

QString idListe(const QList<VolltextTreffer> &treffer)
{
    QStringList ids;
    for (const VolltextTreffer &t : treffer)
        ids << QString::number(t.textID);
    return u'(' + ids.join(u',') + u')';
}

} // namespace

namespace Volltextsuche {

Quelle letzteQuelle()
{
    return s_quelle;
}

int speicherAufbauten()
{
    return s_aufbauten;
}

void speicherVerwerfen()
{
    if (s_speicher.db)
        sqlite3_close(s_speicher.db);
    s_speicher = SpeicherIndex();
    s_geprueft = SpeicherIndex();
    s_wortschatz = GeladenerWortschatz();
}

} // namespace Volltextsuche

namespace {

// Runs statements on the index in memory; false on any failure.
bool speicherAusfuehren(const char *sql)
{
    return sqlite3_exec(s_speicher.db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

qint64 speicherZahl(const char *sql, bool *gut)
{
    sqlite3_stmt *st = nullptr;
    qint64 n = -1;
    if (sqlite3_prepare_v2(s_speicher.db, sql, -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        n = sqlite3_column_int64(st, 0);
    else
        *gut = false;
    sqlite3_finalize(st);
    return n;
}

// Do two queries on the index in memory give the same rows (in any order)?
bool speicherGleich(const QString &a, const QString &b)
{
    bool gut = true;
    const QByteArray hin =
        (QStringLiteral("SELECT count(*) FROM (") + a + QStringLiteral(" EXCEPT ") + b + u')')
            .toUtf8();
    const QByteArray her =
        (QStringLiteral("SELECT count(*) FROM (") + b + QStringLiteral(" EXCEPT ") + a + u')')
            .toUtf8();
    return speicherZahl(hin.constData(), &gut) == 0 && speicherZahl(her.constData(), &gut) == 0 &&
           gut;
}

// The stored index against the one built in memory from the sections' texts: the index's words
// with their counts per column, the sizes and statistics, and the plain texts. The stored
// index's tables are copied beside the one in memory, as the tables of a second full-text
// table, whose words are then read as those of the first.
Lesen mitTextenVergleichen(HilfeDatenbank &db, QStringList &schaeden)
{
    if (!speicherIndexAufbauen(db))
        return Lesen::Abbruch;
    const QString vorn = QStringLiteral("Volltextindex beschädigt: ");
    bool gut = speicherAusfuehren("DROP TABLE IF EXISTS Kopie; CREATE VIRTUAL TABLE Kopie USING "
                                  "fts4(content=\"\", Titel, Text); DELETE FROM Kopie_stat;");
    const struct
    {
        const char *tabelle;
        const char *spalten;
        int anzahl;
    } teile[] = {{"segments", "blockid, block", 2},
                 {"segdir", "level, idx, start_block, leaves_end_block, end_block, root", 6},
                 {"docsize", "docid, size", 2},
                 {"stat", "id, value", 2}};
    bool lesbar = true;
    for (const auto &t : teile) {
        QList<Zeile> z;
        const Lesen l = stillAbfragen(db,
                                      QStringLiteral("SELECT %1 FROM VolltextIndex_%2")
                                          .arg(QLatin1String(t.spalten), QLatin1String(t.tabelle)),
                                      z, nullptr);
        if (l == Lesen::Abbruch)
            return l;
        lesbar = lesbar && l == Lesen::Gut;
        const QByteArray einfuegen = QStringLiteral("INSERT INTO Kopie_%1 (%2) VALUES (%3)")
                                         .arg(QLatin1String(t.tabelle), QLatin1String(t.spalten),
                                              QStringLiteral("?, ").repeated(t.anzahl - 1) + u'?')
                                         .toUtf8();
        sqlite3_stmt *st = nullptr;
        gut = gut && sqlite3_prepare_v2(s_speicher.db, einfuegen.constData(), -1, &st, nullptr) ==
                         SQLITE_OK;
        for (qsizetype r = 0; gut && r < z.size(); ++r) {
            for (int s = 0; s < t.anzahl; ++s) {
                const QVariant &w = z[r][s];
                if (w.typeId() == QMetaType::LongLong) {
                    sqlite3_bind_int64(st, s + 1, w.toLongLong());
                } else if (w.typeId() == QMetaType::QByteArray) {
                    const QByteArray b = w.toByteArray();
                    sqlite3_bind_blob(st, s + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
                } else if (w.isValid()) {
                    const QByteArray u = alsText(w).toUtf8();
                    sqlite3_bind_text(st, s + 1, u.constData(), int(u.size()), SQLITE_TRANSIENT);
                } else {
                    sqlite3_bind_null(st, s + 1);
                }
            }
            gut = sqlite3_step(st) == SQLITE_DONE;
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
    }
    if (gut && lesbar) {
        gut = speicherAusfuehren("CREATE VIRTUAL TABLE temp.WoerterSpeicher USING "
                                 "fts4aux(main, VolltextIndex); CREATE VIRTUAL TABLE "
                                 "temp.WoerterKopie USING fts4aux(main, Kopie);");
        const QString woerter = QStringLiteral("SELECT term, col, documents, occurrences FROM ");
        if (gut && !speicherGleich(woerter + QStringLiteral("WoerterSpeicher"),
                                   woerter + QStringLiteral("WoerterKopie")))
            schaeden << vorn + QStringLiteral("die Wörter des Index weichen von den Texten ab");
        if (gut && (!speicherGleich(QStringLiteral("SELECT docid, size FROM VolltextIndex_docsize"),
                                    QStringLiteral("SELECT docid, size FROM Kopie_docsize")) ||
                    !speicherGleich(QStringLiteral("SELECT id, value FROM VolltextIndex_stat"),
                                    QStringLiteral("SELECT id, value FROM Kopie_stat"))))
            schaeden << vorn + QStringLiteral("die Längen des Index weichen von den Texten ab");
    } else if (!lesbar) {
        schaeden << vorn + QStringLiteral("die Tabellen des Index sind nicht lesbar");
    }
    speicherAusfuehren("DROP TABLE IF EXISTS temp.WoerterSpeicher; DROP TABLE IF EXISTS "
                       "temp.WoerterKopie; DROP TABLE IF EXISTS Kopie;");

    // The vocabulary, packed the same way from the same texts.
    {
        const QString sql = QStringLiteral("SELECT Daten FROM VolltextWoerter");
        QList<Zeile> gespeichert, soll;
        const Lesen l = stillAbfragen(db, sql, gespeichert, nullptr);
        if (l == Lesen::Abbruch || !speicherAbfrage(db, sql, soll))
            return Lesen::Abbruch;
        const auto daten = [](const QList<Zeile> &z) {
            return z.size() == 1 ? z.first().first().toByteArray() : QByteArray();
        };
        if (l != Lesen::Gut || daten(gespeichert) != daten(soll))
            schaeden << vorn + QStringLiteral("der Wortschatz (VolltextWoerter) weicht von den "
                                              "Texten ab");
    }

    // The plain texts, as the hit list's snippets take them.
    const QString klartexte = QStringLiteral(
        "SELECT VolltextAbschnitte.TextID, VolltextAbschnitte.Anfang, VolltextAbschnitte.Laenge, "
        "VolltextBloecke.Daten FROM VolltextAbschnitte INNER JOIN VolltextBloecke ON "
        "VolltextBloecke.Block = VolltextAbschnitte.Block ORDER BY VolltextAbschnitte.Block");
    QList<Zeile> gespeichert, speicher;
    const Lesen l = stillAbfragen(db, klartexte, gespeichert, nullptr);
    if (l == Lesen::Abbruch || !speicherAbfrage(db, klartexte, speicher))
        return Lesen::Abbruch;
    const auto lesen = [](const QList<Zeile> &zeilen) {
        QHash<qint64, QString> texte;
        QByteArray gepackt, block;
        for (const Zeile &r : zeilen) {
            if (r.at(3).toByteArray() != gepackt) {
                gepackt = r.at(3).toByteArray();
                block = VolltextIndex::blockEntpacken(gepackt);
            }
            texte.insert(
                r.at(0).toLongLong(),
                VolltextIndex::klartextAusBlock(block, r.at(1).toLongLong(), r.at(2).toLongLong()));
        }
        return texte;
    };
    const QHash<qint64, QString> soll = lesen(speicher);
    const QHash<qint64, QString> ist = lesen(gespeichert);
    int abweichend = 0;
    for (auto it = soll.constBegin(); it != soll.constEnd(); ++it)
        if (ist.value(it.key()) != it.value())
            ++abweichend;
    if (abweichend)
        schaeden << vorn + QStringLiteral("Klartext weicht vom Text ab bei %1 von %2 "
                                          "Abschnitten")
                               .arg(abweichend)
                               .arg(soll.size());
    if (!gut)
        schaeden << vorn + QStringLiteral("der Vergleich mit dem Index aus den Texten schlug "
                                          "fehl (%1)")
                               .arg(QString::fromUtf8(sqlite3_errmsg(s_speicher.db)));
    return Lesen::Gut;
}

// Is the stored index to be used? Only one of our version that is complete, sound and built
// from the sections as they are now: otherwise its hits would not match the text shown. Checked
// once per database file. False only when the database could not be read.
bool indexBrauchbar(HilfeDatenbank &db, bool *brauchbar)
{
    SpeicherIndex kennung;
    const bool kennungGut = kennungLesen(db.datei(), &kennung);
    if (kennungGut && kennung.gleich(s_geprueft)) {
        *brauchbar = s_brauchbar;
        return true;
    }
    VolltextIndexZustand z;
    if (!indexPruefen(db, z, false))
        return false;
    *brauchbar = z.vorhanden && z.version == VolltextIndex::Version && z.veraltet.isEmpty() &&
                 z.beschaedigt.isEmpty();
    s_geprueft = kennungGut ? kennung : SpeicherIndex();
    s_brauchbar = *brauchbar;
    return true;
}

// The first pass of a search: every matching section with matchinfo('pcnax'), and the MATCH
// expression that found them. With few terms those holding all of them, and when there are
// none such (or many terms, or a sentence), those holding any.
Lesen kandidatenSuchen(HilfeDatenbank &db, bool gespeichert, const Volltext::Anfrage &anfrage,
                       QList<Zeile> &zeilen, QString &ausdruck)
{
    const qsizetype begriffe = anfrage.begriffe.size();
    Lesen l = Lesen::Gut;
    zeilen.clear();
    const bool nurOder = begriffe >= Volltext::MindestOder || anfrage.satz;
    for (const bool oder : {false, true}) {
        if (oder ? begriffe < 2 : nurOder && begriffe >= 2)
            continue;
        ausdruck = Volltext::matchAusdruck(anfrage, oder);
        l = indexAbfrage(db, gespeichert,
                         QStringLiteral("SELECT docid, matchinfo(VolltextIndex, 'pcnax') FROM "
                                        "VolltextIndex WHERE VolltextIndex MATCH '%1'")
                             .arg(ausdruck),
                         zeilen);
        if (l != Lesen::Gut || !zeilen.isEmpty())
            break;
    }
    return l;
}

// The vocabulary of the index in use, read once per index (VolltextWortschatz.h).
Lesen wortschatzLesen(HilfeDatenbank &db, bool gespeichert, const Volltext::Wortschatz **ws)
{
    SpeicherIndex kennung;
    kennungLesen(db.datei(), &kennung);
    if (!s_wortschatz.geladen || s_wortschatz.gespeichert != gespeichert ||
        !s_wortschatz.kennung.gleich(kennung)) {
        QList<Zeile> z;
        const Lesen l =
            indexAbfrage(db, gespeichert, QStringLiteral("SELECT Daten FROM VolltextWoerter"), z);
        if (l != Lesen::Gut)
            return l;
        s_wortschatz.wortschatz = Volltext::Wortschatz::entpacken(
            z.size() == 1 ? z.first().first().toByteArray() : QByteArray());
        s_wortschatz.kennung = kennung;
        s_wortschatz.gespeichert = gespeichert;
        s_wortschatz.geladen = true;
    }
    *ws = &s_wortschatz.wortschatz;
    return Lesen::Gut;
}

// Does a search form occur in the index (as a word, or as the start of one when it is long
// enough for that)?
Lesen kommtVor(HilfeDatenbank &db, bool gespeichert, const QString &form, bool *ja)
{
    *ja = false;
    if (form.isEmpty())
        return Lesen::Gut;
    Volltext::Anfrage a;
    a.begriffe.append(Volltext::Begriff{{form}, QString(), {}, {}});
    QList<Zeile> z;
    const Lesen l = indexAbfrage(db, gespeichert,
                                 QStringLiteral("SELECT docid FROM VolltextIndex WHERE "
                                                "VolltextIndex MATCH '%1' LIMIT 1")
                                     .arg(Volltext::matchAusdruck(a)),
                                 z);
    *ja = !z.isEmpty();
    return l;
}

// A word found nowhere in the index, taken as a compound of two words that are there
// ("Kundenimport": "Kunden" and "import"; a joining "s" belongs to neither): their terms, the
// longest first part first. Failing that, a verb with a separable prefix whose verb is there
// ("abziehen", "abgezogen": the text says "ziehen Sie … ab", "gezogen"): the verb's term alone.
// Empty when there is no such split.
Lesen teileSuchen(HilfeDatenbank &db, bool gespeichert, const QString &wort,
                  QList<Volltext::Begriff> &teile)
{
    teile.clear();
    constexpr qsizetype MinTeil = 4;
    for (qsizetype i = wort.size() - MinTeil; i >= 3; --i) {
        const QString rechts = wort.mid(i);
        const QString formRechts = Volltext::suchform(rechts);
        bool rechtsDa = false;
        Lesen l = kommtVor(db, gespeichert, formRechts, &rechtsDa);
        if (l != Lesen::Gut)
            return l;
        if (!rechtsDa)
            continue;
        QStringList links{wort.left(i)};
        if (i > 3 && wort.at(i - 1).toLower() == u's')
            links << wort.left(i - 1);
        for (const QString &li : std::as_const(links)) {
            const QString formLinks = Volltext::suchform(li);
            bool linksDa = false;
            l = kommtVor(db, gespeichert, formLinks, &linksDa);
            if (l != Lesen::Gut)
                return l;
            if (linksDa) {
                teile = {Volltext::Begriff{{formLinks}, li, {}, {}},
                         Volltext::Begriff{{formRechts}, rechts, {}, {}}};
                return Lesen::Gut;
            }
        }
    }
    // The separable prefix stands apart in the text, or it is a word of its own.
    for (const QString &p : Volltext::trennbarePraefixe()) {
        if (wort.size() - p.size() < MinTeil || !wort.startsWith(p, Qt::CaseInsensitive))
            continue;
        const QString rest = wort.mid(p.size());
        const QString form = Volltext::suchform(rest);
        bool da = false;
        const Lesen l = kommtVor(db, gespeichert, form, &da);
        if (l != Lesen::Gut)
            return l;
        if (da) {
            teile = {Volltext::Begriff{{form}, rest, {}, {}}};
            return Lesen::Gut;
        }
    }
    return Lesen::Gut;
}

// With few terms (not a question, not a search of many words), a word also finds the compounds
// it ends ("Nummer": "Kundennummer") and a compound its parts near each other ("Skontofrist":
// "Frist für Skonto"); with more, every term's compounds would outweigh the terms.
bool wenigeBegriffe(const Volltext::Anfrage &anfrage)
{
    return anfrage.begriffe.size() < Volltext::MindestOder && !anfrage.satz;
}

void zusammensetzungenErgaenzen(Volltext::Begriff &b, const Volltext::Wortschatz &ws)
{
    if (b.phrase())
        return;
    b.teile += ws.spaetereTeile(b.formen.first());
    b.getrennt = ws.zerlegung(b.wort);
}

// Terms whose word occurs nowhere in the index: a compound whose parts occur is searched as
// its parts, a misspelled word as the nearest word of the vocabulary (the search text with
// these corrections goes to korrektur). Which terms occur nowhere, the first pass tells: its
// rows (none: no term occurs), and in the first of them the number of rows holding each phrase.
Lesen unbekannteErsetzen(HilfeDatenbank &db, bool gespeichert, const Volltext::Wortschatz &ws,
                         const QString &suchtext, Volltext::Anfrage &anfrage,
                         const QList<Zeile> &zeilen, QString &korrektur, bool *geaendert)
{
    *geaendert = false;
    const QList<bool> vorhanden =
        zeilen.isEmpty() ? QList<bool>(anfrage.begriffe.size(), false)
                         : Volltext::begriffeVorhanden(zeilen.first().at(1).toByteArray(),
                                                       Volltext::phrasen(anfrage),
                                                       anfrage.begriffe.size(), false);
    QList<Volltext::Begriff> neu;
    QString korrigiert = suchtext;
    for (qsizetype p = 0; p < anfrage.begriffe.size(); ++p) {
        const Volltext::Begriff &b = anfrage.begriffe[p];
        if (vorhanden[p] || b.wort.isEmpty()) {
            neu.append(b);
            continue;
        }
        QList<Volltext::Begriff> teile;
        const Lesen l = teileSuchen(db, gespeichert, b.wort, teile);
        if (l != Lesen::Gut)
            return l;
        if (!teile.isEmpty()) {
            neu += teile;
            *geaendert = true;
            continue;
        }
        if (const Volltext::Vokabel *v = ws.korrektur(b.wort)) {
            Volltext::Begriff ersatz{{v->form}, v->wort, {}, {}};
            if (wenigeBegriffe(anfrage))
                zusammensetzungenErgaenzen(ersatz, ws);
            neu.append(ersatz);
            korrigiert.replace(b.wort, v->wort);
            korrektur = korrigiert;
            *geaendert = true;
            continue;
        }
        neu.append(b);
    }
    anfrage.begriffe = neu;
    return Lesen::Gut;
}

// The search on one index; damage met in the stored one gives Lesen::Schaden.
Lesen trefferSuchen(HilfeDatenbank &db, bool gespeichert, const QString &Suchtext,
                    VolltextErgebnis &e)
{
    if (!gespeichert && !speicherIndexAufbauen(db))
        return Lesen::Abbruch;
    s_quelle = gespeichert ? Volltextsuche::Quelle::Datenbank : Volltextsuche::Quelle::Speicher;
    Volltext::Anfrage &anfrage = e.anfrage;
    QList<VolltextTreffer> &Treffer = e.zeilen;
    const Volltext::Wortschatz *ws = nullptr;
    Lesen l = wortschatzLesen(db, gespeichert, &ws);
    if (l != Lesen::Gut)
        return l;
    if (wenigeBegriffe(anfrage))
        for (Volltext::Begriff &b : anfrage.begriffe)
            zusammensetzungenErgaenzen(b, *ws);

    // Every matching section with an estimate of its score. Looking up the lengths of every
    // row costs more than the rest of the search, so only the rows that may come among the
    // shown ones are ranked exactly, in a second query.
    QList<Zeile> zeilen;
    QString ausdruck;
    l = kandidatenSuchen(db, gespeichert, anfrage, zeilen, ausdruck);
    if (l != Lesen::Gut)
        return l;
    bool geaendert = false;
    l = unbekannteErsetzen(db, gespeichert, *ws, Suchtext, anfrage, zeilen, e.korrektur,
                           &geaendert);
    if (l == Lesen::Gut && geaendert) {
        e.korrekturStattLeer = zeilen.isEmpty() && !e.korrektur.isEmpty();
        l = kandidatenSuchen(db, gespeichert, anfrage, zeilen, ausdruck);
    }
    if (l != Lesen::Gut)
        return l;
    if (zeilen.isEmpty())
        return Lesen::Gut;
    QSet<qint32> mitStichwort;
    if (!stichwortTexte(db, stichwortKandidaten(Suchtext, anfrage), mitStichwort))
        return Lesen::Abbruch;
    const QList<Volltext::Phrase> phrasen = Volltext::phrasen(anfrage);
    QList<VolltextTreffer> alle;
    alle.reserve(zeilen.size());
    for (const Zeile &z : std::as_const(zeilen)) {
        VolltextTreffer t;
        t.textID = qint32(z.at(0).toLongLong());
        t.wert = Volltext::bm25(z.at(1).toByteArray(), phrasen, false);
        t.stichwort = mitStichwort.contains(t.textID);
        t.begriffe = Volltext::begriffeMitTreffer(z.at(1).toByteArray(), phrasen, false);
        alle.append(t);
    }
    const auto besser = [](const VolltextTreffer &a, const VolltextTreffer &b) {
        if (a.begriffe != b.begriffe)
            return a.begriffe > b.begriffe;
        if (a.stichwort != b.stichwort)
            return a.stichwort;
        if (a.wert != b.wert)
            return a.wert > b.wert;
        return a.textID < b.textID;
    };
    const qsizetype gefunden = alle.size();
    const qsizetype kandidaten = std::min<qsizetype>(gefunden, 3 * VolltextMaxTreffer);
    std::partial_sort(alle.begin(), alle.begin() + kandidaten, alle.end(), besser);
    alle.resize(kandidaten);
    l = indexAbfrage(db, gespeichert,
                     QStringLiteral("SELECT docid, matchinfo(VolltextIndex, 'pcnalx') FROM "
                                    "VolltextIndex WHERE VolltextIndex MATCH '%1' AND docid IN ")
                             .arg(ausdruck) +
                         idListe(alle),
                     zeilen);
    if (l != Lesen::Gut)
        return l;
    QHash<qint32, double> werte;
    for (const Zeile &z : std::as_const(zeilen))
        werte.insert(qint32(z.at(0).toLongLong()), Volltext::bm25(z.at(1).toByteArray(), phrasen));
    for (VolltextTreffer &t : alle)
        t.wert = werte.value(t.textID);
    const qsizetype behalten = std::min<qsizetype>(gefunden, VolltextMaxTreffer);
    std::partial_sort(alle.begin(), alle.begin() + behalten, alle.end(), besser);
    alle.resize(behalten);

    // Titles and help numbers; a section outside any topic or chapter cannot be shown.
    if (!datenbankAbfrage(
            db,
            QStringLiteral("SELECT Texte.ID, Texte.Nummer, Texte.Bezeichnung, Themen.Nummer, "
                           "Themen.Bezeichnung, Kapitel.Nummer FROM Kapitel INNER JOIN (Themen "
                           "INNER JOIN Texte ON Themen.ID = Texte.ThemenID) ON Kapitel.ID = "
                           "Themen.KapitelID WHERE Texte.ID IN ") +
                idListe(alle),
            zeilen))
        return Lesen::Abbruch;
    QHash<qint32, Zeile> angaben;
    for (const Zeile &z : std::as_const(zeilen))
        angaben.insert(qint32(z.at(0).toLongLong()), z);
    QList<Zeile> texte;
    l = indexAbfrage(db, gespeichert,
                     QStringLiteral("SELECT VolltextAbschnitte.TextID, VolltextAbschnitte.Block, "
                                    "VolltextAbschnitte.Anfang, VolltextAbschnitte.Laenge, "
                                    "VolltextBloecke.Daten FROM VolltextAbschnitte INNER JOIN "
                                    "VolltextBloecke ON VolltextBloecke.Block = "
                                    "VolltextAbschnitte.Block WHERE VolltextAbschnitte.TextID "
                                    "IN ") +
                         idListe(alle),
                     texte);
    if (l != Lesen::Gut)
        return l;
    QHash<qint64, QByteArray> bloecke;
    QHash<qint32, QString> klartexte;
    for (const Zeile &z : std::as_const(texte)) {
        const qint64 block = z.at(1).toLongLong();
        auto it = bloecke.find(block);
        if (it == bloecke.end())
            it = bloecke.insert(block, VolltextIndex::blockEntpacken(z.at(4).toByteArray()));
        klartexte.insert(
            qint32(z.at(0).toLongLong()),
            VolltextIndex::klartextAusBlock(*it, z.at(2).toLongLong(), z.at(3).toLongLong()));
    }

    int ohneOrt = 0;
    for (VolltextTreffer &t : alle) {
        const auto it = angaben.constFind(t.textID);
        qint64 k = 0, th = 0, x = 0;
        if (it == angaben.constEnd() || !alsZahl(it->at(5), &k) || !alsZahl(it->at(3), &th) ||
            !alsZahl(it->at(1), &x)) {
            ++ohneOrt;
            continue;
        }
        t.nummer = zweistellig(k) + u'.' + zweistellig(th) + u'.' + zweistellig(x);
        t.abschnitt = alsText(it->at(2));
        t.thema = alsText(it->at(4));
        t.ausschnitt = Volltext::ausschnitt(klartexte.value(t.textID), anfrage);
        Treffer.append(t);
    }
    e.gesamt = int(gefunden) - ohneOrt;
    return Lesen::Gut;
}

bool indexPruefen(HilfeDatenbank &db, VolltextIndexZustand &zustand, bool gruendlich)
{
    zustand = VolltextIndexZustand();
    // The tables: our own and those the full-text table keeps its index in. A part missing is
    // damage; none at all is a database written without index.
    const QStringList eigene = {QStringLiteral("VolltextIndex"), QStringLiteral("VolltextInfo"),
                                QStringLiteral("VolltextAbschnitte"),
                                QStringLiteral("VolltextBloecke"),
                                QStringLiteral("VolltextWoerter")};
    const QStringList schatten = {
        QStringLiteral("VolltextIndex_segments"), QStringLiteral("VolltextIndex_segdir"),
        QStringLiteral("VolltextIndex_docsize"), QStringLiteral("VolltextIndex_stat")};
    QList<Zeile> tabellen;
    if (!datenbankAbfrage(db,
                          QStringLiteral("SELECT name FROM sqlite_master WHERE name IN ('") +
                              (eigene + schatten).join(QStringLiteral("', '")) +
                              QStringLiteral("')"),
                          tabellen))
        return false;
    QSet<QString> da;
    for (const Zeile &r : std::as_const(tabellen))
        da.insert(alsText(r.at(0)));
    if (da.isEmpty())
        return true;
    zustand.vorhanden = true;
    for (const QString &t : eigene + schatten) {
        if (!da.contains(t) && (da.contains(eigene.first()) || !schatten.contains(t)))
            zustand.beschaedigt
                << QStringLiteral("Volltextindex beschädigt: Tabelle %1 fehlt").arg(t);
    }
    if (!zustand.beschaedigt.isEmpty())
        return true;
    QList<Zeile> z;
    if (!datenbankAbfrage(db,
                          QStringLiteral("SELECT Wert FROM VolltextInfo WHERE Schluessel = "
                                         "'Version'"),
                          z))
        return false;
    qint64 v = 0;
    if (!z.isEmpty() && alsZahl(z.first().first(), &v))
        zustand.version = int(v);
    if (zustand.version != VolltextIndex::Version)
        return true;

    if (!datenbankAbfrage(
            db,
            QStringLiteral("SELECT Texte.ID, Texte.Bezeichnung, Texte.Text, Kapitel.Nummer, "
                           "Themen.Nummer, Texte.Nummer, VolltextAbschnitte.Pruefsumme FROM "
                           "((Texte LEFT JOIN Themen ON Themen.ID = Texte.ThemenID) LEFT JOIN "
                           "Kapitel ON Kapitel.ID = Themen.KapitelID) LEFT JOIN "
                           "VolltextAbschnitte ON VolltextAbschnitte.TextID = Texte.ID"),
            z))
        return false;
    QHash<qint32, QStringList> stichwoerter;
    if (!stichwoerterAbfragen(db, stichwoerter))
        return false;
    for (const Zeile &r : std::as_const(z)) {
        qint64 id = 0;
        if (!alsZahl(r.at(0), &id))
            continue; // not indexed, and not reachable either
        const QByteArray summe = VolltextIndex::pruefsumme(alsText(r.at(1)), alsText(r.at(2)),
                                                           stichwoerter.value(qint32(id)));
        if (r.at(6).toByteArray() == summe)
            continue;
        qint64 k = 0, t = 0, x = 0;
        const QString nummer = alsZahl(r.at(3), &k) && alsZahl(r.at(4), &t) && alsZahl(r.at(5), &x)
                                   ? zweistellig(k) + u'.' + zweistellig(t) + u'.' + zweistellig(x)
                                   : QStringLiteral("Text-ID %1").arg(id);
        zustand.veraltet << (r.at(6).isValid()
                                 ? nummer + QStringLiteral(": Volltextindex veraltet, der "
                                                           "Abschnitt wurde danach geändert")
                                 : nummer + QStringLiteral(": Volltextindex veraltet, der "
                                                           "Abschnitt fehlt darin"));
    }
    if (!datenbankAbfrage(db,
                          QStringLiteral("SELECT TextID FROM VolltextAbschnitte WHERE TextID NOT "
                                         "IN (SELECT ID FROM Texte WHERE ID IS NOT NULL)"),
                          z))
        return false;
    for (const Zeile &r : std::as_const(z)) {
        zustand.veraltet << QStringLiteral("Text-ID %1: Volltextindex veraltet, den Abschnitt "
                                           "gibt es nicht mehr")
                                .arg(r.at(0).toLongLong());
    }
    if (teilePruefen(db, zustand.beschaedigt) == Lesen::Abbruch)
        return false;
    // What the parts do not show, the comparison does; an index found damaged or stale
    // already differs from the texts anyway.
    if (gruendlich && zustand.beschaedigt.isEmpty() && zustand.veraltet.isEmpty())
        return mitTextenVergleichen(db, zustand.beschaedigt) != Lesen::Abbruch;
    return true;
}

} // namespace

VolltextErgebnis HilfeDatenbank::volltextSuchen(const QString &suchtext)
{
    VolltextErgebnis e;
    s_quelle = Volltextsuche::Quelle::Keine;
    if (!pruefen(&e.fehler))
        return e;
    const Volltext::Anfrage anfrage = Volltext::anfrageZerlegen(suchtext);
    e.anfrage = anfrage;
    e.ok = true;
    if (anfrage.leer())
        return e;
    bool gespeichert = false;
    Lesen l = indexBrauchbar(*this, &gespeichert) ? Lesen::Gut : Lesen::Abbruch;
    if (l == Lesen::Gut)
        l = trefferSuchen(*this, gespeichert, suchtext, e);
    if (l == Lesen::Schaden) {
        // Damage the check did not see: the index in memory serves this file from now on.
        s_brauchbar = false;
        e = VolltextErgebnis();
        e.ok = true;
        e.anfrage = anfrage;
        l = trefferSuchen(*this, false, suchtext, e);
    }
    if (l != Lesen::Gut) {
        e.ok = false;
        e.fehler = aktuellerFehler();
    }
    return e;
}

Ergebnis<QString> HilfeDatenbank::volltextErgaenzen(const QString &anfang)
{
    Ergebnis<QString> e;
    if (!pruefen(&e.fehler))
        return e;
    bool gespeichert = false;
    const Volltext::Wortschatz *ws = nullptr;
    Lesen l = indexBrauchbar(*this, &gespeichert) ? Lesen::Gut : Lesen::Abbruch;
    if (l == Lesen::Gut && !gespeichert && !speicherIndexAufbauen(*this))
        l = Lesen::Abbruch;
    if (l == Lesen::Gut)
        l = wortschatzLesen(*this, gespeichert, &ws);
    if (l == Lesen::Schaden) {
        s_brauchbar = false;
        l = speicherIndexAufbauen(*this) ? wortschatzLesen(*this, false, &ws) : Lesen::Abbruch;
    }
    e.ok = l == Lesen::Gut;
    if (!e.ok)
        e.fehler = aktuellerFehler();
    else
        e.zeilen = ws->ergaenzungen(anfang);
    return e;
}

Ergebnis<VolltextIndexZustand> HilfeDatenbank::volltextIndexPruefen(bool gruendlich)
{
    Ergebnis<VolltextIndexZustand> e;
    if (!pruefen(&e.fehler))
        return e;
    VolltextIndexZustand z;
    e.ok = indexPruefen(*this, z, gruendlich);
    if (!e.ok)
        e.fehler = aktuellerFehler();
    e.zeilen.append(z);
    return e;
}
