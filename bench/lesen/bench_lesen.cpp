// Benchmark of the reading aids on a section of about 30,000 characters with 300 links,
// shown in the real help window offscreen (900 x 700):
// - a zoom step (Lesehilfen::setZoom) until the text box has painted again; target 30 ms;
// - a keystroke in the find bar until every hit is marked and painted; target 10 ms (the
//   first keystroke after opening the bar also prepares the section's comparable text).
// Prints the median and the largest of the runs of each, and whether the target is met.
#include "Datenbank.h"
#include "HilfeDatenbankSchreiber.h"
#include "HilfeUmgebung.h"
#include "Lesehilfen.h"
#include "TextZoom.h"
#include "frmHilfe.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Messung
{
    double median;
    double hoechstens;
};

Messung messen(int laeufe, const std::function<void(int)> &f)
{
    std::vector<double> ms;
    for (int i = 0; i < laeufe; ++i) {
        QElapsedTimer t;
        t.start();
        f(i);
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

QString abschnitt()
{
    QString r = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}{\\colortbl;"
                               "\\red0\\green0\\blue255;}\\f0\\fs20 ");
    for (int i = 0; i < 300; ++i) {
        r += QStringLiteral("Absatz mit Text \\'c4nderung {\\b fett} und "
                            "{\\cf1\\ul \\{T01.01.01\\}Verweis auf Rechnung\\{TE\\}}"
                            " weiterer Text, der die Zeile f\\'fcllt %1.\\par\n")
                 .arg(i);
    }
    return r + QStringLiteral("}");
}

void ausgeben(const char *was, Messung m, double ziel)
{
    std::printf("%-48s Median %7.2f ms, höchstens %7.2f ms  (Ziel %.0f ms: %s)\n", was, m.median,
                m.hoechstens, ziel, m.median <= ziel ? "erreicht" : "VERFEHLT");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    HilfeUmgebung u;
    if (!u.einrichten())
        return 1;
    {
        HilfeDatenbankSchreiber s;
        if (!u.schreiben(s))
            return 1;
        const qint32 k = s.kapitelEinfuegen(1, QStringLiteral("Kapitel"), 1);
        const qint32 t = s.themaEinfuegen(k, 1, QStringLiteral("Thema"), 1);
        s.textEinfuegen(t, 1, QStringLiteral("Lang"), abschnitt(), 1);
        QString fehler;
        if (!s.abschliessen(&fehler)) {
            std::fprintf(stderr, "%s\n", qPrintable(fehler));
            return 1;
        }
    }
    setzeProgrammVerzeichnis(u.dir.path());
    u.zuruecksetzen();
    frmHilfe *h = HilfeUmgebung::oeffnen(QStringLiteral("01.01.01"));
    if (!h)
        return 1;
    QTextEdit *txt = h->txt();
    Lesehilfen *l = h->lesehilfen();
    QApplication::processEvents();
    std::printf("Abschnitt: %d Zeichen, %d Verweise\n", txt->document()->characterCount() - 1,
                int(h->dokument()->verweisAnzahl()));

    const int stufen[] = {110, 125, 150, 175, 200, 150, 100, 90, 75, 100};
    const Messung zoom = messen(40, [&](int i) {
        l->setZoom(stufen[i % std::size(stufen)]);
        txt->viewport()->repaint();
    });
    ausgeben("Zoomstufe bis zum neu gezeichneten Text", zoom, 30);
    if (qEnvironmentVariableIsSet("BENCH_EINZELN")) {
        int alt = 100;
        const Messung nur = messen(40, [&](int i) {
            const int neu = stufen[i % std::size(stufen)];
            TextZoom::skalieren(*txt->document(), alt, neu);
            alt = neu;
        });
        ausgeben("  davon Formate skalieren", nur, 30);
        const Messung malen = messen(40, [&](int) { txt->viewport()->repaint(); });
        ausgeben("  davon nur Zeichnen", malen, 30);
        TextZoom::skalieren(*txt->document(), alt, 100);
    }
    l->setZoom(100);

    l->findenOeffnen();
    auto *feld = l->suchleiste()->findChild<QLineEdit *>(QStringLiteral("txtFinden"));
    const QString wort = QStringLiteral("rechnung");
    // The first letter has the most hits (every "r" in view).
    const Messung erste = messen(15, [&](int) {
        feld->clear();
        QTest::keyClick(feld, wort.at(0).toLatin1());
        txt->viewport()->repaint();
    });
    ausgeben("erster Buchstabe (alle \"r\" im Blick markiert)", erste, 10);
    const Messung taste = messen(60, [&](int i) {
        // Typing the word and deleting it again: hits from many to few and back.
        const int n = int(feld->text().size());
        if (i % 16 < 7 && n < wort.size())
            QTest::keyClick(feld, wort.at(n).toLatin1());
        else
            QTest::keyClick(feld, Qt::Key_Backspace);
        txt->viewport()->repaint();
    });
    ausgeben("Tastendruck bis zur gezeichneten Markierung", taste, 10);
    feld->setText(QStringLiteral("aenderung"));
    std::printf("Treffer für „aenderung“: %d\n", l->trefferAnzahl());
    HilfeUmgebung::entladen();
    return 0;
}
