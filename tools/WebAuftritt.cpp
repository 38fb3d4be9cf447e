// The static web site of a help database; see WebAuftritt.h.
#include "WebAuftritt.h"

#include "BildArchiv.h"
#include "HtmlErzeuger.h"
#include "WebSuche.h"

#include <QBuffer>
#include <QCollator>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Changes whenever the pages' form changes, so that every page is rendered anew.
constexpr int Version = 2;
const QString Liste = QStringLiteral(".hilfedb-web");
const QString Titel = QStringLiteral("Programmbeschreibung zu Tolvar-Belna");

QString e(const QString &text)
{
    return text.toHtmlEscaped();
}

QList<int> teile(const QString &nummer)
{
    QList<int> t;
    for (const QString &s : nummer.split(QLatin1Char('.')))
        t << s.trimmed().toInt();
    return t;
}

// A section as the site shows it: where it stands and what lies around it.
struct Seite
{
    const HilfeBaum::Kapitel *kapitel = nullptr;
    const HilfeBaum::Thema *thema = nullptr;
    const HilfeBaum::Abschnitt *abschnitt = nullptr;
};

class Schreiber
{
public:
    Schreiber(const HilfeBaum &baum, const QString &ordner, const WebAuftritt::Optionen &optionen,
              WebAuftritt::Ergebnis &ergebnis)
        : m_baum(baum), m_ordner(ordner), m_optionen(optionen), m_ergebnis(ergebnis)
    {
        for (const HilfeBaum::Kapitel &k : baum.kapitel)
            for (const HilfeBaum::Thema &t : k.themen)
                for (const HilfeBaum::Abschnitt &a : t.abschnitte)
                    if (a.erreichbar) {
                        m_seiten << Seite{&k, &t, &a};
                        m_nummern << a.hilfeNummer;
                    }
        for (int i = 0; i < m_seiten.size(); ++i)
            m_stelle.insert(m_nummern.at(i), i);
        for (const HilfeBaum::Bild &b : baum.bilder)
            m_bildTitel.insert(b.nummer, b.titel);
    }

    bool schreiben(QString &fehler)
    {
        if (!ordnerPruefen(fehler))
            return false;
        m_global = globalerSchluessel();
        QJsonObject neu;
        for (int i = 0; i < m_seiten.size(); ++i) {
            const QString pfad = WebAuftritt::seitenPfad(m_nummern.at(i));
            const QString schluessel = seitenSchluessel(i);
            neu.insert(pfad, schluessel);
            ++m_ergebnis.seiten;
            if (m_alt.value(pfad).toString() == schluessel && QFile::exists(datei(pfad)))
                continue;
            ++m_ergebnis.neuGerendert;
            if (!ablegen(pfad, seite(i).toUtf8(), fehler))
                return false;
        }
        for (const HilfeBaum::Bild &b : m_baum.bilder) {
            const QString pfad = bildPfad(b.nummer);
            const QString schluessel = QString::fromLatin1(
                QCryptographicHash::hash(b.archiv, QCryptographicHash::Sha1).toHex());
            neu.insert(pfad, schluessel);
            ++m_ergebnis.bilder;
            if (m_alt.value(pfad).toString() == schluessel && QFile::exists(datei(pfad)))
                continue;
            QByteArray png;
            QBuffer puffer(&png);
            puffer.open(QIODevice::WriteOnly);
            const QImage bild = BildArchiv::entpacken(b.archiv);
            if (bild.isNull() || !bild.save(&puffer, "PNG")) {
                fehler = QStringLiteral("Bild %1 lässt sich nicht entpacken").arg(b.nummer);
                return false;
            }
            if (!ablegen(pfad, png, fehler))
                return false;
        }
        const QList<std::pair<QString, QByteArray>> feste{
            {QStringLiteral("index.html"), inhaltsSeite().toUtf8()},
            {QStringLiteral("stichwoerter.html"), stichwortSeite().toUtf8()},
            {QStringLiteral("hilfe.html"), sprungSeite().toUtf8()},
            {QStringLiteral("hilfe.css"), ressource(QStringLiteral(":/web/hilfe.css"))},
            {QStringLiteral("hilfe.js"), ressource(QStringLiteral(":/web/hilfe.js"))},
            {QStringLiteral("suche.html"), suchSeite().toUtf8()},
            {QStringLiteral("suche.js"), ressource(QStringLiteral(":/web/suche.js"))},
        };
        for (const auto &[pfad, inhalt] : WebSuche::dateien(m_baum)) {
            neu.insert(pfad, QString());
            if (!ablegen(pfad, inhalt, fehler))
                return false;
        }
        for (const auto &[pfad, inhalt] : feste) {
            neu.insert(pfad, QString());
            if (!ablegen(pfad, inhalt, fehler))
                return false;
        }
        if (!m_optionen.adresse.isEmpty()) {
            neu.insert(QStringLiteral("sitemap.xml"), QString());
            if (!ablegen(QStringLiteral("sitemap.xml"), sitemap().toUtf8(), fehler))
                return false;
        }
        // What the last run wrote and this one did not: removed sections and pictures.
        for (auto it = m_alt.constBegin(); it != m_alt.constEnd(); ++it) {
            if (neu.contains(it.key()) || it.key().contains(QLatin1String("..")))
                continue;
            if (QFile::remove(datei(it.key())))
                ++m_ergebnis.entfernt;
        }
        QJsonObject liste{{QStringLiteral("version"), Version}, {QStringLiteral("dateien"), neu}};
        return ablegen(Liste, QJsonDocument(liste).toJson(QJsonDocument::Compact), fehler, false);
    }

private:
    QString datei(const QString &pfad) const { return m_ordner + QLatin1Char('/') + pfad; }

