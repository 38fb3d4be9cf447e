// The tab control of the help window. See Registerkarten.h.
#include "Registerkarten.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QSignalBlocker>
#include <QStyleFactory>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

#include <algorithm>
#include <cmath>

namespace {

// Relative luminance of a colour (sRGB, as used for contrast ratios of text).
double helligkeit(const QColor &farbe)
{
    const auto kanal = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * kanal(farbe.redF()) + 0.7152 * kanal(farbe.greenF()) +
           0.0722 * kanal(farbe.blueF());
}

// Contrast ratio of two colours, 1 (none) to 21 (black on white).
double kontrast(const QColor &a, const QColor &b)
{
    const double la = helligkeit(a);
    const double lb = helligkeit(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor mischen(const QColor &a, const QColor &b, double anteilB)
{
    const auto m = [anteilB](double x, double y) { return x + (y - x) * anteilB; };
    return QColor::fromRgbF(float(m(a.redF(), b.redF())), float(m(a.greenF(), b.greenF())),
                            float(m(a.blueF(), b.blueF())));
}

// The palette's text colour when it is readable on the ground (4.5:1), else black or white,
// whichever stands out more.
QColor lesbar(const QColor &text, const QColor &grund)
{
    if (kontrast(text, grund) >= 4.5)
        return text;
    return kontrast(Qt::black, grund) >= kontrast(Qt::white, grund) ? QColor(Qt::black)
                                                                    : QColor(Qt::white);
}

// The colours of the tabs, taken from a normal palette: the current tab in the colour of an
// input field (Base) with its text colour, the others in the button colour a shade towards Mid
// with the button text colour. Where a palette puts Base and Button close together (as dark
// palettes may), the other tabs are moved further away from the current one, so that it
// stands out in every palette.
struct KartenFarben
{
    QColor flaecheAktuell;
    QColor textAktuell;
    QColor flaeche;
    QColor text;
    QColor rand;
    QColor linie;
};

KartenFarben kartenFarben(const QPalette &pal)
{
    KartenFarben f;
    f.flaecheAktuell = pal.color(QPalette::Base);
    const QColor knopf = pal.color(QPalette::Button);
    f.flaeche = mischen(knopf, pal.color(QPalette::Mid), 0.4);
    const QColor weg =
        helligkeit(f.flaecheAktuell) >= helligkeit(knopf) ? QColor(Qt::black) : QColor(Qt::white);
    for (int schritt = 1; schritt <= 10 && kontrast(f.flaeche, f.flaecheAktuell) < 1.3; ++schritt)
        f.flaeche = mischen(f.flaeche, weg, 0.1);
    f.textAktuell = lesbar(pal.color(QPalette::Text), f.flaecheAktuell);
    f.text = lesbar(pal.color(QPalette::ButtonText), f.flaeche);
    f.rand = pal.color(QPalette::Dark);
    f.linie = pal.color(QPalette::Highlight);
    return f;
}

// The style of the tab row: the desktop's style, except that the tabs of a row along the top
// are filled and outlined in the colours above. The style draws the captions, with the text
// colour of the tab's fill.
class KartenStil : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *p,
                     const QWidget *widget) const override
    {
        const auto *karte = qstyleoption_cast<const QStyleOptionTab *>(option);
        const bool oben = karte && (karte->shape == QTabBar::RoundedNorth ||
                                    karte->shape == QTabBar::TriangularNorth);
        if (!oben || (element != CE_TabBarTabShape && element != CE_TabBarTabLabel)) {
            QProxyStyle::drawControl(element, option, p, widget);
            return;
        }
        const bool aktuell = karte->state & State_Selected;
        const KartenFarben f = kartenFarben(karte->palette);
        if (element == CE_TabBarTabLabel) {
            QStyleOptionTab beschriftung(*karte);
            const QColor text = aktuell ? f.textAktuell : f.text;
            for (QPalette::ColorRole rolle :
                 {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
                beschriftung.palette.setColor(rolle, text);
            QProxyStyle::drawControl(element, &beschriftung, p, widget);
            return;
        }
        // The current tab reaches up to the top of the row; the others start lower. One pixel
        // of the page stays between neighbouring tabs.
        const QRect r = karte->rect.adjusted(0, aktuell ? 0 : 2, -1, 0);
        p->save();
        p->fillRect(r, aktuell ? f.flaecheAktuell : f.flaeche);
        p->setPen(f.rand);
        p->drawLine(r.bottomLeft(), r.topLeft());
        p->drawLine(r.topLeft(), r.topRight());
        p->drawLine(r.topRight(), r.bottomRight());
        if (aktuell)
            p->fillRect(QRect(r.left(), r.top(), r.width(), 3), f.linie);
        p->restore();
    }
};

// The tab row. While `vorlaeufig` is set, every tab reports one small fixed size: QTabBar lays
// out the whole row on every insertTab (it looks for the tab under the mouse), and with fixed
// sizes that layout measures no text. The row is laid out with the real sizes afterwards.
class KartenLeiste : public QTabBar
{
public:
    using QTabBar::QTabBar;

    bool vorlaeufig = false;

protected:
    QSize tabSizeHint(int index) const override
    {
        return vorlaeufig ? QSize(1, 1) : QTabBar::tabSizeHint(index);
    }
    QSize minimumTabSizeHint(int index) const override
    {
        return vorlaeufig ? QSize(1, 1) : QTabBar::minimumTabSizeHint(index);
    }
};

// A caption for the tab row: QTabBar takes a single "&" as the mark of an access key.
QString anzeige(const QString &titel)
{
    QString s = titel;
    return s.replace(u'&', QStringLiteral("&&"));
}

} // namespace

Registerkarten::Registerkarten(QWidget *parent) : QWidget(parent), m_leiste(new KartenLeiste(this))
{
    // The row and the panel show the page the control lies on (the palette's Window colour
    // comes from the parent); the tabs bring their own colours.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    m_leiste->setExpanding(false);
    m_leiste->setDrawBase(false);
    m_leiste->setUsesScrollButtons(true);
    m_leiste->setElideMode(Qt::ElideNone);
    m_leiste->setFocusPolicy(Qt::TabFocus);
    farbenSetzen();
    stilSetzen();
    connect(m_leiste, &QTabBar::currentChanged, this, [this] {
        emit Click();
        // The window is moved after the row has finished handling the click or key.
        if (m_titel.size() > FensterKarten)
            QMetaObject::invokeMethod(this, &Registerkarten::fensterNachfuehren,
                                      Qt::QueuedConnection);
    });
    // A click on the tab that is already current raises Click as well; a click on another
    // tab raises it through the change of the current tab.
    connect(m_leiste, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0 && index == m_leiste->currentIndex())
            emit Click();
    });
}

