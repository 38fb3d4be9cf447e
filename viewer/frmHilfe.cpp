// The help window: controls, loading, navigation, history and toolbar commands. The layout
// and scrolling are in frmHilfe_Layout.cpp, the text box's links in frmHilfe_Text.cpp,
// previous and next section in frmHilfe_Navigation.cpp.
#include "frmHilfe.h"

#include "Global.h"
#include "HilfeAnbindung.h"
#include "Inhaltsabfragen.h"
#include "Registerkarten.h"
#include "TextFeld.h"
#include "Zeichenkette.h"
#include "frmHilfeBild.h"
#include "frmInhalt.h"
#include "Arbeitsbereich.h"

#include <QAction>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QApplication>
#include <QKeyEvent>
#include <QTextEdit>

#include <algorithm>

namespace {

QPointer<frmHilfe> s_instanz;

const QColor StreifenFarbe(0xE0, 0xE0, 0xE0);
const QColor MarkierFarbe(0xFF, 0xFF, 0xC0); // pale yellow
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

void setzeHintergrund(QWidget *w, const QColor &farbe)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, farbe);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

} // namespace

frmHilfe *frmHilfe::instanz(bool erzeugen)
{
    if (!s_instanz && erzeugen) {
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
    steuerelementeAnlegen();

    // The window sees every key before its controls do: Esc anywhere in it closes the help.
    qApp->installEventFilter(this);
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
    setzeHintergrund(m_fraSub, StreifenFarbe);
    connect(m_tabMain, &Registerkarten::Click, this, &frmHilfe::tabMain_Click);
    connect(m_tabSub, &Registerkarten::Click, this, &frmHilfe::tabSub_Click);

    m_picBackground = new QWidget(m_picContainer);
    m_picBackground->setObjectName(QStringLiteral("picBackground"));
    setzeHintergrund(m_picBackground, palette().color(QPalette::Base));

    m_txt = new QTextEdit(m_picBackground);
    m_txt->setObjectName(QStringLiteral("txt"));
    m_txt->setReadOnly(true);
    m_txt->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
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
    auto *l0 = new QLabel(m_fraSub);
    l0->setObjectName(QStringLiteral("lblSub0"));
    m_lblSub.append(l0);
    m_geoLblSub.append(TwipRechteck{45, 45, 0, 195});
    setzeHintergrund(l0, StreifenFarbe);
    l0->setCursor(Qt::PointingHandCursor);
    QFont f = l0->font();
    f.setPixelSize(11);
    l0->setFont(f);
    l0->installEventFilter(this);
    l0->hide();
    miLabelAnzahl = 1;
    miAktTextIndex = -1;
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
    miHintergrundTop = m_geoPicBackground.oben;
    m_verlauf.leeren();

    QList<QString> bezeichnung;
    QList<qint32> ids;
    QList<qint32> nummern;
    if (!KapitelLesen(bezeichnung, ids, nummern))
        return false;
    mlKapitelIDs = ids;
    mlKapitelNummern = nummern;
    miKapitelAnzahl = anzahlAus(std::min({bezeichnung.size(), ids.size(), nummern.size()}) - 1);
    if (miKapitelAnzahl == 0)
        return false;

    const QString ziel = GeheZu.isEmpty() ? QStringLiteral("01.01.01") : GeheZu;
    m_tabMain->setAnzahl(miKapitelAnzahl);
    m_tabMain->setAktuell(0);
    for (int i = 1; i <= miKapitelAnzahl; ++i)
        m_tabMain->setCaption(i - 1, bezeichnung.at(i));

    mbVerlaufMerken = true;
    GeheZuText(ziel);
    return true;
}

void frmHilfe::GeheZuText(const QString &Nummer)
{
    mbSprungAktiv = true;
    mbKapitelGeladen = false;
    const double kapitel = nummernTeil(Nummer, 1);
    for (int i = 1; i <= miKapitelAnzahl; ++i) {
        if (kapitel == element(mlKapitelNummern, i)) {
            m_tabMain->setAktuell(i - 1);
            if (!mbKapitelGeladen)
                tabMain_Click();
            break;
        }
    }
    mbThemaGeladen = false;
    const double thema = nummernTeil(Nummer, 2);
    for (int i = 1; i <= miThemenAnzahl; ++i) {
        if (thema == element(mlThemenNummern, i)) {
            m_tabSub->setAktuell(i - 1);
            if (!mbThemaGeladen)
                tabSub_Click();
            break;
        }
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

void frmHilfe::tabMain_Click()
{
    const int k = m_tabMain->aktuell() + 1;
    if (k < 1 || k >= mlKapitelIDs.size())
        return;
    if (mlKapitelIDs.at(k) == mlAktKapitelID)
        return;
    mlAktKapitelID = mlKapitelIDs.at(k);

    QList<QString> bezeichnung;
    QList<qint32> ids;
    QList<qint32> nummern;
    if (!ThemenLesen(bezeichnung, ids, nummern, mlAktKapitelID)) {
        // Forgotten, so that choosing the same chapter again reads it again.
        mlAktKapitelID = 0;
        return;
    }
    mlThemenIDs = ids;
    mlThemenNummern = nummern;
    miThemenAnzahl = anzahlAus(std::min({bezeichnung.size(), ids.size(), nummern.size()}) - 1);
    if (miThemenAnzahl == 0) {
        // The sections loaded belong to the previous chapter's topic: none of them may be
        // selected or recorded under this chapter's number.
        miTexteAnzahl = 0;
        miAktTextIndex = -1;
        mlAktThemaID = 0;
        for (QLabel *l : std::as_const(m_lblSub))
            l->hide();
        return;
    }

    mlAktThemaID = 0;
    m_tabSub->setAnzahl(miThemenAnzahl);
    if (m_tabSub->aktuell() == 0)
        tabSub_Click();
    else
        m_tabSub->setAktuell(0);
    for (int i = 1; i <= miThemenAnzahl; ++i)
        m_tabSub->setCaption(i - 1, bezeichnung.at(i));
    mbKapitelGeladen = true;
}

void frmHilfe::tabSub_Click()
{
    const int k = m_tabSub->aktuell() + 1;
    if (k < 1 || k >= mlThemenIDs.size())
        return;
    if (mlThemenIDs.at(k) == mlAktThemaID)
        return;
    mlAktThemaID = mlThemenIDs.at(k);

    QList<QString> bezeichnung;
    QList<qint32> ids;
    QList<qint32> nummern;
    QList<QString> texte;
    const bool gelesen = TexteLesen(bezeichnung, ids, nummern, texte, mlAktThemaID);
    if (!gelesen)
        mlAktThemaID = 0; // read again when the same topic is chosen again
    if (gelesen) {
        mlTexteIDs = ids;
        mlTexteNummern = nummern;
        msTexteInhalt = texte;
        miTexteAnzahl = anzahlAus(
            std::min({bezeichnung.size(), ids.size(), nummern.size(), texte.size()}) - 1);
    }
    if (gelesen && miTexteAnzahl > 0) {
        // Captions, and the widest title.
        qint32 breiteste = 0;
        for (int i = 1; i <= miTexteAnzahl; ++i) {
            if (i > miLabelAnzahl) {
                ++miLabelAnzahl;
                auto *l = new QLabel(m_fraSub);
                l->setObjectName(QStringLiteral("lblSub%1").arg(i - 1));
                l->setFont(m_lblSub.at(0)->font());
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
    AbschnittDarstellen(Index + 1 < msTexteInhalt.size() ? msTexteInhalt.at(Index + 1)
                                                         : QString());
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
    toolbarButtonAktiv(frmInhalt::ButtonVorige, !erste);
    toolbarButtonAktiv(frmInhalt::ButtonNaechste, !letzte);
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
        if (HilfeAnbindung::druckenStarten)
            HilfeAnbindung::druckenStarten();
        break;
    case frmInhalt::ButtonKleiner:
    case frmInhalt::ButtonGroesser:
        gbDarstellung = !gbDarstellung;
        if (HilfeAnbindung::fensterPositionieren)
            HilfeAnbindung::fensterPositionieren();
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
