// The reading aids of the help window: the zoom of the section text (Strg++ / Strg+- /
// Strg+0, Strg+mouse wheel), the find bar at the bottom of the text panel (Strg+F, toolbar
// button 13) and the bookmarks (toolbar button 14, Strg+L). One object per help window, a
// child of it; the window calls it when a section was rendered, on Esc and on a wheel turn
// over the text. Zoom and bookmarks are kept per user (LeseEinstellungen).
//
// The zoom scales the formats of the shown document (TextZoom), so the text box's layout,
// its hit test and the link table keep agreeing. The find bar marks its hits as extra
// selections of the text box, which change neither the document nor any position; the marks
// of a full-text search (frmHilfe::TrefferMarkieren) are kept beside them.
#pragma once

#include "LeseEinstellungen.h"
#include "TextSuche.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTextEdit>

class QFrame;
class QTimer;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;
class QWheelEvent;
class frmHilfe;

class Lesehilfen : public QObject
{
    Q_OBJECT

public:
    explicit Lesehilfen(frmHilfe *hilfe);
    ~Lesehilfen() override;

    // --- Zoom (Lesehilfen_Zoom.cpp)
    int zoom() const { return m_zoom; }
    // Sets the zoom (made a valid step) and applies it to the shown text; it is stored when
    // the steps rest (400 ms), and when the window goes.
    void setZoom(int prozent);
    // Stores the zoom now if it changed.
    void zoomSpeichern();
    void zoomGroesser();
    void zoomKleiner();
    void zoomNormal();
    // Before the print command: the marked text is taken with its formats, which must be the
    // stored ones (unzoomed, colours as written). The shown text goes back to them without
    // being painted and returns as soon as events run again (in the print dialog's event
    // loop, after the text was taken).
    void vorDemDrucken();

    // --- Find bar (Lesehilfen_Finden.cpp)
    QFrame *suchleiste() const { return m_leiste; }
    bool findenOffen() const;
    // Opens the bar (or keeps it open) with the focus in its field, the field's text marked.
    void findenOeffnen();
    // Closes the bar, removes its marks and gives the focus back to the text.
    void findenSchliessen();
    // Goes to the next (or previous) hit, wrapping round, and scrolls it into view.
    void findenWeiter(bool rueckwaerts = false);
    QString suchText() const;
    int trefferAnzahl() const { return int(m_treffer.size()); }
    // Index of the current hit, -1 when there is none.
    int trefferAktuell() const { return m_aktuell; }
    // What the bar says: "2 von 5", "nicht gefunden" or "".
    QString findenMeldung() const;
    // The hits as (document position, length).
    QList<TextSuche::Treffer> treffer() const { return m_treffer; }

    // --- Bookmarks (Lesehilfen_Lesezeichen.cpp)
    QMenu *lesezeichenMenue() const { return m_menue; }
    // Opens the bookmark menu below toolbar button 14 (or at the text when the toolbar is
    // hidden).
    void lesezeichenMenueZeigen();
    // Saves the shown section under its title; false when none is shown or it is saved already.
    bool lesezeichenHinzufuegen();
    // The dialog that renames, reorders and deletes bookmarks (modal).
    void lesezeichenVerwalten();
    QList<LeseEinstellungen::Lesezeichen> lesezeichen() const { return m_lesezeichen; }
    // Whether the help number names a section of the database (read anew).
    static bool abschnittVorhanden(const QString &nummer);

    // --- Links from the keyboard (Lesehilfen_Verweise.cpp)
    // The link that has the keyboard (index into the link table), 0 for none.
    int verweisFokus() const { return m_verweis; }

    // --- Calls of the help window
    // A section was rendered (at 100 %): zoom it, search it again.
    void abschnittGezeigt();
    // Esc in the help window: true when it closed the find bar (and is taken).
    bool escape();
    // A wheel turn over the text: Strg+wheel zooms (taken); false for others.
    bool rad(QWheelEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void zoomEinrichten();
    void dokumentAufZoom(int prozent);
    // Colours of the text that are hard to read on the text box's palette are adapted
    // (TextFarben).
    void farbenAnpassen();
    void findenEinrichten();
    void leistePlatzieren();
    void suchen();
    void markieren();
    void trefferZeigen();
    void lesezeichenEinrichten();
    void menueAufbauen();
    bool verweisTaste(QKeyEvent *taste);
    void verweisWaehlen(int index);

    frmHilfe *m_hilfe;
    QTextEdit *m_txt;

    int m_zoom = 100;
    // The zoom the shown document has now (differs from m_zoom only around the print command).
    int m_dokZoom = 100;
    int m_radRest = 0;
    QTimer *m_zoomSpeichern = nullptr;
    bool m_zoomFehlerGemeldet = false;

    QFrame *m_leiste = nullptr;
    QLineEdit *m_feld = nullptr;
    QLabel *m_status = nullptr;
    QToolButton *m_voriger = nullptr;
    QToolButton *m_naechster = nullptr;
    QToolButton *m_schliessen = nullptr;
    TextSuche m_suche;
    bool m_sucheAktuell = false; // m_suche holds the shown text
    QList<TextSuche::Treffer> m_treffer;
    int m_aktuell = -1;
    // The document range whose hits are marked now (see markieren).
    int m_markiertVon = 0;
    int m_markiertBis = 0;

    int m_verweis = 0;

    QMenu *m_menue = nullptr;
    QList<LeseEinstellungen::Lesezeichen> m_lesezeichen;
};
