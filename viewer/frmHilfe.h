// The help window: chapter tabs (tabMain), topic tabs (tabSub), the section title labels
// (lblSub in fraSub) and the text box txt, on a page that scrolls inside a viewport. It reads
// its data, resolves help numbers to chapter, topic and section, records every shown section
// in the page history, follows text links (a picture link opens the picture window
// frmHilfeBild), carries out the toolbar's commands (history, previous and next section,
// display mode), and lays its controls out for every size. It lives in the client
// area of the frame window frmInhalt; creating it creates the frame.
#pragma once

#include "HilfeLayout.h"
#include "HilfeVerlauf.h"
#include "Verweis.h"

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

class frmHilfe : public QWidget
{
    Q_OBJECT

public:
    // The one help window of the process, created on first use (with its frame); nullptr
    // after it was unloaded and erzeugen is false.
    static frmHilfe *instanz(bool erzeugen = true);
    ~frmHilfe() override;

    // Reads the chapters, builds the chapter tabs and goes to GeheZu ("01.01.01" when empty),
    // resolved as on a fresh start, whatever was shown before.
    // False when no chapter could be read, or the target could not be read (the window then
    // keeps what it showed, history included). Klein is accepted and not used.
    bool DatenEinlesen(const QString &GeheZu, bool &Klein);
    // Whether the last DatenEinlesen's number named a chapter, topic and section of the help
    // (else it showed what the number resolved to), and whether a section is shown now.
    bool ZielBekannt() const { return m_zielBekannt; }
    bool AbschnittGezeigt() const { return gezeigterAbschnitt() >= 0; }
    // Selects the chapter, topic and section named by a help number KK.TT.XX.
    void GeheZuText(const QString &Nummer);
    // Selects the section with this title label index and shows its text.
    void lblSub_Click(int Index);
    // Carries out the toolbar button with index 1..14.
    void ButtonClick(int index);

    // The page history.
    qint32 VerlaufAnzahl() const { return m_verlauf.anzahl(); }
    void setVerlaufAnzahl(qint32 n) { m_verlauf.setAnzahl(n); }
    qint32 VerlaufPosition() const { return m_verlauf.position(); }
    void setVerlaufPosition(qint32 p);
    QString VerlaufEintrag(qint32 i) const { return m_verlauf.eintrag(i); }
    void setVerlaufEintrag(qint32 i, const QString &n) { m_verlauf.setEintrag(i, n); }
    bool mbVerlaufMerken = true;

    // The help number of the shown section ("" before the first); the number that
    // NummerMerken records.
    QString AktuelleNummer() const;

    // Lists as the content queries return them: element 0 unused, element i for tab or
    // label i - 1.
    // Chapters and topics are counted in 32 bits: a help may have more than 32,767 of them.
    qint32 miKapitelAnzahl = 0;
    QList<qint32> mlKapitelIDs{0};
    QList<qint32> mlKapitelNummern{0};
    qint32 mlAktKapitelID = 0;
    qint32 miThemenAnzahl = 0;
    QList<qint32> mlThemenIDs{0};
    QList<qint32> mlThemenNummern{0};
    qint32 mlAktThemaID = 0;
    qint16 miTexteAnzahl = 0;
    QList<qint32> mlTexteIDs{0};
    QList<qint32> mlTexteNummern{0};
    QList<QString> msTexteInhalt{QString()};
    qint16 miAktTextIndex = -1;
    qint16 miLabelAnzahl = 1;
    QColor mlAbschnittFarbe;
    qint32 miHintergrundTop = HilfeStartGeometrie::picBackground.oben;

    // The link table of the shown section; element 0 unused.
    QList<tVerweis> mtVerweise{tVerweis()};
    qint16 miVerweisAnzahl = 0;

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

    // Unloads the window: the picture window and the keyword pane go, the global reference
    // is cleared. Runs when the frame unloads.
    void Form_Unload();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit frmHilfe(QWidget *parent);
    void steuerelementeAnlegen();
    void tabMain_Click();
    void tabSub_Click();
    void NummerMerken();
    // Enables the previous/next-section and print buttons for what is shown now.
    void ButtonsAktualisieren();
    // No section is shown: labels hidden, text and link table emptied.
    void AbschnittLeeren();
    // Puts a tab row back on the entry that was loaded before a failed read.
    void kapitelZuruecksetzen(qint32 kapitelID);
    void themaZuruecksetzen(qint32 themaID);
    // Previous and next section (toolbar buttons 4 and 5), in frmHilfe_Navigation.cpp.
    void VorigerAbschnitt();
    void NaechsterAbschnitt();
    // The number a fresh start shows for a number given as its three parts, from the chapter
    // lists and the topics and sections read for it; "" when a read failed (it was reported).
    // bekannt: whether every part named an entry.
    QString ZielAufloesen(const double (&teile)[3], const QList<qint32> &kapitelIDs,
                          const QList<qint32> &kapitelNummern, bool &bekannt);
    int gezeigterAbschnitt() const;
    // A help number from the Nummer values of chapter, topic and section.
    static QString NummerBilden(qint32 kapitel, qint32 thema, qint32 text);
    void AbschnittDarstellen(const QString &inhalt);
    void Layout();
    void HScroll1_Change();
    void VScroll1_Change();
    void setzeGeometrie(QWidget *w, const TwipRechteck &r);
    void toolbarButtonAktiv(int index, bool aktiv);
    int zeichenAnPunkt(const QPoint &punkt) const;

    Registerkarten *m_tabMain = nullptr;
    Registerkarten *m_tabSub = nullptr;
    QWidget *m_fraSub = nullptr;
    QList<QLabel *> m_lblSub;
    QList<TwipRechteck> m_geoLblSub;
    QTextEdit *m_txt = nullptr;
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

    HilfeVerlauf m_verlauf;
    bool mbSprungAktiv = false;
    bool mbKapitelGeladen = false;
    bool mbThemaGeladen = false;
    // Set by a tab handler whose read failed (the query has reported it); a jump stops then,
    // so one failure gives one message and nothing is recorded that is not shown.
    bool m_lesefehler = false;
    bool m_zielBekannt = true;
    QObject *m_tastenFilter = nullptr;
    bool m_entladen = false;
    QList<QPair<int, int>> m_treffer;
};
