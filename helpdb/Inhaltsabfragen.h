// The content queries: all chapters, the topics of a chapter, the sections of a topic, and one
// picture. The lists come back in arrays of the form 0..n: element 0 empty, row k in element k;
// with no rows (or a failure before the rows) only element 0.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

bool KapitelLesen(QList<QString> &Bezeichnung, QList<qint32> &ID, QList<qint32> &Nummer);
bool ThemenLesen(QList<QString> &Bezeichnung, QList<qint32> &ID, QList<qint32> &Nummer,
                 qint32 KapitelID);
bool TexteLesen(QList<QString> &Bezeichnung, QList<qint32> &ID, QList<qint32> &Nummer,
                QList<QString> &Text, qint32 ThemenID);

// The picture with the number Nummer (read as the number at the start of the text). Bild gets
// the bytes of the stored archive. True only when the picture exists; when it does not, Bild
// and Bezeichnung stay as they were.
bool BildLesen(const QString &Nummer, QByteArray &Bild, QString &Bezeichnung);

// The numeric value at the start of a text, written as the SQL number: leading blanks skipped,
// optional sign, digits and a decimal fraction; nothing numeric gives "0".
QString zahlAmAnfang(const QString &text);
