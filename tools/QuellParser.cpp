// Parser and checks of the help sources; see QuellParser.h and content/README.md.
#include "QuellParser.h"

#include "BildSpeicher.h"
#include "InlineZerleger.h"
#include "MaskenZeichner.h"
#include "Pruefung.h"
#include "QuellWarnungen.h"
#include "RtfErzeuger.h"
#include "TabellenZerleger.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>

namespace {

QString hilfeNummer(int k, int t, int x)
{
    return QStringLiteral("%1.%2.%3")
        .arg(k, 2, 10, QLatin1Char('0'))
        .arg(t, 2, 10, QLatin1Char('0'))
        .arg(x, 2, 10, QLatin1Char('0'));
}

// A line of a chapter file after includes are expanded: where it comes from, and its text
// (line break removed, variables replaced). An included file is framed by empty lines, so no
// block spans two files.
struct QuellZeile
{
    QString datei;
    int nr = 0;
    QString text;
};

// Known keys of key lines ("Stichwörter: ..."), compared in a folded spelling (lower case,
// umlauts as ae/oe/ue, ß as ss).
enum class Schluessel { Kein, Stichwoerter, Einfuegen, Abbildung, Unbekannt };

int abstand(const QString &a, const QString &b)
{
    QList<int> vorher(b.size() + 1), jetzt(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        vorher[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        jetzt[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            jetzt[j] = std::min(
                {vorher[j] + 1, jetzt[j - 1] + 1, vorher[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
        }
        std::swap(vorher, jetzt);
    }
    return vorher[b.size()];
}

struct BekannterSchluessel
{
    const char *gefaltet;
    const char *name;
    Schluessel schluessel;
};
const BekannterSchluessel bekannteSchluessel[] = {
    {"stichwoerter", "Stichwörter:", Schluessel::Stichwoerter},
    {"einfuegen", "Einfügen:", Schluessel::Einfuegen},
    {"abbildung", "Abbildung:", Schluessel::Abbildung}};

// The key of a line "Wort: rest" at the start of a line. A word that is not a key but close to
// one ("Stichwort:", "Einfügung:") is Unbekannt, with the key it resembles in gemeint: taken as
// text it would silently lose what the writer meant. Other words before a colon ("Tipp: ...")
// are text.
Schluessel schluesselVon(const QString &roh, QString &rest, QString &wort, QString *gemeint)
{
    static const QRegularExpression muster(QStringLiteral("^(\\w+)\\s*:(.*)$"),
                                           QRegularExpression::UseUnicodePropertiesOption);
    const auto m = muster.match(roh);
    if (!m.hasMatch())
        return Schluessel::Kein;
    wort = m.captured(1);
    rest = m.captured(2).trimmed();
    const QString f = QuellWarnungen::falten(wort);
    for (const BekannterSchluessel &b : bekannteSchluessel) {
        if (f == QLatin1String(b.gefaltet))
            return b.schluessel;
    }
    for (const BekannterSchluessel &b : bekannteSchluessel) {
        if (f.size() >= 5 && abstand(f, QLatin1String(b.gefaltet)) <= 3) {
            if (gemeint)
                *gemeint = QString::fromUtf8(b.name);
            return Schluessel::Unbekannt;
        }
    }
    return Schluessel::Kein;
}

// Replaces {{Name}} by the variable's value; "\{{" stays text. Unknown names are reported.
QString variablenErsetzen(const QString &text, const QuellParser::Umgebung &u,
                          QStringList &unbekannt)
{
    if (!text.contains(QLatin1String("{{")))
        return text;
    static const QRegularExpression muster(
        QStringLiteral("\\{\\{\\s*([A-Za-z][A-Za-z0-9_-]*)\\s*\\}\\}"));
    QString aus;
    qsizetype pos = 0;
    auto it = muster.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.capturedStart() > 0 && text[m.capturedStart() - 1] == QLatin1Char('\\'))
            continue;
        aus += QStringView(text).mid(pos, m.capturedStart() - pos);
        const auto wert = u.variablen.constFind(m.captured(1).toLower());
        if (wert == u.variablen.constEnd()) {
            unbekannt << m.captured(1);
            aus += m.captured(0);
        } else {
            aus += *wert;
        }
        pos = m.capturedEnd();
    }
    aus += QStringView(text).mid(pos);
    return aus;
}

QuellFehler unbekannteVariable(const QString &datei, int zeile, const QString &name)
{
    return {datei, zeile,
            QStringLiteral("unbekannte Variable „{{%1}}“ (Variablen stehen in variablen.txt)")
                .arg(name)};
}

// Decodes a source file as UTF-8; false with the first line that is not valid UTF-8 (a file
// saved in another encoding would otherwise show replacement characters in the help).
bool utf8Lesen(const QByteArray &daten, QString &text, int &fehlerZeile)
{
    const QList<QByteArray> zeilen = daten.split('\n');
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        QStringDecoder dekodierer(QStringDecoder::Utf8);
        const QString zeile = dekodierer.decode(zeilen[i]);
        if (dekodierer.hasError()) {
            fehlerZeile = int(i + 1);
            return false;
        }
        if (i > 0)
            text += QLatin1Char('\n');
        text += zeile;
    }
    return true;
}

const QString keinUtf8 = QStringLiteral("Zeile ist nicht in UTF-8 gespeichert");

bool dateiLesen(const QString &pfad, const QString &anzeige, QString &inhalt,
                QList<QuellFehler> &fehler)
{
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly)) {
        fehler << QuellFehler{anzeige, 0,
                              QStringLiteral("lässt sich nicht lesen: %1").arg(f.errorString())};
        return false;
    }
    int fz = 0;
    if (!utf8Lesen(f.readAll(), inhalt, fz)) {
        fehler << QuellFehler{anzeige, fz, keinUtf8};
        return false;
    }
    return true;
}

