// The text box of the help window: rendering the selected section, the pointer over links
// and the click that follows a link.
#include "frmHilfe.h"

#include "Lesehilfen.h"
#include "TextFeld.h"
#include "Verweismarkup.h"
#include "frmHilfeBild.h"
#include "frmInhalt.h"

#include <QKeyEvent>

#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextEdit>

#include <algorithm>

void frmHilfe::AbschnittDarstellen(const QString &inhalt)
{
    // Marks of a search belong to the section they were made in.
    TrefferMarkieren({});
    QList<tVerweis> verweise;
    qint16 anzahl = 0;
    Verweismarkup::darstellen(inhalt, *m_txt->document(), verweise, anzahl);
    m_dokument->setVerweise(verweise, anzahl);
    // Rendered at 100 %: the zoom and an open find bar follow the new text.
    if (m_lesehilfen)
        m_lesehilfen->abschnittGezeigt();
}

int frmHilfe::zeichenAnPunkt(const QPoint &punkt) const
{
    // The character under the point, as a 16-bit position like the link table's; -1 where
    // the point is over no character.
    const QPointF imDokument(punkt.x() + m_txt->horizontalScrollBar()->value(),
                             punkt.y() + m_txt->verticalScrollBar()->value());
    return m_txtFeld->zeichenAnPunkt(imDokument);
}

int frmHilfe::VerweisAnPunkt(const QPoint &punkt) const
{
    return Verweismarkup::verweisBei(m_dokument->verweise(), m_dokument->verweisAnzahl(),
                                     zeichenAnPunkt(punkt));
}

QRect frmHilfe::ZeichenRechteck(int textPos) const
{
    const QRectF r = m_txtFeld->zeichenRechteck(textPos);
    if (r.isNull())
        return QRect();
    return r
        .translated(-m_txt->horizontalScrollBar()->value(), -m_txt->verticalScrollBar()->value())
        .toAlignedRect();
}

QString frmHilfe::TextBereich(int anfang, int ende) const
{
    return m_txtFeld->text().mid(anfang, std::max(ende - anfang, 0));
}

bool frmHilfe::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_txt->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            const auto *me = static_cast<QMouseEvent *>(event);
            if (VerweisAnPunkt(me->position().toPoint()) > 0)
                m_txt->viewport()->setCursor(Qt::PointingHandCursor);
            else
                m_txt->viewport()->unsetCursor();
        } else if (event->type() == QEvent::MouseButtonRelease) {
            // Any mouse button follows the link under the pointer, once: the event is taken,
            // so nothing else acts on it after the text has changed underneath.
            const auto *me = static_cast<QMouseEvent *>(event);
            const int i = VerweisAnPunkt(me->position().toPoint());
            if (i == 0) {
                m_txt->viewport()->unsetCursor();
                return false;
            }
            m_dokument->verweisFolgen(i);
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() == Qt::LeftButton) {
            const int index = int(m_lblSub.indexOf(qobject_cast<QLabel *>(watched)));
            if (index >= 0) {
                lblSub_Click(index);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
