// The full-text search as plain functions and on the sample help: search forms that meet for
// inflections, umlauts and their transcriptions; queries that never reach the index with syntax
// of their own; hits in a text at the positions of the visible words; the ranking's order; the
// plain text the index holds equal to what the help window shows; a table of searches on the
// sample help with the sections that must (and must not) be found and an order that must hold;
// the index built in memory giving the same hits as the stored one; the check of a stale index;
// hilfedb suche; and a damaged or stale stored index, named by hilfedb pruefen and passed over
// by the search.
#include "Datenbank.h"
#include "HilfeDatenbank.h"
#include "DatenbankAufbau.h"
#include "Global.h"
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

#include <QFile>
#include <QTemporaryDir>
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

const char *const IndexWeg = "DROP TABLE VolltextIndex; DROP TABLE VolltextAbschnitte; "
                             "DROP TABLE VolltextBloecke; DROP TABLE VolltextInfo;";

struct Suche
{
    bool ok = false;
    int boxen = 0;
    int gesamt = 0;
    QList<VolltextTreffer> treffer;
    QStringList nummern;
};

Suche suchen(const QString &text)
{
    SkriptMeldungen meldungen;
    Suche s;
    const VolltextErgebnis e = standardDatenbank().volltextSuchen(text);
    s.ok = e.ok;
    s.treffer = e.zeilen;
    s.gesamt = e.gesamt;
    s.boxen = meldungen.anzahl();
    for (const VolltextTreffer &t : std::as_const(s.treffer))
        s.nummern << t.nummer;
    return s;
}

// The state of the default database's full-text index; false when it could not be read.
bool indexPruefen(VolltextIndexZustand &z)
{
    const Ergebnis<VolltextIndexZustand> e = standardDatenbank().volltextIndexPruefen();
    z = e.zeilen.value(0);
    return e.ok;
}

// A matchinfo('pcnalx') blob for one phrase over the columns title and text.
QByteArray matchinfo(quint32 dokumente, quint32 mittelTitel, quint32 mittelText,
                     quint32 laengeTitel, quint32 laengeText, quint32 tfTitel, quint32 tfText,
                     quint32 mitTreffer)
{
    const quint32 w[] = {1,           2,          dokumente, mittelTitel, mittelText,
                         laengeTitel, laengeText, tfTitel,   tfTitel,     tfTitel ? mitTreffer : 0,
                         tfText,      tfText * 3, mitTreffer};
    return QByteArray(reinterpret_cast<const char *>(w), sizeof(w));
}

// One paragraph of RTF whose text holds the link markup (braces escaped, as the writer does).
QString mitMarkup(const char *text)
{
    QString t = QString::fromUtf8(text);
    t.replace(u'{', QStringLiteral("\\{")).replace(u'}', QStringLiteral("\\}"));
    return rtfAbsatz(t);
}

QStringList markiert(const QString &text, const QList<QPair<int, int>> &bereiche)
{
    QStringList s;
    for (const auto &[a, l] : bereiche)
        s << text.mid(a, l);
    return s;
}

} // namespace

class TestVolltext : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void suchformen_data();
    void suchformen();
    void anfrage_data();
    void anfrage();
    void anfrageOhneSyntax();
    void trefferImText_data();
    void trefferImText();
    void ausschnitt();
    void rangfolge_data();
    void rangfolge();
    void klartextWieAnzeige_data();
    void klartextWieAnzeige();
    void beispielhilfe_data();
    void beispielhilfe();
    void stichwortZuerst();
    void speicherWieGespeichert();
    void speicherNeuNachAustausch();
    void veraltet();
    void hilfedbSuche();
    void beschaedigt_data();
    void beschaedigt();
    void cleanupTestCase();

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

void TestVolltext::init()
{
    setzeDatenbankDatei(m_mit);
}

void TestVolltext::cleanupTestCase()
{
    setzeDatenbankDatei(QString());
    Volltextsuche::speicherVerwerfen();
}

