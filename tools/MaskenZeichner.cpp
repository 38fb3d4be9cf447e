// Mock screens for the help pictures; see MaskenZeichner.h.
#include "MaskenZeichner.h"

#include <QFont>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QList>
#include <QPainter>
#include <QRegularExpression>
#include <QStringList>

namespace {

struct Element
{
    enum class Art { Feld, Auswahl, Haken, Text, Tabelle, Knoepfe };
    Element(Art a, const QString &b, const QString &w) : art(a), beschriftung(b), wert(w) {}
    Art art;
    QString beschriftung;
    QString wert;
    bool angehakt = false;
    QStringList spalten;
    QList<QStringList> zeilen;
    int quellZeile = 0;          // line of the description
    QList<int> zeilenQuellZeile; // line of each row of a grid
};

// Colours of a classic, tidy Windows dialog.
const QColor titelLinks(0x0A, 0x24, 0x6A);
const QColor titelRechts(0xA6, 0xCA, 0xF0);
const QColor flaeche(0xF0, 0xF0, 0xF0);
const QColor schatten(0xA0, 0xA0, 0xA0);
const QColor dunkel(0x69, 0x69, 0x69);
const QColor gitter(0xD0, 0xD0, 0xD0);

constexpr int aussen = 12; // margin of the client area
constexpr int titelHoehe = 26;
constexpr int zeilenHoehe = 24;
constexpr int feldHoehe = 21;

QFont schrift(int pixel, bool fett = false)
{
    QFont f;
    f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                   QStringLiteral("Arial")});
    f.setPixelSize(pixel);
    f.setBold(fett);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QStringList teile(const QString &wert)
{
    QStringList aus = wert.split(QLatin1Char('|'));
    for (QString &s : aus)
        s = s.trimmed();
    return aus;
}

// A field sunken into the dialog: dark edge top and left, light edge bottom and right.
void versenkt(QPainter &p, const QRect &r, const QColor &innen)
{
    p.fillRect(r, innen);
    p.setPen(schatten);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(Qt::white);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setPen(dunkel);
    p.drawLine(r.topLeft() + QPoint(1, 1), r.topRight() + QPoint(-1, 1));
    p.drawLine(r.topLeft() + QPoint(1, 1), r.bottomLeft() + QPoint(1, -1));
}

// A raised button face.
void erhaben(QPainter &p, const QRect &r, bool standard)
{
    p.fillRect(r, QColor(0xE4, 0xE4, 0xE4));
    p.setPen(Qt::white);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(schatten);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    if (standard) {
        p.setPen(Qt::black);
        p.drawRect(r.adjusted(-1, -1, 0, 0));
    }
}

bool istZahl(const QString &s)
{
    // Amounts and quantities are right-aligned in a grid; dates are not.
    static const QRegularExpression zahl(QStringLiteral("^[-+]?[\\d.]+(,\\d+)?\\s*(€|%)?$"));
    static const QRegularExpression datum(QStringLiteral("^\\d\\d?\\.\\d\\d?\\.\\d{2,4}$"));
    return zahl.match(s).hasMatch() && !datum.match(s).hasMatch();
}

