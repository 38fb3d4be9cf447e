// The full-text search: search forms, queries, hits and snippets, ranking, the indexed text, the
// sample help, the in-memory index, a stale or damaged stored index, and hilfedb suche.
#include "Datenbank.h"
#include "DatenbankAufbau.h"
#include "Global.h"
#include "HilfeDatenbank.h"
#include "HilfeDatenbankSchreiber.h"
#include "Mauszeiger.h"
#include "MeldungSkript.h"
#include "QuellParser.h"
#include "SqlDialekt.h"
#include "TestHilfen.h"
#include "TextFeld.h"
#include "Verweismarkup.h"
#include "VolltextAnfrage.h"
#include "VolltextIndex.h"
#include "VolltextRangfolge.h"
#include "VolltextWort.h"
#include "VolltextWortschatz.h"

#include <QTextDocument>
#include <QtTest>

#include <sqlite3.h>

#include <cstring>

namespace {

// Runs statements on a help database file, keyed as the help keys it.
bool sqlAusfuehren(const QString &datei, const char *sql)
{
    sqlite3 *db = nullptr;
    bool gut = sqlite3_open(QFile::encodeName(datei).constData(), &db) == SQLITE_OK &&
               sqlite3_key(db, HilfePasswort, int(std::strlen(HilfePasswort))) == SQLITE_OK &&
               SqlDialekt::registrieren(db) == SQLITE_OK &&
               sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!gut)
        qWarning() << sqlite3_errmsg(db);
    sqlite3_close(db);
    return gut;
}

const char *const IndexWeg =
    "DROP TABLE IF EXISTS VolltextIndex; DROP TABLE IF EXISTS "
    "VolltextAbschnitte; DROP TABLE IF EXISTS VolltextBloecke; "
    "DROP TABLE IF EXISTS VolltextInfo; DROP TABLE IF EXISTS VolltextWoerter;";

QString u(const char *s)
{
    return QString::fromUtf8(s);
}
using l = QStringList;

// A search on the default database, with the boxes it showed and the help numbers of its hits.
struct Suche : VolltextErgebnis
{
    int boxen = 0;
    QStringList nummern;
};

Suche suchen(const QString &text)
{
    SkriptMeldungen meldungen;
    Suche s{standardDatenbank().volltextSuchen(text), 0, {}};
    s.boxen = meldungen.anzahl();
    for (const VolltextTreffer &t : std::as_const(s.zeilen))
        s.nummern << t.nummer;
    return s;
}

// A matchinfo('pcnalx') blob for one phrase over the columns title and text.
QByteArray matchinfo(quint32 laengeText, quint32 tfTitel, quint32 tfText, quint32 mitTreffer)
{
    const quint32 w[] = {1,      2,          100,       3,       200,
                         3,      laengeText, tfTitel,   tfTitel, tfTitel ? mitTreffer : 0,
                         tfText, tfText * 3, mitTreffer};
    return QByteArray(reinterpret_cast<const char *>(w), sizeof(w));
}

// One paragraph of RTF whose text holds the link markup (braces escaped, as the writer does).
QString mitMarkup(const char *text)
{
    QString t = QString::fromUtf8(text);
    t.replace(u'{', QStringLiteral("\\{")).replace(u'}', QStringLiteral("\\}"));
    return rtfAbsatz(t);
}

} // namespace

class TestVolltext : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { setzeDatenbankDatei(m_mit); }
    void suchformen_data();
    void suchformen();
    void anfrage_data();
    void anfrage();
    void trefferImText_data();
    void trefferImText();
    void ausschnitt();
    void rangfolge_data();
    void rangfolge();
    void wortschatz_data();
    void wortschatz();
    void klartextWieAnzeige_data();
    void klartextWieAnzeige();
    void beispielhilfe_data();
    void beispielhilfe();
    void stichwortZuerst();
    void korrekturGemeldet();
    void suchqualitaet();
    void speicherNeuNachAustausch();
    void beschaedigt_data();
    void beschaedigt();
    void cleanupTestCase()
    {
        setzeDatenbankDatei(QString());
        Volltextsuche::speicherVerwerfen();
    }