void TestVolltext::suchformen_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("gleich");
    zeile("Plural", QStringLiteral("Rechnungen"), QStringLiteral("Rechnung"), true);
    zeile("Partizip", QStringLiteral("erstellt"), QStringLiteral("erstellen"), true);
    zeile("Präteritum", QStringLiteral("erstellte"), QStringLiteral("erstellen"), true);
    zeile("-et", QStringLiteral("verwendet"), QStringLiteral("verwenden"), true);
    zeile("Groß und klein", QStringLiteral("RECHNUNG"), QStringLiteral("rechnung"), true);
    zeile("ö als oe", QStringLiteral("Größe"), QStringLiteral("Groesse"), true);
    zeile("ß als ss", QStringLiteral("Straße"), QStringLiteral("Strasse"), true);
    zeile("ü als ue", QStringLiteral("Müller"), QStringLiteral("Mueller"), true);
    zeile("Ü am Anfang", QStringLiteral("Übersicht"), QStringLiteral("Uebersicht"), true);
    zeile("ä als ae", QStringLiteral("Änderung"), QStringLiteral("Aenderung"), true);
    zeile("Akzent", QStringLiteral("Café"), QStringLiteral("Cafe"), true);
    // "eu", "au" and "qu" are no umlauts: the words stay apart from those with "ü".
    zeile("eu bleibt", QStringLiteral("Steuer"), QStringLiteral("Stür"), false);
    zeile("au bleibt", QStringLiteral("Bauer"), QStringLiteral("Bür"), false);
    zeile("qu bleibt", QStringLiteral("Quelle"), QStringLiteral("Qülle"), false);
    zeile("verschiedene Wörter", QStringLiteral("Zahlung"), QStringLiteral("Zahl"), false);
    zeile("kurzer Stamm behält t", QStringLiteral("Wert"), QStringLiteral("Wer"), false);
}

void TestVolltext::suchformen()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, gleich);
    const QString fa = Volltext::suchform(a);
    const QString fb = Volltext::suchform(b);
    QVERIFY(!fa.isEmpty());
    QCOMPARE(fa == fb, gleich);
}

void TestVolltext::anfrage_data()
{
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<QString>("ausdruck");
    zeile("ein Wort", QStringLiteral("Rechnung"), QStringLiteral("\"rechnung*\""));
    zeile("zwei Wörter", QStringLiteral("Skonto Rabatt"),
          QStringLiteral("\"skonto*\" \"rabatt*\""));
    zeile("Phrase", QStringLiteral("\"Rechnung erfassen\""),
          QStringLiteral("\"rechnung* erfass*\""));
    zeile("deutsche Anführungszeichen", QStringLiteral("„Rechnung erfassen“"),
          QStringLiteral("\"rechnung* erfass*\""));
    zeile("offenes Anführungszeichen", QStringLiteral("\"Rechnung erfassen"),
          QStringLiteral("\"rechnung*\" \"erfass*\""));
    zeile("drei Anführungszeichen", QStringLiteral("\"Rechnung erfassen\" \"Skonto"),
          QStringLiteral("\"rechnung* erfass*\" \"skonto*\""));
    zeile("NEAR", QStringLiteral("Skonto NEAR Rabatt"), QStringLiteral("\"skonto*\" \"rabatt*\""));
    zeile("NEAR/3", QStringLiteral("Skonto NEAR/3 Rabatt"),
          QStringLiteral("\"skonto*\" \"rabatt*\""));
    zeile("OR AND NOT", QStringLiteral("Skonto OR Rabatt AND NOT Storno"),
          QStringLiteral("\"skonto*\" \"rabatt*\" \"storno*\""));
    zeile("nur NEAR", QStringLiteral("NEAR"), QStringLiteral("\"near*\""));
    zeile("near klein", QStringLiteral("near Skonto"), QStringLiteral("\"near*\" \"skonto*\""));
    zeile("Sternchen Minus Dach", QStringLiteral("-Skonto* ^Rabatt"),
          QStringLiteral("\"skonto*\" \"rabatt*\""));
    zeile("Spalte", QStringLiteral("Titel:Skonto"), QStringLiteral("\"titel*\" \"skonto*\""));
    zeile("Klammern", QStringLiteral("((Skonto) [Rabatt])"),
          QStringLiteral("\"skonto*\" \"rabatt*\""));
    zeile("Prozent Unterstrich", QStringLiteral("%Sko_nto%"), QStringLiteral("\"sko*\" \"nto*\""));
    zeile("kurzes Wort ohne Präfix", QStringLiteral("ab"), QStringLiteral("\"ab\""));
    zeile("doppelt", QStringLiteral("Rechnung RECHNUNG rechnungen"),
          QStringLiteral("\"rechnung*\""));
    zeile("Füllwort", QStringLiteral("die Rechnung und der Kunde"),
          QStringLiteral("\"rechnung*\" \"kund*\""));
    zeile("Füllwort in Phrase", QStringLiteral("\"Art der Zahlung\""),
          QStringLiteral("\"art* zahlung*\""));
    zeile("nur Füllwörter", QStringLiteral("die der das"), QString());
    zeile("leer", QString(), QString());
    zeile("Leerzeichen", QStringLiteral("   "), QString());
    zeile("nur Zeichen", QStringLiteral("%_*-^:()\"[]"), QString());
    zeile("Apostroph", QStringLiteral("O'Neil"), QStringLiteral("\"o\" \"neil*\""));
}

