// The frame window of the help server: a top-level window whose client area holds the help
// window and, while a keyword search is open, the keyword pane at its left; along its top the
// toolbar tlb with 14 buttons addressed by index (separators included). The frame arranges its
// children, reports each change of its window state and every button click as a signal, and
// ends the server process when it is closed.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QSize>

#include <array>
#include <functional>

class QAction;
class QKeyEvent;
class QToolBar;

class frmInhalt : public QMainWindow
{
    Q_OBJECT

public:
    // Toolbar indexes of the commands (3, 6, 8 and 10 are separators). 1..12 are the ones the
    // host application knows; the reading aids follow behind them.
    enum ButtonIndex {
        ButtonZurueck = 1,
        ButtonVorwaerts = 2,
        ButtonVorige = 4,
        ButtonNaechste = 5,
        ButtonSuchen = 7,
        ButtonDrucken = 9,
        ButtonKleiner = 11,
        ButtonGroesser = 12,
        ButtonFinden = 13,
        ButtonLesezeichen = 14,
        ButtonAnzahl = 14
    };

    // The one frame of the process: nullptr before anlegen and after it was unloaded.
    static frmInhalt *instanz();
    // Creates the frame unless there is one; returns it.
    static frmInhalt *anlegen();

    ~frmInhalt() override;

    // The toolbar's button with index 1..ButtonAnzahl (separators too); nullptr outside that
    // range.
    QAction *Button(int index) const;
    QToolBar *tlb() const { return m_tlb; }
    // F10: the keyboard goes to the first toolbar button that can act; arrows move along the
    // toolbar, Return or Space press, Esc goes back.
    void SymbolleisteFokus();

    // The client area below the toolbar, which the child windows are placed in.
    QWidget *clientBereich() const { return m_client; }
    double innenBreite() const; // twips
    double innenHoehe() const;

    // The child windows that AufbauMDIChilds arranges; both are children of clientBereich().
    void setHilfeFenster(QWidget *fenster);
    void setStichwortFenster(QWidget *fenster);
    QWidget *hilfeFenster() const { return m_hilfe; }
    QWidget *stichwortFenster() const { return m_stichwort; }

    // Whether the keyword pane is open, as the session says: it then takes the left strip.
    void setStichwortSuche(bool offen);
    bool stichwortSuche() const { return m_stichwortSuche; }

    // Arranges the help window (and the keyword pane when open) in the client area.
    void AufbauMDIChilds();

    // Moves and sizes the window's outer frame, in twips.
    void Bewegen(double links, double oben, double breite, double hoehe);

    // 0 normal, 1 minimised, 2 maximised: as the window is now, and as seen at the end of
    // the last resize handling.
    static qint16 zustandVon(Qt::WindowStates s);
    qint16 miFensterStatus() const { return m_fensterStatus; }

    // Unloads the frame (as closing it does): the children unload, the instance is dropped
    // and the process ends. Runs once; also for a frame that was never shown.
    void Unload();

    // What closing the frame does last: ends the process (tests install their own).
    static void setProzessEnde(std::function<void()> ende);

signals:
    // A toolbar button was clicked; index 1..ButtonAnzahl.
    void ButtonClick(int index);
    // The frame is being unloaded: the child windows and the picture window unload now.
    void Entladen();
    // After each resize handling: the window state (zustandVon) now and at the one before.
    void FensterZustand(qint16 zustand, qint16 vorher);

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    frmInhalt();
    void toolbarAufbauen();
    void FormResize();
    // Places the window again when its decoration changed since the last placement.
    void platzNachRahmen();
    static void fensterBewegen(QWidget *w, double links, double oben, double breite, double hoehe);
    QList<QWidget *> bedienbareKnoepfe() const;
    bool symbolleisteTaste(QWidget *knopf, QKeyEvent *taste);

    QToolBar *m_tlb = nullptr;
    QWidget *m_client = nullptr;
    QList<QAction *> m_buttons; // index 0 is button 1
    QPointer<QWidget> m_hilfe;
    QPointer<QWidget> m_stichwort;
    QPointer<QWidget> m_fokusVorLeiste;
    qint16 m_fensterStatus = 0;
    bool m_stichwortSuche = false;
    bool m_entladen = false;
    // The last placement (twips: left, top, width, height) and the decoration it assumed.
    std::array<double, 4> m_platz{};
    QSize m_platzRand;
    bool m_platzGesetzt = false;
};