private:
    QTemporaryDir m_dir;
    QString m_mit;  // the sample help with its index
    QString m_ohne; // the same without index
};

void TestVolltext::initTestCase()
{
    QVERIFY(m_dir.isValid());
    HilfeQuelle quelle;
    QList<QuellFehler> fehler;
    QVERIFY(QuellParser::lesen(QStringLiteral(TOLVAR_INHALT), quelle, fehler));
    m_mit = m_dir.filePath(QStringLiteral("mit.mdb"));
    m_ohne = m_dir.filePath(QStringLiteral("ohne.mdb"));
    QString text;
    QVERIFY2(DatenbankAufbau::schreiben(quelle, m_mit, &text), qPrintable(text));
    QVERIFY(QFile::copy(m_mit, m_ohne));
    QVERIFY(sqlAusfuehren(m_ohne, IndexWeg));
    gsPasswort = QString::fromLatin1(HilfePasswort);
}

void TestVolltext::suchformen_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("gleich");
    zeile("Plural", u("Rechnungen"), u("Rechnung"), true);
    zeile("Partizip", u("erstellt"), u("erstellen"), true);
    zeile("Groß und klein", u("RECHNUNG"), u("rechnung"), true);
    zeile("ö als oe", u("Größe"), u("Groesse"), true);
    zeile("ß als ss", u("Straße"), u("Strasse"), true);
    zeile("ü als ue", u("Müller"), u("Mueller"), true);
    zeile("Akzent", u("Café"), u("Cafe"), true);
    zeile("eu ist kein Umlaut", u("Steuer"), u("Stür"), false);
    zeile("verschiedene Wörter", u("Zahlung"), u("Zahl"), false);
    zeile("kurzer Stamm behält t", u("Wert"), u("Wer"), false);
    // Base forms from the dictionary: forms the stemmer alone keeps apart.
    zeile("Präteritum", u("stornierte"), u("stornieren"), true);
    zeile("Person", u("storniere"), u("storniert"), true);
    zeile("Partizip mit ge", u("gedruckte"), u("drucken"), true);
    zeile("Partizip trennbar", u("angelegt"), u("anlegen"), true);
    zeile("Ableitung bleibt getrennt", u("Rechnungen"), u("rechnen"), false);
}

void TestVolltext::suchformen()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, gleich);
    QVERIFY(!Volltext::suchform(a).isEmpty());
    QCOMPARE(Volltext::suchform(a) == Volltext::suchform(b), gleich);
}

void TestVolltext::anfrage_data()
{
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<QString>("ausdruck");
    zeile("ein Wort", u("Rechnung"), u("\"rechnung*\""));
    zeile("zwei Wörter", u("Skonto Rabatt"), u("\"skonto*\" \"rabatt*\""));
    zeile("Phrase", u("\"Rechnung erfassen\""), u("\"rechnung* erfass*\""));
    zeile("deutsche Anführungszeichen", u("„Rechnung erfassen“"), u("\"rechnung* erfass*\""));
    zeile("offenes Anführungszeichen", u("\"Rechnung erfassen"), u("\"rechnung*\" \"erfass*\""));
    zeile("OR AND NOT", u("Skonto OR Rabatt AND NOT Storno"),
          u("\"skonto*\" \"rabatt*\" \"storno*\""));
    zeile("near klein", u("near Skonto"), u("\"near*\" \"skonto*\""));
    zeile("Prozent Unterstrich", u("%Sko_nto%"), u("\"sko*\" \"nto*\""));
    zeile("kurzes Wort ohne Präfix", u("ab"), u("\"ab\""));
    zeile("doppelt", u("Rechnung RECHNUNG rechnungen"), u("\"rechnung*\""));
    zeile("Füllwort", u("die Rechnung und der Kunde"), u("\"rechnung*\" \"kund*\""));
    zeile("Füllwort in Phrase", u("\"Art der Zahlung\""), u("\"art* zahlung*\""));
    zeile("nur Füllwörter", u("die der das"), QString());
    zeile("nur Zeichen", u("%_*-^:()\"[]"), QString());
    zeile("abgetrenntes Präfix", u("wie lege ich einen Kunden an"),
          u("\"leg*\" OR \"anleg\" \"kund*\" OR \"ankund\""));
}

