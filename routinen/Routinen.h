// Routines that several parts of the server share: the error dialog of the database routines,
// the mouse pointer, the LIKE pattern of a search text, and where a centred dialog goes.
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

// Shows the message for the current error (Fehler.h) and returns true to give up, false to
// run the failing step again.
bool FehlerMeldung();

// 11: busy pointer over the whole application; 0: normal pointer.
void MausZeiger(qint16 Zeiger);

// The quoted literal to put behind LIKE: "%" in front / behind when open there; quote,
// hyphen and double quote made to match themselves. "%", "_" and "[" keep their meaning.
QString SuchMuster(const QString &Text, bool VorneOffen, bool HintenOffen);

// The top-left corner, in twips, that centres a window of breite x hoehe twips in a work area
// of the size of bereichPixel placed at the screen origin. Negative values become 0; 32-bit
// values keep the window on screens beyond some 65500 twips.
QPoint FensterZentrierenPosition(const QRect &bereichPixel, double twipsProPixelX,
                                 double twipsProPixelY, qint32 breite, qint32 hoehe);
