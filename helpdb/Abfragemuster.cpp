// The query pattern and its fault-injection seam (see Abfragemuster.h).
#include "Abfragemuster.h"

#include "Datenbank.h"
#include "Fehler.h"
#include "Routinen.h"

namespace {
int einspeisungZiel = 0;
int einspeisungZaehler = 0;
qint32 einspeisungNummer = 0;

bool eingespeisterFehler()
{
    if (einspeisungZiel <= 0)
        return false;
    if (++einspeisungZaehler != einspeisungZiel)
        return false;
    fehlerSetzen(einspeisungNummer);
    return true;
}
} // namespace

namespace Fehlereinspeisung {
void setzen(int k, qint32 nummer)
{
    einspeisungZiel = k;
    einspeisungZaehler = 0;
    einspeisungNummer = nummer;
}

void aus()
{
    einspeisungZiel = 0;
    einspeisungZaehler = 0;
}

int gezaehlt()
{
    return einspeisungZaehler;
}
} // namespace Fehlereinspeisung

namespace Abfragemuster {

bool schritt(const std::function<bool()> &f)
{
    for (;;) {
        if (!eingespeisterFehler() && f())
            return true;
        if (FehlerMeldung())
            return false;
    }
}

bool ausfuehren(const QString &sql, const std::function<void(int)> &groesse,
                const std::function<bool(const Datensatzgruppe &, int)> &zeile)
{
    Datensatzgruppe rs;
    if (!schritt([&] { return rs.verbinden(msVerbindung); }))
        return false;
    if (!schritt([&] { return rs.ausfuehren(sql); }))
        return false;
    const int n = rs.anzahl();
    if (n >= 1) {
        groesse(n);
        for (int i = 1; i <= n; ++i) {
            if (!schritt([&] { return zeile(rs, i); }))
                return false;
        }
    }
    return schritt([&] { return rs.schliessen(); });
}

} // namespace Abfragemuster
