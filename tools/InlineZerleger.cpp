// Inline markup of paragraphs; see InlineZerleger.h.
#include "InlineZerleger.h"

#include <QRegularExpression>

namespace {

struct Zustand
{
    bool fett = false;
    bool kursiv = false;
    bool unterstrichen = false;
    int fettZeile = 0;
    int kursivZeile = 0;
    int unterstrichenZeile = 0;
};

bool istEscapebar(QChar c)
{
    return QStringLiteral("\\*/_[]|{}").contains(c);
}

} // namespace

bool InlineZerleger::zerlegen(const QList<Zeile> &zeilen, QList<TextStueck> &stuecke,
                              int &fehlerZeile, QString &fehlerText, const QString &bereich)
{
    // Join the lines with a blank and remember where each line starts, so that a position in
    // the joined text can be traced back to its source line.
    QString text;
    QList<int> anfaenge;
    for (const Zeile &z : zeilen) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        anfaenge << int(text.size());
        text += z.text;
    }
    auto zeileBei = [&](qsizetype pos) {
        int i = 0;
        while (i + 1 < anfaenge.size() && anfaenge[i + 1] <= pos)
            ++i;
        return zeilen.isEmpty() ? 0 : zeilen[i].nummer;
    };

    // The visible text as the help will see it (links as their text between two markers),
    // with the source position of each character, for the check of reserved pairs below.
    QString sichtbar;
    QList<qsizetype> quellPos;

    Zustand z;
    TextStueck aktuell;
    aktuell.zeile = zeileBei(0);
    auto abschliessen = [&](qsizetype naechstePos) {
        if (!aktuell.text.isEmpty())
            stuecke << aktuell;
        aktuell = TextStueck();
        aktuell.fett = z.fett;
        aktuell.kursiv = z.kursiv;
        aktuell.unterstrichen = z.unterstrichen;
        aktuell.zeile = zeileBei(naechstePos);
    };

    static const QRegularExpression textZiel(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d\\d$"));
    static const QRegularExpression markenZiel(
        QStringLiteral("^#(%1)$").arg(QLatin1String(markenMuster)));
    static const QRegularExpression bildZiel(QStringLiteral("^Bild\\s+(\\d{1,5})$"),
                                             QRegularExpression::CaseInsensitiveOption);

    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        const QChar next = i + 1 < n ? text[i + 1] : QChar();
        if (c == QLatin1Char('\\') && istEscapebar(next)) {
            aktuell.text += next;
            sichtbar += next;
            quellPos << i;
            i += 2;
            continue;
        }
        if (c == QLatin1Char('*') && next == QLatin1Char('*')) {
            abschliessen(i + 2);
            z.fett = !z.fett;
            z.fettZeile = zeileBei(i);
            aktuell.fett = z.fett;
            i += 2;
            continue;
        }
        if (c == QLatin1Char('/') && next == QLatin1Char('/') &&
            !(i > 0 && text[i - 1] == QLatin1Char(':'))) {
            abschliessen(i + 2);
            z.kursiv = !z.kursiv;
            z.kursivZeile = zeileBei(i);
            aktuell.kursiv = z.kursiv;
            i += 2;
            continue;
        }
        if (c == QLatin1Char('_') && next == QLatin1Char('_')) {
            abschliessen(i + 2);
            z.unterstrichen = !z.unterstrichen;
            z.unterstrichenZeile = zeileBei(i);
            aktuell.unterstrichen = z.unterstrichen;
            i += 2;
            continue;
        }
        if (c == QLatin1Char('[') && next == QLatin1Char('[')) {
            const qsizetype ende = text.indexOf(QStringLiteral("]]"), i + 2);
            if (ende < 0) {
                fehlerZeile = zeileBei(i);
                fehlerText = QStringLiteral("Link „[[“ wird nicht mit „]]“ geschlossen");
                return false;
            }
            const QString inhalt = text.mid(i + 2, ende - i - 2);
            const qsizetype strich = inhalt.indexOf(QLatin1Char('|'));
            const QString ziel = (strich < 0 ? inhalt : inhalt.left(strich)).trimmed();
            const QString linkText = strich < 0 ? QString() : inhalt.mid(strich + 1).trimmed();
            const auto marke = markenZiel.match(ziel);
            if (strich < 0 && !marke.hasMatch()) {
                fehlerZeile = zeileBei(i);
                fehlerText = QStringLiteral("Link „[[%1]]“ ohne „|“: erwartet wird "
                                            "[[KK.TT.XX|Linktext]], [[#marke]] oder "
                                            "[[Bild N|Linktext]]")
                                 .arg(inhalt);
                return false;
            }
            abschliessen(i);
            TextStueck link = aktuell;
            link.text = linkText;
            if (marke.hasMatch()) {
                // Resolved to the section's number (and, without a link text, its title) once
                // every file is read.
                link.verweis = TextStueck::Verweis::Text;
                link.marke = marke.captured(1).toLower();
                link.ziel = QLatin1Char('#') + link.marke;
            } else if (textZiel.match(ziel).hasMatch()) {
                link.verweis = TextStueck::Verweis::Text;
                link.ziel = ziel;
            } else if (const auto m = bildZiel.match(ziel); m.hasMatch()) {
                link.verweis = TextStueck::Verweis::Bild;
                link.ziel = QString::number(m.captured(1).toInt());
            } else {
                fehlerZeile = zeileBei(i);
                fehlerText = QStringLiteral("ungültiges Linkziel „%1“: erwartet wird KK.TT.XX "
                                            "(je zwei Ziffern), #marke oder „Bild N“")
                                 .arg(ziel);
                return false;
            }
            if (linkText.isEmpty() && link.marke.isEmpty()) {
                fehlerZeile = zeileBei(i);
                fehlerText = QStringLiteral("Link auf „%1“ ohne Linktext").arg(ziel);
                return false;
            }
            stuecke << link;
            sichtbar += QChar(1) + linkText + QChar(1);
            for (qsizetype k = 0; k < linkText.size() + 2; ++k)
                quellPos << i;
            i = ende + 2;
            abschliessen(i);
            continue;
        }
        aktuell.text += c;
        sichtbar += c;
        quellPos << i;
        ++i;
    }
    abschliessen(n);

    if (z.fett || z.kursiv || z.unterstrichen) {
        if (z.fett) {
            fehlerZeile = z.fettZeile;
            fehlerText = QStringLiteral("Auszeichnung „**“ wird %1 nicht geschlossen").arg(bereich);
        } else if (z.kursiv) {
            fehlerZeile = z.kursivZeile;
            fehlerText = QStringLiteral("Auszeichnung „//“ wird %1 nicht geschlossen").arg(bereich);
        } else {
            fehlerZeile = z.unterstrichenZeile;
            fehlerText = QStringLiteral("Auszeichnung „__“ wird %1 nicht geschlossen").arg(bereich);
        }
        return false;
    }

    // The help finds its links by "{T" and "{P" in the visible text, so these pairs may appear
    // nowhere else: not in plain text, not across two runs, not in a link text.
    for (const QString &reserviert : {QStringLiteral("{T"), QStringLiteral("{P")}) {
        const qsizetype pos = sichtbar.indexOf(reserviert);
        if (pos >= 0) {
            fehlerZeile = zeileBei(quellPos[pos]);
            fehlerText = QStringLiteral("„%1“ ist für die Linkmarkierung reserviert und darf "
                                        "nicht im Text stehen")
                             .arg(reserviert);
            return false;
        }
    }
    return true;
}