void TestVolltext::anfrage()
{
    QFETCH(QString, eingabe);
    QFETCH(QString, ausdruck);
    QCOMPARE(Volltext::matchAusdruck(Volltext::anfrageZerlegen(eingabe)), ausdruck);
}

void TestVolltext::anfrageOhneSyntax()
{
    // Whatever is typed, the expression holds quoted search forms only: letters and digits,
    // a "*" at the end of a word, blanks, and quotes in pairs.
    QString lang;
    for (int i = 0; i < 3000; ++i)
        lang += QStringLiteral("w%1 ").arg(i);
    const QStringList eingaben = {lang,
                                  QString(3000, u'"'),
                                  QStringLiteral("\"\"\"a\"\"b"),
                                  QStringLiteral("a*b*c* NEAR"),
                                  QStringLiteral("'; DROP TABLE Texte; --"),
                                  QStringLiteral("x\u0000y\u200bz"),
                                  QString(100000, u'a'),
                                  QStringLiteral("\U0001F600 Rechnung")};
    for (const QString &e : eingaben) {
        const Volltext::Anfrage a = Volltext::anfrageZerlegen(e);
        QVERIFY(a.begriffe.size() <= Volltext::MaxBegriffe);
        const QString x = Volltext::matchAusdruck(a);
        QCOMPARE(x.count(u'"') % 2, 0);
        for (qsizetype i = 0; i < x.size(); ++i) {
            const QChar c = x.at(i);
            QVERIFY2(c.isLetterOrNumber() || c == u' ' || c == u'"' ||
                         (c == u'*' &&
                          (i + 1 == x.size() || x.at(i + 1) == u' ' || x.at(i + 1) == u'"')),
                     qPrintable(x.mid(i, 20)));
        }
        for (const Volltext::Begriff &b : a.begriffe)
            for (const QString &f : b.formen)
                QVERIFY(f.size() <= Volltext::MaxWortLaenge);
    }
}

void TestVolltext::trefferImText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("suche");
    QTest::addColumn<QStringList>("treffer");
    zeile("Groß, klein, Zusammensetzung", QStringLiteral("Der Skontoabzug, skonto und SKONTO."),
          QStringLiteral("Skonto"),
          QStringList{QStringLiteral("Skontoabzug"), QStringLiteral("skonto"),
                      QStringLiteral("SKONTO")});
    zeile("nicht im Wortinneren", QStringLiteral("Abzug ohne Skonto: Rabattskonto"),
          QStringLiteral("Skonto"), QStringList{QStringLiteral("Skonto")});
    zeile("Phrase", QStringLiteral("Rechnung erfassen, Rechnung drucken, erfassen"),
          QStringLiteral("\"Rechnung erfassen\""),
          QStringList{QStringLiteral("Rechnung erfassen")});
    zeile("Phrase mit Füllwort", QStringLiteral("Die Art der Zahlung wählen"),
          QStringLiteral("\"Art der Zahlung\""), QStringList{QStringLiteral("Art der Zahlung")});
    zeile("Umschreibung", QStringLiteral("Größe oder Groesse"), QStringLiteral("groesse"),
          QStringList{QStringLiteral("Größe"), QStringLiteral("Groesse")});
    zeile("über Absätze", QStringLiteral("Zeile eins\r\nZeile zwei\vZeile"),
          QStringLiteral("zeilen"),
          QStringList{QStringLiteral("Zeile"), QStringLiteral("Zeile"), QStringLiteral("Zeile")});
    zeile("zwei Begriffe", QStringLiteral("Skonto und Rabatt"), QStringLiteral("Rabatt Skonto"),
          QStringList{QStringLiteral("Skonto"), QStringLiteral("Rabatt")});
    zeile("kein Treffer", QStringLiteral("nichts davon"), QStringLiteral("Skonto"), QStringList{});
    zeile("leere Suche", QStringLiteral("Skonto"), QString(), QStringList{});
}

