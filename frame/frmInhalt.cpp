// The frame window: toolbar, child arrangement, display mode across maximise and restore,
// unload. See frmInhalt.h.
#include "frmInhalt.h"

#include "Arbeitsbereich.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLayout>
#include <QPainter>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>

#include <cmath>

namespace {

QPointer<frmInhalt> s_instanz;

std::function<void()> &prozessEnde()
{
    static std::function<void()> ende = [] { QCoreApplication::exit(0); };
    return ende;
}

struct ButtonBeschreibung
{
    const char *caption; // nullptr: separator
    const char *tip;
    const char *bild;
    QKeyCombination taste = {};      // the keyboard shortcut, none when empty
    const char *tasteText = nullptr; // how the tip names it
};

// Index i + 1 of the toolbar. The indexes are the interface to the help window's commands.
const ButtonBeschreibung buttons[frmInhalt::ButtonAnzahl] = {
    {"Zurück", "Zeigt zuletzt gewählte Seite", "zurueck", Qt::ALT | Qt::Key_Left,
     "Alt+Pfeil links"},
    {"Vorwärts", "Zeigt nächste gewählte Seite", "vorwaerts", Qt::ALT | Qt::Key_Right,
     "Alt+Pfeil rechts"},
    {nullptr, nullptr, nullptr},
    {"Vorige", "Zeigt vorige Seite in der Beschreibung", "vorige", Qt::ALT | Qt::Key_PageUp,
     "Alt+Bild auf"},
    {"Nächste", "Zeigt nächste Seite in der Beschreibung", "naechste", Qt::ALT | Qt::Key_PageDown,
     "Alt+Bild ab"},
    {nullptr, nullptr, nullptr},
    {"Suchen", "Suche nach bestimmten Stichwörtern", "suchen"},
    {nullptr, nullptr, nullptr},
    {"Drucken", "Ausdruck der Beschreibung", "drucken"},
    {nullptr, nullptr, nullptr},
    {"kleiner", "verkleinert das Fenster", "kleiner"},
    {"größer", "vergrößert das Fenster", "groesser"},
    {"Finden", "Sucht einen Text im angezeigten Abschnitt", "finden", Qt::CTRL | Qt::Key_F,
     "Strg+F"},
    {"Lesezeichen", "Lesezeichen setzen und aufrufen", "lesezeichen", Qt::CTRL | Qt::Key_L,
     "Strg+L"},
};

int pixelX(double twips)
{
    return int(std::lround(twipsZuPixelX(twips)));
}

int pixelY(double twips)
{
    return int(std::lround(twipsZuPixelY(twips)));
}

} // namespace

frmInhalt *frmInhalt::instanz()
{
    return s_instanz;
}

frmInhalt *frmInhalt::anlegen()
{
    if (!s_instanz)
        s_instanz = new frmInhalt;
    return s_instanz;
}

frmInhalt::frmInhalt()
{
    setObjectName(QStringLiteral("frmInhalt"));
    setWindowTitle(QStringLiteral("Programmbeschreibung zu Tolvar-Belna"));
    setWindowIcon(QIcon(QStringLiteral(":/bilder/hilfe.svg")));

    // The client area is painted grey where no child window covers it (see eventFilter). Not
    // through its palette: the children would inherit the grey as their window colour, and the
    // keyword pane would show the palette's text on it, unreadable in a dark palette.
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("clientBereich"));
    m_client->installEventFilter(this);
    setCentralWidget(m_client);

    toolbarAufbauen();
    auto *f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this, &frmInhalt::SymbolleisteFokus);
}

frmInhalt::~frmInhalt()
{
    if (s_instanz == this)
        s_instanz = nullptr;
}

