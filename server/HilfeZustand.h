// A read-only status object of the help server on the session bus, beside clsHilfe, for the
// user-level tests and scripts: what the windows show (section, history, toolbar, tabs,
// section titles, focus, open menus and dialogs, the picture window, zoom, find bar and
// bookmarks), the messages shown so far, the screen rectangles of links and characters, and a
// picture of the frame window. It
// can write files and resize the frame, so the server registers it only when its environment
// asks for it (TOLVAR_HILFE_TESTZUGANG=1); the host application never needs it. The answers
// are JSON texts, so a script reads them without a D-Bus binding.
#pragma once

#include <QObject>
#include <QStringList>

inline constexpr const char *ZustandPfad = "/de/tolvar/BelnaHilfe/Zustand";
inline constexpr const char *ZustandSchnittstelle = "de.tolvar.BelnaHilfe.Zustand";
// The environment variable that makes the server register the status object.
inline constexpr const char *TestzugangVariable = "TOLVAR_HILFE_TESTZUGANG";

class HilfeSitzung;
class ProtokollMeldungen;

class HilfeZustand : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "de.tolvar.BelnaHilfe.Zustand")

public:
    HilfeZustand(const ProtokollMeldungen *meldungen, const HilfeSitzung &sitzung,
                 QObject *parent = nullptr)
        : QObject(parent), m_meldungen(meldungen), m_sitzung(sitzung)
    {
    }

    // True when the environment asks for the status object.
    static bool gewuenscht();

public slots:
    // The help number of the shown section; empty while no help window is shown.
    QString Abschnitt() const;
    bool RahmenSichtbar() const;
    bool HilfeSichtbar() const;
    // Everything a test reads back, as one JSON object (see belnahilfe-anzeigen --zustand).
    QString Zustand() const;
    // The first widget with this object name: found, visible, class, screen rectangle.
    QString Widget(const QString &name) const;
    // The links of the shown section with the screen rectangles of their text.
    QString Verweise() const;
    // The screen rectangle of the character at a text position of the shown section.
    QString Zeichen(int position) const;
    QStringList Meldungen() const;
    // Saves a picture of the frame window as PNG; false when there is no frame or the file
    // cannot be written.
    bool Bildschirmfoto(const QString &pfad) const;
    // Resizes the frame window (pixels), for pictures at several sizes.
    void RahmenGroesse(int breite, int hoehe);

private:
    const ProtokollMeldungen *m_meldungen;
    const HilfeSitzung &m_sitzung;
};
