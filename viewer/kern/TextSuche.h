// Finding a text in a section the way a German reader types it: without regard to case, and
// with the umlauts and their transcriptions taken as equal (ä = ae, ö = oe, ü = ue, ß = ss),
// as are letters with other accents and their base letter (é = e). Both the text and the
// search are brought into one comparable form; a hit must begin and end on whole characters
// of the text, so "e" does not find the second half of an "ä".
#pragma once

#include <QList>
#include <QString>

class TextSuche
{
public:
    struct Treffer
    {
        int anfang; // position in the text
        int laenge; // characters of the text
        friend bool operator==(const Treffer &, const Treffer &) = default;
    };

    // Prepares a text for searching (its comparable form and the way back to positions).
    explicit TextSuche(const QString &text = QString());
    void setText(const QString &text);

    // Every occurrence of suche, in text order and not overlapping; none for an empty search
    // or one that is blank only.
    QList<Treffer> finden(const QString &suche) const;

    // The comparable form of a text (lower case, umlauts written out, accents dropped).
    static QString vergleichsform(const QString &text);

private:
    QString m_form;
    // For each character of m_form, the position of the text character it comes from; one
    // more element for the end.
    QList<int> m_herkunft;
};