void TestVolltext::anfrage()
{
    QFETCH(QString, eingabe);
    QFETCH(QString, ausdruck);
    QCOMPARE(Volltext::matchAusdruck(Volltext::anfrageZerlegen(eingabe)), ausdruck);
}

void TestVolltext::trefferImText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("suche");
    QTest::addColumn<QStringList>("treffer");
    zeile("Groß, klein, Zusammensetzung", u("Der Skontoabzug, skonto und SKONTO."), u("Skonto"),
          l{"Skontoabzug", "skonto", "SKONTO"});
    zeile("nicht im Wortinneren", u("Abzug ohne Skonto: Rabattskonto"), u("Skonto"), l{"Skonto"});
    zeile("Phrase", u("Rechnung erfassen, Rechnung drucken, erfassen"), u("\"Rechnung erfassen\""),
          l{"Rechnung erfassen"});
    zeile("Phrase mit Füllwort", u("Die Art der Zahlung wählen"), u("\"Art der Zahlung\""),
          l{"Art der Zahlung"});
    zeile("Umschreibung", u("Größe oder Groesse"), u("groesse"), l{"Größe", "Groesse"});
    zeile("über Absätze", u("Zeile eins\r\nZeile zwei\vZeile"), u("zeilen"),
          l{"Zeile", "Zeile", "Zeile"});
    zeile("zwei Begriffe", u("Skonto und Rabatt"), u("Rabatt Skonto"), l{"Skonto", "Rabatt"});
    zeile("leere Suche", u("Skonto"), QString(), QStringList{});
}

void TestVolltext::trefferImText()
{
    QFETCH(QString, text);
    QFETCH(QString, suche);
    QFETCH(QStringList, treffer);
    QStringList markiert;
    for (const auto &[a, n] : Volltext::trefferBereiche(text, Volltext::anfrageZerlegen(suche)))
        markiert << text.mid(a, n);
    QCOMPARE(markiert, treffer);
}

void TestVolltext::ausschnitt()
{
    const QString text = u("Anfang des Texts.\r\n") + u("Füllsatz ohne Treffer.\r\n").repeated(40) +
                         u("Hier steht\tder Skontoabzug mitten im Text. ") +
                         u("Noch ein Satz. ").repeated(40);
    const QString a = Volltext::ausschnitt(text, Volltext::anfrageZerlegen(u("skonto")));
    QVERIFY2(a.contains(QStringLiteral("Skontoabzug")), qPrintable(a));
    QVERIFY(a.startsWith(u'…') && a.endsWith(u'…'));
    QVERIFY(!a.contains(u'\r') && !a.contains(u'\n') && !a.contains(u'\t'));
    QVERIFY(!a.contains(QStringLiteral("  ")));
    QVERIFY(a.size() <= 92);
    // Cut at words: the piece starts and ends with whole words of the text.
    const QString innen = a.mid(1, a.size() - 2);
    const qsizetype stelle = text.simplified().indexOf(innen);
    QVERIFY(stelle > 0 && !text.simplified().at(stelle - 1).isLetterOrNumber());
    // Without a hit in the text (a title hit), the start of the text.
    const QString b = Volltext::ausschnitt(text, Volltext::anfrageZerlegen(u("Rabatt")));
    QVERIFY2(b.startsWith(QStringLiteral("Anfang des Texts. Füllsatz")), qPrintable(b));
    QCOMPARE(Volltext::ausschnitt(u("  kurz  "), Volltext::Anfrage()), u("kurz"));
}

