// Section text as semantic HTML (see HtmlErzeuger.h). The document the help window would show
// is walked frame by frame: paragraphs are grouped into lists by their leading markers, tables
// become tables, and the characters of each paragraph are cut into runs of equal meaning
// (bold, italics, underline, strike, raised or lowered, colour, link), which are written with a
// stack of open elements so that the nesting stays well-formed and small.
#include "HtmlErzeuger.h"
#include "TextFeld.h"
#include "Verweismarkup.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr double TwipsProPixel = 15.0;
// Text at least this much larger than the text's usual size counts as clearly larger.
constexpr double GrossFaktor = 1.3;

bool istPunkt(QChar c)
{
    switch (c.unicode()) {
    case u'\u2022': // bullet (also Symbol's bullet as the RTF reader maps it)
    case u'\u00B7': // middle dot
    case u'-':
    case u'\u2013': // en dash
    case u'\u2014': // em dash
    case u'\u25AA': // small black square (Wingdings)
    case u'\u25CF': // black circle
    case u'\u25E6': // white bullet
    case u'\u25CB': // white circle
    case u'\u27A2': // arrowhead (Wingdings)
    case u'\uF0B7': // Symbol's bullet left unmapped
        return true;
    default:
        return false;
    }
}

void maskieren(QString &aus, QStringView text, bool attribut)
{
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            aus += QLatin1String("&amp;");
            break;
        case u'<':
            aus += QLatin1String("&lt;");
            break;
        case u'>':
            aus += QLatin1String("&gt;");
            break;
        case u'"':
            aus += attribut ? QLatin1String("&quot;") : QLatin1String("\"");
            break;
        case u'\u2028':
            aus += QLatin1String("<br/>");
            break;
        case u'\t':
            aus += c;
            break;
        case 0xFFFC: // a picture that could not be read back
        case 0xFFFE:
        case 0xFFFF:
            break; // not allowed in a page
        default:
            if (c.unicode() >= 0x20)
                aus += c;
        }
    }
}

QString attribut(QStringView text)
{
    QString s;
    maskieren(s, text, true);
    return s;
}

// The inline elements a run can be in, in the order they are opened when several start
// together and last equally long.
enum Element { Fett, Kursiv, Unterstrichen, Durchgestrichen, Hoch, Tief, Farbe, Link, Anzahl };
using Werte = std::array<qint64, Anzahl>; // 0: not in the element

struct Lauf
{
    int von = 0;   // document position
    int bis = 0;   // behind the run
    Werte werte{}; // Farbe: RGB + 1, Link: link index
    QString bild;  // an inline picture's data URL (the run is that one character)
};

struct Listenebene
{
    HtmlErzeuger::ListenArt art;
    double rand; // left indent in twips
    int naechste;
};

class Erzeuger
{
public:
    Erzeuger(QTextDocument &doc, const QList<tVerweis> &verweise, int anzahl,
             const std::function<HtmlVerweis(const tVerweis &)> &verweis)
        : mDoc(doc), mVerweisAn(size_t(std::max(0, doc.characterCount())), 0)
    {
        TextFeld feld(&doc, false);
        mZiele.resize(size_t(anzahl) + 1);
        for (int i = 1; i <= anzahl && i < verweise.size(); ++i) {
            mZiele[size_t(i)] = verweis(verweise[i]);
            if (mZiele[size_t(i)].href.isEmpty())
                continue;
            // Nested links (not well formed): each character belongs to the first one.
            const int bis = std::min(feld.zuDokument(verweise[i].Ende), int(mVerweisAn.size()));
            for (int p = feld.zuDokument(verweise[i].Anfang); p < bis; ++p)
                if (mVerweisAn[size_t(p)] == 0)
                    mVerweisAn[size_t(p)] = i;
        }
        grundGroesseBestimmen();
    }

