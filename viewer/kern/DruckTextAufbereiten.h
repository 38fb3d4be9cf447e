// Preparing one stored section text for the print-out: link tags removed, the text cut into
// parts so that each picture of a picture link can be printed after the line that holds its
// link, and the pictures collected. All arrays run from element 0, element 0 unused; they are
// added to across calls. A picture that is missing or cannot be unpacked is left out and the
// text goes on (it does not end the section's print-out).
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QTextDocumentFragment>

#include <functional>

// Reads a picture row: archive bytes and Bezeichnung; false when there is none.
using BildQuelle =
    std::function<bool(const QString &Nummer, QByteArray &Bild, QString &Bezeichnung)>;

// The help database's picture query.
BildQuelle standardBildQuelle();

void DruckTextAufbereiten(const QString &Text, qint16 &TeilAnzahl,
                          QList<QTextDocumentFragment> &Teile, qint16 &GrafikAnzahl,
                          QList<QImage> &Grafiken, QList<qint16> &GrafikTeil,
                          QList<QString> &GrafikTitel, bool mbMitGrafik,
                          const QString &gsSchriftName,
                          const BildQuelle &quelle = standardBildQuelle());
