// The database object: file check, the query pattern with its error policy and fault-injection
// seam, and the content and keyword queries (see HilfeDatenbank.h).
#include "HilfeDatenbank.h"

#include "Datenbank.h"
#include "Datensatzgruppe.h"
#include "Global.h"
#include "Meldung.h"
#include "Routinen.h"

#include <QFileInfo>

namespace {

int einspeisungZiel = 0;
int einspeisungZaehler = 0;
qint32 einspeisungNummer = 0;

bool eingespeisterFehler()
{
    if (einspeisungZiel <= 0)
        return false;
    if (++einspeisungZaehler != einspeisungZiel)
        return false;
    fehlerSetzen(einspeisungNummer);
    return true;
}

const QString NichtGefunden = QStringLiteral("Die Hilfedatenbank wurde nicht gefunden!");

// Runs sql through the query pattern; zeile(rs, i) reads row i (1..n) into the result and
// returns false after setting the current error.
template <class T, class Lesen>
Ergebnis<T> lesen(HilfeDatenbank &db, const QString &sql, const Werte &parameter, Lesen zeile,
                  const HilfeDatenbank::Fehlerpolitik *politik = nullptr)
{
    Ergebnis<T> e;
    if (!db.pruefen(&e.fehler))
        return e;
    const QString pfad = db.datei();
    const QString passwort = db.passwort();
    Datensatzgruppe rs;
    if (!db.schritt([&] { return rs.verbinden(pfad, passwort, db.gehalten()); }, &e.fehler,
                    politik) ||
        !db.schritt([&] { return rs.ausfuehren(sql, parameter); }, &e.fehler, politik))
        return e;
    const int n = rs.anzahl();
    e.zeilen.reserve(n);
    for (int i = 1; i <= n; ++i) {
        T t;
        if (!db.schritt([&] { return zeile(rs, i, t); }, &e.fehler, politik))
            return e;
        e.zeilen.append(std::move(t));
    }
    e.ok = db.schritt([&] { return rs.schliessen(); }, &e.fehler, politik);
    return e;
}

} // namespace

namespace Fehlereinspeisung {
void setzen(int k, qint32 nummer)
{
    einspeisungZiel = k;
    einspeisungZaehler = 0;
    einspeisungNummer = nummer;
}

void aus()
{
    einspeisungZiel = 0;
    einspeisungZaehler = 0;
}

int gezaehlt()
{
    return einspeisungZaehler;
}
} // namespace Fehlereinspeisung

HilfeDatenbank::Antwort HilfeDatenbank::meldungZeigen(const Fehler &f, bool wiederholbar)
{
    if (!wiederholbar) {
        MausZeiger(0);
        MsgBox(f.beschreibung, Meldung::NurOk + Meldung::Ausrufezeichen);
        return Antwort::Abbrechen;
    }
    return FehlerMeldung() ? Antwort::Abbrechen : Antwort::Wiederholen;
}

HilfeDatenbank::Antwort HilfeDatenbank::still(const Fehler &, bool)
{
    return Antwort::Abbrechen;
}

HilfeDatenbank::HilfeDatenbank()
    : m_politik(meldungZeigen), m_verbindung(std::make_unique<GehalteneVerbindung>())
{
}

HilfeDatenbank::HilfeDatenbank(const QString &datei, const QString &passwort)
    : m_datei(datei), m_passwort(passwort), m_fest(true), m_politik(meldungZeigen),
      m_verbindung(std::make_unique<GehalteneVerbindung>())
{
}

HilfeDatenbank::~HilfeDatenbank() = default;

void HilfeDatenbank::setFehlerpolitik(Fehlerpolitik politik)
{
    m_politik = std::move(politik);
}

QString HilfeDatenbank::datei() const
{
    return m_fest ? m_datei : datenbankDatei();
}

QString HilfeDatenbank::passwort() const
{
    return m_fest ? m_passwort : gsPasswort;
}

GehalteneVerbindung &HilfeDatenbank::gehalten()
{
    return *m_verbindung;
}

void HilfeDatenbank::verbindungVerwerfen()
{
    *m_verbindung = GehalteneVerbindung();
}

