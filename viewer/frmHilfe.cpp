// The help window: controls, loading, navigation, history and toolbar commands. The layout
// and scrolling are in frmHilfe_Layout.cpp, the text box's links in frmHilfe_Text.cpp,
// previous and next section in frmHilfe_Navigation.cpp.
#include "frmHilfe.h"

#include "Arbeitsbereich.h"
#include "Barrierefreiheit.h"
#include "DatenbankQuelle.h"
#include "Farbschema.h"
#include "HilfeDatenbank.h"
#include "Lesehilfen.h"
#include "Registerkarten.h"
#include "TextFeld.h"
#include "Verweismarkup.h"
#include "frmHilfeBild.h"
#include "frmInhalt.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QTextEdit>

#include <algorithm>
#include <functional>
#include <limits>

namespace {

QPointer<frmHilfe> s_instanz;

const QColor StreifenFarbe(0xE0, 0xE0, 0xE0); // light grey; dark palettes darken it
const QColor MarkierFarbe(0xFF, 0xFF, 0xC0);  // pale yellow
const QColor SeitenFarbe(0x00, 0x40, 0x40);   // dark teal

// A list of captions in the form the tab rows take: element 0 unused.
template <class T> QList<QString> captions(const QList<T> &liste)
{
    QList<QString> c{QString()};
    c.reserve(liste.size() + 1);
    for (const T &e : liste)
        c << e.bezeichnung;
    return c;
}

// Sees every key of the application before the controls do; hands them to a function that
// says whether it took the key. Kept apart from the window's own filter on its controls, so
// that a mouse event is never handled twice (once as an application event, once on the
// control).
class TastenFilter : public QObject
{
public:
    TastenFilter(QObject *parent, std::function<bool(QObject *, QKeyEvent *)> taste)
        : QObject(parent), m_taste(std::move(taste))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress)
            return m_taste(watched, static_cast<QKeyEvent *>(event));
        return false;
    }

private:
    std::function<bool(QObject *, QKeyEvent *)> m_taste;
};

// A section title: a label that can take the keyboard focus (Tab) and shows it with a focus
// frame; Return or Space choose it like a click.
class AbschnittTitel : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QLabel::paintEvent(event);
        if (!hasFocus())
            return;
        QPainter p(this);
        QStyleOptionFocusRect opt;
        opt.initFrom(this);
        opt.rect = rect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opt, &p, this);
    }
};

void setzeHintergrund(QWidget *w, const QColor &farbe)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, farbe);
    // A fixed ground (the grey strip, the yellow marking) keeps a text colour readable on it
    // whatever the desktop's palette is.
    pal.setColor(
        QPalette::WindowText,
        Farbschema::textFarbeAuf(farbe, QApplication::palette().color(QPalette::WindowText)));
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

} // namespace

frmHilfe *frmHilfe::instanz()
{
    return s_instanz;
}

frmHilfe *frmHilfe::anlegen(frmInhalt *rahmen, HilfeDokument *dokument)
{
    if (s_instanz)
        return s_instanz;
    // The colour scheme before the first window, which takes the palette it finds.
    Farbschema::anwenden();
    auto *h = new frmHilfe(rahmen->clientBereich(), dokument);
    s_instanz = h;
    rahmen->setHilfeFenster(h);
    connect(rahmen, &frmInhalt::ButtonClick, h, &frmHilfe::ButtonClick);
    connect(rahmen, &frmInhalt::Entladen, h, &frmHilfe::Form_Unload);
    rahmen->AufbauMDIChilds();
    return h;
}

