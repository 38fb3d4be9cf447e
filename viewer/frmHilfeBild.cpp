// The picture window. See frmHilfeBild.h.
#include "frmHilfeBild.h"

#include "Arbeitsbereich.h"
#include "BildEntpacken.h"
#include "HilfeDatenbank.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Must be a plain pointer, cleared at once when the window unloads (its deletion follows
// later): the next picture then creates a new window.
frmHilfeBild *s_instanz = nullptr;
int s_gezeigt = 0;

// The margin around the picture, on every side.
constexpr double RandTwips = 90;

// The page behind the picture: draws the keyboard focus of the scroll area as a frame in the
// margin around the picture, where it covers nothing of it.
class BildSeite : public QWidget
{
public:
    explicit BildSeite(QScrollArea *flaeche) : m_flaeche(flaeche) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!m_flaeche->hasFocus())
            return;
        QPainter p(this);
        QStyleOptionFocusRect opt;
        opt.initFrom(this);
        opt.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opt, &p, this);
    }

private:
    QScrollArea *m_flaeche;
};

} // namespace

frmHilfeBild *frmHilfeBild::instanz(bool erzeugen)
{
    if (!s_instanz && erzeugen)
        s_instanz = new frmHilfeBild;
    return s_instanz;
}

frmHilfeBild::frmHilfeBild()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmHilfeBild"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_flaeche = new QScrollArea(this);
    m_flaeche->setObjectName(QStringLiteral("flaeche"));
    m_flaeche->setFrameShape(QFrame::NoFrame);
    m_flaeche->setWidgetResizable(false);
    // The keys scroll the picture: the area takes the focus and shows it.
    m_flaeche->setFocusPolicy(Qt::StrongFocus);
    m_flaeche->setAccessibleName(QStringLiteral("Bildfläche"));
    m_seite = new BildSeite(m_flaeche);
    m_picBild = new QLabel(m_seite);
    m_picBild->setObjectName(QStringLiteral("picBild"));
    m_picBild->setAccessibleName(QStringLiteral("Bild"));
    m_flaeche->setWidget(m_seite);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_flaeche);

    // The window sees every key before its picture box does: Esc anywhere in it closes it.
    qApp->installEventFilter(this);
}

frmHilfeBild::~frmHilfeBild()
{
    if (s_instanz == this)
        s_instanz = nullptr;
}

bool frmHilfeBild::BildZeigen(const QString &BildNummer, const QString &BildTitel)
{
    // The stored title is not shown; the link's text is the caption.
    const Ergebnis<BildZeile> gelesen = standardDatenbank().bild(BildNummer);
    if (!gelesen.ok || gelesen.zeilen.isEmpty())
        return false;
    const QByteArray &archiv = gelesen.zeilen.first().bild;
    QImage bild;
    if (!BildEntpacken(archiv, bild))
        return false;
    const QPixmap pixmap = QPixmap::fromImage(std::move(bild));
    if (pixmap.isNull())
        return false;

    frmHilfeBild *f = instanz();
    ++s_gezeigt;
    f->bildSetzen(pixmap, BildTitel);
    f->show();
    // Where the platform frames the window at once, its frame is known now.
    if (f->rahmen() != f->m_rahmenGeplant)
        f->platzieren();
    f->raise();
    f->activateWindow();
    return true;
}

int frmHilfeBild::gezeigtAnzahl()
{
    return s_gezeigt;
}

void frmHilfeBild::Entladen()
{
    if (frmHilfeBild *f = s_instanz) {
        s_instanz = nullptr;
        f->hide();
        f->deleteLater();
    }
}

void frmHilfeBild::bildSetzen(const QPixmap &bild, const QString &titel)
{
    const int randX = qRound(twipsZuPixelX(RandTwips));
    const int randY = qRound(twipsZuPixelY(RandTwips));
    // On a scaled screen the picture is enlarged pixel for pixel, not smoothed: each picture
    // pixel becomes a block of device pixels, so lines and writing in screenshots stay sharp.
    const qreal dpr = devicePixelRatioF();
    if (dpr > 1.0) {
        QPixmap scharf = bild.scaled((QSizeF(bild.size()) * dpr).toSize(), Qt::IgnoreAspectRatio,
                                     Qt::FastTransformation);
        scharf.setDevicePixelRatio(dpr);
        m_picBild->setPixmap(scharf);
    } else {
        m_picBild->setPixmap(bild);
    }
    m_picBild->setGeometry(randX, randY, bild.width(), bild.height());
    m_seitenGroesse = QSize(bild.width() + 2 * randX, bild.height() + 2 * randY);
    m_seite->setFixedSize(m_seitenGroesse);
    m_flaeche->horizontalScrollBar()->setValue(0);
    m_flaeche->verticalScrollBar()->setValue(0);
    setWindowTitle(titel + QStringLiteral(" (ESC = Fenster schließen)"));
    // A screen reader names the picture by the text of the link that opened it.
    m_picBild->setAccessibleDescription(titel);
    platzieren();
}

QMargins frmHilfeBild::rahmen() const
{
    // Known once a window manager has framed the shown window; none before.
    if (!isVisible())
        return m_rahmenGeplant;
    const QRect innen = geometry();
    const QRect aussen = frameGeometry();
    return QMargins(innen.left() - aussen.left(), innen.top() - aussen.top(),
                    aussen.right() - innen.right(), aussen.bottom() - innen.bottom());
}

void frmHilfeBild::platzieren()
{
    const QRect bereich = arbeitsbereich().pixel();
    const QMargins r = rahmen();
    m_rahmenGeplant = r;

    // The inner area is the picture plus its margins. A picture larger than the work area
    // scrolls inside a window as large as the work area; a scroll bar for one direction
    // takes room from the other, which may then need one too.
    const QSize groesstes(std::max(1, bereich.width() - r.left() - r.right()),
                          std::max(1, bereich.height() - r.top() - r.bottom()));
    const int balken = m_flaeche->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QSize s = m_seitenGroesse;
    bool waagerecht = s.width() > groesstes.width();
    bool senkrecht = s.height() > groesstes.height();
    if (waagerecht && !senkrecht)
        senkrecht = s.height() + balken > groesstes.height();
    if (senkrecht && !waagerecht)
        waagerecht = s.width() + balken > groesstes.width();
    const QSize innen(std::min(s.width() + (senkrecht ? balken : 0), groesstes.width()),
                      std::min(s.height() + (waagerecht ? balken : 0), groesstes.height()));
    setFixedSize(innen);

    // Lower left corner of the work area; the position is that of the outer frame.
    const int aussenHoehe = innen.height() + r.top() + r.bottom();
    move(bereich.left(), bereich.top() + bereich.height() - aussenHoehe);
}

void frmHilfeBild::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    // The frame's size is known only after the first display: place the window again once,
    // so that its lower edge lies on the work area's. A move by the user leaves it.
    if (isVisible() && rahmen() != m_rahmenGeplant)
        platzieren();
}

bool frmHilfeBild::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_flaeche &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        m_seite->update();
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && w->window() == this) {
            close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmHilfeBild::closeEvent(QCloseEvent *event)
{
    // Closing unloads: the reference goes now, the window is deleted afterwards.
    if (s_instanz == this)
        s_instanz = nullptr;
    QWidget::closeEvent(event);
}
