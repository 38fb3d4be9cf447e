// Large content against bounded time and memory. Each case writes a help database of its own
// (never kept), then measures what a user and the host application meet:
//  - the real server, started by activation on a private session bus (offscreen platform):
//    time from HilfeAnzeigen to its answer (the host waits 25 s at most), whether the server
//    answers a second call at once, and its peak resident memory (VmHWM);
//  - hilfedb text / drucken as child processes: wall time and peak resident memory (wait4);
//  - the print preparation of a text with 16,000 links, in this process;
//  - the print-out of the help window's print routine (Druckbefehl::BeschreibungDrucken with
//    the job the print command fills from the window: the current section's stored text) to
//    PDF, for a section of 16,000 picture links in one paragraph and a 50 MB section, each in
//    a child process of its own (this program started with --fensterdruck): wall time and
//    peak resident memory.
// One line per figure, with its target. bench_gross [FALL...] runs only the named cases.
#include "BildArchiv.h"
#include "DruckTextAufbereiten.h"
#include "Druckbefehl.h"
#include "Global.h"
#include "HilfeDatenbankSchreiber.h"
#include "PrivaterBus.h"
#include "TolvarDrucker.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDBusMessage>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString Bin = QStringLiteral(TOLVAR_BUILD_DIR "/bin");

QString absatz(const QString &text)
{
    return QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ") + text +
           QStringLiteral("\\par}");
}

// A 4000 x 4000 picture as PNG, hex-coded for an RTF \pict group.
QString pngPict(int nr)
{
    QImage bild(4000, 4000, QImage::Format_RGB32);
    bild.fill(QColor::fromHsv((nr * 37) % 360, 120, 230));
    QPainter p(&bild);
    p.drawLine(0, 0, 3999, 3999);
    p.end();
    QByteArray png;
    QBuffer puffer(&png);
    puffer.open(QIODevice::WriteOnly);
    bild.save(&puffer, "PNG");
    return QStringLiteral("{\\pict\\pngblip\\picw4000\\pich4000 ") +
           QString::fromLatin1(png.toHex()) + QStringLiteral("}");
}

QByteArray bmpArchiv(int nr)
{
    QImage bild(1024, 768, QImage::Format_RGB32);
    bild.fill(QColor::fromHsv((nr * 53) % 360, 90, 240));
    return BildArchiv::packen(bild);
}

struct Fall
{
    const char *name;
    std::function<bool(HilfeDatenbankSchreiber &)> fuellen;
    QStringList nummern;  // for the server; the first is the first call
    QStringList werkzeug; // hilfedb arguments after the database ("" = none)
};

// One paragraph of 16,000 picture links to 40 pictures.
QString bildverweiseEinAbsatz()
{
    QString text;
    for (int i = 0; i < 16000; ++i)
        text += QStringLiteral("Wort \\{P%1\\}Maske %2\\{PE\\} weiter ")
                    .arg(i % 40 + 1, 5, 10, QLatin1Char('0'))
                    .arg(i);
    return absatz(text);
}

// A section of 50 MB of text in one paragraph.
QString text50mb()
{
    QString text;
    text.reserve(50'000'000);
    while (text.size() < 50'000'000)
        text += QStringLiteral("Rechnungsposition mit Betrag und Steuer ");
    return absatz(text);
}

bool einKapitelEinThema(HilfeDatenbankSchreiber &s, const QString &text)
{
    const qint32 k = s.kapitelEinfuegen(1, QStringLiteral("Kapitel"), 1);
    const qint32 t = s.themaEinfuegen(k, 1, QStringLiteral("Thema"), 1);
    s.textEinfuegen(t, 1, QStringLiteral("Abschnitt"), text, 1);
    s.textEinfuegen(t, 2, QStringLiteral("Danach"), absatz(QStringLiteral("Kurz.")), 2);
    return true;
}

