// Where the help server puts its parts together (see HilfeSitzung.h).
#include "HilfeSitzung.h"

#include "Global.h"
#include "HilfeDruck.h"
#include "basMain.h"
#include "frmHilfe.h"
#include "frmHilfeIndex.h"

frmHilfe *HilfeSitzung::hilfeFenster()
{
    frmHilfe *hilfe = frmHilfe::instanz();
    verbinden(hilfe);
    return hilfe;
}

void HilfeSitzung::verbinden(frmHilfe *hilfe)
{
    // Once per window, however often it is asked.
    static const char *const Verbunden = "tolvarSitzungVerbunden";
    if (hilfe->property(Verbunden).toBool())
        return;
    hilfe->setProperty(Verbunden, true);
    frmHilfeIndex::verbinden(hilfe);
    QObject::connect(hilfe, &frmHilfe::DruckGewuenscht, hilfe,
                     [hilfe] { HilfeDruck::fuer(hilfe)->DruckBefehl(); });
    QObject::connect(hilfe, &frmHilfe::DarstellungGewuenscht, hilfe, [] {
        gbDarstellung = !gbDarstellung;
        FensterPositionieren();
    });
}