frmHilfe::frmHilfe(QWidget *parent, HilfeDokument *dokument) : QWidget(parent), m_dokument(dokument)
{
    // A document nobody owns goes with its window.
    if (!m_dokument->parent())
        m_dokument->setParent(this);
    setObjectName(QStringLiteral("frmHilfe"));
    setVisible(false); // shown by the start-up once the data are read
    Barrierefreiheit::einrichten();
    steuerelementeAnlegen();

    // The window sees every key before its controls do: Esc anywhere in it closes the help.
    m_tastenFilter = new TastenFilter(this, [this](QObject *watched, QKeyEvent *taste) {
        auto *w = qobject_cast<QWidget *>(watched);
        if (!w || (w != this && !isAncestorOf(w)))
            return false;
        if (taste->key() == Qt::Key_Escape) {
            if (frmInhalt *rahmen = frmInhalt::instanz())
                rahmen->Unload();
            return true;
        }
        const bool waehlen = taste->key() == Qt::Key_Return || taste->key() == Qt::Key_Enter ||
                             taste->key() == Qt::Key_Space;
        const int index = int(m_lblSub.indexOf(qobject_cast<QLabel *>(watched)));
        if (waehlen && index >= 0 && taste->modifiers() == Qt::NoModifier) {
            lblSub_Click(index);
            return true;
        }
        return false;
    });
    qApp->installEventFilter(m_tastenFilter);
    // Created after the key filter: its own filter sees Esc first, for the find bar.
    m_lesehilfen = new Lesehilfen(this);
}

frmHilfe::~frmHilfe()
{
    delete m_txtFeld;
    if (s_instanz == this)
        s_instanz = nullptr;
}

