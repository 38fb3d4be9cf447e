// Benchmark of the rich-text path: rendering a 30,000-character section with 300 links,
// reading RTF documents of 0.5, 1 and 2 MB (paragraphs with tables, one long table: the time
// should grow in proportion to the size), and unpacking a 1024 x 768 bitmap archive.
// Prints the median of several runs of each.
#include "BildEntpacken.h"
#include "RtfLeser.h"
#include "Verweismarkup.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <zip.h>

static double median(int laeufe, const std::function<void()> &f)
{
    std::vector<double> ms;
    for (int i = 0; i < laeufe; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

static QByteArray abschnitt()
{
    // 300 links of ~100 characters each, in formatted paragraphs: about 30,000 characters.
    QByteArray r = "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0\\green0"
                   "\\blue255;}\\f0\\fs20 ";
    for (int i = 0; i < 300; ++i) {
        r += "Absatz mit Text \\'e4\\'f6\\'fc {\\b fett} und ";
        if (i % 2)
            r += "{\\cf1\\ul \\{T01.02." + QByteArray::number(i % 100).rightJustified(2, '0') +
                 "\\}Verweis\\{TE\\}}";
        else
            r += "{\\cf1\\ul \\{P" + QByteArray::number(i).rightJustified(5, '0') +
                 "\\}Bild\\{PE\\}}";
        r += " weiterer Text, der die Zeile f\\'fcllt.\\par\n";
    }
    return r + "}";
}

// A document of about `bytes` bytes: formatted list paragraphs, with a two-cell table row
// after every `tabelleAlle` paragraphs.
static QByteArray dokument(qsizetype bytes, int tabelleAlle)
{
    QByteArray r = "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}"
                   "{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs24 ";
    const QByteArray absatz = "\\pard\\li720\\sa120 {\\pntext\\f1\\'b7\\tab}Ein Absatz mit "
                              "{\\b fettem}, {\\i kursivem} und {\\cf1 farbigem} Text, "
                              "Umlauten \\'e4\\'f6\\'fc und \\u8364? Zeichen.\\par\n";
    const QByteArray zeile = "\\trowd\\cellx2000\\cellx4000\\intbl Zelle\\cell Zwei\\cell\\row"
                             "\\pard\n";
    for (int i = 1; r.size() < bytes; ++i) {
        r += absatz;
        if (i % tabelleAlle == 0)
            r += zeile;
    }
    return r + "}";
}

static QByteArray bildArchiv()
{
    QImage bild(1024, 768, QImage::Format_RGB888);
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x)
            bild.setPixelColor(x, y, QColor(x % 256, y % 256, (x * y) % 256));
    QByteArray bmp;
    QBuffer b(&bmp);
    b.open(QIODevice::WriteOnly);
    bild.save(&b, "BMP");
    QTemporaryDir dir;
    const QByteArray pfad = dir.filePath("a.zip").toUtf8();
    int fehler = 0;
    zip_t *z = zip_open(pfad.constData(), ZIP_CREATE | ZIP_TRUNCATE, &fehler);
    zip_file_add(z, "Temp.bmp", zip_source_buffer(z, bmp.constData(), bmp.size(), 0), 0);
    zip_close(z);
    QFile f(QString::fromUtf8(pfad));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString text = QString::fromLatin1(abschnitt());
    {
        QTextDocument d;
        QList<tVerweis> v;
        qint16 n = 0;
        Verweismarkup::darstellen(text, d, v, n);
        std::printf("section: %lld characters rendered, %d links\n",
                    static_cast<long long>(d.characterCount()), int(n));
    }
    const double msAbschnitt = median(21, [&] {
        QTextDocument d;
        QList<tVerweis> v;
        qint16 n = 0;
        Verweismarkup::darstellen(text, d, v, n);
    });
    std::printf("render section with links: median %.2f ms (target <= 10 ms)\n", msAbschnitt);
    const QByteArray roh = abschnitt();
    const double msNurLesen = median(21, [&] {
        QTextDocument d;
        RtfLesen(roh, d);
    });
    std::printf("  of which reading its RTF alone: median %.2f ms\n", msNurLesen);

    for (const int tabelleAlle : {20, 1}) {
        std::printf("RTF documents with a table row after every %d paragraph(s):\n", tabelleAlle);
        for (const double mb : {0.5, 1.0, 2.0}) {
            const QByteArray rtf = dokument(qsizetype(mb * 1024 * 1024), tabelleAlle);
            const double ms = median(7, [&] {
                QTextDocument d;
                RtfLesen(rtf, d);
            });
            std::printf("  read %.1f MB: median %.1f ms (target <= 100 ms for 1 MB)\n", mb, ms);
        }
    }

    std::printf("RTF documents of one long table (two cells a row):\n");
    for (const double mb : {0.5, 1.0, 2.0}) {
        QByteArray rtf = "{\\rtf1\\ansi ";
        while (rtf.size() < qsizetype(mb * 1024 * 1024))
            rtf += "\\trowd\\cellx2000\\cellx4000\\intbl Eine Zelle mit {\\b fettem} Text\\cell "
                   "Zwei\\cell\\row\n";
        rtf += "\\pard}";
        const double ms = median(7, [&] {
            QTextDocument d;
            RtfLesen(rtf, d);
        });
        std::printf("  read %.1f MB: median %.1f ms\n", mb, ms);
    }

    const QByteArray archiv = bildArchiv();
    const double msBild = median(21, [&] {
        QImage bild;
        BildEntpacken(archiv, bild);
    });
    std::printf("unpack 1024x768 bitmap archive (%lld bytes): median %.2f ms (target <= 15 ms)\n",
                static_cast<long long>(archiv.size()), msBild);
    return 0;
}
