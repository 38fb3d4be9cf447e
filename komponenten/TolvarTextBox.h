// The text box of the component library: a one-line input field with its text, a change event
// on every change of the text (typed or set by code), events when it receives and loses the
// input focus, and taking the focus. A window stores its design-time settings with it
// ("eingabeformat", "maxlength", ...); the box keeps them and does not act on them.
#pragma once

#include <QLineEdit>
#include <QVariant>

class TolvarTextBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit TolvarTextBox(QWidget *parent = nullptr);

    QString Text() const { return text(); }
    void setText(const QString &text) { QLineEdit::setText(text); }
    // Moves the input focus into the box.
    void SetFocus();

    // Design-time settings, kept by name (without regard to case).
    void setEinstellung(const QString &name, const QVariant &wert);
    QVariant Einstellung(const QString &name) const;

signals:
    // The text changed, by typing or by code.
    void Change();
    // The input focus moved into / out of the box within the window. Switching to another
    // window or opening a popup is no focus change for the box.
    void GotFocus();
    void LostFocus();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QVariantMap m_einstellungen;
    bool m_hatFokus = false;
};
