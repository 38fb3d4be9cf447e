// What the help window calls in windows and routines that are built above it or beside it:
// the frame placement of the server (for the display-mode buttons), the keyword pane
// (button 7), the print command (button 9), and the unloading of the keyword pane. Each is
// installed by the part that provides it; an empty one does nothing. (The picture window
// lives beside the help window in viewer/ and is called directly.)
#pragma once

#include <QString>

#include <functional>

struct HilfeAnbindung
{
    // Places the frame for gbDarstellung (full or half-screen).
    static inline std::function<void()> fensterPositionieren;
    // Shows the keyword pane beside the help window (toolbar button 7).
    static inline std::function<void()> stichwortFensterZeigen;
    // Runs the print command: print dialog, then the print-out (toolbar button 9).
    static inline std::function<void()> druckenStarten;
    // Unloads the keyword pane, if it is open.
    static inline std::function<void()> stichwortFensterEntladen;
};