void TestVolltext::trefferImText()
{
    QFETCH(QString, text);
    QFETCH(QString, suche);
    QFETCH(QStringList, treffer);
    const auto bereiche = Volltext::trefferBereiche(text, Volltext::anfrageZerlegen(suche));
    QCOMPARE(markiert(text, bereiche), treffer);
}

void TestVolltext::ausschnitt()
{
    QString text = QStringLiteral("Anfang des Texts.\r\n");
    for (int i = 0; i < 40; ++i)
        text += QStringLiteral("Füllsatz Nummer %1 ohne Treffer.\r\n").arg(i);
    text += QStringLiteral("Hier steht\tder Skontoabzug mitten im Text. ");
    for (int i = 0; i < 40; ++i)
        text += QStringLiteral("Noch ein Satz %1. ").arg(i);
    const QString a =
        Volltext::ausschnitt(text, Volltext::anfrageZerlegen(QStringLiteral("skonto")));
    QVERIFY2(a.contains(QStringLiteral("Skontoabzug")), qPrintable(a));
    QVERIFY(a.startsWith(u'…') && a.endsWith(u'…'));
    QVERIFY(!a.contains(u'\r') && !a.contains(u'\n') && !a.contains(u'\t'));
    QVERIFY(!a.contains(QStringLiteral("  ")));
    QVERIFY(a.size() <= 92);
    // Cut at words: the piece starts and ends with whole words of the text.
    const QString innen = a.mid(1, a.size() - 2);
    QVERIFY(text.simplified().contains(innen));
    const qsizetype stelle = text.simplified().indexOf(innen);
    QVERIFY(stelle > 0 && !text.simplified().at(stelle - 1).isLetterOrNumber());

    // Without a hit in the text (a title hit), the start of the text.
    const QString b =
        Volltext::ausschnitt(text, Volltext::anfrageZerlegen(QStringLiteral("Rabatt")));
    QVERIFY2(b.startsWith(QStringLiteral("Anfang des Texts. Füllsatz")), qPrintable(b));
    QCOMPARE(Volltext::ausschnitt(QStringLiteral("  kurz  "), Volltext::Anfrage()),
             QStringLiteral("kurz"));
}

void TestVolltext::rangfolge_data()
{
    QTest::addColumn<QByteArray>("besser");
    QTest::addColumn<QByteArray>("schlechter");
    // dokumente, mittel titel/text, länge titel/text, tf titel/text, dokumente mit treffer
    zeile("Titel vor Text", matchinfo(100, 3, 200, 3, 200, 1, 0, 10),
          matchinfo(100, 3, 200, 3, 200, 0, 1, 10));
    zeile("öfter vor seltener", matchinfo(100, 3, 200, 3, 200, 0, 5, 10),
          matchinfo(100, 3, 200, 3, 200, 0, 1, 10));
    zeile("kurzer Text vor langem", matchinfo(100, 3, 200, 3, 100, 0, 2, 10),
          matchinfo(100, 3, 200, 3, 800, 0, 2, 10));
    zeile("seltenes Wort vor häufigem", matchinfo(100, 3, 200, 3, 200, 0, 2, 2),
          matchinfo(100, 3, 200, 3, 200, 0, 2, 90));
    zeile("Treffer vor Unsinn", matchinfo(100, 3, 200, 3, 200, 0, 1, 10), QByteArray("\1\0\0", 3));
    zeile("Treffer vor zu kurzer Angabe", matchinfo(100, 3, 200, 3, 200, 0, 1, 10),
          matchinfo(100, 3, 200, 3, 200, 0, 1, 10).left(40));
}

void TestVolltext::rangfolge()
{
    QFETCH(QByteArray, besser);
    QFETCH(QByteArray, schlechter);
    const double a = Volltext::bm25(besser);
    const double b = Volltext::bm25(schlechter);
    QVERIFY2(a > b, qPrintable(QStringLiteral("%1 <= %2").arg(a).arg(b)));
    QVERIFY(b >= 0);
}

