// Installs the hooks of HilfeAnbindung that the keyword pane and the print command provide.
// Each lives in a file of its own beside the part it wires in; ServerAnbinden calls both.
#pragma once

void SucheAnbinden();
void DruckAnbinden();