    QString erzeugen()
    {
        QTextFrame *wurzel = mDoc.rootFrame();
        fluss(wurzel->begin(), wurzel->end());
        return mAus;
    }

private:
    // The size most characters have: the text's usual size.
    void grundGroesseBestimmen()
    {
        QHash<double, qint64> zaehler;
        for (QTextBlock b = mDoc.begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                zaehler[it.fragment().charFormat().fontPointSize()] += it.fragment().length();
        qint64 meiste = 0;
        for (auto it = zaehler.cbegin(); it != zaehler.cend(); ++it)
            if (it.value() > meiste) {
                meiste = it.value();
                mGrundGroesse = it.key();
            }
    }

    static bool leer(const QTextBlock &b) { return b.text().trimmed().isEmpty(); }

    static double randTwips(const QTextBlock &b)
    {
        return b.blockFormat().leftMargin() * TwipsProPixel;
    }

    static HtmlErzeuger::Marke marke(const QTextBlock &b)
    {
        const QTextBlockFormat f = b.blockFormat();
        return HtmlErzeuger::listenMarke(b.text(), f.leftMargin() > 0 || f.textIndent() < 0);
    }

    static QString ausrichtung(const QTextBlock &b)
    {
        const Qt::Alignment a = b.blockFormat().alignment();
        if (a & Qt::AlignHCenter)
            return QStringLiteral("mitte");
        if ((a & Qt::AlignRight) && !(a & Qt::AlignLeft))
            return QStringLiteral("rechts");
        return QString();
    }

    // Paragraphs and tables of one flow (the text, or a table cell).
    void fluss(QTextFrame::iterator it, const QTextFrame::iterator &ende)
    {
        std::vector<Listenebene> listen;
        for (; it != ende; ++it) {
            if (QTextFrame *rahmen = it.currentFrame()) {
                listenSchliessen(listen, 0);
                if (auto *t = qobject_cast<QTextTable *>(rahmen))
                    tabelle(*t);
                else
                    fluss(rahmen->begin(), rahmen->end());
                continue;
            }
            const QTextBlock b = it.currentBlock();
            if (leer(b))
                continue;
            const HtmlErzeuger::Marke m = marke(b);
            if (m.art != HtmlErzeuger::ListenArt::Keine) {
                listenpunkt(listen, b, m);
                continue;
            }
            listenSchliessen(listen, 0);
            absatz(b);
        }
        listenSchliessen(listen, 0);
    }

    void absatz(const QTextBlock &b)
    {
        QStringList klassen;
        const int einzug = std::min(HtmlErzeuger::MaxEinzug,
                                    int(std::lround(randTwips(b) / HtmlErzeuger::EinzugTwips)));
        if (einzug > 0)
            klassen << QStringLiteral("einzug-%1").arg(einzug);
        if (const QString a = ausrichtung(b); !a.isEmpty())
            klassen << a;
        if (gross(b))
            klassen << QStringLiteral("gross");
        mAus += klassen.isEmpty() ? QStringLiteral("<p>")
                                  : QStringLiteral("<p class=\"%1\">").arg(klassen.join(u' '));
        zeichen(b, 0, false);
        mAus += QLatin1String("</p>\n");
    }

    // Every visible character of the paragraph is clearly larger than the usual text.
    bool gross(const QTextBlock &b) const
    {
        if (mGrundGroesse <= 0)
            return false;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (!f.text().trimmed().isEmpty() &&
                f.charFormat().fontPointSize() < mGrundGroesse * GrossFaktor)
                return false;
        }
        return true;
    }

    void listeOeffnen(std::vector<Listenebene> &listen, double rand, const HtmlErzeuger::Marke &m)
    {
        if (!listen.empty())
            mAus += u'\n';
        if (m.art == HtmlErzeuger::ListenArt::Punkte) {
            mAus += QLatin1String("<ul>\n");
        } else {
            mAus += QLatin1String("<ol");
            if (m.art == HtmlErzeuger::ListenArt::Buchstaben)
                mAus += QLatin1String(" type=\"a\"");
            if (m.nummer != 1)
                mAus += QStringLiteral(" start=\"%1\"").arg(m.nummer);
            mAus += QLatin1String(">\n");
        }
        listen.push_back({m.art, rand, m.nummer + 1});
    }