void frmHilfe::steuerelementeAnlegen()
{
    // Created back to front: later siblings lie in front of earlier ones.
    m_picContainer = new QWidget(this);
    m_picContainer->setObjectName(QStringLiteral("picContainer"));
    setzeHintergrund(m_picContainer, Qt::white);

    m_picMain = new QWidget(m_picContainer);
    m_picMain->setObjectName(QStringLiteral("picMain"));
    setzeHintergrund(m_picMain, SeitenFarbe);

    m_tabMain = new Registerkarten(m_picMain);
    m_tabMain->setObjectName(QStringLiteral("tabMain"));
    m_tabSub = new Registerkarten(m_picMain);
    m_tabSub->setObjectName(QStringLiteral("tabSub"));
    m_fraSub = new QWidget(m_picMain);
    m_fraSub->setObjectName(QStringLiteral("fraSub"));
    setzeHintergrund(m_fraSub, Farbschema::flaeche(StreifenFarbe));
    connect(m_tabMain, &Registerkarten::Click, this, &frmHilfe::tabMain_Click);
    connect(m_tabSub, &Registerkarten::Click, this, &frmHilfe::tabSub_Click);

    m_picBackground = new QWidget(m_picContainer);
    m_picBackground->setObjectName(QStringLiteral("picBackground"));
    setzeHintergrund(m_picBackground, palette().color(QPalette::Base));

    m_txt = new QTextEdit(m_picBackground);
    m_txt->setObjectName(QStringLiteral("txt"));
    m_txt->setReadOnly(true);
    // Marking with the mouse only: a read-only text shows no blinking text cursor; the keys
    // scroll it. Every mouse button follows a link, so there is no context menu.
    m_txt->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_txt->setContextMenuPolicy(Qt::NoContextMenu);
    m_txt->viewport()->setMouseTracking(true);
    m_txt->viewport()->installEventFilter(this);
    m_txtFeld = new TextFeld(m_txt->document());

    // In front of the text's top edge, which the layout moves down while it is shown.
    m_lblHinweis = new QLabel(m_picBackground);
    m_lblHinweis->setObjectName(QStringLiteral("lblHinweis"));
    m_lblHinweis->setAccessibleName(QStringLiteral("Hinweis"));
    m_lblHinweis->setTextFormat(Qt::PlainText);
    m_lblHinweis->setWordWrap(true);
    m_lblHinweis->setMargin(4);
    m_lblHinweis->setTextInteractionFlags(Qt::TextSelectableByMouse);
    setzeHintergrund(m_lblHinweis, Farbschema::flaeche(QColor(255, 228, 225)));
    m_lblHinweis->hide();

    m_hScroll = new QScrollBar(Qt::Horizontal, this);
    m_hScroll->setObjectName(QStringLiteral("HScroll1"));
    m_hScroll->hide();
    m_vScroll = new QScrollBar(Qt::Vertical, this);
    m_vScroll->setObjectName(QStringLiteral("VScroll1"));
    m_vScroll->hide();
    connect(m_hScroll, &QScrollBar::valueChanged, this, &frmHilfe::HScroll1_Change);
    connect(m_vScroll, &QScrollBar::valueChanged, this, &frmHilfe::VScroll1_Change);

    setzeGeometrie(m_picContainer, m_geoPicContainer);
    setzeGeometrie(m_picMain, m_geoPicMain);
    setzeGeometrie(m_tabMain, m_geoTabMain);
    setzeGeometrie(m_tabSub, m_geoTabSub);
    setzeGeometrie(m_fraSub, m_geoFraSub);
    setzeGeometrie(m_picBackground, m_geoPicBackground);
    setzeGeometrie(m_txt, m_geoTxt);

    // Title label 0 exists from the start; further labels are copies of it.
    auto *l0 = new AbschnittTitel(m_fraSub);
    l0->setFocusPolicy(Qt::StrongFocus);
    l0->setTextFormat(Qt::PlainText);
    l0->setObjectName(QStringLiteral("lblSub0"));
    m_lblSub.append(l0);
    m_geoLblSub.append(TwipRechteck{45, 45, 0, 195});
    setzeHintergrund(l0, Farbschema::flaeche(StreifenFarbe));
    l0->setCursor(Qt::PointingHandCursor);
    QFont f = l0->font();
    f.setPixelSize(11);
    l0->setFont(f);
    l0->installEventFilter(this);
    QWidget::setTabOrder(m_tabSub->leiste(), l0);
    l0->hide();
    miLabelAnzahl = 1;

    const HilfeDokument *d = m_dokument;
    connect(d, &HilfeDokument::kapitelGeaendert, this, &frmHilfe::kapitelZeigen);
    connect(d, &HilfeDokument::themenGeaendert, this, &frmHilfe::themenZeigen);
    connect(d, &HilfeDokument::abschnitteGeaendert, this, &frmHilfe::abschnitteZeigen);
    connect(d, &HilfeDokument::auswahlGeaendert, this, &frmHilfe::auswahlZeigen);
    connect(d, &HilfeDokument::abschnittZeigen, this, &frmHilfe::AbschnittDarstellen);
    connect(d, &HilfeDokument::abschnittGeleert, m_txt, &QTextEdit::clear);
    connect(d, &HilfeDokument::knoepfeGeaendert, this, &frmHilfe::ButtonsAktualisieren);
    connect(d, &HilfeDokument::bildGewuenscht, this,
            [](const QString &nummer, const QString &titel) {
                frmHilfeBild::BildZeigen(nummer, titel);
            });

    // Names for screen readers (the section titles are named by their text, see
    // Barrierefreiheit.cpp).
    m_tabMain->setAccessibleName(QStringLiteral("Kapitel"));
    m_tabMain->leiste()->setAccessibleName(QStringLiteral("Kapitel"));
    m_tabSub->setAccessibleName(QStringLiteral("Themen"));
    m_tabSub->leiste()->setAccessibleName(QStringLiteral("Themen"));
    m_fraSub->setAccessibleName(QStringLiteral("Abschnitte"));
    m_picMain->setAccessibleName(QStringLiteral("Seite"));
    m_picBackground->setAccessibleName(QStringLiteral("Text"));
    m_txt->setAccessibleName(QStringLiteral("Abschnittstext"));
    m_hScroll->setAccessibleName(QStringLiteral("Seite waagerecht verschieben"));
    m_vScroll->setAccessibleName(QStringLiteral("Seite senkrecht verschieben"));
}

QLabel *frmHilfe::lblSub(int index) const
{
    return (index >= 0 && index < m_lblSub.size()) ? m_lblSub.at(index) : nullptr;
}

TwipRechteck frmHilfe::lblSubTwips(int index) const
{
    return (index >= 0 && index < m_geoLblSub.size()) ? m_geoLblSub.at(index) : TwipRechteck{};
}