void frmInhalt::toolbarAufbauen()
{
    m_tlb = new QToolBar(QStringLiteral("tlb"), this);
    m_tlb->setObjectName(QStringLiteral("tlb"));
    m_tlb->setWindowTitle(QStringLiteral("Symbolleiste")); // its accessible name
    m_tlb->setMovable(false);
    m_tlb->setFloatable(false);
    m_tlb->setIconSize(QSize(16, 16));
    m_tlb->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_tlb->toggleViewAction()->setEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    addToolBar(Qt::TopToolBarArea, m_tlb);

    for (int i = 0; i < ButtonAnzahl; ++i) {
        const ButtonBeschreibung &b = buttons[i];
        QAction *a = nullptr;
        if (!b.caption) {
            a = m_tlb->addSeparator();
        } else {
            a = m_tlb->addAction(
                QIcon(QStringLiteral(":/bilder/%1.svg").arg(QLatin1String(b.bild))),
                QString::fromUtf8(b.caption));
            QString tip = QString::fromUtf8(b.tip);
            if (b.tasteText) {
                a->setShortcut(QKeySequence(b.taste));
                tip += QStringLiteral(" (%1)").arg(QString::fromUtf8(b.tasteText));
            }
            a->setToolTip(tip);
            // Named for screen readers by its caption; reached from the keyboard with F10
            // (see symbolleisteTaste), not with Tab, so the windows' own Tab order stays.
            if (QWidget *knopf = m_tlb->widgetForAction(a)) {
                knopf->setAccessibleName(QString::fromUtf8(b.caption));
                knopf->setAccessibleDescription(tip);
                knopf->installEventFilter(this);
            }
            const int index = i + 1;
            connect(a, &QAction::triggered, this, [this, index] { emit ButtonClick(index); });
        }
        a->setObjectName(QStringLiteral("tlbButton%1").arg(i + 1));
        m_buttons.append(a);
    }
}

QList<QWidget *> frmInhalt::bedienbareKnoepfe() const
{
    QList<QWidget *> knoepfe;
    for (QAction *a : m_buttons) {
        QWidget *k = a->isSeparator() ? nullptr : m_tlb->widgetForAction(a);
        // A button the toolbar moved into its extension (too narrow a frame) is passed over.
        if (k && a->isVisible() && a->isEnabled() && (!m_tlb->isVisible() || k->isVisible()))
            knoepfe.append(k);
    }
    return knoepfe;
}

void frmInhalt::SymbolleisteFokus()
{
    const QList<QWidget *> knoepfe = bedienbareKnoepfe();
    if (knoepfe.isEmpty())
        return;
    QWidget *jetzt = focusWidget(); // the frame's focus child, active or not
    if (!knoepfe.contains(jetzt))
        m_fokusVorLeiste = jetzt;
    knoepfe.first()->setFocus(Qt::ShortcutFocusReason);
}

bool frmInhalt::symbolleisteTaste(QWidget *knopf, QKeyEvent *taste)
{
    // Inside the toolbar: arrows move between the buttons that can act, Return and Space
    // press one, Esc goes back to where the focus was before F10; Tab leaves it for the
    // window's Tab order.
    const QList<QWidget *> knoepfe = bedienbareKnoepfe();
    const int i = int(knoepfe.indexOf(knopf));
    if (i < 0 || taste->modifiers() & ~Qt::KeypadModifier)
        return false;
    const int n = int(knoepfe.size());
    switch (taste->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int weiter = (i + (taste->key() == Qt::Key_Right ? 1 : n - 1)) % n;
        knoepfe.at(weiter)->setFocus(Qt::TabFocusReason);
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (auto *b = qobject_cast<QToolButton *>(knopf))
            b->click();
        return true;
    case Qt::Key_Escape:
        if (m_fokusVorLeiste)
            m_fokusVorLeiste->setFocus(Qt::OtherFocusReason);
        else
            knopf->clearFocus();
        return true;
    default:
        return false;
    }
}

QAction *frmInhalt::Button(int index) const
{
    if (index < 1 || index > m_buttons.size())
        return nullptr;
    return m_buttons.at(index - 1);
}

double frmInhalt::innenBreite() const
{
    return pixelZuTwipsX(m_client->width());
}

double frmInhalt::innenHoehe() const
{
    return pixelZuTwipsY(m_client->height());
}

void frmInhalt::setHilfeFenster(QWidget *fenster)
{
    m_hilfe = fenster;
    if (fenster && fenster->parentWidget() != m_client)
        fenster->setParent(m_client);
}

void frmInhalt::setStichwortFenster(QWidget *fenster)
{
    m_stichwort = fenster;
    if (fenster && fenster->parentWidget() != m_client)
        fenster->setParent(m_client);
}

