// Kept for the help window until it moves to the database object: the content queries in their
// old form over standardDatenbank(), the lists in arrays of the form 0..n (element 0 empty, row
// k in element k; with no rows or a failure before the rows only element 0). New code uses
// HilfeDatenbank (HilfeDatenbank.h).
#pragma once

#include "HilfeDatenbank.h"

#include <QByteArray>
#include <QList>
#include <QString>

bool KapitelLesen(QList<QString> &Bezeichnung, QList<qint32> &ID, QList<qint32> &Nummer);
bool ThemenLesen(QList<QString> &Bezeichnung, QList<qint32> &ID, QList<qint32> &Nummer,
                 qint32 KapitelID);
bool TexteLesen(QList<QString> &Bezeichnung, QList<qint32> &ID, QList<qint32> &Nummer,
                QList<QString> &Text, qint32 ThemenID);

// The picture with the number Nummer (read as the number at the start of the text). True only
// when the picture exists; when it does not, Bild and Bezeichnung stay as they were.
bool BildLesen(const QString &Nummer, QByteArray &Bild, QString &Bezeichnung);