void TestVolltext::rangfolge_data()
{
    QTest::addColumn<QByteArray>("besser");
    QTest::addColumn<QByteArray>("schlechter");
    // text length, tf title, tf text, documents with a hit
    zeile("Titel vor Text", matchinfo(200, 1, 0, 10), matchinfo(200, 0, 1, 10));
    zeile("öfter vor seltener", matchinfo(200, 0, 5, 10), matchinfo(200, 0, 1, 10));
    zeile("kurzer Text vor langem", matchinfo(100, 0, 2, 10), matchinfo(800, 0, 2, 10));
    zeile("seltenes Wort vor häufigem", matchinfo(200, 0, 2, 2), matchinfo(200, 0, 2, 90));
    zeile("Treffer vor zu kurzer Angabe", matchinfo(200, 0, 1, 10),
          matchinfo(200, 0, 1, 10).left(40));
}

void TestVolltext::rangfolge()
{
    QFETCH(QByteArray, besser);
    QFETCH(QByteArray, schlechter);
    const double a = Volltext::bm25(besser, {});
    const double b = Volltext::bm25(schlechter, {});
    QVERIFY2(a > b, qPrintable(QStringLiteral("%1 <= %2").arg(a).arg(b)));
    QVERIFY(b >= 0);
}

void TestVolltext::wortschatz_data()
{
    // What the vocabulary offers for a typed word: its correction, the compounds a form ends,
    // a compound's parts, the completions.
    QTest::addColumn<QString>("art");
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<QStringList>("erwartet");
    const auto fall = [](const char *name, const char *art, const char *eingabe,
                         QStringList erwartet) {
        QTest::newRow(name) << u(art) << QString::fromUtf8(eingabe) << erwartet;
    };
    fall("Buchstaben vertauscht", "korrektur", "Rechnugn", {"Rechnung"});
    fall("zwei Fehler im langen Wort", "korrektur", "Liferschien", {"Lieferschein"});
    fall("näher schlägt häufiger", "korrektur", "rechnem", {"rechnen"});
    fall("gleich nah: häufiger", "korrektur", "Kunda", {"Kunde"});
    fall("kurzes Wort: ein Fehler", "korrektur", "Knde", {"Kunde"});
    fall("kurzes Wort: zwei Fehler nicht", "korrektur", "Knd", {});
    fall("Zahlen nicht", "korrektur", "w10", {});
    fall("Umschrift zählt nicht als Fehler", "korrektur", "Groesze", {"Größe"});
    fall("späterer Teil", "teile", "numm", {"rechnungsnumm", "kundennumm"});
    fall("Anfang zählt nicht", "teile", "kund", {});
    fall("zu kurz", "teile", "umm", {});
    fall("Zusammensetzung mit Fugen-s", "zerlegung", "Rechnungsnummer", {"rechnung", "numm"});
    fall("Zusammensetzung", "zerlegung", "Kundennummer", {"kund", "numm"});
    fall("Teil unbekannt", "zerlegung", "Nummernkreis", {});
    fall("Anfang, häufige zuerst", "ergaenzung", "rech",
         {"Rechnung", "rechnen", "Rechnungsnummer"});
    fall("Umschrift", "ergaenzung", "Groe", {"Größe"});
    fall("nichts", "ergaenzung", "qu", {});
}