void TestVolltext::klartextWieAnzeige_data()
{
    QTest::addColumn<QString>("gespeichert");
    zeile("Verweis", mitMarkup("Siehe {T01.02.03}Kunden anlegen{TE} und {P00012}Bild{PE}."));
    zeile("ohne Abschluss", mitMarkup("Erst {T01.02.03}offen und dann weiter"));
    zeile("Abschluss ohne Anfang", mitMarkup("nur {TE} ein Schluss {PE}"));
    zeile("verschachtelt", mitMarkup("a {T01.01.01}b {P00001}c{PE} d{TE} e"));
    zeile("Tag über Absatz", QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 x "
                                            "\\{T01.0\\par 2.03\\}y\\{TE\\}\\par}"));
    zeile("zusammengerückt", mitMarkup("{{T01.01.01}T01.01.02}z{TE}{TE}"));
    zeile("Abschluss durch Schnitt", mitMarkup("{T01.01.01}a{T{T01.01.02}E}b{TE}"));
    zeile("kein RTF", QStringLiteral("Nur Text {T01.01.01}mit Verweis{TE}"));
    zeile("leer", QString());
}

void TestVolltext::klartextWieAnzeige()
{
    // The index holds exactly the text the help window shows: the same characters at the same
    // positions, so hits found in it can be marked in the window.
    QFETCH(QString, gespeichert);
    QTextDocument anzeige;
    QList<tVerweis> verweise;
    qint16 anzahl = 0;
    Verweismarkup::darstellen(gespeichert, anzeige, verweise, anzahl);
    TextFeld feld(&anzeige, false);
    const QString klar = VolltextIndex::klartext(gespeichert);
    QCOMPARE(klar, feld.text());
    QCOMPARE(VolltextIndex::MaxZeichen, Verweismarkup::MaxZeichen);
    // Well-formed links keep their texts and lose their tags.
    if (QByteArray(QTest::currentDataTag()) == "Verweis")
        QCOMPARE(klar, QStringLiteral("Siehe Kunden anlegen und Bild.\r\n"));
}

void TestVolltext::beispielhilfe_data()
{
    QTest::addColumn<QString>("suche");
    QTest::addColumn<QStringList>("gefunden");
    QTest::addColumn<QStringList>("nicht");
    // Pairs "a<b": section a comes before section b.
    QTest::addColumn<QStringList>("reihenfolge");
    const auto l = [](std::initializer_list<const char *> s) {
        QStringList r;
        for (const char *x : s)
            r << QString::fromLatin1(x);
        return r;
    };
    // "Skonto" is a keyword of 05.01.02, 04.02.04 and 02.04.03; 06.02.03 and 04.01.03 have only
    // compounds ("Skontoabzüge", "Skontofrist").
    zeile("Stichwort und Zusammensetzung", QStringLiteral("Skonto"),
          l({"05.01.02", "04.02.04", "02.04.03", "06.02.03", "04.01.03"}), l({}),
          l({"05.01.02<06.02.03", "04.02.04<06.02.03", "02.04.03<06.02.03"}));
    zeile("klein geschrieben", QStringLiteral("skonto"), l({"05.01.02", "06.02.03"}), l({}),
          l({"02.04.03<04.01.03"}));
    // Only "erstellen" in 01.01.02, only "erstellt" in others.
    zeile("Stamm", QStringLiteral("erstellt"), l({"01.01.02", "03.01.05", "04.04.02"}), l({}),
          l({}));
    zeile("Plural", QStringLiteral("Rechnungen"), l({"04.01.01", "04.03.02"}), l({}), l({}));
    // 04.04.02 has "Rechnungsnummer" but neither "Rechnung" nor "Rechnungen".
    zeile("Präfix findet Zusammensetzung", QStringLiteral("Rechnung"), l({"04.04.02", "05.03.01"}),
          l({}), l({}));
    zeile("oe", QStringLiteral("Groesse"), l({"04.04.01"}), l({}), l({}));
    zeile("ue", QStringLiteral("Mueller"), l({"02.01.04", "01.04.01"}), l({}), l({}));
    zeile("Ue", QStringLiteral("Uebersicht"), l({"01.03.04"}), l({}), l({}));
    zeile("ss", QStringLiteral("Strasse"), l({"01.04.01", "02.01.01", "02.01.05"}), l({}), l({}));
    zeile("Phrase", QStringLiteral("\"Rechnung erfassen\""), l({"04.01.01", "01.01.02"}),
          l({"05.01.01", "03.01.02"}), l({}));
    zeile("ohne Phrase", QStringLiteral("Rechnung erfassen"), l({"04.01.01", "05.01.01"}), l({}),
          l({}));
    zeile("UND", QStringLiteral("Skonto Rabatt"), l({"04.02.04"}), l({"05.01.02", "02.04.03"}),
          l({}));
    zeile("Titel zählt mehr", QStringLiteral("Rundung"), l({"04.02.05", "06.05.02"}), l({}),
          l({"04.02.05<06.05.02"}));
    zeile("Storno", QStringLiteral("Storno"), l({"04.03.01", "04.03.02", "03.02.05"}), l({}),
          l({}));
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
        QVERIFY2(s.nummern.contains(n),
                 qPrintable(n + QStringLiteral(" fehlt in ") + s.nummern.join(u' ')));
    for (const QString &n : nicht)
        QVERIFY2(!s.nummern.contains(n), qPrintable(n));
    for (const QString &paar : reihenfolge) {
        const QStringList ab = paar.split(u'<');
        QVERIFY2(s.nummern.indexOf(ab[0]) >= 0 &&
                     s.nummern.indexOf(ab[0]) < s.nummern.indexOf(ab[1]),
                 qPrintable(paar + QStringLiteral(": ") + s.nummern.join(u' ')));
    }
    // Every hit has its titles and a snippet, and no two hits name the same section.
    QCOMPARE(QSet<QString>(s.nummern.begin(), s.nummern.end()).size(), s.nummern.size());
    for (const VolltextTreffer &t : s.treffer) {
        QVERIFY(!t.abschnitt.isEmpty() && !t.thema.isEmpty() && !t.ausschnitt.isEmpty());
        QVERIFY(t.wert > 0);
    }
}

