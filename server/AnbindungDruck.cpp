// The print command's hook (toolbar button 9): the help window's print object runs it.
#include "Anbindungen.h"
#include "HilfeAnbindung.h"
#include "HilfeDruck.h"
#include "frmHilfe.h"

void DruckAnbinden()
{
    HilfeAnbindung::druckenStarten = [] {
        if (frmHilfe *h = frmHilfe::instanz(false))
            HilfeDruck::fuer(h)->DruckBefehl();
    };
}
