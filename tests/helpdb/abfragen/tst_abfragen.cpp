// The content and keyword queries on a small database written for the test: file check and
// connection string, SQL order and collation, the 0..n arrays, pictures, LIKE through the
// search pattern, the join of the keyword index, and results beyond 32767 rows.
#include "Datenbank.h"
#include "Datensatzgruppe.h"
#include "Global.h"
#include "HilfeDatenbankSchreiber.h"
#include "Inhaltsabfragen.h"
#include "MeldungSkript.h"
#include "Stichwortabfragen.h"
#include "TestHilfen.h"

#include <QtTest>

class TestAbfragen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void verbindungstext();
    void verbindungstextOhnePasswort();
    void kapitelInReihenfolge();
    void themenOhneZeilen();
    void themenEinesKapitels();
    void texteInReihenfolge();
    void bildLesen_data();
    void bildLesen();
    void bildFehltLaesstWerteStehen();
    void woerterSuchen_data();
    void woerterSuchen();
    void leererSuchtext();
    void texteZumWort_data();
    void texteZumWort();
    void grossesErgebnis();
    void spaltenOhneSortierung();
    void zahlAmAnfang_data();
    void zahlAmAnfang();

private:
    QTemporaryDir m_dir;
    qint32 m_kapitel[4] = {};
    qint32 m_kunden = 0;
    qint32 m_texte[3] = {};
    qint32 m_ohneTitel = 0;
    QHash<QString, qint32> m_woerter;
};

void TestAbfragen::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    HilfeDatenbankSchreiber s;
    QString fehler;
    QVERIFY2(s.oeffnen(m_dir.filePath("HilfeBelna.mdb"), HilfePasswort, &fehler),
             qPrintable(fehler));
    m_kapitel[1] = s.kapitelEinfuegen(1, "Erste Schritte", 3);
    m_kapitel[2] = s.kapitelEinfuegen(2, "Stammdaten", 1);
    m_kapitel[3] = s.kapitelEinfuegen(3, "Zahlung", 2);
    m_kunden = s.themaEinfuegen(m_kapitel[2], 1, "Kunden", 2);
    s.themaEinfuegen(m_kapitel[2], 2, "Artikel", 1);
    const qint32 erste = s.themaEinfuegen(m_kapitel[1], 1, "Start", 1);
    m_texte[0] = s.textEinfuegen(m_kunden, 4, "Zahlungsbedingungen", "{\\rtf1 drei}", 3);
    m_texte[1] = s.textEinfuegen(m_kunden, 1, "anlegen", "{\\rtf1 eins}", 1);
    m_texte[2] = s.textEinfuegen(m_kunden, 2, "Ändern", "{\\rtf1 zwei}", 2);
    m_ohneTitel = s.textEinfuegen(erste, 7, "x", "{\\rtf1}", 1);
    const QStringList woerter{"Kunde",     "Soll-Ist",   "SollxIst",   "O'Neil",     "Zahlung",
                              "angebot",   "Ärger",      "50% Rabatt", "50x Rabatt", "a_b",
                              "[Klammer]", "Feld \"A\"", "doppelt",    "leer",       "ohne"};
    for (const QString &w : woerter)
        m_woerter.insert(w, s.wortEinfuegen(w));
    for (qint32 t : m_texte)
        s.zuordnungEinfuegen(m_woerter["Kunde"], t);
    s.zuordnungEinfuegen(m_woerter["doppelt"], m_texte[1]);
    s.zuordnungEinfuegen(m_woerter["doppelt"], m_texte[1]);
    s.zuordnungEinfuegen(m_woerter["leer"], m_ohneTitel);
    s.bildEinfuegen(12, QByteArray("PK\x03\x04zwölf", 10), "Bild zwölf");
    s.bildEinfuegen(12, "PKzweites", "zweites");
    s.bildEinfuegen(0, "PKnull", "Bild null");
    // The old form: the archive as text, one character per byte read in Windows-1252.
    QVERIFY(s.ausfuehren("INSERT INTO Bilder VALUES (7, 'Pâ€', 'alt')"));
    // A section whose title is empty (null): its display line starts with the tab.
    QVERIFY(s.ausfuehren(
        QString("UPDATE Texte SET Bezeichnung = NULL WHERE ID = %1").arg(m_ohneTitel)));
    QVERIFY2(s.abschliessen(&fehler), qPrintable(fehler));
}

