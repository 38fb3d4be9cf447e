// The find bar: a strip at the bottom of the text panel with the search field, the count of
// hits, previous/next and close. Every keystroke searches the shown section again and marks
// all hits, the current one stronger; Enter / Umschalt+Enter / F3 / Umschalt+F3 step through
// them; Esc closes the bar. The marks are extra selections of the text box, tagged so that
// the marks of a full-text search set beside them stay.
#include "Lesehilfen.h"

#include "frmHilfe.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace {

// Marks a selection as one of the find bar's.
constexpr int FindenMarke = QTextFormat::UserProperty + 0x46;

const QColor TrefferFarbe(0xA8, 0xD8, 0xFF); // light blue, black text
// Characters before and after the visible text whose hits are marked ahead of scrolling.
constexpr int SichtRand = 1000;
const QColor AktuellFarbe(0x1F, 0x5F, 0xBF); // dark blue, white text

// The find field: Enter and Umschalt+Enter step through the hits.
class Suchfeld : public QLineEdit
{
public:
    Suchfeld(QWidget *parent, std::function<void(bool)> weiter)
        : QLineEdit(parent), m_weiter(std::move(weiter))
    {
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            m_weiter(event->modifiers() & Qt::ShiftModifier);
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

private:
    std::function<void(bool)> m_weiter;
};

QToolButton *knopf(QWidget *parent, const QString &name, const QString &text, const QString &tip)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(tip);
    b->setAccessibleName(tip);
    b->setFocusPolicy(Qt::TabFocus);
    b->setAutoRaise(true);
    return b;
}

} // namespace

void Lesehilfen::findenEinrichten()
{
    QWidget *panel = m_hilfe->picBackground();
    m_leiste = new QFrame(panel);
    m_leiste->setObjectName(QStringLiteral("fraFinden"));
    m_leiste->setFrameShape(QFrame::StyledPanel);
    m_leiste->setAutoFillBackground(true);
    m_leiste->setBackgroundRole(QPalette::Window);
    m_leiste->setAccessibleName(QStringLiteral("Suchleiste"));

    auto *beschriftung = new QLabel(QStringLiteral("&Suchen im Text:"), m_leiste);
    beschriftung->setObjectName(QStringLiteral("lblFinden"));
    m_feld = new Suchfeld(m_leiste, [this](bool rueckwaerts) { findenWeiter(rueckwaerts); });
    m_feld->setObjectName(QStringLiteral("txtFinden"));
    m_feld->setAccessibleName(QStringLiteral("Suchen im Text"));
    m_feld->setPlaceholderText(QStringLiteral("Text im Abschnitt"));
    m_feld->setClearButtonEnabled(true);
    m_feld->setMinimumWidth(200);
    beschriftung->setBuddy(m_feld);
    m_voriger = knopf(m_leiste, QStringLiteral("cmdFindenVoriger"), QStringLiteral("▲"),
                      QStringLiteral("Vorheriger Treffer (Umschalt+F3)"));
    m_naechster = knopf(m_leiste, QStringLiteral("cmdFindenNaechster"), QStringLiteral("▼"),
                        QStringLiteral("Nächster Treffer (F3)"));
    m_status = new QLabel(m_leiste);
    m_status->setObjectName(QStringLiteral("lblFindenStatus"));
    m_status->setAccessibleName(QStringLiteral("Treffer"));
    m_status->setMinimumWidth(110);
    m_schliessen = knopf(m_leiste, QStringLiteral("cmdFindenSchliessen"), QStringLiteral("✕"),
                         QStringLiteral("Suchleiste schließen (Esc)"));

    auto *zeile = new QHBoxLayout(m_leiste);
    zeile->setContentsMargins(6, 3, 6, 3);
    zeile->setSpacing(6);
    zeile->addWidget(beschriftung);
    zeile->addWidget(m_feld, 1);
    zeile->addWidget(m_voriger);
    zeile->addWidget(m_naechster);
    zeile->addWidget(m_status);
    zeile->addWidget(m_schliessen);
    QWidget::setTabOrder(m_feld, m_voriger);
    QWidget::setTabOrder(m_voriger, m_naechster);
    QWidget::setTabOrder(m_naechster, m_schliessen);
    m_leiste->hide();

    connect(m_feld, &QLineEdit::textChanged, this, [this] { suchen(); });
    // Scrolled beyond the marked part: the hits there are marked.
    connect(m_txt->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (!findenOffen() || m_treffer.isEmpty())
            return;
        QWidget *vp = m_txt->viewport();
        const int von = m_txt->cursorForPosition(QPoint(0, 0)).position();
        const int bis = m_txt->cursorForPosition(QPoint(vp->width(), vp->height())).position();
        if (von < m_markiertVon || bis > m_markiertBis)
            markieren();
    });
    connect(m_voriger, &QToolButton::clicked, this, [this] { findenWeiter(true); });
    connect(m_naechster, &QToolButton::clicked, this, [this] { findenWeiter(false); });
    connect(m_schliessen, &QToolButton::clicked, this, &Lesehilfen::findenSchliessen);

    const auto taste = [this](QKeyCombination k, bool rueckwaerts) {
        auto *s = new QShortcut(QKeySequence(k), m_hilfe);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, [this, rueckwaerts] {
            if (findenOffen())
                findenWeiter(rueckwaerts);
            else
                findenOeffnen();
        });
    };
    taste(QKeyCombination(Qt::Key_F3), false);
    taste(Qt::SHIFT | Qt::Key_F3, true);
}

