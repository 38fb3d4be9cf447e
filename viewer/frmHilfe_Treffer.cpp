// The hits of a full-text search in the shown section: marked as extra selections of the text
// box, which colour the characters without changing the document, so the link table and every
// position the links use stay valid; the first hit is scrolled into view. Extra selections of
// others (the find bar's) are kept.
#include "frmHilfe.h"

#include "TextFeld.h"

#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

#include <algorithm>

namespace {

const QColor TrefferFarbe(0xFF, 0xD5, 0x4F); // amber, stronger than the title marking
// Tells the full-text marks from the other extra selections of the box (the find bar's),
// which stay as they are.
constexpr int TrefferMarke = QTextFormat::UserProperty + 0x56;

} // namespace

void frmHilfe::TrefferMarkieren(const QList<QPair<int, int>> &bereiche)
{
    m_treffer.clear();
    QList<QTextEdit::ExtraSelection> auswahl;
    const QList<QTextEdit::ExtraSelection> vorhanden = m_txt->extraSelections();
    for (const QTextEdit::ExtraSelection &a : vorhanden)
        if (!a.format.hasProperty(TrefferMarke))
            auswahl.append(a);
    const int laenge = m_txtFeld->laenge();
    for (const auto &[anfang, anzahl] : bereiche) {
        if (anfang < 0 || anzahl <= 0 || anfang >= laenge)
            continue;
        const int ende = std::min(anfang + anzahl, laenge);
        QTextEdit::ExtraSelection a;
        a.cursor = QTextCursor(m_txt->document());
        a.cursor.setPosition(m_txtFeld->zuDokument(anfang));
        a.cursor.setPosition(m_txtFeld->zuDokument(ende, true), QTextCursor::KeepAnchor);
        a.format.setBackground(TrefferFarbe);
        a.format.setForeground(Qt::black);
        a.format.setProperty(TrefferMarke, true);
        auswahl.append(a);
        m_treffer.append({anfang, ende - anfang});
    }
    m_txt->setExtraSelections(auswahl);
    if (m_treffer.isEmpty())
        return;
    // The first hit a third down the box, unless it is in view already.
    const QRectF r = m_txtFeld->zeichenRechteck(m_treffer.first().first);
    if (r.isNull())
        return;
    QScrollBar *bar = m_txt->verticalScrollBar();
    const int sichtbar = m_txt->viewport()->height();
    if (r.top() < bar->value() || r.bottom() > bar->value() + sichtbar)
        bar->setValue(int(r.top()) - sichtbar / 3);
}