void TestVolltext::stichwortZuerst()
{
    // Sections with a keyword equal to the search text lead, whatever their score.
    const Suche s = suchen(QStringLiteral("Skonto"));
    QVERIFY(s.ok);
    int ersteOhne = -1;
    for (int i = 0; i < s.treffer.size(); ++i) {
        if (!s.treffer[i].stichwort && ersteOhne < 0)
            ersteOhne = i;
        if (s.treffer[i].stichwort)
            QVERIFY2(ersteOhne < 0, qPrintable(s.nummern.join(u' ')));
    }
    QCOMPARE(ersteOhne, 3);
    // Within each group, the better score first.
    for (int i = 1; i < s.treffer.size(); ++i)
        if (s.treffer[i].stichwort == s.treffer[i - 1].stichwort)
            QVERIFY(s.treffer[i].wert <= s.treffer[i - 1].wert);

    // Nothing to search, or nothing found: no hits, no box (the pane says so itself).
    for (const QString &leer :
         {QString(), QStringLiteral("   "), QStringLiteral("%_%"), QStringLiteral("\""),
          QStringLiteral("Xylophonquartett"), QString(20000, u'q')}) {
        const Suche k = suchen(leer);
        QVERIFY(k.ok);
        QCOMPARE(k.boxen, 0);
        QVERIFY(k.treffer.isEmpty());
        QCOMPARE(k.gesamt, 0);
    }
}

void TestVolltext::speicherWieGespeichert()
{
    const QStringList suchen_ = {QStringLiteral("Skonto"),
                                 QStringLiteral("Rechnung erfassen"),
                                 QStringLiteral("\"Rechnung erfassen\""),
                                 QStringLiteral("Groesse"),
                                 QStringLiteral("erstellt"),
                                 QStringLiteral("Mahnung drucken")};
    QList<Suche> gespeichert;
    for (const QString &s : suchen_)
        gespeichert << suchen(s);

    setzeDatenbankDatei(m_ohne);
    Volltextsuche::speicherVerwerfen();
    const int vorher = Volltextsuche::speicherAufbauten();
    for (int i = 0; i < suchen_.size(); ++i) {
        const Suche s = suchen(suchen_[i]);
        QVERIFY(s.ok);
        QCOMPARE(s.boxen, 0);
        QCOMPARE(Volltextsuche::letzteQuelle(), Volltextsuche::Quelle::Speicher);
        QCOMPARE(s.nummern, gespeichert[i].nummern);
        QCOMPARE(s.gesamt, gespeichert[i].gesamt);
        for (int j = 0; j < s.treffer.size(); ++j) {
            QCOMPARE(s.treffer[j].ausschnitt, gespeichert[i].treffer[j].ausschnitt);
            QVERIFY(qFuzzyCompare(s.treffer[j].wert, gespeichert[i].treffer[j].wert));
        }
    }
    // Built once for all these searches, and the pointer is normal again.
    QCOMPARE(Volltextsuche::speicherAufbauten(), vorher + 1);
    QCOMPARE(MauszeigerAktuell(), int(Zeiger::Normal));
}