// A section's stored text given verbatim: the lines between these two, joined with CR LF.
const QString rtfBlockAnfang = QStringLiteral("```rtf");
const QString rtfBlockEnde = QStringLiteral("```");

// Expands one file into lines: comments dropped, variables replaced, included snippets put in
// place. kette holds the files being included, to refuse a file that includes itself.
void ausbreiten(const QString &datei, const QString &inhalt, const QuellParser::Umgebung &u,
                QList<QuellZeile> &aus, QList<QuellFehler> &fehler, QStringList &kette)
{
    QStringList zeilen = inhalt.split(QLatin1Char('\n'));
    if (!zeilen.isEmpty() && zeilen.first().startsWith(QChar(0xFEFF)))
        zeilen.first().remove(0, 1);
    kette << datei;
    bool rtfBlock = false;
    for (int i = 0; i < zeilen.size(); ++i) {
        const int nr = i + 1;
        QString roh = zeilen[i];
        if (roh.endsWith(QLatin1Char('\r')))
            roh.chop(1);
        // The lines of an RTF block are taken as they are: no comments, variables or includes.
        if (rtfBlock || roh == rtfBlockAnfang) {
            rtfBlock = roh != rtfBlockEnde;
            aus << QuellZeile{datei, nr, roh};
            continue;
        }
        if (roh.startsWith(QLatin1Char('#')))
            continue;
        QStringList unbekannt;
        roh = variablenErsetzen(roh, u, unbekannt);
        for (const QString &name : std::as_const(unbekannt)) {
            fehler << unbekannteVariable(datei, nr, name);
        }
        QString rest, wort;
        if (schluesselVon(roh.trimmed(), rest, wort, nullptr) != Schluessel::Einfuegen) {
            aus << QuellZeile{datei, nr, roh};
            continue;
        }
        auto melden = [&](const QString &text) { fehler << QuellFehler{datei, nr, text}; };
        const QString pfad = QDir::cleanPath(rest);
        if (u.ordner.isEmpty()) {
            melden(QStringLiteral("„Einfügen:“ geht nur beim Übersetzen eines Ordners"));
        } else if (rest.isEmpty() || QDir::isAbsolutePath(pfad) ||
                   pfad.startsWith(QLatin1String("../")) || pfad == QLatin1String("..")) {
            melden(QStringLiteral("„Einfügen:“ braucht einen Pfad im Quellordner, z. B. "
                                  "„bausteine/hinweis.txt“"));
        } else if (kette.contains(pfad)) {
            melden(QStringLiteral("„%1“ fügt sich selbst ein (%2)")
                       .arg(pfad, (kette.mid(1) << pfad).join(QStringLiteral(" → "))));
        } else if (kette.size() > QuellParser::maximaleEinfuegeTiefe) {
            melden(QStringLiteral("Einfügen ist höchstens %1 Ebenen tief möglich")
                       .arg(QuellParser::maximaleEinfuegeTiefe));
        } else {
            QString eingefuegt;
            QList<QuellFehler> lesefehler;
            if (!dateiLesen(QDir(u.ordner).filePath(pfad), pfad, eingefuegt, lesefehler)) {
                // A file that cannot be read is reported where it is included.
                for (const QuellFehler &f : std::as_const(lesefehler)) {
                    melden(
                        f.zeile > 0
                            ? QStringLiteral("„%1“ Zeile %2: %3").arg(pfad).arg(f.zeile).arg(f.text)
                            : QStringLiteral("„%1“ %2").arg(pfad, f.text));
                }
            } else {
                aus << QuellZeile{datei, nr, QString()};
                ausbreiten(pfad, eingefuegt, u, aus, fehler, kette);
                aus << QuellZeile{datei, nr, QString()};
            }
        }
    }
    kette.removeLast();
}

// Reads "N | Titel {#marke}" behind a heading mark; false with a message when malformed. A
// chapter or topic heading with the number alone ("= 4") continues one begun before: fortsetzung
// is then true and titel empty.
bool ueberschriftLesen(const QString &rest, int &nummer, QString &titel, QString &marke,
                       bool &fortsetzung, QString &meldung)
{
    static const QRegularExpression ziffern(QStringLiteral("^\\d{1,2}$"));
    const qsizetype strich = rest.indexOf(QLatin1Char('|'));
    const QString zahl = (strich < 0 ? rest : rest.left(strich)).trimmed();
    fortsetzung = strich < 0;
    if (fortsetzung && !ziffern.match(zahl).hasMatch()) {
        meldung = QStringLiteral("erwartet „Nummer | Titel“");
        return false;
    }
    if (!ziffern.match(zahl).hasMatch() || zahl.toInt() < 1) {
        meldung = QStringLiteral("Nummer „%1“ ist keine Zahl von 1 bis 99").arg(zahl);
        return false;
    }
    nummer = zahl.toInt();
    if (fortsetzung)
        return true;
    titel = rest.mid(strich + 1).trimmed();
    static const QRegularExpression markeMuster(
        QStringLiteral("\\{#(%1)\\}$").arg(QLatin1String(InlineZerleger::markenMuster)));
    if (const auto m = markeMuster.match(titel); m.hasMatch()) {
        marke = m.captured(1).toLower();
        titel = titel.left(m.capturedStart()).trimmed();
    } else if (titel.contains(QLatin1String("{#"))) {
        meldung = QStringLiteral("Marke „%1“ ungültig: erwartet „{#name}“ am Zeilenende, der "
                                 "Name aus Buchstaben, Ziffern, „-“ und „_“")
                      .arg(titel.mid(titel.indexOf(QLatin1String("{#"))));
        return false;
    }
    if (titel.isEmpty()) {
        meldung = QStringLiteral("Titel fehlt hinter „|“");
        return false;
    }
    return true;
}