bool Lesehilfen::findenOffen() const
{
    return m_leiste && !m_leiste->isHidden();
}

void Lesehilfen::leistePlatzieren()
{
    const QWidget *panel = m_leiste->parentWidget();
    const int hoehe = m_leiste->sizeHint().height();
    m_leiste->setGeometry(0, std::max(panel->height() - hoehe, 0), panel->width(), hoehe);
    m_leiste->raise();
}

void Lesehilfen::findenOeffnen()
{
    if (!findenOffen()) {
        leistePlatzieren();
        m_leiste->show();
        m_sucheAktuell = false;
        suchen();
    }
    m_feld->setFocus(Qt::ShortcutFocusReason);
    m_feld->selectAll();
}

void Lesehilfen::findenSchliessen()
{
    if (!findenOffen())
        return;
    // The window's focus child, also while the window is not the active one.
    const QWidget *fokus = m_leiste->window()->focusWidget();
    const bool fokusDrin = fokus && m_leiste->isAncestorOf(fokus);
    m_leiste->hide();
    m_treffer.clear();
    m_aktuell = -1;
    markieren();
    if (fokusDrin)
        m_txt->setFocus(Qt::OtherFocusReason);
}

QString Lesehilfen::suchText() const
{
    return m_feld ? m_feld->text() : QString();
}

QString Lesehilfen::findenMeldung() const
{
    if (!findenOffen() || suchText().trimmed().isEmpty())
        return QString();
    if (m_treffer.isEmpty())
        return QStringLiteral("nicht gefunden");
    return QStringLiteral("%1 von %2").arg(m_aktuell + 1).arg(m_treffer.size());
}

void Lesehilfen::suchen()
{
    if (!m_sucheAktuell) {
        m_suche.setText(m_txt->document()->toPlainText());
        m_sucheAktuell = true;
    }
    m_treffer = m_suche.finden(suchText());
    m_aktuell = -1;
    if (!m_treffer.isEmpty()) {
        // The first hit at or below the top of the box, so typing does not jump backwards.
        const int oben = m_txt->cursorForPosition(QPoint(0, 0)).position();
        m_aktuell = 0;
        for (int i = 0; i < m_treffer.size(); ++i) {
            if (m_treffer.at(i).anfang >= oben) {
                m_aktuell = i;
                break;
            }
        }
    }
    markieren();
    trefferZeigen();
}

