// The global values of the server process that are not windows: the database password, the
// font for rendered and printed text, the display mode, the desktop work area in twips and
// whether the keyword pane is open. Set by the start-up and the windows, read everywhere.
#pragma once

#include <QString>

// The fixed password of the help database.
inline constexpr const char *HilfePasswort = "QKV4815";

extern QString gsPasswort;
extern QString gsSchriftName;
extern qint16 giSchriftGroesse;
extern bool gbDarstellung;     // half-screen display
extern qint32 glBereichBreite; // work area, twips
extern qint32 glBereichHoehe;
extern qint32 glBereichLinks;
extern qint32 glBereichOben;
extern bool gbStichwortSuche; // keyword pane open
