// The help window: chapter tabs (tabMain), topic tabs (tabSub), the section title labels
// (lblSub in fraSub) and the text box txt, on a page that scrolls inside a viewport. It reads
// its data, resolves help numbers to chapter, topic and section, records every shown section
// in the page history, follows text links (a picture link opens the picture window
// frmHilfeBild), carries out the toolbar's commands (history, previous and next section,
// display mode), and lays its controls out for every size. It lives in the client
// area of the frame window frmInhalt.
#pragma once

#include "HilfeDokument.h"
#include "HilfeLayout.h"

#include <QColor>
#include <QList>
#include <QPair>
#include <QPointer>
#include <QWidget>

class QLabel;
class QRect;
class QScrollBar;
class QTextEdit;
class Lesehilfen;
class Registerkarten;
class TextFeld;
class frmInhalt;

class frmHilfe : public QWidget
{
    Q_OBJECT

public:
    // The one help window of the process: nullptr before anlegen and after it was unloaded.
    static frmHilfe *instanz();
    // Creates the help window in the frame's client area as a view of the document (which it
    // takes over when nobody owns it) and connects the frame's buttons and unload to it;
    // returns the window that exists when there is one.
    static frmHilfe *anlegen(frmInhalt *rahmen, HilfeDokument *dokument);
    ~frmHilfe() override;

    // The document this window shows: chapters, topics, sections, the shown section, the
    // history and the link table live there; this window is a view of it.
    HilfeDokument *dokument() const { return m_dokument; }

    // Reads the chapters, builds the chapter tabs and goes to GeheZu ("01.01.01" when empty),
    // resolved as on a fresh start, whatever was shown before (HilfeDokument::laden).
    // False when no chapter could be read, or the target could not be read (the window then
    // keeps what it showed, history included). Klein is accepted and not used.
    bool DatenEinlesen(const QString &GeheZu, bool &Klein);
    // Whether the last DatenEinlesen's number named a chapter, topic and section of the help
    // (else it showed what the number resolved to), and whether a section is shown now.
    bool ZielBekannt() const;
    bool AbschnittGezeigt() const;
    // Selects the chapter, topic and section named by a help number KK.TT.XX; the section
    // shown is recorded in the page history unless verlauf says otherwise.
    void GeheZuText(const QString &Nummer,
                    HilfeDokument::Verlauf verlauf = HilfeDokument::Verlauf::Merken);
    // Selects the section with this title label index and shows its text.
    void lblSub_Click(int Index);
    // Carries out the toolbar button with index 1..14.
    void ButtonClick(int index);
    // The help number of the shown section ("" before the first).
    QString AktuelleNummer() const;

    // Controls, for the frame, the commands and tests.
    Registerkarten *tabMain() const { return m_tabMain; }
    Registerkarten *tabSub() const { return m_tabSub; }
    QWidget *fraSub() const { return m_fraSub; }
    QLabel *lblSub(int index) const;
    QTextEdit *txt() const { return m_txt; }
    QWidget *picContainer() const { return m_picContainer; }
    QWidget *picMain() const { return m_picMain; }
    QWidget *picBackground() const { return m_picBackground; }
    QScrollBar *HScroll1() const { return m_hScroll; }
    QScrollBar *VScroll1() const { return m_vScroll; }

    // The geometry (twips) the last layout gave the page and the text panel.
    TwipRechteck picMainTwips() const { return m_geoPicMain; }
    TwipRechteck picBackgroundTwips() const { return m_geoPicBackground; }
    TwipRechteck lblSubTwips(int index) const;

    // Zoom, find bar and bookmarks of the text (Lesehilfen.h).
    Lesehilfen *lesehilfen() const { return m_lesehilfen; }
    // The text box's positions (link table) and document positions.
    const TextFeld *txtFeld() const { return m_txtFeld; }