void TestAbfragen::init()
{
    gsPasswort = HilfePasswort;
    setzeProgrammVerzeichnis(m_dir.path());
}

void TestAbfragen::verbindungstext()
{
    SkriptMeldungen skript;
    QVERIFY(DatenbankPruefen());
    QCOMPARE(msDatenbank, m_dir.path() + "/HilfeBelna.mdb");
    QCOMPARE(msVerbindung, "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + m_dir.path() +
                               "/HilfeBelna.mdb;Jet OLEDB:Database Password=QKV4815");
    QCOMPARE(skript.anzahl(), 0);
}

void TestAbfragen::verbindungstextOhnePasswort()
{
    gsPasswort.clear();
    QVERIFY(DatenbankPruefen());
    QVERIFY(msVerbindung.endsWith(";Jet OLEDB:Database Password="));
    QString datei, passwort;
    QVERIFY(verbindungZerlegen(msVerbindung, &datei, &passwort));
    QCOMPARE(datei, msDatenbank);
    QCOMPARE(passwort, QString());
}

void TestAbfragen::kapitelInReihenfolge()
{
    QList<QString> b;
    QList<qint32> id, nr;
    QVERIFY(KapitelLesen(b, id, nr));
    QCOMPARE(b, (QList<QString>{"", "Stammdaten", "Zahlung", "Erste Schritte"}));
    QCOMPARE(id, (QList<qint32>{0, m_kapitel[2], m_kapitel[3], m_kapitel[1]}));
    QCOMPARE(nr, (QList<qint32>{0, 2, 3, 1}));
}

void TestAbfragen::themenOhneZeilen()
{
    QList<QString> b{"alt", "alt"};
    QList<qint32> id{5, 6}, nr{7};
    QVERIFY(ThemenLesen(b, id, nr, m_kapitel[3]));
    QCOMPARE(b, QList<QString>{""});
    QCOMPARE(id, QList<qint32>{0});
    QCOMPARE(nr, QList<qint32>{0});
    // A negative key is written with its sign and simply matches nothing.
    QVERIFY(ThemenLesen(b, id, nr, -7));
    QCOMPARE(b.size(), 1);
}

void TestAbfragen::themenEinesKapitels()
{
    QList<QString> b;
    QList<qint32> id, nr;
    QVERIFY(ThemenLesen(b, id, nr, m_kapitel[2]));
    QCOMPARE(b, (QList<QString>{"", "Artikel", "Kunden"}));
    QCOMPARE(nr, (QList<qint32>{0, 2, 1}));
    QCOMPARE(id.at(2), m_kunden);
}

void TestAbfragen::texteInReihenfolge()
{
    QList<QString> b, text;
    QList<qint32> id, nr;
    QVERIFY(TexteLesen(b, id, nr, text, m_kunden));
    QCOMPARE(b, (QList<QString>{"", "anlegen", "Ändern", "Zahlungsbedingungen"}));
    QCOMPARE(id, (QList<qint32>{0, m_texte[1], m_texte[2], m_texte[0]}));
    QCOMPARE(nr, (QList<qint32>{0, 1, 2, 4}));
    QCOMPARE(text, (QList<QString>{"", "{\\rtf1 eins}", "{\\rtf1 zwei}", "{\\rtf1 drei}"}));
}

void TestAbfragen::bildLesen_data()
{
    QTest::addColumn<QString>("nummer");
    QTest::addColumn<QByteArray>("bild");
    QTest::addColumn<QString>("bezeichnung");
    zeile("führende-nullen", "00012", QByteArray("PK\x03\x04zwölf", 10), "Bild zwölf");
    zeile("blanks-und-rest", "  12abc", QByteArray("PK\x03\x04zwölf", 10), "Bild zwölf");
    QTest::newRow("leer-ist-null") << "" << QByteArray("PKnull") << "Bild null";
    QTest::newRow("text-ist-null") << "x" << QByteArray("PKnull") << "Bild null";
    QTest::newRow("alte-textform") << "7" << QByteArray("P\xe2\x80", 3) << "alt";
}

void TestAbfragen::bildLesen()
{
    QFETCH(QString, nummer);
    QFETCH(QByteArray, bild);
    QFETCH(QString, bezeichnung);
    QByteArray b;
    QString bez;
    QVERIFY(BildLesen(nummer, b, bez));
    QCOMPARE(b, bild);
    QCOMPARE(bez, bezeichnung);
}

