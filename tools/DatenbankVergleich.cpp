// The content comparison of two help databases (see DatenbankVergleich.h).
#include "DatenbankVergleich.h"

#include "DatenbankAnsicht.h"
#include "Global.h"
#include "HilfeDatenbank.h"
#include "TextFeld.h"
#include "Verweismarkup.h"
#include "ZipArchiv.h"

#include <QFileInfo>
#include <QMap>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <set>
#include <tuple>
#include <vector>

namespace {

QString zitiert(const QString &s)
{
    return QStringLiteral("„") + s + QStringLiteral("“");
}

QString zweistellig(qint32 n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// A character format as the comparison sees it: bold, italic, underline, colour, size, font.
using Zeichenformat = std::array<QString, 6>;
// A paragraph format: alignment, left margin, indent level, first-line indent, right margin.
using Absatzformat = std::array<QString, 5>;

struct Lauf
{
    qsizetype anfang = 0; // first character, in the text box's positions
    Zeichenformat format;
};

struct Absatz
{
    qsizetype anfang = 0;
    Absatzformat format;
};

// A section text as the help window shows it.
struct Darstellung
{
    QString text; // the text box's plain text: "\r\n" per paragraph break
    std::vector<Lauf> laeufe;
    std::vector<Absatz> absaetze;
    QStringList verweise; // "„link text“ → target", in the order of the link table
};

Zeichenformat zeichenformat(const QTextCharFormat &f)
{
    return {
        f.fontWeight() > QFont::Normal ? QStringLiteral("fett") : QStringLiteral("nicht fett"),
        f.fontItalic() ? QStringLiteral("kursiv") : QStringLiteral("nicht kursiv"),
        f.fontUnderline() ? QStringLiteral("unterstrichen") : QStringLiteral("nicht unterstrichen"),
        QStringLiteral("Farbe ") + (f.hasProperty(QTextFormat::ForegroundBrush)
                                        ? f.foreground().color().name()
                                        : QStringLiteral("Standard")),
        QStringLiteral("Größe ") + (f.hasProperty(QTextFormat::FontPointSize)
                                        ? QString::number(f.fontPointSize()) + QStringLiteral(" pt")
                                        : QStringLiteral("Standard")),
        QStringLiteral("Schrift ") +
            (f.hasProperty(QTextFormat::FontFamilies)
                 ? zitiert(f.fontFamilies().toStringList().join(QStringLiteral(", ")))
                 : QStringLiteral("Standard"))};
}

Absatzformat absatzformat(const QTextBlockFormat &f)
{
    QString ausrichtung = QStringLiteral("links");
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignJustify)
        ausrichtung = QStringLiteral("Blocksatz");
    else if (a & Qt::AlignHCenter)
        ausrichtung = QStringLiteral("zentriert");
    else if (a & (Qt::AlignRight | Qt::AlignTrailing))
        ausrichtung = QStringLiteral("rechts");
    return {ausrichtung, QStringLiteral("Einzug links %1").arg(f.leftMargin()),
            QStringLiteral("Einrückstufe %1").arg(f.indent()),
            QStringLiteral("erste Zeile %1").arg(f.textIndent()),
            QStringLiteral("Einzug rechts %1").arg(f.rightMargin())};
}

bool istUmbruch(QChar c)
{
    const char16_t u = c.unicode();
    return u == QChar::ParagraphSeparator || u == 0xFDD0 || u == 0xFDD1;
}

Darstellung darstellen(const QString &gespeichert)
{
    Darstellung d;
    QTextDocument doc;
    QList<tVerweis> verweise;
    qint16 anzahl = 0;
    Verweismarkup::darstellen(gespeichert, doc, verweise, anzahl);
    d.text = TextFeld(&doc, false).text();
    for (int i = 1; i <= anzahl && i < verweise.size(); ++i) {
        const tVerweis &v = verweise[i];
        d.verweise << zitiert(d.text.mid(v.Anfang, v.Ende - v.Anfang)) + QStringLiteral(" → ") +
                          (v.TextNummer.isEmpty() ? QStringLiteral("Bild ") + v.BildNummer
                                                  : v.TextNummer);
    }
    // A document position becomes a text box position by the paragraph breaks before it,
    // each of which is two characters there.
    const QString roh = doc.toRawText();
    std::vector<qsizetype> umbrueche(size_t(roh.size()) + 1, 0);
    for (qsizetype i = 0; i < roh.size(); ++i)
        umbrueche[size_t(i) + 1] = umbrueche[size_t(i)] + (istUmbruch(roh[i]) ? 1 : 0);
    const auto position = [&](int p) {
        return p + umbrueche[size_t(std::clamp<qsizetype>(p, 0, roh.size()))];
    };
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        d.absaetze.push_back({position(b.position()), absatzformat(b.blockFormat())});
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (!f.isValid() || f.length() == 0)
                continue;
            const Zeichenformat z = zeichenformat(f.charFormat());
            if (d.laeufe.empty() || d.laeufe.back().format != z)
                d.laeufe.push_back({position(f.position()), z});
        }
    }
    return d;
}

