// A read-only status object of the help server on the session bus, beside clsHilfe: which
// section the help window shows, whether frame and help window are visible, the messages
// shown so far; and a picture of the frame window. Scripts (the run command), tests and
// benchmarks use it; the host application does not need it.
#pragma once

#include <QObject>
#include <QStringList>

inline constexpr const char *ZustandPfad = "/de/tolvar/BelnaHilfe/Zustand";

class ProtokollMeldungen;

class HilfeZustand : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "de.tolvar.BelnaHilfe.Zustand")

public:
    explicit HilfeZustand(const ProtokollMeldungen *meldungen, QObject *parent = nullptr)
        : QObject(parent), m_meldungen(meldungen)
    {
    }

public slots:
    // The help number of the shown section; empty while no help window is shown.
    QString Abschnitt() const;
    bool RahmenSichtbar() const;
    bool HilfeSichtbar() const;
    // Geometry of the frame window in pixels: x, y, width, height.
    QList<int> RahmenGeometrie() const;
    QStringList Meldungen() const;
    // Saves a picture of the frame window as PNG; false when there is no frame or the file
    // cannot be written.
    bool Bildschirmfoto(const QString &pfad) const;
    // Resizes the frame window (pixels), for pictures at several sizes.
    void RahmenGroesse(int breite, int hoehe);

private:
    const ProtokollMeldungen *m_meldungen;
};
