// The database -> sources writer; see QuellAusgabe.h and content/README.md.
#include "QuellAusgabe.h"

#include "BildArchiv.h"
#include "DatenbankAnsicht.h"
#include "DatenbankOrt.h"
#include "HilfeDatenbank.h"
#include "QuellParser.h"
#include "QuellWarnungen.h"
#include "RtfErzeuger.h"
#include "RtfLeser.h"
#include "Verweismarkup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>

namespace {

struct DbAbschnitt
{
    qint32 id = 0;
    qint32 nummer = 0;
    QString titel;
    QString text;
    QStringList stichwoerter;
    QString erwartet; // the text the written sources compile to
};

struct DbThema
{
    qint32 nummer = 0;
    QString titel;
    QList<DbAbschnitt> abschnitte;
};

struct DbKapitel
{
    qint32 nummer = 0;
    QString titel;
    QList<DbThema> themen;
};

struct DbBild
{
    qint32 nummer = 0;
    QString titel;
    QByteArray bmp;
};

struct Inhalt
{
    QList<DbKapitel> kapitel;
    QList<DbBild> bilder;
};

QString zitiert(const QString &s)
{
    return QStringLiteral("„") + s + QStringLiteral("“");
}

// A file-name part from a title: lower case, umlauts spelled out, other characters as "-".
QString kurzname(const QString &titel, const QString &ersatz)
{
    const QString f = QuellWarnungen::falten(titel);
    QString aus;
    for (const QChar c : f) {
        if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
            (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            aus += c;
        else if (!aus.endsWith(QLatin1Char('-')))
            aus += QLatin1Char('-');
    }
    aus = aus.left(48);
    while (aus.startsWith(QLatin1Char('-')))
        aus.remove(0, 1);
    while (aus.endsWith(QLatin1Char('-')))
        aus.chop(1);
    return aus.isEmpty() ? ersatz : aus;
}

// A picture title the file name can carry: the compiler takes the name behind the number with
// "-" read as a blank.
bool titelAlsDateiname(const QString &titel)
{
    if (titel.isEmpty() || titel != titel.trimmed() || titel.size() > 80)
        return false;
    return std::all_of(titel.cbegin(), titel.cend(), [](QChar c) {
        return c.isLetterOrNumber() || QStringLiteral(" .,()&+'!").contains(c);
    });
}

// Why a title cannot stand in a heading or a title line, or empty when it can.
QString titelProblem(const QString &titel)
{
    static const QRegularExpression variable(
        QStringLiteral("\\{\\{\\s*[A-Za-z][A-Za-z0-9_-]*\\s*\\}\\}"));
    if (titel.trimmed().isEmpty())
        return QStringLiteral("Titel ist leer");
    if (titel != titel.trimmed())
        return QStringLiteral("Titel %1 beginnt oder endet mit Leerraum").arg(zitiert(titel));
    if (titel.contains(QLatin1Char('\n')) || titel.contains(QLatin1Char('\r')))
        return QStringLiteral("Titel %1 enthält einen Zeilenumbruch").arg(zitiert(titel));
    if (titel.contains(QLatin1String("{#")) || variable.match(titel).hasMatch())
        return QStringLiteral("Titel %1 enthält „{#“ oder „{{Name}}“").arg(zitiert(titel));
    return {};
}

// --- stored RTF -> source text -------------------------------------------------------------

struct Zeichen
{
    QChar c;
    bool fett = false;
    bool kursiv = false;
    bool unterstrichen = false;
};

// The characters of a block with their formats.
QList<Zeichen> zeichenVon(const QTextBlock &qb)
{
    QList<Zeichen> zeichen;
    for (auto it = qb.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        const QTextCharFormat cf = f.charFormat();
        for (const QChar c : f.text())
            zeichen << Zeichen{c, cf.fontWeight() >= QFont::Bold, cf.fontItalic(),
                               cf.fontUnderline()};
    }
    return zeichen;
}

// Runs of equal format from position start on; link tags become links. In a note the italics
// come from the note itself, in a header cell the bold from the header row.
QList<TextStueck> stueckeLesen(const QList<Zeichen> &zeichen, qsizetype start, bool ohneKursiv,
                               bool ohneFett)
{
    static const QRegularExpression textTag(QStringLiteral("\\{T(\\d\\d\\.\\d\\d\\.\\d\\d)\\}"));
    static const QRegularExpression bildTag(QStringLiteral("\\{P(\\d{5})\\}"));
    QString text;
    for (const Zeichen &z : zeichen)
        text += z.c;
    QList<TextStueck> stuecke;
    TextStueck aktuell;
    auto abschliessen = [&]() {
        if (!aktuell.text.isEmpty())
            stuecke << aktuell;
        aktuell = TextStueck();
    };
    for (qsizetype i = start; i < text.size();) {
        const auto t = textTag.match(text, i, QRegularExpression::NormalMatch,
                                     QRegularExpression::AnchorAtOffsetMatchOption);
        const auto p = bildTag.match(text, i, QRegularExpression::NormalMatch,
                                     QRegularExpression::AnchorAtOffsetMatchOption);
        const QString ende = t.hasMatch() ? QStringLiteral("{TE}") : QStringLiteral("{PE}");
        const qsizetype schluss =
            (t.hasMatch() || p.hasMatch()) ? text.indexOf(ende, i) : qsizetype(-1);
        if (schluss > i) {
            abschliessen();
            const qsizetype von = i + (t.hasMatch() ? t.capturedLength() : p.capturedLength());
            TextStueck link;
            link.text = text.mid(von, schluss - von);
            link.verweis = t.hasMatch() ? TextStueck::Verweis::Text : TextStueck::Verweis::Bild;
            link.ziel = t.hasMatch() ? t.captured(1) : QString::number(p.captured(1).toInt());
            if (von < schluss) {
                link.fett = zeichen[von].fett && !ohneFett;
                link.kursiv = zeichen[von].kursiv && !ohneKursiv;
            }
            stuecke << link;
            i = schluss + ende.size();
            continue;
        }
        const Zeichen &z = zeichen[i];
        const bool fett = z.fett && !ohneFett;
        const bool kursiv = z.kursiv && !ohneKursiv;
        if (aktuell.fett != fett || aktuell.kursiv != kursiv ||
            aktuell.unterstrichen != z.unterstrichen) {
            abschliessen();
            aktuell.fett = fett;
            aktuell.kursiv = kursiv;
            aktuell.unterstrichen = z.unterstrichen;
        }
        aktuell.text += z.c;
        ++i;
    }
    abschliessen();
    return stuecke;
}

// A table as RtfErzeuger writes it: a header row when every character of the first row is
// bold (and there is a further row), each column aligned as its cells in the first body row.
TextBlock tabelleLesen(const QTextTable &t)
{
    TextBlock b;
    b.art = TextBlock::Art::Tabelle;
    QList<QList<QList<Zeichen>>> zellen;
    QList<QList<Qt::Alignment>> ausrichtung;
    for (int r = 0; r < t.rows(); ++r) {
        zellen << QList<QList<Zeichen>>();
        ausrichtung << QList<Qt::Alignment>();
        for (int c = 0; c < t.columns(); ++c) {
            const QTextTableCell zelle = t.cellAt(r, c);
            QList<Zeichen> zeichen;
            Qt::Alignment a = Qt::AlignLeft;
            for (auto it = zelle.begin(); !it.atEnd(); ++it) {
                const QTextBlock qb = it.currentBlock();
                if (!qb.isValid())
                    continue;
                if (!zeichen.isEmpty())
                    zeichen << Zeichen{QLatin1Char(' ')};
                zeichen += zeichenVon(qb);
                a = qb.blockFormat().alignment();
            }
            zellen.last() << zeichen;
            ausrichtung.last() << a;
        }
    }
    b.kopfzeile =
        t.rows() > 1 && std::all_of(zellen[0].cbegin(), zellen[0].cend(), [](const auto &z) {
            return std::all_of(z.cbegin(), z.cend(),
                               [](const Zeichen &c) { return c.fett || c.c.isSpace(); });
        });
    const int muster = b.kopfzeile ? 1 : 0;
    for (int c = 0; c < t.columns(); ++c) {
        const Qt::Alignment a = ausrichtung.value(muster).value(c);
        b.ausrichtung << (a & Qt::AlignRight     ? TextBlock::Ausrichtung::Rechts
                          : a & Qt::AlignHCenter ? TextBlock::Ausrichtung::Mitte
                                                 : TextBlock::Ausrichtung::Links);
    }
    for (int r = 0; r < zellen.size(); ++r) {
        QList<TextBlock::Zelle> zeile;
        for (const QList<Zeichen> &z : std::as_const(zellen[r])) {
            const QList<TextStueck> stuecke = stueckeLesen(z, 0, false, r == 0 && b.kopfzeile);
            zeile << TextBlock::Zelle{b.stuecke.size(), stuecke.size()};
            b.stuecke += stuecke;
        }
        b.zeilen << zeile;
    }
    return b;
}

// The paragraphs of a stored text as RtfErzeuger writes them: empty paragraphs separate blocks,
// "•\t" and "N.\t" start list items, an indented paragraph is a note, tables are pipe tables.
// Runs of equal format become pieces; link tags become links. Whatever else the text holds is
// left to the check.
QList<TextBlock> bloeckeLesen(const QString &rtf)
{
    QTextDocument doc;
    RtfLesen(rtf, doc);
    static const QRegularExpression nummeriert(QStringLiteral("^(\\d{1,3})\\.\\t"));
    QList<TextBlock> bloecke;
    const QTextTable *letzteTabelle = nullptr;
    for (QTextBlock qb = doc.begin(); qb.isValid(); qb = qb.next()) {
        if (const QTextTable *t = QTextCursor(qb).currentTable()) {
            if (t != letzteTabelle)
                bloecke << tabelleLesen(*t);
            letzteTabelle = t;
            continue;
        }
        const QList<Zeichen> zeichen = zeichenVon(qb);
        if (zeichen.isEmpty())
            continue;
        QString text;
        for (const Zeichen &z : zeichen)
            text += z.c;
        TextBlock b;
        qsizetype start = 0;
        if (text.startsWith(QStringLiteral("\u2022\t"))) {
            b.art = TextBlock::Art::Aufzaehlung;
            start = 2;
        } else if (const auto m = nummeriert.match(text); m.hasMatch()) {
            b.art = TextBlock::Art::Nummeriert;
            b.nummer = m.captured(1);
            start = m.capturedLength();
        } else if (qb.blockFormat().leftMargin() > 0) {
            b.art = TextBlock::Art::Hinweis;
        }
        b.stuecke = stueckeLesen(zeichen, start, b.art == TextBlock::Art::Hinweis, false);
        bloecke << b;
    }
    return bloecke;
}

// One run of plain text in source spelling: characters of the markup escaped where they would
// be read as markup.
QString maskiert(const QString &text)
{
    QString aus;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        bool escape = QStringLiteral("\\[]|{}").contains(c);
        if (QStringLiteral("*_/").contains(c)) {
            escape = i == 0 || i + 1 == text.size() || text[i - 1] == c || text[i + 1] == c;
            // "//" right after ":" is text, as in https://
            if (c == QLatin1Char('/') && i > 0 &&
                ((text[i - 1] == QLatin1Char(':') && i + 1 < text.size() &&
                  text[i + 1] == QLatin1Char('/')) ||
                 (i > 1 && text[i - 2] == QLatin1Char(':') && text[i - 1] == QLatin1Char('/'))))
                escape = false;
        }
        if (escape)
            aus += QLatin1Char('\\');
        aus += c;
    }
    return aus;
}

// Runs in source spelling, markup opened and closed around them.
QString stueckeSchreiben(const QList<TextStueck> &stuecke)
{
    QString zeile;
    bool fett = false, kursiv = false, unter = false;
    auto umschalten = [&](bool f, bool k, bool u) {
        if (fett != f)
            zeile += QStringLiteral("**");
        if (kursiv != k)
            zeile += QStringLiteral("//");
        if (unter != u)
            zeile += QStringLiteral("__");
        fett = f;
        kursiv = k;
        unter = u;
    };
    for (const TextStueck &t : stuecke) {
        if (t.verweis == TextStueck::Verweis::Kein) {
            umschalten(t.fett, t.kursiv, t.unterstrichen);
            zeile += maskiert(t.text);
            continue;
        }
        umschalten(t.fett, t.kursiv, unter);
        const QString ziel =
            t.verweis == TextStueck::Verweis::Text ? t.ziel : QStringLiteral("Bild ") + t.ziel;
        zeile += QStringLiteral("[[%1|%2]]").arg(ziel, t.text);
    }
    umschalten(false, false, false);
    return zeile;
}

QString tabelleSchreiben(const TextBlock &b)
{
    QStringList zeilen;
    for (qsizetype r = 0; r < b.zeilen.size(); ++r) {
        QString zeile = QStringLiteral("|");
        for (const TextBlock::Zelle &z : b.zeilen[r])
            zeile += QLatin1Char(' ') + stueckeSchreiben(b.stueckeVon(z)) + QStringLiteral(" |");
        zeilen << zeile;
        if (r == 0 && b.kopfzeile) {
            QString trenner = QStringLiteral("|");
            for (const TextBlock::Ausrichtung a : b.ausrichtung) {
                trenner += a == TextBlock::Ausrichtung::Rechts  ? QStringLiteral("---:|")
                           : a == TextBlock::Ausrichtung::Mitte ? QStringLiteral(":---:|")
                                                                : QStringLiteral(":---|");
            }
            zeilen << trenner;
        }
    }
    return zeilen.join(QLatin1Char('\n'));
}

QString zeileSchreiben(const TextBlock &b, const QHash<int, QString> &bildTitel)
{
    const auto &s = b.stuecke;
    if (b.art == TextBlock::Art::Tabelle)
        return tabelleSchreiben(b);
    // A figure: "Abbildung: " and a picture link whose text is the picture's title.
    if (b.art == TextBlock::Art::Absatz && s.size() == 2 &&
        s[0].text == QLatin1String("Abbildung: ") && s[0].verweis == TextStueck::Verweis::Kein &&
        !s[0].fett && !s[0].kursiv && !s[0].unterstrichen &&
        s[1].verweis == TextStueck::Verweis::Bild && !s[1].fett && !s[1].kursiv &&
        bildTitel.value(s[1].ziel.toInt()) == s[1].text)
        return QStringLiteral("Abbildung: Bild %1 | %2").arg(s[1].ziel, s[1].text);

    switch (b.art) {
    case TextBlock::Art::Aufzaehlung:
        return QStringLiteral("- ") + stueckeSchreiben(s);
    case TextBlock::Art::Nummeriert:
        return b.nummer + QStringLiteral(". ") + stueckeSchreiben(s);
    case TextBlock::Art::Hinweis:
        return QStringLiteral("> ") + stueckeSchreiben(s);
    default:
        return stueckeSchreiben(s);
    }
}

// The source lines of a section, blank lines between blocks except between list items.
QString quelltextSchreiben(const QList<TextBlock> &bloecke, const QHash<int, QString> &bildTitel)
{
    QString aus;
    auto liste = [](TextBlock::Art a) {
        return a == TextBlock::Art::Aufzaehlung || a == TextBlock::Art::Nummeriert;
    };
    for (qsizetype i = 0; i < bloecke.size(); ++i) {
        if (i > 0 && !(liste(bloecke[i].art) && liste(bloecke[i - 1].art)))
            aus += QLatin1Char('\n');
        aus += zeileSchreiben(bloecke[i], bildTitel) + QLatin1Char('\n');
    }
    return aus;
}

// The section text as source when it compiles to a text that the help shows as the stored one
// (true; quelltext and erwartet filled), else false with the reason.
bool alsQuelltext(const QString &gespeichert, const QSet<QString> &nummern,
                  const QHash<int, QString> &bildTitel, QString &quelltext, QString &erwartet,
                  QString &grund)
{
    if (!gespeichert.startsWith(QLatin1String("{\\rtf"))) {
        grund = QStringLiteral("Text ist kein RTF");
        return false;
    }
    quelltext = quelltextSchreiben(bloeckeLesen(gespeichert), bildTitel);
    HilfeQuelle q;
    QList<QuellFehler> fehler;
    QuellParser::kapitelDateiLesen(QStringLiteral("abschnitt"),
                                   QStringLiteral("= 1 | K\n== 1 | T\n=== 1 | A\n") + quelltext, q,
                                   fehler);
    if (!fehler.isEmpty() || q.kapitel.size() != 1 || q.kapitel[0].themen.size() != 1 ||
        q.kapitel[0].themen[0].abschnitte.size() != 1) {
        grund = QStringLiteral("als Quelltext nicht eindeutig lesbar") +
                (fehler.isEmpty() ? QString() : QStringLiteral(" (") + fehler[0].text + ')');
        return false;
    }
    const QuellAbschnitt &a = q.kapitel[0].themen[0].abschnitte[0];
    for (const TextBlock &b : a.bloecke) {
        for (const TextStueck &s : b.stuecke) {
            if (s.verweis == TextStueck::Verweis::Text && !nummern.contains(s.ziel)) {
                grund =
                    QStringLiteral("Verweis auf %1: diesen Abschnitt gibt es nicht").arg(s.ziel);
                return false;
            }
            if (s.verweis == TextStueck::Verweis::Bild && !bildTitel.contains(s.ziel.toInt())) {
                grund =
                    QStringLiteral("Verweis auf Bild %1: dieses Bild gibt es nicht").arg(s.ziel);
                return false;
            }
        }
    }
    erwartet = RtfErzeuger::erzeugen(a.bloecke);
    if (erwartet == gespeichert)
        return true;
    QString unterschied;
    if (!QuellAusgabe::gleichDargestellt(gespeichert, erwartet, &unterschied)) {
        grund = QStringLiteral("Darstellung weicht ab: ") + unterschied;
        return false;
    }
    return true;
}

// Why a stored text cannot stand in an RTF block, or empty: the block's lines are joined with
// CR LF, so a lone CR or LF, or a line "```", cannot be written.
QString rtfBlockProblem(const QString &text)
{
    if (QString::fromUtf8(text.toUtf8()) != text)
        return QStringLiteral("Text enthält Zeichen, die UTF-8 nicht fassen kann");
    for (const QString &zeile : text.split(QStringLiteral("\r\n"))) {
        if (zeile.contains(QLatin1Char('\r')) || zeile.contains(QLatin1Char('\n')))
            return QStringLiteral("Text enthält einen Zeilenumbruch ohne CR LF");
        if (zeile == QLatin1String("```"))
            return QStringLiteral("Text enthält eine Zeile „```“");
    }
    return {};
}

// --- reading the database ---------------------------------------------------------------------

bool inhaltLesen(const QString &datenbank, Inhalt &inhalt, QStringList &nicht, QString &fehler)
{
    const DatenbankOrt ort(datenbank);
    HilfeDatenbank &db = standardDatenbank();
    const QString lesefehler = QStringLiteral("%1 lässt sich nicht lesen").arg(datenbank);
    const Ergebnis<KapitelZeile> kapitel = db.kapitel();
    if (!kapitel.ok) {
        fehler = lesefehler;
        return false;
    }
    QHash<qint32, QString> textNummer; // Texte.ID -> help number
    QHash<qint32, DbAbschnitt *> textZeile;
    int themen = 0, texte = 0;
    for (const KapitelZeile &k : kapitel.zeilen) {
        DbKapitel dk{k.nummer, k.bezeichnung, {}};
        const Ergebnis<ThemaZeile> th = db.themen(k.id);
        if (!th.ok) {
            fehler = lesefehler;
            return false;
        }
        for (const ThemaZeile &t : th.zeilen) {
            DbThema dt{t.nummer, t.bezeichnung, {}};
            const Ergebnis<TextZeile> tx = db.texte(t.id);
            if (!tx.ok) {
                fehler = lesefehler;
                return false;
            }
            for (const TextZeile &x : tx.zeilen)
                dt.abschnitte << DbAbschnitt{x.id, x.nummer, x.bezeichnung, x.text, {}, {}};
            texte += int(tx.zeilen.size());
            dk.themen << dt;
        }
        themen += int(th.zeilen.size());
        inhalt.kapitel << dk;
    }
    for (DbKapitel &k : inhalt.kapitel) {
        for (DbThema &t : k.themen) {
            for (DbAbschnitt &a : t.abschnitte) {
                textNummer.insert(a.id,
                                  DatenbankAnsicht::hilfeNummer(k.nummer, t.nummer, a.nummer));
                textZeile.insert(a.id, &a);
            }
        }
    }

    // Rows the tree of chapters does not reach would be lost.
    const Ergebnis<Werte> zahlen = db.abfragen(
        QStringLiteral("SELECT (SELECT COUNT(*) FROM Themen), (SELECT COUNT(*) FROM Texte)"));
    const Ergebnis<Werte> bilder =
        db.abfragen(QStringLiteral("SELECT Nummer, Bild, Bezeichnung FROM Bilder ORDER BY Nummer"));
    const Ergebnis<Werte> woerter =
        db.abfragen(QStringLiteral("SELECT ID, Wort FROM \"WörterIndex\" ORDER BY ID"));
    const Ergebnis<Werte> zuordnungen =
        db.abfragen(QStringLiteral("SELECT IndexID, TextID FROM ZuordnungIndex"));
    if (!zahlen.ok || !bilder.ok || !woerter.ok || !zuordnungen.ok || zahlen.zeilen.isEmpty()) {
        fehler = lesefehler;
        return false;
    }
    if (const int n = zahlen.zeilen[0].at(0).toInt() - themen; n > 0)
        nicht << QStringLiteral("%1 Themen gehören zu keinem Kapitel").arg(n);
    if (const int n = zahlen.zeilen[0].at(1).toInt() - texte; n > 0)
        nicht << QStringLiteral("%1 Abschnitte gehören zu keinem Thema").arg(n);

    QSet<qint32> bildNummern;
    for (const Werte &z : bilder.zeilen) {
        DbBild b{z.at(0).toInt(), z.at(2).toString(), BildArchiv::mitglied(z.at(1).toByteArray())};
        const QString name = QStringLiteral("Bild %1").arg(z.at(0).toString());
        if (b.nummer < 1 || b.nummer > 99999 || z.at(0).toString() != QString::number(b.nummer))
            nicht << name + QStringLiteral(": Nummer ist keine Zahl von 1 bis 99999");
        else if (bildNummern.contains(b.nummer))
            nicht << name + QStringLiteral(": Nummer gibt es mehrfach");
        else if (QImage::fromData(b.bmp, "BMP").isNull())
            nicht << name + QStringLiteral(": Archiv enthält kein lesbares BMP „%1“")
                                .arg(QLatin1String(BildArchiv::mitgliedName));
        else if (const QString p = titelProblem(b.titel); !p.isEmpty())
            nicht << name + QStringLiteral(": ") + p;
        bildNummern.insert(b.nummer);
        inhalt.bilder << b;
    }

    // Keywords: each must lead to a section, once per section, and differ from every other
    // in more than case (the compiler merges those).
    QHash<qint32, QString> wort;
    QHash<QString, QString> gefaltet;
    for (const Werte &z : woerter.zeilen) {
        const QString w = z.at(1).toString();
        const QString name = QStringLiteral("Stichwort ") + zitiert(w);
        wort.insert(z.at(0).toInt(), w);
        if (w.isEmpty() || w != w.simplified() || w.contains(QLatin1Char(';')) ||
            w.contains(QLatin1String("{{")))
            nicht << name + QStringLiteral(": leer, mit „;“, „{{“ oder Leerraum am Rand");
        else if (gefaltet.contains(w.toCaseFolded()))
            nicht << name + QStringLiteral(": gleicht %1 bis auf Groß- und Kleinschreibung")
                                .arg(zitiert(gefaltet[w.toCaseFolded()]));
        gefaltet.insert(w.toCaseFolded(), w);
    }
    QSet<QPair<qint32, qint32>> gesehen;
    QSet<qint32> zugeordnet;
    for (const Werte &z : zuordnungen.zeilen) {
        const qint32 w = z.at(0).toInt(), t = z.at(1).toInt();
        const QString beschreibung =
            QStringLiteral("Zuordnung Stichwort %1 → Text %2")
                .arg(wort.contains(w) ? zitiert(wort[w]) : QString::number(w))
                .arg(textNummer.value(t, QString::number(t)));
        if (!wort.contains(w) || !textZeile.contains(t)) {
            nicht << beschreibung + QStringLiteral(": Stichwort oder Text gibt es nicht");
        } else if (gesehen.contains({w, t})) {
            nicht << beschreibung + QStringLiteral(": doppelt");
        } else {
            gesehen.insert({w, t});
            zugeordnet.insert(w);
            textZeile[t]->stichwoerter << wort[w];
        }
    }
    for (auto it = wort.cbegin(); it != wort.cend(); ++it) {
        if (!zugeordnet.contains(it.key()))
            nicht << QStringLiteral("Stichwort %1: führt zu keinem Abschnitt").arg(zitiert(*it));
    }
    for (DbAbschnitt *a : std::as_const(textZeile))
        std::sort(a->stichwoerter.begin(), a->stichwoerter.end());
    return true;
}

// Numbers 1..99, unique per level, and titles a heading can hold.
void gliederungPruefen(const Inhalt &inhalt, QStringList &nicht)
{
    auto pruefen = [&](const QString &was, qint32 nummer, const QString &titel,
                       QSet<qint32> &nummern) {
        if (nummer < 1 || nummer > 99)
            nicht << was + QStringLiteral(": Nummer ist keine Zahl von 1 bis 99");
        else if (nummern.contains(nummer))
            nicht << was + QStringLiteral(": Nummer gibt es mehrfach");
        nummern.insert(nummer);
        if (const QString p = titelProblem(titel); !p.isEmpty())
            nicht << was + QStringLiteral(": ") + p;
    };
    QSet<qint32> kn;
    for (const DbKapitel &k : inhalt.kapitel) {
        const QString kName = QStringLiteral("Kapitel %1").arg(k.nummer);
        pruefen(kName, k.nummer, k.titel, kn);
        QSet<qint32> tn;
        for (const DbThema &t : k.themen) {
            const QString tName = QStringLiteral("Thema %1.%2").arg(k.nummer).arg(t.nummer);
            pruefen(tName, t.nummer, t.titel, tn);
            QSet<qint32> an;
            for (const DbAbschnitt &a : t.abschnitte)
                pruefen(
                    QStringLiteral("Abschnitt %1.%2.%3").arg(k.nummer).arg(t.nummer).arg(a.nummer),
                    a.nummer, a.titel, an);
        }
    }
}

// --- writing and the check of what was written --------------------------------------------------

bool dateiSchreiben(const QString &pfad, const QByteArray &inhalt, QString &fehler)
{
    QFile f(pfad);
    if (!f.open(QIODevice::WriteOnly) || f.write(inhalt) != inhalt.size() || !f.flush()) {
        fehler = QStringLiteral("%1 lässt sich nicht schreiben: %2").arg(pfad, f.errorString());
        return false;
    }
    f.close();
    if (f.error() != QFileDevice::NoError) {
        fehler = QStringLiteral("%1 lässt sich nicht schreiben: %2").arg(pfad, f.errorString());
        return false;
    }
    return true;
}

// Reads the written folder with the compiler's parser and compares it with the database.
QString zurueckPruefen(const QString &ordner, const Inhalt &inhalt)
{
    HilfeQuelle q;
    QList<QuellFehler> fehler;
    if (!QuellParser::lesen(ordner, q, fehler)) {
        for (const QuellFehler &f : std::as_const(fehler)) {
            if (!f.warnung)
                return f.alsText();
        }
    }
    if (q.kapitel.size() != inhalt.kapitel.size())
        return QStringLiteral("Zahl der Kapitel weicht ab");
    for (qsizetype i = 0; i < q.kapitel.size(); ++i) {
        const QuellKapitel &k = q.kapitel[i];
        const DbKapitel &dk = inhalt.kapitel[i];
        if (k.nummer != dk.nummer || k.titel != dk.titel || k.themen.size() != dk.themen.size())
            return QStringLiteral("Kapitel %1 weicht ab").arg(dk.nummer);
        for (qsizetype j = 0; j < k.themen.size(); ++j) {
            const QuellThema &t = k.themen[j];
            const DbThema &dt = dk.themen[j];
            if (t.nummer != dt.nummer || t.titel != dt.titel ||
                t.abschnitte.size() != dt.abschnitte.size())
                return QStringLiteral("Thema %1.%2 weicht ab").arg(dk.nummer).arg(dt.nummer);
            for (qsizetype x = 0; x < t.abschnitte.size(); ++x) {
                const QuellAbschnitt &a = t.abschnitte[x];
                const DbAbschnitt &da = dt.abschnitte[x];
                QStringList woerter = a.stichwoerter;
                std::sort(woerter.begin(), woerter.end());
                const QString text = a.rtfUnveraendert ? a.rtf : RtfErzeuger::erzeugen(a.bloecke);
                if (a.nummer != da.nummer || a.titel != da.titel || woerter != da.stichwoerter ||
                    text != da.erwartet)
                    return QStringLiteral("Abschnitt %1.%2.%3 weicht ab")
                        .arg(dk.nummer)
                        .arg(dt.nummer)
                        .arg(da.nummer);
            }
        }
    }
    if (q.bilder.size() != inhalt.bilder.size())
        return QStringLiteral("Zahl der Bilder weicht ab");
    for (const DbBild &b : inhalt.bilder) {
        const auto it = std::find_if(q.bilder.cbegin(), q.bilder.cend(),
                                     [&](const QuellBild &x) { return x.nummer == b.nummer; });
        if (it == q.bilder.cend() || it->titel != b.titel || it->bmp != b.bmp)
            return QStringLiteral("Bild %1 weicht ab").arg(b.nummer);
    }
    return {};
}

bool ordnerEntfernen(const QString &pfad)
{
    return QDir(pfad).removeRecursively();
}

// A chapter file: headings, keywords, the section texts (as source or as RTF blocks).
QString kapitelDatei(DbKapitel &k, const QSet<QString> &nummern,
                     const QHash<int, QString> &bildTitel, QuellAusgabe::Ergebnis &ergebnis,
                     QSet<int> &abgebildet)
{
    QString aus = QStringLiteral("= %1 | %2\n").arg(k.nummer).arg(k.titel);
    for (DbThema &t : k.themen) {
        aus += QStringLiteral("\n== %1 | %2\n").arg(t.nummer).arg(t.titel);
        for (DbAbschnitt &a : t.abschnitte) {
            ++ergebnis.abschnitte;
            const QString nummer = DatenbankAnsicht::hilfeNummer(k.nummer, t.nummer, a.nummer);
            aus += QStringLiteral("\n=== %1 | %2\n").arg(a.nummer).arg(a.titel);
            if (!a.stichwoerter.isEmpty())
                aus += QStringLiteral("Stichwörter: ") + a.stichwoerter.join(QStringLiteral("; ")) +
                       QLatin1Char('\n');
            QString quelltext, grund;
            if (alsQuelltext(a.text, nummern, bildTitel, quelltext, a.erwartet, grund)) {
                if (!quelltext.isEmpty())
                    aus += QLatin1Char('\n') + quelltext;
                static const QRegularExpression abbildung(
                    QStringLiteral("^Abbildung: Bild (\\d+) \\|"),
                    QRegularExpression::MultilineOption);
                for (auto it = abbildung.globalMatch(quelltext); it.hasNext();)
                    abgebildet.insert(it.next().captured(1).toInt());
                continue;
            }
            if (const QString p = rtfBlockProblem(a.text); !p.isEmpty()) {
                ergebnis.nichtDarstellbar << QStringLiteral("Abschnitt %1: %2").arg(nummer, p);
                continue;
            }
            ergebnis.alsRtf << nummer + QStringLiteral(": ") + grund;
            a.erwartet = a.text;
            aus += QStringLiteral("\n```rtf\n") + a.text.split(QStringLiteral("\r\n")).join('\n') +
                   QStringLiteral("\n```\n");
        }
    }
    return aus;
}

} // namespace

