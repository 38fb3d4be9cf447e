// The reading aids of the help window: set-up and the calls of the window. Zoom, find bar
// and bookmarks are in Lesehilfen_Zoom.cpp, Lesehilfen_Finden.cpp and
// Lesehilfen_Lesezeichen.cpp.
#include "Lesehilfen.h"

#include "frmHilfe.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QTimer>

Lesehilfen::Lesehilfen(frmHilfe *hilfe) : QObject(hilfe), m_hilfe(hilfe), m_txt(hilfe->txt())
{
    setObjectName(QStringLiteral("Lesehilfen"));
    zoomEinrichten();
    findenEinrichten();
    lesezeichenEinrichten();
    // Esc reaches this filter before the help window's own, which closes the whole help: an
    // open find bar takes it first (filters installed later run first).
    qApp->installEventFilter(this);
}

void Lesehilfen::abschnittGezeigt()
{
    // The section was rendered at 100 %.
    m_dokZoom = 100;
    dokumentAufZoom(m_zoom);
    m_sucheAktuell = false;
    if (findenOffen()) {
        suchen();
        // Marks set by the caller right after rendering (a full-text search) replace all
        // extra selections: the bar's are added again once that is done.
        QTimer::singleShot(0, this, [this] {
            if (findenOffen())
                markieren();
        });
    }
}

bool Lesehilfen::escape()
{
    if (!findenOffen())
        return false;
    findenSchliessen();
    return true;
}

bool Lesehilfen::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *taste = static_cast<QKeyEvent *>(event);
        if (taste->key() != Qt::Key_Escape || !findenOffen())
            return false;
        auto *w = qobject_cast<QWidget *>(watched);
        if (!w || (w != m_hilfe && !m_hilfe->isAncestorOf(w)))
            return false;
        return escape();
    }
    case QEvent::Wheel:
        if (watched == m_txt->viewport())
            return rad(static_cast<QWheelEvent *>(event));
        return false;
    case QEvent::Resize:
    case QEvent::Move:
        if (m_leiste && watched == m_leiste->parentWidget())
            leistePlatzieren();
        return false;
    default:
        return false;
    }
}
