// The reading aids of the help window: set-up and the calls of the window. Zoom, find bar
// and bookmarks are in Lesehilfen_Zoom.cpp, Lesehilfen_Finden.cpp and
// Lesehilfen_Lesezeichen.cpp.
#include "Lesehilfen.h"

#include "TextFarben.h"
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
    // One filter on the application sees the keys, wheel turns, resizes and palette changes
    // of the window's controls (each event once). Esc reaches it before the help window's own
    // filter, which closes the whole help: an open find bar takes it first (filters installed
    // later run first).
    qApp->installEventFilter(this);
}

void Lesehilfen::abschnittGezeigt()
{
    // The section was rendered at 100 %.
    m_dokZoom = 100;
    m_verweis = 0;
    dokumentAufZoom(m_zoom);
    farbenAnpassen();
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

Lesehilfen::~Lesehilfen()
{
    // A zoom step just before the help closes is kept too.
    zoomSpeichern();
}

void Lesehilfen::farbenAnpassen()
{
    const QPalette &pal = m_txt->palette();
    TextFarben::anpassen(*m_txt->document(), pal.color(QPalette::Base), pal.color(QPalette::Text));
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
        auto *taste = static_cast<QKeyEvent *>(event);
        if (watched == m_txt && verweisTaste(taste))
            return true;
        if (taste->key() != Qt::Key_Escape || !findenOffen())
            return false;
        auto *w = qobject_cast<QWidget *>(watched);
        if (!w || (w != m_hilfe && !m_hilfe->isAncestorOf(w)))
            return false;
        return escape();
    }
    case QEvent::PaletteChange:
        // Another palette (the desktop's scheme changed): the colours are adapted anew.
        if (watched == m_txt) {
            TextFarben::zuruecksetzen(*m_txt->document());
            farbenAnpassen();
        }
        return false;
    case QEvent::FocusOut:
        if (watched == m_txt && m_verweis != 0 &&
            static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            verweisWaehlen(0);
        return false;
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
