// See HilfeZustand.h.
#include "HilfeZustand.h"

#include "HilfeSitzung.h"
#include "Lesehilfen.h"
#include "ProtokollMeldungen.h"
#include "Registerkarten.h"
#include "frmHilfe.h"
#include "frmHilfeBild.h"
#include "frmInhalt.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QTabBar>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

namespace {

QJsonArray rechteck(const QRect &r)
{
    if (r.isNull())
        return {};
    return {r.x(), r.y(), r.width(), r.height()};
}

QJsonArray global(const QWidget *w)
{
    if (!w)
        return {};
    return rechteck(QRect(w->mapToGlobal(QPoint(0, 0)), w->size()));
}

QString beschreibung(const QObject *o)
{
    if (!o)
        return QString();
    return QString::fromLatin1(o->metaObject()->className()) + QLatin1Char(':') + o->objectName();
}

QString json(const QJsonValue &v)
{
    if (v.isObject())
        return QString::fromUtf8(QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact));
    return QString::fromUtf8(QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact));
}

QJsonObject karten(const Registerkarten *r)
{
    QJsonArray captions;
    QJsonArray rechtecke;
    for (int i = 0; i < r->anzahl(); ++i) {
        captions.append(r->caption(i));
        // The row holds a window of the tabs, starting at ersteKarte(); the others have no
        // place on the screen.
        const int k = i - r->ersteKarte();
        const QRect t = k >= 0 && k < r->leiste()->count() ? r->leiste()->tabRect(k) : QRect();
        rechtecke.append(t.isNull()
                             ? QJsonArray()
                             : rechteck(QRect(r->leiste()->mapToGlobal(t.topLeft()), t.size())));
    }
    // The row's arrow that scrolls to the tabs at the right, where the row shows one.
    const QToolButton *pfeil = nullptr;
    for (const QToolButton *k : r->leiste()->findChildren<QToolButton *>())
        if (k->arrowType() == Qt::RightArrow)
            pfeil = k;
    return {
        {QStringLiteral("anzahl"), r->anzahl()},
        {QStringLiteral("aktuell"), r->aktuell()},
        {QStringLiteral("global"), global(r)},
        {QStringLiteral("pfeilRechts"), pfeil && pfeil->isVisible() ? global(pfeil) : QJsonArray()},
        {QStringLiteral("captions"), captions},
        {QStringLiteral("rechtecke"), rechtecke}};
}

// The reading aids: zoom, the find bar with the screen rectangle of the current hit, the
// bookmarks, the link that has the keyboard.
void lesehilfenEintragen(QJsonObject &z, frmHilfe *h)
{
    const Lesehilfen *l = h ? h->lesehilfen() : nullptr;
    if (!l)
        return;
    z[QStringLiteral("zoom")] = l->zoom();
    QJsonArray aktuell;
    if (l->trefferAktuell() >= 0) {
        // From the hit's first character to its end on the first line.
        const auto &t = l->treffer().at(l->trefferAktuell());
        QTextCursor c(h->txt()->document());
        c.setPosition(t.anfang);
        QRect r = h->txt()->cursorRect(c);
        c.setPosition(t.anfang + t.laenge);
        const QRect ende = h->txt()->cursorRect(c);
        if (ende.top() == r.top() && ende.left() > r.left())
            r.setRight(ende.left() - 1);
        aktuell = rechteck(QRect(h->txt()->viewport()->mapToGlobal(r.topLeft()), r.size()));
    }
    z[QStringLiteral("finden")] = QJsonObject{{QStringLiteral("offen"), l->findenOffen()},
                                              {QStringLiteral("text"), l->suchText()},
                                              {QStringLiteral("treffer"), l->trefferAnzahl()},
                                              {QStringLiteral("aktuell"), l->trefferAktuell()},
                                              {QStringLiteral("meldung"), l->findenMeldung()},
                                              {QStringLiteral("aktuellGlobal"), aktuell}};
    QJsonArray lesezeichen;
    for (const auto &e : l->lesezeichen())
        lesezeichen.append(
            QJsonObject{{QStringLiteral("nummer"), e.nummer}, {QStringLiteral("name"), e.name}});
    z[QStringLiteral("lesezeichen")] = lesezeichen;
    z[QStringLiteral("verweisFokus")] = l->verweisFokus();
}

// The entries of an open menu, for a test that picks one.
QJsonArray menueEintraege(const QWidget *popup)
{
    QJsonArray eintraege;
    const auto *menue = qobject_cast<const QMenu *>(popup);
    if (!menue)
        return eintraege;
    for (QAction *a : menue->actions()) {
        if (a->isSeparator())
            continue;
        const QRect r = menue->actionGeometry(a);
        eintraege.append(QJsonObject{{QStringLiteral("text"), a->text()},
                                     {QStringLiteral("aktiv"), a->isEnabled()},
                                     {QStringLiteral("tip"), a->toolTip()},
                                     {QStringLiteral("global"),
                                      rechteck(QRect(menue->mapToGlobal(r.topLeft()), r.size()))}});
    }
    return eintraege;
}

} // namespace

