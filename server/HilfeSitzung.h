// The composition root of the help server. One session per process: it creates and owns the
// document of the open help (read from the help database), creates the frame with the help
// window and the keyword pane, and keeps the state those windows share: the display mode
// (full or half screen) and the desktop work area; it opens and closes the keyword pane. The
// windows emit requests (keyword search, print, display mode, window state, unload); the
// session serves them. The start-up procedures of the server are its methods.
#pragma once

#include "DatenbankQuelle.h"
#include "FensterPlatz.h"

#include <QObject>
#include <QPointer>
#include <QString>

class HilfeDatenbank;
class HilfeDokument;
class frmHilfe;
class frmInhalt;

class HilfeSitzung : public QObject
{
    Q_OBJECT

public:
    explicit HilfeSitzung(HilfeDatenbank &datenbank, QObject *parent = nullptr);
    ~HilfeSitzung() override;

    // The start-up sequence for a help number, run for every HilfeAnzeigen: creates, places
    // and shows the windows and reads the data. True when the help window shows a section;
    // false when the data could not be read (only the frame is up, or the window keeps what
    // it showed) or no section could be shown. A number that is not in the help is logged.
    bool HilfeStarten(const QString &Nummer);
    // Measures the desktop work area in twips.
    void ArbeitsbereichErmitteln();
    // Places the frame on the whole work area (full mode) or its right half (half-screen
    // mode) and shows the size button that switches to the other mode.
    void FensterPositionieren();

    // The display mode: true for half screen. The host sets it with every call; the size
    // buttons switch it; a maximised frame is in full mode and gets the mode it had back
    // when it is restored.
    bool darstellung() const { return m_darstellung; }
    void setDarstellung(bool halb) { m_darstellung = halb; }
    // The desktop work area as last measured (twips).
    const ArbeitsbereichTwips &bereich() const { return m_bereich; }
    // Whether the keyword pane is open. The session alone sets it; the frame keeps it, since
    // it lays out its children by it.
    bool stichwortSuche() const;

    // The document of the open help: chapters, topics, sections, the shown one, the history.
    HilfeDokument *dokument() const { return m_dokument; }
    // The frame and the help window in it, created and connected on first use.
    frmInhalt *rahmen();
    frmHilfe *hilfeFenster();

    // Unloads the frame, which ends the process; a frame never shown is created for it.
    void RahmenEntladen();

private:
    void stichwortSucheOeffnen();
    void stichwortSucheGeschlossen();
    void fensterZustand(qint16 zustand, qint16 vorher);
    void groesseKnoepfeZeigen();

    DatenbankQuelle m_quelle;
    HilfeDokument *m_dokument;
    QPointer<frmInhalt> m_rahmen;
    bool m_darstellung = false;
    bool m_darstellungGemerkt = false; // the mode before the frame was maximised
    ArbeitsbereichTwips m_bereich{};
};
