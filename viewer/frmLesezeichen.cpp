// The dialog that manages the bookmarks. See frmLesezeichen.h.
#include "frmLesezeichen.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int NummerRolle = Qt::UserRole + 1;

} // namespace

frmLesezeichen::frmLesezeichen(const QList<LeseEinstellungen::Lesezeichen> &liste, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLesezeichen"));
    setWindowTitle(QStringLiteral("Lesezeichen verwalten"));

    auto *beschriftung = new QLabel(QStringLiteral("&Lesezeichen:"), this);
    m_liste = new QListWidget(this);
    m_liste->setObjectName(QStringLiteral("lstLesezeichen"));
    m_liste->setAccessibleName(QStringLiteral("Lesezeichen"));
    m_liste->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked);
    beschriftung->setBuddy(m_liste);
    for (const LeseEinstellungen::Lesezeichen &l : liste) {
        auto *eintrag = new QListWidgetItem(l.name, m_liste);
        eintrag->setData(NummerRolle, l.nummer);
        eintrag->setToolTip(l.nummer);
        eintrag->setFlags(eintrag->flags() | Qt::ItemIsEditable);
    }
    m_liste->installEventFilter(this);

    const auto knopf = [this](const QString &name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    m_umbenennen = knopf(QStringLiteral("cmdUmbenennen"), QStringLiteral("&Umbenennen"));
    m_hoch = knopf(QStringLiteral("cmdHoch"), QStringLiteral("Nach &oben"));
    m_runter = knopf(QStringLiteral("cmdRunter"), QStringLiteral("Nach u&nten"));
    m_loeschen = knopf(QStringLiteral("cmdLoeschen"), QStringLiteral("&Löschen"));
    connect(m_umbenennen, &QPushButton::clicked, this, &frmLesezeichen::umbenennen);
    connect(m_hoch, &QPushButton::clicked, this, [this] { verschieben(-1); });
    connect(m_runter, &QPushButton::clicked, this, [this] { verschieben(1); });
    connect(m_loeschen, &QPushButton::clicked, this, &frmLesezeichen::loeschen);
    connect(m_liste, &QListWidget::currentRowChanged, this, &frmLesezeichen::knoepfeAktualisieren);

    auto *knoepfe = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    knoepfe->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    knoepfe->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    knoepfe->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    knoepfe->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdAbbrechen"));
    connect(knoepfe, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *spalte = new QVBoxLayout;
    spalte->addWidget(m_umbenennen);
    spalte->addWidget(m_hoch);
    spalte->addWidget(m_runter);
    spalte->addWidget(m_loeschen);
    spalte->addStretch(1);
    auto *mitte = new QHBoxLayout;
    mitte->addWidget(m_liste, 1);
    mitte->addLayout(spalte);
    auto *alles = new QVBoxLayout(this);
    alles->addWidget(beschriftung);
    alles->addLayout(mitte, 1);
    alles->addWidget(knoepfe);

    if (m_liste->count() > 0)
        m_liste->setCurrentRow(0);
    knoepfeAktualisieren();
    resize(460, 320);
}

QList<LeseEinstellungen::Lesezeichen> frmLesezeichen::liste() const
{
    QList<LeseEinstellungen::Lesezeichen> ergebnis;
    for (int i = 0; i < m_liste->count(); ++i) {
        const QListWidgetItem *e = m_liste->item(i);
        const QString nummer = e->data(NummerRolle).toString();
        const QString name = e->text().trimmed();
        ergebnis.append({nummer, name.isEmpty() ? nummer : name});
    }
    return ergebnis;
}

void frmLesezeichen::umbenennen()
{
    if (QListWidgetItem *e = m_liste->currentItem()) {
        m_liste->setFocus();
        m_liste->editItem(e);
    }
}

void frmLesezeichen::verschieben(int richtung)
{
    const int von = m_liste->currentRow();
    const int nach = von + richtung;
    if (von < 0 || nach < 0 || nach >= m_liste->count())
        return;
    QListWidgetItem *e = m_liste->takeItem(von);
    m_liste->insertItem(nach, e);
    m_liste->setCurrentRow(nach);
}

void frmLesezeichen::loeschen()
{
    const int zeile = m_liste->currentRow();
    if (zeile < 0)
        return;
    delete m_liste->takeItem(zeile);
    if (m_liste->count() > 0)
        m_liste->setCurrentRow(std::min(zeile, m_liste->count() - 1));
    knoepfeAktualisieren();
}

void frmLesezeichen::knoepfeAktualisieren()
{
    const int zeile = m_liste->currentRow();
    m_umbenennen->setEnabled(zeile >= 0);
    m_loeschen->setEnabled(zeile >= 0);
    m_hoch->setEnabled(zeile > 0);
    m_runter->setEnabled(zeile >= 0 && zeile < m_liste->count() - 1);
}

bool frmLesezeichen::eventFilter(QObject *watched, QEvent *event)
{
    // While a name is edited, the keys go to the editor, not to the list.
    if (watched == m_liste && event->type() == QEvent::KeyPress) {
        const auto *taste = static_cast<QKeyEvent *>(event);
        if (taste->key() == Qt::Key_Delete) {
            loeschen();
            return true;
        }
        if (taste->modifiers() == Qt::AltModifier &&
            (taste->key() == Qt::Key_Up || taste->key() == Qt::Key_Down)) {
            verschieben(taste->key() == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
