// The global values of the server process and the tools: the database password and the font
// for rendered and printed text, set once at the start. The state the windows share lives in
// the server's session (HilfeSitzung).
#pragma once

#include <QString>

// The fixed password of the help database.
inline constexpr const char *HilfePasswort = "QKV4815";

extern QString gsPasswort;
extern QString gsSchriftName;
extern qint16 giSchriftGroesse;
