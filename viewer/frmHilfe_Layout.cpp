// The help window's layout and scrolling: runs the layout function on the window's size and
// applies its twips to the widgets; the scroll bars move the page and the text panel together.
#include "frmHilfe.h"

#include "Arbeitsbereich.h"
#include "Registerkarten.h"
#include "frmInhalt.h"

#include <QLabel>
#include <QScrollBar>
#include <QTextEdit>

#include <algorithm>
#include <cmath>

namespace {

int px(double twips)
{
    return int(std::lround(twipsZuPixelX(twips)));
}

int py(double twips)
{
    return int(std::lround(twipsZuPixelY(twips)));
}

} // namespace

void frmHilfe::setzeGeometrie(QWidget *w, const TwipRechteck &r)
{
    w->setGeometry(px(r.links), py(r.oben), std::max(px(r.breite), 0), std::max(py(r.hoehe), 0));
}

void frmHilfe::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Layout();
}

void frmHilfe::Layout()
{
    frmInhalt *rahmen = frmInhalt::instanz();
    HilfeLayoutEingabe e;
    e.zustand = (rahmen && (rahmen->windowState() & Qt::WindowMinimized))
                    ? FensterZustand::Minimiert
                    : FensterZustand::Normal;
    e.innenBreite = pixelZuTwipsX(width());
    e.innenHoehe = pixelZuTwipsY(height());
    e.aussenBreite = e.innenBreite;
    e.rahmenInnenBreite = rahmen ? rahmen->innenBreite() : e.innenBreite;
    e.stichwortSuche = rahmen && rahmen->stichwortSuche();
    e.picContainer = m_geoPicContainer;
    e.picBackground = m_geoPicBackground;
    e.txt = m_geoTxt;
    e.fraSub = m_geoFraSub;
    e.tabSub = m_geoTabSub;
    e.tabMain = m_geoTabMain;
    e.vScrollBreite = TwipRunden(pixelZuTwipsX(m_vScroll->sizeHint().width()));
    e.hScrollHoehe = TwipRunden(pixelZuTwipsY(m_hScroll->sizeHint().height()));
    e.hintergrundTop = miHintergrundTop;
    for (int i = 0; i < m_dokument->abschnitte().size() && i < m_geoLblSub.size(); ++i)
        e.abschnitteRechts =
            std::max(e.abschnitteRechts, m_geoLblSub.at(i).links + m_geoLblSub.at(i).breite);

    const auto r = HilfeLayoutBerechnen(e);
    if (!r)
        return;

    if (r->stichwortVerschieben && rahmen) {
        if (QWidget *pane = rahmen->stichwortFenster()) {
            pane->move(0, 0);
            if (r->stichwortBreite)
                pane->resize(std::max(px(*r->stichwortBreite), 0), pane->height());
        }
    }

    m_geoPicMain = r->picMain;
    m_geoPicContainer = r->picContainer;
    m_geoTabMain = r->tabMain;
    m_geoTabSub = r->tabSub;
    m_geoFraSub = r->fraSub;
    m_geoPicBackground = r->picBackground;
    m_geoTxt = r->txt;
    setzeGeometrie(m_picMain, m_geoPicMain);
    setzeGeometrie(m_picContainer, m_geoPicContainer);
    setzeGeometrie(m_tabMain, m_geoTabMain);
    setzeGeometrie(m_tabSub, m_geoTabSub);
    setzeGeometrie(m_fraSub, m_geoFraSub);
    setzeGeometrie(m_picBackground, m_geoPicBackground);
    setzeGeometrie(m_txt, m_geoTxt);
    hinweisPlatzieren();

    const auto leiste = [this](QScrollBar *bar, const ScrollLeisteLayout &l) {
        bar->setVisible(l.sichtbar);
        if (!l.sichtbar)
            return;
        setzeGeometrie(bar, l.geometrie);
        bar->setRange(l.minimum, l.maximum);
        bar->setSingleStep(std::max(l.kleineAenderung, 1));
        bar->setPageStep(std::max(l.grosseAenderung, 1));
    };
    leiste(m_hScroll, r->hScroll);
    leiste(m_vScroll, r->vScroll);
    // The page went home: the bars follow, so bars, page and text panel agree.
    m_hScroll->setValue(0);
    m_vScroll->setValue(0);
}

void frmHilfe::setHinweis(const QString &text)
{
    if (text == m_lblHinweis->text() && m_lblHinweis->isVisible() == !text.isEmpty())
        return;
    m_lblHinweis->setText(text);
    m_lblHinweis->setVisible(!text.isEmpty());
    setzeGeometrie(m_txt, m_geoTxt);
    hinweisPlatzieren();
}

QString frmHilfe::hinweis() const
{
    return m_lblHinweis->isVisible() ? m_lblHinweis->text() : QString();
}

void frmHilfe::hinweisPlatzieren()
{
    if (m_lblHinweis->isHidden())
        return;
    // The line takes the top of the text panel; the text keeps the rest, at least one line.
    const QRect t = m_txt->geometry();
    const int zeile = m_txt->fontMetrics().height();
    const int hoehe = std::min(m_lblHinweis->heightForWidth(t.width()), t.height() - 2 * zeile);
    if (hoehe <= 0)
        return;
    m_lblHinweis->setGeometry(t.x(), t.y(), t.width(), hoehe);
    m_txt->setGeometry(t.x(), t.y() + hoehe, t.width(), t.height() - hoehe);
    m_lblHinweis->raise();
}

void frmHilfe::HScroll1_Change()
{
    // The text panel lies on the page: both move together.
    m_geoPicMain.links = -m_hScroll->value();
    setzeGeometrie(m_picMain, m_geoPicMain);
    m_geoPicBackground.links = HilfeStartGeometrie::picBackground.links - m_hScroll->value();
    setzeGeometrie(m_picBackground, m_geoPicBackground);
}

void frmHilfe::VScroll1_Change()
{
    m_geoPicMain.oben = -m_vScroll->value();
    setzeGeometrie(m_picMain, m_geoPicMain);
    m_geoPicBackground.oben = miHintergrundTop - m_vScroll->value();
    setzeGeometrie(m_picBackground, m_geoPicBackground);
}
