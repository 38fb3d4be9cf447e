// Tables in the help sources: rows, cells and alignment as parsed, the errors with their line,
// and the RTF as the help reads it back.
#include "QuellParser.h"
#include "RtfErzeuger.h"
#include "RtfLeser.h"
#include "TestHilfen.h"
#include "TextFeld.h"
#include "Verweismarkup.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <QtTest>

namespace {

const QString kopf = QStringLiteral("= 1 | K\n== 1 | T\n=== 1 | A\n");

// A cell's runs as "text" with [F] bold, [K] italic, [U] underlined, [T:ziel] text link,
// [B:ziel] picture link; runs joined by ";".
QString zelleBeschreiben(const TextBlock::Zelle &zelle)
{
    QStringList aus;
    for (const TextStueck &s : zelle) {
        QString t = s.text + (s.fett ? "[F]" : "") + (s.kursiv ? "[K]" : "") +
                    (s.unterstrichen ? "[U]" : "");
        if (s.verweis != TextStueck::Verweis::Kein)
            t += QStringLiteral("[%1:%2]").arg(s.verweis == TextStueck::Verweis::Text ? "T" : "B",
                                               s.ziel);
        aus << t;
    }
    return aus.join(QLatin1Char(';'));
}

// A table as lines: "kopf L R M" or "rumpf L L", then one line per row, cells joined by " | ".
QStringList tabelleBeschreiben(const TextBlock &b)
{
    QString art = b.kopfzeile ? QStringLiteral("kopf") : QStringLiteral("rumpf");
    for (const TextBlock::Ausrichtung a : b.ausrichtung)
        art += a == TextBlock::Ausrichtung::Links    ? " L"
               : a == TextBlock::Ausrichtung::Rechts ? " R"
                                                     : " M";
    QStringList aus{art};
    for (const QList<TextBlock::Zelle> &zeile : b.zeilen) {
        QStringList zellen;
        for (const TextBlock::Zelle &z : zeile)
            zellen << zelleBeschreiben(z);
        aus << zellen.join(QStringLiteral(" | "));
    }
    return aus;
}

// The blocks of the first section of a chapter file; with pruefen also checked across the
// file (link targets) as the compiler does.
QList<TextBlock> bloeckeLesen(const QString &text, QList<QuellFehler> &fehler, bool pruefen = false)
{
    HilfeQuelle q;
    QuellParser::kapitelDateiLesen(QStringLiteral("a.txt"), text, q, fehler);
    if (pruefen && fehler.isEmpty())
        QuellParser::pruefen(q, fehler);
    if (q.kapitel.isEmpty() || q.kapitel[0].themen.isEmpty() ||
        q.kapitel[0].themen[0].abschnitte.isEmpty())
        return {};
    return q.kapitel[0].themen[0].abschnitte[0].bloecke;
}

QTextTable *ersteTabelle(QTextDocument &doc)
{
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (auto *t = qobject_cast<QTextTable *>(QTextCursor(b).currentTable()))
            return t;
    return nullptr;
}

} // namespace

class TestTabellen : public QObject
{
    Q_OBJECT

private slots:
    void zerlegen_data();
    void zerlegen();
    void fehler_data();
    void fehler();
    void rtfRundreise();
    void sichtbarerText_data();
    void sichtbarerText();
};

void TestTabellen::zerlegen_data()
{
    QTest::addColumn<QString>("quelle");
    QTest::addColumn<QStringList>("erwartet");
    zeile("kopf und ausrichtung",
          QString("| Feld | Betrag | Hinweis | X |\n|:-----|-------:|:-------:| --- |\n"
                  "| **Netto** | 100,00 € | siehe [[01.01.01|Positionen]] | |\n"),
          QStringList{"kopf L R M L", "Feld | Betrag | Hinweis | X",
                      "Netto[F] | 100,00 € | siehe ;Positionen[T:01.01.01] | "});
    zeile("ohne trennzeile", QString("| a | b\n| c | d |\n"),
          QStringList{"rumpf L L", "a | b", "c | d"});
    zeile("pipe maskiert", QString("| a \\| b | \\\\|\n"), QStringList{"rumpf L L", "a | b | \\"});
    zeile("auszeichnung", QString("| //k// __u__ | [[Bild 3|Maske]] |\n"),
          QStringList{"rumpf L L", "k[K]; ;u[U] | Maske[B:3]"});
    zeile("eine zelle", QString("|\n| x |\n"), QStringList{"rumpf L", "", "x"});
    zeile("striche als text", QString("| a |\n| b |\n|---|\n"),
          QStringList{"rumpf L", "a", "b", "---"});
}

void TestTabellen::zerlegen()
{
    QFETCH(QString, quelle);
    QFETCH(QStringList, erwartet);
    QList<QuellFehler> fehler;
    // The table ends at the first other line: the paragraph behind it is a block of its own.
    const QList<TextBlock> bloecke = bloeckeLesen(kopf + "vor\n" + quelle + "nach\n", fehler);
    QVERIFY2(fehler.isEmpty(), qPrintable(fehler.value(0).alsText()));
    QCOMPARE(bloecke.size(), 3);
    QCOMPARE(bloecke[1].art, TextBlock::Art::Tabelle);
    QCOMPARE(tabelleBeschreiben(bloecke[1]), erwartet);
    QCOMPARE(bloecke[2].stuecke.value(0).text, "nach");
}

