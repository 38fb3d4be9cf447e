// The routines behind the print dialog's three lists and the stored printer choice: fill the
// printer list and restore the choice, select an entry by text, store the choice, refill the
// paper lists from a printer's capabilities, and show a printer's properties. Each list entry
// is a display text with a number in its item data (printer: position in the enumeration;
// paper size and source: the code). They keep no state; the printer system is the installed
// one (CUPS unless a test installed its own).
#pragma once

#include "DruckerSystem.h"

#include <QString>

class QComboBox;
class QWidget;

// The installed printer system; installs the CUPS one when none is installed yet.
DruckerSystem &aktivesDruckerSystem();

// Application and section of the stored choice in the settings store.
inline constexpr const char *EinstellungAnwendung = "Tolvar";
inline constexpr const char *EinstellungAbschnitt = "Tolvar-Belna";

void DruckerEinstellungenLesen(const QString &Einstellungsname, QComboBox *comDrucker,
                               QComboBox *comPapiergroesse, QComboBox *comZufuhr);
void ListenEintragWaehlen(QComboBox *liste, const QString &text);
// False when no printer is selected (nothing written) or a key could not be written to the
// settings store (the caller says so).
bool DruckerEinstellungenSpeichern(const QString &Einstellungsname, QComboBox *comDrucker,
                                   QComboBox *comPapiergroesse, QComboBox *comZufuhr);
void DruckerFaehigkeitenLesen(const DruckerInfo &drucker, QComboBox *comZufuhr,
                              QComboBox *comPapiergroesse);
// The printer at the position attached to the selected entry; empty when none is selected.
DruckerInfo DruckerAnPosition(QComboBox *comDrucker);
// The number at the start of a text (leading blanks, sign, digits), 0 when there is none.
int ZahlAmAnfang(const QString &text);
