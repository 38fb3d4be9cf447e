// The help window offscreen on a test database in a temporary folder, in a fixed work area of
// 1600 x 1140 pixels, put together by a session as the server does; the frame's process end
// is counted instead of ending the test.
#pragma once

#include "Arbeitsbereich.h"
#include "TestHilfen.h"

#include <QTemporaryDir>

class HilfeDatenbankSchreiber;
class HilfeSitzung;
class frmHilfe;

struct HilfeUmgebung
{
    QTemporaryDir dir;
    FesterArbeitsbereich bereich{QRect(0, 0, 1600, 1140)};
    int enden = 0;

    // Once per test case: test mode, work area, process end; false without a temporary folder.
    bool einrichten();
    // Opens a writer on HilfeBelna.mdb in the folder (default: the temporary folder).
    bool schreiben(HilfeDatenbankSchreiber &s, const QString &ordner = QString());
    // Before each test: password, no process end yet.
    void zuruecksetzen();
    // After each test: unloads the frame and ends the session; true when the help window went
    // with it.
    static bool entladen();
    // The session that puts the windows together (a new one after entladen).
    static HilfeSitzung *sitzung();
    // Shows the frame at 900 x 700 and the help window at the number; null when it cannot read.
    static frmHilfe *oeffnen(const QString &nummer);
};