void Lesehilfen::findenWeiter(bool rueckwaerts)
{
    if (!findenOffen()) {
        findenOeffnen();
        return;
    }
    if (m_treffer.isEmpty()) {
        markieren();
        return;
    }
    const int n = int(m_treffer.size());
    m_aktuell = m_aktuell < 0 ? 0 : (m_aktuell + (rueckwaerts ? n - 1 : 1)) % n;
    markieren();
    trefferZeigen();
}

void Lesehilfen::markieren()
{
    QList<QTextEdit::ExtraSelection> alle;
    const QList<QTextEdit::ExtraSelection> vorhanden = m_txt->extraSelections();
    for (const QTextEdit::ExtraSelection &a : vorhanden)
        if (!a.format.hasProperty(FindenMarke))
            alle.append(a);
    QTextDocument *doc = m_txt->document();
    const int ende = doc->characterCount() - 1;
    // Only the hits in and around the visible part are handed to the text box (a single
    // letter may have thousands, each costing on every paint); scrolling marks the others.
    QWidget *vp = m_txt->viewport();
    const int sichtVon = m_txt->cursorForPosition(QPoint(0, 0)).position() - SichtRand;
    const int sichtBis =
        m_txt->cursorForPosition(QPoint(vp->width(), vp->height())).position() + SichtRand;
    const auto erster = std::lower_bound(
        m_treffer.cbegin(), m_treffer.cend(), sichtVon,
        [](const TextSuche::Treffer &t, int pos) { return t.anfang + t.laenge < pos; });
    for (int i = int(erster - m_treffer.cbegin()); i < m_treffer.size(); ++i) {
        const TextSuche::Treffer &t = m_treffer.at(i);
        if (t.anfang > sichtBis)
            break;
        if (t.anfang + t.laenge > ende)
            continue;
        QTextEdit::ExtraSelection a;
        a.cursor = QTextCursor(doc);
        a.cursor.setPosition(t.anfang);
        a.cursor.setPosition(t.anfang + t.laenge, QTextCursor::KeepAnchor);
        const bool aktuell = i == m_aktuell;
        a.format.setBackground(aktuell ? AktuellFarbe : TrefferFarbe);
        a.format.setForeground(aktuell ? QColor(Qt::white) : QColor(Qt::black));
        a.format.setProperty(FindenMarke, true);
        alle.append(a);
    }
    m_txt->setExtraSelections(alle);
    m_markiertVon = sichtVon;
    m_markiertBis = sichtBis;

    const QString meldung = findenMeldung();
    m_status->setText(meldung);
    // "nicht gefunden" stands out by weight, in the bar's own text colour.
    QFont f = m_status->font();
    f.setBold(m_treffer.isEmpty() && !meldung.isEmpty());
    m_status->setFont(f);
    m_voriger->setEnabled(m_treffer.size() > 1);
    m_naechster->setEnabled(m_treffer.size() > 1);
}

void Lesehilfen::trefferZeigen()
{
    if (m_aktuell < 0 || m_aktuell >= m_treffer.size())
        return;
    QTextCursor c(m_txt->document());
    c.setPosition(m_treffer.at(m_aktuell).anfang);
    const QRect r = m_txt->cursorRect(c);
    // The part of the box not covered by the bar.
    QWidget *vp = m_txt->viewport();
    int unten = vp->height();
    if (findenOffen()) {
        const QPoint leisteOben =
            vp->mapFrom(m_leiste->parentWidget(), m_leiste->geometry().topLeft());
        unten = std::clamp(leisteOben.y(), 1, unten);
    }
    if (r.top() < 0 || r.bottom() >= unten) {
        QScrollBar *bar = m_txt->verticalScrollBar();
        bar->setValue(bar->value() + r.top() - unten / 3);
    }
}
