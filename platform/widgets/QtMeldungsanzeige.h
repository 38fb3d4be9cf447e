// Message boxes as Qt dialogs with German buttons ("OK", "Wiederholen", "Abbrechen"); closing
// a Retry/Cancel box without choosing counts as Cancel.
#pragma once

#include "Meldung.h"

class QtMeldungsanzeige : public Meldungsanzeige
{
public:
    int zeigen(const QString &text, int stil, const QString &titel) override;
};