    // The link under a point of txt's viewport (pixels); 0 when there is none.
    int VerweisAnPunkt(const QPoint &punkt) const;
    // The box of the character at a text position of the shown section, in txt's viewport
    // (pixels); empty for a paragraph break or a position outside the text.
    QRect ZeichenRechteck(int textPos) const;
    // The shown text between two text positions.
    QString TextBereich(int anfang, int ende) const;

    // Search hits in the shown section, in frmHilfe_Treffer.cpp: marks each range (start,
    // length in text positions) with a highlight that is no edit of the text, so links and
    // their positions stay as they are, and scrolls the first one into view. An empty list
    // removes the marks; showing a section removes them too.
    void TrefferMarkieren(const QList<QPair<int, int>> &bereiche);
    // The ranges marked now.
    QList<QPair<int, int>> TrefferBereiche() const { return m_treffer; }

    // A line above the text, for a message about the shown content (the preview's source
    // errors); an empty text removes it.
    void setHinweis(const QString &text);
    QString hinweis() const;

    // Unloads the window: the picture window goes, Entladen tells the others (the keyword
    // pane), the global reference is cleared. Runs when the frame unloads.
    void Form_Unload();

signals:
    // Requests of the toolbar that others serve: the keyword pane (button 7), the print
    // command (button 9), the other display mode (buttons 11 and 12).
    void StichwortSucheGewuenscht();
    void DruckGewuenscht();
    void DarstellungGewuenscht();
    // The window is unloading.
    void Entladen();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    frmHilfe(QWidget *parent, HilfeDokument *dokument);
    void steuerelementeAnlegen();
    void tabMain_Click();
    void tabSub_Click();
    // What the window shows follows the document: the tab rows, the title labels, the
    // marked title, the text, the toolbar buttons.
    void kapitelZeigen();
    void themenZeigen();
    void abschnitteZeigen();
    void auswahlZeigen();
    void ButtonsAktualisieren();
    void AbschnittDarstellen(const QString &inhalt);
    void Layout();
    void HScroll1_Change();
    void VScroll1_Change();
    void setzeGeometrie(QWidget *w, const TwipRechteck &r);
    void hinweisPlatzieren();
    void toolbarButtonAktiv(int index, bool aktiv);
    int zeichenAnPunkt(const QPoint &punkt) const;

    Registerkarten *m_tabMain = nullptr;
    Registerkarten *m_tabSub = nullptr;
    QWidget *m_fraSub = nullptr;
    QList<QLabel *> m_lblSub;
    QList<TwipRechteck> m_geoLblSub;
    QTextEdit *m_txt = nullptr;
    QLabel *m_lblHinweis = nullptr;
    TextFeld *m_txtFeld = nullptr;
    Lesehilfen *m_lesehilfen = nullptr;
    QWidget *m_picContainer = nullptr;
    QWidget *m_picMain = nullptr;
    QWidget *m_picBackground = nullptr;
    QScrollBar *m_hScroll = nullptr;
    QScrollBar *m_vScroll = nullptr;

    TwipRechteck m_geoPicContainer = HilfeStartGeometrie::picContainer;
    TwipRechteck m_geoPicMain = HilfeStartGeometrie::picMain;
    TwipRechteck m_geoPicBackground = HilfeStartGeometrie::picBackground;
    TwipRechteck m_geoTxt = HilfeStartGeometrie::txt;
    TwipRechteck m_geoFraSub = HilfeStartGeometrie::fraSub;
    TwipRechteck m_geoTabSub = HilfeStartGeometrie::tabSub;
    TwipRechteck m_geoTabMain = HilfeStartGeometrie::tabMain;

    HilfeDokument *m_dokument = nullptr;
    // Title labels created so far (at least one), the one marked now (-1: none), the strip's
    // colour, and the text panel's top with the page not scrolled (twips).
    int miLabelAnzahl = 1;
    int m_markiert = -1;
    QColor mlAbschnittFarbe;
    qint32 miHintergrundTop = HilfeStartGeometrie::picBackground.oben;
    QObject *m_tastenFilter = nullptr;
    bool m_entladen = false;
    QList<QPair<int, int>> m_treffer;
};
