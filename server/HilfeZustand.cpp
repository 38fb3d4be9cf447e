// See HilfeZustand.h.
#include "HilfeZustand.h"

#include "ProtokollMeldungen.h"
#include "frmHilfe.h"
#include "frmInhalt.h"

#include <QCoreApplication>
#include <QPixmap>

QString HilfeZustand::Abschnitt() const
{
    frmHilfe *h = frmHilfe::instanz(false);
    return (h && h->isVisible()) ? h->AktuelleNummer() : QString();
}

bool HilfeZustand::RahmenSichtbar() const
{
    frmInhalt *r = frmInhalt::instanz(false);
    return r && r->isVisible();
}

bool HilfeZustand::HilfeSichtbar() const
{
    frmHilfe *h = frmHilfe::instanz(false);
    return h && h->isVisible();
}

QList<int> HilfeZustand::RahmenGeometrie() const
{
    frmInhalt *r = frmInhalt::instanz(false);
    if (!r)
        return {};
    const QRect g = r->frameGeometry();
    return {g.x(), g.y(), g.width(), g.height()};
}

QStringList HilfeZustand::Meldungen() const
{
    return m_meldungen ? m_meldungen->texte() : QStringList();
}

bool HilfeZustand::Bildschirmfoto(const QString &pfad) const
{
    frmInhalt *r = frmInhalt::instanz(false);
    if (!r)
        return false;
    QCoreApplication::sendPostedEvents();
    return r->grab().save(pfad, "PNG");
}

void HilfeZustand::RahmenGroesse(int breite, int hoehe)
{
    if (frmInhalt *r = frmInhalt::instanz(false))
        r->resize(breite, hoehe);
}