// Sections, topics and chapters: a number with the place it takes among equal numbers
// (0 for the first; the help only ever opens the first).
using Schluessel = std::pair<qint32, int>;

struct Knoten
{
    QString titel;
    Darstellung darstellung;                           // of a section
    std::vector<std::pair<Schluessel, Knoten>> kinder; // in the order the help shows them
};

struct Bild
{
    QString titel;
    bool entpackt = false;
    QByteArray inhalt; // the bitmap the help unpacks; the archive when it does not unpack
};

// Words indexed for one section: word -> occurrences in the title and in the text.
using Woerter = QMap<QString, std::pair<int, int>>;
// A section's place for the full-text index: chapter, topic, section number and place among
// equal numbers; an index entry without a section has chapter -1 and its ID as topic.
using Stelle = std::tuple<qint32, qint32, qint32, int>;

struct Inhalt
{
    Knoten wurzel;
    int themen = 0;
    int abschnitte = 0;
    QMap<QString, QStringList> stichwoerter; // keyword -> help numbers, sorted
    QMap<qint64, Bild> bilder;
    bool volltext = false;
    int volltextVersion = 0;
    std::map<Stelle, Woerter> indexWoerter;
    QHash<qint32, Stelle> stellen; // Texte.ID -> place
};

class Leser
{
public:
    Leser(const QString &datei, Inhalt &inhalt)
        : m_db(QFileInfo(datei).absoluteFilePath(), QString::fromLatin1(HilfePasswort)),
          m_inhalt(inhalt)
    {
        m_db.setFehlerpolitik(HilfeDatenbank::still);
    }

    // False with the reason in fehler when a query failed.
    bool lesen(QString &fehler)
    {
        const bool ok =
            gliederungLesen() && stichwoerterLesen() && bilderLesen() && volltextLesen();
        if (!ok)
            fehler = m_fehler.beschreibung.isEmpty() ? fehlerStandardText(m_fehler.nummer)
                                                     : m_fehler.beschreibung;
        return ok;
    }

private:
    template <class T> bool gut(const ::Ergebnis<T> &e)
    {
        if (!e.ok)
            m_fehler = e.fehler;
        return e.ok;
    }

    static Schluessel schluessel(const std::vector<std::pair<Schluessel, Knoten>> &kinder,
                                 qint32 nummer)
    {
        int n = 0;
        for (const auto &k : kinder)
            n += k.first.first == nummer ? 1 : 0;
        return {nummer, n};
    }

    bool gliederungLesen()
    {
        const auto kapitel = m_db.kapitel();
        if (!gut(kapitel))
            return false;
        for (const KapitelZeile &k : kapitel.zeilen) {
            auto &wurzel = m_inhalt.wurzel.kinder;
            wurzel.emplace_back(schluessel(wurzel, k.nummer), Knoten{k.bezeichnung, {}, {}});
            const auto themen = m_db.themen(k.id);
            if (!gut(themen))
                return false;
            for (const ThemaZeile &t : themen.zeilen) {
                auto &kk = wurzel.back().second.kinder;
                kk.emplace_back(schluessel(kk, t.nummer), Knoten{t.bezeichnung, {}, {}});
                ++m_inhalt.themen;
                const auto texte = m_db.texte(t.id);
                if (!gut(texte))
                    return false;
                for (const TextZeile &x : texte.zeilen) {
                    auto &tt = kk.back().second.kinder;
                    const Schluessel s = schluessel(tt, x.nummer);
                    tt.emplace_back(s, Knoten{x.bezeichnung, darstellen(x.text), {}});
                    ++m_inhalt.abschnitte;
                    if (!m_inhalt.stellen.contains(x.id))
                        m_inhalt.stellen.insert(x.id, {k.nummer, t.nummer, x.nummer, s.second});
                }
            }
        }
        return true;
    }

