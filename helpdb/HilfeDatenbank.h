// The help database as one object: it knows its file and key, checks the file before every
// query, keeps the keyed connection while the file stays the same, and offers every query of
// the help with typed rows. Every query reads by one pattern: connect, run (values bound as
// parameters), read row by row, close. A step that fails goes to the object's error policy:
// Wiederholen runs that step again, Abbrechen ends the query with the error. A fault-injection
// seam lets a test make the k-th step fail on purpose.
//
// Results: an Ergebnis<T> holds the rows in a plain 0-based list (its size is the count), ok,
// and the error that ended the query. When ok is false the rows are those read before the
// failure. This is the one result type of the database layer.
#pragma once

#include "Fehler.h"
#include "VolltextAnfrage.h"
#include "Volltextabfragen.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

struct GehalteneVerbindung;

template <class T> struct Ergebnis
{
    QList<T> zeilen;
    bool ok = false;
    Fehler fehler; // number 0 when ok
};

// A chapter or a topic.
struct KapitelZeile
{
    QString bezeichnung;
    qint32 id = 0;
    qint32 nummer = 0;
};
using ThemaZeile = KapitelZeile;

// A section with its stored rich text.
struct TextZeile
{
    QString bezeichnung;
    qint32 id = 0;
    qint32 nummer = 0;
    QString text;
};

// A picture: the bytes of its stored archive and its title.
struct BildZeile
{
    QByteArray bild;
    QString bezeichnung;
};

// A keyword of the keyword index.
struct WortZeile
{
    QString wort;
    qint32 id = 0;
};

// A section a keyword leads to: the display line (section, chapter and topic title separated
// by tabs), its ID and its help number (chapter.topic.text, unpadded).
struct WortTextZeile
{
    QString zeile;
    qint32 textID = 0;
    QString nummer;
};

// The full-text hits, best first, and the number of all matching sections.
struct VolltextErgebnis : Ergebnis<VolltextTreffer>
{
    int gesamt = 0;
    // The query as it was searched: with corrected words, a compound's parts and the
    // compounds a word ends, so that the hits marked in a text are those that were found.
    Volltext::Anfrage anfrage;
    // The search text with its misspelled words corrected (words found nowhere in the index,
    // replaced by the nearest word of its vocabulary); empty when none was.
    QString korrektur;
    // The search text as typed found nothing, so the corrected one was searched.
    bool korrekturStattLeer = false;
};

using Werte = QList<QVariant>;

class HilfeDatenbank
{
public:
    enum class Antwort { Wiederholen, Abbrechen };
    // What to do about a failed step. wiederholbar is false for the missing file, which can
    // only be reported.
    using Fehlerpolitik = std::function<Antwort(const Fehler &, bool wiederholbar)>;
    // The help's message boxes: "Die Hilfedatenbank wurde nicht gefunden!" for a missing file,
    // the error dialog (FehlerMeldung) for every other failure.
    static Antwort meldungZeigen(const Fehler &f, bool wiederholbar);
    // No box at all: every failure ends the query.
    static Antwort still(const Fehler &f, bool wiederholbar);

    // The file is HilfeBelna.mdb in programmVerzeichnis() (or the file setzeDatenbankDatei
    // named) and the key is gsPasswort, both taken at each query.
    HilfeDatenbank();
    // A fixed file and key.
    HilfeDatenbank(const QString &datei, const QString &passwort);
    ~HilfeDatenbank();
    HilfeDatenbank(const HilfeDatenbank &) = delete;
    HilfeDatenbank &operator=(const HilfeDatenbank &) = delete;

    void setFehlerpolitik(Fehlerpolitik politik);
    // The file the next query reads.
    QString datei() const;
    QString passwort() const;

    // All chapters, in the writer's order.
    Ergebnis<KapitelZeile> kapitel();
    Ergebnis<ThemaZeile> themen(qint32 kapitelID);
    Ergebnis<TextZeile> texte(qint32 themenID);
    // The picture whose number is the number at the start of nummer: one row, or none when
    // there is no such picture (then ok stays true).
    Ergebnis<BildZeile> bild(const QString &nummer);
    // The keywords that contain suchtext (in the sense of SuchMuster), in German order; an empty
    // suchtext runs no query and gives no rows with ok false and no error.
    Ergebnis<WortZeile> woerter(const QString &suchtext);
    // The sections one keyword leads to, ordered by section title.
    Ergebnis<WortTextZeile> texteZumWort(qint32 indexID);
    // The full-text search (Volltextabfragen.h).
    VolltextErgebnis volltextSuchen(const QString &suchtext);
    // Words of the full-text index's vocabulary that begin as anfang, for completing what the
    // user types (Volltext::Wortschatz::ergaenzungen).
    Ergebnis<QString> volltextErgaenzen(const QString &anfang);
    // The state of the stored full-text index (Volltextabfragen.h); ok false when the database
    // could not be read.
    Ergebnis<VolltextIndexZustand> volltextIndexPruefen(bool gruendlich = false);

    // Any query, its columns by position, with values bound to the "?" in sql. politik, when
    // given, takes the object's place for this query.
    Ergebnis<Werte> abfragen(const QString &sql, const Werte &parameter = {},
                             const Fehlerpolitik *politik = nullptr);
    // The file check: true when something is at the file's place (what is wrong with it the
    // open reports); otherwise the policy is told and the error returned in fehler.
    bool pruefen(Fehler *fehler = nullptr);
    // Runs one step under the error protocol (the fault-injection seam included): true when it
    // succeeded (perhaps after Wiederholen); false with the error when the policy gave up.
    bool schritt(const std::function<bool()> &f, Fehler *fehler = nullptr,
                 const Fehlerpolitik *politik = nullptr);

    // Number of keyed opens so far in this process (for tests of the kept connection).
    static int geoeffneteVerbindungen();
    // Drops the kept connection.
    void verbindungVerwerfen();
    // The kept connection, for the query pattern.
    GehalteneVerbindung &gehalten();

private:
    QString m_datei;
    QString m_passwort;
    bool m_fest = false;
    Fehlerpolitik m_politik;
    std::unique_ptr<GehalteneVerbindung> m_verbindung;
};

// The process-wide instance the windows use until they are handed one.
HilfeDatenbank &standardDatenbank();

// The numeric value at the start of a text, written as the SQL number: leading blanks skipped,
// optional sign, digits and a decimal fraction; nothing numeric gives "0".
QString zahlAmAnfang(const QString &text);

namespace Fehlereinspeisung {
// From now on, the k-th step (1 = the next) fails once with error nummer instead of running.
void setzen(int k, qint32 nummer);
void aus();
// Steps run since setzen().
int gezaehlt();
} // namespace Fehlereinspeisung
