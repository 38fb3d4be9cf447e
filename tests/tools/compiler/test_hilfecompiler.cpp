// The help compiler without a database: parser and messages, inline markup, RTF, mock screens.
#include "HilfeCompiler.h"
#include "InlineZerleger.h"
#include "MaskenZeichner.h"
#include "QuellParser.h"
#include "RtfErzeuger.h"
#include "TestHilfen.h"

#include <QtTest>

namespace {

// A run as "text" with markers: [F] bold, [K] italic, [U] underlined, [T:ziel] text link,
// [B:ziel] picture link; runs joined by ";".
QString beschreiben(const QList<TextStueck> &stuecke)
{
    QStringList aus;
    for (const TextStueck &s : stuecke) {
        QString t = s.text + (s.fett ? "[F]" : "") + (s.kursiv ? "[K]" : "") +
                    (s.unterstrichen ? "[U]" : "");
        if (s.verweis == TextStueck::Verweis::Text)
            t += QStringLiteral("[T:%1]").arg(s.ziel);
        if (s.verweis == TextStueck::Verweis::Bild)
            t += QStringLiteral("[B:%1]").arg(s.ziel);
        aus << t;
    }
    return aus.join(QLatin1Char(';'));
}

// A chapter whose second section holds n paragraphs of 1023 characters.
QByteArray langerAbschnitt(int n)
{
    return "= 1 | K\n== 1 | T\n=== 1 | Kurz\nx\n=== 2 | Lang\n" +
           (QByteArray(1023, 'x') + "\n\n").repeated(n);
}

} // namespace

class TestHilfeCompiler : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void inlineMarkup_data();
    void inlineMarkup();
    void rtfMaskieren_data();
    void rtfMaskieren();
    void rtfLinks();
    void bloecke();
    void fehler_data();
    void fehler();
    void fastZuLangerAbschnitt();
    void alleFehlerEinesLaufs();
    void warnung_data();
    void warnung();
    void wiederverwendung();
    void maske_data();
    void maske();
};

void TestHilfeCompiler::inlineMarkup_data()
{
    QTest::addColumn<QStringList>("zeilen");
    QTest::addColumn<QString>("erwartet");
    zeile("zeilen verbunden", QStringList{"Erste", "zweite Zeile"}, "Erste zweite Zeile");
    QTest::newRow("verschachtelt")
        << QStringList{"**fett //beides//** __u__"} << "fett [F];beides[F][K]; ;u[U]";
    QTest::newRow("über zeilen") << QStringList{"**an", "aus** x"} << "an aus[F]; x";
    QTest::newRow("bildlink") << QStringList{"[[Bild 12| Maske ]]"} << "Maske[B:12]";
    QTest::newRow("bildlink führende null") << QStringList{"[[Bild 007|x]]"} << "x[B:7]";
    QTest::newRow("link in fett") << QStringList{"**[[01.01.01|a]]**"} << "a[F][T:01.01.01]";
    QTest::newRow("escape") << QStringList{"\\*\\*kein fett\\*\\* \\[[x"} << "**kein fett** [[x";
    QTest::newRow("einzelne zeichen") << QStringList{"a*b/c_d ]] e"} << "a*b/c_d ]] e";
    QTest::newRow("marke") << QStringList{"[[#E-Rechnung|x]]"} << "x[T:#e-rechnung]";
    QTest::newRow("marke ohne text") << QStringList{"[[#m_1]]"} << "[T:#m_1]";
}

void TestHilfeCompiler::inlineMarkup()
{
    QFETCH(QStringList, zeilen);
    QFETCH(QString, erwartet);
    QList<InlineZerleger::Zeile> eingabe;
    for (int i = 0; i < zeilen.size(); ++i)
        eingabe << InlineZerleger::Zeile{10 + i, zeilen[i]};
    QList<TextStueck> stuecke;
    int fz = -1;
    QString ft;
    QVERIFY2(InlineZerleger::zerlegen(eingabe, stuecke, fz, ft), qPrintable(ft));
    QCOMPARE(beschreiben(stuecke), erwartet);
}

void TestHilfeCompiler::rtfMaskieren_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("rtf");
    // Windows-1252 characters, braces, backslash: read back in the database build test.
    zeile("tab", "a\tb", "a\\tab b");
    QTest::newRow("über 32767") << QString(QChar(0xFB01)) << "\\u-1279?";
    zeile("außerhalb bmp", QString::fromUtf8("\xF0\x9D\x84\x9E"), "\\u-10188?\\u-8930?");
    QTest::newRow("c1-steuerzeichen") << QString(QChar(0x80)) << "\\u128?";
    zeile("steuerzeichen", QString("a") + QChar(7) + "b", "ab");
}

