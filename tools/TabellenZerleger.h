// Splits the lines of one table in a section into rows and cells. Every line starts with "|";
// a "|" at its end is optional. When the second line holds only "|", "-", ":" and blanks it is
// the separator line: the first row becomes the header row, and each column's alignment comes
// from its dashes (":--" or "---" left, "--:" right, ":-:" centred). Cells hold the inline
// markup of paragraphs; "\|" is a pipe in a cell, and a link's "|" does not split a cell.
#pragma once
#include "InlineZerleger.h"

class TabellenZerleger
{
public:
    // Fills block (art, zeilen, ausrichtung, kopfzeile); on an error returns false with the
    // line and the German message.
    static bool zerlegen(const QList<InlineZerleger::Zeile> &zeilen, TextBlock &block,
                         int &fehlerZeile, QString &fehlerText);

    // The raw texts of the cells of one line (trimmed, escapes kept for the inline parser).
    static QStringList zellenTrennen(const QString &zeile);
};
