// The keyword pane's list box (see StichwortListe.h).
#include "StichwortListe.h"

QVariant StichwortListeModell::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_texte.size())
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_texte.at(index.row());
    if (role == Qt::UserRole)
        return m_daten.at(index.row());
    return QVariant();
}

void StichwortListeModell::leeren()
{
    if (m_texte.isEmpty())
        return;
    beginResetModel();
    m_texte.clear();
    m_daten.clear();
    endResetModel();
}

void StichwortListeModell::hinzufuegen(const QString &text, qint32 daten)
{
    const int n = int(m_texte.size());
    beginInsertRows(QModelIndex(), n, n);
    m_texte.append(text);
    m_daten.append(daten);
    endInsertRows();
}

void StichwortListeModell::setzen(const QList<QString> &texte, const QList<qint32> &daten)
{
    beginResetModel();
    const qsizetype n = std::max<qsizetype>(texte.size() - 1, 0);
    m_texte = texte.mid(1, n);
    m_daten = daten.mid(1, n);
    m_daten.resize(n, 0);
    endResetModel();
}

StichwortListe::StichwortListe(QWidget *parent) : QListView(parent)
{
    m_modell = new StichwortListeModell(this);
    setModel(m_modell);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setLayoutMode(QListView::SinglePass);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &aktuell) {
                if (aktuell.isValid())
                    emit Click();
            });
}

void StichwortListe::Clear()
{
    m_modell->leeren();
}

void StichwortListe::AddItem(const QString &text, qint32 itemData)
{
    m_modell->hinzufuegen(text, itemData);
}

void StichwortListe::Eintraege(const QList<QString> &texte, const QList<qint32> &itemData)
{
    m_modell->setzen(texte, itemData);
}

int StichwortListe::ListIndex() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

void StichwortListe::setListIndex(int i)
{
    if (i < 0 || i >= ListCount()) {
        setCurrentIndex(QModelIndex());
        return;
    }
    setCurrentIndex(m_modell->index(i));
}
