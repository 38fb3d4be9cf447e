// Preparing one stored section text for the print-out: read up to where the help window cuts
// a section (with the same note at the end), link tags removed, the text cut into parts so
// that the pictures of the picture links of a line can be printed after the part that ends
// with that line, and the pictures collected. All arrays run from element 0, element 0
// unused; they are added to across calls. A link whose picture has no row is left out and the
// text goes on (it does not end the section's print-out). The time is linear in the text and
// its links: the tags are found in the plain text and cut out in one pass, without a layout.
//
// The print-out itself takes the pictures undecoded (DruckBild: the stored archive and the
// pixel size from the bitmap's header), so that a chapter with thousands of picture links does
// not hold thousands of decoded bitmaps; it decodes them part by part while it prints. A
// picture whose archive or bitmap cannot be read keeps an empty size: it is printed as a
// placeholder with its title.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QTextDocumentFragment>

#include <functional>

class QTextDocument;

// Reads a picture row: archive bytes and Bezeichnung; false when there is none.
using BildQuelle =
    std::function<bool(const QString &Nummer, QByteArray &Bild, QString &Bezeichnung)>;

// The help database's picture query.
BildQuelle standardBildQuelle();

// The rich text of doc from position von to bis. When von is the start of a paragraph, that
// paragraph keeps its format (indents, tab stops), as every further paragraph does.
QTextDocumentFragment absatzFragment(QTextDocument &doc, int von, int bis);

// A picture of a picture link, not decoded: its number, the stored archive (shared by every
// link to the same picture), its size in pixels as its header gives it, and its Bezeichnung.
struct DruckBild
{
    QString Nummer;
    QByteArray Archiv;
    QSize Pixel;
    QString Titel;
};

// As DruckTextAufbereiten below, but the pictures are collected undecoded into Bilder. bekannt
// (if given) keeps the pictures already read across calls, so that every picture is read and
// checked once per print-out. abbruch (if given) is asked before each picture is read; when it
// says yes the preparation stops there and returns false (the parts so far are kept).
bool DruckTextZerlegen(const QString &Text, qint16 &TeilAnzahl, QList<QTextDocumentFragment> &Teile,
                       qint16 &GrafikAnzahl, QList<DruckBild> &Bilder, QList<qint16> &GrafikTeil,
                       QList<QString> &GrafikTitel, bool mbMitGrafik, const QString &gsSchriftName,
                       const BildQuelle &quelle, QHash<QString, DruckBild> *bekannt = nullptr,
                       const std::function<bool()> &abbruch = {});

void DruckTextAufbereiten(const QString &Text, qint16 &TeilAnzahl,
                          QList<QTextDocumentFragment> &Teile, qint16 &GrafikAnzahl,
                          QList<QImage> &Grafiken, QList<qint16> &GrafikTeil,
                          QList<QString> &GrafikTitel, bool mbMitGrafik,
                          const QString &gsSchriftName,
                          const BildQuelle &quelle = standardBildQuelle());