bool QuellAusgabe::auspacken(const QString &datenbank, const QString &ordner, bool ersetzen,
                             Ergebnis &ergebnis)
{
    auto scheitern = [&](const QString &text) {
        ergebnis.fehler = text;
        return false;
    };
    if (!QFileInfo(datenbank).isFile())
        return scheitern(QStringLiteral("%1 gibt es nicht").arg(datenbank));
    const QFileInfo zielInfo(ordner);
    if (zielInfo.exists() && (!ersetzen || !zielInfo.isDir()))
        return scheitern(QStringLiteral("%1 gibt es schon").arg(ordner));
    if (!zielInfo.absoluteDir().exists())
        return scheitern(QStringLiteral("Ordner %1 gibt es nicht").arg(zielInfo.absolutePath()));

    Inhalt inhalt;
    if (!inhaltLesen(datenbank, inhalt, ergebnis.nichtDarstellbar, ergebnis.fehler))
        return false;
    gliederungPruefen(inhalt, ergebnis.nichtDarstellbar);

    QSet<QString> nummern;
    for (const DbKapitel &k : std::as_const(inhalt.kapitel))
        for (const DbThema &t : k.themen)
            for (const DbAbschnitt &a : t.abschnitte)
                nummern.insert(DatenbankAnsicht::hilfeNummer(k.nummer, t.nummer, a.nummer));
    QHash<int, QString> bildTitel;
    for (const DbBild &b : std::as_const(inhalt.bilder))
        bildTitel.insert(b.nummer, b.titel);

    QTemporaryDir tmp(zielInfo.absolutePath() + QStringLiteral("/.") + zielInfo.fileName() +
                      QStringLiteral(".auspacken-XXXXXX"));
    const QDir wurzel(tmp.path());
    if (!tmp.isValid() || !wurzel.mkdir(QStringLiteral("kapitel")) ||
        !wurzel.mkdir(QStringLiteral("bilder")))
        return scheitern(QStringLiteral("Ordner neben %1 lässt sich nicht anlegen").arg(ordner));

    QSet<int> abgebildet; // pictures whose title a figure line gives
    QList<QPair<QString, QString>> kapitelDateien;
    for (qsizetype i = 0; i < inhalt.kapitel.size(); ++i) {
        DbKapitel &k = inhalt.kapitel[i];
        const QString name = QStringLiteral("kapitel/%1-%2.txt")
                                 .arg(i + 1, 2, 10, QLatin1Char('0'))
                                 .arg(kurzname(k.titel, QStringLiteral("kapitel")));
        kapitelDateien.append({name, kapitelDatei(k, nummern, bildTitel, ergebnis, abgebildet)});
        ++ergebnis.kapitel;
    }
    if (!ergebnis.nichtDarstellbar.isEmpty())
        return false;

    QString fehler;
    for (const auto &[name, text] : std::as_const(kapitelDateien)) {
        if (!dateiSchreiben(wurzel.filePath(name), text.toUtf8(), fehler))
            return scheitern(fehler);
    }
    QString bildtitel;
    for (const DbBild &b : std::as_const(inhalt.bilder)) {
        const bool imNamen = titelAlsDateiname(b.titel);
        const QString name =
            QStringLiteral("bilder/%1-%2.bmp")
                .arg(b.nummer, 5, 10, QLatin1Char('0'))
                .arg(imNamen ? QString(b.titel).replace(QLatin1Char(' '), QLatin1Char('-'))
                             : kurzname(b.titel, QStringLiteral("bild")));
        if (!dateiSchreiben(wurzel.filePath(name), b.bmp, fehler))
            return scheitern(fehler);
        if (!imNamen && !abgebildet.contains(b.nummer))
            bildtitel += QStringLiteral("Bild %1 | %2\n").arg(b.nummer).arg(b.titel);
        ++ergebnis.bilder;
    }
    if (!bildtitel.isEmpty() && !dateiSchreiben(wurzel.filePath(QStringLiteral("bildtitel.txt")),
                                                bildtitel.toUtf8(), fehler))
        return scheitern(fehler);

    if (const QString abweichung = zurueckPruefen(tmp.path(), inhalt); !abweichung.isEmpty())
        return scheitern(QStringLiteral("die geschriebenen Quellen geben die Datenbank nicht "
                                        "wieder: ") +
                         abweichung);

    // The old folder steps aside under a temporary name and is removed only once the new one
    // stands in its place.
    QString alt;
    if (zielInfo.exists()) {
        QTemporaryDir platz(zielInfo.absolutePath() + QStringLiteral("/.") + zielInfo.fileName() +
                            QStringLiteral(".alt-XXXXXX"));
        if (!platz.isValid())
            return scheitern(
                QStringLiteral("Ordner neben %1 lässt sich nicht anlegen").arg(ordner));
        alt = platz.path();
        platz.setAutoRemove(false);
        if (!QDir().rmdir(alt) || !QDir().rename(zielInfo.absoluteFilePath(), alt))
            return scheitern(QStringLiteral("%1 lässt sich nicht ersetzen").arg(ordner));
    }
    if (!QDir().rename(tmp.path(), zielInfo.absoluteFilePath())) {
        if (!alt.isEmpty())
            QDir().rename(alt, zielInfo.absoluteFilePath());
        return scheitern(QStringLiteral("%1 lässt sich nicht anlegen").arg(ordner));
    }
    tmp.setAutoRemove(false);
    if (!alt.isEmpty() && !ordnerEntfernen(alt))
        return scheitern(QStringLiteral("der alte Ordner %1 lässt sich nicht entfernen").arg(alt));
    return true;
}

