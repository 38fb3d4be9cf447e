// The scroll list of the component library (see TolvarScrollListe.h).
#include "TolvarScrollListe.h"

#include "Arbeitsbereich.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>
#include <functional>

// The rows as plain arrays. Rows appended beyond `m_gemeldet` are not yet known to the view:
// rowCount() reports only the announced ones until melden() announces the rest in one step.
class TolvarScrollListeModell : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_gemeldet;
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_ueberschriften.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_gemeldet)
            return QVariant();
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return zelle(index.row(), index.column());
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(ausrichtung(index.column()));
        return QVariant();
    }

    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (o != Qt::Horizontal || section < 0 || section >= m_ueberschriften.size())
            return QVariant();
        if (role == Qt::DisplayRole)
            return m_ueberschriften.at(section);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(ausrichtung(section));
        return QVariant();
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    void spaltenSetzen(int n)
    {
        n = std::max(n, 0);
        beginResetModel();
        m_ueberschriften.resize(n);
        m_ausrichtungen.resize(n, 0);
        endResetModel();
    }
    void ueberschriftSetzen(int spalte, const QString &text)
    {
        m_ueberschriften[spalte] = text;
        emit headerDataChanged(Qt::Horizontal, spalte, spalte);
    }
    void ausrichtungSetzen(int spalte, int wert)
    {
        m_ausrichtungen[spalte] = wert;
        emit headerDataChanged(Qt::Horizontal, spalte, spalte);
        if (m_gemeldet > 0)
            emit dataChanged(index(0, spalte), index(m_gemeldet - 1, spalte));
    }

    void leeren()
    {
        beginResetModel();
        m_zellen.clear();
        m_ids.clear();
        m_gemeldet = 0;
        endResetModel();
    }

    void anhaengen(const QString &zeile, qint32 id)
    {
        const int spalten = int(m_ueberschriften.size());
        qsizetype von = 0;
        for (int s = 0; s < spalten; ++s) {
            if (von < 0) {
                m_zellen.append(QString());
                continue;
            }
            const qsizetype bis = zeile.indexOf(u'\t', von);
            m_zellen.append(zeile.mid(von, bis < 0 ? -1 : bis - von));
            von = bis < 0 ? -1 : bis + 1;
        }
        m_ids.append(id);
    }

    // Announces the rows appended since the last announcement.
    void melden()
    {
        const int n = int(m_ids.size());
        if (n == m_gemeldet)
            return;
        beginInsertRows(QModelIndex(), m_gemeldet, n - 1);
        m_gemeldet = n;
        endInsertRows();
    }

    int anzahl() const { return int(m_ids.size()); }
    QString zelle(int zeile, int spalte) const
    {
        const int spalten = int(m_ueberschriften.size());
        if (zeile < 0 || zeile >= anzahl() || spalte < 0 || spalte >= spalten)
            return QString();
        return m_zellen.at(qsizetype(zeile) * spalten + spalte);
    }
    qint32 id(int zeile) const { return zeile >= 0 && zeile < anzahl() ? m_ids.at(zeile) : 0; }
    QString ueberschrift(int s) const { return m_ueberschriften.value(s); }
    int ausrichtungWert(int s) const { return m_ausrichtungen.value(s); }

private:
    Qt::Alignment ausrichtung(int spalte) const
    {
        const int w = m_ausrichtungen.value(spalte);
        if (w < 0 || w > 8)
            return Qt::AlignLeft | Qt::AlignVCenter;
        static const Qt::Alignment horizontal[3] = {Qt::AlignLeft, Qt::AlignHCenter,
                                                    Qt::AlignRight};
        static const Qt::Alignment vertikal[3] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
        return horizontal[w / 3] | vertikal[w % 3];
    }

    QList<QString> m_ueberschriften;
    QList<int> m_ausrichtungen;
    QList<QString> m_zellen; // row-major, columnCount() cells per row
    QList<qint32> m_ids;
    int m_gemeldet = 0;
};

namespace {

// The table view with the grid's activation: a double click on a row and Enter on the current
// row; both are taken here so that Enter does not reach the window's default button as well.
class ScrollListeAnsicht : public QTableView
{
public:
    explicit ScrollListeAnsicht(QWidget *parent) : QTableView(parent) {}

    std::function<void(int)> aktiviert;

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        QTableView::mouseDoubleClickEvent(event);
        if (event->button() != Qt::LeftButton)
            return;
        const QModelIndex i = indexAt(event->position().toPoint());
        if (i.isValid() && aktiviert)
            aktiviert(i.row());
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            currentIndex().isValid()) {
            event->accept();
            if (aktiviert)
                aktiviert(currentIndex().row());
            return;
        }
        QTableView::keyPressEvent(event);
    }
};

} // namespace