bool HilfeZustand::gewuenscht()
{
    return qgetenv(TestzugangVariable) == "1";
}

QString HilfeZustand::Abschnitt() const
{
    frmHilfe *h = frmHilfe::instanz();
    return (h && h->isVisible()) ? h->AktuelleNummer() : QString();
}

bool HilfeZustand::RahmenSichtbar() const
{
    frmInhalt *r = frmInhalt::instanz();
    return r && r->isVisible();
}

bool HilfeZustand::HilfeSichtbar() const
{
    frmHilfe *h = frmHilfe::instanz();
    return h && h->isVisible();
}

QString HilfeZustand::Zustand() const
{
    QJsonObject z;
    frmInhalt *r = frmInhalt::instanz();
    frmHilfe *h = frmHilfe::instanz();
    z[QStringLiteral("abschnitt")] = Abschnitt();
    z[QStringLiteral("darstellung")] = m_sitzung.darstellung();

    QJsonArray verlauf;
    if (h)
        for (int i = 1; i <= h->dokument()->verlauf().anzahl(); ++i)
            verlauf.append(h->dokument()->verlauf().eintrag(i));
    z[QStringLiteral("verlauf")] = verlauf;
    z[QStringLiteral("position")] = h ? h->dokument()->verlauf().position() : 0;

    QJsonObject buttons;
    if (r) {
        for (int i = 1; i <= frmInhalt::ButtonAnzahl; ++i) {
            QAction *a = r->Button(i);
            buttons[QString::number(i)] =
                QJsonObject{{QStringLiteral("aktiv"), a->isEnabled()},
                            {QStringLiteral("sichtbar"), a->isVisible()},
                            {QStringLiteral("global"),
                             a->isVisible() ? global(r->tlb()->widgetForAction(a)) : QJsonArray()}};
        }
        z[QStringLiteral("rahmen")] =
            QJsonObject{{QStringLiteral("sichtbar"), r->isVisible()},
                        {QStringLiteral("minimiert"), r->isMinimized()},
                        {QStringLiteral("maximiert"), r->isMaximized()},
                        {QStringLiteral("aktiv"), r->isActiveWindow()},
                        {QStringLiteral("geometrie"), rechteck(r->frameGeometry())},
                        {QStringLiteral("innen"), rechteck(r->geometry())}};
    }
    z[QStringLiteral("buttons")] = buttons;
    z[QStringLiteral("hilfeSichtbar")] = h && h->isVisible();
    z[QStringLiteral("meldungen")] = QJsonArray::fromStringList(Meldungen());
    z[QStringLiteral("fokus")] = beschreibung(QApplication::focusWidget());
    z[QStringLiteral("fokusName")] =
        QApplication::focusWidget() ? QApplication::focusWidget()->accessibleName() : QString();
    z[QStringLiteral("popup")] = beschreibung(QApplication::activePopupWidget());
    z[QStringLiteral("modal")] = beschreibung(QApplication::activeModalWidget());
    z[QStringLiteral("popupEintraege")] = menueEintraege(QApplication::activePopupWidget());
    lesehilfenEintragen(z, h);

    if (h) {
        z[QStringLiteral("tabMain")] = karten(h->tabMain());
        z[QStringLiteral("tabSub")] = karten(h->tabSub());
        QJsonArray abschnitte;
        const int markiert = h->dokument()->abschnittIndex();
        for (int i = 0; i < h->dokument()->abschnitte().size(); ++i) {
            const QLabel *l = h->lblSub(i);
            if (!l || !l->isVisible())
                continue;
            abschnitte.append(QJsonObject{{QStringLiteral("titel"), l->text()},
                                          {QStringLiteral("global"), global(l)},
                                          {QStringLiteral("markiert"), i == markiert}});
        }
        z[QStringLiteral("abschnitte")] = abschnitte;
        z[QStringLiteral("aktTextIndex")] = markiert;
    }

    const frmHilfeBild *b = frmHilfeBild::instanz(false);
    z[QStringLiteral("bild")] =
        QJsonObject{{QStringLiteral("offen"), b && b->isVisible()},
                    {QStringLiteral("titel"), b ? b->windowTitle() : QString()},
                    {QStringLiteral("gezeigt"), frmHilfeBild::gezeigtAnzahl()}};
    const QWidget *stichwort = r ? r->stichwortFenster() : nullptr;
    z[QStringLiteral("stichwort")] =
        QJsonObject{{QStringLiteral("offen"), stichwort && stichwort->isVisible()}};
    return json(z);
}