// A section given as an RTF block is stored as it stands: it is checked as the help will show
// it, with the checks of a compiled database, and its links must lead somewhere. What is found
// are warnings: such a block usually comes from an existing database (auspacken), whose text
// compiles back unchanged even where it has a dead link.
void rtfBlockPruefen(const QuellAbschnitt &a, const QHash<QString, QStringList> &nummern,
                     const QHash<int, QString> &bilder, QSet<int> &benutzteBilder,
                     QList<QuellFehler> &fehler)
{
    QList<tVerweis> links; // from 1 to anzahl
    qint16 anzahl = 0;
    for (const QString &p : Pruefung::textProbleme(a.rtf, &links, &anzahl))
        fehler << QuellFehler{a.datei, a.zeile, QStringLiteral("RTF-Block: ") + p, true};
    for (int i = 1; i <= anzahl && i < links.size(); ++i) {
        const tVerweis &v = links[i];
        qint32 teile[3];
        if (!v.TextNummer.isEmpty()) {
            if (!Pruefung::nummerZerlegen(v.TextNummer, teile) ||
                !nummern.contains(hilfeNummer(teile[0], teile[1], teile[2]))) {
                fehler << QuellFehler{a.datei, a.zeile,
                                      QStringLiteral("RTF-Block: Link auf %1: diesen Abschnitt "
                                                     "gibt es nicht")
                                          .arg(v.TextNummer),
                                      true};
            }
            continue;
        }
        const int bild = v.BildNummer.toInt();
        benutzteBilder.insert(bild);
        if (!bilder.contains(bild)) {
            fehler << QuellFehler{a.datei, a.zeile,
                                  QStringLiteral("RTF-Block: Link auf Bild %1: dieses Bild gibt "
                                                 "es nicht in „bilder“")
                                      .arg(bild),
                                  true};
        }
    }
}

} // namespace

void QuellParser::variablenLesen(const QString &dateiName, const QString &inhalt,
                                 Umgebung &umgebung, QList<QuellFehler> &fehler)
{
    static const QRegularExpression muster(
        QStringLiteral("^([A-Za-z][A-Za-z0-9_-]*)\\s*=\\s*(.*)$"));
    QHash<QString, int> definiert;
    const QStringList zeilen = inhalt.split(QLatin1Char('\n'));
    for (int i = 0; i < zeilen.size(); ++i) {
        const QString zeile = zeilen[i].trimmed();
        if (zeile.isEmpty() || zeile.startsWith(QLatin1Char('#')))
            continue;
        const auto m = muster.match(zeile);
        if (!m.hasMatch()) {
            fehler << QuellFehler{dateiName, i + 1,
                                  QStringLiteral("erwartet „Name = Wert“ (Name aus Buchstaben, "
                                                 "Ziffern, „-“ und „_“)")};
            continue;
        }
        const QString name = m.captured(1).toLower();
        if (definiert.contains(name)) {
            fehler << QuellFehler{dateiName, i + 1,
                                  QStringLiteral("Variable „%1“ gibt es schon (Zeile %2)")
                                      .arg(m.captured(1))
                                      .arg(definiert[name])};
            continue;
        }
        definiert.insert(name, i + 1);
        umgebung.variablen.insert(name, m.captured(2).trimmed());
    }
}