void TestVolltext::wortschatz()
{
    QFETCH(QString, art);
    QFETCH(QString, eingabe);
    QFETCH(QStringList, erwartet);
    const Volltext::Wortschatz ws({
        {u("rechnung"), u("Rechnung"), u("rechnung"), 40},
        {u("rechnen"), u("rechnen"), u("rechn"), 10},
        {u("rechnungsnummer"), u("Rechnungsnummer"), u("rechnungsnumm"), 9},
        {u("kundennummer"), u("Kundennummer"), u("kundennumm"), 5},
        {u("nummernkreis"), u("Nummernkreis"), u("nummernkreis"), 7},
        {u("nummer"), u("Nummer"), u("numm"), 4},
        {u("lieferschein"), u("Lieferschein"), u("lieferschein"), 12},
        {u("kunde"), u("Kunde"), u("kund"), 30},
        {u("kunda"), u("Kunda"), u("kunda"), 1},
        {u("kundi"), u("Kundi"), u("kundi"), 2},
        {QStringLiteral("grösse"), QStringLiteral("Größe"), u("gross"), 3},
        {u("w11"), u("W11"), u("w11"), 50},
    });
    QStringList ist;
    if (art == u("korrektur")) {
        if (const Volltext::Vokabel *v = ws.korrektur(eingabe))
            ist << v->wort;
    } else if (art == u("teile")) {
        ist = ws.spaetereTeile(eingabe);
    } else if (art == u("zerlegung")) {
        ist = ws.zerlegung(eingabe);
    } else {
        ist = ws.ergaenzungen(eingabe);
    }
    QCOMPARE(ist, erwartet);
}

void TestVolltext::klartextWieAnzeige_data()
{
    QTest::addColumn<QString>("gespeichert");
    zeile("Verweis", mitMarkup("Siehe {T01.02.03}Kunden anlegen{TE} und {P00012}Bild{PE}."));
    zeile("ohne Abschluss", mitMarkup("Erst {T01.02.03}offen und dann weiter"));
    zeile("verschachtelt", mitMarkup("a {T01.01.01}b {P00001}c{PE} d{TE} e"));
    zeile("Tag über Absatz", u("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 x "
                               "\\{T01.0\\par 2.03\\}y\\{TE\\}\\par}"));
    zeile("zusammengerückt", mitMarkup("{{T01.01.01}T01.01.02}z{TE}{TE}"));
    zeile("Abschluss durch Schnitt", mitMarkup("{T01.01.01}a{T{T01.01.02}E}b{TE}"));
}

void TestVolltext::klartextWieAnzeige()
{
    // The index holds exactly the text the help window shows, so its hits can be marked there.
    QFETCH(QString, gespeichert);
    QTextDocument anzeige;
    QList<tVerweis> verweise;
    qint16 anzahl = 0;
    Verweismarkup::darstellen(gespeichert, anzeige, verweise, anzahl);
    TextFeld feld(&anzeige, false);
    const QString klar = VolltextIndex::klartext(gespeichert);
    QCOMPARE(klar, feld.text());
    if (QByteArray(QTest::currentDataTag()) == "Verweis")
        QCOMPARE(klar, u("Siehe Kunden anlegen und Bild.\r\n"));
}

void TestVolltext::beispielhilfe_data()
{
    QTest::addColumn<QString>("suche");
    QTest::addColumn<QStringList>("gefunden");
    QTest::addColumn<QStringList>("nicht");
    QTest::addColumn<QStringList>("reihenfolge"); // "a<b": section a comes before section b
    // "Skonto" is a keyword of 05.01.02, 04.02.04 and 02.04.03; 06.02.03 and 04.01.03 have only
    // compounds. 01.01.02 has only "erstellen"; 04.04.02 only "Rechnungsnummer".
    zeile("Stichwort und Zusammensetzung", u("Skonto"),
          l{"05.01.02", "04.02.04", "02.04.03", "06.02.03", "04.01.03"}, l(),
          l{"05.01.02<06.02.03", "04.02.04<06.02.03", "02.04.03<06.02.03"});
    zeile("Präfix findet Zusammensetzung", u("Rechnung"), l{"04.04.02", "05.03.01"}, l(), l());
    // 02.01.04 has "Nummer" only as the end of compounds, 04.02.01 the word itself.
    zeile("späterer Teil einer Zusammensetzung", u("Nummer"), l{"02.01.04", "04.02.01"}, l(),
          l{"04.02.01<02.01.04"});
    zeile("oe", u("Groesse"), l{"04.04.01"}, l(), l());
    zeile("Phrase", u("\"Rechnung erfassen\""), l{"04.01.01", "01.01.02"},
          l{"05.01.01", "03.01.02"}, l());
    zeile("ohne Phrase", u("Rechnung erfassen"), l{"04.01.01", "05.01.01"}, l(), l());
    zeile("UND", u("Skonto Rabatt"), l{"04.02.04"}, l{"05.01.02", "02.04.03"}, l());
    zeile("Titel zählt mehr", u("Rundung"), l{"04.02.05", "06.05.02"}, l(), l{"04.02.05<06.05.02"});
    // "Reverse-Charge-Verfahren" stands only in the keywords of 02.04.02.
    zeile("Stichwort", u("Reverse-Charge-Verfahren"), l{"02.04.02"}, l(), l());
    // Function words are left out; from three words on, a section need not hold every word,
    // but one holding more comes first, even before a keyword's section (05.01.02: Skonto).
    zeile("Frage", u("wie sperre ich eine Mahnung für Stundung und Xylophon"), l{"05.03.04"}, l(),
          l());
    zeile("mehr Wörter zuerst", u("Skonto Rabatt Xylophon"), l{"04.02.04", "05.01.02"}, l(),
          l{"04.02.04<05.01.02"});
    zeile("zwei Wörter nirgends zusammen", u("Bankverbindung Xylophon"), l{"01.04.03"}, l(), l());
    // Words found nowhere: a misspelling is searched as the nearest word of the help's
    // vocabulary, a compound as its parts.
    zeile("Tippfehler", u("Kleinunternemer"), l{"02.04.04"}, l(), l());
    zeile("Zusammensetzung in Teilen", u("Kundenimport"), l{"02.01.05"}, l(), l());
}

