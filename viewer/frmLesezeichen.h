// The dialog "Lesezeichen verwalten": the bookmarks in their order, to rename (F2 or
// "Umbenennen"), move up and down, and delete (Entf or "Löschen"). OK takes the changed list,
// Abbrechen or Esc leaves it.
#pragma once

#include "LeseEinstellungen.h"

#include <QDialog>

class QListWidget;
class QPushButton;

class frmLesezeichen : public QDialog
{
    Q_OBJECT

public:
    frmLesezeichen(const QList<LeseEinstellungen::Lesezeichen> &liste, QWidget *parent);

    // The list as it stands in the dialog (names trimmed; an empty name becomes the number).
    QList<LeseEinstellungen::Lesezeichen> liste() const;
    QListWidget *lstLesezeichen() const { return m_liste; }

    void umbenennen();
    void verschieben(int richtung);
    void loeschen();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void knoepfeAktualisieren();

    QListWidget *m_liste = nullptr;
    QPushButton *m_umbenennen = nullptr;
    QPushButton *m_hoch = nullptr;
    QPushButton *m_runter = nullptr;
    QPushButton *m_loeschen = nullptr;
};