void TestHilfeCompiler::rtfMaskieren()
{
    QFETCH(QString, text);
    QFETCH(QString, rtf);
    QCOMPARE(RtfErzeuger::maskieren(text), rtf);
}

void TestHilfeCompiler::rtfLinks()
{
    QList<TextStueck> stuecke;
    int fz = 0;
    QString ft;
    QVERIFY(InlineZerleger::zerlegen(
        {{1, "Siehe [[03.02.05|Rechnung {neu}]] und [[Bild 12|Maske]]."}}, stuecke, fz, ft));
    TextBlock b;
    b.stuecke = stuecke;
    const QString rtf = RtfErzeuger::erzeugen({b});
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 "
                           "Arial;}}"));
    QVERIFY(rtf.contains("\\fs20"));
    // Tags and link text share one group: the tags vanish without leaving formatting behind.
    QVERIFY2(rtf.contains("{\\cf1\\ul \\{T03.02.05\\}Rechnung \\{neu\\}\\{TE\\}}"),
             qPrintable(rtf));
    QVERIFY2(rtf.contains("{\\cf2\\ul \\{P00012\\}Maske\\{PE\\}}"), qPrintable(rtf));
    QCOMPARE(rtf.count('{') - rtf.count("\\{"), rtf.count('}') - rtf.count("\\}"));
    QCOMPARE(RtfErzeuger::sichtbarerText({b}),
             "Siehe {T03.02.05}Rechnung {neu}{TE} und {P00012}Maske{PE}.\r");
}

// A section's blocks as parsed and as written in RTF.
void TestHilfeCompiler::bloecke()
{
    HilfeQuelle q;
    QList<QuellFehler> fehler;
    QuellParser::kapitelDateiLesen("a.txt",
                                   "# Kommentar\n= 4 | Rechnungen\n== 1 | Rechnung erfassen\n"
                                   "=== 2 | Den Kunden auswählen\n"
                                   "Stichwörter: Rechnung; Kunde ;; Rechnungsdatum\n"
                                   "Erste Zeile\nzweite Zeile\n\n- Punkt\n  fortgesetzt\n- zwei\n"
                                   "neuer Absatz\n> Hinweis: //wichtig//\n> weiter\n"
                                   "12. Schritt\n2. dann\nStichwörter: Nachtrag\n",
                                   q, fehler);
    QVERIFY(fehler.isEmpty());
    QCOMPARE(q.kapitel.size(), 1);
    QCOMPARE(q.kapitel[0].nummer, 4);
    QCOMPARE(q.kapitel[0].titel, "Rechnungen");
    const QuellAbschnitt &a = q.kapitel[0].themen[0].abschnitte[0];
    QCOMPARE(a.nummer, 2);
    QCOMPARE(a.titel, "Den Kunden auswählen");
    QCOMPARE(a.zeile, 4);
    QCOMPARE(a.stichwoerter, (QStringList{"Rechnung", "Kunde", "Rechnungsdatum", "Nachtrag"}));
    using A = TextBlock::Art;
    const auto block = [](A art, const QString &nummer, const QString &text) {
        return QStringLiteral("%1 %2 %3").arg(int(art)).arg(nummer, text);
    };
    QStringList bloecke;
    for (const TextBlock &b : a.bloecke)
        bloecke << block(b.art, b.nummer, beschreiben(b.stuecke));
    QCOMPARE(
        bloecke,
        (QStringList{block(A::Absatz, "", "Erste Zeile zweite Zeile"),
                     block(A::Aufzaehlung, "", "Punkt fortgesetzt"),
                     block(A::Aufzaehlung, "", "zwei"), block(A::Absatz, "", "neuer Absatz"),
                     block(A::Hinweis, "", "Hinweis: ;wichtig[K]; weiter"),
                     block(A::Nummeriert, "12", "Schritt"), block(A::Nummeriert, "2", "dann")}));

    const QString rtf = RtfErzeuger::erzeugen(a.bloecke);
    // Bullets: hanging indent with a real bullet character (cp1252 0x95) and a tab.
    QVERIFY2(rtf.contains("\\fi-360\\li720\\tx720 \\'95\\tab Punkt fortgesetzt\\par"),
             qPrintable(rtf));
    QVERIFY(rtf.contains("12.\\tab Schritt\\par"));
    // Note: indented and italic, also where the writer marked italics.
    QVERIFY2(rtf.contains("\\li720 {\\i Hinweis: }{\\i wichtig}"), qPrintable(rtf));
    // Items of one list follow without an empty paragraph; other blocks, a list of another
    // kind too, are separated by one.
    QCOMPARE(RtfErzeuger::sichtbarerText(a.bloecke),
             "Erste Zeile zweite Zeile\r\r\u2022\tPunkt fortgesetzt\r\u2022\tzwei\r\r"
             "neuer Absatz\r\rHinweis: wichtig weiter\r\r12.\tSchritt\r2.\tdann\r");
    QVERIFY(rtf.endsWith("}\r\n"));
}

