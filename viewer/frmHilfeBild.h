// The picture window: a top-level window of its own that shows one picture of the help, opened
// by a click on a picture link. One window per process, created on first use and released when
// it is closed; a further picture reuses it. The window is sized to the picture with a margin of
// 90 twips on every side and sits at the lower left of the desktop work area. A picture larger
// than the work area gets a window as large as the work area, in which the picture scrolls.
// Esc closes the window (and only it).
#pragma once

#include <QMargins>
#include <QWidget>

class QLabel;
class QScrollArea;

class frmHilfeBild : public QWidget
{
    Q_OBJECT

public:
    // The one picture window of the process; nullptr when none is open and erzeugen is false.
    static frmHilfeBild *instanz(bool erzeugen = true);
    ~frmHilfeBild() override;

    // Reads the picture with this number from the help database, unpacks it in memory and
    // shows it in the picture window (created if needed) under "BildTitel (ESC = Fenster
    // schließen)", brought to the front. False when the picture is missing or cannot be
    // unpacked or decoded; an open window then keeps its picture, and no message is shown
    // (a database error is reported by the query itself).
    static bool BildZeigen(const QString &BildNummer, const QString &BildTitel);

    // How many pictures were shown since the process started (for the status object).
    static int gezeigtAnzahl();

    // Unloads the picture window if it is open (with the help window, or when the keyword
    // pane opens).
    static void Entladen();

    // The picture box, at left 90, top 90 twips of the window's inner area (before scrolling).
    QLabel *picBild() const { return m_picBild; }
    QScrollArea *flaeche() const { return m_flaeche; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    frmHilfeBild();
    void bildSetzen(const QPixmap &bild, const QString &titel);
    void platzieren();
    QMargins rahmen() const;

    QScrollArea *m_flaeche = nullptr;
    QWidget *m_seite = nullptr;
    QLabel *m_picBild = nullptr;
    QSize m_seitenGroesse; // picture plus margins, pixels
    QMargins m_rahmenGeplant;
};
