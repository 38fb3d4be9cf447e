// The print dialog: printer, paper size and paper source (restored from and stored to the
// settings store), what to print (marked text, current section, whole topic, whole chapter)
// and whether pictures are printed too. The caller fills the option captions, shows it
// modally and reads mbOK and the controls. "&Drucken" and "&Eigenschaften ..." need a
// printer: with printers present one is always chosen; with none both buttons are disabled
// and a line says so. The dialog is centred in the work area with the size its layout gives
// it, when it is shown. "&Vorschau" shows the pages of the chosen scope, printer and paper
// (A4 without a printer) through the vorschau routine the caller installs; "&Drucken" there
// ends the dialog as "&Drucken" here does.
#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

class frmHilfeDrucken : public QDialog
{
    Q_OBJECT

public:
    explicit frmHilfeDrucken(QWidget *parent = nullptr);
    ~frmHilfeDrucken() override;

    // True when the dialog was closed with "&Drucken".
    bool mbOK = false;
    // Fills the printer choice; false when the user gave up after a failure.
    bool DatenEinlesen();

    QGroupBox *fraAusdruck = nullptr;
    QComboBox *comDrucker = nullptr;
    QPushButton *cmdDruckeEinrichten = nullptr;
    QComboBox *comPapiergroesse = nullptr;
    QComboBox *comZufuhr = nullptr;
    QGroupBox *fraAuswahl = nullptr;
    QRadioButton *opt[4] = {};
    QCheckBox *chkGrafik = nullptr;
    QPushButton *cmdDrucken = nullptr;
    QPushButton *cmdVorschau = nullptr;
    QPushButton *cmdAbbruch = nullptr;
    // Shown instead of a working "&Drucken" when no printer is set up.
    QLabel *lblKeinDrucker = nullptr;

    // Shows the preview of what the dialog's settings print now; true when the user chose
    // "&Drucken" there. Without it "&Vorschau" is disabled. Set before DatenEinlesen.
    std::function<bool()> vorschau;

    // The index of the selected option button (0..3).
    int umfang() const;

protected:
    void showEvent(QShowEvent *e) override;

private:
    void druckerZustand();
    void comDrucker_Click();
    void opt_Click();
    void cmdDruckeEinrichten_Click();
    void cmdDrucken_Click();
    void cmdVorschau_Click();
    void cmdAbbruch_Click();
};