void TestHilfeCompiler::fehler_data()
{
    // Compiles kapitel/01-a.txt (and 02-b.txt or a picture): first message at ort, naming wort.
    QTest::addColumn<QByteArray>("datei1");
    QTest::addColumn<QByteArray>("datei2");
    QTest::addColumn<QString>("bildName");
    QTest::addColumn<QByteArray>("bild");
    QTest::addColumn<QString>("ort");
    QTest::addColumn<QString>("wort");
    const QByteArray k = "= 1 | Erste Schritte\n== 1 | Willkommen\n=== 1 | Start\nText.\n";
    const QByteArray kopf = "= 1 | K\n== 1 | T\n=== 1 | A\n";
    // A fault in kapitel/01-a.txt at line n, or in a picture beside a valid chapter.
    const auto text = [](const char *name, const QByteArray &datei, int n, const char *wort) {
        zeile(name, datei, QByteArray(), QString(), QByteArray(),
              QString("kapitel/01-a.txt:%1:").arg(n), QString(wort));
    };
    const auto bild = [&k](const char *name, const char *bildName, const QByteArray &bild,
                           const char *ort, const char *wort) {
        zeile(name, k, QByteArray(), QString(bildName), bild, QString(ort), QString(wort));
    };
    text("textlink ins leere", kopf + "a\n\nb [[01.01.02|x]]\n", 6, "01.01.02");
    text("bildlink ins leere", kopf + "[[Bild 3|x]]\n", 4, "Bild 3");
    text("link nicht geschlossen", kopf + "a\nb [[01.01.01|x\n", 5, "[[");
    text("linkziel kurz", kopf + "[[1.1.1|x]]\n", 4, "Linkziel");
    text("fett offen", kopf + "a\nb **c\nd\n", 5, "**");
    text("reserviert über läufe", kopf + "a\n{**T**}\n", 5, "{T");
    text("abschnitt ohne thema", "= 1 | K\n\n=== 1 | A\n", 3, "außerhalb eines Themas");
    text("stichwörter ohne abschnitt", "= 1 | K\nStichwörter: a\n", 2, "Stichwörter");
    zeile("kapitel doppelt", k, QByteArray("\n= 1 | Noch eins\n"), QString(), QByteArray(),
          QString("kapitel/02-b.txt:2:"), QString("kapitel/01-a.txt:1"));
    text("thema doppelt", k + "== 1 | T2\n", 5, "Thema 1");
    text("nummer zu groß", "= 100 | K\n", 1, "99");
    text("ohne titel", k + "== 2 |  \n", 5, "Titel fehlt");
    text("vier gleich", k + "==== 1 | x\n", 5, "Überschrift");
    text("variable unbekannt", kopf + "a {{Gibtsnicht}}\n", 4, "{{Gibtsnicht}}");
    text("stichwort ohne ö", kopf + "a\nStichwort: b\n", 5, "Stichwörter:");
    text("abbildung ohne bild", kopf + "Abbildung: 3\n", 4, "Bild N");
    text("marke doppelt", "= 1 | K\n== 1 | T\n=== 1 | A {#m}\n=== 2 | B {#M}\n", 4, "#m");
    text("marke unbekannt", kopf + "[[#fehlt]]\n", 4, "#fehlt");
    text("marke am kapitel", "= 1 | K {#m}\n", 1, "Abschnitten");
    text("marke ungültig", "= 1 | K\n== 1 | T\n=== 1 | A {#ä}\n", 3, "{#ä}");
    text("einfügen außerhalb", kopf + "Einfügen: ../x.txt\n", 4, "Quellordner");
    text("einfügen fehlt", kopf + "Einfügen: fehlt.txt\n", 4, "fehlt.txt");
    text("einfügen sich selbst", kopf + "Einfügen: kapitel/01-a.txt\n", 4, "selbst");
    text("fortsetzung ohne kapitel", "= 3\n== 1 | T\n", 1, "Kapitel 3");
    zeile("beschriftung doppelt", kopf + "Abbildung: Bild 1 | a\nAbbildung: Bild 1 | b\n",
          QByteArray(), QString("00001-x.maske"), QByteArray("Titel: X\n"),
          QString("kapitel/01-a.txt:5:"), QString("„a“"));
    text("abschnitt zu lang", langerAbschnitt(32), 5, "32767");
    text("kein utf8",
         kopf + "gut\nSch\xf6"
                "n\n",
         5, "UTF-8");
    bild("maske unbekannt", "00001-x.maske", "Titel: X\n\nKnopf: OK\n",
         "bilder/00001-x.maske:3:", "Knopf");
    bild("maske größe", "00001-x.maske", "Titel: X\nGröße: 10 x 10\n",
         "bilder/00001-x.maske:2:", "Größe");
    bild("maske ohne titel", "00001-x.maske", "Feld: A | B\n", "bilder/00001-x.maske: ", "Titel");
    bild("bildname", "bild.png", "x", "bilder/bild.png: ", "NNNNN");
    bild("bild kaputt", "00002-x.png", "kein png", "bilder/00002-x.png: ", "Bild");
}

