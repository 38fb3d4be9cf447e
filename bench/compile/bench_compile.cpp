// Benchmark: compiles the help sources in content/ (or the folder given as an argument) into a
// database in a temporary folder, several times, and prints the times of reading and drawing,
// of writing, and of the whole run. Target: a whole run in at most 10 s.
// "--mal N" compiles N copies of the sources side by side instead (chapter numbers, links and
// labels of each copy shifted so that they stay unique), to see how the time grows with the
// size of a help.
#include "DatenbankAufbau.h"
#include "QuellParser.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

QByteArray lesen(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool schreiben(const QString &pfad, const QByteArray &daten)
{
    QDir().mkpath(QFileInfo(pfad).path());
    QFile f(pfad);
    return f.open(QIODevice::WriteOnly) && f.write(daten) == daten.size();
}

// Copy kopie of a chapter file: chapter numbers and the chapter part of links moved by
// versatz, labels given the copy's number.
QString verschieben(QString text, int versatz, int kopie)
{
    const auto nummer = [versatz](const QString &n) {
        return QStringLiteral("%1").arg(n.toInt() + versatz, 2, 10, QLatin1Char('0'));
    };
    static const QRegularExpression kapitel(QStringLiteral("^= (\\d+)"),
                                            QRegularExpression::MultilineOption);
    static const QRegularExpression link(QStringLiteral("\\[\\[(\\d\\d)\\."));
    static const QRegularExpression marke(QStringLiteral("(\\{#|\\[\\[#)([A-Za-z0-9_-]+)"));
    QString aus;
    qsizetype pos = 0;
    for (auto it = kapitel.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        aus += text.mid(pos, m.capturedStart(1) - pos) +
               QString::number(m.captured(1).toInt() + versatz);
        pos = m.capturedEnd(1);
    }
    text = aus + text.mid(pos);
    aus.clear();
    pos = 0;
    for (auto it = link.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        aus += text.mid(pos, m.capturedStart(1) - pos) + nummer(m.captured(1));
        pos = m.capturedEnd(1);
    }
    text = aus + text.mid(pos);
    if (kopie > 0)
        text.replace(marke, QStringLiteral("\\1\\2-k%1").arg(kopie));
    return text;
}

// Writes mal copies of the sources in quelle into ziel; false when a file cannot be written.
bool vervielfachen(const QString &quelle, const QString &ziel, int mal)
{
    const QDir q(quelle);
    int kapitelJeKopie = 0;
    const QStringList kapitelDateien =
        QDir(q.filePath(QStringLiteral("kapitel")))
            .entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    static const QRegularExpression kapitelKopf(QStringLiteral("^= (\\d+) *\\|"),
                                                QRegularExpression::MultilineOption);
    for (const QString &d : kapitelDateien) {
        const QString text = QString::fromUtf8(lesen(q.filePath(QStringLiteral("kapitel/") + d)));
        for (auto it = kapitelKopf.globalMatch(text); it.hasNext();)
            kapitelJeKopie = std::max(kapitelJeKopie, it.next().captured(1).toInt());
    }
    for (int k = 0; k < mal; ++k) {
        for (const QString &d : kapitelDateien) {
            const QString text =
                QString::fromUtf8(lesen(q.filePath(QStringLiteral("kapitel/") + d)));
            const QString name =
                QStringLiteral("kapitel/k%1-%2").arg(k, 2, 10, QLatin1Char('0')).arg(d);
            if (!schreiben(QDir(ziel).filePath(name),
                           verschieben(text, k * kapitelJeKopie, k).toUtf8()))
                return false;
        }
    }
    // Pictures, snippets and variables are shared by every copy.
    for (QDirIterator it(quelle, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString pfad = it.next();
        const QString relativ = q.relativeFilePath(pfad);
        if (relativ.startsWith(QLatin1String("kapitel/")))
            continue;
        if (!schreiben(QDir(ziel).filePath(relativ), lesen(pfad)))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = QGuiApplication::arguments().mid(1);
    int mal = 1;
    if (const qsizetype i = args.indexOf(QStringLiteral("--mal")); i >= 0) {
        mal = args.value(i + 1).toInt();
        args.remove(i, 2);
        if (mal < 1 || mal > 16) {
            std::fputs("--mal: 1 bis 16\n", stderr);
            return 2;
        }
    }
    QString quelle = args.isEmpty() ? QStringLiteral(TOLVAR_CONTENT_DIR) : args.first();
    const int laeufe = 3;
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    if (mal > 1) {
        const QString kopien = dir.filePath(QStringLiteral("quelle"));
        if (!vervielfachen(quelle, kopien, mal)) {
            std::fputs("Kopien der Quellen nicht geschrieben\n", stderr);
            return 1;
        }
        quelle = kopien;
        std::printf("%d Kopien der Quellen\n", mal);
    }

    qint64 besterLauf = -1;
    for (int lauf = 1; lauf <= laeufe; ++lauf) {
        QElapsedTimer uhr;
        uhr.start();
        HilfeQuelle q;
        QList<QuellFehler> fehler;
        if (!QuellParser::lesen(quelle, q, fehler)) {
            for (const QuellFehler &f : std::as_const(fehler))
                std::fprintf(stderr, "%s\n", qPrintable(f.alsText()));
            return 1;
        }
        const qint64 gelesen = uhr.elapsed();
        QString text;
        DatenbankAufbau::Statistik st;
        if (!DatenbankAufbau::schreiben(q, dir.filePath(QStringLiteral("HilfeBelna.mdb")), &text,
                                        &st)) {
            std::fprintf(stderr, "%s\n", qPrintable(text));
            return 1;
        }
        const qint64 gesamt = uhr.elapsed();
        std::printf("Lauf %d: lesen und zeichnen %lld ms, schreiben %lld ms, gesamt %lld ms "
                    "(%d Abschnitte, %d Bilder, %d Stichwörter)\n",
                    lauf, static_cast<long long>(gelesen), static_cast<long long>(gesamt - gelesen),
                    static_cast<long long>(gesamt), st.texte, st.bilder, st.woerter);
        besterLauf = besterLauf < 0 ? gesamt : std::min(besterLauf, gesamt);
    }
    std::printf("bester Lauf: %lld ms; Ziel höchstens 10000 ms: %s\n",
                static_cast<long long>(besterLauf), besterLauf <= 10000 ? "erreicht" : "VERFEHLT");
    return 0;
}