QList<Fall> faelle()
{
    QList<Fall> f;
    f.append({"abschnitt50mb",
              [](HilfeDatenbankSchreiber &s) { return einKapitelEinThema(s, text50mb()); },
              {QStringLiteral("01.01.01"), QStringLiteral("01.01.02")},
              {QStringLiteral("text"), QStringLiteral("01.01.01")}});
    f.append({"kapitel40000",
              [](HilfeDatenbankSchreiber &s) {
                  for (int i = 1; i <= 40000; ++i) {
                      const qint32 k =
                          s.kapitelEinfuegen(i, QStringLiteral("Kapitel %1").arg(i), i);
                      const qint32 t = s.themaEinfuegen(k, 1, QStringLiteral("Thema"), 1);
                      s.textEinfuegen(t, 1, QStringLiteral("A"), absatz(QStringLiteral("a")), 1);
                  }
                  return true;
              },
              {QStringLiteral("40000.01.01"), QStringLiteral("01.01.01")},
              {}});
    f.append({"themen40000",
              [](HilfeDatenbankSchreiber &s) {
                  const qint32 k = s.kapitelEinfuegen(1, QStringLiteral("Kapitel"), 1);
                  for (int i = 1; i <= 40000; ++i) {
                      const qint32 t = s.themaEinfuegen(k, i, QStringLiteral("Thema %1").arg(i), i);
                      s.textEinfuegen(t, 1, QStringLiteral("A"), absatz(QStringLiteral("a")), 1);
                  }
                  return true;
              },
              {QStringLiteral("01.40000.01"), QStringLiteral("01.01.01")},
              {}});
    f.append({"bilder64",
              [](HilfeDatenbankSchreiber &s) {
                  QString text;
                  for (int i = 0; i < 64; ++i)
                      text += QStringLiteral("Bild %1: ").arg(i) + pngPict(i) +
                              QStringLiteral("\\par ");
                  return einKapitelEinThema(s, absatz(text));
              },
              {QStringLiteral("01.01.01"), QStringLiteral("01.01.02")},
              {QStringLiteral("drucken"), QStringLiteral("01.01.01"), QStringLiteral("--umfang"),
               QStringLiteral("abschnitt"), QStringLiteral("--pdf")}});
    f.append({"bildverweise4000",
              [](HilfeDatenbankSchreiber &s) {
                  for (int b = 1; b <= 40; ++b)
                      s.bildEinfuegen(b, bmpArchiv(b), QStringLiteral("Bild %1").arg(b));
                  const qint32 k = s.kapitelEinfuegen(1, QStringLiteral("Kapitel"), 1);
                  for (int t = 1; t <= 40; ++t) {
                      const qint32 th =
                          s.themaEinfuegen(k, t, QStringLiteral("Thema %1").arg(t), t);
                      QString text;
                      for (int i = 0; i < 100; ++i)
                          text += QStringLiteral("Zeile %1 \\{P%2\\}Maske\\{PE\\}\\par ")
                                      .arg(i)
                                      .arg(i % 40 + 1, 5, 10, QLatin1Char('0'));
                      s.textEinfuegen(th, 1, QStringLiteral("Abschnitt"), absatz(text), 1);
                  }
                  return true;
              },
              {},
              {QStringLiteral("drucken"), QStringLiteral("01.01.01"), QStringLiteral("--umfang"),
               QStringLiteral("kapitel"), QStringLiteral("--grafiken"), QStringLiteral("--pdf")}});
    f.append({"druck50mb",
              [](HilfeDatenbankSchreiber &s) { return einKapitelEinThema(s, text50mb()); },
              {},
              {QStringLiteral("drucken"), QStringLiteral("01.01.01"), QStringLiteral("--umfang"),
               QStringLiteral("abschnitt"), QStringLiteral("--pdf")}});
    f.append({"bildverweise16000",
              [](HilfeDatenbankSchreiber &s) {
                  for (int b = 1; b <= 40; ++b)
                      s.bildEinfuegen(b, bmpArchiv(b), QStringLiteral("Bild %1").arg(b));
                  return einKapitelEinThema(s, bildverweiseEinAbsatz());
              },
              {},
              {QStringLiteral("drucken"), QStringLiteral("01.01.01"), QStringLiteral("--umfang"),
               QStringLiteral("abschnitt"), QStringLiteral("--pdf")}});
    return f;
}

