// The keyword index queries over the query pattern (see Stichwortabfragen.h).
#include "Stichwortabfragen.h"

#include "Abfragemuster.h"
#include "Datenbank.h"
#include "Routinen.h"

bool WoerterSuchen(const QString &Suchtext, QList<QString> &Wort, QList<qint32> &ID)
{
    Wort = QList<QString>(1);
    ID = QList<qint32>(1, 0);
    if (!DatenbankPruefen())
        return false;
    if (Suchtext.isEmpty())
        return false;
    // SuchMuster turns every quote into a bracket class, so the text cannot end the literal.
    const QString sql = QStringLiteral("SELECT * FROM WörterIndex ") +
                        QStringLiteral("WHERE Wort LIKE ") + SuchMuster(Suchtext, true, true) +
                        QStringLiteral(" ") + QStringLiteral("ORDER BY Wort");
    return Abfragemuster::ausfuehren(
        sql,
        [&](int n) {
            Wort = QList<QString>(n + 1);
            ID = QList<qint32>(n + 1, 0);
        },
        [&](const Datensatzgruppe &rs, int i) {
            return rs.text(i, QStringLiteral("Wort"), &Wort[i]) &&
                   rs.zahl(i, QStringLiteral("ID"), &ID[i]);
        });
}

bool TexteZumWort(qint32 IndexID, QList<QString> &Zeile, QList<qint32> &TextID,
                  QList<QString> &Nummer)
{
    Zeile = QList<QString>(1);
    TextID = QList<qint32>(1, 0);
    Nummer = QList<QString>(1);
    if (!DatenbankPruefen())
        return false;
    const QString sql =
        QStringLiteral("SELECT Texte.*, Kapitel.*, Themen.* ") +
        QStringLiteral("FROM Kapitel INNER JOIN (Themen INNER JOIN (Texte INNER JOIN "
                       "ZuordnungIndex ON Texte.ID = ZuordnungIndex.TextID) ON Themen.ID "
                       "= Texte.ThemenID) ON Kapitel.ID = Themen.KapitelID ") +
        QStringLiteral("WHERE ZuordnungIndex.IndexID = ") + QString::number(IndexID) +
        QStringLiteral(" ") + QStringLiteral("ORDER BY Texte.Bezeichnung");
    return Abfragemuster::ausfuehren(
        sql,
        [&](int n) {
            Zeile = QList<QString>(n + 1);
            TextID = QList<qint32>(n + 1, 0);
            Nummer = QList<QString>(n + 1);
        },
        [&](const Datensatzgruppe &rs, int i) {
            // Empty titles and numbers contribute nothing; the separators stay.
            QString text, kapitel, thema, nk, nt, nx;
            if (!rs.textOderLeer(i, QStringLiteral("Texte.Bezeichnung"), &text) ||
                !rs.textOderLeer(i, QStringLiteral("Kapitel.Bezeichnung"), &kapitel) ||
                !rs.textOderLeer(i, QStringLiteral("Themen.Bezeichnung"), &thema))
                return false;
            Zeile[i] = text + u'\t' + kapitel + u'\t' + thema;
            if (!rs.textOderLeer(i, QStringLiteral("Kapitel.Nummer"), &nk) ||
                !rs.textOderLeer(i, QStringLiteral("Themen.Nummer"), &nt) ||
                !rs.textOderLeer(i, QStringLiteral("Texte.Nummer"), &nx))
                return false;
            Nummer[i] = nk + u'.' + nt + u'.' + nx;
            return rs.zahl(i, QStringLiteral("Texte.ID"), &TextID[i]);
        });
}