    void listenSchliessen(std::vector<Listenebene> &listen, size_t bleiben)
    {
        while (listen.size() > bleiben) {
            mAus += listen.back().art == HtmlErzeuger::ListenArt::Punkte
                        ? QLatin1String("</li>\n</ul>\n")
                        : QLatin1String("</li>\n</ol>\n");
            listen.pop_back();
        }
    }

    // A list item: deeper indent than the open list nests a list in its item, shallower
    // closes lists; a different kind or a number out of sequence starts a new list.
    void listenpunkt(std::vector<Listenebene> &listen, const QTextBlock &b,
                     const HtmlErzeuger::Marke &m)
    {
        const double rand = randTwips(b);
        while (!listen.empty() && listen.back().rand > rand + 1)
            listenSchliessen(listen, listen.size() - 1);
        if (!listen.empty() && listen.back().rand >= rand - 1) {
            Listenebene &l = listen.back();
            if (l.art == m.art &&
                (m.art == HtmlErzeuger::ListenArt::Punkte || m.nummer == l.naechste)) {
                mAus += QLatin1String("</li>\n");
                l.naechste = m.nummer + 1;
            } else {
                listenSchliessen(listen, listen.size() - 1);
                listeOeffnen(listen, rand, m);
            }
        } else {
            listeOeffnen(listen, rand, m);
        }
        mAus += QLatin1String("<li>");
        zeichen(b, m.laenge, false);
    }

    // All visible characters of the cell are bold.
    static bool fettZelle(const QTextTableCell &z, bool &text)
    {
        for (auto it = z.begin(); !it.atEnd(); ++it) {
            const QTextBlock b = it.currentBlock();
            if (it.currentFrame())
                return false;
            for (auto f = b.begin(); !f.atEnd(); ++f) {
                if (f.fragment().text().trimmed().isEmpty())
                    continue;
                if (f.fragment().charFormat().fontWeight() < QFont::Bold)
                    return false;
                text = true;
            }
        }
        return true;
    }

    void tabelle(QTextTable &t)
    {
        bool kopf = t.rows() > 1;
        bool text = false;
        for (int s = 0; s < t.columns() && kopf; ++s)
            kopf = fettZelle(t.cellAt(0, s), text);
        kopf = kopf && text;
        mAus += QLatin1String("<table>\n");
        for (int r = 0; r < t.rows(); ++r) {
            const bool th = kopf && r == 0;
            if (th)
                mAus += QLatin1String("<thead>\n");
            else if (r == (kopf ? 1 : 0))
                mAus += QLatin1String("<tbody>\n");
            mAus += QLatin1String("<tr>");
            for (int s = 0; s < t.columns(); ++s) {
                const QTextTableCell z = t.cellAt(r, s);
                if (z.row() != r || z.column() != s)
                    continue; // covered by a merged cell
                zelle(z, th);
            }
            mAus += QLatin1String("</tr>\n");
            if (th)
                mAus += QLatin1String("</thead>\n");
        }
        if (t.rows() > (kopf ? 1 : 0))
            mAus += QLatin1String("</tbody>\n");
        mAus += QLatin1String("</table>\n");
    }

    void zelle(const QTextTableCell &z, bool th)
    {
        // A cell of one plain paragraph holds its characters directly.
        int bloecke = 0;
        QTextBlock einziger;
        bool einfach = true;
        for (auto it = z.begin(); !it.atEnd() && einfach; ++it) {
            if (it.currentFrame())
                einfach = false;
            else if (!leer(it.currentBlock()) && ++bloecke == 1)
                einziger = it.currentBlock();
        }
        einfach = einfach && bloecke <= 1 &&
                  (bloecke == 0 || marke(einziger).art == HtmlErzeuger::ListenArt::Keine);
        QString kopf = th ? QStringLiteral("<th scope=\"col\"") : QStringLiteral("<td");
        if (z.columnSpan() > 1)
            kopf += QStringLiteral(" colspan=\"%1\"").arg(z.columnSpan());
        if (z.rowSpan() > 1)
            kopf += QStringLiteral(" rowspan=\"%1\"").arg(z.rowSpan());
        if (einfach && bloecke == 1)
            if (const QString a = ausrichtung(einziger); !a.isEmpty())
                kopf += QStringLiteral(" class=\"%1\"").arg(a);
        mAus += kopf + u'>';
        if (einfach) {
            if (bloecke == 1)
                zeichen(einziger, 0, th);
        } else {
            mAus += u'\n';
            fluss(z.begin(), z.end());
        }
        mAus += th ? QLatin1String("</th>") : QLatin1String("</td>");
    }

