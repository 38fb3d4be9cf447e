// The text box of the component library (see TolvarTextBox.h).
#include "TolvarTextBox.h"

#include <QFocusEvent>

TolvarTextBox::TolvarTextBox(QWidget *parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, &TolvarTextBox::Change);
}

void TolvarTextBox::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
}

void TolvarTextBox::setEinstellung(const QString &name, const QVariant &wert)
{
    m_einstellungen.insert(name.toLower(), wert);
}

QVariant TolvarTextBox::Einstellung(const QString &name) const
{
    return m_einstellungen.value(name.toLower());
}

void TolvarTextBox::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    // Coming back from another window or a popup: the box had the focus all along.
    if (m_hatFokus)
        return;
    m_hatFokus = true;
    emit GotFocus();
}

void TolvarTextBox::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (!m_hatFokus)
        return;
    m_hatFokus = false;
    emit LostFocus();
}
