// The keyword pane's hooks (toolbar button 7, unloading with the help window).
#include "Anbindungen.h"

#include "frmHilfeIndex.h"

void SucheAnbinden()
{
    frmHilfeIndex::anbinden();
}
