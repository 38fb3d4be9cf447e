// The scroll list of the component library: a read-only grid of rows and columns. A window sets
// its columns, headings, widths (twips) and alignments when it builds itself; rows are appended
// from display lines whose columns are separated by tab characters, each with a 32-bit number
// (the ID of what the row stands for). The user moves the current row with mouse and keys and
// activates a row by a double click or Enter, which raises ZeileAktiviert. Tab and Shift+Tab
// leave the grid for the next or previous control of the window.
//
// Built for many rows: the rows live in a model of plain arrays shown by a table view with
// one fixed row height and no widget per row. With the screen update switched off, appended
// rows wait in the model and are announced to the view in one step when it is switched on.
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QWidget>

class QTableView;
class TolvarScrollListeModell;

class TolvarScrollListe : public QWidget
{
    Q_OBJECT

public:
    explicit TolvarScrollListe(QWidget *parent = nullptr);

    // Columns (design time): their number, headings, widths in twips and alignments
    // (0 left top, 1 left centre, 2 left bottom, 3 centre top, 4 centre, 5 centre bottom,
    // 6 right top, 7 right centre, 8 right bottom).
    void setSpalten(int anzahl);
    int Spalten() const;
    void setUeberschrift(int spalte, const QString &text);
    QString Ueberschrift(int spalte) const;
    void setSpaltenBreite(int spalte, double twips);
    double SpaltenBreite(int spalte) const; // twips
    void setAusrichtung(int spalte, int wert);
    int Ausrichtung(int spalte) const;

    // Removes all rows.
    void Leeren();
    // Appends a row: the tab-separated pieces of zeile fill the columns from the left (pieces
    // beyond the last column are dropped, missing ones stay empty); id is kept with the row.
    void ZeileHinzufuegen(const QString &zeile, qint32 id);
    // Number of rows, and the current row (0-based, -1 when there is none).
    int Anzahl() const;
    int AktuelleZeile() const;
    void setAktuelleZeile(int zeile);
    // The text of a cell and the number of a row; empty and 0 outside the rows.
    QString Zelle(int zeile, int spalte) const;
    qint32 ZeilenID(int zeile) const;

    // Screen updates: while off, appended rows are collected and the view is not touched;
    // switching on shows them all at once.
    void setBildschirmAktualisierung(bool an);
    bool BildschirmAktualisierung() const { return m_aktualisieren; }

    QTableView *ansicht() const { return m_ansicht; }

signals:
    // The user activated a row (double click on it, or Enter while the grid has the focus).
    void ZeileAktiviert(int zeile);

protected:
    void changeEvent(QEvent *event) override;

private:
    void aktuelleZeileSichern();
    void zeilenHoeheSetzen();

    QTableView *m_ansicht = nullptr;
    TolvarScrollListeModell *m_modell = nullptr;
    QList<double> m_breiten;
    bool m_aktualisieren = true;
};
