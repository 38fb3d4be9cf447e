// The keyword search pane "Stichwort Suchen": a child window in a strip at the left of the frame's
// client area, beside the help window. The user types part of a keyword, searches, picks one of
// the found keywords and opens one of the texts it leads to in the help window. Enter presses
// the default button, which is the search button while the search field has the focus and the
// show button otherwise; Esc closes the pane. Closing hides the pane with its content; unloading
// (with the help window) forgets it.
#pragma once

#include "HilfeIndexLayout.h"

#include <QList>
#include <QString>
#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;
class StichwortListe;
class TolvarScrollListe;
class TolvarTextBox;

class frmHilfeIndex : public QWidget
{
    Q_OBJECT

public:
    // The one pane of the process, created on first use in the frame's client area; nullptr
    // after it was unloaded and erzeugen is false.
    static frmHilfeIndex *instanz(bool erzeugen = true);
    ~frmHilfeIndex() override;

    // Installs the pane into the help window's hooks: toolbar button 7 opens it, unloading
    // the help window unloads it.
    static void anbinden();
    // The search command of the help window: opens the pane at the left of the frame's client
    // area with the frame's inner height and lets the frame put the help window beside it.
    static void Oeffnen();

    // Moves the help window back to fill the frame's client area.
    static void FensterZuruecksetzen();

    // The event handlers, public so that the commands can be run as the user runs them.
    void cmdSuchen_Click();
    void cmdAnzeigen_Click();
    void cmdAbbruch_Click();
    void lstWoerter_Click();
    void txtSuchen_Change();
    void txtSuchen_GotFocus();
    void txtSuchen_LostFocus();
    void scr_ZeileAktiviert();
    // The pane became the active child: the input focus goes to the search field.
    void Form_Activate();
    // Unloads the pane: the help window fills the frame again and the instance is gone.
    void Form_Unload();

    // Controls.
    TolvarTextBox *txtSuchen() const { return m_txtSuchen; }
    QLabel *lbl(int index) const { return m_lbl[index]; }
    QPushButton *cmdSuchen() const { return m_cmdSuchen; }
    StichwortListe *lstWoerter() const { return m_lstWoerter; }
    TolvarScrollListe *scr() const { return m_scr; }
    QPushButton *cmdAnzeigen() const { return m_cmdAnzeigen; }
    QPushButton *cmdAbbruch() const { return m_cmdAbbruch; }
    QFrame *Line1() const { return m_line1; }
    // The button that Enter presses.
    QPushButton *standardKnopf() const { return m_standard; }

    // The geometry (twips) of the last layout.
    const HilfeIndexGeometrie &geometrie() const { return m_geo; }

    // Help numbers of the grid rows: element r + 1 for row r; element 0 unused.
    QList<QString> msNummern{QString()};

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    explicit frmHilfeIndex(QWidget *parent);
    void steuerelementeAnlegen();
    void standardSetzen(QPushButton *knopf);
    void Form_Resize();
    void geometrieAnwenden();

    TolvarTextBox *m_txtSuchen = nullptr;
    QLabel *m_lbl[3] = {};
    QPushButton *m_cmdSuchen = nullptr;
    StichwortListe *m_lstWoerter = nullptr;
    TolvarScrollListe *m_scr = nullptr;
    QPushButton *m_cmdAnzeigen = nullptr;
    QPushButton *m_cmdAbbruch = nullptr;
    QFrame *m_line1 = nullptr;
    QPushButton *m_standard = nullptr;
    HilfeIndexGeometrie m_geo;
    bool m_entladen = false;
};