void TestAbfragen::bildFehltLaesstWerteStehen()
{
    SkriptMeldungen skript;
    QByteArray b("vorher");
    QString bez("vorher");
    QVERIFY(!BildLesen("99", b, bez));
    QVERIFY(!BildLesen("12.5", b, bez));
    QCOMPARE(b, QByteArray("vorher"));
    QCOMPARE(bez, QString("vorher"));
    QCOMPARE(skript.anzahl(), 0);
}

void TestAbfragen::woerterSuchen_data()
{
    QTest::addColumn<QString>("suchtext");
    QTest::addColumn<QStringList>("woerter");
    QTest::newRow("kunde") << "kunde" << QStringList{"Kunde"};
    QTest::newRow("quote") << "O'Neil" << QStringList{"O'Neil"};
    QTest::newRow("bindestrich") << "Soll-Ist" << QStringList{"Soll-Ist"};
    QTest::newRow("doppelquote") << "\"A\"" << QStringList{"Feld \"A\""};
    QTest::newRow("prozent-ist-muster") << "50%R" << QStringList{"50% Rabatt", "50x Rabatt"};
    QTest::newRow("unterstrich-ist-muster") << "a_b" << QStringList{"a_b"};
    QTest::newRow("klammer-ist-klasse") << "[ä]rger" << QStringList{"Ärger"};
    QTest::newRow("offene-klammer") << "[Kl" << QStringList{"[Klammer]"};
    QTest::newRow("kein-treffer") << "gibtsnicht" << QStringList{};
    QTest::newRow("ausbruch") << "x' OR '1'='1" << QStringList{};
    QTest::newRow("ausbruch-kommentar") << "'; DROP TABLE Kapitel; --" << QStringList{};
    QTest::newRow("rueckstrich") << "\\" << QStringList{};
    // German order: "angebot" before "Ärger" before "Zahlung".
    zeile("nur-prozent", "%",
          QStringList{"50% Rabatt", "50x Rabatt", "[Klammer]", "a_b", "angebot", "Ärger", "doppelt",
                      "Feld \"A\"", "Kunde", "leer", "O'Neil", "ohne", "Soll-Ist", "SollxIst",
                      "Zahlung"});
}

void TestAbfragen::woerterSuchen()
{
    QFETCH(QString, suchtext);
    QFETCH(QStringList, woerter);
    SkriptMeldungen skript;
    QList<QString> wort;
    QList<qint32> id;
    QVERIFY(WoerterSuchen(suchtext, wort, id));
    QCOMPARE(skript.anzahl(), 0);
    QCOMPARE(wort.size(), woerter.size() + 1);
    QCOMPARE(id.size(), woerter.size() + 1);
    QCOMPARE(wort.at(0), QString());
    QCOMPARE(id.at(0), 0);
    QCOMPARE(QStringList(wort.mid(1)), woerter);
    for (int i = 1; i < wort.size(); ++i)
        QCOMPARE(id.at(i), m_woerter.value(wort.at(i)));
    // The tables are still all there.
    QList<QString> b;
    QList<qint32> k, n;
    QVERIFY(KapitelLesen(b, k, n));
    QCOMPARE(b.size(), 4);
}

void TestAbfragen::leererSuchtext()
{
    SkriptMeldungen skript;
    QList<QString> wort{"a", "b"};
    QList<qint32> id{1, 2};
    QVERIFY(!WoerterSuchen(QString(), wort, id));
    QCOMPARE(wort, QList<QString>{""});
    QCOMPARE(id, QList<qint32>{0});
    QCOMPARE(skript.anzahl(), 0);
}