    QString bildUrl(const QTextImageFormat &f) const
    {
        const QVariant v = mDoc.resource(QTextDocument::ImageResource, QUrl(f.name()));
        const QImage bild = v.value<QImage>();
        if (bild.isNull())
            return QString();
        QByteArray png;
        QBuffer puffer(&png);
        puffer.open(QIODevice::WriteOnly);
        bild.save(&puffer, "PNG");
        return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
    }

    Werte werte(const QTextCharFormat &f, int verweis, bool ohneFett) const
    {
        Werte w{};
        w[Fett] = !ohneFett && f.fontWeight() >= QFont::Bold;
        w[Kursiv] = f.fontItalic();
        w[Durchgestrichen] = f.fontStrikeOut();
        w[Hoch] = f.verticalAlignment() == QTextCharFormat::AlignSuperScript;
        w[Tief] = f.verticalAlignment() == QTextCharFormat::AlignSubScript;
        w[Link] = verweis;
        // Links take underline and colour from the style sheet.
        if (verweis == 0) {
            w[Unterstrichen] = f.fontUnderline();
            if (f.hasProperty(QTextFormat::ForegroundBrush) &&
                f.foreground().style() != Qt::NoBrush) {
                const QRgb rgb = f.foreground().color().rgb() & 0xFFFFFF;
                w[Farbe] = rgb == 0 ? 0 : qint64(rgb) + 1; // black is the default text colour
            }
        }
        return w;
    }

