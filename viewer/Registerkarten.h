// A tab control as the help window uses it: a row of tabs over a framed panel. Its Click is
// raised when the current tab changes (also when code changes it, at once, inside the call)
// and when the user clicks the tab that is already current; changing the number of tabs
// raises nothing.
//
// The panel shows the colour of the page the control lies on; the tabs are drawn in the
// desktop's normal colours whatever page lies behind them, the current tab light with a line
// in the highlight colour along its top, the others a shade darker. Captions are shown as
// written: an "&" is a character, not the mark of an access key.
//
// A QTabBar lays out its whole row on every inserted tab, so building a row of n tabs costs
// time quadratic in n. The row (leiste()) therefore holds at most FensterKarten tabs: with more,
// it shows a window of consecutive tabs of the control, tab i of the control being tab
// i - ersteKarte() of the row. The window follows the current tab: when a tab at either end of
// the window becomes current (by a click, the arrow keys or setAktuell), the window moves so
// that the tabs beyond it can be reached. Changing the window changes only captions, so every
// operation costs time linear in the number of tabs at most.
#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

class QStyle;
class QTabBar;

class Registerkarten : public QWidget
{
    Q_OBJECT

public:
    // Most tabs the row holds at once (see above).
    static constexpr int FensterKarten = 400;

    explicit Registerkarten(QWidget *parent = nullptr);

    int anzahl() const;
    // Sets the number of tabs; new tabs have empty captions.
    void setAnzahl(int n);
    int aktuell() const;
    void setAktuell(int index);
    QString caption(int index) const;
    void setCaption(int index, const QString &text);
    // Sets the captions of all tabs in one step, from a list as the queries return it:
    // element i + 1 is the caption of tab i, element 0 is unused. A tab without an element
    // gets an empty caption; elements beyond the last tab are ignored; the number of tabs and
    // the current tab stay as they are. The cost grows linearly with the number of tabs,
    // where a setCaption per tab lays out the whole row each time.
    void setCaptions(const QList<QString> &liste);
    QTabBar *leiste() const { return m_leiste; }
    // The control's index of the row's first tab (0 unless there are more than FensterKarten).
    int ersteKarte() const { return m_erste; }
    // Height of the tab row in pixels.
    int leistenHoehe() const;

signals:
    void Click();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void farbenSetzen();
    void stilSetzen();
    void gesammelt(const std::function<void()> &aendern);
    int fensterGroesse() const;
    void fensterSetzen(int erste, int aktuell);
    void fensterNachfuehren();

    QTabBar *m_leiste;
    QStyle *m_stil = nullptr;
    // The captions of all tabs, as given; the row holds those of its window.
    QList<QString> m_titel;
    int m_erste = 0;
};