void QuellParser::kapitelDateiLesen(const QString &dateiName, const QString &inhalt,
                                    HilfeQuelle &quelle, QList<QuellFehler> &fehler,
                                    const Umgebung &umgebung)
{
    QList<QuellZeile> zeilen;
    QStringList kette;
    ausbreiten(dateiName, inhalt, umgebung, zeilen, fehler, kette);

    // Where new content goes; each file starts outside any chapter.
    QuellKapitel *kapitel = nullptr;
    QuellThema *thema = nullptr;
    QuellAbschnitt *abschnitt = nullptr;

    QList<InlineZerleger::Zeile> blockZeilen;
    TextBlock block;
    bool blockOffen = false;

    auto blockBeenden = [&]() {
        if (!blockOffen)
            return;
        blockOffen = false;
        int fz = 0;
        QString ft;
        const bool ok = block.art == TextBlock::Art::Tabelle
                            ? TabellenZerleger::zerlegen(blockZeilen, block, fz, ft)
                            : InlineZerleger::zerlegen(blockZeilen, block.stuecke, fz, ft);
        if (!ok)
            fehler << QuellFehler{block.datei, fz, ft};
        else if (abschnitt)
            abschnitt->bloecke << block;
        blockZeilen.clear();
        block = TextBlock();
    };
    auto blockBeginnen = [&](const QuellZeile &z, TextBlock::Art art, const QString &text,
                             const QString &nummer = QString()) {
        blockBeenden();
        if (!abschnitt) {
            fehler << QuellFehler{z.datei, z.nr,
                                  QStringLiteral("Text außerhalb eines Abschnitts (erst „=== "
                                                 "Nummer | Titel“)")};
            return;
        }
        block = TextBlock();
        block.art = art;
        block.nummer = nummer;
        block.datei = z.datei;
        blockZeilen = {{z.nr, text}};
        blockOffen = true;
    };

    static const QRegularExpression nummeriert(QStringLiteral("^(\\d{1,3})\\.\\s+(.*)$"));
    static const QRegularExpression abbildungMuster(
        QStringLiteral("^Bild\\s+(\\d{1,5})\\s*\\|\\s*(.*)$"),
        QRegularExpression::CaseInsensitiveOption);

    QStringList rtfZeilen;
    const QuellZeile *rtfAnfang = nullptr;
    bool tabelleAusserhalb = false; // the table being read lies outside a section
    for (const QuellZeile &z : std::as_const(zeilen)) {
        auto melden = [&](const QString &text) { fehler << QuellFehler{z.datei, z.nr, text}; };
        const QString &roh = z.text;
        const QString zeile = roh.trimmed();

        if (rtfAnfang) {
            if (roh != rtfBlockEnde) {
                rtfZeilen << roh;
                continue;
            }
            if (abschnitt && !abschnitt->rtfUnveraendert) {
                abschnitt->rtfUnveraendert = true;
                abschnitt->rtf = rtfZeilen.join(QStringLiteral("\r\n"));
            }
            rtfAnfang = nullptr;
            continue;
        }
        if (roh == rtfBlockAnfang) {
            blockBeenden();
            if (!abschnitt || abschnitt->rtfUnveraendert)
                melden(abschnitt ? QStringLiteral("Abschnitt hat schon einen RTF-Block")
                                 : QStringLiteral("RTF-Block außerhalb eines Abschnitts"));
            rtfZeilen.clear();
            rtfAnfang = &z;
            continue;
        }
        // A table is a run of lines beginning with "|"; the first other line ends it.
        const bool tabellenZeile = roh.startsWith(QLatin1Char('|'));
        if (blockOffen && block.art == TextBlock::Art::Tabelle && !tabellenZeile)
            blockBeenden();
        if (tabellenZeile) {
            if (blockOffen && block.art == TextBlock::Art::Tabelle)
                blockZeilen << InlineZerleger::Zeile{z.nr, zeile};
            else if (abschnitt)
                blockBeginnen(z, TextBlock::Art::Tabelle, zeile);
            else if (!tabelleAusserhalb) // one message for the whole table
                melden(QStringLiteral("Tabelle außerhalb eines Abschnitts (erst „=== Nummer | "
                                      "Titel“)"));
            tabelleAusserhalb = !abschnitt;
            continue;
        }
        tabelleAusserhalb = false;

        if (zeile.isEmpty()) {
            blockBeenden();
            continue;
        }

        if (roh.startsWith(QLatin1Char('='))) {
            blockBeenden();
            qsizetype stufe = 0;
            while (stufe < roh.size() && roh[stufe] == QLatin1Char('='))
                ++stufe;
            if (stufe > 3 || stufe >= roh.size() || roh[stufe] != QLatin1Char(' ')) {
                melden(QStringLiteral("unbekannte Überschrift: erwartet „= “, „== “ oder „=== “ "
                                      "und dann „Nummer | Titel“"));
                continue;
            }
            int nummer = 0;
            QString titel, marke, meldung;
            bool fortsetzung = false;
            if (!ueberschriftLesen(roh.mid(stufe + 1), nummer, titel, marke, fortsetzung,
                                   meldung)) {
                melden(meldung);
                continue;
            }
            if (!marke.isEmpty() && stufe < 3) {
                melden(QStringLiteral("Marken gibt es nur an Abschnitten („=== Nummer | Titel "
                                      "{#marke}“)"));
                continue;
            }
            if (stufe == 1) {
                thema = nullptr;
                abschnitt = nullptr;
                if (fortsetzung) {
                    kapitel = nullptr;
                    for (QuellKapitel &k : quelle.kapitel) {
                        if (k.nummer == nummer && !kapitel)
                            kapitel = &k;
                    }
                    if (!kapitel) {
                        melden(QStringLiteral("Kapitel %1 wird fortgesetzt, ist aber noch nicht "
                                              "angelegt (erst „= %1 | Titel“ in einer Datei "
                                              "davor)")
                                   .arg(nummer));
                    }
                    continue;
                }
                quelle.kapitel << QuellKapitel{nummer, titel, {}, z.datei, z.nr};
                kapitel = &quelle.kapitel.last();
            } else if (stufe == 2) {
                abschnitt = nullptr;
                thema = nullptr;
                if (!kapitel) {
                    melden(QStringLiteral("Thema außerhalb eines Kapitels (erst „= Nummer | "
                                          "Titel“)"));
                    continue;
                }
                if (fortsetzung) {
                    for (QuellThema &t : kapitel->themen) {
                        if (t.nummer == nummer && !thema)
                            thema = &t;
                    }
                    if (!thema) {
                        melden(QStringLiteral("Thema %1 wird fortgesetzt, ist aber in Kapitel %2 "
                                              "noch nicht angelegt")
                                   .arg(nummer)
                                   .arg(kapitel->nummer));
                    }
                    continue;
                }
                kapitel->themen << QuellThema{nummer, titel, {}, z.datei, z.nr};
                thema = &kapitel->themen.last();
            } else {
                abschnitt = nullptr;
                if (fortsetzung) {
                    melden(QStringLiteral("erwartet „Nummer | Titel“"));
                    continue;
                }
                if (!thema) {
                    melden(QStringLiteral("Abschnitt außerhalb eines Themas (erst „== Nummer | "
                                          "Titel“)"));
                    continue;
                }
                thema->abschnitte << QuellAbschnitt{nummer, titel, marke, {}, {}, z.datei, z.nr};
                abschnitt = &thema->abschnitte.last();
            }
            continue;
        }

        QString rest, wort, gemeint;
        const Schluessel schluessel = schluesselVon(zeile, rest, wort, &gemeint);
        if (schluessel == Schluessel::Unbekannt) {
            blockBeenden();
            melden(QStringLiteral("unbekannte Zeile „%1:“: gemeint ist wohl „%2“ (als Text "
                                  "anders formulieren)")
                       .arg(wort, gemeint));
            continue;
        }
        if (schluessel == Schluessel::Stichwoerter) {
            blockBeenden();
            if (!abschnitt) {
                melden(QStringLiteral("Stichwörter außerhalb eines Abschnitts"));
                continue;
            }
            for (const QString &teil : rest.split(QLatin1Char(';'))) {
                const QString w = teil.simplified();
                if (!w.isEmpty())
                    abschnitt->stichwoerter << w;
            }
            continue;
        }
        if (schluessel == Schluessel::Abbildung) {
            blockBeenden();
            const auto m = abbildungMuster.match(rest);
            const QString beschriftung = m.captured(2).simplified();
            if (!m.hasMatch() || m.captured(1).toInt() < 1 || beschriftung.isEmpty()) {
                melden(QStringLiteral("erwartet „Abbildung: Bild N | Beschriftung“"));
                continue;
            }
            if (beschriftung.contains(QLatin1String("{T")) ||
                beschriftung.contains(QLatin1String("{P"))) {
                melden(QStringLiteral("„{T“ und „{P“ sind für die Linkmarkierung reserviert und "
                                      "dürfen nicht in der Beschriftung stehen"));
                continue;
            }
            if (!abschnitt) {
                melden(QStringLiteral("Abbildung außerhalb eines Abschnitts"));
                continue;
            }
            const int bild = m.captured(1).toInt();
            quelle.abbildungen << QuellAbbildung{bild, beschriftung, z.datei, z.nr};
            // In the text the figure is a line that opens the picture, its caption as the link.
            TextBlock b;
            b.datei = z.datei;
            TextStueck vor;
            vor.text = QStringLiteral("Abbildung: ");
            vor.zeile = z.nr;
            TextStueck link;
            link.text = beschriftung;
            link.verweis = TextStueck::Verweis::Bild;
            link.ziel = QString::number(bild);
            link.zeile = z.nr;
            b.stuecke = {vor, link};
            abschnitt->bloecke << b;
            continue;
        }

        if (roh.startsWith(QStringLiteral("- "))) {
            blockBeginnen(z, TextBlock::Art::Aufzaehlung, roh.mid(2).trimmed());
            continue;
        }
        if (const auto m = nummeriert.match(roh); m.hasMatch()) {
            blockBeginnen(z, TextBlock::Art::Nummeriert, m.captured(2).trimmed(),
                          QString::number(m.captured(1).toInt()));
            continue;
        }
        if (roh.startsWith(QLatin1Char('>'))) {
            const QString text = roh.mid(1).trimmed();
            if (blockOffen && block.art == TextBlock::Art::Hinweis)
                blockZeilen << InlineZerleger::Zeile{z.nr, text};
            else
                blockBeginnen(z, TextBlock::Art::Hinweis, text);
            continue;
        }
        // An ordinary line continues a paragraph; it continues an item or a note only when
        // it is indented, otherwise it starts a new paragraph.
        const bool eingerueckt = roh.front().isSpace();
        if (blockOffen && (block.art == TextBlock::Art::Absatz || eingerueckt))
            blockZeilen << InlineZerleger::Zeile{z.nr, zeile};
        else
            blockBeginnen(z, TextBlock::Art::Absatz, zeile);
    }
    blockBeenden();
    if (rtfAnfang) {
        fehler << QuellFehler{rtfAnfang->datei, rtfAnfang->nr,
                              QStringLiteral("RTF-Block wird nicht mit „```“ geschlossen")};
    }
    for (const QuellKapitel &k : std::as_const(quelle.kapitel)) {
        for (const QuellThema &t : k.themen) {
            for (const QuellAbschnitt &a : t.abschnitte) {
                if (a.datei == dateiName && a.rtfUnveraendert && !a.bloecke.isEmpty())
                    fehler << QuellFehler{a.datei, a.zeile,
                                          QStringLiteral("Abschnitt hat einen RTF-Block und "
                                                         "daneben Text")};
            }
        }
    }
}