void Registerkarten::farbenSetzen()
{
    // The tab row takes the application's palette with every role set, so that the page
    // colour its parents set (a dark Window) does not reach the tabs and their captions.
    const QPalette normal = QApplication::palette(m_leiste);
    QPalette eigen;
    for (int g = 0; g < QPalette::NColorGroups; ++g) {
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            if (r == QPalette::NoRole)
                continue;
            const auto gruppe = QPalette::ColorGroup(g);
            const auto rolle = QPalette::ColorRole(r);
            eigen.setBrush(gruppe, rolle, normal.brush(gruppe, rolle));
        }
    }
    m_leiste->setPalette(eigen);
}

void Registerkarten::stilSetzen()
{
    // A style of its own over a fresh instance of the application's style: the proxy owns
    // its base style, and the application's must not be handed over.
    // A proxy (the dark palettes' style) is created anew over the style it wraps.
    const QStyle *app = QApplication::style();
    if (const auto *proxy = qobject_cast<const QProxyStyle *>(app))
        app = proxy->baseStyle();
    QStyle *basis = QStyleFactory::create(app->name());
    QStyle *alt = m_stil;
    m_stil = new KartenStil(basis);
    m_stil->setParent(this);
    m_leiste->setStyle(m_stil);
    delete alt;
}

void Registerkarten::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // A new application palette reaches the control as a change of its own palette.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        farbenSetzen();
    else if (event->type() == QEvent::StyleChange && m_stil)
        stilSetzen();
}

void Registerkarten::gesammelt(const std::function<void()> &aendern)
{
    // A QTabBar lays out the whole row after every change while it is visible, and only once,
    // when it is shown again, while it is hidden. So many changes are made with the row
    // hidden. The keyboard focus is parked on the control meanwhile, so that hiding the row
    // does not move it to another control of the window.
    if (!m_leiste->isVisible()) {
        aendern();
        return;
    }
    const bool fokus = window()->focusWidget() == m_leiste;
    if (fokus)
        setFocus(Qt::OtherFocusReason);
    m_leiste->hide();
    aendern();
    m_leiste->show();
    if (fokus)
        m_leiste->setFocus(Qt::OtherFocusReason);
}