QString HilfeZustand::Widget(const QString &name) const
{
    // Visible windows first: a hidden window may hold a control of the same name.
    QWidget *gefunden = nullptr;
    const auto fenster = QApplication::topLevelWidgets();
    for (QWidget *t : fenster) {
        const auto kandidaten = t->findChildren<QWidget *>(name);
        QList<QWidget *> alle(kandidaten.begin(), kandidaten.end());
        if (t->objectName() == name)
            alle.prepend(t);
        for (QWidget *w : alle) {
            if (!gefunden || (w->isVisible() && !gefunden->isVisible()))
                gefunden = w;
        }
    }
    if (!gefunden)
        return json(QJsonObject{{QStringLiteral("gefunden"), false}});
    QString text;
    if (const auto *b = qobject_cast<const QAbstractButton *>(gefunden))
        text = b->text();
    else if (const auto *l = qobject_cast<const QLabel *>(gefunden))
        text = l->text();
    else if (const auto *e = qobject_cast<const QLineEdit *>(gefunden))
        text = e->text();
    else if (const auto *v = qobject_cast<const QAbstractItemView *>(gefunden)) {
        // A list: its rows, one a line, the current one marked with "> ".
        QStringList zeilen;
        if (const QAbstractItemModel *m = v->model()) {
            for (int r = 0; r < m->rowCount(v->rootIndex()); ++r) {
                const QModelIndex i = m->index(r, 0, v->rootIndex());
                zeilen << (i == v->currentIndex() ? QStringLiteral("> ") : QString()) +
                              i.data().toString();
            }
        }
        text = zeilen.join(u'\n');
    }
    return json(QJsonObject{
        {QStringLiteral("gefunden"), true},
        {QStringLiteral("sichtbar"), gefunden->isVisible()},
        {QStringLiteral("aktiv"), gefunden->isEnabled()},
        {QStringLiteral("text"), text},
        {QStringLiteral("klasse"), QString::fromLatin1(gefunden->metaObject()->className())},
        {QStringLiteral("global"), gefunden->isVisible() ? global(gefunden) : QJsonArray()}});
}

QString HilfeZustand::Verweise() const
{
    QJsonArray liste;
    frmHilfe *h = frmHilfe::instanz();
    if (!h)
        return json(liste);
    QWidget *vp = h->txt()->viewport();
    const QList<tVerweis> &verweise = h->dokument()->verweise();
    for (int i = 1; i <= h->dokument()->verweisAnzahl() && i < verweise.size(); ++i) {
        const tVerweis &v = verweise.at(i);
        QJsonArray rechtecke;
        QRect zeile;
        for (int p = v.Anfang; p < v.Ende; ++p) {
            const QRect z = h->ZeichenRechteck(p);
            if (z.isNull())
                continue;
            if (!zeile.isNull() && z.top() == zeile.top()) {
                zeile = zeile.united(z);
                continue;
            }
            if (!zeile.isNull())
                rechtecke.append(rechteck(QRect(vp->mapToGlobal(zeile.topLeft()), zeile.size())));
            zeile = z;
        }
        if (!zeile.isNull())
            rechtecke.append(rechteck(QRect(vp->mapToGlobal(zeile.topLeft()), zeile.size())));
        liste.append(QJsonObject{{QStringLiteral("index"), i},
                                 {QStringLiteral("text"), h->TextBereich(v.Anfang, v.Ende)},
                                 {QStringLiteral("textNummer"), v.TextNummer},
                                 {QStringLiteral("bildNummer"), v.BildNummer},
                                 {QStringLiteral("anfang"), v.Anfang},
                                 {QStringLiteral("ende"), v.Ende},
                                 {QStringLiteral("rechtecke"), rechtecke}});
    }
    return json(liste);
}

QString HilfeZustand::Zeichen(int position) const
{
    frmHilfe *h = frmHilfe::instanz();
    if (!h)
        return json(QJsonArray());
    const QRect z = h->ZeichenRechteck(position);
    if (z.isNull())
        return json(QJsonArray());
    return json(rechteck(QRect(h->txt()->viewport()->mapToGlobal(z.topLeft()), z.size())));
}

QStringList HilfeZustand::Meldungen() const
{
    return m_meldungen ? m_meldungen->texte() : QStringList();
}

bool HilfeZustand::Bildschirmfoto(const QString &pfad) const
{
    frmInhalt *r = frmInhalt::instanz();
    if (!r)
        return false;
    QCoreApplication::sendPostedEvents();
    return r->grab().save(pfad, "PNG");
}

void HilfeZustand::RahmenGroesse(int breite, int hoehe)
{
    if (frmInhalt *r = frmInhalt::instanz())
        r->resize(breite, hoehe);
}
