// Synthetic help content; see SynthetischeDaten.h.
#include "SynthetischeDaten.h"

#include "BildArchiv.h"
#include "MaskenZeichner.h"

#include <QSet>

namespace {

// A small deterministic generator (same numbers on every platform and library).
class Zufall
{
public:
    explicit Zufall(quint64 start) : m_zustand(start) {}
    quint32 naechste()
    {
        m_zustand = m_zustand * 6364136223846793005ULL + 1442695040888963407ULL;
        return quint32(m_zustand >> 33);
    }
    int bis(int n) { return n <= 0 ? 0 : int(naechste() % quint32(n)); }

private:
    quint64 m_zustand;
};

// Parts of generated words: every combination gives a word that could be German.
const char *const anfaenge[] = {
    "Kunden", "Artikel", "Beleg",    "Zahlungs", "Liefer",   "Lager",    "Preis",   "Steuer",
    "Mahn",   "Konto",   "Buchungs", "Rabatt",   "Angebots", "Auftrags", "Versand", "Bank",
    "Waren",  "Termin",  "Skonto",   "Umsatz",   "Kassen",   "Mengen",   "Firmen",  "Posten",
    "Text",   "Druck",   "Export",   "Import",   "Jahres",   "Monats",   "Netto",   "Brutto",
    "Ablage", "Vorlage", "Nummern",  "Einheits", "Status",   "Gruppen",  "Zeit",    "Werk"};
const char *const vorsilben[] = {"", "Haupt", "Neben", "Sammel", "Teil"};
const char *const mitten[] = {"",     "rahmen", "kreis", "stamm",  "grund", "kopf", "fuß",
                              "teil", "zeilen", "satz",  "wert",   "plan",  "feld", "schritt",
                              "art",  "bild",   "liste", "konten", "daten", "raum"};
const char *const enden[] = {"ung",     "nummer",     "datum",    "liste",     "summe",
                             "stelle",  "vorgabe",    "art",      "schlüssel", "übersicht",
                             "prüfung", "verwaltung", "eingabe",  "ausgabe",   "kontrolle",
                             "anzeige", "berechnung", "auswahl",  "regel",     "angabe",
                             "meldung", "sperre",     "vorschau", "korrektur", "freigabe"};
const char *const fuellwoerter[] = {
    "die",    "der",       "das",     "und",         "mit",       "für",    "wird",
    "im",     "auf",       "Sie",     "können",      "werden",    "beim",   "nach",
    "vor",    "ist",       "eine",    "einen",       "diese",     "jeder",  "immer",
    "dann",   "wenn",      "aus",     "zum",         "unter",     "neben",  "rechts",
    "links",  "oben",      "unten",   "automatisch", "zuerst",    "danach", "wählen",
    "öffnen", "speichern", "drucken", "prüfen",      "übernimmt", "zeigt",  "enthält"};
const char *const verben[] = {"anlegen", "bearbeiten", "prüfen", "drucken",   "buchen",
                              "löschen", "übernehmen", "ändern", "auswerten", "versenden"};

template <typename T, int N> constexpr int anzahl(T (&)[N])
{
    return N;
}

QString nummer(int k, int t, int x)
{
    return QStringLiteral("%1.%2.%3")
        .arg(k, 2, 10, QLatin1Char('0'))
        .arg(t, 2, 10, QLatin1Char('0'))
        .arg(x, 2, 10, QLatin1Char('0'));
}

QString gross(const QString &s)
{
    return s.isEmpty() ? s : s.left(1).toUpper() + s.mid(1);
}

QString maske(int n, int breite, int hoehe, const QString &titel)
{
    QString m = QStringLiteral("Titel: %1\nGröße: %2 x %3\n").arg(titel).arg(breite).arg(hoehe);
    const int felder = 2 + (hoehe - 200) / 120;
    for (int i = 0; i < felder; ++i) {
        m += QStringLiteral("Feld: %1 | %2\n")
                 .arg(SynthetischeDaten::wort(n * 7 + i), SynthetischeDaten::wort(n * 11 + i + 5));
    }
    m += QStringLiteral("Auswahl: %1 | %2\n")
             .arg(SynthetischeDaten::wort(n + 3), SynthetischeDaten::wort(n + 4));
    m += QStringLiteral("Haken: %1 | %2\n")
             .arg(SynthetischeDaten::wort(n + 9),
                  n % 2 ? QStringLiteral("ja") : QStringLiteral("nein"));
    m += QStringLiteral("Tabelle: Pos. | Bezeichnung | Menge | Betrag\n");
    const int zeilen = 2 + (hoehe - 200) / 60;
    for (int z = 1; z <= zeilen; ++z) {
        m += QStringLiteral("Zeile: %1 | %2 | %3 | %4,%5 €\n")
                 .arg(z)
                 .arg(SynthetischeDaten::wort(n * 13 + z))
                 .arg(z % 5 + 1)
                 .arg(z * 37 % 900 + 10)
                 .arg(z * 7 % 100, 2, 10, QLatin1Char('0'));
    }
    m += QStringLiteral("Knöpfe: Speichern | Abbrechen | Hilfe\n");
    return m;
}

} // namespace