    static QString bildPfad(qint64 nummer)
    {
        return QStringLiteral("bilder/%1.png").arg(nummer, 5, 10, QLatin1Char('0'));
    }

    static QByteArray ressource(const QString &name)
    {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    bool ordnerPruefen(QString &fehler)
    {
        const QDir d(m_ordner);
        if (!d.exists()) {
            if (!QDir().mkpath(m_ordner)) {
                fehler = QStringLiteral("%1 lässt sich nicht anlegen").arg(m_ordner);
                return false;
            }
            return true;
        }
        QFile liste(datei(Liste));
        if (liste.open(QIODevice::ReadOnly)) {
            const QJsonObject o = QJsonDocument::fromJson(liste.readAll()).object();
            // A list of another version leaves nothing to reuse, but names what may go.
            m_alt = o.value(QStringLiteral("dateien")).toObject();
            if (o.value(QStringLiteral("version")).toInt() != Version)
                for (auto it = m_alt.begin(); it != m_alt.end(); ++it)
                    it.value() = QString();
            return true;
        }
        if (!d.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty()) {
            fehler = QStringLiteral("%1 ist nicht leer und wurde nicht von „hilfedb web“ "
                                    "geschrieben")
                         .arg(m_ordner);
            return false;
        }
        return true;
    }

    // Writes a file unless it holds these bytes already; a new file appears whole or not at all.
    bool ablegen(const QString &pfad, const QByteArray &inhalt, QString &fehler,
                 bool zaehlen = true)
    {
        const QString ziel = datei(pfad);
        QFile alt(ziel);
        if (alt.open(QIODevice::ReadOnly) && alt.size() == inhalt.size() && alt.readAll() == inhalt)
            return true;
        alt.close();
        QDir().mkpath(QFileInfo(ziel).path());
        // Under a temporary name first, so that a server never delivers half a page; not
        // synced to the disk one by one, which would make a large site take minutes: a site is
        // written again from its database at any time.
        const QString neu = ziel + QStringLiteral(".neu");
        QFile f(neu);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            f.write(inhalt) != inhalt.size() || !f.flush()) {
            fehler = QStringLiteral("%1: %2").arg(ziel, f.errorString());
            f.remove();
            return false;
        }
        f.close();
        if (std::rename(QFile::encodeName(neu).constData(), QFile::encodeName(ziel).constData()) !=
            0) {
            fehler =
                QStringLiteral("%1: %2").arg(ziel, QString::fromLocal8Bit(std::strerror(errno)));
            QFile::remove(neu);
            return false;
        }
        if (zaehlen)
            ++m_ergebnis.geschrieben;
        return true;
    }