void QuellParser::bildDateiLesen(const QString &pfad, const QString &dateiName, HilfeQuelle &quelle,
                                 QList<QuellFehler> &fehler, const Umgebung &umgebung)
{
    static const QRegularExpression muster(QStringLiteral("^(\\d{1,5})-(.+)\\.(maske|png|bmp)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QString name = QFileInfo(pfad).fileName();
    const auto m = muster.match(name);
    if (!m.hasMatch() || m.captured(1).toInt() < 1) {
        fehler << QuellFehler{dateiName, 0,
                              QStringLiteral("Bilddatei muss „NNNNN-name.maske“, „.png“ oder "
                                             "„.bmp“ heißen (NNNNN = Bildnummer ab 1)")};
        return;
    }
    QuellBild bild;
    bild.nummer = m.captured(1).toInt();
    bild.datei = dateiName;
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly)) {
        fehler << QuellFehler{dateiName, 0,
                              QStringLiteral("lässt sich nicht lesen: %1").arg(f.errorString())};
        return;
    }
    const QByteArray daten = f.readAll();
    if (m.captured(3).compare(QLatin1String("maske"), Qt::CaseInsensitive) == 0) {
        int fz = 0;
        QString ft;
        QString beschreibung;
        if (!utf8Lesen(daten, beschreibung, fz)) {
            fehler << QuellFehler{dateiName, fz, keinUtf8};
            return;
        }
        // Variables may name the product in a mock screen too.
        QStringList zeilen = beschreibung.split(QLatin1Char('\n'));
        bool variableFehlt = false;
        for (int i = 0; i < zeilen.size(); ++i) {
            QStringList unbekannt;
            zeilen[i] = variablenErsetzen(zeilen[i], umgebung, unbekannt);
            for (const QString &v : std::as_const(unbekannt)) {
                fehler << unbekannteVariable(dateiName, i + 1, v);
                variableFehlt = true;
            }
        }
        if (variableFehlt)
            return;
        QList<QuellFehler> verloren;
        if (!MaskenZeichner::zeichnen(zeilen.join(QLatin1Char('\n')), bild.bild, bild.titel, fz, ft,
                                      &verloren)) {
            fehler << QuellFehler{dateiName, fz, ft};
            return;
        }
        for (QuellFehler &w : verloren) {
            w.datei = dateiName;
            w.warnung = true;
            fehler << w;
        }
    } else {
        if (!bild.bild.loadFromData(daten)) {
            fehler << QuellFehler{dateiName, 0, QStringLiteral("kein lesbares Bild")};
            return;
        }
        // A bitmap is already in the stored form: its bytes are kept.
        if (!QImage::fromData(daten, "BMP").isNull())
            bild.bmp = daten;
        bild.titel = m.captured(2).replace(QLatin1Char('-'), QLatin1Char(' ')).trimmed();
    }
    quelle.bilder << bild;
}