    // Keywords with the sections they lead to, through the joins of the keyword pane's query:
    // an assignment to a section that does not exist leads nowhere.
    bool stichwoerterLesen()
    {
        const auto woerter = m_db.abfragen(QStringLiteral("SELECT Wort FROM WörterIndex"));
        if (!gut(woerter))
            return false;
        for (const Werte &w : woerter.zeilen)
            m_inhalt.stichwoerter.insert(w.value(0).toString(), {});
        const auto zuordnungen = m_db.abfragen(QStringLiteral(
            "SELECT WörterIndex.Wort, Kapitel.Nummer, Themen.Nummer, Texte.Nummer FROM "
            "WörterIndex INNER JOIN ZuordnungIndex ON ZuordnungIndex.IndexID = WörterIndex.ID "
            "INNER JOIN Texte ON Texte.ID = ZuordnungIndex.TextID INNER JOIN Themen ON "
            "Themen.ID = Texte.ThemenID INNER JOIN Kapitel ON Kapitel.ID = Themen.KapitelID"));
        if (!gut(zuordnungen))
            return false;
        for (const Werte &z : zuordnungen.zeilen) {
            QStringList &nummern = m_inhalt.stichwoerter[z.value(0).toString()];
            const QString n = DatenbankAnsicht::hilfeNummer(z.value(1).toInt(), z.value(2).toInt(),
                                                            z.value(3).toInt());
            if (!nummern.contains(n))
                nummern << n;
        }
        for (QStringList &nummern : m_inhalt.stichwoerter)
            nummern.sort();
        return true;
    }

    // Each picture number once, with the row the help's picture query gives for it.
    bool bilderLesen()
    {
        const auto nummern =
            m_db.abfragen(QStringLiteral("SELECT DISTINCT Nummer FROM Bilder ORDER BY Nummer"));
        if (!gut(nummern))
            return false;
        for (const Werte &n : nummern.zeilen) {
            const qint64 nummer = n.value(0).toLongLong();
            const auto zeile = m_db.bild(QString::number(nummer));
            if (!gut(zeile))
                return false;
            if (zeile.zeilen.isEmpty())
                continue;
            Bild b;
            b.titel = zeile.zeilen.first().bezeichnung;
            b.entpackt = ZipArchiv::mitgliedLesen(zeile.zeilen.first().bild,
                                                  QStringLiteral("Temp.bmp"), b.inhalt);
            if (!b.entpackt)
                b.inhalt = zeile.zeilen.first().bild;
            m_inhalt.bilder.insert(nummer, b);
        }
        return true;
    }

