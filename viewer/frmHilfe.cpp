// The help window: controls, loading, navigation, history and toolbar commands. The layout
// and scrolling are in frmHilfe_Layout.cpp, the text box's links in frmHilfe_Text.cpp,
// previous and next section in frmHilfe_Navigation.cpp.
#include "frmHilfe.h"

#include "Arbeitsbereich.h"
#include "Barrierefreiheit.h"
#include "Farbschema.h"
#include "Global.h"
#include "HilfeAnbindung.h"
#include "Inhaltsabfragen.h"
#include "Lesehilfen.h"
#include "Registerkarten.h"
#include "TextFeld.h"
#include "Zeichenkette.h"
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

// Numeric value of one piece of a help number, read as a decimal number the way the number
// was typed: blanks ignored, an optional sign, the leading digits; nothing numeric gives 0.
double teilWert(const QString &teil)
{
    double wert = 0;
    bool negativ = false;
    bool ziffernBegonnen = false;
    for (const QChar c : teil) {
        if (c.isSpace())
            continue;
        if (!ziffernBegonnen && (c == u'-' || c == u'+')) {
            negativ = c == u'-';
            ziffernBegonnen = true;
            continue;
        }
        if (c < u'0' || c > u'9')
            break;
        ziffernBegonnen = true;
        wert = wert * 10 + (c.unicode() - u'0');
    }
    return negativ ? -wert : wert;
}

double nummernTeil(const QString &nummer, int n)
{
    return teilWert(Zeichenkette(nummer, n, 1, QStringLiteral(".")));
}

