// The keyword index queries: the keywords that contain a search text, and the sections one
// keyword leads to, each with its display line (section, chapter and topic title separated by
// tabs) and its help number (chapter.topic.text, unpadded). Arrays of the form 0..n.
#pragma once

#include <QList>
#include <QString>

// False without a query when Suchtext is empty.
bool WoerterSuchen(const QString &Suchtext, QList<QString> &Wort, QList<qint32> &ID);
bool TexteZumWort(qint32 IndexID, QList<QString> &Zeile, QList<qint32> &TextID,
                  QList<QString> &Nummer);
