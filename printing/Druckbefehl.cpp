// The print command's steps (see Druckbefehl.h).
#include "Druckbefehl.h"
#include "DruckerEinstellungen.h"
#include "Global.h"
#include "frmDrucken.h"
#include "frmHilfeDrucken.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

namespace Druckbefehl {

bool DialogZeigen(QWidget *besitzer, bool markiert, const QString &abschnitt, const QString &thema,
                  const QString &kapitel, DruckEinstellungen &e, bool abschnittDa)
{
    frmHilfeDrucken dlg(besitzer);
    aktivesDruckerSystem();
    if (!dlg.DatenEinlesen())
        return false;
    const QChar q = QLatin1Char('"');
    // A title is shown as it is written: "&" in it marks no access key.
    const auto text = [](QString titel) {
        return titel.replace(QLatin1Char('&'), QLatin1String("&&"));
    };
    dlg.opt[0]->setEnabled(markiert);
    dlg.opt[1]->setText(QStringLiteral("aktueller &Abschnitt ") + q + text(abschnitt) + q);
    dlg.opt[2]->setText(QStringLiteral("ganzes Thema ") + q + text(thema) + q);
    dlg.opt[3]->setText(QStringLiteral("ganzes Kapitel ") + q + text(kapitel) + q);
    if (!abschnittDa) {
        dlg.opt[1]->setEnabled(false);
        dlg.opt[2]->setChecked(true);
    }
    dlg.exec();
    if (!dlg.mbOK)
        return false;
    e.msDruckerName = dlg.comDrucker->currentText();
    if (dlg.comZufuhr->currentIndex() >= 0)
        e.miPapierZufuhr = qint16(dlg.comZufuhr->currentData().toInt());
    if (dlg.comPapiergroesse->currentIndex() >= 0)
        e.miPapierGroesse = qint16(dlg.comPapiergroesse->currentData().toInt());
    const QString titel[4] = {abschnitt, abschnitt, thema, kapitel};
    e.miDruckUmfang = qint16(dlg.umfang());
    e.msDruckTitel = titel[e.miDruckUmfang];
    e.mbMitGrafik = dlg.chkGrafik->isChecked();
    return true;
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
    return druck.BeschreibungDrucken(auftrag);
}

} // namespace Druckbefehl
