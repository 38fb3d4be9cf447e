// The print command of the help window (toolbar button 9) and the print routine that the
// progress window calls: a small object beside frmHilfe that reads the window's public state
// (text box and its selection, section labels, tab captions, the section texts of the current
// topic and the topic IDs of the current chapter) when the print dialog opens, and keeps that
// content with the print settings that the dialog hands over until the next print command
// overwrites them. The print-out prints what the dialog named even when a host call moves the
// window to another section while the dialog is open. It lives as a child of the help
// window, so it goes when the window unloads. The help window itself knows nothing of
// printing; HilfeSitzung connects the window's print request to it.
#pragma once

#include "Beschreibungsdruck.h"
#include "Druckbefehl.h"
#include "TolvarDrucker.h"

#include <QObject>
#include <QPointer>

class frmHilfe;

class HilfeDruck : public QObject
{
    Q_OBJECT

public:
    // The print object of this help window, created on first use.
    static HilfeDruck *fuer(frmHilfe *hilfe);

    // The print command: the dialog with the scope captions of the shown section, topic
    // and chapter, each scope only when it has content ("&Markierung" only with marked text;
    // no dialog at all when nothing can be printed), then, on "&Drucken", the settings and the
    // content taken and the progress window started, which prints through
    // BeschreibungDrucken. A second command while one runs (dialog open or printing) does
    // nothing.
    void DruckBefehl();

    // The print-out of the job the last print dialog closed with "&Drucken"; called by name by
    // the progress window.
    Q_INVOKABLE void BeschreibungDrucken();

    // What BeschreibungDrucken hands to the print-out: the settings, and the window's content
    // as it was when the dialog opened.
    DruckAuftrag Auftrag() const { return m_auftrag; }

    // Settings taken from the last print dialog closed with "&Drucken".
    DruckEinstellungen einstellungen;

    // The printer control (the window's own by default; a test may put a recording one in
    // its place, not owned).
    TolvarDrucker *dru() const { return m_dru; }
    void setzeDrucker(TolvarDrucker *dru) { m_dru = dru; }

    // The result of the last print run, and whether a command is running now.
    Beschreibungsdruck::Ergebnis letztesErgebnis() const { return m_ergebnis; }
    bool laeuft() const { return m_laeuft; }

private:
    explicit HilfeDruck(frmHilfe *hilfe);
    // What the window shows now, for every scope, and what the dialog can offer of it.
    DruckAuftrag Inhalt() const;
    DruckAngebot Angebot() const;

    frmHilfe *m_hilfe;
    DruckAuftrag m_auftrag;
    QPointer<TolvarDrucker> m_dru;
    Beschreibungsdruck::Ergebnis m_ergebnis = Beschreibungsdruck::Ergebnis::NichtGestartet;
    bool m_laeuft = false;
};
