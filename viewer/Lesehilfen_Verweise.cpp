// Links from the keyboard: while the text box has the focus, Tab and Umschalt+Tab go from
// link to link in text order (the one reached is marked like a selection and scrolled into
// view), Return or Enter follow it as a click does; Tab behind the last link (or Umschalt+Tab
// before the first) leaves the text for the window's next control.
#include "Lesehilfen.h"

#include "TextFeld.h"
#include "frmHilfe.h"
#include "frmHilfeBild.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextCursor>

namespace {

// Marks the selection of the link that has the keyboard.
constexpr int VerweisMarke = QTextFormat::UserProperty + 0x56;

} // namespace

bool Lesehilfen::verweisTaste(QKeyEvent *taste)
{
    const HilfeDokument *dokument = m_hilfe->dokument();
    const int anzahl = dokument->verweisAnzahl();
    switch (taste->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        if (taste->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))
            return false;
        const bool zurueck =
            taste->key() == Qt::Key_Backtab || (taste->modifiers() & Qt::ShiftModifier);
        int neu = m_verweis + (zurueck ? -1 : 1);
        if (m_verweis == 0 && zurueck)
            neu = anzahl; // from outside the links backwards: the last one
        if (neu < 1 || neu > anzahl) {
            verweisWaehlen(0);
            return false; // the focus moves on
        }
        verweisWaehlen(neu);
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        if (m_verweis < 1 || m_verweis > anzahl)
            return false;
        const int verweis = m_verweis;
        verweisWaehlen(0);
        m_hilfe->dokument()->verweisFolgen(verweis);
        return true;
    }
    default:
        return false;
    }
}

void Lesehilfen::verweisWaehlen(int index)
{
    m_verweis = index;
    QList<QTextEdit::ExtraSelection> alle;
    const QList<QTextEdit::ExtraSelection> vorhanden = m_txt->extraSelections();
    for (const QTextEdit::ExtraSelection &a : vorhanden)
        if (!a.format.hasProperty(VerweisMarke))
            alle.append(a);
    const QList<tVerweis> &verweise = m_hilfe->dokument()->verweise();
    if (index >= 1 && index < verweise.size()) {
        const tVerweis &v = verweise.at(index);
        const TextFeld *feld = m_hilfe->txtFeld();
        QTextEdit::ExtraSelection a;
        a.cursor = QTextCursor(m_txt->document());
        a.cursor.setPosition(feld->zuDokument(v.Anfang));
        a.cursor.setPosition(feld->zuDokument(v.Ende, true), QTextCursor::KeepAnchor);
        const QPalette &pal = m_txt->palette();
        a.format.setBackground(pal.color(QPalette::Highlight));
        a.format.setForeground(pal.color(QPalette::HighlightedText));
        a.format.setProperty(VerweisMarke, true);
        alle.append(a);
        QTextCursor anfang(m_txt->document());
        anfang.setPosition(feld->zuDokument(v.Anfang));
        const QRect r = m_txt->cursorRect(anfang);
        const int hoehe = m_txt->viewport()->height();
        if (r.top() < 0 || r.bottom() >= hoehe) {
            QScrollBar *bar = m_txt->verticalScrollBar();
            bar->setValue(bar->value() + r.top() - hoehe / 3);
        }
    }
    m_txt->setExtraSelections(alle);
}
