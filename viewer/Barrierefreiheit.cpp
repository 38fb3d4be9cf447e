// See Barrierefreiheit.h.
#include "Barrierefreiheit.h"

#include "frmHilfe.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>

namespace {

frmHilfe *hilfeVon(QObject *o)
{
    for (; o; o = o->parent())
        if (auto *h = qobject_cast<frmHilfe *>(o))
            return h;
    return nullptr;
}

// A section title (lblSubN in fraSub): a button named by its title.
class AbschnittTitelZugang : public QAccessibleWidget
{
public:
    explicit AbschnittTitelZugang(QLabel *l) : QAccessibleWidget(l, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        const auto *l = static_cast<const QLabel *>(object());
        if (t == QAccessible::Name)
            return l->accessibleName().isEmpty() ? l->text() : l->accessibleName();
        if (t == QAccessible::Description)
            return QStringLiteral("Abschnitt zeigen");
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = index() >= 0 && hilfe() && hilfe()->dokument()->abschnittIndex() == index();
        return s;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &name) override
    {
        if (name != pressAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        if (frmHilfe *h = hilfe()) {
            const int i = index();
            if (i >= 0)
                h->lblSub_Click(i);
        }
    }

private:
    frmHilfe *hilfe() const { return hilfeVon(object()); }
    int index() const
    {
        const frmHilfe *h = hilfe();
        if (!h)
            return -1;
        for (int i = 0; i < h->dokument()->abschnitte().size(); ++i)
            if (h->lblSub(i) == object())
                return i;
        return -1;
    }
};

// The text box: a read-only document with the text interface.
class TextDokumentZugang : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit TextDokumentZugang(QTextEdit *t) : QAccessibleWidget(t, QAccessible::Document) {}

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return doc()->toPlainText();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override
    {
        const QTextCursor c = edit()->textCursor();
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0 && c.hasSelection()) {
            *startOffset = c.selectionStart();
            *endOffset = c.selectionEnd();
        }
    }
    int selectionCount() const override { return edit()->textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override
    {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int) override
    {
        QTextCursor c = edit()->textCursor();
        c.clearSelection();
        edit()->setTextCursor(c);
    }
    void setSelection(int, int startOffset, int endOffset) override
    {
        QTextCursor c(doc());
        c.setPosition(begrenzt(startOffset));
        c.setPosition(begrenzt(endOffset), QTextCursor::KeepAnchor);
        edit()->setTextCursor(c);
    }
    int cursorPosition() const override { return edit()->textCursor().position(); }
    void setCursorPosition(int position) override
    {
        QTextCursor c(doc());
        c.setPosition(begrenzt(position));
        edit()->setTextCursor(c);
    }
    QString text(int startOffset, int endOffset) const override
    {
        const int a = begrenzt(startOffset);
        return doc()->toPlainText().mid(a, std::max(begrenzt(endOffset) - a, 0));
    }
    int characterCount() const override { return std::max(doc()->characterCount() - 1, 0); }
    QRect characterRect(int offset) const override
    {
        QTextCursor c(doc());
        c.setPosition(begrenzt(offset));
        QRect r = edit()->cursorRect(c);
        if (offset + 1 <= characterCount()) {
            QTextCursor n(doc());
            n.setPosition(begrenzt(offset + 1));
            const QRect rn = edit()->cursorRect(n);
            if (rn.top() == r.top() && rn.left() > r.left())
                r.setRight(rn.left() - 1);
        }
        return QRect(edit()->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint lokal = edit()->viewport()->mapFromGlobal(point);
        if (!edit()->viewport()->rect().contains(lokal))
            return -1;
        return edit()->cursorForPosition(lokal).position();
    }
    void scrollToSubstring(int startIndex, int) override
    {
        QTextCursor c(doc());
        c.setPosition(begrenzt(startIndex));
        const QRect r = edit()->cursorRect(c);
        QScrollBar *bar = edit()->verticalScrollBar();
        if (r.top() < 0 || r.bottom() >= edit()->viewport()->height())
            bar->setValue(bar->value() + r.top() - edit()->viewport()->height() / 3);
    }
    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        // The run of equal formatting around the offset, with its font (as AT-SPI names it).
        const int pos = begrenzt(offset);
        const QTextBlock b = doc()->findBlock(pos);
        *startOffset = *endOffset = pos;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (pos >= f.position() && pos < f.position() + f.length()) {
                *startOffset = f.position();
                *endOffset = f.position() + f.length();
                const QFont font = f.charFormat().font();
                return QStringLiteral("font-family:\"%1\";font-size:%2pt;font-weight:%3;")
                    .arg(font.family())
                    .arg(font.pointSizeF())
                    .arg(font.bold() ? QStringLiteral("bold") : QStringLiteral("normal"));
            }
        }
        return QString();
    }

private:
    QTextEdit *edit() const { return static_cast<QTextEdit *>(object()); }
    QTextDocument *doc() const { return edit()->document(); }
    int begrenzt(int offset) const { return std::clamp(offset, 0, characterCount()); }
};

QAccessibleInterface *fabrik(const QString &klasse, QObject *o)
{
    if (!o || !o->isWidgetType())
        return nullptr;
    // Recognised by their parents, which are named before their children are created: a
    // child may be asked for its interface before its own name is set.
    const QObject *eltern = o->parent();
    if (!eltern || !hilfeVon(o))
        return nullptr;
    if (klasse == QLatin1String("QLabel") && eltern->objectName() == QLatin1String("fraSub"))
        return new AbschnittTitelZugang(static_cast<QLabel *>(o));
    if (klasse == QLatin1String("QTextEdit") &&
        eltern->objectName() == QLatin1String("picBackground"))
        return new TextDokumentZugang(static_cast<QTextEdit *>(o));
    return nullptr;
}

} // namespace

namespace Barrierefreiheit {

void einrichten()
{
    static bool eingerichtet = false;
    if (eingerichtet)
        return;
    eingerichtet = true;
    QAccessible::installFactory(fabrik);
}

} // namespace Barrierefreiheit
