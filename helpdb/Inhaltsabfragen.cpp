// The help window's old query forms over the database object (see Inhaltsabfragen.h).
#include "Inhaltsabfragen.h"

namespace {

// Element 0 empty, then the rows read (all of them, or those before a failure).
template <class Zeile>
bool nullBisN(const Ergebnis<Zeile> &e, QList<QString> &Bezeichnung, QList<qint32> &ID,
              QList<qint32> &Nummer, QList<QString> *Text)
{
    Bezeichnung = QList<QString>(1);
    ID = QList<qint32>(1, 0);
    Nummer = QList<qint32>(1, 0);
    if (Text)
        *Text = QList<QString>(1);
    for (const Zeile &z : e.zeilen) {
        Bezeichnung.append(z.bezeichnung);
        ID.append(z.id);
        Nummer.append(z.nummer);
        if constexpr (std::is_same_v<Zeile, TextZeile>) {
            if (Text)
                Text->append(z.text);
        }
    }
    return e.ok;
}

} // namespace

bool KapitelLesen(QList<QString> &Bezeichnung, QList<qint32> &ID, QList<qint32> &Nummer)
{
    return nullBisN(standardDatenbank().kapitel(), Bezeichnung, ID, Nummer, nullptr);
}

bool ThemenLesen(QList<QString> &Bezeichnung, QList<qint32> &ID, QList<qint32> &Nummer,
                 qint32 KapitelID)
{
    return nullBisN(standardDatenbank().themen(KapitelID), Bezeichnung, ID, Nummer, nullptr);
}

bool TexteLesen(QList<QString> &Bezeichnung, QList<qint32> &ID, QList<qint32> &Nummer,
                QList<QString> &Text, qint32 ThemenID)
{
    return nullBisN(standardDatenbank().texte(ThemenID), Bezeichnung, ID, Nummer, &Text);
}

bool BildLesen(const QString &Nummer, QByteArray &Bild, QString &Bezeichnung)
{
    const Ergebnis<BildZeile> e = standardDatenbank().bild(Nummer);
    if (!e.ok || e.zeilen.isEmpty())
        return false;
    Bild = e.zeilen.first().bild;
    Bezeichnung = e.zeilen.first().bezeichnung;
    return true;
}
