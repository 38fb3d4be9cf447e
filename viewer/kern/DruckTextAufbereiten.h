// Preparing one stored section text for the print-out: link tags removed, the text cut into
// parts so that each picture of a picture link can be printed after the line that holds its
// link, and the pictures collected. All arrays run from element 0, element 0 unused; they are
// added to across calls. A picture that is missing or cannot be unpacked is left out and the
// text goes on (it does not end the section's print-out).
//
// The print-out itself takes the pictures undecoded (DruckBild: the stored archive and the
// pixel size from the bitmap's header), so that a chapter with thousands of picture links does
// not hold thousands of decoded bitmaps; it decodes them part by part while it prints.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QTextDocumentFragment>

#include <functional>

// Reads a picture row: archive bytes and Bezeichnung; false when there is none.
using BildQuelle =
    std::function<bool(const QString &Nummer, QByteArray &Bild, QString &Bezeichnung)>;

// The help database's picture query.
BildQuelle standardBildQuelle();

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
