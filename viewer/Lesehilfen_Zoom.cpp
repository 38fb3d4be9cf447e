// The zoom of the section text: keys, wheel, applying a step to the shown document while the
// line at the top of the box stays in view, and the pause around the print command.
#include "Lesehilfen.h"

#include "Einstellungen.h"
#include "Meldung.h"
#include "TextFarben.h"
#include "TextZoom.h"
#include "frmHilfe.h"
#include "frmInhalt.h"

#include <QScrollBar>
#include <QShortcut>
#include <QTextCursor>
#include <QTimer>
#include <QWheelEvent>

void Lesehilfen::zoomEinrichten()
{
    m_zoom = LeseEinstellungen::zoomLesen();
    m_zoomSpeichern = new QTimer(this);
    m_zoomSpeichern->setSingleShot(true);
    m_zoomSpeichern->setInterval(400);
    connect(m_zoomSpeichern, &QTimer::timeout, this, &Lesehilfen::zoomSpeichern);
    // Closing the help ends the process before deferred deletions run: store then.
    if (frmInhalt *rahmen = frmInhalt::instanz())
        connect(rahmen, &frmInhalt::Entladen, this, &Lesehilfen::zoomSpeichern);
    const auto taste = [this](QKeyCombination k, void (Lesehilfen::*wirkung)()) {
        auto *s = new QShortcut(QKeySequence(k), m_hilfe);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, wirkung);
    };
    // Strg++ as typed on a German keyboard, on the number pad, and Strg+= where "+" is the
    // shifted "=".
    taste(Qt::CTRL | Qt::Key_Plus, &Lesehilfen::zoomGroesser);
    taste(Qt::CTRL | Qt::SHIFT | Qt::Key_Plus, &Lesehilfen::zoomGroesser);
    taste(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Plus),
          &Lesehilfen::zoomGroesser);
    taste(Qt::CTRL | Qt::Key_Equal, &Lesehilfen::zoomGroesser);
    taste(Qt::CTRL | Qt::Key_Minus, &Lesehilfen::zoomKleiner);
    taste(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Minus),
          &Lesehilfen::zoomKleiner);
    taste(Qt::CTRL | Qt::Key_0, &Lesehilfen::zoomNormal);
    taste(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_0),
          &Lesehilfen::zoomNormal);
}

void Lesehilfen::setZoom(int prozent)
{
    const int neu = TextZoom::gueltig(prozent);
    if (neu != m_zoom) {
        m_zoom = neu;
        // Stored once the keys or the wheel rest, not on every step.
        m_zoomSpeichern->start();
    }
    dokumentAufZoom(m_zoom);
}

void Lesehilfen::zoomSpeichern()
{
    m_zoomSpeichern->stop();
    if (m_zoom == LeseEinstellungen::zoomLesen())
        return;
    // A zoom that cannot be stored is said once; the help works on with it.
    if (!LeseEinstellungen::zoomSpeichern(m_zoom) && !m_zoomFehlerGemeldet) {
        m_zoomFehlerGemeldet = true;
        MsgBox(QStringLiteral("Die Zoomstufe konnte nicht gespeichert werden (%1).")
                   .arg(einstellungsDatei(QString::fromLatin1(LeseEinstellungen::Anwendung))),
               Meldung::Ausrufezeichen);
    }
}

void Lesehilfen::zoomGroesser()
{
    setZoom(TextZoom::groesser(m_zoom));
}

void Lesehilfen::zoomKleiner()
{
    setZoom(TextZoom::kleiner(m_zoom));
}

void Lesehilfen::zoomNormal()
{
    setZoom(TextZoom::Normal);
}

void Lesehilfen::dokumentAufZoom(int prozent)
{
    if (prozent == m_dokZoom)
        return;
    // The character at the top left of the box stays at the top.
    QScrollBar *bar = m_txt->verticalScrollBar();
    const bool oben = bar->value() == 0;
    const int anker = m_txt->cursorForPosition(QPoint(0, 0)).position();
    const int versatz = m_txt->cursorRect(m_txt->cursorForPosition(QPoint(0, 0))).top();
    TextZoom::skalieren(*m_txt->document(), m_dokZoom, prozent);
    m_dokZoom = prozent;
    if (!oben) {
        QTextCursor c(m_txt->document());
        c.setPosition(anker);
        bar->setValue(bar->value() + m_txt->cursorRect(c).top() - versatz);
    }
}

bool Lesehilfen::rad(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier))
        return false;
    // A wheel step is 120; finer wheels add up until a step is reached.
    m_radRest += event->angleDelta().y();
    while (m_radRest >= 120) {
        m_radRest -= 120;
        zoomGroesser();
    }
    while (m_radRest <= -120) {
        m_radRest += 120;
        zoomKleiner();
    }
    event->accept();
    return true;
}

void Lesehilfen::vorDemDrucken()
{
    m_txt->viewport()->setUpdatesEnabled(false);
    TextFarben::zuruecksetzen(*m_txt->document());
    dokumentAufZoom(100);
    QTimer::singleShot(0, this, [this] {
        dokumentAufZoom(m_zoom);
        farbenAnpassen();
        m_txt->viewport()->setUpdatesEnabled(true);
    });
}
