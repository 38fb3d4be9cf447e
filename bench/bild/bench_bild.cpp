// Benchmark: opens a picture of 1024 x 768 pixels in the picture window (offscreen) as a click
// on its link does, from the call to the painted window: once into a new window each time and
// once into the window that is already open. Reads, unpacks and decodes the picture every
// time. The data is synthetic (picture 1 is 1024 x 768). Prints medians; target 40 ms.
#include "Arbeitsbereich.h"
#include "Datenbank.h"
#include "DatenbankAufbau.h"
#include "Global.h"
#include "SynthetischeDaten.h"
#include "frmHilfeBild.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    std::fprintf(stderr, "Schreibe Testdaten ...\n");
    SynthetischeDaten::Optionen o;
    o.kapitel = 1;
    o.themen = 1;
    o.abschnitte = 2;
    o.woerter = 100;
    o.zuordnungen = 100;
    o.bilder = 1;
    QString fehler;
    if (!DatenbankAufbau::schreiben(SynthetischeDaten::erzeugen(o),
                                    dir.filePath(QStringLiteral("HilfeBelna.mdb")), &fehler)) {
        std::fprintf(stderr, "%s\n", qPrintable(fehler));
        return 1;
    }
    setzeProgrammVerzeichnis(dir.path());
    gsPasswort = QString::fromLatin1(HilfePasswort);
    // A work area large enough for the whole picture, as on a usual desktop.
    FesterArbeitsbereich bereich(QRect(0, 0, 1920, 1050));
    setzeArbeitsbereich(&bereich);

    const int wiederholungen = 30;
    std::vector<double> neu;
    std::vector<double> wieder;
    for (int i = 0; i < 2 * wiederholungen; ++i) {
        const bool neuesFenster = i % 2 == 0;
        if (neuesFenster) {
            frmHilfeBild::Entladen();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QElapsedTimer t;
        t.start();
        if (!frmHilfeBild::BildZeigen(QStringLiteral("00001"), QStringLiteral("Bild"))) {
            std::fprintf(stderr, "Bild 00001 nicht gezeigt\n");
            return 1;
        }
        frmHilfeBild::instanz(false)->repaint(); // painted now, not on the next loop turn
        QApplication::processEvents();
        const double ms = double(t.nsecsElapsed()) / 1e6;
        (neuesFenster ? neu : wieder).push_back(ms);
    }
    const QSize groesse = frmHilfeBild::instanz(false)->picBild()->pixmap().size();
    if (groesse != QSize(1024, 768)) {
        std::fprintf(stderr, "Bild 00001 ist %d x %d\n", groesse.width(), groesse.height());
        return 1;
    }
    const double mNeu = median(neu);
    const double mWieder = median(wieder);
    std::printf("Bild 1024 x 768, neues Fenster:   Median %6.2f ms\n", mNeu);
    std::printf("Bild 1024 x 768, offenes Fenster: Median %6.2f ms\n", mWieder);
    std::printf("Ziel Median höchstens 40 ms: %s\n",
                std::max(mNeu, mWieder) <= 40.0 ? "erreicht" : "VERFEHLT");
    frmHilfeBild::Entladen();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
