#include "HilfeUmgebung.h"

#include "Datenbank.h"
#include "Global.h"
#include "HilfeDatenbankSchreiber.h"
#include "frmHilfe.h"
#include "frmInhalt.h"

#include <QStandardPaths>

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
    gbDarstellung = false;
    gbStichwortSuche = false;
    enden = 0;
}

bool HilfeUmgebung::entladen()
{
    delete frmInhalt::instanz(false);
    return !frmHilfe::instanz(false);
}

frmHilfe *HilfeUmgebung::oeffnen(const QString &nummer)
{
    frmHilfe *h = frmHilfe::instanz();
    frmInhalt::instanz()->resize(900, 700);
    frmInhalt::instanz()->show();
    bool klein = false;
    if (!h->DatenEinlesen(nummer, klein))
        return nullptr;
    h->show();
    return h;
}
