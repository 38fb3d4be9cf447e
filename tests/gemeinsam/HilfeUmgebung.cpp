#include "HilfeUmgebung.h"

#include "Datenbank.h"
#include "Global.h"
#include "HilfeDatenbank.h"
#include "HilfeDatenbankSchreiber.h"
#include "HilfeSitzung.h"
#include "frmHilfe.h"
#include "frmInhalt.h"

#include <QStandardPaths>

#include <memory>

namespace {
std::unique_ptr<HilfeSitzung> s_sitzung;
}

bool HilfeUmgebung::einrichten()
{
    QStandardPaths::setTestModeEnabled(true);
    setzeArbeitsbereich(&bereich);
    frmInhalt::setProzessEnde([this] { ++enden; });
    return dir.isValid();
}

bool HilfeUmgebung::schreiben(HilfeDatenbankSchreiber &s, const QString &ordner)
{
    const QString o = ordner.isEmpty() ? dir.path() : ordner;
    return s.oeffnen(o + QStringLiteral("/HilfeBelna.mdb"), QString::fromLatin1(HilfePasswort));
}

void HilfeUmgebung::zuruecksetzen()
{
    gsPasswort = QString::fromLatin1(HilfePasswort);
    enden = 0;
}

bool HilfeUmgebung::entladen()
{
    delete frmInhalt::instanz();
    s_sitzung.reset();
    return !frmHilfe::instanz();
}

HilfeSitzung *HilfeUmgebung::sitzung()
{
    if (!s_sitzung)
        s_sitzung = std::make_unique<HilfeSitzung>(standardDatenbank());
    return s_sitzung.get();
}

frmHilfe *HilfeUmgebung::oeffnen(const QString &nummer)
{
    frmHilfe *h = sitzung()->hilfeFenster();
    frmInhalt::instanz()->resize(900, 700);
    frmInhalt::instanz()->show();
    bool klein = false;
    if (!h->DatenEinlesen(nummer, klein))
        return nullptr;
    h->show();
    return h;
}