    // The characters of a paragraph from its ab-th on.
    void zeichen(const QTextBlock &b, int ab, bool ohneFett)
    {
        std::vector<Lauf> laeufe;
        const int start = b.position() + ab;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat format = f.charFormat();
            const QString bild =
                format.isImageFormat() ? bildUrl(format.toImageFormat()) : QString();
            Werte w{};
            int verweis = 0;
            bool gelesen = false;
            for (int p = std::max(f.position(), start); p < f.position() + f.length(); ++p) {
                const int v = p < int(mVerweisAn.size()) ? mVerweisAn[size_t(p)] : 0;
                // The format's values are read again only where the link changes.
                if (v != verweis || !gelesen) {
                    w = werte(format, v, ohneFett);
                    verweis = v;
                    gelesen = true;
                }
                if (!laeufe.empty() && laeufe.back().bis == p && laeufe.back().werte == w &&
                    bild.isEmpty() && laeufe.back().bild.isEmpty())
                    ++laeufe.back().bis;
                else
                    laeufe.push_back({p, p + 1, w, bild});
            }
        }
        // How long each element lasts from each run on (index of the first run without it).
        std::vector<std::array<size_t, Anzahl>> dauer(laeufe.size());
        for (size_t i = laeufe.size(); i-- > 0;)
            for (int e = 0; e < Anzahl; ++e)
                dauer[i][size_t(e)] = i + 1 < laeufe.size() && laeufe[i + 1].werte[size_t(e)] ==
                                                                   laeufe[i].werte[size_t(e)]
                                          ? dauer[i + 1][size_t(e)]
                                          : i + 1;
        std::vector<std::pair<int, qint64>> offen;
        const QString text = b.text();
        for (size_t i = 0; i < laeufe.size(); ++i) {
            const Lauf &l = laeufe[i];
            // Close from the first open element the run is not in.
            size_t bleiben = 0;
            while (bleiben < offen.size() &&
                   l.werte[size_t(offen[bleiben].first)] == offen[bleiben].second)
                ++bleiben;
            while (offen.size() > bleiben) {
                schliessen(offen.back().first);
                offen.pop_back();
            }
            std::vector<int> neu;
            for (int e = 0; e < Anzahl; ++e)
                if (l.werte[size_t(e)] != 0 &&
                    std::none_of(offen.begin(), offen.end(),
                                 [e](const auto &o) { return o.first == e; }))
                    neu.push_back(e);
            // Longer-lasting elements outside.
            std::stable_sort(neu.begin(), neu.end(), [&](int a, int c) {
                return dauer[i][size_t(a)] > dauer[i][size_t(c)];
            });
            for (const int e : neu) {
                oeffnen(e, l.werte[size_t(e)]);
                offen.emplace_back(e, l.werte[size_t(e)]);
            }
            if (!l.bild.isEmpty())
                mAus += QStringLiteral("<img src=\"%1\" alt=\"\"/>").arg(l.bild);
            else
                maskieren(mAus, QStringView(text).mid(l.von - b.position(), l.bis - l.von), false);
        }
        while (!offen.empty()) {
            schliessen(offen.back().first);
            offen.pop_back();
        }
    }

    void oeffnen(int e, qint64 wert)
    {
        static const char *const marken[] = {"<strong>", "<em>", "<u>", "<s>", "<sup>", "<sub>"};
        if (e < Farbe) {
            mAus += QLatin1String(marken[e]);
        } else if (e == Farbe) {
            mAus += QStringLiteral("<span style=\"color:#%1\">")
                        .arg(qint64(wert - 1), 6, 16, QLatin1Char('0'));
        } else {
            const HtmlVerweis &z = mZiele[size_t(wert)];
            mAus += QLatin1String("<a href=\"") + attribut(z.href) + u'"';
            if (!z.klasse.isEmpty())
                mAus += QLatin1String(" class=\"") + attribut(z.klasse) + u'"';
            if (!z.titel.isEmpty())
                mAus += QLatin1String(" title=\"") + attribut(z.titel) + u'"';
            mAus += u'>';
        }
    }

    void schliessen(int e)
    {
        static const char *const marken[] = {"</strong>", "</em>",  "</u>",    "</s>",
                                             "</sup>",    "</sub>", "</span>", "</a>"};
        mAus += QLatin1String(marken[e]);
    }

    QTextDocument &mDoc;
    std::vector<int> mVerweisAn; // link index per document position, 0 for none
    std::vector<HtmlVerweis> mZiele;
    double mGrundGroesse = 0;
    QString mAus;
};

} // namespace

HtmlErzeuger::Marke HtmlErzeuger::listenMarke(const QString &text, bool eingerueckt)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i] == u' ')
        ++i;
    if (i >= n)
        return {};
    Marke m;
    qsizetype j = i;
    if (istPunkt(text[i])) {
        m.art = ListenArt::Punkte;
        j = i + 1;
    } else if (text[i].isDigit()) {
        while (j < n && j - i < 3 && text[j].isDigit())
            m.nummer = m.nummer * 10 + text[j++].digitValue();
        if (j >= n || (text[j] != u'.' && text[j] != u')'))
            return {};
        m.art = ListenArt::Zahlen;
        ++j;
    } else if (text[i] >= u'a' && text[i] <= u'z' && i + 1 < n && text[i + 1] == u')') {
        m.art = ListenArt::Buchstaben;
        m.nummer = text[i].unicode() - u'a' + 1;
        j = i + 2;
    } else {
        return {};
    }
    qsizetype k = j;
    bool tab = false;
    while (k < n && (text[k] == u' ' || text[k] == u'\t'))
        tab = text[k++] == u'\t' || tab;
    // Blanks must follow, then text; numbers need a tab or an indented paragraph.
    if (k == j || k == n || (m.art != ListenArt::Punkte && !tab && !eingerueckt))
        return {};
    m.laenge = int(k);
    return m;
}

QString HtmlErzeuger::abschnitt(const QString &gespeicherterText,
                                const std::function<HtmlVerweis(const tVerweis &)> &verweis)
{
    QTextDocument doc;
    QList<tVerweis> verweise;
    qint16 anzahl = 0;
    Verweismarkup::darstellen(gespeicherterText, doc, verweise, anzahl);
    return Erzeuger(doc, verweise, anzahl, verweis).erzeugen();
}