// Runs a program and waits; wall time in ms and peak resident memory in MB, and (if asked) its
// CPU time in ms, which the load of other processes does not stretch.
bool kindLaufen(const QString &programm, const QStringList &args, double *ms, double *mb, int *code,
                double *cpuMs = nullptr)
{
    QList<QByteArray> roh;
    roh.append(programm.toLocal8Bit());
    for (const QString &a : args)
        roh.append(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &a : roh)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    QElapsedTimer t;
    t.start();
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        const int leer = ::open("/dev/null", 1);
        if (leer >= 0)
            dup2(leer, 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage nutzung{};
    if (wait4(pid, &status, 0, &nutzung) != pid)
        return false;
    *ms = t.nsecsElapsed() / 1e6;
    *mb = nutzung.ru_maxrss / 1024.0;
    if (cpuMs)
        *cpuMs = (nutzung.ru_utime.tv_sec + nutzung.ru_stime.tv_sec) * 1e3 +
                 (nutzung.ru_utime.tv_usec + nutzung.ru_stime.tv_usec) / 1e3;
    *code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
}

long hwmKb(uint pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &zeile : f.readAll().split('\n'))
        if (zeile.startsWith("VmHWM:"))
            return zeile.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

void serverMessen(const Fall &f, const QString &ordner)
{
    PrivaterBus bus; // activation starts bin/belnahilfe on the database folder
    if (!bus.starten(PrivaterBus::bauDienste(),
                     {{QStringLiteral("TOLVAR_HILFE_VERZEICHNIS"), ordner}})) {
        std::printf("%s: kein privater Bus\n", f.name);
        return;
    }
    for (const QString &nummer : f.nummern) {
        QElapsedTimer t;
        t.start();
        const QDBusMessage r = bus.anzeigen(nummer, 0, 25000);
        const double ms = t.nsecsElapsed() / 1e6;
        const QString gezeigt = bus.zustand(QStringLiteral("Abschnitt"), 25000).toString();
        std::printf("%s: Server HilfeAnzeigen %s bis zur Antwort: %.0f ms (Ziel <= 2000 ms)%s, "
                    "zeigt \"%s\"\n",
                    f.name, qPrintable(nummer), ms,
                    r.type() == QDBusMessage::ReplyMessage
                        ? ""
                        : qPrintable(QStringLiteral(" [FEHLER: %1]").arg(r.errorMessage())),
                    qPrintable(gezeigt));
        std::fflush(stdout);
    }
    const uint pid = bus.serverPid();
    const long kb = pid ? hwmKb(pid) : -1;
    std::printf("%s: Server Spitzenspeicher (VmHWM): %.0f MB (Ziel <= 600 MB)\n", f.name,
                kb / 1024.0);
}

void druckvorbereitungMessen()
{
    QString text;
    for (int i = 0; i < 16000; ++i)
        text += QStringLiteral("Wort \\{T01.01.%1\\}Ziel %2\\{TE\\} weiter ")
                    .arg(i % 90 + 1, 2, 10, QLatin1Char('0'))
                    .arg(i);
    const QString rtf = absatz(text);
    qint16 teile = 0;
    qint16 grafiken = 0;
    QList<QTextDocumentFragment> t{QTextDocumentFragment()};
    QList<QImage> g{QImage()};
    QList<qint16> gt{0};
    QList<QString> gn{QString()};
    QElapsedTimer uhr;
    uhr.start();
    DruckTextAufbereiten(rtf, teile, t, grafiken, g, gt, gn, false, QStringLiteral("Arial"),
                         [](const QString &, QByteArray &, QString &) { return false; });
    std::printf("verweise16000: Druckvorbereitung eines Textes mit 16000 Verweisen: %.0f ms "
                "(Ziel <= 500 ms), %d Teil(e)\n",
                uhr.nsecsElapsed() / 1e6, int(teile));

    // 16,000 picture links in one paragraph with pictures on: every link's picture is taken.
    const QByteArray archiv = bmpArchiv(1);
    qint16 teile2 = 0;
    qint16 bilder = 0;
    QList<QTextDocumentFragment> t2;
    QList<DruckBild> b2;
    QList<qint16> gt2;
    QList<QString> gn2;
    QHash<QString, DruckBild> bekannt;
    uhr.restart();
    DruckTextZerlegen(
        bildverweiseEinAbsatz(), teile2, t2, bilder, b2, gt2, gn2, true, QStringLiteral("Arial"),
        [&](const QString &, QByteArray &bild, QString &titel) {
            bild = archiv;
            titel = QStringLiteral("Maske");
            return true;
        },
        &bekannt);
    std::printf("verweise16000: Druckvorbereitung von 16000 Bildverweisen in einem Absatz, mit "
                "Grafiken: %.0f ms (Ziel <= 3000 ms), %d Teil(e), %d Bilder\n",
                uhr.nsecsElapsed() / 1e6, int(teile2), int(bilder));
}

// In the child: the help window's print routine on the current section to PDF; the exit code
// is 0 only when the job was printed.
int fensterDruck(const QString &fall, const QString &pdf)
{
    DruckAuftrag a;
    a.miDruckUmfang = 1;
    a.msDruckTitel = QStringLiteral("Abschnitt");
    a.msTexteInhalt = {QString(),
                       fall == QLatin1String("druck50mb") ? text50mb() : bildverweiseEinAbsatz()};
    a.miTexteAnzahl = 1;
    a.miAktTextIndex = 0;
    a.PdfDatei = pdf;
    TolvarDrucker dru;
    return Druckbefehl::BeschreibungDrucken(dru, a) == Beschreibungsdruck::Ergebnis::Gedruckt ? 0
                                                                                              : 1;
}

const char *druckZiel(const char *fall)
{
    return QByteArrayView(fall) == "druck50mb" ? "10 s" : "3 s";
}

void fensterDruckMessen(const char *fall)
{
    QTemporaryDir dir;
    double ms = 0;
    double mb = 0;
    double cpu = 0;
    int code = 0;
    if (kindLaufen(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--fensterdruck"), QString::fromLatin1(fall),
                    dir.filePath(QStringLiteral("fenster.pdf"))},
                   &ms, &mb, &code, &cpu))
        std::printf("%s: Druck des Hilfefensters: %.0f ms (CPU %.0f ms; Ziel <= %s), "
                    "Spitzenspeicher %.0f MB (Ziel <= 600 MB), Ende %d\n",
                    fall, ms, cpu, druckZiel(fall), mb, code);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // the print preparation lays out rich text
    QStringList nur = QCoreApplication::arguments().mid(1);
    if (nur.value(0) == QLatin1String("--fensterdruck"))
        return fensterDruck(nur.value(1), nur.value(2));
    const auto gewaehlt = [&](const char *name) {
        return nur.isEmpty() || nur.contains(QLatin1String(name));
    };
    if (gewaehlt("verweise16000"))
        druckvorbereitungMessen();
    for (const Fall &f : faelle()) {
        if (!gewaehlt(f.name))
            continue;
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("HilfeBelna.mdb"));
        QElapsedTimer bau;
        bau.start();
        HilfeDatenbankSchreiber s;
        QString fehler;
        if (!s.oeffnen(db, QString::fromLatin1(HilfePasswort), &fehler) || !f.fuellen(s) ||
            !s.abschliessen(&fehler)) {
            std::printf("%s: Datenbank nicht erstellt: %s\n", f.name, qPrintable(fehler));
            continue;
        }
        std::printf("%s: Datenbank %.1f MB in %.1f s erstellt\n", f.name,
                    QFileInfo(db).size() / 1e6, bau.nsecsElapsed() / 1e9);
        std::fflush(stdout);
        if (!f.nummern.isEmpty())
            serverMessen(f, dir.path());
        if (QByteArrayView(f.name) == "druck50mb" || QByteArrayView(f.name) == "bildverweise16000")
            fensterDruckMessen(f.name);
        if (!f.werkzeug.isEmpty()) {
            QStringList args{f.werkzeug.first(), db};
            args += f.werkzeug.mid(1);
            if (args.last() == QLatin1String("--pdf"))
                args.append(dir.filePath(QStringLiteral("aus.pdf")));
            double ms = 0;
            double mb = 0;
            double cpu = 0;
            int code = 0;
            if (kindLaufen(Bin + QStringLiteral("/hilfedb"), args, &ms, &mb, &code, &cpu))
                std::printf("%s: hilfedb %s: %.0f ms (CPU %.0f ms), Spitzenspeicher %.0f MB "
                            "(Ziel <= 600 MB), Ende %d\n",
                            f.name, qPrintable(f.werkzeug.first()), ms, cpu, mb, code);
        }
        std::fflush(stdout);
    }
    return 0;
}