void frmInhalt::fensterBewegen(QWidget *w, double links, double oben, double breite, double hoehe)
{
    if (!w)
        return;
    w->setGeometry(pixelX(links), pixelY(oben), std::max(pixelX(breite), 0),
                   std::max(pixelY(hoehe), 0));
}

void frmInhalt::AufbauMDIChilds()
{
    if (windowState() & Qt::WindowMinimized)
        return;
    const double b = innenBreite();
    const double h = innenHoehe();
    if (m_stichwortSuche) {
        // The pane takes a strip of 4200 twips at the left; too small a client area keeps
        // the children where they are.
        if (b < 4500 || h < 4500)
            return;
        fensterBewegen(m_hilfe, 4200, 0, b - 4200, h);
        if (m_stichwort)
            m_stichwort->resize(m_stichwort->width(), std::max(pixelY(h), 0));
    } else {
        fensterBewegen(m_hilfe, 0, 0, b, h);
    }
}

void frmInhalt::Bewegen(double links, double oben, double breite, double hoehe)
{
    // The twips describe the outer frame; the widget's own geometry excludes the decoration.
    // Before the window manager has framed the window its decoration is unknown (no margins):
    // the place is kept, and the window is placed again once the decoration is known.
    const QSize rand = frameGeometry().size() - geometry().size();
    m_platz = {links, oben, breite, hoehe};
    m_platzRand = rand;
    m_platzGesetzt = true;
    move(pixelX(links), pixelY(oben));
    resize(std::max(pixelX(breite) - rand.width(), 1), std::max(pixelY(hoehe) - rand.height(), 1));
}

void frmInhalt::platzNachRahmen()
{
    if (!m_platzGesetzt || !isVisible() || m_entladen ||
        (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const QSize rand = frameGeometry().size() - geometry().size();
    if (rand == m_platzRand)
        return;
    Bewegen(m_platz[0], m_platz[1], m_platz[2], m_platz[3]);
}

void frmInhalt::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    platzNachRahmen();
}

void frmInhalt::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    platzNachRahmen();
    // A toolbar that was too narrow keeps its extension button once it is wide enough again:
    // laying it out anew puts every button back and hides the button.
    if (m_tlb && m_tlb->layout())
        m_tlb->layout()->invalidate();
}

qint16 frmInhalt::zustandVon(Qt::WindowStates s)
{
    if (s & Qt::WindowMinimized)
        return 1;
    if (s & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return 2;
    return 0;
}

void frmInhalt::FormResize()
{
    AufbauMDIChilds();
    const qint16 vorher = m_fensterStatus;
    m_fensterStatus = zustandVon(windowState());
    emit FensterZustand(m_fensterStatus, vorher);
}

void frmInhalt::setStichwortSuche(bool offen)
{
    m_stichwortSuche = offen;
}

void frmInhalt::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        FormResize();
}

bool frmInhalt::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->parent() == m_tlb)
        return symbolleisteTaste(static_cast<QWidget *>(watched), static_cast<QKeyEvent *>(event));
    if (watched == m_client && event->type() == QEvent::Resize)
        FormResize();
    if (watched == m_client && event->type() == QEvent::Paint) {
        // The grey of an empty work area; a dark palette's own dark shade there.
        const QPalette &pal = m_client->palette();
        const bool dunkel = pal.color(QPalette::Window).lightness() < 128;
        QPainter p(m_client);
        p.fillRect(m_client->rect(), dunkel ? pal.color(QPalette::Dark) : QColor(0xab, 0xab, 0xab));
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmInhalt::closeEvent(QCloseEvent *event)
{
    // The unload is never cancelled. The children unload first, then the frame drops its
    // instance and the process ends.
    event->accept();
    Unload();
}

void frmInhalt::Unload()
{
    if (m_entladen)
        return;
    m_entladen = true;
    emit Entladen();
    if (s_instanz == this)
        s_instanz = nullptr;
    hide();
    deleteLater();
    if (prozessEnde())
        prozessEnde()();
}

void frmInhalt::setProzessEnde(std::function<void()> ende)
{
    prozessEnde() = std::move(ende);
}