    // The words of the stored index per section. The index keeps no text of its own, so its
    // words come from its vocabulary (fts4aux), and the sections holding them from searches for
    // batches of words, whose match information counts each word per section and column.
    bool volltextLesen()
    {
        const auto tabelle = m_db.abfragen(QStringLiteral(
            "SELECT name FROM sqlite_master WHERE name IN ('VolltextIndex', 'VolltextInfo')"));
        if (!gut(tabelle))
            return false;
        QStringList namen;
        for (const Werte &z : tabelle.zeilen)
            namen << z.value(0).toString();
        if (!namen.contains(QStringLiteral("VolltextIndex")))
            return true;
        m_inhalt.volltext = true;
        if (namen.contains(QStringLiteral("VolltextInfo"))) {
            const auto version = m_db.abfragen(
                QStringLiteral("SELECT Wert FROM VolltextInfo WHERE Schluessel = 'Version'"));
            if (!gut(version))
                return false;
            if (!version.zeilen.isEmpty())
                m_inhalt.volltextVersion = version.zeilen.first().value(0).toInt();
        }
        // The vocabulary table lives in the connection's temporary schema; the connection is
        // this reader's own and kept while the file stays the same.
        if (!gut(m_db.abfragen(QStringLiteral("CREATE VIRTUAL TABLE IF NOT EXISTS "
                                              "temp.VergleichWoerter USING "
                                              "fts4aux(main, VolltextIndex)"))))
            return false;
        const auto woerter = m_db.abfragen(
            QStringLiteral("SELECT term FROM temp.VergleichWoerter WHERE col = '*' ORDER BY term"));
        if (!gut(woerter))
            return false;
        // Words are tokens of the index's tokenizer, so quoting each makes it a phrase of one
        // word; a batch stays well within the depth the query parser accepts.
        constexpr qsizetype Stapel = 64;
        for (qsizetype i = 0; i < woerter.zeilen.size(); i += Stapel) {
            QStringList stapel;
            for (qsizetype j = i; j < std::min(i + Stapel, woerter.zeilen.size()); ++j)
                stapel << woerter.zeilen[j].value(0).toString();
            QStringList phrasen;
            for (const QString &w : std::as_const(stapel))
                phrasen << u'"' + w + u'"';
            const auto treffer = m_db.abfragen(
                QStringLiteral("SELECT docid, matchinfo(VolltextIndex, 'x') FROM VolltextIndex "
                               "WHERE VolltextIndex MATCH ?"),
                {phrasen.join(QStringLiteral(" OR "))});
            if (!gut(treffer))
                return false;
            for (const Werte &t : treffer.zeilen) {
                const qint32 id = t.value(0).toInt();
                const QByteArray info = t.value(1).toByteArray();
                // Three counts per word and column (Titel, Text): hits in this row first.
                Woerter &w = m_inhalt.indexWoerter[stelle(id)];
                for (qsizetype p = 0; p < stapel.size(); ++p) {
                    const int titel = zahl(info, 3 * (2 * p));
                    const int text = zahl(info, 3 * (2 * p + 1));
                    if (titel || text)
                        w.insert(stapel[p], {titel, text});
                }
            }
        }
        return true;
    }

    Stelle stelle(qint32 id) const { return m_inhalt.stellen.value(id, Stelle{-1, id, 0, 0}); }

    static int zahl(const QByteArray &info, qsizetype index)
    {
        quint32 z = 0;
        if ((index + 1) * 4 <= info.size())
            std::memcpy(&z, info.constData() + index * 4, 4);
        return int(z);
    }

    HilfeDatenbank m_db;
    Inhalt &m_inhalt;
    Fehler m_fehler;
};

// A piece of a text around position ab, on one line.
QString ausschnitt(const QString &text, qsizetype ab)
{
    constexpr qsizetype Vorher = 10, Laenge = 40;
    const qsizetype von = std::max<qsizetype>(0, ab - Vorher);
    QString s = text.mid(von, Laenge);
    s.replace(QLatin1String("\r\n"), QStringLiteral("¶")).replace(u'\v', u'¶');
    return zitiert((von > 0 ? QStringLiteral("…") : QString()) + s +
                   (von + Laenge < text.size() ? QStringLiteral("…") : QString()));
}

// The attributes that differ, "a1, a2 / b1, b2".
template <size_t N>
QString formatUnterschied(const std::array<QString, N> &a, const std::array<QString, N> &b)
{
    QStringList links, rechts;
    for (size_t i = 0; i < N; ++i) {
        if (a[i] != b[i]) {
            links << a[i];
            rechts << b[i];
        }
    }
    return links.join(QStringLiteral(", ")) + QStringLiteral(" / ") +
           rechts.join(QStringLiteral(", "));
}

class Vergleich
{
public:
    explicit Vergleich(QStringList &aus) : m_aus(aus) {}

    void gliederung(const Knoten &a, const Knoten &b) { knoten(a, b, 0, QString()); }

    void stichwoerter(const QMap<QString, QStringList> &a, const QMap<QString, QStringList> &b)
    {
        for (const QString &wort : vereinigung(a.keys(), b.keys())) {
            const QString ort = QStringLiteral("Stichwort ") + zitiert(wort);
            if (!a.contains(wort) || !b.contains(wort)) {
                m_aus << ort + nurIn(a.contains(wort));
                continue;
            }
            const QStringList &na = a[wort], &nb = b[wort];
            for (const auto &[von, zu, db] : {std::tuple{&na, &nb, 1}, std::tuple{&nb, &na, 2}}) {
                QStringList nur;
                for (const QString &n : *von)
                    if (!zu->contains(n))
                        nur << n;
                if (!nur.isEmpty())
                    m_aus << ort + QStringLiteral(": ") + nur.join(QStringLiteral(", ")) +
                                 QStringLiteral(" nur in DB%1").arg(db);
            }
        }
    }