TolvarScrollListe::TolvarScrollListe(QWidget *parent) : QWidget(parent)
{
    auto *ansicht = new ScrollListeAnsicht(this);
    m_ansicht = ansicht;
    m_ansicht->setObjectName(QStringLiteral("ansicht"));
    m_modell = new TolvarScrollListeModell(this);
    m_ansicht->setModel(m_modell);
    m_ansicht->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_ansicht->setSelectionMode(QAbstractItemView::SingleSelection);
    m_ansicht->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_ansicht->setWordWrap(false);
    m_ansicht->setTextElideMode(Qt::ElideRight);
    m_ansicht->setAlternatingRowColors(false);
    m_ansicht->setShowGrid(true);
    m_ansicht->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Tab and Shift+Tab move to the window's next and previous control, as in every other
    // control of a dialog; the arrow keys move within the grid.
    m_ansicht->setTabKeyNavigation(false);
    // No fixed column; every row has the same height, so the view never measures rows.
    QHeaderView *zeilen = m_ansicht->verticalHeader();
    zeilen->setVisible(false);
    zeilen->setSectionResizeMode(QHeaderView::Fixed);
    zeilenHoeheSetzen();
    QHeaderView *kopf = m_ansicht->horizontalHeader();
    kopf->setSectionResizeMode(QHeaderView::Interactive);
    kopf->setStretchLastSection(true); // a grid wider than its columns shows no empty strip
    kopf->setHighlightSections(false);
    kopf->setSectionsClickable(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_ansicht);
    setFocusProxy(m_ansicht);

    ansicht->aktiviert = [this](int zeile) { emit ZeileAktiviert(zeile); };
}

void TolvarScrollListe::zeilenHoeheSetzen()
{
    m_ansicht->verticalHeader()->setDefaultSectionSize(m_ansicht->fontMetrics().height() + 4);
}

void TolvarScrollListe::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        zeilenHoeheSetzen();
}

void TolvarScrollListe::setSpalten(int anzahl)
{
    m_modell->spaltenSetzen(anzahl);
    m_breiten.resize(m_modell->columnCount(), -1);
    for (int s = 0; s < m_breiten.size(); ++s)
        if (m_breiten.at(s) >= 0)
            setSpaltenBreite(s, m_breiten.at(s));
}

int TolvarScrollListe::Spalten() const
{
    return m_modell->columnCount();
}

void TolvarScrollListe::setUeberschrift(int spalte, const QString &text)
{
    if (spalte >= 0 && spalte < Spalten())
        m_modell->ueberschriftSetzen(spalte, text);
}

QString TolvarScrollListe::Ueberschrift(int spalte) const
{
    return m_modell->ueberschrift(spalte);
}

void TolvarScrollListe::setSpaltenBreite(int spalte, double twips)
{
    if (spalte < 0 || spalte >= Spalten())
        return;
    m_breiten[spalte] = std::max(twips, 0.0);
    m_ansicht->horizontalHeader()->resizeSection(
        spalte, int(std::lround(twipsZuPixelX(m_breiten.at(spalte)))));
}

double TolvarScrollListe::SpaltenBreite(int spalte) const
{
    if (spalte < 0 || spalte >= Spalten())
        return 0;
    return pixelZuTwipsX(m_ansicht->horizontalHeader()->sectionSize(spalte));
}

void TolvarScrollListe::setAusrichtung(int spalte, int wert)
{
    if (spalte >= 0 && spalte < Spalten())
        m_modell->ausrichtungSetzen(spalte, wert);
}

int TolvarScrollListe::Ausrichtung(int spalte) const
{
    return m_modell->ausrichtungWert(spalte);
}

void TolvarScrollListe::Leeren()
{
    m_modell->leeren();
}

void TolvarScrollListe::ZeileHinzufuegen(const QString &zeile, qint32 id)
{
    m_modell->anhaengen(zeile, id);
    if (m_aktualisieren) {
        m_modell->melden();
        aktuelleZeileSichern();
    }
}

int TolvarScrollListe::Anzahl() const
{
    return m_modell->anzahl();
}

int TolvarScrollListe::AktuelleZeile() const
{
    const QModelIndex i = m_ansicht->currentIndex();
    return i.isValid() ? i.row() : -1;
}

void TolvarScrollListe::setAktuelleZeile(int zeile)
{
    if (zeile < 0 || zeile >= m_modell->rowCount())
        return;
    m_ansicht->setCurrentIndex(m_modell->index(zeile, 0));
}

QString TolvarScrollListe::Zelle(int zeile, int spalte) const
{
    return m_modell->zelle(zeile, spalte);
}

qint32 TolvarScrollListe::ZeilenID(int zeile) const
{
    return m_modell->id(zeile);
}

void TolvarScrollListe::setBildschirmAktualisierung(bool an)
{
    m_aktualisieren = an;
    m_ansicht->setUpdatesEnabled(an);
    if (an) {
        m_modell->melden();
        aktuelleZeileSichern();
    }
}

void TolvarScrollListe::aktuelleZeileSichern()
{
    // A filled grid always has a current row, so that Enter and "show" work without a click.
    if (!m_ansicht->currentIndex().isValid() && m_modell->rowCount() > 0)
        m_ansicht->setCurrentIndex(m_modell->index(0, 0));
}
