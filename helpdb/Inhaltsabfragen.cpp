// The content queries over the query pattern (see Inhaltsabfragen.h).
#include "Inhaltsabfragen.h"

#include "Abfragemuster.h"
#include "Datenbank.h"

namespace {

template <typename T> void aufEinElement(QList<T> &liste)
{
    liste = QList<T>(1, T());
}

template <typename T> void aufGroesse(QList<T> &liste, int n)
{
    liste = QList<T>(n + 1, T());
}

// The three lists of chapters and topics, from a query whose rows have Bezeichnung, ID, Nummer.
// The chapter, topic and text queries share their columns; the text query adds "Text".
bool listeLesen(const QString &sql, QList<QString> &Bezeichnung, QList<qint32> &ID,
                QList<qint32> &Nummer, QList<QString> *Text = nullptr)
{
    aufEinElement(Bezeichnung);
    aufEinElement(ID);
    aufEinElement(Nummer);
    if (Text)
        aufEinElement(*Text);
    if (!DatenbankPruefen())
        return false;
    return Abfragemuster::ausfuehren(
        sql,
        [&](int n) {
            aufGroesse(Bezeichnung, n);
            aufGroesse(ID, n);
            aufGroesse(Nummer, n);
            if (Text)
                aufGroesse(*Text, n);
        },
        [&](const Datensatzgruppe &rs, int i) {
            return rs.text(i, QStringLiteral("Bezeichnung"), &Bezeichnung[i]) &&
                   rs.zahl(i, QStringLiteral("ID"), &ID[i]) &&
                   rs.zahl(i, QStringLiteral("Nummer"), &Nummer[i]) &&
                   (!Text || rs.text(i, QStringLiteral("Text"), &(*Text)[i]));
        });
}

} // namespace

bool KapitelLesen(QList<QString> &Bezeichnung, QList<qint32> &ID, QList<qint32> &Nummer)
{
    return listeLesen(QStringLiteral("SELECT * FROM Kapitel ORDER BY lfdNummer"), Bezeichnung, ID,
                      Nummer);
}

bool ThemenLesen(QList<QString> &Bezeichnung, QList<qint32> &ID, QList<qint32> &Nummer,
                 qint32 KapitelID)
{
    return listeLesen(QStringLiteral("SELECT * FROM Themen WHERE KapitelID = ") +
                          QString::number(KapitelID) + QStringLiteral(" ORDER BY lfdNummer"),
                      Bezeichnung, ID, Nummer);
}

bool TexteLesen(QList<QString> &Bezeichnung, QList<qint32> &ID, QList<qint32> &Nummer,
                QList<QString> &Text, qint32 ThemenID)
{
    return listeLesen(QStringLiteral("SELECT * FROM Texte WHERE ThemenID = ") +
                          QString::number(ThemenID) + QStringLiteral(" ORDER BY lfdNummer"),
                      Bezeichnung, ID, Nummer, &Text);
}

QString zahlAmAnfang(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r'))
        ++i;
    QString zahl;
    if (i < n && (text[i] == u'-' || text[i] == u'+'))
        zahl += text[i++];
    qsizetype ziffern = 0;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') {
        zahl += text[i++];
        ++ziffern;
    }
    if (i < n && text[i] == u'.') {
        QString bruch;
        ++i;
        while (i < n && text[i] >= u'0' && text[i] <= u'9')
            bruch += text[i++];
        ziffern += bruch.size();
        if (!bruch.isEmpty())
            zahl += u'.' + bruch;
    }
    if (ziffern == 0)
        return QStringLiteral("0");
    bool ok = false;
    const double wert = zahl.toDouble(&ok);
    if (!ok)
        return QStringLiteral("0");
    // Whole values are written without a fraction, other values as the shortest exact form;
    // either way only digits, a sign and a point reach the SQL text.
    if (wert == double(qint64(wert)) && qAbs(wert) < 1e15)
        return QString::number(qint64(wert));
    return QString::number(wert, 'g', 17);
}

bool BildLesen(const QString &Nummer, QByteArray &Bild, QString &Bezeichnung)
{
    if (!DatenbankPruefen())
        return false;
    const QString sql =
        QStringLiteral("SELECT * FROM Bilder WHERE Nummer = ") + zahlAmAnfang(Nummer);
    bool gefunden = false;
    const bool gelaufen = Abfragemuster::ausfuehren(
        sql, [](int) {},
        [&](const Datensatzgruppe &rs, int i) {
            // Only the first row counts; further pictures with the same number are ignored.
            if (i > 1)
                return true;
            if (!rs.bytes(i, QStringLiteral("Bild"), &Bild) ||
                !rs.text(i, QStringLiteral("Bezeichnung"), &Bezeichnung))
                return false;
            gefunden = true;
            return true;
        });
    return gelaufen && gefunden;
}