    void bilder(const QMap<qint64, Bild> &a, const QMap<qint64, Bild> &b)
    {
        for (const qint64 nummer : vereinigung(a.keys(), b.keys())) {
            const QString ort = QStringLiteral("Bild %1").arg(nummer);
            if (!a.contains(nummer) || !b.contains(nummer)) {
                m_aus << ort + nurIn(a.contains(nummer));
                continue;
            }
            const Bild &x = a[nummer], &y = b[nummer];
            if (x.titel != y.titel)
                m_aus << ort + QStringLiteral(": Titel ") + zitiert(x.titel) +
                             QStringLiteral(" / ") + zitiert(y.titel);
            if (x.entpackt != y.entpackt)
                m_aus << ort + QStringLiteral(": lässt sich nur in DB%1 entpacken")
                                   .arg(x.entpackt ? 1 : 2);
            else if (x.inhalt != y.inhalt)
                m_aus << ort + QStringLiteral(": Inhalt verschieden");
        }
    }

    void volltext(const Inhalt &a, const Inhalt &b)
    {
        if (a.volltext != b.volltext) {
            m_aus << QStringLiteral("Volltextindex") + nurIn(a.volltext);
            return;
        }
        if (a.volltextVersion != b.volltextVersion)
            m_aus << QStringLiteral("Volltextindex: Version %1 / %2")
                         .arg(a.volltextVersion)
                         .arg(b.volltextVersion);
        std::vector<Stelle> stellen;
        for (const auto &s : a.indexWoerter)
            stellen.push_back(s.first);
        for (const auto &s : b.indexWoerter)
            if (!a.indexWoerter.contains(s.first))
                stellen.push_back(s.first);
        std::sort(stellen.begin(), stellen.end());
        // A section only one database holds is named once, above.
        const auto abschnitte = [](const Inhalt &i) {
            std::set<Stelle> menge;
            for (const Stelle &s : i.stellen)
                menge.insert(s);
            return menge;
        };
        const std::set<Stelle> inA = abschnitte(a), inB = abschnitte(b);
        static const Woerter keine;
        for (const Stelle &s : stellen) {
            if (inA.contains(s) != inB.contains(s))
                continue;
            const auto ia = a.indexWoerter.find(s), ib = b.indexWoerter.find(s);
            const Woerter &wa = ia != a.indexWoerter.end() ? ia->second : keine;
            const Woerter &wb = ib != b.indexWoerter.end() ? ib->second : keine;
            if (wa != wb)
                m_aus << stelleName(s) + wortUnterschied(wa, wb);
        }
    }

private:
    static QString nurIn(bool inEins)
    {
        return inEins ? QStringLiteral(" nur in DB1") : QStringLiteral(" nur in DB2");
    }

    template <class T> static QList<T> vereinigung(QList<T> a, const QList<T> &b)
    {
        a += b;
        std::sort(a.begin(), a.end());
        a.erase(std::unique(a.begin(), a.end()), a.end());
        return a;
    }

    static QString teil(const Schluessel &s)
    {
        return zweistellig(s.first) +
               (s.second ? QStringLiteral(" (%1. Eintrag)").arg(s.second + 1) : QString());
    }

    static QString stelleName(const Stelle &s)
    {
        const auto [k, t, x, n] = s;
        if (k < 0)
            return QStringLiteral("Volltextindex, Abschnitt-ID %1 ohne Abschnitt: ").arg(t);
        return QStringLiteral("Volltextindex ") + DatenbankAnsicht::hilfeNummer(k, t, x) +
               (n ? QStringLiteral(" (%1. Eintrag)").arg(n + 1) : QString()) + QStringLiteral(": ");
    }

    static QString vorkommen(const Woerter &w, const QString &wort)
    {
        const auto it = w.constFind(wort);
        if (it == w.constEnd())
            return QStringLiteral("fehlt");
        return QStringLiteral("Titel %1, Text %2").arg(it->first).arg(it->second);
    }