int HilfeDatenbank::geoeffneteVerbindungen()
{
    return Datensatzgruppe::geoeffneteVerbindungen();
}

bool HilfeDatenbank::pruefen(Fehler *fehler)
{
    // Whatever is there (following links) goes on to the open: a file that cannot be read or
    // a directory is no missing database, and the open says "access denied", which the user
    // may retry once it is mended. Only nothing at all (or a broken link) is "not found".
    if (QFileInfo::exists(datei()))
        return true;
    const Fehler f{Fehlernummer::PfadZugriffsfehler, NichtGefunden};
    if (fehler)
        *fehler = f;
    m_politik(f, false);
    return false;
}

bool HilfeDatenbank::schritt(const std::function<bool()> &f, Fehler *fehler,
                             const Fehlerpolitik *politik)
{
    const Fehlerpolitik &p = politik ? *politik : m_politik;
    for (;;) {
        if (!eingespeisterFehler() && f())
            return true;
        if (p(aktuellerFehler(), true) == Antwort::Abbrechen) {
            if (fehler)
                *fehler = aktuellerFehler();
            return false;
        }
    }
}

Ergebnis<Werte> HilfeDatenbank::abfragen(const QString &sql, const Werte &parameter,
                                         const Fehlerpolitik *politik)
{
    return lesen<Werte>(
        *this, sql, parameter,
        [](const Datensatzgruppe &rs, int i, Werte &z) {
            const int spalten = rs.spalten();
            z.reserve(spalten);
            for (int s = 0; s < spalten; ++s)
                z.append(rs.wert(i, s));
            return true;
        },
        politik);
}

namespace {

// Chapters, topics and sections share their columns; the sections add "Text".
bool kapitelZeile(const Datensatzgruppe &rs, int i, KapitelZeile &z)
{
    return rs.text(i, QStringLiteral("Bezeichnung"), &z.bezeichnung) &&
           rs.zahl(i, QStringLiteral("ID"), &z.id) &&
           rs.zahl(i, QStringLiteral("Nummer"), &z.nummer);
}

} // namespace

Ergebnis<KapitelZeile> HilfeDatenbank::kapitel()
{
    return lesen<KapitelZeile>(*this, QStringLiteral("SELECT * FROM Kapitel ORDER BY lfdNummer"),
                               {}, kapitelZeile);
}

Ergebnis<ThemaZeile> HilfeDatenbank::themen(qint32 kapitelID)
{
    return lesen<ThemaZeile>(
        *this, QStringLiteral("SELECT * FROM Themen WHERE KapitelID = ? ORDER BY lfdNummer"),
        {kapitelID}, kapitelZeile);
}

Ergebnis<TextZeile> HilfeDatenbank::texte(qint32 themenID)
{
    return lesen<TextZeile>(
        *this, QStringLiteral("SELECT * FROM Texte WHERE ThemenID = ? ORDER BY lfdNummer"),
        {themenID}, [](const Datensatzgruppe &rs, int i, TextZeile &z) {
            return rs.text(i, QStringLiteral("Bezeichnung"), &z.bezeichnung) &&
                   rs.zahl(i, QStringLiteral("ID"), &z.id) &&
                   rs.zahl(i, QStringLiteral("Nummer"), &z.nummer) &&
                   rs.text(i, QStringLiteral("Text"), &z.text);
        });
}

QString zahlAmAnfang(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r'))
        ++i;
    QString zahl;
    if (i < n && (text[i] == u'-' || text[i] == u'+'))
        zahl += text[i++];
    qsizetype ziffern = 0;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') {
        zahl += text[i++];
        ++ziffern;
    }
    if (i < n && text[i] == u'.') {
        QString bruch;
        ++i;
        while (i < n && text[i] >= u'0' && text[i] <= u'9')
            bruch += text[i++];
        ziffern += bruch.size();
        if (!bruch.isEmpty())
            zahl += u'.' + bruch;
    }
    if (ziffern == 0)
        return QStringLiteral("0");
    bool ok = false;
    const double wert = zahl.toDouble(&ok);
    if (!ok)
        return QStringLiteral("0");
    // Whole values are written without a fraction, other values as the shortest exact form.
    if (wert == double(qint64(wert)) && qAbs(wert) < 1e15)
        return QString::number(qint64(wert));
    return QString::number(wert, 'g', 17);
}