// Rows ordered by section title, a pair stored twice listed twice, a section without title
// starting with the tab, a keyword without texts giving only the empty first row; lists that
// held something before are replaced.
void TestAbfragen::texteZumWort_data()
{
    QTest::addColumn<QString>("wort");
    QTest::addColumn<QStringList>("zeilen");
    QTest::addColumn<QStringList>("nummern");
    QTest::addColumn<QList<qint32>>("ids");
    const QString kunden = "\tStammdaten\tKunden";
    zeile("Kunde", QString("Kunde"),
          QStringList{"", "Ändern" + kunden, "anlegen" + kunden, "Zahlungsbedingungen" + kunden},
          QStringList{"", "2.1.2", "2.1.1", "2.1.4"},
          QList<qint32>{0, m_texte[2], m_texte[1], m_texte[0]});
    zeile("doppelt", QString("doppelt"), QStringList{"", "anlegen" + kunden, "anlegen" + kunden},
          QStringList{"", "2.1.1", "2.1.1"}, QList<qint32>{0, m_texte[1], m_texte[1]});
    zeile("ohne Titel", QString("leer"), QStringList{"", "\tErste Schritte\tStart"},
          QStringList{"", "1.1.7"}, QList<qint32>{0, m_ohneTitel});
    zeile("ohne Zuordnung", QString("ohne"), QStringList{""}, QStringList{""}, QList<qint32>{0});
}

void TestAbfragen::texteZumWort()
{
    QFETCH(QString, wort);
    QFETCH(QStringList, zeilen);
    QFETCH(QStringList, nummern);
    QFETCH(QList<qint32>, ids);
    QList<QString> zeile{"x"}, nummer{"y"};
    QList<qint32> textId{3};
    QVERIFY(TexteZumWort(m_woerter[wort], zeile, textId, nummer));
    QCOMPARE(zeile, zeilen);
    QCOMPARE(nummer, nummern);
    QCOMPARE(textId, ids);
}

void TestAbfragen::grossesErgebnis()
{
    // More rows than a 16-bit counter holds are returned in full.
    QTemporaryDir dir;
    HilfeDatenbankSchreiber s;
    QVERIFY(s.oeffnen(dir.filePath("HilfeBelna.mdb"), HilfePasswort));
    const int anzahl = 40000;
    for (int i = 0; i < anzahl; ++i)
        s.wortEinfuegen(QString("Wort%1").arg(anzahl - i, 5, 10, QChar('0')));
    QVERIFY(s.abschliessen());
    setzeProgrammVerzeichnis(dir.path());
    QList<QString> wort;
    QList<qint32> id;
    QVERIFY(WoerterSuchen("wort", wort, id));
    QCOMPARE(wort.size(), anzahl + 1);
    QCOMPARE(wort.at(1), QString("Wort00001"));
    QCOMPARE(wort.at(anzahl), QString("Wort40000"));
    QCOMPARE(id.at(anzahl), 1);
}

void TestAbfragen::spaltenOhneSortierung()
{
    // Files whose text columns carry no collation, or one this program does not know, are read.
    for (const char *spalte : {"Wort TEXT", "Wort TEXT COLLATE FREMD"}) {
        QTemporaryDir dir;
        HilfeDatenbankSchreiber s;
        QVERIFY(s.oeffnen(dir.filePath("HilfeBelna.mdb"), HilfePasswort));
        QVERIFY(s.ausfuehren(QString("DROP TABLE WörterIndex; CREATE TABLE WörterIndex "
                                     "(ID INTEGER PRIMARY KEY, %1)")
                                 .arg(spalte)));
        s.wortEinfuegen("Zahlung");
        s.wortEinfuegen("angebot");
        QVERIFY(s.abschliessen());
        setzeProgrammVerzeichnis(dir.path());
        SkriptMeldungen skript;
        QList<QString> wort;
        QList<qint32> id;
        QVERIFY(WoerterSuchen("%", wort, id));
        QCOMPARE(wort.size(), 3);
        QCOMPARE(skript.anzahl(), 0);
        Datensatzgruppe::verbindungVerwerfen();
    }
}

void TestAbfragen::zahlAmAnfang_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("zahl");
    zeile("null-vorne", "00012", "12");
    zeile("leer", "", "0");
    zeile("buchstabe", "x", "0");
    zeile("blanks", "   5", "5");
    zeile("rest", "5b7", "5");
    zeile("negativ", "-3", "-3");
    zeile("plus", "+4", "4");
    zeile("bruch", "12.5", "12.5");
    zeile("bruch-null", "12.0", "12");
    zeile("nur-vorzeichen", "-", "0");
    zeile("einschleusen", "1 OR 1=1", "1");
    zeile("riesig", "99999999999999999999", "1e+20");
}

void TestAbfragen::zahlAmAnfang()
{
    QFETCH(QString, text);
    QFETCH(QString, zahl);
    QCOMPARE(::zahlAmAnfang(text), zahl);
}

QTEST_GUILESS_MAIN(TestAbfragen)
#include "tst_abfragen.moc"
