// The full-text search and the index check (see Volltextabfragen.h).
#include "Volltextabfragen.h"

#include "Abfragemuster.h"
#include "Datenbank.h"
#include "Fehler.h"
#include "Routinen.h"
#include "VolltextAnfrage.h"
#include "VolltextIndex.h"
#include "VolltextRangfolge.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>

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
Volltextsuche::Quelle s_quelle = Volltextsuche::Quelle::Keine;

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

// Runs a query of spalten columns on the help database through the query pattern.
bool datenbankAbfrage(const QString &sql, int spalten, QList<Zeile> &zeilen)
{
    zeilen.clear();
    return Abfragemuster::ausfuehren(
        sql, [&](int n) { zeilen.reserve(n); },
        [&](const Datensatzgruppe &rs, int i) {
            Zeile z;
            z.reserve(spalten);
            for (int s = 0; s < spalten; ++s)
                z.append(rs.wert(i, s));
            zeilen.append(z);
            return true;
        });
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
bool speicherAbfrage(const QString &sql, int spalten, QList<Zeile> &zeilen)
{
    return Abfragemuster::schritt([&] {
        zeilen.clear();
        sqlite3_stmt *st = nullptr;
        const QByteArray text = sql.toUtf8();
        int rc =
            sqlite3_prepare_v2(s_speicher.db, text.constData(), int(text.size()), &st, nullptr);
        if (rc == SQLITE_OK) {
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

bool indexAbfrage(bool gespeichert, const QString &sql, int spalten, QList<Zeile> &zeilen)
{
    return gespeichert ? datenbankAbfrage(sql, spalten, zeilen)
                       : speicherAbfrage(sql, spalten, zeilen);
}

// Does the database hold an index of our version? False only when it could not be read.
bool gespeicherterIndex(bool *vorhanden, int *version)
{
    *vorhanden = false;
    *version = 0;
    QList<Zeile> z;
    if (!datenbankAbfrage(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name IN "
                                         "('VolltextIndex', 'VolltextAbschnitte', "
                                         "'VolltextBloecke', 'VolltextInfo')"),
                          1, z))
        return false;
    if (z.isEmpty() || z.first().first().toLongLong() != 4)
        return true;
    if (!datenbankAbfrage(QStringLiteral("SELECT Wert FROM VolltextInfo WHERE Schluessel = "
                                         "'Version'"),
                          1, z))
        return false;
    *vorhanden = true;
    qint64 v = 0;
    if (!z.isEmpty() && alsZahl(z.first().first(), &v))
        *version = int(v);
    return true;
}

// Builds the index of the current database in memory, unless the one built last is of the
// same file.
bool speicherIndexAufbauen()
{
    SpeicherIndex neu;
    if (s_speicher.db && kennungLesen(msDatenbank, &neu) && neu.gleich(s_speicher))
        return true;
    MausZeiger(11);
    QList<Zeile> texte;
    if (!datenbankAbfrage(QStringLiteral("SELECT ID, Bezeichnung, Text FROM Texte"), 3, texte)) {
        MausZeiger(0);
        return false;
    }
    Volltextsuche::speicherVerwerfen();
    kennungLesen(msDatenbank, &neu);
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

QString literal(const QString &s)
{
    QString t = s;
    t.replace(u'\'', QStringLiteral("''"));
    return u'\'' + t + u'\'';
}

// The sections a keyword equal to one of the candidates leads to.
bool stichwortTexte(const QStringList &kandidaten, QSet<qint32> &texte)
{
    texte.clear();
    if (kandidaten.isEmpty())
        return true;
    QStringList bedingungen;
    QSet<QString> gefaltet;
    for (const QString &k : kandidaten) {
        // The German collation sorts the variants of a word by case last, small letters
        // first: they all lie between the all-small and the all-capital spelling.
        bedingungen << QStringLiteral("(WörterIndex.Wort BETWEEN %1 AND %2)")
                           .arg(literal(k.toLower()), literal(k.toUpper()));
        gefaltet.insert(k.toCaseFolded());
    }
    QList<Zeile> z;
    if (!datenbankAbfrage(QStringLiteral("SELECT ZuordnungIndex.TextID, WörterIndex.Wort FROM "
                                         "WörterIndex INNER JOIN ZuordnungIndex ON "
                                         "WörterIndex.ID = ZuordnungIndex.IndexID WHERE ") +
                              bedingungen.join(QStringLiteral(" OR ")),
                          2, z))
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
}

} // namespace Volltextsuche

bool VolltextSuchen(const QString &Suchtext, QList<VolltextTreffer> &Treffer, int *Gesamt)
{
    Treffer.clear();
    if (Gesamt)
        *Gesamt = 0;
    s_quelle = Volltextsuche::Quelle::Keine;
    if (!DatenbankPruefen())
        return false;
    const Volltext::Anfrage anfrage = Volltext::anfrageZerlegen(Suchtext);
    if (anfrage.leer())
        return true;

    bool vorhanden = false;
    int version = 0;
    if (!gespeicherterIndex(&vorhanden, &version))
        return false;
    const bool gespeichert = vorhanden && version == VolltextIndex::Version;
    if (!gespeichert && !speicherIndexAufbauen())
        return false;
    s_quelle = gespeichert ? Volltextsuche::Quelle::Datenbank : Volltextsuche::Quelle::Speicher;

    // Every matching section with its score.
    QList<Zeile> zeilen;
    if (!indexAbfrage(gespeichert,
                      QStringLiteral("SELECT docid, matchinfo(VolltextIndex, 'pcnalx') FROM "
                                     "VolltextIndex WHERE VolltextIndex MATCH '%1'")
                          .arg(Volltext::matchAusdruck(anfrage)),
                      2, zeilen))
        return false;
    if (zeilen.isEmpty())
        return true;
    QSet<qint32> mitStichwort;
    if (!stichwortTexte(stichwortKandidaten(Suchtext, anfrage), mitStichwort))
        return false;
    QList<VolltextTreffer> alle;
    alle.reserve(zeilen.size());
    for (const Zeile &z : std::as_const(zeilen)) {
        VolltextTreffer t;
        t.textID = qint32(z.at(0).toLongLong());
        t.wert = Volltext::bm25(z.at(1).toByteArray());
        t.stichwort = mitStichwort.contains(t.textID);
        alle.append(t);
    }
    const auto besser = [](const VolltextTreffer &a, const VolltextTreffer &b) {
        if (a.stichwort != b.stichwort)
            return a.stichwort;
        if (a.wert != b.wert)
            return a.wert > b.wert;
        return a.textID < b.textID;
    };
    const qsizetype gefunden = alle.size();
    const qsizetype behalten = std::min<qsizetype>(gefunden, VolltextMaxTreffer);
    std::partial_sort(alle.begin(), alle.begin() + behalten, alle.end(), besser);
    alle.resize(behalten);

    // Titles and help numbers; a section outside any topic or chapter cannot be shown.
    if (!datenbankAbfrage(
            QStringLiteral("SELECT Texte.ID, Texte.Nummer, Texte.Bezeichnung, Themen.Nummer, "
                           "Themen.Bezeichnung, Kapitel.Nummer FROM Kapitel INNER JOIN (Themen "
                           "INNER JOIN Texte ON Themen.ID = Texte.ThemenID) ON Kapitel.ID = "
                           "Themen.KapitelID WHERE Texte.ID IN ") +
                idListe(alle),
            6, zeilen))
        return false;
    QHash<qint32, Zeile> angaben;
    for (const Zeile &z : std::as_const(zeilen))
        angaben.insert(qint32(z.at(0).toLongLong()), z);
    QList<Zeile> texte;
    if (!indexAbfrage(gespeichert,
                      QStringLiteral("SELECT VolltextAbschnitte.TextID, VolltextAbschnitte.Block, "
                                     "VolltextAbschnitte.Anfang, VolltextAbschnitte.Laenge, "
                                     "VolltextBloecke.Daten FROM VolltextAbschnitte INNER JOIN "
                                     "VolltextBloecke ON VolltextBloecke.Block = "
                                     "VolltextAbschnitte.Block WHERE VolltextAbschnitte.TextID "
                                     "IN ") +
                          idListe(alle),
                      5, texte))
        return false;
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
    if (Gesamt)
        *Gesamt = int(gefunden) - ohneOrt;
    return true;
}

bool VolltextIndexPruefen(VolltextIndexZustand &zustand)
{
    zustand = VolltextIndexZustand();
    if (!DatenbankPruefen())
        return false;
    if (!gespeicherterIndex(&zustand.vorhanden, &zustand.version))
        return false;
    if (!zustand.vorhanden || zustand.version != VolltextIndex::Version)
        return true;
    QList<Zeile> z;
    if (!datenbankAbfrage(
            QStringLiteral("SELECT Texte.ID, Texte.Bezeichnung, Texte.Text, Kapitel.Nummer, "
                           "Themen.Nummer, Texte.Nummer, VolltextAbschnitte.Pruefsumme FROM "
                           "((Texte LEFT JOIN Themen ON Themen.ID = Texte.ThemenID) LEFT JOIN "
                           "Kapitel ON Kapitel.ID = Themen.KapitelID) LEFT JOIN "
                           "VolltextAbschnitte ON VolltextAbschnitte.TextID = Texte.ID"),
            7, z))
        return false;
    for (const Zeile &r : std::as_const(z)) {
        qint64 id = 0;
        if (!alsZahl(r.at(0), &id))
            continue; // not indexed, and not reachable either
        const QByteArray summe = VolltextIndex::pruefsumme(alsText(r.at(1)), alsText(r.at(2)));
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
    if (!datenbankAbfrage(QStringLiteral("SELECT TextID FROM VolltextAbschnitte WHERE TextID NOT "
                                         "IN (SELECT ID FROM Texte WHERE ID IS NOT NULL)"),
                          1, z))
        return false;
    for (const Zeile &r : std::as_const(z)) {
        zustand.veraltet << QStringLiteral("Text-ID %1: Volltextindex veraltet, den Abschnitt "
                                           "gibt es nicht mehr")
                                .arg(r.at(0).toLongLong());
    }
    return true;
}
