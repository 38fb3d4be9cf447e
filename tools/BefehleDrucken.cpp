// hilfedb drucken: the print-out of a section, a topic or a chapter as the help prints it,
// written to a PDF file. The number is resolved through the help's own content queries, the
// job is filled as the help window fills it for that scope (the section's or topic's texts of
// the topic, the topic IDs and captions of the chapter, the title of the scope), and the same
// print-out code draws it on a printer control that writes a PDF.
#include "Befehle.h"
#include "DatenbankOrt.h"

#include "Beschreibungsdruck.h"
#include "Global.h"
#include "HilfeDatenbank.h"
#include "TolvarDrucker.h"
#include "Zeichenkette.h"

#include "Aufraeumen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

bool dieselbeDatei(const QString &a, const QString &b)
{
    struct stat sa = {}, sb = {};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool zielIstDatenbank(const QString &ziel, const QString &datenbank)
{
    if (!dieselbeDatei(ziel, datenbank))
        return false;
    std::fprintf(stderr, "hilfedb: %s ist die Hilfedatenbank selbst und wird nicht überschrieben\n",
                 qPrintable(ziel));
    return true;
}

namespace {

QString fehlerText(int nr)
{
    if (nr == ENOSPC || nr == EFBIG || nr == EDQUOT)
        return QStringLiteral("Datenträger voll oder Größengrenze für Dateien erreicht");
    if (nr == EACCES || nr == EPERM || nr == EROFS)
        return QStringLiteral("keine Schreibberechtigung");
    if (nr == ENOENT || nr == ENOTDIR)
        return QStringLiteral("den Ordner gibt es nicht");
    return QString::fromLocal8Bit(std::strerror(nr));
}

} // namespace

bool dateiErsetzen(const QString &ziel, const QByteArray &inhalt, QString *fehler)
{
    const QFileInfo info(ziel);
    const QString echt = info.isSymLink() ? info.canonicalFilePath() : ziel;
    if ((info.exists() || info.isSymLink()) && !QFileInfo(echt).isFile()) {
        *fehler = QStringLiteral("keine gewöhnliche Datei");
        return false;
    }
    QByteArray neu = QFile::encodeName(echt) + ".XXXXXX";
    const int fd = ::mkstemp(neu.data());
    if (fd < 0) {
        *fehler = fehlerText(errno);
        return false;
    }
    const Aufraeumen::Datei eintrag(QFile::decodeName(neu));
    int fehlerNr = 0;
    for (qsizetype geschrieben = 0; geschrieben < inhalt.size() && !fehlerNr;) {
        const ssize_t n = ::write(fd, inhalt.constData() + geschrieben,
                                  size_t(inhalt.size() - geschrieben));
        if (n > 0)
            geschrieben += n;
        else if (n < 0 && errno != EINTR)
            fehlerNr = errno;
    }
    // The temporary file was made for the owner only; the result gets the usual mode.
    const mode_t maske = ::umask(0);
    ::umask(maske);
    if (!fehlerNr && ::fchmod(fd, 0666 & ~maske) != 0)
        fehlerNr = errno;
    if (::close(fd) != 0 && !fehlerNr)
        fehlerNr = errno;
    if (!fehlerNr && ::rename(neu.constData(), QFile::encodeName(echt).constData()) != 0)
        fehlerNr = errno;
    if (fehlerNr) {
        ::unlink(neu.constData());
        *fehler = fehlerText(fehlerNr);
        return false;
    }
    return true;
}

namespace {

const char *const aufruf = "Aufruf: hilfedb drucken DB NUMMER --umfang abschnitt|thema|kapitel "
                           "[--grafiken] --pdf DATEI.pdf\n";

struct Aufruf
{
    QString datenbank, nummer, pdf;
    int umfang = -1; // 1 section, 2 topic, 3 chapter
    bool grafiken = false;
};

bool zerlegen(const QStringList &args, Aufruf &a)
{
    QStringList frei;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &s = args[i];
        if (s == QLatin1String("--grafiken")) {
            a.grafiken = true;
        } else if (s == QLatin1String("--umfang") || s == QLatin1String("--pdf")) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty())
                return false;
            const QString wert = args[++i];
            if (s == QLatin1String("--pdf")) {
                a.pdf = wert;
            } else {
                const QStringList namen = {QStringLiteral("abschnitt"), QStringLiteral("thema"),
                                           QStringLiteral("kapitel")};
                a.umfang = int(namen.indexOf(wert)) + 1;
                if (a.umfang < 1)
                    return false;
            }
        } else if (s.startsWith(QLatin1String("--"))) {
            return false;
        } else {
            frei << s;
        }
    }
    if (frei.size() != 2 || a.umfang < 1 || a.pdf.isEmpty())
        return false;
    a.datenbank = frei[0];
    a.nummer = frei[1];
    return true;
}

// The parts of a help number that the scope needs (chapter, topic, section), each read as a
// whole number as the help reads them; the number has one to three parts, at least as many
// as the scope needs, and every part it has must name something.
bool nummerLesen(const QString &nummer, int umfang, QList<qint32> &teile)
{
    const int n = int(nummer.count(QLatin1Char('.'))) + 1;
    const int noetig = 4 - umfang; // section: 3 parts, topic: 2, chapter: 1
    if (n > 3 || n < noetig)
        return false;
    for (int i = 1; i <= n; ++i) {
        bool ok = false;
        const qint32 wert = Zeichenkette(nummer, i, 1, QStringLiteral(".")).trimmed().toInt(&ok);
        if (!ok)
            return false;
        teile << wert;
    }
    return true;
}

enum class Aufloesung { Gefunden, Unbekannt, Fehler };