    // What every page shows of the whole help: the chapters and where they lead, which sections
    // exist (links resolve against them), the pictures' titles.
    QByteArray globalerSchluessel() const
    {
        QCryptographicHash h(QCryptographicHash::Sha1);
        h.addData(QByteArray::number(Version));
        for (const HilfeBaum::Kapitel &k : m_baum.kapitel)
            h.addData((k.titel + QLatin1Char('\n') + kapitelZiel(k) + QLatin1Char('\n')).toUtf8());
        h.addData(m_nummern.join(QLatin1Char(' ')).toUtf8());
        for (auto it = m_bildTitel.constBegin(); it != m_bildTitel.constEnd(); ++it)
            h.addData(QStringLiteral("\n%1 %2").arg(it.key()).arg(it.value()).toUtf8());
        return h.result();
    }

    QString seitenSchluessel(int i) const
    {
        const Seite &s = m_seiten.at(i);
        QCryptographicHash h(QCryptographicHash::Sha1);
        h.addData(m_global);
        for (const HilfeBaum::Thema &t : s.kapitel->themen)
            h.addData((t.titel + QLatin1Char('\n') + themaZiel(t) + QLatin1Char('\n')).toUtf8());
        for (const HilfeBaum::Abschnitt &a : s.thema->abschnitte)
            h.addData((a.titel + QLatin1Char('\n')).toUtf8());
        for (int n : {i - 1, i + 1})
            if (n >= 0 && n < m_seiten.size())
                h.addData((m_nummern.at(n) + m_seiten.at(n).abschnitt->titel).toUtf8());
        h.addData((QLatin1Char('\n') + s.abschnitt->hilfeNummer + s.abschnitt->titel +
                   QLatin1Char('\n') + s.abschnitt->text)
                      .toUtf8());
        return QString::fromLatin1(h.result().toHex());
    }

    static QString themaZiel(const HilfeBaum::Thema &t)
    {
        for (const HilfeBaum::Abschnitt &a : t.abschnitte)
            if (a.erreichbar)
                return a.hilfeNummer;
        return {};
    }

    static QString kapitelZiel(const HilfeBaum::Kapitel &k)
    {
        for (const HilfeBaum::Thema &t : k.themen)
            if (const QString z = themaZiel(t); !z.isEmpty())
                return z;
        return {};
    }

    // From the page of hilfeNummer (or the root, when empty) to the site's root.
    static QString wurzel(const QString &vonNummer)
    {
        return vonNummer.isEmpty() ? QString() : QStringLiteral("../../");
    }

    QString link(const QString &von, const QString &nummer) const
    {
        return wurzel(von) + WebAuftritt::seitenPfad(nummer);
    }

    QString kopf(const QString &von, const QString &titel, const QString &beschreibung,
                 const QString &zusatz = QString()) const
    {
        const QString w = wurzel(von);
        QString h = QStringLiteral("<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n"
                                   "<meta charset=\"utf-8\">\n"
                                   "<meta name=\"viewport\" content=\"width=device-width, "
                                   "initial-scale=1\">\n");
        h += QStringLiteral("<title>%1</title>\n").arg(e(titel));
        if (!beschreibung.isEmpty())
            h +=
                QStringLiteral("<meta name=\"description\" content=\"%1\">\n").arg(e(beschreibung));
        h += QStringLiteral("<link rel=\"stylesheet\" href=\"%1hilfe.css\">\n").arg(w);
        h += zusatz;
        h += QStringLiteral("<script src=\"%1hilfe.js\" defer></script>\n</head>\n<body>\n").arg(w);
        h += QStringLiteral("<a class=\"sprung\" href=\"#inhalt\">Zum Inhalt springen</a>\n"
                            "<header class=\"kopf\">\n<a class=\"marke\" href=\"%1index.html\">%2"
                            "</a>\n<nav class=\"werkzeuge\" aria-label=\"Verzeichnisse\"><a "
                            "href=\"%1index.html\">Inhalt</a> <a href=\"%1stichwoerter.html\">"
                            "Stichwörter</a></nav>\n"
                            "<form class=\"suche\" role=\"search\" action=\"%1suche.html\">"
                            "<label for=\"suchbegriff\">Suchen</label> <input type=\"search\" "
                            "id=\"suchbegriff\" name=\"q\" autocomplete=\"off\"> <button "
                            "type=\"submit\">Suchen</button></form>\n</header>\n")
                 .arg(w, e(Titel));
        return h;
    }

