// Repeated compiles of a source folder for the live preview; see VorschauUebersetzer.h.
#include "VorschauUebersetzer.h"

#include "DatenbankAufbau.h"
#include "QuellParser.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

VorschauUebersetzer::VorschauUebersetzer(const QString &quellOrdner, const QString &ziel)
    : m_ordner(quellOrdner), m_ziel(ziel)
{
}

QByteArray VorschauUebersetzer::fingerabdruck() const
{
    // Every file below the folder by name and bytes: an editor that saves a file unchanged, or
    // the second of two notices of one save, gives the same print.
    QStringList dateien;
    QDirIterator it(m_ordner, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        dateien << it.next();
    std::sort(dateien.begin(), dateien.end());
    QCryptographicHash h(QCryptographicHash::Sha1);
    for (const QString &d : std::as_const(dateien)) {
        QFile f(d);
        h.addData(d.toUtf8());
        h.addData(QByteArrayView("\0", 1));
        if (f.open(QIODevice::ReadOnly))
            h.addData(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1));
    }
    return h.result();
}

namespace {

QString zuletztBearbeitet(const QString &ordner, const HilfeQuelle &quelle)
{
    const QFileInfoList dateien =
        QDir(QDir(ordner).filePath(QStringLiteral("kapitel")))
            .entryInfoList({QStringLiteral("*.txt")}, QDir::Files, QDir::Time);
    if (dateien.isEmpty())
        return {};
    const QString datei = QStringLiteral("kapitel/") + dateien.first().fileName();
    for (const QuellKapitel &k : quelle.kapitel)
        for (const QuellThema &t : k.themen)
            for (const QuellAbschnitt &a : t.abschnitte)
                if (a.datei == datei)
                    return QStringLiteral("%1.%2.%3")
                        .arg(k.nummer, 2, 10, QLatin1Char('0'))
                        .arg(t.nummer, 2, 10, QLatin1Char('0'))
                        .arg(a.nummer, 2, 10, QLatin1Char('0'));
    return {};
}

} // namespace

VorschauUebersetzer::Lauf VorschauUebersetzer::uebersetzen()
{
    Lauf lauf;
    const QByteArray abdruck = fingerabdruck();
    if (abdruck == m_letzterAbdruck) {
        lauf.unveraendert = true;
        return lauf;
    }
    m_letzterAbdruck = abdruck;

    HilfeQuelle quelle;
    QuellParser::lesen(m_ordner, quelle, lauf.meldungen, &m_bilder);
    lauf.fehler = int(std::count_if(lauf.meldungen.cbegin(), lauf.meldungen.cend(),
                                    [](const QuellFehler &f) { return !f.warnung; }));
    lauf.bilderGezeichnet = m_bilder.gezeichnet();
    lauf.bilderWiederverwendet = m_bilder.wiederverwendet();
    lauf.zuletztBearbeitet = zuletztBearbeitet(m_ordner, quelle);
    if (lauf.fehler > 0)
        return lauf;
    lauf.geschrieben = DatenbankAufbau::schreiben(quelle, m_ziel, &lauf.schreibFehler);
    if (!lauf.geschrieben)
        m_letzterAbdruck.clear(); // the next run tries again
    return lauf;
}