int Registerkarten::anzahl() const
{
    return int(m_titel.size());
}

int Registerkarten::fensterGroesse() const
{
    return std::min(int(m_titel.size()), FensterKarten);
}

// Puts the window of tabs starting at erste (moved so that it lies within the tabs) into the
// row, with the control's tab aktuell current (-1: none, as an empty row has). Raises nothing.
void Registerkarten::fensterSetzen(int erste, int aktuell)
{
    const QSignalBlocker sperre(m_leiste);
    const int n = fensterGroesse();
    erste = std::clamp(erste, 0, int(m_titel.size()) - n);
    gesammelt([this, n, erste, aktuell] {
        auto *leiste = static_cast<KartenLeiste *>(m_leiste);
        leiste->vorlaeufig = true;
        while (leiste->count() > n)
            leiste->removeTab(leiste->count() - 1);
        while (leiste->count() < n)
            leiste->addTab(QString());
        leiste->vorlaeufig = false;
        for (int i = 0; i < n; ++i) {
            const QString text = anzeige(m_titel.at(erste + i));
            if (leiste->tabText(i) != text)
                leiste->setTabText(i, text);
        }
        m_erste = erste;
        if (aktuell >= erste && aktuell < erste + n)
            leiste->setCurrentIndex(aktuell - erste);
        // Setting a caption marks the layout as outdated: the row is laid out with the real
        // sizes when it is shown or measured next.
        if (n > 0)
            leiste->setTabText(0, leiste->tabText(0));
    });
}

// Moves the window when its first or last tab is current and there are tabs beyond it, so
// that the current tab comes to its middle.
void Registerkarten::fensterNachfuehren()
{
    const int lokal = m_leiste->currentIndex();
    const int n = fensterGroesse();
    if (lokal < 0 || n < FensterKarten)
        return;
    const bool vorn = lokal == 0 && m_erste > 0;
    const bool hinten = lokal == n - 1 && m_erste + n < m_titel.size();
    if (vorn || hinten)
        fensterSetzen(m_erste + lokal - n / 2, m_erste + lokal);
}

void Registerkarten::setAnzahl(int n)
{
    n = std::max(n, 0);
    if (n == m_titel.size())
        return;
    // The current tab stays, or becomes the last one when it is removed; the first tab
    // becomes current in an empty row (as QTabBar does).
    const int alt = aktuell();
    const int ziel = n == 0 ? -1 : alt < 0 ? 0 : std::min(alt, n - 1);
    m_titel.resize(n);
    const int erste = ziel >= m_erste && ziel < m_erste + fensterGroesse()
                          ? m_erste
                          : ziel - fensterGroesse() / 2;
    fensterSetzen(erste, ziel);
}

int Registerkarten::aktuell() const
{
    const int lokal = m_leiste->currentIndex();
    return lokal < 0 ? -1 : m_erste + lokal;
}

void Registerkarten::setAktuell(int index)
{
    if (index < 0 || index >= m_titel.size())
        return;
    if (index >= m_erste && index < m_erste + fensterGroesse()) {
        m_leiste->setCurrentIndex(index - m_erste);
        return;
    }
    // A tab outside the window: the window moves there first, then Click is raised as the
    // row raises it for a change of the current tab.
    const int alt = aktuell();
    fensterSetzen(index - fensterGroesse() / 2, index);
    if (alt != index)
        emit Click();
}

QString Registerkarten::caption(int index) const
{
    return m_titel.value(index);
}

void Registerkarten::setCaption(int index, const QString &text)
{
    if (index < 0 || index >= m_titel.size())
        return;
    m_titel[index] = text;
    if (index >= m_erste && index < m_erste + fensterGroesse())
        m_leiste->setTabText(index - m_erste, anzeige(text));
}

void Registerkarten::setCaptions(const QList<QString> &liste)
{
    for (int i = 0; i < m_titel.size(); ++i)
        m_titel[i] = liste.value(i + 1);
    gesammelt([this] {
        for (int i = 0; i < m_leiste->count(); ++i)
            m_leiste->setTabText(i, anzeige(m_titel.at(m_erste + i)));
    });
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
