// A tab control as the help window uses it: a row of tabs over a framed panel. Its Click is
// raised when the current tab changes (also when code changes it, at once, inside the call)
// and when the user clicks the tab that is already current; changing the number of tabs
// raises nothing.
#pragma once

#include <QWidget>

class QTabBar;

class Registerkarten : public QWidget
{
    Q_OBJECT

public:
    explicit Registerkarten(QWidget *parent = nullptr);

    int anzahl() const;
    // Sets the number of tabs; new tabs have empty captions.
    void setAnzahl(int n);
    int aktuell() const;
    void setAktuell(int index);
    QString caption(int index) const;
    void setCaption(int index, const QString &text);
    QTabBar *leiste() const { return m_leiste; }
    // Height of the tab row in pixels.
    int leistenHoehe() const;

signals:
    void Click();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QTabBar *m_leiste;
};