namespace {

// The rendering of a stored text as comparable lines: per paragraph its indents and tab stops,
// per run of equal format the format and the text, then the links.
QStringList darstellung(const QString &gespeichert)
{
    QTextDocument doc;
    QList<tVerweis> verweise;
    qint16 anzahl = 0;
    Verweismarkup::darstellen(gespeichert, doc, verweise, anzahl);
    QStringList zeilen;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat bf = b.blockFormat();
        QStringList tabs;
        for (const QTextOption::Tab &t : bf.tabPositions())
            tabs << QString::number(t.position);
        zeilen << QStringLiteral("Absatz li %1 fi %2 ri %3 ausrichtung %4 tabs %5")
                      .arg(bf.leftMargin())
                      .arg(bf.textIndent())
                      .arg(bf.rightMargin())
                      .arg(int(bf.alignment()))
                      .arg(tabs.join(QLatin1Char(',')));
        QString format, text;
        auto abschliessen = [&]() {
            if (!text.isEmpty())
                zeilen << format + QStringLiteral(": ") + text;
            text.clear();
        };
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QString fmt =
                QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
                    .arg(f.fontFamilies().toStringList().join(QLatin1Char(',')))
                    .arg(f.fontPointSize())
                    .arg(f.fontWeight())
                    .arg(f.fontItalic())
                    .arg(f.fontUnderline())
                    .arg(f.fontStrikeOut())
                    .arg(int(f.verticalAlignment()))
                    .arg(f.foreground().style() == Qt::NoBrush ? QStringLiteral("-")
                                                               : f.foreground().color().name());
            if (fmt != format)
                abschliessen();
            format = fmt;
            text += it.fragment().text();
        }
        abschliessen();
    }
    for (int i = 1; i <= anzahl && i < verweise.size(); ++i) {
        const tVerweis &v = verweise[i];
        zeilen << QStringLiteral("Verweis %1-%2 %3 %4 %5")
                      .arg(v.Anfang)
                      .arg(v.Ende)
                      .arg(v.TextNummer, v.BildNummer, v.BildTitel);
    }
    return zeilen;
}

} // namespace

bool QuellAusgabe::gleichDargestellt(const QString &a, const QString &b, QString *unterschied)
{
    const QStringList da = darstellung(a), db = darstellung(b);
    if (da == db)
        return true;
    if (unterschied) {
        qsizetype i = 0;
        while (i < da.size() && i < db.size() && da[i] == db[i])
            ++i;
        const QString &zeile = i < da.size() ? da[i] : db[i];
        if (zeile.startsWith(QLatin1String("Absatz ")))
            *unterschied = QStringLiteral("Absätze, Einzüge oder Tabulatoren");
        else if (zeile.startsWith(QLatin1String("Verweis ")))
            *unterschied = QStringLiteral("Verweise");
        else
            *unterschied = QStringLiteral("Text oder Schrift bei „%1“")
                               .arg(zeile.section(QStringLiteral(": "), 1).left(30));
    }
    return false;
}