bool frmHilfe::DatenEinlesen(const QString &GeheZu, bool &Klein)
{
    Q_UNUSED(Klein);
    mlAbschnittFarbe = m_fraSub->palette().color(QPalette::Window);
    // The text panel's home position: the top it has with the page not scrolled.
    miHintergrundTop = m_geoPicBackground.oben + m_vScroll->value();
    return m_dokument->laden(GeheZu);
}

bool frmHilfe::ZielBekannt() const
{
    return m_dokument->zielBekannt();
}

bool frmHilfe::AbschnittGezeigt() const
{
    return m_dokument->gezeigterAbschnitt() >= 0;
}

QString frmHilfe::AktuelleNummer() const
{
    return m_dokument->aktuelleNummer();
}

void frmHilfe::GeheZuText(const QString &Nummer, HilfeDokument::Verlauf verlauf)
{
    m_dokument->geheZu(Nummer, verlauf);
}

void frmHilfe::lblSub_Click(int Index)
{
    m_dokument->abschnittWaehlen(Index);
}

void frmHilfe::tabMain_Click()
{
    m_dokument->kapitelWaehlen(m_tabMain->aktuell());
}

void frmHilfe::tabSub_Click()
{
    m_dokument->themaWaehlen(m_tabSub->aktuell());
}

void frmHilfe::kapitelZeigen()
{
    // The tabs are rebuilt without running their handler: the document has chosen already.
    const QSignalBlocker sperre(m_tabMain);
    const QList<HilfeEintrag> &kapitel = m_dokument->kapitel();
    m_tabMain->setAnzahl(int(kapitel.size()));
    m_tabMain->setAktuell(std::max(m_dokument->kapitelIndex(), 0));
    m_tabMain->setCaptions(captions(kapitel));
}

void frmHilfe::themenZeigen()
{
    const QSignalBlocker sperre(m_tabSub);
    const QList<HilfeEintrag> &themen = m_dokument->themen();
    m_tabSub->setAnzahl(int(themen.size()));
    m_tabSub->setCaptions(captions(themen));
}

void frmHilfe::abschnitteZeigen()
{
    const QList<HilfeAbschnitt> &abschnitte = m_dokument->abschnitte();
    const int anzahl = int(abschnitte.size());
    m_markiert = -1;
    if (anzahl > 0) {
        // Captions, and the widest title.
        qint32 breiteste = 0;
        for (int i = 1; i <= anzahl; ++i) {
            if (i > miLabelAnzahl) {
                ++miLabelAnzahl;
                auto *l = new AbschnittTitel(m_fraSub);
                l->setObjectName(QStringLiteral("lblSub%1").arg(i - 1));
                l->setFont(m_lblSub.at(0)->font());
                l->setFocusPolicy(Qt::StrongFocus);
                l->setTextFormat(Qt::PlainText);
                // Tab goes from title to title in reading order, then into the text.
                QWidget::setTabOrder(m_lblSub.last(), l);
                l->setCursor(Qt::PointingHandCursor);
                l->installEventFilter(this);
                m_lblSub.append(l);
                m_geoLblSub.append(m_geoLblSub.at(0));
            }
            QLabel *l = m_lblSub.at(i - 1);
            l->setText(abschnitte.at(i - 1).bezeichnung);
            TwipRechteck &g = m_geoLblSub[i - 1];
            g.breite = TwipRunden(pixelZuTwipsX(l->sizeHint().width()));
            breiteste = std::max(breiteste, g.breite);
        }

        // Columns: a title that would reach below the strip starts a new column.
        mlAbschnittFarbe = m_fraSub->palette().color(QPalette::Window);
        const TwipRechteck &erstes = m_geoLblSub.at(0);
        qint32 oben = erstes.oben;
        qint32 links = erstes.links;
        for (int i = 1; i <= anzahl; ++i) {
            QLabel *l = m_lblSub.at(i - 1);
            TwipRechteck &g = m_geoLblSub[i - 1];
            setzeHintergrund(l, mlAbschnittFarbe);
            if (oben + g.hoehe > m_geoFraSub.hoehe) {
                oben = erstes.oben;
                links = links + breiteste + 90;
            }
            g.oben = oben;
            g.links = links;
            setzeGeometrie(l, g);
            l->show();
            oben = oben + g.hoehe + 45;
        }
        // The page is as wide as the window, or as these titles need.
        Layout();
    }
    for (int i = anzahl + 1; i <= miLabelAnzahl; ++i)
        m_lblSub.at(i - 1)->hide();
}

