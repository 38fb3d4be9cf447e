// Where the help server puts its parts together: the one place that creates the help window
// (with its document and frame) and connects the window's requests to what serves them: the
// keyword pane, the print command, and the display mode with the frame's placement.
#pragma once

class frmHilfe;

namespace HilfeSitzung {

// The help window, created and connected on first use.
frmHilfe *hilfeFenster();

// Connects a help window's requests: toolbar button 7 opens the keyword pane (unloading the
// window unloads it), button 9 runs the print command, buttons 11 and 12 switch between full
// and half-screen display and place the frame anew. Connects each window once.
void verbinden(frmHilfe *hilfe);

} // namespace HilfeSitzung
