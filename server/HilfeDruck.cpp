// The help window's print command and print routine (see HilfeDruck.h).
#include "HilfeDruck.h"

#include "Registerkarten.h"
#include "TolvarDrucker.h"
#include "frmHilfe.h"

#include <QLabel>
#include <QScopeGuard>
#include <QTextCursor>
#include <QTextEdit>

namespace {

// The caption of the current tab of a tab row with n tabs in use; "" when it has none.
QString aktuelleKarte(const Registerkarten *tab, int n)
{
    const int i = tab->aktuell();
    return (i >= 0 && i < n) ? tab->caption(i) : QString();
}

} // namespace

HilfeDruck *HilfeDruck::fuer(frmHilfe *hilfe)
{
    if (!hilfe)
        return nullptr;
    if (auto *d = hilfe->findChild<HilfeDruck *>(QString(), Qt::FindDirectChildrenOnly))
        return d;
    return new HilfeDruck(hilfe);
}

HilfeDruck::HilfeDruck(frmHilfe *hilfe) : QObject(hilfe), m_hilfe(hilfe)
{
    setObjectName(QStringLiteral("HilfeDruck"));
    auto *dru = new TolvarDrucker(this);
    dru->setObjectName(QStringLiteral("dru"));
    m_dru = dru;
}

void HilfeDruck::DruckBefehl()
{
    // The dialog and the progress window are modal, but the print-out lets window messages
    // through (status line, "Abbrechen"); a command arriving then must not start another run.
    if (m_laeuft)
        return;
    m_laeuft = true;
    const auto ende = qScopeGuard([this] { m_laeuft = false; });

    frmHilfe *h = m_hilfe;
    const bool markiert = h->txt()->textCursor().hasSelection();
    // Without a selected section (a topic without sections) there is no section to print.
    const bool abschnittDa = h->miAktTextIndex >= 0 && h->miAktTextIndex < h->miTexteAnzahl;
    const QLabel *l = abschnittDa ? h->lblSub(h->miAktTextIndex) : nullptr;
    const QString abschnitt = l ? l->text() : QString();
    const QString thema = aktuelleKarte(h->tabSub(), h->miThemenAnzahl);
    const QString kapitel = aktuelleKarte(h->tabMain(), h->miKapitelAnzahl);

    if (!Druckbefehl::DialogZeigen(h, markiert, abschnitt, thema, kapitel, einstellungen,
                                   abschnittDa))
        return;
    h->repaint();
    Druckbefehl::DruckenStarten(this, einstellungen.msDruckerName);
}

DruckAuftrag HilfeDruck::Auftrag() const
{
    const frmHilfe *h = m_hilfe;
    DruckAuftrag a;
    a.miDruckUmfang = einstellungen.miDruckUmfang;
    a.msDruckTitel = einstellungen.msDruckTitel;
    a.mbMitGrafik = einstellungen.mbMitGrafik;
    a.msDruckerName = einstellungen.msDruckerName;
    a.miPapierGroesse = einstellungen.miPapierGroesse;
    a.miPapierZufuhr = einstellungen.miPapierZufuhr;
    a.Auswahl = QTextDocumentFragment(h->txt()->textCursor());
    a.msTexteInhalt = h->msTexteInhalt;
    a.miTexteAnzahl = h->miTexteAnzahl;
    a.miAktTextIndex = h->miAktTextIndex;
    a.mlThemenIDs = h->mlThemenIDs;
    a.miThemenAnzahl = h->miThemenAnzahl;
    for (int t = 0; t < h->miThemenAnzahl; ++t)
        a.ThemenTitel << h->tabSub()->caption(t);
    return a;
}

void HilfeDruck::BeschreibungDrucken()
{
    // The window's state is copied before anything is printed: the print-out lets window
    // messages through and must not read lists that a navigation changes meanwhile.
    const DruckAuftrag a = Auftrag();
    if (!m_dru) {
        m_ergebnis = Beschreibungsdruck::Ergebnis::NichtGestartet;
        return;
    }
    m_ergebnis = Druckbefehl::BeschreibungDrucken(*m_dru, a);
}