void TestTabellen::fehler_data()
{
    QTest::addColumn<QString>("quelle");
    QTest::addColumn<QString>("meldung");
    zeile("zeile zu kurz", kopf + "| a | b | c |\n|---|---|---|\n| x | y |\n",
          QString("a.txt:6: Tabellenzeile hat 2 Zellen, die Kopfzeile 3"));
    zeile("ohne kopf zu lang", kopf + "| a |\n| x | y |\n",
          QString("a.txt:5: Tabellenzeile hat 2 Zellen, die erste Zeile 1"));
    zeile("trennzeile zu kurz", kopf + "| a | b |\n|---|\n",
          QString("a.txt:5: Trennzeile hat 1 Zelle, die Kopfzeile 2"));
    zeile("trennzeile falsch", kopf + "| a | b |\n|---|-:-|\n",
          QString("a.txt:5: Trennzeile: Spalte 2 „-:-“ ist keine Ausrichtung (erwartet „---“, "
                  "„:--“, „--:“ oder „:-:“)"));
    zeile("fett offen", kopf + "| a | b |\n| **x | y** |\n",
          QString("a.txt:5: Auszeichnung „**“ wird in der Tabellenzelle nicht geschlossen"));
    zeile("link offen", kopf + "| a |\n| [[01.01.01|x |\n",
          QString("a.txt:5: Link „[[“ wird nicht mit „]]“ geschlossen"));
    zeile("link ins leere", kopf + "| a |\n| [[01.01.02|x]] |\n",
          QString("a.txt:5: Link auf 01.01.02: diesen Abschnitt gibt es nicht"));
    zeile("außerhalb", QString("= 1 | K\n| a |\n| b |\n"),
          QString("a.txt:2: Tabelle außerhalb eines Abschnitts (erst „=== Nummer | Titel“)"));
}

void TestTabellen::fehler()
{
    QFETCH(QString, quelle);
    QFETCH(QString, meldung);
    QList<QuellFehler> fehler;
    bloeckeLesen(quelle, fehler, true);
    QStringList texte;
    for (const QuellFehler &f : fehler)
        texte << f.alsText();
    QCOMPARE(texte, QStringList{meldung});
}

// The RTF as the help reads it: one table with the rows and columns of the source, the header
// bold, each column aligned as its separator says, a link's tags inside its cell.
void TestTabellen::rtfRundreise()
{
    QList<QuellFehler> fehler;
    const QList<TextBlock> bloecke =
        bloeckeLesen(kopf + "| Feld | Betrag | Hinweis |\n|:--|--:|:-:|\n"
                            "| Netto | 100,00 € | [[01.01.01|Positionen]] |\n"
                            "| Steuer | 19,00 € | //gerundet// |\n",
                     fehler);
    QVERIFY(fehler.isEmpty());
    QTextDocument doc;
    QVERIFY(RtfLesen(RtfErzeuger::erzeugen(bloecke), doc));
    QTextTable *t = ersteTabelle(doc);
    QVERIFY(t);
    QCOMPARE(t->rows(), 3);
    QCOMPARE(t->columns(), 3);
    const QList<QStringList> texte{{"Feld", "Betrag", "Hinweis"},
                                   {"Netto", "100,00 €", "{T01.01.01}Positionen{TE}"},
                                   {"Steuer", "19,00 €", "gerundet"}};
    const Qt::Alignment ausrichtung[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    for (int z = 0; z < 3; ++z) {
        for (int s = 0; s < 3; ++s) {
            const QTextTableCell zelle = t->cellAt(z, s);
            QTextCursor c = zelle.firstCursorPosition();
            c.setPosition(zelle.lastCursorPosition().position(), QTextCursor::KeepAnchor);
            QCOMPARE(c.selectedText(), texte[z][s]);
            QCOMPARE(c.block().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                     ausrichtung[s]);
            c.setPosition(zelle.firstCursorPosition().position() + 1);
            QCOMPARE(c.charFormat().fontWeight() >= QFont::Bold, z == 0);
        }
    }

    // The help finds the link in its cell, its positions on the link text.
    QTextDocument anzeige;
    QList<tVerweis> verweise;
    qint16 anzahl = 0;
    Verweismarkup::darstellen(RtfErzeuger::erzeugen(bloecke), anzeige, verweise, anzahl);
    QCOMPARE(anzahl, 1);
    QCOMPARE(verweise[1].TextNummer, "01.01.01");
    const QString text = TextFeld(&anzeige, false).text();
    QCOMPARE(text.mid(verweise[1].Anfang, verweise[1].Ende - verweise[1].Anfang), "Positionen");
}

void TestTabellen::sichtbarerText_data()
{
    QTest::addColumn<QString>("quelle");
    const QString tabelle = "| a | **b** |\n|---|--:|\n| [[01.01.01|c]] | |\n";
    zeile("nur tabelle", tabelle);
    zeile("zwischen absätzen", "vor\n" + tabelle + "nach\n");
    zeile("vor liste", tabelle + "- eins\n- zwei\n");
    zeile("zwei tabellen", tabelle + "\n" + tabelle);
}

// The section's length is checked in sichtbarerText; the help counts the text as the RTF reader
// builds it, one character per paragraph and cell break.
void TestTabellen::sichtbarerText()
{
    QFETCH(QString, quelle);
    QList<QuellFehler> fehler;
    const QList<TextBlock> bloecke = bloeckeLesen(kopf + quelle, fehler);
    QVERIFY(fehler.isEmpty());
    QTextDocument doc;
    QVERIFY(RtfLesen(RtfErzeuger::erzeugen(bloecke), doc));
    QCOMPARE(RtfErzeuger::sichtbarerText(bloecke),
             doc.toPlainText().replace(QLatin1Char('\n'), QLatin1Char('\r')));
}

QTEST_MAIN(TestTabellen)
#include "test_tabellen.moc"