    static QString fuss(const QString &text)
    {
        return QStringLiteral("<footer class=\"fuss\">%1</footer>\n</body>\n</html>\n").arg(text);
    }

    // One tab row: each entry links to the first section it shows (an entry without one is
    // plain text); the chosen entry is marked.
    template <class Eintrag, class Ziel>
    QString reihe(const QString &von, const QString &klasse, const QString &name,
                  const QList<Eintrag> &eintraege, const Eintrag *gewaehlt, Ziel ziel) const
    {
        QString h = QStringLiteral("<nav class=\"%1\" aria-label=\"%2\"><ul>\n").arg(klasse, name);
        for (const Eintrag &x : eintraege) {
            const QString z = ziel(x);
            const QString aktuell =
                &x == gewaehlt ? QStringLiteral(" aria-current=\"true\"") : QString();
            h += z.isEmpty() ? QStringLiteral("<li><span>%1</span></li>\n").arg(e(x.titel))
                             : QStringLiteral("<li><a href=\"%1\"%2>%3</a></li>\n")
                                   .arg(link(von, z), aktuell, e(x.titel));
        }
        return h + QStringLiteral("</ul></nav>\n");
    }

    // The chapter and topic rows, as the help window has them.
    QString navigation(int i) const
    {
        const Seite &s = m_seiten.at(i);
        const QString von = s.abschnitt->hilfeNummer;
        return reihe(von, QStringLiteral("kapitel"), QStringLiteral("Kapitel"), m_baum.kapitel,
                     s.kapitel, &kapitelZiel) +
               reihe(von, QStringLiteral("themen"), QStringLiteral("Themen"), s.kapitel->themen,
                     s.thema, &themaZiel);
    }

    QString abschnittsListe(int i) const
    {
        const Seite &s = m_seiten.at(i);
        const QString von = s.abschnitt->hilfeNummer;
        QString h =
            QStringLiteral("<nav class=\"abschnitte\" aria-label=\"Abschnitte des Themas\"><ul>\n");
        for (const HilfeBaum::Abschnitt &a : s.thema->abschnitte) {
            if (!a.erreichbar)
                continue;
            h += &a == s.abschnitt
                     ? QStringLiteral("<li><a href=\"%1\" aria-current=\"page\">%2</a></li>\n")
                           .arg(link(von, a.hilfeNummer), e(a.titel))
                     : QStringLiteral("<li><a href=\"%1\">%2</a></li>\n")
                           .arg(link(von, a.hilfeNummer), e(a.titel));
        }
        return h + QStringLiteral("</ul></nav>\n");
    }

    HtmlVerweis verweis(const QString &von, const tVerweis &v) const
    {
        HtmlVerweis h;
        if (!v.TextNummer.isEmpty()) {
            // Most links name a section that exists; only the others are resolved.
            const QString ziel = m_stelle.contains(v.TextNummer)
                                     ? v.TextNummer
                                     : WebAuftritt::zielAufloesen(v.TextNummer, m_nummern);
            if (!ziel.isEmpty()) {
                h.href = link(von, ziel);
                h.klasse = QStringLiteral("verweis");
            }
            return h;
        }
        bool ok = false;
        const qint64 nummer = v.BildNummer.trimmed().toLongLong(&ok);
        if (ok && m_bildTitel.contains(nummer)) {
            h.href = wurzel(von) + bildPfad(nummer);
            h.klasse = QStringLiteral("bild");
            h.titel = m_bildTitel.value(nummer).isEmpty() ? v.BildTitel : m_bildTitel.value(nummer);
        }
        return h;
    }