void TestVolltext::beispielhilfe()
{
    QFETCH(QString, suche);
    QFETCH(QStringList, gefunden);
    QFETCH(QStringList, nicht);
    QFETCH(QStringList, reihenfolge);
    const Suche s = suchen(suche);
    QVERIFY(s.ok);
    QCOMPARE(s.boxen, 0);
    QCOMPARE(Volltextsuche::letzteQuelle(), Volltextsuche::Quelle::Datenbank);
    QCOMPARE(s.gesamt, int(s.nummern.size()));
    for (const QString &n : gefunden)
        QVERIFY2(s.nummern.contains(n), qPrintable(n + u(" fehlt in ") + s.nummern.join(u' ')));
    for (const QString &n : nicht)
        QVERIFY2(!s.nummern.contains(n), qPrintable(n));
    for (const QString &paar : reihenfolge) {
        const QStringList ab = paar.split(u'<');
        QVERIFY2(s.nummern.indexOf(ab[0]) >= 0 &&
                     s.nummern.indexOf(ab[0]) < s.nummern.indexOf(ab[1]),
                 qPrintable(paar + u(": ") + s.nummern.join(u' ')));
    }
    // Every hit has its titles and a snippet, and no two hits name the same section.
    QCOMPARE(QSet<QString>(s.nummern.begin(), s.nummern.end()).size(), s.nummern.size());
    for (const VolltextTreffer &t : s.zeilen)
        QVERIFY(!t.abschnitt.isEmpty() && !t.thema.isEmpty() && !t.ausschnitt.isEmpty() &&
                t.wert > 0);
    // The index built in memory for a database without one gives the same hits.
    setzeDatenbankDatei(m_ohne);
    const Suche m = suchen(suche);
    QVERIFY(m.ok);
    QCOMPARE(m.boxen, 0);
    QCOMPARE(Volltextsuche::letzteQuelle(), Volltextsuche::Quelle::Speicher);
    QCOMPARE(m.nummern, s.nummern);
    QCOMPARE(m.gesamt, s.gesamt);
    for (int j = 0; j < m.zeilen.size(); ++j) {
        QCOMPARE(m.zeilen[j].ausschnitt, s.zeilen[j].ausschnitt);
        QVERIFY(qFuzzyCompare(m.zeilen[j].wert, s.zeilen[j].wert));
    }
}