// Draws the grid down to bisY at most; returns the number of rows shown whole.
qsizetype zeichneTabelle(QPainter &p, const Element &e, int x, int &y, int breite, int bisY)
{
    const QFontMetrics fm(p.font());
    QFont fett = p.font();
    fett.setBold(true);
    const QFontMetrics fettMetrik(fett);
    const int spaltenZahl = int(e.spalten.size());
    QList<int> bedarf(spaltenZahl, 0);
    for (int s = 0; s < spaltenZahl; ++s) {
        bedarf[s] = fettMetrik.horizontalAdvance(e.spalten[s]) + 16;
        for (const QStringList &z : e.zeilen) {
            if (s < z.size())
                bedarf[s] = std::max(bedarf[s], fm.horizontalAdvance(z[s]) + 16);
        }
    }
    // Columns that need less than an equal share get what they need; the wide ones share the
    // rest equally. Spare width goes to the last column.
    QList<int> spaltenBreite(spaltenZahl, 0);
    QList<bool> fest(spaltenZahl, false);
    int rest = breite - 4;
    int offen = spaltenZahl;
    for (bool geaendert = true; geaendert && offen > 0;) {
        geaendert = false;
        const int anteil = rest / offen;
        for (int s = 0; s < spaltenZahl; ++s) {
            if (!fest[s] && bedarf[s] <= anteil) {
                fest[s] = true;
                spaltenBreite[s] = bedarf[s];
                rest -= bedarf[s];
                --offen;
                geaendert = true;
            }
        }
    }
    for (int s = 0; s < spaltenZahl; ++s) {
        if (!fest[s])
            spaltenBreite[s] = rest / std::max(1, offen);
    }
    int belegt = 0;
    for (int b : spaltenBreite)
        belegt += b;
    spaltenBreite.last() += breite - 4 - belegt;

    const int kopf = 22;
    const int zeile = 20;
    const int hoehe = std::min(kopf + zeile * std::max<int>(int(e.zeilen.size()), 3) + 2,
                               std::max(kopf + 2, bisY - y));
    const QRect rahmen(x, y, breite, hoehe);
    versenkt(p, rahmen, Qt::white);
    p.save();
    p.setClipRect(rahmen.adjusted(2, 2, -1, -1));

    // Header row: raised cells with bold captions.
    int sx = x + 2;
    for (int s = 0; s < spaltenZahl; ++s) {
        const QRect zelle(sx, y + 2, spaltenBreite[s], kopf);
        erhaben(p, zelle.adjusted(0, 0, -1, -1), false);
        p.setPen(Qt::black);
        p.setFont(fett);
        p.drawText(zelle.adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft, e.spalten[s]);
        sx += spaltenBreite[s];
    }
    QFont normal = fett;
    normal.setBold(false);
    p.setFont(normal);

    int zy = y + 2 + kopf;
    for (int r = 0; r < e.zeilen.size(); ++r) {
        if (r == 0) {
            // The first row is selected, as in a running program.
            p.fillRect(QRect(x + 2, zy, breite - 4, zeile), QColor(0xCC, 0xE4, 0xF7));
        }
        sx = x + 2;
        for (int s = 0; s < spaltenZahl; ++s) {
            const QString wert = s < e.zeilen[r].size() ? e.zeilen[r][s] : QString();
            const QRect zelle(sx, zy, spaltenBreite[s], zeile);
            p.setPen(Qt::black);
            p.drawText(zelle.adjusted(6, 0, -6, 0),
                       Qt::AlignVCenter | (istZahl(wert) ? Qt::AlignRight : Qt::AlignLeft),
                       fm.elidedText(wert, Qt::ElideRight, zelle.width() - 12));
            sx += spaltenBreite[s];
        }
        zy += zeile;
        p.setPen(gitter);
        p.drawLine(x + 2, zy - 1, x + breite - 3, zy - 1);
    }
    // Column lines through the whole grid.
    p.setPen(gitter);
    sx = x + 2;
    for (int s = 0; s + 1 < spaltenZahl; ++s) {
        sx += spaltenBreite[s];
        p.drawLine(sx - 1, y + 2 + kopf, sx - 1, y + hoehe - 2);
    }
    p.restore();
    const qsizetype ganz = std::max(0, hoehe - kopf - 2) / zeile;
    y += hoehe + 8;
    return std::min(ganz, e.zeilen.size());
}

// How the writer names an element in the description, for warnings.
QString benennen(const Element &e)
{
    switch (e.art) {
    case Element::Art::Feld:
        return QStringLiteral("Feld „%1“").arg(e.beschriftung);
    case Element::Art::Auswahl:
        return QStringLiteral("Auswahl „%1“").arg(e.beschriftung);
    case Element::Art::Haken:
        return QStringLiteral("Haken „%1“").arg(e.beschriftung);
    case Element::Art::Text:
        return QStringLiteral("Text „%1“").arg(e.beschriftung);
    case Element::Art::Tabelle:
        return QStringLiteral("Tabelle „%1“").arg(e.spalten.join(QStringLiteral(" | ")));
    case Element::Art::Knoepfe:
        return QStringLiteral("Knöpfe „%1“").arg(e.spalten.join(QStringLiteral(" | ")));
    }
    return {};
}

} // namespace