    // The start of the text for search engines' result lists: the page's HTML without its tags.
    static QString beschreibung(const QString &html)
    {
        static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
        QString klar = QString(html).replace(tag, QStringLiteral(" ")).simplified();
        klar.replace(QLatin1String("&lt;"), QLatin1String("<"))
            .replace(QLatin1String("&gt;"), QLatin1String(">"))
            .replace(QLatin1String("&quot;"), QLatin1String("\""))
            .replace(QLatin1String("&#39;"), QLatin1String("'"))
            .replace(QLatin1String("&amp;"), QLatin1String("&"));
        return klar.size() > 160 ? klar.left(157) + QStringLiteral("…") : klar;
    }

    QString seite(int i) const
    {
        const Seite &s = m_seiten.at(i);
        const QString von = s.abschnitt->hilfeNummer;
        QString zusatz;
        if (i > 0)
            zusatz += QStringLiteral("<link rel=\"prev\" href=\"%1\">\n")
                          .arg(link(von, m_nummern.at(i - 1)));
        if (i + 1 < m_seiten.size())
            zusatz += QStringLiteral("<link rel=\"next\" href=\"%1\">\n")
                          .arg(link(von, m_nummern.at(i + 1)));
        const QString text = HtmlErzeuger::abschnitt(
            s.abschnitt->text, [&](const tVerweis &v) { return verweis(von, v); });
        QString h =
            kopf(von, QStringLiteral("%1 – %2 – %3").arg(s.abschnitt->titel, s.thema->titel, Titel),
                 beschreibung(text), zusatz);
        h += navigation(i);
        h += QStringLiteral("<div class=\"seite\">\n");
        h += abschnittsListe(i);
        h += QStringLiteral("<main id=\"inhalt\">\n<p class=\"pfad\">%1 › %2</p>\n<h1>%3</h1>\n")
                 .arg(e(s.kapitel->titel), e(s.thema->titel), e(s.abschnitt->titel));
        h += QStringLiteral("<div class=\"text\">\n");
        h += text;
        h += QStringLiteral("\n</div>\n<nav class=\"blaettern\" aria-label=\"Blättern\">\n");
        if (i > 0)
            h += QStringLiteral("<a rel=\"prev\" href=\"%1\">Vorige: %2</a>\n")
                     .arg(link(von, m_nummern.at(i - 1)), e(m_seiten.at(i - 1).abschnitt->titel));
        if (i + 1 < m_seiten.size())
            h += QStringLiteral("<a rel=\"next\" href=\"%1\">Nächste: %2</a>\n")
                     .arg(link(von, m_nummern.at(i + 1)), e(m_seiten.at(i + 1).abschnitt->titel));
        h += QStringLiteral("</nav>\n</main>\n</div>\n");
        return h + fuss(QStringLiteral("Hilfenummer %1").arg(e(von)));
    }

    QString inhaltsSeite() const
    {
        QString h = kopf({}, Titel, QStringLiteral("Inhalt der Programmbeschreibung"));
        h += QStringLiteral("<main id=\"inhalt\" class=\"verzeichnis\">\n<h1>Inhalt</h1>\n");
        for (const HilfeBaum::Kapitel &k : m_baum.kapitel) {
            h += QStringLiteral("<section>\n<h2>%1</h2>\n").arg(e(k.titel));
            for (const HilfeBaum::Thema &t : k.themen) {
                h += QStringLiteral("<h3>%1</h3>\n<ul>\n").arg(e(t.titel));
                for (const HilfeBaum::Abschnitt &a : t.abschnitte)
                    if (a.erreichbar)
                        h += QStringLiteral("<li><a href=\"%1\">%2</a></li>\n")
                                 .arg(WebAuftritt::seitenPfad(a.hilfeNummer), e(a.titel));
                h += QStringLiteral("</ul>\n");
            }
            h += QStringLiteral("</section>\n");
        }
        return h + QStringLiteral("</main>\n") + fuss(e(Titel));
    }

