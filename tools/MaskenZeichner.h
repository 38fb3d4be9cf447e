// Draws a mock screen of the invoicing program from a ".maske" description: a dialog with a
// title bar, labelled fields, drop-downs, check boxes, text lines, a grid and buttons at the
// bottom right. Needs a QGuiApplication (fonts); works on the offscreen platform.
#pragma once
#include <QImage>
#include <QString>

class MaskenZeichner
{
public:
    static constexpr int standardBreite = 520;
    static constexpr int standardHoehe = 360;

    // Reads the description and draws it. On an error returns false with the 1-based line
    // (0 for the whole file) and a German message; bild and titel are then left unchanged.
    static bool zeichnen(const QString &beschreibung, QImage &bild, QString &titel,
                         int &fehlerZeile, QString &fehlerText);
};
