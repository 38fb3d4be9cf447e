// The tab control of the help window. See Registerkarten.h.
#include "Registerkarten.h"

#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

Registerkarten::Registerkarten(QWidget *parent) : QWidget(parent), m_leiste(new QTabBar(this))
{
    // The control draws on its own light background, as tab controls do, so that the tab
    // captions stay readable on the dark page behind it.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    m_leiste->setExpanding(false);
    m_leiste->setDrawBase(false);
    m_leiste->setUsesScrollButtons(true);
    m_leiste->setElideMode(Qt::ElideNone);
    m_leiste->setFocusPolicy(Qt::TabFocus);
    connect(m_leiste, &QTabBar::currentChanged, this, [this] { emit Click(); });
    // A click on the tab that is already current raises Click as well; a click on another
    // tab raises it through the change of the current tab.
    connect(m_leiste, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0 && index == m_leiste->currentIndex())
            emit Click();
    });
}

int Registerkarten::anzahl() const
{
    return m_leiste->count();
}

void Registerkarten::setAnzahl(int n)
{
    const QSignalBlocker sperre(m_leiste);
    n = std::max(n, 0);
    while (m_leiste->count() > n)
        m_leiste->removeTab(m_leiste->count() - 1);
    while (m_leiste->count() < n)
        m_leiste->addTab(QString());
}

int Registerkarten::aktuell() const
{
    return m_leiste->currentIndex();
}

void Registerkarten::setAktuell(int index)
{
    m_leiste->setCurrentIndex(index);
}

QString Registerkarten::caption(int index) const
{
    return m_leiste->tabText(index);
}

void Registerkarten::setCaption(int index, const QString &text)
{
    m_leiste->setTabText(index, text);
}

int Registerkarten::leistenHoehe() const
{
    return m_leiste->sizeHint().height();
}

void Registerkarten::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_leiste->setGeometry(2, 0, std::max(width() - 4, 0), leistenHoehe());
}

void Registerkarten::paintEvent(QPaintEvent *)
{
    // The panel below the tabs, drawn by the style as a tab widget's frame.
    QPainter p(this);
    QStyleOptionTabWidgetFrame opt;
    opt.initFrom(this);
    const int oben = leistenHoehe() - 1;
    opt.rect = QRect(0, oben, width(), std::max(height() - oben, 0));
    opt.shape = QTabBar::RoundedNorth;
    opt.tabBarSize = m_leiste->sizeHint();
    opt.tabBarRect = m_leiste->geometry();
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &opt, &p, this);
}
