// Tables in sections; see TabellenZerleger.h.
#include "TabellenZerleger.h"

#include <QRegularExpression>

namespace {

QString zellenAnzahl(qsizetype n)
{
    return n == 1 ? QStringLiteral("1 Zelle") : QStringLiteral("%1 Zellen").arg(n);
}

// A separator line: only pipes, dashes, colons and blanks, with at least one dash.
bool istTrennzeile(const QString &zeile)
{
    static const QRegularExpression muster(QStringLiteral("^\\|[-|:\\s]*$"));
    return zeile.contains(QLatin1Char('-')) && muster.match(zeile).hasMatch();
}

} // namespace

QStringList TabellenZerleger::zellenTrennen(const QString &zeile)
{
    QStringList zellen;
    QString zelle;
    bool amTrenner = false; // the last character read was a cell-ending "|"
    const qsizetype n = zeile.size();
    qsizetype i = zeile.startsWith(QLatin1Char('|')) ? 1 : 0;
    while (i < n) {
        const QChar c = zeile[i];
        amTrenner = false;
        if (c == QLatin1Char('\\') && i + 1 < n) {
            zelle += zeile.mid(i, 2);
            i += 2;
        } else if (zeile.mid(i, 2) == QLatin1String("[[")) {
            // A link's "|" separates target and text, not cells; an unclosed link is left to
            // the inline parser, which reports it.
            const qsizetype ende = zeile.indexOf(QLatin1String("]]"), i + 2);
            const qsizetype bis = ende < 0 ? i + 2 : ende + 2;
            zelle += zeile.mid(i, bis - i);
            i = bis;
        } else if (c == QLatin1Char('|')) {
            zellen << zelle.trimmed();
            zelle.clear();
            amTrenner = true;
            ++i;
        } else {
            zelle += c;
            ++i;
        }
    }
    // A closing "|" ends the last cell; without one the rest of the line is the last cell.
    if (!amTrenner || zellen.isEmpty())
        zellen << zelle.trimmed();
    return zellen;
}

bool TabellenZerleger::zerlegen(const QList<InlineZerleger::Zeile> &zeilen, TextBlock &block,
                                int &fehlerZeile, QString &fehlerText)
{
    block.art = TextBlock::Art::Tabelle;
    block.stuecke.clear();
    block.zeilen.clear();
    block.ausrichtung.clear();
    block.kopfzeile = zeilen.size() > 1 && istTrennzeile(zeilen[1].text);
    if (zeilen.isEmpty())
        return true;

    const qsizetype spalten = zellenTrennen(zeilen.first().text).size();
    block.ausrichtung.fill(TextBlock::Ausrichtung::Links, spalten);
    const QString erste =
        block.kopfzeile ? QStringLiteral("die Kopfzeile") : QStringLiteral("die erste Zeile");

    if (block.kopfzeile) {
        const QStringList striche = zellenTrennen(zeilen[1].text);
        if (striche.size() != spalten) {
            fehlerZeile = zeilen[1].nummer;
            fehlerText = QStringLiteral("Trennzeile hat %1, die Kopfzeile %2")
                             .arg(zellenAnzahl(striche.size()))
                             .arg(spalten);
            return false;
        }
        static const QRegularExpression strich(QStringLiteral("^(:?)-+(:?)$"));
        for (qsizetype s = 0; s < spalten; ++s) {
            const auto m = strich.match(QString(striche[s]).remove(QLatin1Char(' ')));
            if (!m.hasMatch()) {
                fehlerZeile = zeilen[1].nummer;
                fehlerText = QStringLiteral("Trennzeile: Spalte %1 „%2“ ist keine Ausrichtung "
                                            "(erwartet „---“, „:--“, „--:“ oder „:-:“)")
                                 .arg(s + 1)
                                 .arg(striche[s]);
                return false;
            }
            const bool links = !m.captured(1).isEmpty();
            const bool rechts = !m.captured(2).isEmpty();
            block.ausrichtung[s] = links && rechts ? TextBlock::Ausrichtung::Mitte
                                   : rechts        ? TextBlock::Ausrichtung::Rechts
                                                   : TextBlock::Ausrichtung::Links;
        }
    }

    for (qsizetype z = 0; z < zeilen.size(); ++z) {
        if (block.kopfzeile && z == 1)
            continue;
        const InlineZerleger::Zeile &quelle = zeilen[z];
        const QStringList texte = zellenTrennen(quelle.text);
        // The cells' markup first: a link left open splits its cell at the link's "|", and
        // the open link is the fault to name, not the cell count that follows from it.
        QList<TextBlock::Zelle> zeile;
        for (const QString &text : texte) {
            QList<TextStueck> laeufe;
            if (!InlineZerleger::zerlegen({{quelle.nummer, text}}, laeufe, fehlerZeile, fehlerText,
                                          QStringLiteral("in der Tabellenzelle")))
                return false;
            zeile << TextBlock::Zelle{block.stuecke.size(), laeufe.size()};
            block.stuecke += laeufe;
        }
        if (zeile.size() != spalten) {
            fehlerZeile = quelle.nummer;
            fehlerText = QStringLiteral("Tabellenzeile hat %1, %2 %3")
                             .arg(zellenAnzahl(zeile.size()), erste)
                             .arg(spalten);
            return false;
        }
        block.zeilen << zeile;
    }
    return true;
}
