// The string routine (see Zeichenkette.h).
#include "Zeichenkette.h"

QString Zeichenkette(const QString &text, int n, int weiter, const QString &trenner)
{
    Q_UNUSED(weiter);
    if (n < 1)
        return QString();
    if (trenner.isEmpty())
        return n == 1 ? text : QString();
    qsizetype anfang = 0;
    for (int i = 1; i < n; ++i) {
        const qsizetype pos = text.indexOf(trenner, anfang);
        if (pos < 0)
            return QString();
        anfang = pos + trenner.size();
    }
    const qsizetype ende = text.indexOf(trenner, anfang);
    return text.mid(anfang, ende < 0 ? -1 : ende - anfang);
}