// Fills the job as the help window does for the scope, from the section, topic or chapter
// that the number names.
Aufloesung auftragFuellen(const QList<qint32> &teile, int umfang, DruckAuftrag &a,
                          QString &unbekannt)
{
    const auto formatieren = [&](int n) {
        QStringList s;
        for (int i = 0; i < n; ++i)
            s << QStringLiteral("%1").arg(teile[i], 2, 10, QLatin1Char('0'));
        return s.join(QLatin1Char('.'));
    };
    // The first row with the number asked for; -1 when there is none.
    const auto finden = [](const auto &e, qint32 nummer) {
        for (qsizetype i = 0; i < e.zeilen.size(); ++i)
            if (e.zeilen[i].nummer == nummer)
                return i;
        return qsizetype(-1);
    };
    HilfeDatenbank &db = standardDatenbank();
    const Ergebnis<KapitelZeile> kapitel = db.kapitel();
    if (!kapitel.ok)
        return Aufloesung::Fehler;
    const qsizetype k = finden(kapitel, teile[0]);
    if (k < 0) {
        unbekannt = QStringLiteral("kein Kapitel ") + formatieren(1);
        return Aufloesung::Unbekannt;
    }
    const Ergebnis<ThemaZeile> themen = db.themen(kapitel.zeilen[k].id);
    if (!themen.ok)
        return Aufloesung::Fehler;
    qsizetype t = -1;
    Ergebnis<TextZeile> texte;
    if (teile.size() >= 2) {
        t = finden(themen, teile[1]);
        if (t < 0) {
            unbekannt = QStringLiteral("kein Thema ") + formatieren(2);
            return Aufloesung::Unbekannt;
        }
        texte = db.texte(themen.zeilen[t].id);
        if (!texte.ok)
            return Aufloesung::Fehler;
    }
    qsizetype x = -1;
    if (teile.size() >= 3) {
        x = finden(texte, teile[2]);
        if (x < 0) {
            unbekannt = QStringLiteral("kein Abschnitt ") + formatieren(3);
            return Aufloesung::Unbekannt;
        }
    }

    // The print job keeps the help window's arrays, element 0 unused.
    a.miDruckUmfang = qint16(umfang);
    if (umfang == 3) {
        a.msDruckTitel = kapitel.zeilen[k].bezeichnung;
        a.mlThemenIDs = QList<qint32>(1, 0);
        for (const ThemaZeile &z : themen.zeilen) {
            a.mlThemenIDs << z.id;
            a.ThemenTitel << z.bezeichnung;
        }
        a.miThemenAnzahl = qint16(themen.zeilen.size());
        return Aufloesung::Gefunden;
    }
    a.msTexteInhalt = QList<QString>(1);
    for (const TextZeile &z : texte.zeilen)
        a.msTexteInhalt << z.text;
    a.miTexteAnzahl = qint16(texte.zeilen.size());
    a.miAktTextIndex = qint16(x);
    a.msDruckTitel = umfang == 1 ? texte.zeilen[x].bezeichnung : themen.zeilen[t].bezeichnung;
    return Aufloesung::Gefunden;
}

} // namespace

int befehlDrucken(const QStringList &args)
{
    Aufruf aufr;
    if (!zerlegen(args, aufr)) {
        std::fputs(aufruf, stderr);
        return 2;
    }
    // The print-out never takes the place of the database it is made from.
    if (zielIstDatenbank(aufr.pdf, aufr.datenbank))
        return 2;
    QList<qint32> teile;
    if (!nummerLesen(aufr.nummer, aufr.umfang, teile)) {
        std::fprintf(stderr,
                     "hilfedb: „%s“ ist keine Hilfenummer für diesen Umfang "
                     "(KK für kapitel, KK.TT für thema, KK.TT.XX für abschnitt)\n",
                     qPrintable(aufr.nummer));
        return 1;
    }

    const DatenbankOrt ort(aufr.datenbank);
    DruckAuftrag auftrag;
    auftrag.mbMitGrafik = aufr.grafiken;
    auftrag.PdfDatei = QFileInfo(aufr.pdf).absoluteFilePath();
    QString unbekannt;
    switch (auftragFuellen(teile, aufr.umfang, auftrag, unbekannt)) {
    case Aufloesung::Gefunden:
        break;
    case Aufloesung::Unbekannt:
        std::fprintf(stderr, "hilfedb: %s\n", qPrintable(unbekannt));
        return 1;
    case Aufloesung::Fehler:
        return 1; // the query layer has reported it
    }

    // The font the help server sets at start-up for rendered and printed text.
    gsSchriftName = QStringLiteral("Arial");
    giSchriftGroesse = 10;
    TolvarDrucker dru;
    Beschreibungsdruck druck(dru, gsSchriftName, giSchriftGroesse);
    switch (druck.BeschreibungDrucken(auftrag)) {
    case Beschreibungsdruck::Ergebnis::Gedruckt:
        std::printf("%s: %d %s\n", qPrintable(aufr.pdf), dru.Seitennummer(),
                    dru.Seitennummer() == 1 ? "Seite" : "Seiten");
        return 0;
    case Beschreibungsdruck::Ergebnis::NichtGestartet:
    case Beschreibungsdruck::Ergebnis::Fehlgeschlagen:
        // Nothing is left at the target: the print-out is written beside it and takes its
        // name only when complete.
        std::fprintf(stderr, "hilfedb: %s wurde nicht geschrieben: %s\n", qPrintable(aufr.pdf),
                     qPrintable(druck.fehler()));
        return 1;
    default:
        return 1; // reading a topic failed; the query layer has reported it
    }
}
