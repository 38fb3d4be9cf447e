// HtmlErzeuger: hand-written section texts against their exact HTML, then every section of the
// sample help and of an imported Jet file: well-formed, the help's visible text, every link.
#include "Global.h"
#include "HilfeDatenbank.h"
#include "HtmlErzeuger.h"
#include "JetImport.h"
#include "TestHilfen.h"
#include "TextFeld.h"
#include "Verweismarkup.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QXmlStreamReader>

namespace {

// Text links lead to #number, picture links to a page; 99.99.99 leads nowhere.
HtmlVerweis ziel(const tVerweis &v)
{
    if (!v.BildNummer.isEmpty())
        return {"bild-" + v.BildNummer + ".html", "bild", v.BildTitel};
    if (v.TextNummer == "99.99.99")
        return {};
    return {"#" + v.TextNummer, "text", {}};
}

QString rtf(const QString &rumpf)
{
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil"
           "\\fcharset2 Symbol;}}{\\colortbl ;\\red0\\green0\\blue255;\\red255\\green0\\blue0;}"
           "\\viewkind4\\uc1\\pard\\f0\\fs20 " +
           rumpf + "}";
}

// Block-level tags separate words; entities decoded by the reader; whitespace collapsed.
QString htmlText(const QString &html, int &links, QString &fehler)
{
    static const QStringList bloecke{"p", "li", "td", "th", "br", "ul", "ol", "tr"};
    QXmlStreamReader x("<div>" + html + "</div>");
    QString text;
    links = 0;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            links += x.name() == u"a";
            if (bloecke.contains(x.name().toString()))
                text += ' ';
        } else if (x.isCharacters()) {
            text += x.text();
        }
    }
    fehler = x.hasError() ? x.errorString() : QString();
    return text.simplified();
}

// What the help window shows, list markers taken off, pictures in the text left out.
QString sichtbarerText(const QString &gespeichert, int &links)
{
    QTextDocument doc;
    QList<tVerweis> verweise;
    qint16 anzahl = 0;
    Verweismarkup::darstellen(gespeichert, doc, verweise, anzahl);
    links = anzahl;
    QStringList absaetze;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat f = b.blockFormat();
        const auto m =
            HtmlErzeuger::listenMarke(b.text(), f.leftMargin() > 0 || f.textIndent() < 0);
        absaetze << b.text().mid(m.laenge).remove(QChar::ObjectReplacementCharacter);
    }
    return absaetze.join(' ').replace(QChar::LineSeparator, ' ').simplified();
}

} // namespace

class TestHtmlErzeuger : public QObject
{
    Q_OBJECT
private slots:
    void abschnitt_data();
    void abschnitt();
    void echteTexte();
};

