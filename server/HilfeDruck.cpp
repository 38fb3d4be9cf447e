// The help window's print command and print routine (see HilfeDruck.h).
#include "HilfeDruck.h"

#include "TolvarDrucker.h"
#include "frmHilfe.h"

#include <QScopeGuard>
#include <QTextCursor>
#include <QTextEdit>

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
    const HilfeDokument *d = m_hilfe->dokument();
    DruckAngebot a;
    a.markiert = m_hilfe->txt()->textCursor().hasSelection();
    // Each scope only with content: the section when one is shown, the topic when it has
    // sections, the chapter when it has topics.
    const int abschnitt = d->gezeigterAbschnitt();
    a.abschnittDa = abschnitt >= 0;
    a.abschnitt = a.abschnittDa ? d->abschnitte().at(abschnitt).bezeichnung : QString();
    const int thema = d->themaIndex();
    const int kapitel = d->kapitelIndex();
    a.themaDa = thema >= 0 && thema < d->themen().size() && !d->abschnitte().isEmpty();
    a.kapitelDa = kapitel >= 0 && kapitel < d->kapitel().size() && !d->themen().isEmpty();
    a.thema = thema >= 0 && thema < d->themen().size() ? d->themen().at(thema).bezeichnung
                                                      : QString();
    a.kapitel = kapitel >= 0 && kapitel < d->kapitel().size()
                    ? d->kapitel().at(kapitel).bezeichnung
                    : QString();
    return a;
}

DruckAuftrag HilfeDruck::Inhalt() const
{
    const HilfeDokument *d = m_hilfe->dokument();
    DruckAuftrag a;
    a.Auswahl = Beschreibungsdruck::Auswahl(m_hilfe->txt()->textCursor());
    // The print-out's job keeps its own form: element 0 unused, counts beside the lists.
    for (const HilfeAbschnitt &x : d->abschnitte())
        a.msTexteInhalt << x.text;
    a.miTexteAnzahl = qint16(d->abschnitte().size());
    a.miAktTextIndex = qint16(d->abschnittIndex());
    for (const HilfeEintrag &t : d->themen()) {
        a.mlThemenIDs << t.id;
        a.ThemenTitel << t.bezeichnung;
    }
    a.miThemenAnzahl = qint16(std::min<qsizetype>(d->themen().size(), 32767));
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
