// The printer properties dialog (see basDruckereigenschaften.h).
#include "basDruckereigenschaften.h"
#include "DruckerEinstellungen.h"
#include "Meldung.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

bool DruckerEigenschaftenZeigen(QWidget *besitzer, const DruckerInfo &drucker)
{
    DruckerSystem &system = aktivesDruckerSystem();
    system.setzeAktuellerDrucker(drucker.Geraetename);
    bool gespeichert = false;
    if (drucker.Geraetename.isEmpty() || !system.oeffnenVoll(drucker.Geraetename)) {
        MsgBox(QStringLiteral("OpenPrinter Failed!"), Meldung::NurOk);
    } else {
        QDialog dlg(besitzer);
        dlg.setObjectName(QStringLiteral("frmDruckerEigenschaften"));
        dlg.setWindowTitle(QStringLiteral("Eigenschaften von ") + drucker.Geraetename);
        auto *form = new QFormLayout;
        QList<QPair<QString, QComboBox *>> felder;
        for (const DruckerOption &o : system.optionen(drucker.Geraetename)) {
            auto *com = new QComboBox(&dlg);
            com->setObjectName(o.schluessel);
            for (qsizetype i = 0; i < o.werte.size(); ++i)
                com->addItem(o.wertTitel.value(i, o.werte[i]), o.werte[i]);
            com->setCurrentIndex(std::max(0, int(o.werte.indexOf(o.aktuell))));
            form->addRow(o.titel + QLatin1Char(':'), com);
            // Compared later with what is shown now: an option without a current choice shows
            // its first one, and leaving it so is no change to store.
            felder.append({com->currentData().toString(), com});
        }
        auto *knoepfe = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
        QObject::connect(knoepfe, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
        QObject::connect(knoepfe, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
        auto *aussen = new QVBoxLayout(&dlg);
        aussen->addLayout(form);
        aussen->addWidget(knoepfe);
        if (dlg.exec() == QDialog::Accepted) {
            QMap<QString, QString> werte;
            for (const auto &[vorher, com] : std::as_const(felder)) {
                if (com->currentData().toString() != vorher)
                    werte.insert(com->objectName(), com->currentData().toString());
            }
            if (!werte.isEmpty())
                gespeichert = system.optionenSpeichern(drucker.Geraetename, werte);
        }
    }
    system.folgeStandard();
    return gespeichert;
}
