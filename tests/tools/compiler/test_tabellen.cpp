// Tables in the help sources: rows, cells and alignment as parsed, the errors with their line,
// and the RTF as the help reads it back.
#include "QuellParser.h"
#include "RtfErzeuger.h"
#include "RtfLeser.h"
#include "TestHilfen.h"
#include "TextFeld.h"
#include "Verweismarkup.h"

#include <QTextDocument>
#include <QTextTable>
#include <QtTest>

namespace {

const QString kopf = QStringLiteral("= 1 | K\n== 1 | T\n=== 1 | A {#a}\n");

// The blocks of the file's first section and the messages of reading and checking it.
QList<TextBlock> lesen(const QString &text, QStringList &meldungen)
{
    HilfeQuelle q;
    QList<QuellFehler> fehler;
    QuellParser::kapitelDateiLesen("a.txt", text, q, fehler);
    if (fehler.isEmpty()) {
        QuellParser::aufloesen(q, fehler);
        QuellParser::pruefen(q, fehler);
    }
    for (const QuellFehler &f : fehler) {
        if (!f.warnung) // the link texts here are not meant to name their targets
            meldungen << f.alsText();
    }
    if (q.kapitel.isEmpty() || q.kapitel[0].themen.isEmpty())
        return {};
    return q.kapitel[0].themen[0].abschnitte.value(0).bloecke;
}

// A table as "kopf L R M" (or "rumpf ...") and one line per row, cells joined by " | ": their
// visible text with link tags, bold runs between "*", italic ones between "/".
QStringList beschreiben(const TextBlock &b)
{
    QString art = b.kopfzeile ? "kopf" : "rumpf";
    for (const TextBlock::Ausrichtung a : b.ausrichtung)
        art += QString(" ") + "LRM"[int(a)];
    QStringList aus{art};
    for (const QList<TextBlock::Zelle> &zeile : b.zeilen) {
        QStringList zellen;
        for (const TextBlock::Zelle &zelle : zeile) {
            QString t;
            for (const TextStueck &s : b.stueckeVon(zelle)) {
                const QString text = RtfErzeuger::sichtbarerText(QList<TextStueck>{s});
                t += s.fett ? "*" + text + "*" : s.kursiv ? "/" + text + "/" : text;
            }
            zellen << t;
        }
        aus << zellen.join(" | ");
    }
    return aus;
}

} // namespace

class TestTabellen : public QObject
{
    Q_OBJECT

private slots:
    void zerlegen_data();
    void zerlegen();
    void rtfRundreise();
};

void TestTabellen::zerlegen_data()
{
    // A table between two paragraphs and its description (see beschreiben), or a source and
    // its messages.
    QTest::addColumn<QString>("quelle");
    QTest::addColumn<QStringList>("erwartet");
    const auto tabelle = [](const char *name, const QString &t, const QStringList &erwartet) {
        zeile(name, kopf + "vor\n" + t + "nach\n", erwartet);
    };
    const auto fehler = [](const char *name, const QString &quelle, const QString &meldung) {
        zeile(name, quelle, QStringList{"a.txt:" + meldung});
    };
    tabelle("kopf, ausrichtung, auszeichnung",
            "| Feld | Betrag | Hinweis | X |\n|:-----|-------:|:-------:| --- |\n"
            "| **Netto** | //1// | siehe [[01.01.01|Positionen]] | |\n",
            {"kopf L R M L", "Feld | Betrag | Hinweis | X",
             "*Netto* | /1/ | siehe {T01.01.01}Positionen{TE} | "});
    tabelle("ohne trennzeile, marke", "| a | b\n| [[#a]] | |\n",
            {"rumpf L L", "a | b", "{T01.01.01}A{TE} | "});
    tabelle("pipe maskiert", "| a \\| b | \\\\|\n", {"rumpf L L", "a | b | \\"});
    fehler("zeile zu kurz", kopf + "| a | b | c |\n|---|---|---|\n| x | y |\n",
           "6: Tabellenzeile hat 2 Zellen, die Kopfzeile 3");
    fehler("ohne kopf zu lang", kopf + "| a |\n| x | y |\n",
           "5: Tabellenzeile hat 2 Zellen, die erste Zeile 1");
    fehler("trennzeile zu kurz", kopf + "| a | b |\n|---|\n",
           "5: Trennzeile hat 1 Zelle, die Kopfzeile 2");
    fehler("trennzeile falsch", kopf + "| a | b |\n|---|-:-|\n",
           "5: Trennzeile: Spalte 2 „-:-“ ist keine Ausrichtung (erwartet „---“, „:--“, „--:“ "
           "oder „:-:“)");
    fehler("fett offen", kopf + "| a | b |\n| **x | y** |\n",
           "5: Auszeichnung „**“ wird in der Tabellenzelle nicht geschlossen");
    fehler("link offen", kopf + "| a |\n| [[01.01.01|x |\n",
           "5: Link „[[“ wird nicht mit „]]“ geschlossen");
    fehler("link ins leere", kopf + "| a |\n| [[01.01.02|x]] |\n",
           "5: Link auf 01.01.02: diesen Abschnitt gibt es nicht");
    fehler("außerhalb", "= 1 | K\n| a |\n| b |\n",
           "2: Tabelle außerhalb eines Abschnitts (erst „=== Nummer | Titel“)");
}

