// Draws a mock screen of the invoicing program from a ".maske" description: a dialog with a
// title bar, labelled fields, drop-downs, check boxes, text lines, a grid and buttons at the
// bottom right. Needs a QGuiApplication (fonts); works on the offscreen platform.
#pragma once
#include "HilfeQuelle.h"

#include <QImage>
#include <QList>
#include <QString>

class MaskenZeichner
{
public:
    static constexpr int standardBreite = 520;
    static constexpr int standardHoehe = 360;

    // Reads the description and draws it. On an error returns false with the 1-based line
    // (0 for the whole file) and a German message; bild and titel are then left unchanged.
    // An element that does not fit the mask's size is left out or cut off; on success each
    // such element (or grid row) is appended to warnungen with its line and a German message.
    // Their file name is left empty for the caller to fill in.
    static bool zeichnen(const QString &beschreibung, QImage &bild, QString &titel,
                         int &fehlerZeile, QString &fehlerText,
                         QList<QuellFehler> *warnungen = nullptr);
};