void TestVolltext::stichwortZuerst()
{
    // Sections with a keyword equal to the search text lead; within each group, better first.
    const Suche s = suchen(u("Skonto"));
    QVERIFY(s.ok && s.zeilen.size() > 3);
    for (int i = 0; i < s.zeilen.size(); ++i) {
        QVERIFY2(s.zeilen[i].stichwort == (i < 3), qPrintable(s.nummern.join(u' ')));
        QVERIFY(i <= 3 || s.zeilen[i].wert <= s.zeilen[i - 1].wert);
    }
    // Nothing to search, nothing found, or index syntax typed: no hits, no box.
    QString lang;
    for (int i = 0; i < 3000; ++i)
        lang += QStringLiteral("w%1 ").arg(i);
    for (const QString &leer :
         {QString(), u("%_%"), u("Xylophonquartett"), lang, QString(100000, u'q'),
          u("\"\"\"w\"\"q"), u("w*q*x* NEAR"), u("'; DROP Qxqzv; --")}) {
        const Suche k = suchen(leer);
        QVERIFY(k.ok && k.zeilen.isEmpty());
        QCOMPARE(k.boxen, 0);
        QCOMPARE(k.gesamt, 0);
    }
}

void TestVolltext::korrekturGemeldet()
{
    // hilfedb suche names the correction, and that the text as typed found nothing.
    const ProgrammLauf p = programmLaufen(HILFEDB_PFAD, {"suche", m_mit, "Bankverbindng"});
    QCOMPARE(p.code, 0);
    QVERIFY2(p.aus.startsWith(u("Meinten Sie: Bankverbindung\n„Bankverbindng“ findet nichts; "
                                "gesucht wurde „Bankverbindung“.\n01.04.03")),
             qPrintable(p.aus));
}

void TestVolltext::suchqualitaet()
{
    // The searches of the table find an answering section among the first ten (share at least
    // 0.95) and early (mean reciprocal rank at least 0.8).
    QFile datei(QStringLiteral(TOLVAR_ANFRAGEN));
    QVERIFY(datei.open(QIODevice::ReadOnly | QIODevice::Text));
    int anfragen = 0, unterZehn = 0;
    double kehrwerte = 0;
    for (const QString &z : QString::fromUtf8(datei.readAll()).split(u'\n')) {
        const QStringList teile = z.split(u'\t');
        if (z.startsWith(u'#') || teile.size() != 3)
            continue;
        const QStringList nummern = suchen(teile[1]).nummern.mid(0, 10);
        const auto it = std::find_if(nummern.cbegin(), nummern.cend(), [&](const QString &n) {
            return teile[2].split(u',').contains(n);
        });
        ++anfragen;
        unterZehn += it != nummern.cend() ? 1 : 0;
        kehrwerte += it != nummern.cend() ? 1.0 / double(it - nummern.cbegin() + 1) : 0.0;
    }
    QVERIFY(anfragen >= 80);
    QVERIFY2(unterZehn >= 0.95 * anfragen, qPrintable(QString::number(unterZehn)));
    QVERIFY2(kehrwerte >= 0.8 * anfragen, qPrintable(QString::number(kehrwerte)));
}

void TestVolltext::speicherNeuNachAustausch()
{
    // A database replaced under the same name is indexed anew.
    const QString datei = m_dir.filePath(QStringLiteral("HilfeBelna.mdb"));
    const auto schreiben = [&](const char *wort) {
        HilfeDatenbankSchreiber s;
        QVERIFY(s.oeffnen(datei, QString::fromLatin1(HilfePasswort)));
        s.setVolltextIndex(false);
        const qint32 k = s.kapitelEinfuegen(1, u("K"), 1);
        s.textEinfuegen(s.themaEinfuegen(k, 1, u("T"), 1), 1, u("A"), rtfAbsatz(u(wort)), 1);
        QVERIFY(s.abschliessen());
    };
    schreiben("Kupferrohr");
    setzeDatenbankDatei(datei);
    QCOMPARE(suchen(u("Kupferrohr")).nummern, QStringList{"01.01.01"});
    const int vorher = Volltextsuche::speicherAufbauten();
    schreiben("Messingrohr");
    QVERIFY(suchen(u("Kupferrohr")).nummern.isEmpty());
    QCOMPARE(suchen(u("Messingrohr")).nummern, QStringList{"01.01.01"});
    // Built once for both searches, and the pointer is normal again.
    QCOMPARE(Volltextsuche::speicherAufbauten(), vorher + 1);
    QCOMPARE(MauszeigerAktuell(), int(Zeiger::Normal));
}