void TestHtmlErzeuger::abschnitt_data()
{
    QTest::addColumn<QString>("rumpf");
    QTest::addColumn<QString>("html");
    zeile("paragraphs", QString("Eins\\par\\par Zwei\\line drei\\par"),
          QString("<p>Eins</p>\n<p>Zwei<br/>drei</p>\n"));
    zeile("formats", QString("\\b fett\\b0  \\i kursiv\\i0  \\ul unter\\ulnone\\par"),
          QString("<p><strong>fett</strong> <em>kursiv</em> <u>unter</u></p>\n"));
    zeile("colour", QString("{\\cf2 rot} {\\cf0 normal}\\par"),
          QString("<p><span style=\"color:#ff0000\">rot</span> normal</p>\n"));
    zeile("text link", QString("Siehe {\\cf1\\ul \\{T01.02.03\\}Start\\{TE\\}}.\\par"),
          QString("<p>Siehe <a href=\"#01.02.03\" class=\"text\">Start</a>.</p>\n"));
    zeile("picture link", QString("\\{P00012\\}Bild \"x\"\\{PE\\}\\par"),
          QString("<p><a href=\"bild-00012.html\" class=\"bild\" title=\"Bild &quot;x&quot;\">"
                  "Bild \"x\"</a></p>\n"));
    zeile("link inside bold", QString("\\b Wichtig: \\{T01.01.01\\}hier\\{TE\\} lesen\\b0\\par"),
          QString("<p><strong>Wichtig: <a href=\"#01.01.01\" class=\"text\">hier</a> "
                  "lesen</strong></p>\n"));
    zeile("bold starting in a link", QString("\\{T01.01.01\\}a \\b b\\{TE\\} c\\b0\\par"),
          QString("<p><a href=\"#01.01.01\" class=\"text\">a <strong>b</strong></a><strong> "
                  "c</strong></p>\n"));
    zeile("link without target", QString("\\{T99.99.99\\}weg\\{TE\\}\\par"),
          QString("<p>weg</p>\n"));
    zeile("bullet list",
          QString("\\pard\\fi-360\\li720 \\'95\\tab Eins\\par {\\pntext\\f1\\'b7\\tab}Zwei\\par"
                  "\\pard Ende\\par"),
          QString("<ul>\n<li>Eins</li>\n<li>Zwei</li>\n</ul>\n<p>Ende</p>\n"));
    zeile("numbered from 3", QString("\\pard\\fi-360\\li720 3.\\tab Drei\\par 4.  Vier\\par"),
          QString("<ol start=\"3\">\n<li>Drei</li>\n<li>Vier</li>\n</ol>\n"));
    zeile("nested, letters",
          QString("\\pard\\fi-360\\li720 1.\\tab A\\par\\pard\\fi-360\\li1440 a)\\tab B\\par"
                  "\\pard\\fi-360\\li720 2.\\tab C\\par"),
          QString("<ol>\n<li>A\n<ol type=\"a\">\n<li>B</li>\n</ol>\n</li>\n<li>C</li>\n</ol>\n"));
    zeile("no list", QString("1. Januar\\par - \\par"), QString("<p>1. Januar</p>\n<p>- </p>\n"));
    zeile("indented note", QString("\\pard\\li720\\i Hinweis: nie\\i0\\par"),
          QString("<p class=\"einzug-2\"><em>Hinweis: nie</em></p>\n"));
    zeile("large, centred", QString("\\pard\\qc\\fs32 Titel\\par\\pard\\fs20 Ein langer Text\\par"),
          QString("<p class=\"mitte gross\">Titel</p>\n<p>Ein langer Text</p>\n"));
    zeile("table with header",
          QString("\\trowd\\cellx2000\\cellx4000\\pard\\intbl\\b Feld\\b0\\cell\\b Wert\\b0\\cell"
                  "\\row\\trowd\\cellx2000\\cellx4000\\pard\\intbl a\\cell\\qr\\i b\\i0\\cell"
                  "\\row\\pard Ende\\par"),
          QString("<table>\n<thead>\n<tr><th scope=\"col\">Feld</th><th scope=\"col\">Wert</th>"
                  "</tr>\n</thead>\n<tbody>\n<tr><td>a</td><td class=\"rechts\"><em>b</em></td>"
                  "</tr>\n</tbody>\n</table>\n<p>Ende</p>\n"));
    zeile("escaping", QString("a < b & c > d\\par"), QString("<p>a &lt; b &amp; c &gt; d</p>\n"));
    zeile("opening tag without closing tag", QString("\\{T01.01.01\\}ohne Ende\\par"),
          QString("<p>ohne Ende</p>\n"));
}

void TestHtmlErzeuger::abschnitt()
{
    QFETCH(QString, rumpf);
    QFETCH(QString, html);
    QCOMPARE(HtmlErzeuger::abschnitt(rtf(rumpf), ziel), html);
}

void TestHtmlErzeuger::echteTexte()
{
    QTemporaryDir dir;
    const QString jet = dir.filePath("jet.mdb");
    JetImport::Ergebnis e;
    QVERIFY2(
        JetImport::importieren(TOLVAR_SOURCE_DIR "/../shared/jet/beispiel-jet4.mdb", jet, false, e),
        qPrintable(e.fehler));
    int abschnitte = 0;
    for (const QString &datei : {QStringLiteral(HILFE_DATENBANK), jet}) {
        HilfeDatenbank db(datei, QString::fromLatin1(HilfePasswort));
        const auto texte = db.abfragen("SELECT Kapitel.Nummer, Themen.Nummer, Texte.Nummer, Text "
                                       "FROM Texte JOIN Themen ON Themen.ID = Texte.ThemenID "
                                       "JOIN Kapitel ON Kapitel.ID = Themen.KapitelID");
        QVERIFY2(texte.ok && !texte.zeilen.isEmpty(), qPrintable(datei));
        for (const Werte &z : texte.zeilen) {
            const QString wo =
                datei + ' ' + z[0].toString() + '.' + z[1].toString() + '.' + z[2].toString();
            const QString gespeichert = z[3].toString();
            int links = 0, erwarteteLinks = 0;
            QString fehler;
            const QString text =
                htmlText(HtmlErzeuger::abschnitt(gespeichert, ziel), links, fehler);
            QVERIFY2(fehler.isEmpty(), qPrintable(wo + ": " + fehler));
            QCOMPARE(text, sichtbarerText(gespeichert, erwarteteLinks));
            QVERIFY2(links == erwarteteLinks, qPrintable(wo));
            ++abschnitte;
        }
    }
    qInfo("%d sections", abschnitte);
}

QTEST_MAIN(TestHtmlErzeuger)
#include "test_htmlerzeuger.moc"