void frmHilfe::auswahlZeigen()
{
    {
        const QSignalBlocker sperreKapitel(m_tabMain);
        const QSignalBlocker sperreThema(m_tabSub);
        if (m_dokument->kapitelIndex() >= 0)
            m_tabMain->setAktuell(m_dokument->kapitelIndex());
        if (m_dokument->themaIndex() >= 0)
            m_tabSub->setAktuell(m_dokument->themaIndex());
    }
    const int index = m_dokument->gezeigterAbschnitt();
    if (index == m_markiert)
        return;
    if (m_markiert >= 0 && m_markiert < m_lblSub.size())
        setzeHintergrund(m_lblSub.at(m_markiert), mlAbschnittFarbe);
    if (index >= 0 && index < m_lblSub.size())
        setzeHintergrund(m_lblSub.at(index), MarkierFarbe);
    m_markiert = index;
}

void frmHilfe::ButtonsAktualisieren()
{
    const HilfeDokument *d = m_dokument;
    toolbarButtonAktiv(frmInhalt::ButtonZurueck, d->zurueckMoeglich());
    toolbarButtonAktiv(frmInhalt::ButtonVorwaerts, d->vorwaertsMoeglich());
    toolbarButtonAktiv(frmInhalt::ButtonVorige, d->vorigerMoeglich());
    toolbarButtonAktiv(frmInhalt::ButtonNaechste, d->naechsterMoeglich());
    // Printing needs a chapter with topics; which scopes it offers is the print dialog's
    // matter.
    toolbarButtonAktiv(frmInhalt::ButtonDrucken, d->druckenMoeglich());
}

void frmHilfe::toolbarButtonAktiv(int index, bool aktiv)
{
    if (frmInhalt *rahmen = frmInhalt::instanz())
        if (QAction *a = rahmen->Button(index))
            a->setEnabled(aktiv);
}

void frmHilfe::ButtonClick(int index)
{
    switch (index) {
    case frmInhalt::ButtonZurueck:
        m_dokument->zurueck();
        break;
    case frmInhalt::ButtonVorwaerts:
        m_dokument->vorwaerts();
        break;
    case frmInhalt::ButtonVorige:
        m_dokument->vorigerAbschnitt();
        break;
    case frmInhalt::ButtonNaechste:
        m_dokument->naechsterAbschnitt();
        break;
    case frmInhalt::ButtonSuchen:
        emit StichwortSucheGewuenscht();
        // The pane takes the left of the frame; an open picture window goes.
        frmHilfeBild::Entladen();
        break;
    case frmInhalt::ButtonDrucken:
        // The print-out takes the marked text with its formats: unzoomed.
        m_lesehilfen->vorDemDrucken();
        emit DruckGewuenscht();
        break;
    case frmInhalt::ButtonKleiner:
    case frmInhalt::ButtonGroesser:
        emit DarstellungGewuenscht();
        break;
    case frmInhalt::ButtonFinden:
        m_lesehilfen->findenOeffnen();
        break;
    case frmInhalt::ButtonLesezeichen:
        m_lesehilfen->lesezeichenMenueZeigen();
        break;
    default:
        break;
    }
}

void frmHilfe::Form_Unload()
{
    if (m_entladen)
        return;
    m_entladen = true;
    frmHilfeBild::Entladen();
    emit Entladen();
    if (s_instanz == this)
        s_instanz = nullptr;
    deleteLater();
}
