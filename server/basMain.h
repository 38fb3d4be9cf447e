// The start-up of the help server: HilfeStarten runs for every HilfeAnzeigen and creates,
// places and shows the windows; ArbeitsbereichErmitteln measures the desktop work area and
// FensterPositionieren places the frame in it for full or half-screen mode.
#pragma once

#include <QString>

class QWidget;

// The start-up sequence for a help number. True when the help window was shown (the data
// could be read), false when only the frame is up.
bool HilfeStarten(const QString &Nummer);

// Fills glBereichBreite, glBereichHoehe, glBereichLinks, glBereichOben (twips).
void ArbeitsbereichErmitteln(QWidget *Fenster);

// Places the frame on the whole work area (full mode) or its right half (gbDarstellung) and
// shows the size button that switches to the other mode.
void FensterPositionieren();

// Installs what the help window calls in the server (the placement for the size buttons).
void ServerAnbinden();
