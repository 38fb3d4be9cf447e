// The print command's steps (see Druckbefehl.h).
#include "Druckbefehl.h"
#include "DruckerEinstellungen.h"
#include "Global.h"
#include "Meldung.h"
#include "frmDruckVorschau.h"
#include "frmDrucken.h"
#include "frmHilfeDrucken.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

int DruckAngebot::vorwahl() const
{
    if (abschnittDa)
        return 1;
    if (themaDa)
        return 2;
    if (kapitelDa)
        return 3;
    return markiert ? 0 : -1;
}

namespace Druckbefehl {

bool DialogZeigen(QWidget *besitzer, const DruckAngebot &angebot, DruckEinstellungen &e,
                  const DruckAuftrag *inhalt)
{
    // An option without content would print a page with the frame only.
    const int vorwahl = angebot.vorwahl();
    if (vorwahl < 0)
        return false;
    frmHilfeDrucken dlg(besitzer);
    aktivesDruckerSystem();
    if (inhalt) {
        dlg.vorschau = [&dlg, &angebot, inhalt, e] {
            DruckEinstellungen jetzt = e;
            EinstellungenLesen(dlg, angebot, jetzt);
            if (dlg.comDrucker->currentIndex() < 0) {
                // No printer: A4 pages from the default source, not the paper of the last
                // print on a printer that is gone.
                jetzt.miPapierGroesse = 0;
                jetzt.miPapierZufuhr = 0;
            }
            return VorschauZeigen(&dlg, MitEinstellungen(*inhalt, jetzt));
        };
    }
    if (!dlg.DatenEinlesen())
        return false;
    const QChar q = QLatin1Char('"');
    // A title is shown as it is written: "&" in it marks no access key.
    const auto text = [](QString titel) {
        return titel.replace(QLatin1Char('&'), QLatin1String("&&"));
    };
    dlg.opt[1]->setText(QStringLiteral("aktueller &Abschnitt ") + q + text(angebot.abschnitt) + q);
    dlg.opt[2]->setText(QStringLiteral("ganzes Thema ") + q + text(angebot.thema) + q);
    dlg.opt[3]->setText(QStringLiteral("ganzes Kapitel ") + q + text(angebot.kapitel) + q);
    const bool da[4] = {angebot.markiert, angebot.abschnittDa, angebot.themaDa, angebot.kapitelDa};
    for (int i = 0; i < 4; ++i)
        dlg.opt[i]->setEnabled(da[i]);
    dlg.opt[vorwahl]->setChecked(true);
    dlg.exec();
    if (!dlg.mbOK)
        return false;
    EinstellungenLesen(dlg, angebot, e);
    return true;
}

void EinstellungenLesen(const frmHilfeDrucken &dlg, const DruckAngebot &angebot,
                        DruckEinstellungen &e)
{
    e.msDruckerName = dlg.comDrucker->currentText();
    if (dlg.comZufuhr->currentIndex() >= 0)
        e.miPapierZufuhr = qint16(dlg.comZufuhr->currentData().toInt());
    if (dlg.comPapiergroesse->currentIndex() >= 0)
        e.miPapierGroesse = qint16(dlg.comPapiergroesse->currentData().toInt());
    const QString titel[4] = {angebot.abschnitt, angebot.abschnitt, angebot.thema, angebot.kapitel};
    e.miDruckUmfang = qint16(dlg.umfang());
    e.msDruckTitel = titel[e.miDruckUmfang];
    e.mbMitGrafik = dlg.chkGrafik->isChecked();
}

DruckAuftrag MitEinstellungen(DruckAuftrag a, const DruckEinstellungen &e)
{
    a.miDruckUmfang = e.miDruckUmfang;
    a.msDruckTitel = e.msDruckTitel;
    a.mbMitGrafik = e.mbMitGrafik;
    a.msDruckerName = e.msDruckerName;
    a.miPapierGroesse = e.miPapierGroesse;
    a.miPapierZufuhr = e.miPapierZufuhr;
    return a;
}

bool VorschauZeigen(QWidget *besitzer, const DruckAuftrag &auftrag)
{
    aktivesDruckerSystem();
    frmDruckVorschau vorschau(auftrag, besitzer);
    vorschau.exec();
    return vorschau.mbDrucken;
}

void DruckenStarten(QObject *fenster, const QString &msDruckerName)
{
    frmDrucken frm;
    frm.setBezeichnung(QStringLiteral("Programmbeschreibung"));
    frm.msDrucker = msDruckerName;
    frm.setFenster(fenster);
    frm.Drucken(QStringLiteral("Programmbeschreibung"));
}

Beschreibungsdruck::Ergebnis BeschreibungDrucken(TolvarDrucker &dru, const DruckAuftrag &auftrag)
{
    aktivesDruckerSystem();
    Beschreibungsdruck druck(dru, gsSchriftName, giSchriftGroesse);
    QPointer<frmDrucken> frm = frmDrucken::aktiv();
    druck.status = [frm](const QString &s) {
        if (frm)
            frm->setzeStatus(s);
    };
    druck.abbruchGewuenscht = [frm] { return frm && frm->abbruchGewuenscht(); };
    const Beschreibungsdruck::Ergebnis e = druck.BeschreibungDrucken(auftrag);
    if (e == Beschreibungsdruck::Ergebnis::NichtGestartet ||
        e == Beschreibungsdruck::Ergebnis::Fehlgeschlagen) {
        // A job that did not reach the printer is not printed: the user hears it, with why.
        MsgBox(QStringLiteral("Die Programmbeschreibung wurde nicht gedruckt.\n\n") +
                   druck.fehler(),
               Meldung::Ausrufezeichen);
    }
    return e;
}

} // namespace Druckbefehl
