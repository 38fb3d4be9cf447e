// Message boxes of the help server. Every box goes through the installed Meldungsanzeige, so a
// test can script the user's answers and the server shows real dialogs; without one installed
// a console implementation prints the box.
#pragma once

#include <QString>

namespace Meldung {
// Button sets and icons, added together to a style.
inline constexpr int NurOk = 0;
inline constexpr int WiederholenAbbrechen = 5;
inline constexpr int Stopp = 16;
inline constexpr int Ausrufezeichen = 48;
inline constexpr int Information = 64;
// Answers.
inline constexpr int Ok = 1;
inline constexpr int Abbrechen = 2;
inline constexpr int Wiederholen = 4;
} // namespace Meldung

// The caption of every box of the help server.
inline constexpr const char *ProgrammTitel = "Tolvar-Hilfe";

class Meldungsanzeige
{
public:
    virtual ~Meldungsanzeige() = default;
    // Shows text with the style (buttons + icon) and the caption; returns the answer.
    virtual int zeigen(const QString &text, int stil, const QString &titel) = 0;
};

// Shows a box captioned with the program title through the installed implementation.
int MsgBox(const QString &text, int stil = 0);

// Installs the implementation that MsgBox uses (not owned); nullptr restores the console one.
void setzeMeldungsanzeige(Meldungsanzeige *anzeige);
Meldungsanzeige *meldungsanzeige();

// Splits a style into its button set (0 or 5) and icon (0, 16, 48, 64).
int meldungKnoepfe(int stil);
int meldungSymbol(int stil);