void TestTabellen::zerlegen()
{
    QFETCH(QString, quelle);
    QFETCH(QStringList, erwartet);
    QStringList meldungen;
    const QList<TextBlock> bloecke = lesen(quelle, meldungen);
    if (!meldungen.isEmpty()) {
        QCOMPARE(meldungen, erwartet);
    } else {
        // The table ends at the first other line: the paragraph behind it is a block of its own.
        QCOMPARE(bloecke.size(), 3);
        QCOMPARE(beschreiben(bloecke[1]), erwartet);
    }
}

// The RTF as the help reads it: a table with the source's rows and columns, the header bold,
// each column aligned as its separator says, the link found in its cell. A second table right
// behind the first stays a table of its own. The section's length is checked in sichtbarerText,
// which counts what the reader builds: one character per paragraph and cell break.
void TestTabellen::rtfRundreise()
{
    QStringList meldungen;
    const QList<TextBlock> bloecke =
        lesen(kopf + "| Feld | Betrag | Hinweis |\n|:--|--:|:-:|\n"
                     "| Netto | 100,00 € | [[01.01.01|Positionen]] |\n| Steuer | 19,00 € | |\n\n"
                     "| zweite |\nnach\n",
              meldungen);
    QCOMPARE(meldungen, QStringList());
    const QString rtf = RtfErzeuger::erzeugen(bloecke);
    QTextDocument doc;
    QVERIFY(RtfLesen(rtf, doc));
    QCOMPARE(RtfErzeuger::sichtbarerText(bloecke), doc.toPlainText().replace('\n', '\r'));
    auto *t = qobject_cast<QTextTable *>(doc.rootFrame()->childFrames().value(0));
    QVERIFY(t);
    QCOMPARE(doc.rootFrame()->childFrames().size(), 2);
    QCOMPARE(t->rows(), 3);
    QCOMPARE(t->columns(), 3);
    const QStringList texte{"Feld",   "Betrag",   "Hinweis",
                            "Netto",  "100,00 €", "{T01.01.01}Positionen{TE}",
                            "Steuer", "19,00 €",  ""};
    const Qt::Alignment ausrichtung[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    for (int i = 0; i < 9; ++i) {
        QTextCursor c = t->cellAt(i / 3, i % 3).firstCursorPosition();
        c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QCOMPARE(c.selectedText(), texte[i]);
        QCOMPARE(c.blockFormat().alignment() & Qt::AlignHorizontal_Mask, ausrichtung[i % 3]);
        QCOMPARE(c.charFormat().fontWeight() >= QFont::Bold, i < 3);
    }

    QTextDocument anzeige;
    QList<tVerweis> verweise;
    qint16 anzahl = 0;
    Verweismarkup::darstellen(rtf, anzeige, verweise, anzahl);
    QCOMPARE(anzahl, 1);
    QCOMPARE(verweise[1].TextNummer, "01.01.01");
    const QString text = TextFeld(&anzeige, false).text();
    QCOMPARE(text.mid(verweise[1].Anfang, verweise[1].Ende - verweise[1].Anfang), "Positionen");
}

QTEST_MAIN(TestTabellen)
#include "test_tabellen.moc"
