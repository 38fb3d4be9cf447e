// Start-up, work area and frame placement. See basMain.h.
#include "basMain.h"

#include "Arbeitsbereich.h"
#include "FensterPlatz.h"
#include "Global.h"
#include "HilfeSitzung.h"
#include "ProtokollMeldungen.h"
#include "frmHilfe.h"
#include "frmInhalt.h"

#include <QAction>

bool HilfeStarten(const QString &Nummer)
{
    gsPasswort = QString::fromLatin1(HilfePasswort);
    gsSchriftName = QStringLiteral("Arial");
    giSchriftGroesse = 10;

    frmHilfe *hilfe = HilfeSitzung::hilfeFenster();
    frmInhalt *rahmen = frmInhalt::instanz();
    // A minimised help comes back: the call restores it first, then places it for the
    // asked mode (a frame minimised from maximised is restored as the placement says).
    if (rahmen->windowState() & Qt::WindowMinimized)
        rahmen->setWindowState(rahmen->windowState() & ~Qt::WindowMinimized);
    ArbeitsbereichErmitteln(hilfe);
    FensterPositionieren();

    rahmen->show();
    // A help that opens behind the application looks broken: bring the frame to the front.
    rahmen->raise();
    rahmen->activateWindow();

    if (!hilfe->DatenEinlesen(Nummer, gbDarstellung))
        return false;
    if (!hilfe->ZielBekannt())
        EinmalProtokollieren(QStringLiteral("unbekannte Hilfenummer %1, gezeigt: %2")
                                 .arg(Nummer, hilfe->AktuelleNummer()));
    hilfe->show();
    rahmen->AufbauMDIChilds();
    return hilfe->AbschnittGezeigt();
}

void ArbeitsbereichErmitteln(QWidget *Fenster)
{
    // The work area's own conversion factors serve for every window of the process.
    Q_UNUSED(Fenster);
    const Arbeitsbereich &b = arbeitsbereich();
    const ArbeitsbereichTwips t =
        ArbeitsbereichUmrechnen(b.pixel(), b.twipsProPixelX(), b.twipsProPixelY());
    glBereichHoehe = t.hoehe;
    glBereichBreite = t.breite;
    glBereichLinks = t.links;
    glBereichOben = t.oben;
}

void FensterPositionieren()
{
    frmInhalt *rahmen = frmInhalt::instanz();
    // Restoring a maximised frame runs its resize handling at once, which puts back the mode
    // saved at maximising; the placement reads gbDarstellung only after that.
    if (rahmen->windowState() & Qt::WindowMaximized)
        rahmen->setWindowState(rahmen->windowState() & ~Qt::WindowMaximized);

    const ArbeitsbereichTwips bereich{glBereichBreite, glBereichHoehe, glBereichLinks,
                                      glBereichOben};
    const FensterPlatz p = FensterPlatzBerechnen(gbDarstellung, bereich);
    rahmen->Bewegen(p.links, p.oben, p.breite, p.hoehe);
    rahmen->Button(frmInhalt::ButtonKleiner)->setVisible(!gbDarstellung);
    rahmen->Button(frmInhalt::ButtonGroesser)->setVisible(gbDarstellung);
}