    // The first differing word, and how many differ.
    static QString wortUnterschied(const Woerter &a, const Woerter &b)
    {
        QStringList verschieden;
        for (const QString &w : vereinigung(a.keys(), b.keys()))
            if (a.value(w, {-1, -1}) != b.value(w, {-1, -1}))
                verschieden << w;
        const QString &w = verschieden.first();
        QString zeile = QStringLiteral("Wort ") + zitiert(w) + QStringLiteral(": ") +
                        vorkommen(a, w) + QStringLiteral(" / ") + vorkommen(b, w);
        if (verschieden.size() > 1)
            zeile += QStringLiteral(" (%1 Wörter verschieden)").arg(verschieden.size());
        return zeile;
    }

    // ebene: 0 the whole help, 1 a chapter, 2 a topic, 3 a section; nummer is the node's own.
    void knoten(const Knoten &a, const Knoten &b, int ebene, const QString &nummer)
    {
        static const char *const namen[] = {"", "Kapitel ", "Thema ", "Abschnitt "};
        static const char *const kinderNamen[] = {"Kapitel", "Themen", "Abschnitte", ""};
        const QString ort = QLatin1String(namen[ebene]) + nummer;
        if (ebene > 0 && a.titel != b.titel)
            m_aus << ort + QStringLiteral(": Titel ") + zitiert(a.titel) + QStringLiteral(" / ") +
                         zitiert(b.titel);
        if (ebene == 3) {
            text(ort, a.darstellung, b.darstellung);
            return;
        }
        // The order of the entries both databases hold.
        QStringList folgeA, folgeB;
        for (const auto &[s, k] : a.kinder)
            if (finden(b.kinder, s))
                folgeA << teil(s);
        for (const auto &[s, k] : b.kinder)
            if (finden(a.kinder, s))
                folgeB << teil(s);
        if (folgeA != folgeB) {
            qsizetype erste = 0;
            while (folgeA[erste] == folgeB[erste])
                ++erste;
            m_aus << (ebene ? ort + QStringLiteral(": ") : QString()) +
                         QStringLiteral("Reihenfolge der ") + QLatin1String(kinderNamen[ebene]) +
                         QStringLiteral(" ") + folge(folgeA, erste) + QStringLiteral(" / ") +
                         folge(folgeB, erste);
        }
        std::vector<Schluessel> alle;
        for (const auto &[s, k] : a.kinder)
            alle.push_back(s);
        for (const auto &[s, k] : b.kinder)
            alle.push_back(s);
        std::sort(alle.begin(), alle.end());
        alle.erase(std::unique(alle.begin(), alle.end()), alle.end());
        for (const Schluessel &s : alle) {
            const QString kind = (ebene ? nummer + u'.' : QString()) + teil(s);
            const Knoten *ka = finden(a.kinder, s), *kb = finden(b.kinder, s);
            if (ka && kb)
                knoten(*ka, *kb, ebene + 1, kind);
            else
                m_aus << QLatin1String(namen[ebene + 1]) + kind + nurIn(ka != nullptr);
        }
    }

    // A long order is shown from just before its first difference, a few entries long.
    static QString folge(const QStringList &nummern, qsizetype erste)
    {
        constexpr qsizetype Zeigen = 8;
        if (nummern.size() <= Zeigen)
            return nummern.join(QStringLiteral(", "));
        const qsizetype von = std::max<qsizetype>(0, erste - 1);
        return (von > 0 ? QStringLiteral("…, ") : QString()) +
               nummern.mid(von, Zeigen).join(QStringLiteral(", ")) +
               (von + Zeigen < nummern.size() ? QStringLiteral(", …") : QString());
    }

    static const Knoten *finden(const std::vector<std::pair<Schluessel, Knoten>> &kinder,
                                const Schluessel &s)
    {
        for (const auto &k : kinder)
            if (k.first == s)
                return &k.second;
        return nullptr;
    }