void TestVolltext::beschaedigt_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("meldung"); // what hilfedb pruefen must name
    const QString kaputt = u("Volltextindex beschädigt");
    zeile("Segmente Müll", "UPDATE VolltextIndex_segments SET block = zeroblob(length(block))",
          kaputt);
    zeile("Indextabelle fehlt", "DROP TABLE VolltextIndex", u("Tabelle VolltextIndex fehlt"));
    zeile("Längen leer", "DELETE FROM VolltextIndex_docsize", kaputt);
    zeile("Blöcke Müll", "UPDATE VolltextBloecke SET Daten = substr(Daten, 1, 40)", kaputt);
    zeile("Wortschatz verändert", "UPDATE VolltextWoerter SET Daten = substr(Daten, 1, 40)",
          u("der Wortschatz (VolltextWoerter) ist nicht lesbar"));
    zeile("Abschnitte verschoben",
          "UPDATE VolltextAbschnitte SET Anfang = Anfang + 7 WHERE Anfang > 0", kaputt);
    zeile("Phantomzeile",
          "INSERT INTO VolltextIndex (docid, Titel, Text) VALUES "
          "(99999, 'skonto', 'skonto skonto')",
          kaputt);
    const QString anders = "UPDATE Texte SET Text = replace(Text, 'Skonto', 'Rabatt')";
    zeile("veraltet", anders, u("Volltextindex veraltet, der Abschnitt wurde danach geändert"));
    zeile("Stichwort geändert", "UPDATE \"WörterIndex\" SET Wort = 'Xylophon' WHERE ID = 1",
          u("Volltextindex veraltet, der Abschnitt wurde danach geändert"));
    zeile("Abschnitt gelöscht", "DELETE FROM Texte WHERE ID = 1",
          u("Text-ID 1: Volltextindex veraltet, den Abschnitt gibt es nicht mehr"));
    zeile("andere Version",
          "UPDATE VolltextInfo SET Wert = '0' WHERE Schluessel = 'Version'; " + anders,
          u("Volltextindex: Version 0 statt"));
}

void TestVolltext::beschaedigt()
{
    // hilfedb pruefen names the damage, and the search gives the hits of an index built anew.
    QFETCH(QString, sql);
    QFETCH(QString, meldung);
    const QString datei = m_dir.filePath(QString::fromUtf8(QTest::currentDataTag()) + u(".mdb"));
    const QString wahr = QString(datei).replace(u(".mdb"), u("-wahr.mdb"));
    QVERIFY(QFile::copy(m_mit, datei));
    QVERIFY(sqlAusfuehren(datei, sql.toUtf8().constData()));
    QVERIFY(QFile::copy(datei, wahr));
    QVERIFY(sqlAusfuehren(wahr, IndexWeg));
    const ProgrammLauf p = programmLaufen(HILFEDB_PFAD, {"pruefen", datei});
    QCOMPARE(p.code, 1);
    QVERIFY2(p.aus.contains(meldung), qPrintable(p.aus));
    const ProgrammLauf s = programmLaufen(HILFEDB_PFAD, {"suche", datei, "Skonto"});
    const ProgrammLauf w = programmLaufen(HILFEDB_PFAD, {"suche", wahr, "Skonto"});
    QCOMPARE(w.code, 0);
    QVERIFY2(w.aus.contains(u'\n'), qPrintable(w.aus));
    QCOMPARE(s.code, 0);
    QCOMPARE(s.aus, w.aus);
}

QTEST_MAIN(TestVolltext)
#include "tst_volltext.moc"