Ergebnis<BildZeile> HilfeDatenbank::bild(const QString &nummer)
{
    // The number is bound as the SQL number it would be written as: whole values as integers,
    // others as doubles, so the comparison with the column is the same.
    const QString zahl = zahlAmAnfang(nummer);
    bool ganz = false;
    const qint64 n = zahl.toLongLong(&ganz);
    const QVariant wert = ganz ? QVariant(n) : QVariant(zahl.toDouble());
    Ergebnis<BildZeile> e = lesen<BildZeile>(
        *this, QStringLiteral("SELECT * FROM Bilder WHERE Nummer = ?"), {wert},
        [](const Datensatzgruppe &rs, int i, BildZeile &z) {
            // Only the first row counts; further pictures with the same number are ignored.
            return i > 1 || (rs.bytes(i, QStringLiteral("Bild"), &z.bild) &&
                             rs.text(i, QStringLiteral("Bezeichnung"), &z.bezeichnung));
        });
    if (e.zeilen.size() > 1)
        e.zeilen.resize(1);
    return e;
}

Ergebnis<WortZeile> HilfeDatenbank::woerter(const QString &suchtext)
{
    if (suchtext.isEmpty()) {
        Ergebnis<WortZeile> e;
        pruefen(&e.fehler);
        return e;
    }
    // SuchMuster writes the pattern as a quoted literal in which every quote is a bracket
    // class; the value bound is that literal's content.
    QString muster = SuchMuster(suchtext, true, true);
    muster = muster.mid(1, muster.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    return lesen<WortZeile>(
        *this, QStringLiteral("SELECT * FROM WörterIndex WHERE Wort LIKE ? ORDER BY Wort"),
        {muster}, [](const Datensatzgruppe &rs, int i, WortZeile &z) {
            return rs.text(i, QStringLiteral("Wort"), &z.wort) &&
                   rs.zahl(i, QStringLiteral("ID"), &z.id);
        });
}

Ergebnis<WortTextZeile> HilfeDatenbank::texteZumWort(qint32 indexID)
{
    const QString sql =
        QStringLiteral("SELECT Texte.*, Kapitel.*, Themen.* ") +
        QStringLiteral("FROM Kapitel INNER JOIN (Themen INNER JOIN (Texte INNER JOIN "
                       "ZuordnungIndex ON Texte.ID = ZuordnungIndex.TextID) ON Themen.ID "
                       "= Texte.ThemenID) ON Kapitel.ID = Themen.KapitelID ") +
        QStringLiteral("WHERE ZuordnungIndex.IndexID = ? ORDER BY Texte.Bezeichnung");
    return lesen<WortTextZeile>(
        *this, sql, {indexID}, [](const Datensatzgruppe &rs, int i, WortTextZeile &z) {
            // Empty titles and numbers contribute nothing; the separators stay.
            QString text, kapitel, thema, nk, nt, nx;
            if (!rs.textOderLeer(i, QStringLiteral("Texte.Bezeichnung"), &text) ||
                !rs.textOderLeer(i, QStringLiteral("Kapitel.Bezeichnung"), &kapitel) ||
                !rs.textOderLeer(i, QStringLiteral("Themen.Bezeichnung"), &thema) ||
                !rs.textOderLeer(i, QStringLiteral("Kapitel.Nummer"), &nk) ||
                !rs.textOderLeer(i, QStringLiteral("Themen.Nummer"), &nt) ||
                !rs.textOderLeer(i, QStringLiteral("Texte.Nummer"), &nx))
                return false;
            z.zeile = text + u'\t' + kapitel + u'\t' + thema;
            z.nummer = nk + u'.' + nt + u'.' + nx;
            return rs.zahl(i, QStringLiteral("Texte.ID"), &z.textID);
        });
}

HilfeDatenbank &standardDatenbank()
{
    static HilfeDatenbank db;
    return db;
}
