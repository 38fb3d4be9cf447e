// The help content as read from the writers' sources: chapters, topics, sections with their
// paragraphs and keywords, and the pictures. The parser fills it, the database builder and the
// synthetic generator read it. Positions (file, line) are kept for error messages.
#pragma once
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

// One error or warning of the sources, reported as "datei.txt:17: text" (a warning as
// "datei.txt:17: Warnung: text"). Warnings mark what compiles but is likely not what the writer
// meant; they stop the compile only when it is strict.
struct QuellFehler
{
    QString datei; // file name as shown to the writer (relative to the source folder)
    int zeile = 0; // 1-based line; 0 when the error concerns the whole file
    QString text;
    bool warnung = false;

    QString alsText() const
    {
        const QString t = warnung ? QStringLiteral("Warnung: ") + text : text;
        return zeile > 0 ? QStringLiteral("%1:%2: %3").arg(datei).arg(zeile).arg(t)
                         : QStringLiteral("%1: %2").arg(datei, t);
    }
};

// A run of text with one formatting; links carry their target.
struct TextStueck
{
    enum class Verweis { Kein, Text, Bild };

    QString text;
    bool fett = false;
    bool kursiv = false;
    bool unterstrichen = false;
    Verweis verweis = Verweis::Kein;
    QString ziel;  // text link: "KK.TT.XX"; picture link: the picture number in decimal
    int zeile = 0; // source line where the run starts (links are checked against it)
    // A text link written with a label ("[[#marke|...]]"): the label; ziel holds "#marke" until
    // the labels are resolved to help numbers. Empty for a link written with a number.
    QString marke;
};

struct TextBlock
{
    enum class Art { Absatz, Aufzaehlung, Nummeriert, Hinweis, Tabelle };
    enum class Ausrichtung { Links, Rechts, Mitte };
    // A table cell: the range of its runs in stuecke.
    struct Zelle
    {
        qsizetype anfang = 0;
        qsizetype anzahl = 0;
    };

    Art art = Art::Absatz;
    QString nummer; // the writer's number of a numbered item ("3")
    QList<TextStueck> stuecke;
    QString datei; // the file the block's lines come from (a snippet's, when included)

    // A table (Art::Tabelle): stuecke holds the runs of all cells, row by row, so that every
    // check and resolution of links over stuecke covers the cells too; zeilen gives each row's
    // cells as ranges of stuecke; the alignment of each column; whether the first row is the
    // header row (shown bold).
    QList<QList<Zelle>> zeilen;
    QList<Ausrichtung> ausrichtung;
    bool kopfzeile = false;

    QList<TextStueck> stueckeVon(const Zelle &z) const { return stuecke.mid(z.anfang, z.anzahl); }
};

struct QuellAbschnitt
{
    int nummer = 0;
    QString titel;
    QString marke; // stable label that links may name instead of the number; may be empty
    QStringList stichwoerter;
    QList<TextBlock> bloecke;
    QString datei;
    int zeile = 0;
    // A section whose text was given as RTF ("```rtf" block): stored exactly as rtf holds it,
    // bloecke stay empty.
    bool rtfUnveraendert = false;
    QString rtf{};
};

struct QuellThema
{
    int nummer = 0;
    QString titel;
    QList<QuellAbschnitt> abschnitte;
    QString datei;
    int zeile = 0;
};

struct QuellKapitel
{
    int nummer = 0;
    QString titel;
    QList<QuellThema> themen;
    QString datei;
    int zeile = 0;
};

struct QuellBild
{
    int nummer = 0;
    QString titel;
    QImage bild;
    QByteArray archiv; // already packed (synthetic data); otherwise bild is packed on writing
    QString datei;
    QByteArray bmp; // the bytes of a .bmp file, stored as they are instead of bild re-encoded
};

// A figure line: the caption of a picture, which becomes the picture's stored title.
struct QuellAbbildung
{
    int bild = 0;
    QString beschriftung;
    QString datei;
    int zeile = 0;
};

struct HilfeQuelle
{
    QList<QuellKapitel> kapitel;
    QList<QuellBild> bilder;
    QList<QuellAbbildung> abbildungen;
};