QString SynthetischeDaten::wort(int n)
{
    const int a = anzahl(anfaenge);
    const int b = anzahl(mitten);
    const int c = anzahl(enden);
    const int d = anzahl(vorsilben);
    const QString anfang = QString::fromUtf8(anfaenge[n % a]);
    const QString vorsilbe = QString::fromUtf8(vorsilben[(n / (a * b * c)) % d]);
    QString w = (vorsilbe.isEmpty() ? anfang : vorsilbe + anfang.toLower()) +
                QString::fromUtf8(mitten[(n / a) % b]) +
                QString::fromUtf8(enden[(n / (a * b)) % c]);
    // Beyond the combinations a number suffix keeps the words distinct.
    if (const int runde = n / (a * b * c * d); runde > 0)
        w += QLatin1Char('-') + QString::number(runde + 1);
    return w;
}

HilfeQuelle SynthetischeDaten::erzeugen(const Optionen &o)
{
    HilfeQuelle q;
    Zufall z(4815);

    // The keyword list: the frequent word first, then distinct generated words. Parts can
    // join to the same text in two ways, so duplicates are skipped.
    QStringList woerter;
    QSet<QString> gesehen;
    woerter << QString::fromLatin1(haeufigesWort);
    gesehen.insert(woerter.first().toCaseFolded());
    for (int n = 0; woerter.size() < o.woerter; ++n) {
        const QString w = wort(n);
        if (!gesehen.contains(w.toCaseFolded())) {
            gesehen.insert(w.toCaseFolded());
            woerter << w;
        }
    }

    const int texteGesamt = o.kapitel * o.themen * o.abschnitte;
    QStringList alleNummern;
    for (int k = 1; k <= o.kapitel; ++k) {
        QuellKapitel kap{k,
                         QStringLiteral("%1 und %2").arg(wort(k * 31), wort(k * 17 + 3)),
                         {},
                         QStringLiteral("synthetisch"),
                         0};
        for (int t = 1; t <= o.themen; ++t) {
            QuellThema th{t,
                          gross(wort(k * 100 + t)) + QLatin1Char(' ') +
                              QString::fromUtf8(verben[(k + t) % anzahl(verben)]),
                          {},
                          QStringLiteral("synthetisch"),
                          0};
            for (int x = 1; x <= o.abschnitte; ++x) {
                alleNummern << nummer(k, t, x);
                th.abschnitte << QuellAbschnitt{
                    x,
                    QStringLiteral("%1 %2").arg(wort(z.bis(20000)),
                                                QString::fromUtf8(verben[z.bis(anzahl(verben))])),
                    {},
                    {},
                    {},
                    QStringLiteral("synthetisch"),
                    0};
            }
            kap.themen << th;
        }
        q.kapitel << kap;
    }

    // Section texts: paragraphs of generated sentences with a bullet list, a note, two text
    // links each, and the picture links of the first chapter.
    const int abschnitteKapitel1 = o.themen * o.abschnitte;
    int laufend = 0;
    for (QuellKapitel &kap : q.kapitel) {
        for (QuellThema &th : kap.themen) {
            for (QuellAbschnitt &a : th.abschnitte) {
                const int index = laufend++;
                int geschrieben = 0;
                int absatzNr = 0;
                while (geschrieben < o.zeichenJeAbschnitt) {
                    TextBlock b;
                    b.art = absatzNr == 3   ? TextBlock::Art::Hinweis
                            : absatzNr == 2 ? TextBlock::Art::Aufzaehlung
                                            : TextBlock::Art::Absatz;
                    const int saetze = b.art == TextBlock::Art::Absatz ? 4 : 1;
                    for (int s = 0; s < saetze; ++s) {
                        QString satz =
                            gross(QString::fromUtf8(fuellwoerter[z.bis(anzahl(fuellwoerter))]));
                        const int laenge = 8 + z.bis(10);
                        for (int w = 0; w < laenge; ++w) {
                            satz += QLatin1Char(' ');
                            satz +=
                                z.bis(3) == 0
                                    ? woerter[z.bis(int(woerter.size()))]
                                    : QString::fromUtf8(fuellwoerter[z.bis(anzahl(fuellwoerter))]);
                        }
                        satz += QStringLiteral(". ");
                        TextStueck st;
                        st.text = satz;
                        st.fett = z.bis(12) == 0;
                        b.stuecke << st;
                        geschrieben += int(satz.size());
                    }
                    if (absatzNr < 2 && !alleNummern.isEmpty()) {
                        TextStueck link;
                        link.verweis = TextStueck::Verweis::Text;
                        link.ziel = alleNummern[z.bis(int(alleNummern.size()))];
                        link.text = QStringLiteral("siehe %1").arg(wort(z.bis(5000)));
                        b.stuecke << link;
                    }
                    a.bloecke << b;
                    if (b.art == TextBlock::Art::Aufzaehlung) {
                        for (int i = 0; i < 3; ++i) {
                            TextBlock punkt;
                            punkt.art = TextBlock::Art::Aufzaehlung;
                            TextStueck st;
                            st.text = QStringLiteral("%1 %2").arg(
                                woerter[z.bis(int(woerter.size()))],
                                QString::fromUtf8(verben[z.bis(anzahl(verben))]));
                            punkt.stuecke << st;
                            a.bloecke << punkt;
                        }
                    }
                    ++absatzNr;
                }
                // Pictures are spread evenly over the first chapter.
                if (index < abschnitteKapitel1) {
                    for (int p = 0; p < o.bilder; ++p) {
                        if (p * abschnitteKapitel1 / std::max(1, o.bilder) != index)
                            continue;
                        TextBlock b;
                        TextStueck vor;
                        vor.text = QStringLiteral("Die Maske zeigt ");
                        TextStueck link;
                        link.verweis = TextStueck::Verweis::Bild;
                        link.ziel = QString::number(p + 1);
                        link.text = QStringLiteral("Abbildung %1").arg(p + 1);
                        TextStueck nach;
                        nach.text = QStringLiteral(" mit allen Feldern.");
                        b.stuecke << vor << link << nach;
                        a.bloecke.insert(std::min<qsizetype>(1, a.bloecke.size()), b);
                    }
                }
            }
        }
    }

    // Keyword assignments: the frequent word leads to 50 texts; the others go round the
    // word list so that every word has a text while there are assignments to give.
    QList<QuellAbschnitt *> abschnitte;
    for (QuellKapitel &kap : q.kapitel) {
        for (QuellThema &th : kap.themen) {
            for (QuellAbschnitt &a : th.abschnitte)
                abschnitte << &a;
        }
    }
    if (!abschnitte.isEmpty()) {
        const int haeufig = std::min(50, texteGesamt);
        for (int i = 0; i < haeufig && i < o.zuordnungen; ++i)
            abschnitte[qsizetype(i) * abschnitte.size() / haeufig]->stichwoerter << woerter[0];
        for (int j = haeufig; j < o.zuordnungen; ++j) {
            const int w = woerter.size() > 1 ? 1 + (j - haeufig) % int(woerter.size() - 1) : 0;
            if (w == 0)
                break;
            abschnitte[z.bis(int(abschnitte.size()))]->stichwoerter << woerter[w];
        }
    }

    // Pictures of several sizes, drawn as mock screens and packed right away.
    static const QSize groessen[] = {{1024, 768}, {800, 600}, {640, 480}, {520, 360}, {320, 240}};
    for (int p = 1; p <= o.bilder; ++p) {
        const QSize g = groessen[(p - 1) % anzahl(groessen)];
        QuellBild bild;
        bild.nummer = p;
        bild.titel = QStringLiteral("%1 bearbeiten").arg(wort(p * 3));
        bild.datei = QStringLiteral("synthetisch");
        int fz = 0;
        QString ft;
        QImage gemalt;
        QString titel;
        if (MaskenZeichner::zeichnen(maske(p, g.width(), g.height(), bild.titel), gemalt, titel, fz,
                                     ft))
            bild.archiv = BildArchiv::packen(gemalt);
        q.bilder << bild;
    }
    return q;
}
