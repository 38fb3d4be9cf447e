// The print preview of the print dialog: the pages a job will print, drawn by the print-out
// itself (Beschreibungsdruck over a VorschauDrucker, i.e. the printer control's own drawing)
// onto the preview's printer, with the page count, page navigation, zoom, "&Drucken" (the
// dialog then prints as its own "&Drucken" would; disabled for a job without a printer) and
// "S&chließen".
//
// The content is collected once. The first page is drawn on its own as soon as the dialog is
// shown, so a long chapter shows it at once; the whole job is laid out right after that, and
// only then does the page count stand ("von …" until then).
#pragma once

#include "Beschreibungsdruck.h"

#include <QDialog>

#include <memory>
#include <optional>

class QLabel;
class QPrinter;
class QPrintPreviewWidget;
class QPushButton;
class QSpinBox;

class frmDruckVorschau : public QDialog
{
    Q_OBJECT

public:
    explicit frmDruckVorschau(const DruckAuftrag &auftrag, QWidget *parent = nullptr);
    ~frmDruckVorschau() override;

    // True when the preview was closed with "&Drucken".
    bool mbDrucken = false;

    QPrintPreviewWidget *vorschau = nullptr;
    QPushButton *cmdErste = nullptr;
    QPushButton *cmdVorige = nullptr;
    QSpinBox *txtSeite = nullptr;
    QLabel *lblSeiten = nullptr;
    QPushButton *cmdNaechste = nullptr;
    QPushButton *cmdLetzte = nullptr;
    QPushButton *cmdKleiner = nullptr;
    QPushButton *cmdGroesser = nullptr;
    QPushButton *cmdSeitenbreite = nullptr;
    QPushButton *cmdGanzeSeite = nullptr;
    QLabel *lblZoom = nullptr;
    QPushButton *cmdDrucken = nullptr;
    QPushButton *cmdSchliessen = nullptr;

    // Pages of the whole job; known once vollstaendig() is true.
    int seitenAnzahl() const;
    bool vollstaendig() const { return m_vollstaendig; }
    // Lays the whole job out now (what the dialog does right after showing its first page).
    void ganzerAuftrag();

    // Draws the print-out onto printer (a QPrinter::HighResolution one): every page, or up to
    // page grenze when it is above 0. Used for the preview's own printer; a test may hand a
    // PDF printer to read the pages back.
    Beschreibungsdruck::Ergebnis seitenZeichnen(QPrinter *printer, int grenze = 0);
    // Why the last drawing failed; "" otherwise.
    QString fehler() const { return m_fehler; }

protected:
    void showEvent(QShowEvent *e) override;

private:
    void anzeigeAktualisieren();

    DruckAuftrag m_auftrag;
    std::optional<DruckInhalt> m_inhalt;
    std::unique_ptr<QPrinter> m_printer;
    int m_grenze = 1;
    bool m_vollstaendig = false;
    bool m_ganzGeplant = false;
    QString m_fehler;
};
