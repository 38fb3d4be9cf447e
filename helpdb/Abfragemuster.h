// The one pattern by which every query reads: connect, run, read row by row, close. A step
// that fails goes to the error dialog; Retry runs that step again, Cancel ends the query with
// false. The fault-injection seam lets a test make the k-th step fail on purpose.
#pragma once

#include "Datensatzgruppe.h"

#include <functional>

namespace Abfragemuster {

// Runs sql over msVerbindung. groesse(n) is called once with the row count before the rows
// (only when n >= 1); zeile(rs, i) reads row i (1..n) and returns false after setting the
// current error. DatenbankPruefen() must have returned true before.
bool ausfuehren(const QString &sql, const std::function<void(int)> &groesse,
                const std::function<bool(const Datensatzgruppe &, int)> &zeile);

// Runs one step under the error protocol: true when it succeeded (perhaps after Retry),
// false when the user gave up.
bool schritt(const std::function<bool()> &f);

} // namespace Abfragemuster

namespace Fehlereinspeisung {
// From now on, the k-th step (1 = the next) fails once with error nummer instead of running.
void setzen(int k, qint32 nummer);
void aus();
// Steps run since setzen().
int gezaehlt();
} // namespace Fehlereinspeisung
