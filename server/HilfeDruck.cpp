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

    // Host calls are still delivered while the dialog is open and may move the window to
    // another section: what is printed is taken now, with the captions the dialog shows.
    const DruckAngebot angebot = Angebot();
    DruckAuftrag auftrag = Inhalt();
    // "&Vorschau" in the dialog shows the pages of this content with the dialog's settings.
    if (!Druckbefehl::DialogZeigen(m_hilfe, angebot, einstellungen, &auftrag))
        return;
    m_auftrag = Druckbefehl::MitEinstellungen(auftrag, einstellungen);
    m_hilfe->repaint();
    Druckbefehl::DruckenStarten(this, einstellungen.msDruckerName);
}

DruckAngebot HilfeDruck::Angebot() const
{
    const frmHilfe *h = m_hilfe;
    DruckAngebot a;
    a.markiert = h->txt()->textCursor().hasSelection();
    // Each scope only with content: the section when one is shown, the topic when it has
    // sections, the chapter when it has topics.
    a.abschnittDa = h->miAktTextIndex >= 0 && h->miAktTextIndex < h->miTexteAnzahl;
    const QLabel *l = a.abschnittDa ? h->lblSub(h->miAktTextIndex) : nullptr;
    a.abschnitt = l ? l->text() : QString();
    a.thema = aktuelleKarte(h->tabSub(), h->miThemenAnzahl);
    a.kapitel = aktuelleKarte(h->tabMain(), h->miKapitelAnzahl);
    const int thema = h->tabSub()->aktuell();
    a.themaDa = thema >= 0 && thema < h->miThemenAnzahl && h->miTexteAnzahl > 0;
    const int kapitel = h->tabMain()->aktuell();
    a.kapitelDa = kapitel >= 0 && kapitel < h->miKapitelAnzahl && h->miThemenAnzahl > 0;
    return a;
}

DruckAuftrag HilfeDruck::Inhalt() const
{
    const frmHilfe *h = m_hilfe;
    DruckAuftrag a;
    a.Auswahl = Beschreibungsdruck::Auswahl(h->txt()->textCursor());
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
    if (!m_dru) {
        m_ergebnis = Beschreibungsdruck::Ergebnis::NichtGestartet;
        return;
    }
    // A copy: the print-out lets window messages through.
    const DruckAuftrag a = m_auftrag;
    m_ergebnis = Druckbefehl::BeschreibungDrucken(*m_dru, a);
}