    QString stichwortSeite() const
    {
        QStringList woerter = m_baum.stichwoerter.keys();
        QCollator sortierung{QLocale(QLocale::German, QLocale::Germany)};
        sortierung.setCaseSensitivity(Qt::CaseInsensitive);
        std::sort(woerter.begin(), woerter.end(), sortierung);
        QString h = kopf({}, QStringLiteral("Stichwörter – %1").arg(Titel),
                         QStringLiteral("Stichwörter der Programmbeschreibung"));
        h += QStringLiteral("<main id=\"inhalt\" class=\"verzeichnis\">\n<h1>Stichwörter</h1>\n");
        // Letters first, for the keyboard and small screens.
        QStringList buchstaben;
        const auto buchstabe = [](const QString &w) {
            const QString b = w.left(1).toUpper();
            return b.isEmpty() || !b.at(0).isLetter() ? QStringLiteral("#") : b;
        };
        for (const QString &w : std::as_const(woerter))
            if (!m_baum.stichwoerter.value(w).isEmpty() && !buchstaben.contains(buchstabe(w)))
                buchstaben << buchstabe(w);
        h += QStringLiteral("<nav class=\"buchstaben\" aria-label=\"Anfangsbuchstaben\">");
        for (int b = 0; b < buchstaben.size(); ++b)
            h += QStringLiteral("<a href=\"#b%1\">%2</a> ").arg(b).arg(e(buchstaben.at(b)));
        h += QStringLiteral("</nav>\n");
        QString offen;
        for (const QString &w : std::as_const(woerter)) {
            const QStringList ziele = m_baum.stichwoerter.value(w);
            QStringList links;
            for (const QString &n : ziele)
                if (m_stelle.contains(n))
                    links << QStringLiteral("<a href=\"%1\">%2</a>")
                                 .arg(WebAuftritt::seitenPfad(n),
                                      e(m_seiten.at(m_stelle.value(n)).abschnitt->titel));
            if (links.isEmpty())
                continue;
            if (buchstabe(w) != offen) {
                if (!offen.isEmpty())
                    h += QStringLiteral("</dl>\n</section>\n");
                offen = buchstabe(w);
                h += QStringLiteral("<section>\n<h2 id=\"b%1\">%2</h2>\n<dl>\n")
                         .arg(buchstaben.indexOf(offen))
                         .arg(e(offen));
            }
            h += QStringLiteral("<dt>%1</dt>\n").arg(e(w));
            for (const QString &l : std::as_const(links))
                h += QStringLiteral("<dd>%1</dd>\n").arg(l);
        }
        if (!offen.isEmpty())
            h += QStringLiteral("</dl>\n</section>\n");
        return h + QStringLiteral("</main>\n") + fuss(e(Titel));
    }

    // suche.html?q=…: the full-text search (suche.js with the data of WebSuche.h).
    QString suchSeite() const
    {
        QString h = kopf({}, QStringLiteral("Suche – ") + Titel, QString(),
                         QStringLiteral("<script src=\"suche/index.js\" defer></script>\n"
                                        "<script src=\"suche.js\" defer></script>\n"));
        h += QStringLiteral("<main id=\"inhalt\" class=\"verzeichnis suchergebnis\">\n"
                            "<h1>Suche</h1>\n<div id=\"korrektur\"></div>\n"
                            "<p id=\"suchstatus\" role=\"status\" aria-live=\"polite\"></p>\n"
                            "<ol id=\"treffer\"></ol>\n<noscript><p>Die Suche braucht "
                            "JavaScript; das <a href=\"stichwoerter.html\">Stichwortverzeichnis"
                            "</a> geht ohne.</p></noscript>\n</main>\n");
        return h + fuss(e(Titel));
    }