void TestVolltext::speicherNeuNachAustausch()
{
    // A database replaced under the same name is indexed anew.
    const QString ordner = m_dir.filePath(QStringLiteral("tausch"));
    QVERIFY(QDir().mkpath(ordner));
    const QString datei = ordner + QStringLiteral("/HilfeBelna.mdb");
    const auto schreiben = [&](const char *wort) {
        HilfeDatenbankSchreiber s;
        QVERIFY(s.oeffnen(datei, QString::fromLatin1(HilfePasswort)));
        s.setVolltextIndex(false);
        const qint32 k = s.kapitelEinfuegen(1, QStringLiteral("K"), 1);
        const qint32 t = s.themaEinfuegen(k, 1, QStringLiteral("T"), 1);
        s.textEinfuegen(t, 1, QStringLiteral("A"), rtfAbsatz(wort), 1);
        QVERIFY(s.abschliessen());
    };
    schreiben("Kupferrohr");
    setzeDatenbankDatei(datei);
    QCOMPARE(suchen(QStringLiteral("Kupferrohr")).nummern, QStringList{"01.01.01"});
    const int vorher = Volltextsuche::speicherAufbauten();
    schreiben("Messingrohr");
    QVERIFY(suchen(QStringLiteral("Kupferrohr")).nummern.isEmpty());
    QCOMPARE(suchen(QStringLiteral("Messingrohr")).nummern, QStringList{"01.01.01"});
    QCOMPARE(Volltextsuche::speicherAufbauten(), vorher + 1);
}

void TestVolltext::veraltet()
{
    const QString datei = m_dir.filePath(QStringLiteral("veraltet.mdb"));
    QFile::remove(datei);
    QVERIFY(QFile::copy(m_mit, datei));
    setzeDatenbankDatei(datei);
    VolltextIndexZustand z;
    QVERIFY(indexPruefen(z));
    QVERIFY(z.vorhanden);
    QCOMPARE(z.version, VolltextIndex::Version);
    QCOMPARE(z.veraltet, QStringList());

    // 04.02.05 "Beträge, Rundung und Steuerausweis": a new title; one section removed.
    QVERIFY(sqlAusfuehren(datei, "UPDATE Texte SET Bezeichnung = 'Runden' WHERE ID = "
                                 "(SELECT Texte.ID FROM Texte INNER JOIN Themen ON Themen.ID = "
                                 "Texte.ThemenID INNER JOIN Kapitel ON Kapitel.ID = "
                                 "Themen.KapitelID WHERE Kapitel.Nummer = 4 AND Themen.Nummer = 2 "
                                 "AND Texte.Nummer = 5); DELETE FROM Texte WHERE ID = 1;"));
    QVERIFY(indexPruefen(z));
    QCOMPARE(z.veraltet.size(), 2);
    QVERIFY2(z.veraltet[0].startsWith(QStringLiteral("04.02.05: ")), qPrintable(z.veraltet[0]));
    QVERIFY2(z.veraltet[1].startsWith(QStringLiteral("Text-ID 1: ")), qPrintable(z.veraltet[1]));

    // An index of another version is not used: the search builds its own.
    QVERIFY(sqlAusfuehren(datei, "UPDATE VolltextInfo SET Wert = '0' WHERE Schluessel = "
                                 "'Version'"));
    QVERIFY(indexPruefen(z));
    QCOMPARE(z.version, 0);
    const Suche s = suchen(QStringLiteral("Runden"));
    QVERIFY(s.ok);
    QCOMPARE(Volltextsuche::letzteQuelle(), Volltextsuche::Quelle::Speicher);
    QVERIFY(s.nummern.contains(QStringLiteral("04.02.05")));

    // Without an index there is nothing stale.
    setzeDatenbankDatei(m_ohne);
    QVERIFY(indexPruefen(z));
    QVERIFY(!z.vorhanden);
    QVERIFY(z.veraltet.isEmpty());
}

