// The composition root of the help server (see HilfeSitzung.h).
#include "HilfeSitzung.h"

#include "Arbeitsbereich.h"
#include "HilfeDokument.h"
#include "HilfeDruck.h"
#include "ProtokollMeldungen.h"
#include "frmHilfe.h"
#include "frmHilfeIndex.h"
#include "frmInhalt.h"

#include <QAction>

HilfeSitzung::HilfeSitzung(HilfeDatenbank &datenbank, QObject *parent)
    : QObject(parent), m_quelle(datenbank), m_dokument(new HilfeDokument(m_quelle, this))
{
}

HilfeSitzung::~HilfeSitzung() = default;

frmInhalt *HilfeSitzung::rahmen()
{
    if (!m_rahmen) {
        m_rahmen = frmInhalt::anlegen();
        connect(m_rahmen, &frmInhalt::FensterZustand, this, &HilfeSitzung::fensterZustand);
    }
    return m_rahmen;
}

frmHilfe *HilfeSitzung::hilfeFenster()
{
    if (frmHilfe *hilfe = frmHilfe::instanz())
        return hilfe;
    frmHilfe *hilfe = frmHilfe::anlegen(rahmen(), m_dokument);
    connect(hilfe, &frmHilfe::StichwortSucheGewuenscht, this,
            &HilfeSitzung::stichwortSucheOeffnen);
    connect(hilfe, &frmHilfe::Entladen, this, [] {
        if (frmHilfeIndex *f = frmHilfeIndex::instanz())
            f->Form_Unload();
    });
    connect(hilfe, &frmHilfe::DruckGewuenscht, hilfe,
            [hilfe] { HilfeDruck::fuer(hilfe)->DruckBefehl(); });
    connect(hilfe, &frmHilfe::DarstellungGewuenscht, this, [this] {
        m_darstellung = !m_darstellung;
        FensterPositionieren();
    });
    return hilfe;
}

bool HilfeSitzung::HilfeStarten(const QString &Nummer)
{
    frmHilfe *hilfe = hilfeFenster();
    frmInhalt *r = rahmen();
    // A minimised help comes back: the call restores it first, then places it for the
    // asked mode (a frame minimised from maximised is restored as the placement says).
    if (r->windowState() & Qt::WindowMinimized)
        r->setWindowState(r->windowState() & ~Qt::WindowMinimized);
    ArbeitsbereichErmitteln();
    FensterPositionieren();

    r->show();
    // A help that opens behind the application looks broken: bring the frame to the front.
    r->raise();
    r->activateWindow();

    bool klein = m_darstellung;
    if (!hilfe->DatenEinlesen(Nummer, klein))
        return false;
    if (!hilfe->ZielBekannt())
        EinmalProtokollieren(QStringLiteral("unbekannte Hilfenummer %1, gezeigt: %2")
                                 .arg(Nummer, hilfe->AktuelleNummer()));
    hilfe->show();
    r->AufbauMDIChilds();
    return hilfe->AbschnittGezeigt();
}

void HilfeSitzung::ArbeitsbereichErmitteln()
{
    const Arbeitsbereich &b = arbeitsbereich();
    m_bereich = ArbeitsbereichUmrechnen(b.pixel(), b.twipsProPixelX(), b.twipsProPixelY());
}

void HilfeSitzung::FensterPositionieren()
{
    frmInhalt *r = rahmen();
    // Restoring a maximised frame runs its resize handling at once, which puts back the mode
    // saved at maximising; the placement reads the mode only after that.
    if (r->windowState() & Qt::WindowMaximized)
        r->setWindowState(r->windowState() & ~Qt::WindowMaximized);
    const FensterPlatz p = FensterPlatzBerechnen(m_darstellung, m_bereich);
    r->Bewegen(p.links, p.oben, p.breite, p.hoehe);
    groesseKnoepfeZeigen();
}

void HilfeSitzung::groesseKnoepfeZeigen()
{
    m_rahmen->Button(frmInhalt::ButtonKleiner)->setVisible(!m_darstellung);
    m_rahmen->Button(frmInhalt::ButtonGroesser)->setVisible(m_darstellung);
}

void HilfeSitzung::fensterZustand(qint16 zustand, qint16 vorher)
{
    if (zustand == 2) {
        // A maximised frame is in full mode. The mode is saved only when the frame becomes
        // maximised: a further resize while maximised (a screen change) must not overwrite
        // it with the full mode set here.
        if (vorher != 2)
            m_darstellungGemerkt = m_darstellung;
        m_darstellung = false;
        groesseKnoepfeZeigen();
    } else if (zustand == 0 && vorher == 2) {
        m_darstellung = m_darstellungGemerkt;
        groesseKnoepfeZeigen();
    }
}

void HilfeSitzung::stichwortSucheOeffnen()
{
    frmInhalt *r = rahmen();
    r->setStichwortSuche(true);
    frmHilfeIndex *f = frmHilfeIndex::Oeffnen(r);
    connect(f, &frmHilfeIndex::Geschlossen, this, &HilfeSitzung::stichwortSucheGeschlossen,
            Qt::UniqueConnection);
}

bool HilfeSitzung::stichwortSuche() const
{
    return m_rahmen && m_rahmen->stichwortSuche();
}

void HilfeSitzung::stichwortSucheGeschlossen()
{
    if (m_rahmen)
        m_rahmen->setStichwortSuche(false);
}

void HilfeSitzung::RahmenEntladen()
{
    rahmen()->Unload();
}
