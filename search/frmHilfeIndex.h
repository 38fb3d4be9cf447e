// The keyword search pane "Stichwort Suchen": a child window in a strip at the left of the frame's
// client area, beside the help window. The user types part of a keyword, searches, picks one of
// the found keywords and opens one of the texts it leads to in the help window. Enter presses
// the default button, which is the search button while the search field has the focus and the
// show button otherwise; Esc closes the pane. Closing hides the pane with its content; unloading
// (with the help window) forgets it.
//
// Two option buttons above the search field choose what is searched: "Stichwörter" (the
// keyword search above, the default) or "Volltext", the full-text search over every section
// (Volltextabfragen.h). In full-text mode the keyword list and its grid give way to one grid of
// the matching sections, best first, with section title, a snippet around the hit, topic title
// and help number; opening one shows it in the help window with every hit highlighted.
// While the user types in full-text mode, a list under the field offers words of the index that
// begin as the word being typed (Up/Down choose, Enter takes one and searches, Esc closes it).
// A misspelt word that the search corrected is named above the hits ("Meinten Sie: …" as a
// link that puts the corrected text into the field), with a notice when the text as typed
// found nothing and the corrected one was searched instead.
#pragma once

#include "HilfeIndexLayout.h"
#include "VolltextAnfrage.h"
#include "Volltextabfragen.h"

#include <QList>
#include <QString>
#include <QWidget>

class QCompleter;
class QFrame;
class QLabel;
class QStringListModel;
class QPushButton;
class QRadioButton;
class StichwortListe;
class TolvarScrollListe;
class TolvarTextBox;

class frmHilfe;
class frmInhalt;

class frmHilfeIndex : public QWidget
{
    Q_OBJECT

public:
    // The one pane of the process: nullptr before the first Oeffnen and after it was unloaded.
    static frmHilfeIndex *instanz();
    ~frmHilfeIndex() override;

    // The search command of the help window: opens the pane (created on first use in the
    // frame's client area) at its left with the frame's inner height and lets the frame put
    // the help window beside it. The frame must already know that the pane is open.
    static frmHilfeIndex *Oeffnen(frmInhalt *rahmen);

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
    // One of the option buttons was chosen: the pane switches between keyword and full-text
    // search; the input focus goes back to the search field.
    void optSuche_Click();
    // Full-text mode is on.
    bool Volltext() const { return m_volltext; }
    // The pane became the active child: the input focus goes to the search field.
    void Form_Activate();
    // Unloads the pane: the help window fills the frame again and the instance is gone.
    void Form_Unload();

signals:
    // The pane was closed (Abbrechen) or unloaded; the help window fills the frame again
    // right after this.
    void Geschlossen();

public:
    // Controls.
    TolvarTextBox *txtSuchen() const { return m_txtSuchen; }
    QLabel *lbl(int index) const { return m_lbl[index]; }
    QPushButton *cmdSuchen() const { return m_cmdSuchen; }
    StichwortListe *lstWoerter() const { return m_lstWoerter; }
    TolvarScrollListe *scr() const { return m_scr; }
    QPushButton *cmdAnzeigen() const { return m_cmdAnzeigen; }
    QPushButton *cmdAbbruch() const { return m_cmdAbbruch; }
    QFrame *Line1() const { return m_line1; }
    QRadioButton *optStichwort() const { return m_optStichwort; }
    QRadioButton *optVolltext() const { return m_optVolltext; }
    TolvarScrollListe *scrVolltext() const { return m_scrVolltext; }
    QLabel *lblVolltext() const { return m_lblVolltext; }
    QLabel *lblKorrektur() const { return m_lblKorrektur; }
    QCompleter *ergaenzung() const { return m_ergaenzung; }
    // The button that Enter presses.
    QPushButton *standardKnopf() const { return m_standard; }

    // The geometry (twips) of the last layout.
    const HilfeIndexGeometrie &geometrie() const { return m_geo; }

    // Help numbers of the grid rows: element r + 1 for row r; element 0 unused.
    QList<QString> msNummern{QString()};
    // The rows of the full-text grid (row r is element r), the search text they answer and the
    // query as it was searched (for marking the hits).
    QList<VolltextTreffer> mtTreffer;
    QString msVolltextSuche;
    Volltext::Anfrage mtVolltextAnfrage;

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
    void modusAnwenden();
    void volltextSuchen();
    void volltextAnzeigen();
    void ergaenzen();
    void ergaenzungGewaehlt(const QString &text);
    void korrekturGewaehlt();
    void korrekturZeigen(const QString &korrektur, bool stattLeer, const QString &gesucht);

    TolvarTextBox *m_txtSuchen = nullptr;
    QLabel *m_lbl[3] = {};
    QPushButton *m_cmdSuchen = nullptr;
    StichwortListe *m_lstWoerter = nullptr;
    TolvarScrollListe *m_scr = nullptr;
    QPushButton *m_cmdAnzeigen = nullptr;
    QPushButton *m_cmdAbbruch = nullptr;
    QFrame *m_line1 = nullptr;
    QRadioButton *m_optStichwort = nullptr;
    QRadioButton *m_optVolltext = nullptr;
    TolvarScrollListe *m_scrVolltext = nullptr;
    QLabel *m_lblVolltext = nullptr;
    QLabel *m_lblKorrektur = nullptr;
    QString m_korrektur;
    QCompleter *m_ergaenzung = nullptr;
    QStringListModel *m_ergaenzungen = nullptr;
    // The field's text is being set by the pane, not typed: no completion list for it.
    bool m_textGesetzt = false;
    bool m_volltext = false;
    QPushButton *m_standard = nullptr;
    HilfeIndexGeometrie m_geo;
    bool m_entladen = false;
};