void TestVolltext::hilfedbSuche()
{
    const ProgrammLauf l = programmLaufen(HILFEDB_PFAD, {"suche", m_mit, "Skonto"});
    QCOMPARE(l.code, 0);
    const QStringList zeilen = l.aus.split(u'\n', Qt::SkipEmptyParts);
    QVERIFY(zeilen.size() >= 5);
    // Help number, the keyword mark, the score, title and snippet.
    QVERIFY2(QRegularExpression(QStringLiteral("^05\\.01\\.02 \\* +[0-9.]+  Skontoabzug buchen — "))
                 .match(zeilen[0])
                 .hasMatch(),
             qPrintable(zeilen[0]));
    const ProgrammLauf k = programmLaufen(HILFEDB_PFAD, {"suche", m_mit, "%_%"});
    QCOMPARE(k.code, 0);
    QVERIFY(k.aus.startsWith(QStringLiteral("Kein Abschnitt enthält")));
    QCOMPARE(programmLaufen(HILFEDB_PFAD, {"suche", m_mit}).code, 2);
}

void TestVolltext::beschaedigt_data()
{
    QTest::addColumn<QByteArray>("sql");
    // What hilfedb pruefen must name.
    QTest::addColumn<QString>("meldung");
    zeile("Segmente Müll", QByteArray("UPDATE VolltextIndex_segments SET block = "
                                      "zeroblob(length(block))"),
          QStringLiteral("Volltextindex beschädigt"));
    zeile("Segmentverzeichnis Müll", QByteArray("UPDATE VolltextIndex_segdir SET root = "
                                                "zeroblob(length(root))"),
          QStringLiteral("Volltextindex beschädigt"));
    zeile("Schattentabelle fehlt", QByteArray("DROP TABLE VolltextIndex_segments"),
          QStringLiteral("Tabelle VolltextIndex_segments fehlt"));
    zeile("Indextabelle fehlt", QByteArray("DROP TABLE VolltextIndex"),
          QStringLiteral("Tabelle VolltextIndex fehlt"));
    zeile("Längen leer", QByteArray("DELETE FROM VolltextIndex_docsize"),
          QStringLiteral("Volltextindex beschädigt"));
    zeile("Statistik leer", QByteArray("DELETE FROM VolltextIndex_stat"),
          QStringLiteral("Volltextindex beschädigt"));
    zeile("Blöcke Müll", QByteArray("UPDATE VolltextBloecke SET Daten = substr(Daten, 1, 40)"),
          QStringLiteral("Volltextindex beschädigt"));
    zeile("Blöcke NULL", QByteArray("UPDATE VolltextBloecke SET Daten = NULL"),
          QStringLiteral("Volltextindex beschädigt"));
    zeile("Abschnitte verschoben",
          QByteArray("UPDATE VolltextAbschnitte SET Anfang = Anfang + 7 WHERE Anfang > 0"),
          QStringLiteral("Volltextindex beschädigt"));
    zeile("Abschnitte NULL",
          QByteArray("UPDATE VolltextAbschnitte SET Block = NULL, Anfang = NULL, Laenge = NULL"),
          QStringLiteral("Volltextindex beschädigt"));
    zeile("Phantomzeile", QByteArray("INSERT INTO VolltextIndex (docid, Titel, Text) VALUES "
                                     "(99999, 'skonto', 'skonto skonto')"),
          QStringLiteral("Volltextindex beschädigt"));
    zeile("veraltet", QByteArray("UPDATE Texte SET Text = replace(Text, 'Skonto', 'Rabatt')"),
          QStringLiteral("Volltextindex veraltet"));
}

void TestVolltext::beschaedigt()
{
    QFETCH(QByteArray, sql);
    QFETCH(QString, meldung);
    const QString datei = m_dir.filePath(QStringLiteral("beschaedigt.mdb"));
    const QString wahr = m_dir.filePath(QStringLiteral("wahr.mdb"));
    QFile::remove(datei);
    QFile::remove(wahr);
    QVERIFY(QFile::copy(m_mit, datei));
    QVERIFY(sqlAusfuehren(datei, sql.constData()));
    // The hits as an index built from the texts gives them.
    QVERIFY(QFile::copy(datei, wahr));
    QVERIFY(sqlAusfuehren(wahr, "DROP TABLE IF EXISTS VolltextIndex; DROP TABLE IF EXISTS "
                                "VolltextAbschnitte; DROP TABLE IF EXISTS VolltextBloecke; "
                                "DROP TABLE IF EXISTS VolltextInfo;"));

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
