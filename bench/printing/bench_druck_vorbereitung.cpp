// Print preparation of one section text with many text links (the tags are removed before the
// text is cut into parts): milliseconds for 2,000, 4,000, 8,000 and 16,000 links, so that the
// growth can be read off; target for 16,000 links: at most 500 ms.
#include "DruckTextAufbereiten.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <cstdio>

namespace {

double messen(int verweise)
{
    QString text = QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ");
    for (int i = 0; i < verweise; ++i)
        text += QStringLiteral("Wort \\{T01.01.%1\\}Ziel %2\\{TE\\} weiter ")
                    .arg(i % 90 + 1, 2, 10, QLatin1Char('0'))
                    .arg(i);
    text += QStringLiteral("\\par }");
    qint16 teile = 0, grafiken = 0;
    QList<QTextDocumentFragment> t{QTextDocumentFragment()};
    QList<QImage> g{QImage()};
    QList<qint16> gt{0};
    QList<QString> gn{QString()};
    QElapsedTimer uhr;
    uhr.start();
    DruckTextAufbereiten(text, teile, t, grafiken, g, gt, gn, false, QStringLiteral("Arial"),
                         [](const QString &, QByteArray &, QString &) { return false; });
    return double(uhr.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    for (int n : {2000, 4000, 8000, 16000}) {
        std::printf("Druckvorbereitung, %5d Verweise: %8.0f ms%s\n", n, messen(n),
                    n == 16000 ? " (Ziel <= 500 ms)" : "");
        std::fflush(stdout);
    }
    return 0;
}