// At least two digits, as the help numbers are written.
QString zweistellig(qint32 n)
{
    if (n < 0)
        return QLatin1Char('-') + QStringLiteral("%1").arg(-qint64(n), 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

qint32 element(const QList<qint32> &liste, int i)
{
    return (i >= 1 && i < liste.size()) ? liste.at(i) : 0;
}

qint16 anzahlAus(qsizetype obereGrenze)
{
    return qint16(std::clamp<qsizetype>(obereGrenze, 0, 32767));
}

qint32 anzahl32Aus(qsizetype obereGrenze)
{
    return qint32(std::clamp<qsizetype>(obereGrenze, 0, std::numeric_limits<qint32>::max()));
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

frmHilfe *frmHilfe::instanz(bool erzeugen)
{
    if (!s_instanz && erzeugen) {
        // The colour scheme before the first window, which takes the palette it finds.
        Farbschema::anwenden();
        frmInhalt *rahmen = frmInhalt::instanz();
        auto *h = new frmHilfe(rahmen->clientBereich());
        s_instanz = h;
        rahmen->setHilfeFenster(h);
        connect(rahmen, &frmInhalt::ButtonClick, h, [](int index) {
            if (frmHilfe *hilfe = frmHilfe::instanz())
                hilfe->ButtonClick(index);
        });
        connect(rahmen, &frmInhalt::Entladen, h, &frmHilfe::Form_Unload);
        rahmen->AufbauMDIChilds();
    }
    return s_instanz;
}

frmHilfe::frmHilfe(QWidget *parent) : QWidget(parent)
{
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
            if (frmInhalt *rahmen = frmInhalt::instanz(false))
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
    miAktTextIndex = -1;

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
    QList<QString> bezeichnung;
    QList<qint32> ids;
    QList<qint32> nummern;
    if (!KapitelLesen(bezeichnung, ids, nummern))
        return false;
    const qint32 anzahl =
        anzahl32Aus(std::min({bezeichnung.size(), ids.size(), nummern.size()}) - 1);
    if (anzahl == 0)
        return false;
    // The number is resolved against the database alone, as on a fresh start, so that what a
    // call shows never depends on what was shown before.
    const QString nummer = GeheZu.isEmpty() ? QStringLiteral("01.01.01") : GeheZu;
    const double teile[3] = {nummernTeil(nummer, 1), nummernTeil(nummer, 2),
                             nummernTeil(nummer, 3)};
    const QString ziel = ZielAufloesen(teile, ids, nummern, m_zielBekannt);
    if (ziel.isEmpty())
        return false;

    mlAbschnittFarbe = m_fraSub->palette().color(QPalette::Window);
    // The text panel's home position: the top it has with the page not scrolled.
    miHintergrundTop = m_geoPicBackground.oben + m_vScroll->value();
    // The history starts anew, unless the target cannot be read: the window then keeps what
    // it showed, history included.
    const HilfeVerlauf verlaufVorher = m_verlauf;
    m_verlauf.leeren();
    setVerlaufPosition(0);
    mlKapitelIDs = ids;
    mlKapitelNummern = nummern;
    miKapitelAnzahl = anzahl;

    // The chapter tabs are rebuilt without running their handler: the chapter that stays
    // current keeps its topics, and no section is shown or recorded on the way to the target.
    {
        const QSignalBlocker sperre(m_tabMain);
        m_tabMain->setAnzahl(miKapitelAnzahl);
        const int geladen = int(mlKapitelIDs.indexOf(mlAktKapitelID));
        m_tabMain->setAktuell(mlAktKapitelID != 0 && geladen >= 1 ? geladen - 1 : 0);
        m_tabMain->setCaptions(bezeichnung);
    }
    if (!mlKapitelIDs.contains(mlAktKapitelID) && mlAktKapitelID != 0) {
        // The chapter that was loaded is gone from the database.
        mlAktKapitelID = 0;
        miThemenAnzahl = 0;
        AbschnittLeeren();
    }

    mbVerlaufMerken = true;
    GeheZuText(ziel);
    if (m_lesefehler) {
        m_verlauf = verlaufVorher;
        setVerlaufPosition(m_verlauf.position());
        ButtonsAktualisieren();
        return false;
    }
    // The history holds the shown section and nothing else.
    if (m_verlauf.anzahl() == 0 && gezeigterAbschnitt() >= 0)
        NummerMerken();
    ButtonsAktualisieren();
    return true;
}

void frmHilfe::GeheZuText(const QString &Nummer)
{
    mbSprungAktiv = true;
    mbKapitelGeladen = false;
    m_lesefehler = false;
    const double kapitel = nummernTeil(Nummer, 1);
    for (int i = 1; i <= miKapitelAnzahl; ++i) {
        if (kapitel == element(mlKapitelNummern, i)) {
            m_tabMain->setAktuell(i - 1);
            if (!mbKapitelGeladen && !m_lesefehler)
                tabMain_Click();
            break;
        }
    }
    if (m_lesefehler) {
        mbSprungAktiv = false;
        return;
    }
    mbThemaGeladen = false;
    const double thema = nummernTeil(Nummer, 2);
    for (int i = 1; i <= miThemenAnzahl; ++i) {
        if (thema == element(mlThemenNummern, i)) {
            m_tabSub->setAktuell(i - 1);
            if (!mbThemaGeladen && !m_lesefehler)
                tabSub_Click();
            break;
        }
    }
    if (m_lesefehler) {
        mbSprungAktiv = false;
        return;
    }
    const double text = nummernTeil(Nummer, 3);
    for (int i = 1; i <= miTexteAnzahl; ++i) {
        if (text == element(mlTexteNummern, i)) {
            lblSub_Click(i - 1);
            break;
        }
    }
    mbSprungAktiv = false;
}

void frmHilfe::kapitelZuruecksetzen(qint32 kapitelID)
{
    const int i = int(mlKapitelIDs.indexOf(kapitelID));
    if (kapitelID != 0 && i >= 1) {
        // The topics, sections and text shown still belong to that chapter.
        const QSignalBlocker sperre(m_tabMain);
        m_tabMain->setAktuell(i - 1);
        mlAktKapitelID = kapitelID;
        return;
    }
    // Nothing was loaded before: what is left on the screen belongs to no chapter.
    mlAktKapitelID = 0;
    miThemenAnzahl = 0;
    mlAktThemaID = 0;
    {
        const QSignalBlocker sperre(m_tabSub);
        m_tabSub->setAnzahl(0);
    }
    AbschnittLeeren();
}

void frmHilfe::themaZuruecksetzen(qint32 themaID)
{
    const int i = int(mlThemenIDs.indexOf(themaID));
    if (themaID != 0 && i >= 1) {
        const QSignalBlocker sperre(m_tabSub);
        m_tabSub->setAktuell(i - 1);
        mlAktThemaID = themaID;
        return;
    }
    mlAktThemaID = 0;
    AbschnittLeeren();
}

void frmHilfe::AbschnittLeeren()
{
    miTexteAnzahl = 0;
    miAktTextIndex = -1;
    mlTexteIDs = {0};
    mlTexteNummern = {0};
    msTexteInhalt = {QString()};
    for (QLabel *l : std::as_const(m_lblSub))
        l->hide();
    m_txt->clear();
    mtVerweise = {tVerweis()};
    miVerweisAnzahl = 0;
    ButtonsAktualisieren();
}

void frmHilfe::tabMain_Click()
{
    const int k = m_tabMain->aktuell() + 1;
    if (k < 1 || k >= mlKapitelIDs.size())
        return;
    if (mlKapitelIDs.at(k) == mlAktKapitelID)
        return;
    const qint32 vorher = mlAktKapitelID;
    mlAktKapitelID = mlKapitelIDs.at(k);

    QList<QString> bezeichnung;
    QList<qint32> ids;
    QList<qint32> nummern;
    if (!ThemenLesen(bezeichnung, ids, nummern, mlAktKapitelID)) {
        // Reported by the query. The tab goes back to the chapter still shown, so that
        // choosing this chapter again reads it again.
        m_lesefehler = true;
        kapitelZuruecksetzen(vorher);
        return;
    }
    mlThemenIDs = ids;
    mlThemenNummern = nummern;
    miThemenAnzahl = anzahl32Aus(std::min({bezeichnung.size(), ids.size(), nummern.size()}) - 1);
    if (miThemenAnzahl == 0) {
        // The sections loaded belong to the previous chapter's topic: none of them may be
        // selected or recorded under this chapter's number.
        mlAktThemaID = 0;
        {
            const QSignalBlocker sperre(m_tabSub);
            m_tabSub->setAnzahl(0);
        }
        AbschnittLeeren();
        return;
    }

    mlAktThemaID = 0;
    {
        const QSignalBlocker sperre(m_tabSub);
        m_tabSub->setAnzahl(miThemenAnzahl);
        m_tabSub->setCaptions(bezeichnung);
    }
    if (m_tabSub->aktuell() == 0)
        tabSub_Click();
    else
        m_tabSub->setAktuell(0);
    mbKapitelGeladen = true;
}

void frmHilfe::tabSub_Click()
{
    const int k = m_tabSub->aktuell() + 1;
    if (k < 1 || k >= mlThemenIDs.size())
        return;
    if (mlThemenIDs.at(k) == mlAktThemaID)
        return;
    const qint32 vorher = mlAktThemaID;
    mlAktThemaID = mlThemenIDs.at(k);

    QList<QString> bezeichnung;
    QList<qint32> ids;
    QList<qint32> nummern;
    QList<QString> texte;
    if (!TexteLesen(bezeichnung, ids, nummern, texte, mlAktThemaID)) {
        m_lesefehler = true;
        themaZuruecksetzen(vorher);
        return;
    }
    mlTexteIDs = ids;
    mlTexteNummern = nummern;
    msTexteInhalt = texte;
    miTexteAnzahl =
        anzahlAus(std::min({bezeichnung.size(), ids.size(), nummern.size(), texte.size()}) - 1);
    if (miTexteAnzahl == 0) {
        AbschnittLeeren();
        return;
    }
    {
        // Captions, and the widest title.
        qint32 breiteste = 0;
        for (int i = 1; i <= miTexteAnzahl; ++i) {
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
            l->setText(bezeichnung.at(i));
            TwipRechteck &g = m_geoLblSub[i - 1];
            g.breite = TwipRunden(pixelZuTwipsX(l->sizeHint().width()));
            breiteste = std::max(breiteste, g.breite);
        }

        // Columns: a title that would reach below the strip starts a new column.
        mlAbschnittFarbe = m_fraSub->palette().color(QPalette::Window);
        const TwipRechteck &erstes = m_geoLblSub.at(0);
        qint32 oben = erstes.oben;
        qint32 links = erstes.links;
        for (int i = 1; i <= miTexteAnzahl; ++i) {
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

        miAktTextIndex = -1;
        if (!mbSprungAktiv)
            lblSub_Click(0);
        mbThemaGeladen = true;
    }

    for (int i = miTexteAnzahl + 1; i <= miLabelAnzahl; ++i)
        m_lblSub.at(i - 1)->hide();
}

void frmHilfe::lblSub_Click(int Index)
{
    if (Index < 0 || Index >= miTexteAnzahl || Index >= m_lblSub.size())
        return;
    if (miAktTextIndex > -1 && miAktTextIndex < m_lblSub.size())
        setzeHintergrund(m_lblSub.at(miAktTextIndex), mlAbschnittFarbe);
    setzeHintergrund(m_lblSub.at(Index), MarkierFarbe);
    miAktTextIndex = qint16(Index);
    TrefferMarkieren({});
    AbschnittDarstellen(Index + 1 < msTexteInhalt.size() ? msTexteInhalt.at(Index + 1) : QString());
    NummerMerken();
}

QString frmHilfe::NummerBilden(qint32 kapitel, qint32 thema, qint32 text)
{
    return zweistellig(kapitel) + QLatin1Char('.') + zweistellig(thema) + QLatin1Char('.') +
           zweistellig(text);
}

QString frmHilfe::AktuelleNummer() const
{
    if (miAktTextIndex < 0)
        return QString();
    return NummerBilden(element(mlKapitelNummern, m_tabMain->aktuell() + 1),
                        element(mlThemenNummern, m_tabSub->aktuell() + 1),
                        element(mlTexteNummern, miAktTextIndex + 1));
}

void frmHilfe::NummerMerken()
{
    if (mbVerlaufMerken) {
        m_verlauf.merken(AktuelleNummer());
        setVerlaufPosition(m_verlauf.anzahl());
    }
    ButtonsAktualisieren();
}

void frmHilfe::ButtonsAktualisieren()
{
    // Previous is off only on the first section of the first topic of the first chapter,
    // next only on the last one; both are off while no section is shown.
    const bool gezeigt = gezeigterAbschnitt() >= 0;
    bool erste = true;
    bool letzte = true;
    const int kapitel = m_tabMain->aktuell();
    const int thema = m_tabSub->aktuell();
    if (kapitel < miKapitelAnzahl - 1)
        letzte = false;
    if (kapitel >= 1)
        erste = false;
    if (thema < miThemenAnzahl - 1)
        letzte = false;
    if (thema >= 1)
        erste = false;
    if (miAktTextIndex < miTexteAnzahl - 1)
        letzte = false;
    if (miAktTextIndex > 0)
        erste = false;
    toolbarButtonAktiv(frmInhalt::ButtonVorige, gezeigt && !erste);
    toolbarButtonAktiv(frmInhalt::ButtonNaechste, gezeigt && !letzte);
    // Printing needs a chapter with topics; which scopes it offers is the print dialog's
    // matter.
    toolbarButtonAktiv(frmInhalt::ButtonDrucken, mlAktKapitelID != 0 && miThemenAnzahl > 0);
}

void frmHilfe::setVerlaufPosition(qint32 p)
{
    m_verlauf.setPosition(p);
    toolbarButtonAktiv(frmInhalt::ButtonZurueck, p >= 2);
    toolbarButtonAktiv(frmInhalt::ButtonVorwaerts, p < m_verlauf.anzahl());
}

void frmHilfe::toolbarButtonAktiv(int index, bool aktiv)
{
    if (frmInhalt *rahmen = frmInhalt::instanz(false))
        if (QAction *a = rahmen->Button(index))
            a->setEnabled(aktiv);
}

void frmHilfe::ButtonClick(int index)
{
    switch (index) {
    case frmInhalt::ButtonZurueck:
    case frmInhalt::ButtonVorwaerts: {
        const qint32 pos = VerlaufPosition();
        if (index == frmInhalt::ButtonZurueck && pos <= 1)
            return;
        if (index == frmInhalt::ButtonVorwaerts && pos >= VerlaufAnzahl())
            return;
        const qint32 neu = index == frmInhalt::ButtonZurueck ? pos - 1 : pos + 1;
        setVerlaufPosition(neu);
        mbVerlaufMerken = false;
        GeheZuText(VerlaufEintrag(neu));
        mbVerlaufMerken = true;
        break;
    }
    case frmInhalt::ButtonVorige:
        VorigerAbschnitt();
        break;
    case frmInhalt::ButtonNaechste:
        NaechsterAbschnitt();
        break;
    case frmInhalt::ButtonSuchen:
        if (HilfeAnbindung::stichwortFensterZeigen)
            HilfeAnbindung::stichwortFensterZeigen();
        // The pane takes the left of the frame; an open picture window goes.
        frmHilfeBild::Entladen();
        break;
    case frmInhalt::ButtonDrucken:
        // The print-out takes the marked text with its formats: unzoomed.
        m_lesehilfen->vorDemDrucken();
        if (HilfeAnbindung::druckenStarten)
            HilfeAnbindung::druckenStarten();
        break;
    case frmInhalt::ButtonKleiner:
    case frmInhalt::ButtonGroesser:
        gbDarstellung = !gbDarstellung;
        if (HilfeAnbindung::fensterPositionieren)
            HilfeAnbindung::fensterPositionieren();
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
    if (HilfeAnbindung::stichwortFensterEntladen)
        HilfeAnbindung::stichwortFensterEntladen();
    if (s_instanz == this)
        s_instanz = nullptr;
    deleteLater();
}
