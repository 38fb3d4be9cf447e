// What the help window's print command needs, so that its wiring is a few lines: the print
// dialog with the scope captions filled and the settings taken from it, the start of the
// progress window, and the print-out itself hooked to the progress window's status line and
// cancel button.
#pragma once

#include "Beschreibungsdruck.h"

class QObject;
class QWidget;
class TolvarDrucker;
class frmHilfeDrucken;

struct DruckEinstellungen
{
    QString msDruckerName;
    qint16 miPapierZufuhr = 0;
    qint16 miPapierGroesse = 0;
    qint16 miDruckUmfang = 1;
    QString msDruckTitel;
    bool mbMitGrafik = false;
};

// What the print dialog offers: the titles of the shown section, topic and chapter for the
// scope captions, and which scopes have anything to print.
struct DruckAngebot
{
    bool markiert = false; // marked text in the text box
    QString abschnitt;
    QString thema;
    QString kapitel;
    bool abschnittDa = true; // a section is shown
    bool themaDa = true;     // a topic with sections is shown
    bool kapitelDa = true;   // the chapter shown has topics

    // The scope preselected in the dialog: the first of section, topic and chapter that has
    // content, else the marked text; -1 when nothing can be printed.
    int vorwahl() const;
};

namespace Druckbefehl {

// Steps of the print command: fill the dialog, enable each scope only with content (see
// DruckAngebot), set the three scope captions, preselect DruckAngebot::vorwahl, show it
// modally and, on "&Drucken", take the settings into e (the paper codes only where an entry
// is selected; e keeps its values otherwise). Titles: scope 0 and 1 the section's, 2 the
// topic's, 3 the chapter's. False when nothing is printed; with nothing to print the dialog
// is not shown at all. With inhalt (the window's content for every scope) "&Vorschau" shows
// the pages the dialog's settings would print.
bool DialogZeigen(QWidget *besitzer, const DruckAngebot &angebot, DruckEinstellungen &e,
                  const DruckAuftrag *inhalt = nullptr);
inline bool DialogZeigen(QWidget *besitzer, bool markiert, const QString &abschnitt,
                         const QString &thema, const QString &kapitel, DruckEinstellungen &e)
{
    return DialogZeigen(besitzer, DruckAngebot{markiert, abschnitt, thema, kapitel}, e);
}

// The settings the dialog shows now, taken into e as DialogZeigen takes them.
void EinstellungenLesen(const frmHilfeDrucken &dlg, const DruckAngebot &angebot,
                        DruckEinstellungen &e);
// The job: the content with the scope, title, pictures, printer and paper of e.
DruckAuftrag MitEinstellungen(DruckAuftrag inhalt, const DruckEinstellungen &e);
// The print preview of a job, modal; true when the user chose "&Drucken" there.
bool VorschauZeigen(QWidget *besitzer, const DruckAuftrag &auftrag);

// DruckenStarten: the progress window with "Programmbeschreibung", the chosen printer and
// fenster, whose invokable BeschreibungDrucken() it calls.
void DruckenStarten(QObject *fenster, const QString &msDruckerName);

// The print-out of fenster's BeschreibungDrucken on dru, reporting to the running progress
// window (if any) and honouring its cancel button.
Beschreibungsdruck::Ergebnis BeschreibungDrucken(TolvarDrucker &dru, const DruckAuftrag &auftrag);

} // namespace Druckbefehl