void TestHilfeCompiler::fehler()
{
    QFETCH(QByteArray, datei1);
    QFETCH(QByteArray, datei2);
    QFETCH(QString, bildName);
    QFETCH(QByteArray, bild);
    QFETCH(QString, ort);
    QFETCH(QString, wort);
    QTemporaryDir dir;
    dateiSchreiben(dir.filePath("quelle/kapitel/01-a.txt"), datei1);
    if (!datei2.isEmpty())
        dateiSchreiben(dir.filePath("quelle/kapitel/02-b.txt"), datei2);
    if (!bildName.isEmpty())
        dateiSchreiben(dir.filePath("quelle/bilder/") + bildName, bild);
    const QString ziel = dir.filePath("HilfeBelna.mdb");
    QStringList meldungen;
    QVERIFY(!HilfeCompiler::erstellen(dir.filePath("quelle"), ziel, meldungen));
    QVERIFY2(meldungen.value(0).startsWith(ort), qPrintable(meldungen.join('\n')));
    QVERIFY2(meldungen.first().contains(wort), qPrintable(meldungen.first()));
    // A refused build leaves no database behind, not even a partial one.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

// 32 paragraphs take 32 * 1024 = 32768 visible characters (too long, see fehler); 31 fit.
void TestHilfeCompiler::fastZuLangerAbschnitt()
{
    HilfeQuelle q;
    QList<QuellFehler> fehler;
    QuellParser::kapitelDateiLesen("01.txt", QString::fromLatin1(langerAbschnitt(31)), q, fehler);
    QuellParser::pruefen(q, fehler);
    QVERIFY(fehler.isEmpty());
}

// Errors in several files are all reported in one run, sorted, with the count.
void TestHilfeCompiler::alleFehlerEinesLaufs()
{
    QTemporaryDir dir;
    dateiSchreiben(dir.filePath("kapitel/02-b.txt"),
                   "= 1 | Noch eins\n== 1 | T\n=== 1 | A\n[[09.09.09|weg]]\n\n[[Bild 7|weg]]\n");
    dateiSchreiben(dir.filePath("kapitel/01-a.txt"), "= 1 | K\n== 1 | T\n=== 1 | A\n**offen\n");
    dateiSchreiben(dir.filePath("bilder/00003-frei.maske"), "Titel: Frei\n");
    QStringList meldungen;
    HilfeCompiler::Ergebnis e;
    QVERIFY(!HilfeCompiler::erstellen(dir.path(), dir.filePath("x.mdb"), meldungen, nullptr, false,
                                      &e));
    QStringList orte;
    for (const QString &m : std::as_const(meldungen))
        orte << m.section(QLatin1Char(' '), 0, 1);
    QCOMPARE(orte, (QStringList{"bilder/00003-frei.maske: Warnung:",
                                "kapitel/01-a.txt:4: Auszeichnung", "kapitel/02-b.txt:1: Kapitel",
                                "kapitel/02-b.txt:4: Link", "kapitel/02-b.txt:6: Link"}));
    QCOMPARE(e.fehler, 4);
    QCOMPARE(e.warnungen, 1);
}

void TestHilfeCompiler::warnung_data()
{
    // Compiles kapitel/01-a.txt with picture 1 (the mask): one warning, expected at ort.
    QTest::addColumn<QByteArray>("kapitel");
    QTest::addColumn<QByteArray>("maske");
    QTest::addColumn<QString>("ort");
    QTest::addColumn<QString>("wort");
    const QByteArray kopf = "= 1 | K\n== 1 | T\n=== 1 | Rechnung erfassen\nSiehe [[Bild 1|B]].\n";
    const QByteArray maske = "Titel: M\n";
    zeile("titel zu lang", kopf + "=== 2 | " + QByteArray(288, 'x') + "\nx\n", maske,
          QString("kapitel/01-a.txt:5: Warnung:"), QString("Kopfzeile"));
    zeile("maske zu klein", kopf,
          QByteArray("Titel: M\nGröße: 200 x 130\n") + "Feld: A | B\n" +
              QByteArray("Feld: Kunde | C\n").repeated(8),
          QString("bilder/00001-m.maske:"), QString("„Kunde“ passt nicht"));
    zeile("rtf-block link ins leere",
          kopf + "=== 2 | R\n```rtf\n{\\rtf1\\ansi {\\ul \\{T09.09.09\\}x\\{TE\\}}\\par}\n```\n",
          maske, QString("kapitel/01-a.txt:5: Warnung: RTF-Block: Link auf 09.09.09"),
          QString("gibt es nicht"));
    // The number now belongs to a section the link's text does not name.
    zeile("nummer neu vergeben",
          kopf + "=== 2 | Gutschrift stornieren\n"
                 "[[01.01.01|Rechnung erfassen]] und [[01.01.01|Erfassen der Rechnung]] passen, "
                 "[[01.01.02|E-Rechnung ausgeben]] nicht.\n",
          maske,
          QString("kapitel/01-a.txt:6: Warnung: Link „E-Rechnung ausgeben“ führt zu 01.01.02"),
          QString("Marke"));
}

void TestHilfeCompiler::warnung()
{
    QFETCH(QByteArray, kapitel);
    QFETCH(QByteArray, maske);
    QFETCH(QString, ort);
    QFETCH(QString, wort);
    QTemporaryDir dir;
    dateiSchreiben(dir.filePath("kapitel/01-a.txt"), kapitel);
    dateiSchreiben(dir.filePath("bilder/00001-m.maske"), maske);
    QStringList meldungen;
    HilfeCompiler::Ergebnis e;
    QVERIFY(
        HilfeCompiler::erstellen(dir.path(), dir.filePath("h.mdb"), meldungen, nullptr, false, &e));
    QVERIFY2(e.warnungen >= 1 && e.fehler == 0 && meldungen.first().startsWith(ort) &&
                 meldungen.first().contains(wort),
             qPrintable(meldungen.join('\n')));
}

// Variables, an included snippet, labels, a chapter and a topic continued in another file,
// and a figure caption, read from one folder.
void TestHilfeCompiler::wiederverwendung()
{
    QTemporaryDir dir;
    dateiSchreiben(dir.filePath("variablen.txt"), "# Variablen\nProdukt = Belna\nVersion=7\n");
    dateiSchreiben(dir.filePath("kapitel/01-a.txt"),
                   "= 1 | {{Produkt}} Start\n== 1 | T\n=== 1 | Erster {#erster}\n"
                   "Mit {{produkt}} und \\{{Version}}.\nEinfügen: bausteine/b.txt\n"
                   "Siehe [[#ZWEITER]] und [[#erster|zurück]].\n== 2 | T2\n=== 1 | X\nx\n");
    dateiSchreiben(dir.filePath("kapitel/02-b.txt"),
                   "= 1\n== 1\n=== 2 | Dritter\n== 3 | T3\n=== 1 | Zweiter {#zweiter}\n"
                   "Abbildung: Bild 1 | E-Rechnung im Überblick\n");
    dateiSchreiben(dir.filePath("bausteine/b.txt"), "> Hinweis {{Version}}\n");
    dateiSchreiben(dir.filePath("bilder/00001-x.maske"), "Titel: Maske\n");
    HilfeQuelle q;
    QList<QuellFehler> fehler;
    const bool gelesen = QuellParser::lesen(dir.path(), q, fehler);
    QVERIFY2(gelesen && fehler.isEmpty(), qPrintable(fehler.value(0).alsText()));
    QCOMPARE(q.kapitel.size(), 1);
    const QuellKapitel &k = q.kapitel[0];
    QCOMPARE(k.titel, "Belna Start");
    QCOMPARE(k.themen.size(), 3);
    QCOMPARE(k.themen[0].abschnitte.size(), 2);
    QCOMPARE(k.themen[0].abschnitte[1].titel, "Dritter");
    QCOMPARE(k.themen[2].nummer, 3);
    QStringList bloecke;
    for (const TextBlock &b : k.themen[0].abschnitte[0].bloecke)
        bloecke << b.datei + ": " + beschreiben(b.stuecke);
    QCOMPARE(bloecke, (QStringList{"kapitel/01-a.txt: Mit Belna und {{Version}}.",
                                   "bausteine/b.txt: Hinweis 7",
                                   "kapitel/01-a.txt: Siehe ;Zweiter[T:01.03.01]; und "
                                   ";zurück[T:01.01.01];."}));
    QCOMPARE(beschreiben(k.themen[2].abschnitte[0].bloecke[0].stuecke),
             "Abbildung: ;E-Rechnung im Überblick[B:1]");
    QCOMPARE(q.bilder[0].titel, "E-Rechnung im Überblick");
}

void TestHilfeCompiler::maske_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSize>("groesse");
    QTest::addColumn<QString>("titel");
    QTest::newRow("vorgabe") << "Titel: Kunde\nFeld: Name | Müller\n" << QSize(520, 360) << "Kunde";
    zeile("größe",
          "# Kommentar\nTitel: Rechnung erfassen\nGröße: 560 x 380\n"
          "Auswahl: Zahlungsart | Überweisung\nHaken: Skonto | ja\n"
          "Text: Positionen\nTabelle: Pos. | Artikel | Preis\n"
          "Zeile: 1 | Beratung | 120,00 €\nZeile: 2 | x\n"
          "Knöpfe: Speichern | Drucken | Abbrechen\n",
          QSize(560, 380), "Rechnung erfassen");
    zeile("ohne umlaut", "Titel: A\r\nGroesse: 200x150\r\nKnoepfe: OK\r\n", QSize(200, 150), "A");
    zeile("übervoll", "Titel: Voll\nGröße: 300 x 160\n" + QString("Feld: a | b\n").repeated(30),
          QSize(300, 160), "Voll");
}

