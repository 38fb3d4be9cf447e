// The help content as read from the writers' sources: chapters, topics, sections with their
// paragraphs and keywords, and the pictures. The parser fills it, the database builder and the
// synthetic generator read it. Positions (file, line) are kept for error messages.
#pragma once
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

// One error of the sources, reported as "datei.txt:17: text".
struct QuellFehler
{
    QString datei; // file name as shown to the writer (relative to the source folder)
    int zeile = 0; // 1-based line; 0 when the error concerns the whole file
    QString text;

    QString alsText() const
    {
        return zeile > 0 ? QStringLiteral("%1:%2: %3").arg(datei).arg(zeile).arg(text)
                         : QStringLiteral("%1: %2").arg(datei, text);
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
    QStringList stichwoerter;
    QList<TextBlock> bloecke;
    QString datei;
    int zeile = 0;
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
};

struct HilfeQuelle
{
    QList<QuellKapitel> kapitel;
    QList<QuellBild> bilder;
};