    // The first difference in the visible text, and before it the first in the character
    // formats and the first in the paragraph formats (behind it they would only follow from
    // the text). The links are compared whatever the text.
    void text(const QString &ort, const Darstellung &a, const Darstellung &b)
    {
        const QString vorn = ort + QStringLiteral(": ");
        qsizetype gleich = 0;
        while (gleich < a.text.size() && gleich < b.text.size() && a.text[gleich] == b.text[gleich])
            ++gleich;
        const bool textGleich = a.text == b.text;
        const qsizetype grenze = textGleich ? a.text.size() + 1 : gleich;
        laeufe(vorn, a, b, grenze);
        absaetze(vorn, a, b, grenze);
        if (!textGleich)
            m_aus << vorn + QStringLiteral("Text ab Zeichen %1: ").arg(gleich + 1) +
                         ausschnitt(a.text, gleich) + QStringLiteral(" / ") +
                         ausschnitt(b.text, gleich);
        for (qsizetype i = 0; i < std::max(a.verweise.size(), b.verweise.size()); ++i) {
            const QString va = a.verweise.value(i, QStringLiteral("fehlt"));
            const QString vb = b.verweise.value(i, QStringLiteral("fehlt"));
            if (va != vb) {
                m_aus << vorn + QStringLiteral("Verweis %1: ").arg(i + 1) + va +
                             QStringLiteral(" / ") + vb;
                break;
            }
        }
    }

    // Walks both run lists together; the first position before grenze where the formats
    // differ.
    void laeufe(const QString &vorn, const Darstellung &a, const Darstellung &b, qsizetype grenze)
    {
        size_t i = 0, j = 0;
        while (i < a.laeufe.size() && j < b.laeufe.size()) {
            const Lauf &x = a.laeufe[i], &y = b.laeufe[j];
            const qsizetype ab = std::max(x.anfang, y.anfang);
            if (ab >= grenze)
                return;
            if (x.format != y.format) {
                m_aus << vorn + QStringLiteral("Format ab Zeichen %1 ").arg(ab + 1) +
                             ausschnitt(a.text, ab) + QStringLiteral(": ") +
                             formatUnterschied(x.format, y.format);
                return;
            }
            const qsizetype endeX =
                i + 1 < a.laeufe.size() ? a.laeufe[i + 1].anfang : a.text.size();
            const qsizetype endeY =
                j + 1 < b.laeufe.size() ? b.laeufe[j + 1].anfang : b.text.size();
            if (endeX <= endeY)
                ++i;
            if (endeY <= endeX)
                ++j;
        }
    }

    // The paragraphs that begin before grenze; their number only when the texts are equal.
    void absaetze(const QString &vorn, const Darstellung &a, const Darstellung &b, qsizetype grenze)
    {
        for (size_t i = 0; i < std::min(a.absaetze.size(), b.absaetze.size()); ++i) {
            if (a.absaetze[i].anfang >= grenze || b.absaetze[i].anfang >= grenze)
                return;
            if (a.absaetze[i].format != b.absaetze[i].format) {
                m_aus << vorn + QStringLiteral("Absatz %1 ").arg(i + 1) +
                             ausschnitt(a.text, a.absaetze[i].anfang) + QStringLiteral(": ") +
                             formatUnterschied(a.absaetze[i].format, b.absaetze[i].format);
                return;
            }
        }
        if (grenze > a.text.size() && a.absaetze.size() != b.absaetze.size())
            m_aus << vorn + QStringLiteral("Absätze: %1 / %2")
                                .arg(a.absaetze.size())
                                .arg(b.absaetze.size());
    }

    QStringList &m_aus;
};

} // namespace

bool DatenbankVergleich::vergleichen(const QString &datenbank1, const QString &datenbank2,
                                     Ergebnis &ergebnis)
{
    Inhalt a, b;
    const QString pfade[] = {datenbank1, datenbank2};
    Inhalt *inhalte[] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        QString fehler;
        if (!Leser(pfade[i], *inhalte[i]).lesen(fehler)) {
            ergebnis.fehler = QStringLiteral("DB%1 (%2) lässt sich nicht lesen: %3")
                                  .arg(i + 1)
                                  .arg(pfade[i], fehler);
            return false;
        }
    }
    ergebnis.kapitel = int(a.wurzel.kinder.size());
    ergebnis.themen = a.themen;
    ergebnis.abschnitte = a.abschnitte;
    ergebnis.stichwoerter = int(a.stichwoerter.size());
    ergebnis.bilder = int(a.bilder.size());
    ergebnis.volltextIndex = a.volltext;

    Vergleich v(ergebnis.unterschiede);
    v.gliederung(a.wurzel, b.wurzel);
    v.stichwoerter(a.stichwoerter, b.stichwoerter);
    v.bilder(a.bilder, b.bilder);
    v.volltext(a, b);
    return true;
}
