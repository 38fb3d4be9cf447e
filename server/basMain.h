// The start-up of the help server: HilfeStarten runs for every HilfeAnzeigen and creates,
// places and shows the windows; ArbeitsbereichErmitteln measures the desktop work area and
// FensterPositionieren places the frame in it for full or half-screen mode.
#pragma once

#include <QString>

class QWidget;

// The start-up sequence for a help number. True when the help window shows a section; false
// when the data could not be read (only the frame is up, or the window keeps what it showed)
// or no section could be shown. A number that is not in the help is written to the log.
bool HilfeStarten(const QString &Nummer);

// Fills glBereichBreite, glBereichHoehe, glBereichLinks, glBereichOben (twips).
void ArbeitsbereichErmitteln(QWidget *Fenster);

// Places the frame on the whole work area (full mode) or its right half (gbDarstellung) and
// shows the size button that switches to the other mode.
void FensterPositionieren();