bool QuellParser::lesen(const QString &ordner, HilfeQuelle &quelle, QList<QuellFehler> &fehler,
                        BildSpeicher *speicher)
{
    const QDir wurzel(ordner);
    const QDir kapitelOrdner(wurzel.filePath(QStringLiteral("kapitel")));
    if (!kapitelOrdner.exists()) {
        fehler << QuellFehler{ordner, 0, QStringLiteral("Ordner „kapitel“ fehlt")};
        return false;
    }
    QList<QuellFehler> neu;
    Umgebung umgebung;
    umgebung.ordner = ordner;
    const QString variablenDatei = QStringLiteral("variablen.txt");
    if (wurzel.exists(variablenDatei)) {
        QString inhalt;
        if (dateiLesen(wurzel.filePath(variablenDatei), variablenDatei, inhalt, neu))
            variablenLesen(variablenDatei, inhalt, umgebung, neu);
    }
    const QStringList dateien =
        kapitelOrdner.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QString &d : dateien) {
        const QString anzeige = QStringLiteral("kapitel/") + d;
        QString inhalt;
        if (dateiLesen(kapitelOrdner.filePath(d), anzeige, inhalt, neu))
            kapitelDateiLesen(anzeige, inhalt, quelle, neu, umgebung);
    }
    const QDir bildOrdner(wurzel.filePath(QStringLiteral("bilder")));
    if (speicher)
        speicher->neueRunde();
    if (bildOrdner.exists()) {
        for (const QString &d : bildOrdner.entryList(QDir::Files, QDir::Name)) {
            const QString pfad = bildOrdner.filePath(d);
            const QString anzeige = QStringLiteral("bilder/") + d;
            if (speicher)
                speicher->lesen(pfad, anzeige, umgebung, quelle, neu);
            else
                bildDateiLesen(pfad, anzeige, quelle, neu, umgebung);
        }
    }
    const QString bildtitelDatei = QStringLiteral("bildtitel.txt");
    if (wurzel.exists(bildtitelDatei)) {
        QString inhalt;
        if (dateiLesen(wurzel.filePath(bildtitelDatei), bildtitelDatei, inhalt, neu))
            bildtitelLesen(bildtitelDatei, inhalt, quelle, neu, umgebung);
    }
    aufloesen(quelle, neu);
    pruefen(quelle, neu);
    ordnen(neu);
    fehler += neu;
    return !hatFehler(neu);
}

