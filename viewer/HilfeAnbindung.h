// What the help window calls in windows and routines that are built above it or beside it:
// the frame placement of the server (for the display-mode buttons), the picture display, and
// the keyword pane (button 7), the print command (button 9), and the unloading of the picture
// window and the keyword pane. Each is installed by the part that provides it; an empty one
// does nothing.
#pragma once

#include <QString>

#include <functional>

struct HilfeAnbindung
{
    // Places the frame for gbDarstellung (full or half-screen).
    static inline std::function<void()> fensterPositionieren;
    // Shows the picture with this number under this caption (a picture link was clicked).
    static inline std::function<void(const QString &nummer, const QString &titel)> bildZeigen;
    // Shows the keyword pane beside the help window (toolbar button 7).
    static inline std::function<void()> stichwortFensterZeigen;
    // Runs the print command: print dialog, then the print-out (toolbar button 9).
    static inline std::function<void()> druckenStarten;
    // Unloads the picture window and the keyword pane, if they are open.
    static inline std::function<void()> bildFensterEntladen;
    static inline std::function<void()> stichwortFensterEntladen;
};
