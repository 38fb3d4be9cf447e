// Help numbers of a host program; see HilfeNummern.h.
#include "HilfeNummern.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// A file is taken as text when its first 8 KB hold no NUL byte.
bool istText(const QByteArray &anfang)
{
    return !anfang.left(8192).contains('\0');
}

void dateiDurchsuchen(const QString &pfad, const QString &anzeige, QList<HilfeNummern::Fund> &funde,
                      QStringList &fehler)
{
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly)) {
        fehler << QStringLiteral("%1: lässt sich nicht lesen: %2").arg(anzeige, f.errorString());
        return;
    }
    const QByteArray inhalt = f.readAll();
    if (istText(inhalt))
        HilfeNummern::textDurchsuchen(anzeige, inhalt, funde);
}

struct Teile
{
    int k = 0, t = 0, x = 0;
};

Teile teile(const QString &nummer)
{
    const QStringList p = nummer.split(QLatin1Char('.'));
    return {p.value(0).toInt(), p.value(1).toInt(), p.value(2).toInt()};
}

} // namespace

void HilfeNummern::textDurchsuchen(const QString &datei, const QByteArray &text, QList<Fund> &funde)
{
    // Two digits per part, as the host writes them; a quote on both sides, or the number
    // alone on its line.
    static const QRegularExpression literal(QStringLiteral("([\"'])(\\d\\d\\.\\d\\d\\.\\d\\d)\\1"));
    static const QRegularExpression allein(QStringLiteral("^\\s*(\\d\\d\\.\\d\\d\\.\\d\\d)\\s*$"));
    const QList<QByteArray> zeilen = text.split('\n');
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        // Only ASCII matters here; other bytes pass through Latin-1 unharmed.
        const QString zeile = QString::fromLatin1(zeilen[i]);
        if (const auto m = allein.match(zeile); m.hasMatch()) {
            funde << Fund{datei, int(i + 1), m.captured(1)};
            continue;
        }
        for (auto it = literal.globalMatch(zeile); it.hasNext();)
            funde << Fund{datei, int(i + 1), it.next().captured(2)};
    }
}

QList<HilfeNummern::Fund> HilfeNummern::suchen(const QStringList &pfade, QStringList &fehler)
{
    QList<Fund> funde;
    for (const QString &pfad : pfade) {
        const QFileInfo info(pfad);
        if (!info.exists()) {
            fehler << QStringLiteral("%1: gibt es nicht").arg(pfad);
            continue;
        }
        if (!info.isDir()) {
            dateiDurchsuchen(pfad, pfad, funde, fehler);
            continue;
        }
        // Sorted, so the report is the same on every run.
        QStringList dateien;
        QDirIterator it(pfad, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString datei = it.next();
            const QString relativ = QDir(pfad).relativeFilePath(datei);
            if (relativ.startsWith(QLatin1Char('.')) || relativ.contains(QLatin1String("/.")))
                continue;
            dateien << datei;
        }
        dateien.sort();
        for (const QString &d : std::as_const(dateien))
            dateiDurchsuchen(d, d, funde, fehler);
    }
    return funde;
}

QString HilfeNummern::ziel(const QString &nummer, const QStringList &abschnitte)
{
    const Teile n = teile(nummer);
    QString ersterImKapitel, ersterImThema;
    for (const QString &a : abschnitte) {
        const Teile t = teile(a);
        if (t.k != n.k)
            continue;
        if (t.t == n.t && t.x == n.x)
            return QString();
        if (ersterImKapitel.isEmpty())
            ersterImKapitel = a;
        if (t.t == n.t && ersterImThema.isEmpty())
            ersterImThema = a;
    }
    if (!ersterImThema.isEmpty()) {
        return QStringLiteral("kein Abschnitt %1 in Thema %2: die Hilfe zeigt den Anfang des "
                              "Themas (%3)")
            .arg(nummer.section(QLatin1Char('.'), 2), nummer.left(5), ersterImThema);
    }
    if (!ersterImKapitel.isEmpty()) {
        return QStringLiteral("kein Thema %1 in Kapitel %2: die Hilfe zeigt das erste Thema des "
                              "Kapitels (%3)")
            .arg(nummer.section(QLatin1Char('.'), 1, 1), nummer.left(2), ersterImKapitel);
    }
    return QStringLiteral("kein Kapitel %1: die Hilfe zeigt den Anfang der Beschreibung%2")
        .arg(nummer.left(2),
             abschnitte.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(abschnitte.first()));
}