void QuellParser::bildtitelLesen(const QString &dateiName, const QString &inhalt,
                                 HilfeQuelle &quelle, QList<QuellFehler> &fehler,
                                 const Umgebung &umgebung)
{
    static const QRegularExpression muster(QStringLiteral("^Bild\\s+(\\d{1,5})\\s*\\|(.*)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    QHash<int, int> gesetzt; // picture number -> line
    const QStringList zeilen = inhalt.split(QLatin1Char('\n'));
    for (int i = 0; i < zeilen.size(); ++i) {
        QStringList unbekannt;
        const QString zeile = variablenErsetzen(zeilen[i], umgebung, unbekannt).trimmed();
        if (zeile.isEmpty() || zeile.startsWith(QLatin1Char('#')))
            continue;
        const auto m = muster.match(zeile);
        const int nummer = m.captured(1).toInt();
        const QString titel = m.captured(2).trimmed();
        auto melden = [&](const QString &text) { fehler << QuellFehler{dateiName, i + 1, text}; };
        if (!unbekannt.isEmpty()) {
            fehler << unbekannteVariable(dateiName, i + 1, unbekannt.first());
            continue;
        }
        if (!m.hasMatch() || titel.isEmpty()) {
            melden(QStringLiteral("erwartet „Bild N | Titel“"));
            continue;
        }
        if (gesetzt.contains(nummer)) {
            melden(QStringLiteral("Bild %1 hat schon einen Titel (Zeile %2)")
                       .arg(nummer)
                       .arg(gesetzt[nummer]));
            continue;
        }
        gesetzt.insert(nummer, i + 1);
        const auto bild = std::find_if(quelle.bilder.begin(), quelle.bilder.end(),
                                       [&](const QuellBild &b) { return b.nummer == nummer; });
        if (bild == quelle.bilder.end())
            melden(QStringLiteral("Bild %1 gibt es nicht in „bilder“").arg(nummer));
        else
            bild->titel = titel;
    }
}

void QuellParser::aufloesen(HilfeQuelle &quelle, QList<QuellFehler> &fehler)
{
    struct Ziel
    {
        QString nummer;
        QString titel;
        QString ort;
    };
    QHash<QString, Ziel> marken;
    for (const QuellKapitel &k : std::as_const(quelle.kapitel)) {
        for (const QuellThema &t : k.themen) {
            for (const QuellAbschnitt &a : t.abschnitte) {
                if (a.marke.isEmpty())
                    continue;
                const QString ort = QStringLiteral("%1:%2").arg(a.datei).arg(a.zeile);
                if (marken.contains(a.marke)) {
                    fehler << QuellFehler{a.datei, a.zeile,
                                          QStringLiteral("Marke „#%1“ gibt es schon (%2)")
                                              .arg(a.marke, marken[a.marke].ort)};
                    continue;
                }
                marken.insert(a.marke, {hilfeNummer(k.nummer, t.nummer, a.nummer), a.titel, ort});
            }
        }
    }
    for (QuellKapitel &k : quelle.kapitel) {
        for (QuellThema &t : k.themen) {
            for (QuellAbschnitt &a : t.abschnitte) {
                for (TextBlock &b : a.bloecke) {
                    for (TextStueck &s : b.stuecke) {
                        if (s.marke.isEmpty())
                            continue;
                        const auto ziel = marken.constFind(s.marke);
                        if (ziel == marken.constEnd()) {
                            fehler << QuellFehler{b.datei, s.zeile,
                                                  QStringLiteral("Link auf #%1: diese Marke gibt "
                                                                 "es nicht")
                                                      .arg(s.marke)};
                            continue;
                        }
                        s.ziel = ziel->nummer;
                        if (s.text.isEmpty())
                            s.text = ziel->titel;
                    }
                }
            }
        }
    }

    QHash<int, const QuellAbbildung *> beschriftet;
    for (const QuellAbbildung &abb : std::as_const(quelle.abbildungen)) {
        const auto frueher = beschriftet.constFind(abb.bild);
        if (frueher == beschriftet.constEnd()) {
            beschriftet.insert(abb.bild, &abb);
        } else if ((*frueher)->beschriftung != abb.beschriftung) {
            fehler << QuellFehler{abb.datei, abb.zeile,
                                  QStringLiteral("Bild %1 hat schon die Beschriftung „%2“ (%3:%4)")
                                      .arg(abb.bild)
                                      .arg((*frueher)->beschriftung, (*frueher)->datei)
                                      .arg((*frueher)->zeile)};
        }
    }
    for (QuellBild &b : quelle.bilder) {
        if (const auto abb = beschriftet.constFind(b.nummer); abb != beschriftet.constEnd())
            b.titel = (*abb)->beschriftung;
    }
}

void QuellParser::pruefen(const HilfeQuelle &quelle, QList<QuellFehler> &fehler)
{
    auto ort = [](const QString &datei, int zeile) {
        return QStringLiteral("%1:%2").arg(datei).arg(zeile);
    };

    const auto titelPruefen = [&fehler](int ebene, const QString &titel, const QString &datei,
                                        int zeile) {
        const QString warnung = QuellWarnungen::titelZuLang(ebene, titel);
        if (!warnung.isEmpty())
            fehler << QuellFehler{datei, zeile, warnung, true};
    };

    // The titles a link's text is compared with, by help number: the section's, and for the
    // first section of a topic also the topic's, as links to a topic's start name the topic.
    QHash<QString, QStringList> nummern;
    QHash<int, QString> kapitelOrt;
    for (const QuellKapitel &k : quelle.kapitel) {
        titelPruefen(1, k.titel, k.datei, k.zeile);
        if (kapitelOrt.contains(k.nummer)) {
            fehler << QuellFehler{k.datei, k.zeile,
                                  QStringLiteral("Kapitel %1 gibt es schon (%2)")
                                      .arg(k.nummer)
                                      .arg(kapitelOrt[k.nummer])};
        } else {
            kapitelOrt.insert(k.nummer, ort(k.datei, k.zeile));
        }
        QHash<int, QString> themaOrt;
        for (const QuellThema &t : k.themen) {
            if (themaOrt.contains(t.nummer)) {
                fehler << QuellFehler{t.datei, t.zeile,
                                      QStringLiteral("Thema %1 gibt es in Kapitel %2 schon (%3)")
                                          .arg(t.nummer)
                                          .arg(k.nummer)
                                          .arg(themaOrt[t.nummer])};
            } else {
                themaOrt.insert(t.nummer, ort(t.datei, t.zeile));
            }
            titelPruefen(2, t.titel, t.datei, t.zeile);
            QHash<int, QString> abschnittOrt;
            for (const QuellAbschnitt &a : t.abschnitte) {
                if (abschnittOrt.contains(a.nummer)) {
                    fehler << QuellFehler{a.datei, a.zeile,
                                          QStringLiteral("Abschnitt %1 gibt es in Thema %2.%3 "
                                                         "schon (%4)")
                                              .arg(a.nummer)
                                              .arg(k.nummer)
                                              .arg(t.nummer)
                                              .arg(abschnittOrt[a.nummer])};
                } else {
                    abschnittOrt.insert(a.nummer, ort(a.datei, a.zeile));
                }
                titelPruefen(3, a.titel, a.datei, a.zeile);
                QStringList titel{a.titel};
                if (&a == &t.abschnitte.first())
                    titel << t.titel;
                nummern.insert(hilfeNummer(k.nummer, t.nummer, a.nummer), titel);
            }
        }
    }

    QHash<int, QString> bildOrt;
    for (const QuellBild &b : quelle.bilder) {
        if (bildOrt.contains(b.nummer)) {
            fehler << QuellFehler{
                b.datei, 0,
                QStringLiteral("Bild %1 gibt es schon (%2)").arg(b.nummer).arg(bildOrt[b.nummer])};
        } else {
            bildOrt.insert(b.nummer, b.datei);
        }
    }

    QSet<int> benutzteBilder;
    for (const QuellKapitel &k : quelle.kapitel) {
        for (const QuellThema &t : k.themen) {
            for (const QuellAbschnitt &a : t.abschnitte) {
                for (const TextBlock &b : a.bloecke) {
                    const QString &datei = b.datei.isEmpty() ? a.datei : b.datei;
                    for (const TextStueck &s : b.stuecke) {
                        const auto ziel = s.verweis == TextStueck::Verweis::Text
                                              ? nummern.constFind(s.ziel)
                                              : nummern.constEnd();
                        if (s.verweis == TextStueck::Verweis::Text &&
                            !s.ziel.startsWith(QLatin1Char('#')) && ziel == nummern.constEnd()) {
                            fehler << QuellFehler{datei, s.zeile,
                                                  QStringLiteral("Link auf %1: diesen Abschnitt "
                                                                 "gibt es nicht")
                                                      .arg(s.ziel)};
                        } else if (s.verweis == TextStueck::Verweis::Text && s.marke.isEmpty() &&
                                   !QuellWarnungen::linkTextPasst(s.text, *ziel)) {
                            // A number given to a new section after the old one moved sends
                            // old links elsewhere; a label would have followed the move.
                            fehler << QuellFehler{datei, s.zeile,
                                                  QStringLiteral("Link „%1“ führt zu %2 „%3“: "
                                                                 "Nummer neu vergeben? (besser "
                                                                 "eine Marke verlinken)")
                                                      .arg(s.text, s.ziel, ziel->first()),
                                                  true};
                        } else if (s.verweis == TextStueck::Verweis::Bild) {
                            benutzteBilder.insert(s.ziel.toInt());
                            if (!bildOrt.contains(s.ziel.toInt())) {
                                fehler << QuellFehler{datei, s.zeile,
                                                      QStringLiteral("Link auf Bild %1: dieses "
                                                                     "Bild gibt es nicht in "
                                                                     "„bilder“")
                                                          .arg(s.ziel)};
                            }
                        }
                    }
                }
                if (a.rtfUnveraendert) {
                    rtfBlockPruefen(a, nummern, bildOrt, benutzteBilder, fehler);
                    continue;
                }
                const qsizetype laenge = RtfErzeuger::sichtbarerText(a.bloecke).size();
                if (laenge > maximaleTextLaenge) {
                    fehler << QuellFehler{a.datei, a.zeile,
                                          QStringLiteral("Abschnitt ist mit %1 Zeichen zu lang "
                                                         "(höchstens %2)")
                                              .arg(laenge)
                                              .arg(maximaleTextLaenge)};
                }
            }
        }
    }
    for (const QuellBild &b : quelle.bilder) {
        if (!benutzteBilder.contains(b.nummer)) {
            fehler << QuellFehler{
                b.datei, 0,
                QStringLiteral("Bild %1 benutzt kein Link und keine Abbildung").arg(b.nummer),
                true};
        }
    }
}

bool QuellParser::hatFehler(const QList<QuellFehler> &fehler)
{
    return std::any_of(fehler.cbegin(), fehler.cend(),
                       [](const QuellFehler &f) { return !f.warnung; });
}

void QuellParser::ordnen(QList<QuellFehler> &fehler)
{
    std::stable_sort(fehler.begin(), fehler.end(), [](const QuellFehler &a, const QuellFehler &b) {
        if (a.datei != b.datei)
            return a.datei < b.datei;
        return a.zeile < b.zeile;
    });
    QSet<QString> gesehen;
    QList<QuellFehler> einmal;
    for (const QuellFehler &f : std::as_const(fehler)) {
        const QString text = f.alsText();
        if (!gesehen.contains(text)) {
            gesehen.insert(text);
            einmal << f;
        }
    }
    fehler = einmal;
}
