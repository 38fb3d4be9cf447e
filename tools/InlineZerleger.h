// Splits the text of one paragraph (one or more source lines) into formatted runs: **fett**,
// //kursiv//, __unterstrichen__, [[KK.TT.XX|Linktext]], [[#marke|Linktext]] or [[#marke]] (a
// section's label; without a text the link shows the section's title) and
// [[Bild N|Linktext]]. A backslash
// makes the next markup character literal; "//" right after ":" (as in https://) is text.
#pragma once
#include "HilfeQuelle.h"

class InlineZerleger
{
public:
    // What a label may consist of: a letter or digit, then letters, digits, "-" and "_".
    static constexpr const char *markenMuster = "[A-Za-z0-9][A-Za-z0-9_-]{0,63}";

    struct Zeile
    {
        int nummer = 0; // 1-based source line
        QString text;   // the line without its line break, trimmed
    };

    // Fills stuecke; on a markup error returns false with the line and the German message.
    // bereich names the unit in which markup must be closed ("im Absatz", "in der Zelle").
    static bool zerlegen(const QList<Zeile> &zeilen, QList<TextStueck> &stuecke, int &fehlerZeile,
                         QString &fehlerText, const QString &bereich = QStringLiteral("im Absatz"));
};
