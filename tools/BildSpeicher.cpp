// The store of drawn and packed pictures; see BildSpeicher.h.
#include "BildSpeicher.h"

#include "BildArchiv.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>

namespace {

// What a picture depends on: its file's bytes and the values of the variables it names (a
// mock screen may use them; the name of an unknown one counts as its value).
QByteArray schluesselVon(const QString &pfad, const QuellParser::Umgebung &umgebung)
{
    QCryptographicHash h(QCryptographicHash::Sha1);
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return {}; // not readable: read again, which reports it
    const QByteArray daten = f.readAll();
    h.addData(daten);
    static const QRegularExpression variable(
        QStringLiteral("\\{\\{\\s*([A-Za-z][A-Za-z0-9_-]*)\\s*\\}\\}"));
    for (auto it = variable.globalMatch(QString::fromUtf8(daten)); it.hasNext();) {
        const QString name = it.next().captured(1).toLower();
        const auto wert = umgebung.variablen.constFind(name);
        h.addData(
            QStringLiteral("\n%1%2%3")
                .arg(name,
                     wert == umgebung.variablen.cend() ? QStringLiteral("?") : QStringLiteral("="),
                     wert == umgebung.variablen.cend() ? QString() : *wert)
                .toUtf8());
    }
    return h.result();
}

} // namespace

void BildSpeicher::neueRunde()
{
    for (auto it = m_eintraege.begin(); it != m_eintraege.end();) {
        if (m_gesehen.contains(it.key()))
            ++it;
        else
            it = m_eintraege.erase(it);
    }
    m_gesehen.clear();
    m_gezeichnet = m_wiederverwendet = 0;
}

void BildSpeicher::lesen(const QString &pfad, const QString &dateiName,
                         const QuellParser::Umgebung &umgebung, HilfeQuelle &quelle,
                         QList<QuellFehler> &fehler)
{
    m_gesehen.insert(pfad);
    const QByteArray schluessel = schluesselVon(pfad, umgebung);
    const auto it = m_eintraege.constFind(pfad);
    if (!schluessel.isEmpty() && it != m_eintraege.cend() && it->schluessel == schluessel) {
        ++m_wiederverwendet;
        if (it->bild)
            quelle.bilder << *it->bild;
        fehler += it->meldungen;
        return;
    }
    ++m_gezeichnet;
    HilfeQuelle einzeln;
    Eintrag e;
    e.schluessel = schluessel;
    QuellParser::bildDateiLesen(pfad, dateiName, einzeln, e.meldungen, umgebung);
    if (!einzeln.bilder.isEmpty()) {
        QuellBild b = einzeln.bilder.first();
        // Packed here once; a picture that does not pack is packed again on writing, which
        // reports why.
        b.archiv = !b.bmp.isEmpty() ? BildArchiv::bmpPacken(b.bmp) : BildArchiv::packen(b.bild);
        e.bild = b;
        quelle.bilder << b;
    }
    fehler += e.meldungen;
    if (!schluessel.isEmpty())
        m_eintraege.insert(pfad, e);
}
