// The list box of the keyword pane: entries with a text and a number (item data), an index of
// the selected entry, and a click event that is raised whenever the selection moves to an
// entry, by the user or by code. Keywords arrive by the thousand, so the entries live in a
// model of two arrays under a list view with uniform item sizes, and a whole result is put in
// with one reset.
#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QListView>

class StichwortListeModell : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_texte.size());
    }
    QVariant data(const QModelIndex &index, int role) const override;

    void leeren();
    void hinzufuegen(const QString &text, qint32 daten);
    // Entries 1..n of the arrays (element 0 is unused, as the queries return them).
    void setzen(const QList<QString> &texte, const QList<qint32> &daten);

    QString text(int i) const { return m_texte.value(i); }
    qint32 daten(int i) const { return m_daten.value(i); }

private:
    QList<QString> m_texte;
    QList<qint32> m_daten;
};

class StichwortListe : public QListView
{
    Q_OBJECT

public:
    explicit StichwortListe(QWidget *parent = nullptr);

    void Clear();
    void AddItem(const QString &text, qint32 itemData = 0);
    // Replaces all entries with entries 1..n of the arrays.
    void Eintraege(const QList<QString> &texte, const QList<qint32> &itemData);
    int ListCount() const { return m_modell->rowCount(); }
    // The newest entry's index; -1 when the list is empty.
    int NewIndex() const { return ListCount() - 1; }
    QString List(int i) const { return m_modell->text(i); }
    qint32 ItemData(int i) const { return m_modell->daten(i); }
    // The selected entry; -1 for none. Setting an entry raises Click.
    int ListIndex() const;
    void setListIndex(int i);

signals:
    void Click();

private:
    StichwortListeModell *m_modell;
};
