// The print command's hook (toolbar button 9).
#include "Anbindungen.h"

void DruckAnbinden()
{
}