    // hilfe.html#KK.TT.XX: the page of the section the help would show for that number.
    QString sprungSeite() const
    {
        QString h = kopf({}, Titel, QString());
        h += QStringLiteral("<main id=\"inhalt\" class=\"verzeichnis\">\n<h1>%1</h1>\n"
                            "<p>Zur <a href=\"index.html\">Übersicht</a>.</p>\n")
                 .arg(e(Titel));
        h += QStringLiteral("<script type=\"application/json\" id=\"abschnitte\">[");
        for (int i = 0; i < m_nummern.size(); ++i)
            h += (i ? QStringLiteral(",\"") : QStringLiteral("\"")) + m_nummern.at(i) +
                 QLatin1Char('"');
        h += QStringLiteral("]</script>\n</main>\n");
        return h + fuss(e(Titel));
    }

    QString sitemap() const
    {
        QString basis = m_optionen.adresse;
        if (!basis.endsWith(QLatin1Char('/')))
            basis += QLatin1Char('/');
        QString x = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<urlset "
                                   "xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n");
        QStringList pfade{QStringLiteral("index.html"), QStringLiteral("stichwoerter.html")};
        for (const QString &n : m_nummern)
            pfade << WebAuftritt::seitenPfad(n);
        for (const QString &p : std::as_const(pfade))
            x += QStringLiteral("<url><loc>%1</loc></url>\n").arg(e(basis + p));
        return x + QStringLiteral("</urlset>\n");
    }

    const HilfeBaum &m_baum;
    QString m_ordner;
    const WebAuftritt::Optionen &m_optionen;
    WebAuftritt::Ergebnis &m_ergebnis;
    QList<Seite> m_seiten;
    QStringList m_nummern;
    QHash<QString, int> m_stelle;
    QMap<qint64, QString> m_bildTitel;
    QJsonObject m_alt;
    QByteArray m_global;
};

} // namespace

QString WebAuftritt::seitenPfad(const QString &hilfeNummer)
{
    QStringList t = hilfeNummer.split(QLatin1Char('.'));
    return t.join(QLatin1Char('/')) + QStringLiteral(".html");
}

QString WebAuftritt::zielAufloesen(const QString &nummer, const QStringList &abschnitte)
{
    if (abschnitte.isEmpty())
        return {};
    const QList<int> n = teile(nummer);
    QList<QList<int>> alle;
    for (const QString &a : abschnitte)
        alle << teile(a);
    const auto finde = [&](auto passt) {
        for (int i = 0; i < alle.size(); ++i)
            if (alle.at(i).size() == 3 && passt(alle.at(i)))
                return i;
        return -1;
    };
    if (n.size() != 3)
        return abschnitte.first();
    // An unknown chapter: the first section of all.
    if (finde([&](const QList<int> &a) { return a[0] == n[0]; }) < 0)
        return abschnitte.first();
    // An unknown topic: the chapter's first topic, where the section is still looked for.
    int thema = n[1];
    if (finde([&](const QList<int> &a) { return a[0] == n[0] && a[1] == thema; }) < 0)
        thema = alle.at(finde([&](const QList<int> &a) { return a[0] == n[0]; }))[1];
    const int genau =
        finde([&](const QList<int> &a) { return a[0] == n[0] && a[1] == thema && a[2] == n[2]; });
    if (genau >= 0)
        return abschnitte.at(genau);
    return abschnitte.at(finde([&](const QList<int> &a) { return a[0] == n[0] && a[1] == thema; }));
}

bool WebAuftritt::schreiben(const HilfeBaum &baum, const QString &ordner, const Optionen &optionen,
                            Ergebnis &ergebnis, QString &fehler)
{
    ergebnis = Ergebnis();
    return Schreiber(baum, QDir(ordner).absolutePath(), optionen, ergebnis).schreiben(fehler);
}
