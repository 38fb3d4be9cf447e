// The properties dialog of a printer: edits the user's own defaults for that printer (paper
// size, source, duplex and whatever else its driver offers), which the printer system keeps
// where the platform keeps per-user printer options.
#pragma once

#include "DruckerSystem.h"

class QWidget;

// Makes the printer current, shows its properties modally over besitzer (or "OpenPrinter
// Failed!" when its defaults cannot be changed) and lets the current printer follow the
// system default again. Returns true when the user stored changed defaults.
bool DruckerEigenschaftenZeigen(QWidget *besitzer, const DruckerInfo &drucker);