void TestHilfeCompiler::maske()
{
    QFETCH(QString, text);
    QFETCH(QSize, groesse);
    QFETCH(QString, titel);
    QImage bild;
    QString gelesen, ft;
    int fz = 0;
    QVERIFY2(MaskenZeichner::zeichnen(text, bild, gelesen, fz, ft), qPrintable(ft));
    QCOMPARE(bild.size(), groesse);
    QCOMPARE(gelesen, titel);
    // Title bar dark blue at its left end, client area light grey, frame dark.
    QVERIFY(bild.pixelColor(4, 10).blue() > bild.pixelColor(4, 10).red() + 60);
    QCOMPARE(bild.pixelColor(4, groesse.height() - 4), QColor(0xF0, 0xF0, 0xF0));
    QVERIFY(bild.pixelColor(0, groesse.height() / 2).lightness() < 128);
    // A ticked and an unticked box differ, and only inside the box.
    QImage nein;
    const QString ohneHaken = QString(text).replace("| ja", "| nein");
    QVERIFY(MaskenZeichner::zeichnen(ohneHaken, nein, gelesen, fz, ft));
    QCOMPARE(nein.size(), bild.size());
    QRect unterschied;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x)
            if (bild.pixel(x, y) != nein.pixel(x, y))
                unterschied |= QRect(x, y, 1, 1);
    QCOMPARE(unterschied.isEmpty(), !text.contains("| ja"));
    QVERIFY2(unterschied.width() <= 13 && unterschied.height() <= 13,
             qPrintable(QString("%1x%2").arg(unterschied.width()).arg(unterschied.height())));
}

QTEST_MAIN(TestHilfeCompiler)
#include "test_hilfecompiler.moc"