bool MaskenZeichner::zeichnen(const QString &beschreibung, QImage &bild, QString &titel,
                              int &fehlerZeile, QString &fehlerText, QList<QuellFehler> *warnungen)
{
    QString neuerTitel;
    int breite = standardBreite;
    int hoehe = standardHoehe;
    QList<Element> elemente;

    static const QRegularExpression groesse(QStringLiteral("^(\\d{1,4})\\s*[xX×]\\s*(\\d{1,4})$"));
    const QStringList zeilen = beschreibung.split(QLatin1Char('\n'));
    for (int i = 0; i < zeilen.size(); ++i) {
        const QString zeile = zeilen[i].trimmed();
        const int nr = i + 1;
        if (zeile.isEmpty() || zeile.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype doppelpunkt = zeile.indexOf(QLatin1Char(':'));
        if (doppelpunkt <= 0) {
            fehlerZeile = nr;
            fehlerText = QStringLiteral("Zeile ohne „Schlüssel:“ (erwartet z. B. „Feld: Kunde | "
                                        "Müller“)");
            return false;
        }
        const QString schluessel = zeile.left(doppelpunkt).trimmed();
        const QString wert = zeile.mid(doppelpunkt + 1).trimmed();
        auto fehler = [&](const QString &text) {
            fehlerZeile = nr;
            fehlerText = text;
            return false;
        };
        if (schluessel == QLatin1String("Titel")) {
            if (wert.isEmpty())
                return fehler(QStringLiteral("„Titel:“ ohne Text"));
            neuerTitel = wert;
        } else if (schluessel == QStringLiteral("Größe") ||
                   schluessel == QLatin1String("Groesse")) {
            const auto m = groesse.match(wert);
            if (!m.hasMatch())
                return fehler(QStringLiteral("„Größe:“ erwartet „Breite x Höhe“, z. B. 560 x 380"));
            breite = m.captured(1).toInt();
            hoehe = m.captured(2).toInt();
            if (breite < 160 || hoehe < 120 || breite > 4096 || hoehe > 4096)
                return fehler(QStringLiteral("„Größe:“ %1 x %2 liegt nicht zwischen 160 x 120 "
                                             "und 4096 x 4096")
                                  .arg(breite)
                                  .arg(hoehe));
        } else if (schluessel == QLatin1String("Feld") || schluessel == QLatin1String("Auswahl")) {
            const QStringList t = teile(wert);
            if (t.size() != 2 || t[0].isEmpty())
                return fehler(
                    QStringLiteral("„%1:“ erwartet „Beschriftung | Inhalt“").arg(schluessel));
            Element e{schluessel == QLatin1String("Feld") ? Element::Art::Feld
                                                          : Element::Art::Auswahl,
                      t[0], t[1]};
            e.quellZeile = nr;
            elemente << e;
        } else if (schluessel == QLatin1String("Haken")) {
            const QStringList t = teile(wert);
            if (t.size() != 2 || t[0].isEmpty() ||
                (t[1] != QLatin1String("ja") && t[1] != QLatin1String("nein")))
                return fehler(QStringLiteral("„Haken:“ erwartet „Beschriftung | ja“ oder "
                                             "„Beschriftung | nein“"));
            Element e{Element::Art::Haken, t[0], QString()};
            e.angehakt = t[1] == QLatin1String("ja");
            e.quellZeile = nr;
            elemente << e;
        } else if (schluessel == QLatin1String("Text")) {
            elemente << Element{Element::Art::Text, wert, QString()};
            elemente.last().quellZeile = nr;
        } else if (schluessel == QLatin1String("Tabelle")) {
            Element e{Element::Art::Tabelle, QString(), QString()};
            e.spalten = teile(wert);
            if (wert.isEmpty())
                return fehler(QStringLiteral("„Tabelle:“ ohne Spaltenüberschriften"));
            e.quellZeile = nr;
            elemente << e;
        } else if (schluessel == QLatin1String("Zeile")) {
            if (elemente.isEmpty() || elemente.last().art != Element::Art::Tabelle)
                return fehler(QStringLiteral("„Zeile:“ steht nicht direkt unter einer "
                                             "„Tabelle:“"));
            const QStringList t = teile(wert);
            if (t.size() > elemente.last().spalten.size())
                return fehler(QStringLiteral("„Zeile:“ hat %1 Spalten, die Tabelle nur %2")
                                  .arg(t.size())
                                  .arg(elemente.last().spalten.size()));
            elemente.last().zeilen << t;
            elemente.last().zeilenQuellZeile << nr;
        } else if (schluessel == QStringLiteral("Knöpfe") ||
                   schluessel == QLatin1String("Knoepfe")) {
            Element e{Element::Art::Knoepfe, QString(), QString()};
            e.spalten = teile(wert);
            if (wert.isEmpty())
                return fehler(QStringLiteral("„Knöpfe:“ ohne Beschriftungen"));
            e.quellZeile = nr;
            elemente << e;
        } else {
            return fehler(QStringLiteral("unbekannter Schlüssel „%1:“").arg(schluessel));
        }
    }
    if (neuerTitel.isEmpty()) {
        fehlerZeile = 0;
        fehlerText = QStringLiteral("„Titel:“ fehlt");
        return false;
    }

    QImage ergebnis(breite, hoehe, QImage::Format_RGB32);
    ergebnis.fill(flaeche);
    QPainter p(&ergebnis);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Window frame and title bar with the caption and the three window buttons.
    p.setPen(dunkel);
    p.drawRect(0, 0, breite - 1, hoehe - 1);
    QLinearGradient verlauf(0, 0, breite, 0);
    verlauf.setColorAt(0, titelLinks);
    verlauf.setColorAt(1, titelRechts);
    const QRect titelLeiste(1, 1, breite - 2, titelHoehe);
    p.fillRect(titelLeiste, verlauf);
    p.setFont(schrift(13, true));
    p.setPen(Qt::white);
    const int knopfGroesse = titelHoehe - 8;
    const QFontMetrics titelMetrik(p.font());
    p.drawText(titelLeiste.adjusted(8, 0, -(3 * knopfGroesse + 16), 0),
               Qt::AlignVCenter | Qt::AlignLeft,
               titelMetrik.elidedText(neuerTitel, Qt::ElideRight,
                                      titelLeiste.width() - 3 * knopfGroesse - 24));
    for (int k = 0; k < 3; ++k) {
        const QRect r(breite - 6 - (3 - k) * (knopfGroesse + 2), 5, knopfGroesse, knopfGroesse);
        erhaben(p, r, false);
        p.setPen(QPen(Qt::black, 1.6));
        const QRect z = r.adjusted(5, 5, -5, -5);
        if (k == 0) {
            p.drawLine(z.bottomLeft(), z.bottomRight());
        } else if (k == 1) {
            p.drawRect(z);
        } else {
            p.setRenderHint(QPainter::Antialiasing);
            p.drawLine(z.topLeft(), z.bottomRight());
            p.drawLine(z.topRight(), z.bottomLeft());
            p.setRenderHint(QPainter::Antialiasing, false);
        }
    }

    const QFont normal = schrift(12);
    p.setFont(normal);
    const QFontMetrics fm(normal);

    // Labels of fields and drop-downs share one column.
    int beschriftungBreite = 0;
    for (const Element &e : std::as_const(elemente)) {
        if (e.art == Element::Art::Feld || e.art == Element::Art::Auswahl)
            beschriftungBreite = std::max(beschriftungBreite, fm.horizontalAdvance(e.beschriftung));
    }
    beschriftungBreite = std::min(beschriftungBreite + 14, (breite - 2 * aussen) * 45 / 100);
    const int feldX = aussen + beschriftungBreite;
    const int feldBreite = std::min(breite - aussen - feldX, std::max(320, breite * 3 / 5));
    const int knopfHoehe = 25;
    const bool mitKnoepfen = std::any_of(elemente.cbegin(), elemente.cend(), [](const Element &e) {
        return e.art == Element::Art::Knoepfe;
    });
    const int unten = hoehe - aussen - (mitKnoepfen ? knopfHoehe + aussen : 0);

    // What does not fit is left out or cut off, as a real dialog would clip it; the writer
    // hears of each such element. An element that begins above the buttons' margin is drawn;
    // its visible part (a field's height) may reach into that margin, not onto the buttons or
    // over the lower edge.
    QList<QuellFehler> verloren;
    const auto passtNicht = [&](int zeile, const QString &was) {
        verloren << QuellFehler{QString(), zeile,
                                QStringLiteral("%1 passt nicht in die Maske (%2 x %3); Maske "
                                               "größer machen")
                                    .arg(was)
                                    .arg(breite)
                                    .arg(hoehe)};
    };
    int y = titelHoehe + 1 + aussen;
    for (const Element &e : std::as_const(elemente)) {
        if (e.art != Element::Art::Knoepfe && e.art != Element::Art::Tabelle &&
            (y >= unten || y + feldHoehe > unten + aussen)) {
            passtNicht(e.quellZeile, benennen(e));
            if (y >= unten)
                continue;
        }
        if (e.art == Element::Art::Tabelle && y >= unten) {
            passtNicht(e.quellZeile, benennen(e));
            continue;
        }
        switch (e.art) {
        case Element::Art::Feld:
        case Element::Art::Auswahl: {
            p.setPen(Qt::black);
            p.drawText(QRect(aussen, y, beschriftungBreite - 8, zeilenHoehe),
                       Qt::AlignVCenter | Qt::AlignLeft,
                       fm.elidedText(e.beschriftung + QLatin1Char(':'), Qt::ElideRight,
                                     beschriftungBreite - 8));
            const QRect feld(feldX, y + (zeilenHoehe - feldHoehe) / 2, feldBreite, feldHoehe);
            versenkt(p, feld, Qt::white);
            int textRechts = feld.right() - 4;
            if (e.art == Element::Art::Auswahl) {
                const QRect pfeil(feld.right() - 17, feld.top() + 2, 16, feld.height() - 4);
                erhaben(p, pfeil, false);
                const QPoint m = pfeil.center();
                p.setRenderHint(QPainter::Antialiasing);
                p.setPen(Qt::NoPen);
                p.setBrush(Qt::black);
                const QPolygon dreieck({QPoint(m.x() - 4, m.y() - 2), QPoint(m.x() + 4, m.y() - 2),
                                        QPoint(m.x(), m.y() + 2)});
                p.drawPolygon(dreieck);
                p.setBrush(Qt::NoBrush);
                p.setRenderHint(QPainter::Antialiasing, false);
                textRechts = pfeil.left() - 2;
            }
            p.setPen(Qt::black);
            const QRect textFlaeche(feld.left() + 5, feld.top(), textRechts - feld.left() - 5,
                                    feld.height());
            p.drawText(textFlaeche, Qt::AlignVCenter | Qt::AlignLeft,
                       fm.elidedText(e.wert, Qt::ElideRight, textFlaeche.width()));
            y += zeilenHoehe + 4;
            break;
        }
        case Element::Art::Haken: {
            const QRect kasten(feldX, y + (zeilenHoehe - 13) / 2, 13, 13);
            versenkt(p, kasten, Qt::white);
            if (e.angehakt) {
                p.setRenderHint(QPainter::Antialiasing);
                p.setPen(QPen(Qt::black, 2));
                p.drawPolyline(
                    QPolygon({kasten.topLeft() + QPoint(3, 6), kasten.topLeft() + QPoint(5, 9),
                              kasten.topLeft() + QPoint(10, 3)}));
                p.setRenderHint(QPainter::Antialiasing, false);
            }
            p.setPen(Qt::black);
            p.drawText(
                QRect(kasten.right() + 7, y, breite - aussen - kasten.right() - 7, zeilenHoehe),
                Qt::AlignVCenter | Qt::AlignLeft, e.beschriftung);
            y += zeilenHoehe + 2;
            break;
        }
        case Element::Art::Text:
            p.setPen(Qt::black);
            p.drawText(QRect(aussen, y, breite - 2 * aussen, zeilenHoehe - 4),
                       Qt::AlignVCenter | Qt::AlignLeft,
                       fm.elidedText(e.beschriftung, Qt::ElideRight, breite - 2 * aussen));
            y += zeilenHoehe;
            break;
        case Element::Art::Tabelle: {
            y += 4;
            const qsizetype gezeigt = zeichneTabelle(p, e, aussen, y, breite - 2 * aussen, unten);
            for (qsizetype r = gezeigt; r < e.zeilen.size(); ++r)
                passtNicht(
                    e.zeilenQuellZeile[r],
                    QStringLiteral("Zeile „%1“").arg(e.zeilen[r].join(QStringLiteral(" | "))));
            break;
        }
        case Element::Art::Knoepfe: {
            int x = breite - aussen;
            QList<QRect> flaechen;
            for (qsizetype k = e.spalten.size() - 1; k >= 0; --k) {
                const int w = std::max(82, fm.horizontalAdvance(e.spalten[k]) + 24);
                x -= w;
                flaechen.prepend(QRect(x, hoehe - aussen - knopfHoehe, w, knopfHoehe));
                x -= 8;
            }
            if (x + 8 < 0)
                passtNicht(e.quellZeile, benennen(e));
            for (qsizetype k = 0; k < e.spalten.size(); ++k) {
                erhaben(p, flaechen[k], k == 0);
                p.setPen(Qt::black);
                p.drawText(flaechen[k], Qt::AlignCenter, e.spalten[k]);
            }
            break;
        }
        }
    }
    p.end();

    bild = ergebnis;
    titel = neuerTitel;
    if (warnungen)
        *warnungen << verloren;
    return true;
}
