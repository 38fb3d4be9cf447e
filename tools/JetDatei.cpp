// Reading Jet tables through libmdb (see JetDatei.h).
//
// Rows are fetched with libmdb's table scan with no column bound, so libmdb converts nothing;
// each fetched row is then taken apart once more with mdb_crack_row, which gives every field's
// NULL flag, position and length on the page. Fixed and text fields are decoded from the page
// directly, long values through mdb_ole_read / mdb_ole_read_next with a buffer bound to the
// column only for that read.
#include "JetDatei.h"

#include "JetText.h"

#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

// mdbtools.h includes glib.h inside extern "C"; glib's C++ parts must come in before that.
#include <glib.h>
#include <mdbtools.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <vector>

// Under AddressSanitizer the address space is reserved in terabytes up front, so a limit on it
// cannot be set; the parent's watch on the child's resident memory holds then alone.
#if defined(__SANITIZE_ADDRESS__)
#define JET_OHNE_ADRESSGRENZE 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define JET_OHNE_ADRESSGRENZE 1
#endif
#endif
#ifdef JET_OHNE_ADRESSGRENZE
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

constexpr int Jet4Seite = 4096;
constexpr int Jet3Seite = 2048;
constexpr int ZeilenVersatzMaske = 0x1fff; // the row offsets' low bits; the rest are flags
constexpr quint32 LangwertLaengeMaske = 0x3fffffff;

// libmdb writes its own complaints (in English) to standard error while it reads a damaged
// file; the importer says in one German sentence what is wrong, so they are held back while
// libmdb runs.
class LibmdbStill
{
public:
    LibmdbStill()
    {
        std::fflush(stderr);
        m_alt = dup(STDERR_FILENO);
        const int leer = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (m_alt >= 0 && leer >= 0)
            dup2(leer, STDERR_FILENO);
        if (leer >= 0)
            close(leer);
    }
    ~LibmdbStill()
    {
        std::fflush(stderr);
        if (m_alt >= 0) {
            dup2(m_alt, STDERR_FILENO);
            close(m_alt);
        }
    }
    LibmdbStill(const LibmdbStill &) = delete;
    LibmdbStill &operator=(const LibmdbStill &) = delete;

private:
    int m_alt = -1;
};

quint32 le32(const unsigned char *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

QString typName(int typ)
{
    switch (typ) {
    case MDB_BOOL:
        return QStringLiteral("Ja/Nein");
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
        return QStringLiteral("Zahl");
    case MDB_MONEY:
        return QStringLiteral("Währung");
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_NUMERIC:
        return QStringLiteral("Kommazahl");
    case MDB_DATETIME:
        return QStringLiteral("Datum/Uhrzeit");
    case MDB_BINARY:
        return QStringLiteral("Binär");
    case MDB_TEXT:
        return QStringLiteral("Text");
    case MDB_OLE:
        return QStringLiteral("OLE-Objekt");
    case MDB_MEMO:
        return QStringLiteral("Memo");
    default:
        return QStringLiteral("Typ %1").arg(typ);
    }
}

bool passt(JetDatei::Art art, int typ)
{
    switch (art) {
    case JetDatei::Art::Zahl:
        return typ == MDB_BYTE || typ == MDB_INT || typ == MDB_LONGINT;
    case JetDatei::Art::Text:
        return typ == MDB_TEXT || typ == MDB_MEMO;
    case JetDatei::Art::Bild:
        return typ == MDB_OLE || typ == MDB_MEMO;
    }
    return false;
}

QString erwartet(JetDatei::Art art)
{
    switch (art) {
    case JetDatei::Art::Zahl:
        return QStringLiteral("eine ganze Zahl");
    case JetDatei::Art::Text:
        return QStringLiteral("Text oder Memo");
    case JetDatei::Art::Bild:
        return QStringLiteral("OLE-Objekt oder Memo");
    }
    return {};
}

const QString Beschaedigt = QStringLiteral("die Datei ist beschädigt oder abgeschnitten");

} // namespace

struct JetDatei::Daten
{
    MdbHandle *mdb = nullptr;
    int version = 0;
    int codePage = 0;
    QByteArray puffer; // bound to a long-value column while it is read

    ~Daten()
    {
        if (mdb) {
            LibmdbStill still;
            mdb_close(mdb);
        }
    }

    bool text(const QByteArray &roh, QString *t, QString *grund) const
    {
        return version == 4 ? JetText::jet4Lesen(roh, t, grund)
                            : JetText::jet3Lesen(roh, codePage, t, grund);
    }

    // The raw bytes of a MEMO or OLE value whose 12-byte head lies at feld.start on the page.
    bool langwert(MdbColumn *spalte, const MdbField &feld, QByteArray *wert, QString *fehler);
};

JetDatei::JetDatei() : d(std::make_unique<Daten>()) {}

JetDatei::~JetDatei() = default;

int JetDatei::jetVersion() const
{
    return d->version;
}

bool JetDatei::oeffnen(const QString &pfad, QString *fehler)
{
    // What the header says is checked here, before libmdb sees the file.
    QFile datei(pfad);
    if (!QFileInfo(pfad).isFile() || !datei.open(QIODevice::ReadOnly)) {
        *fehler = QStringLiteral("kann nicht gelesen werden: ") +
                  (QFileInfo::exists(pfad) ? datei.errorString()
                                           : QStringLiteral("die Datei gibt es nicht"));
        return false;
    }
    const QByteArray kopf = datei.read(0x20);
    const qint64 groesse = datei.size();
    datei.close();
    const bool jet = kopf.size() == 0x20 && kopf.startsWith(QByteArray("\x00\x01\x00\x00", 4));
    if (jet && kopf.mid(4, 15) == "Standard ACE DB") {
        *fehler = QStringLiteral("ist eine Access-Datenbank ab Access 2007 (.accdb); "
                                 "unterstützt wird nur Jet 4 (Access 2000, .mdb)");
        return false;
    }
    if (!jet || kopf.mid(4, 15) != "Standard Jet DB") {
        *fehler = QStringLiteral("ist keine Jet-Datenbank (Access .mdb)");
        return false;
    }
    const int version = uchar(kopf[0x14]);
    if (version > MDB_VER_JET4) {
        *fehler = QStringLiteral("hat ein neueres Format als Jet 4 (Kennung %1); "
                                 "unterstützt wird nur Jet 4 (Access 2000, .mdb)")
                      .arg(version);
        return false;
    }
    const int seite = version == MDB_VER_JET4 ? Jet4Seite : Jet3Seite;
    if (groesse < 3 * seite || groesse % seite != 0) {
        *fehler = QStringLiteral("ist unvollständig: %1 Bytes sind keine ganze Zahl von "
                                 "Datenbankseiten zu %2 Bytes; %3")
                      .arg(groesse)
                      .arg(seite)
                      .arg(Beschaedigt);
        return false;
    }

    LibmdbStill still;
    d->mdb = mdb_open(QFile::encodeName(pfad).constData(), MDB_NOFLAGS);
    if (!d->mdb) {
        *fehler = QStringLiteral("kann nicht geöffnet werden; ") + Beschaedigt;
        return false;
    }
    d->version = d->mdb->f->jet_version == MDB_VER_JET4 ? 4 : 3;
    d->codePage = d->mdb->f->code_page;
    if (d->mdb->f->db_key != 0) {
        *fehler = QStringLiteral("ist verschlüsselt (Jet-Seitenverschlüsselung) und wird nicht "
                                 "gelesen; speichern Sie sie zuerst unverschlüsselt");
        return false;
    }
    if (!mdb_read_catalog(d->mdb, MDB_ANY)) {
        *fehler = QStringLiteral("hat keinen lesbaren Katalog; ") + Beschaedigt;
        return false;
    }
    // The catalogue is the table MSysObjects, whose definition is on page 2 of every Jet file;
    // fewer entries than it counts means pages are missing.
    MdbCatalogEntry katalog{};
    katalog.mdb = d->mdb;
    katalog.object_type = MDB_TABLE;
    katalog.table_pg = 2;
    std::snprintf(katalog.object_name, sizeof katalog.object_name, "MSysObjects");
    MdbTableDef *t = mdb_read_table(&katalog);
    const unsigned erwartet = t ? t->num_rows : 0;
    if (t)
        mdb_free_tabledef(t);
    if (d->mdb->num_catalog < erwartet) {
        *fehler = QStringLiteral("hat einen unvollständigen Katalog (%1 von %2 Einträgen); ")
                      .arg(d->mdb->num_catalog)
                      .arg(erwartet) +
                  Beschaedigt;
        return false;
    }
    return true;
}

bool JetDatei::Daten::langwert(MdbColumn *spalte, const MdbField &feld, QByteArray *wert,
                               QString *fehler)
{
    if (feld.siz < MDB_MEMO_OVERHEAD) {
        *fehler = QStringLiteral("Langwert ohne vollständigen Kopf");
        return false;
    }
    unsigned char kopf[MDB_MEMO_OVERHEAD];
    std::memcpy(kopf, mdb->pg_buf + feld.start, MDB_MEMO_OVERHEAD);
    const quint32 laenge = le32(kopf) & LangwertLaengeMaske;

    if (puffer.size() < 2 * int(mdb->fmt->pg_size))
        puffer.resize(2 * int(mdb->fmt->pg_size));
    spalte->cur_value_start = feld.start;
    spalte->cur_value_len = feld.siz;
    spalte->bind_ptr = puffer.data();
    QByteArray w;
    w.reserve(qsizetype(qMin<quint32>(laenge, 64u << 20)));
    size_t n = mdb_ole_read(mdb, spalte, kopf, size_t(puffer.size()));
    w.append(puffer.constData(), qsizetype(n));
    // A damaged chain could loop; nothing beyond the stated length is read.
    while (quint32(w.size()) < laenge && (n = mdb_ole_read_next(mdb, spalte, kopf)) > 0)
        w.append(puffer.constData(), qsizetype(n));
    spalte->bind_ptr = nullptr;
    if (quint32(w.size()) != laenge) {
        *fehler = QStringLiteral("Langwert mit %1 statt %2 Bytes").arg(w.size()).arg(laenge);
        return false;
    }
    *wert = w;
    return true;
}

bool JetDatei::lesen(const QString &tabelle, const QList<Spalte> &spalten, QList<Zeile> *zeilen,
                     QString *fehler)
{
    zeilen->clear();
    if (!d->mdb) {
        *fehler = QStringLiteral("ist nicht geöffnet");
        return false;
    }
    const QString zitiert = QStringLiteral("„") + tabelle + QStringLiteral("“");
    const bool woerter = tabelle == QStringLiteral("WörterIndex");
    const QByteArray name = tabelle.toUtf8();
    MdbCatalogEntry *eintrag = nullptr;
    for (unsigned i = 0; i < d->mdb->num_catalog && !eintrag; ++i) {
        auto *e = static_cast<MdbCatalogEntry *>(g_ptr_array_index(d->mdb->catalog, i));
        if (e->object_type != MDB_TABLE)
            continue;
        const QByteArray n(e->object_name);
        if (woerter ? JetText::istWoerterIndex(n) : n.compare(name, Qt::CaseInsensitive) == 0)
            eintrag = e;
    }
    if (!eintrag) {
        *fehler = QStringLiteral("Tabelle ") + zitiert + QStringLiteral(" fehlt");
        return false;
    }

    LibmdbStill still;
    std::unique_ptr<MdbTableDef, void (*)(MdbTableDef *)> t(mdb_read_table(eintrag),
                                                            mdb_free_tabledef);
    if (!t || !mdb_read_columns(t.get())) {
        *fehler = QStringLiteral("Tabelle ") + zitiert + QStringLiteral(" ist nicht lesbar; ") +
                  Beschaedigt;
        return false;
    }
    std::vector<int> index; // requested column -> libmdb column
    for (const Spalte &s : spalten) {
        int gefunden = -1;
        for (unsigned i = 0; i < t->num_cols && gefunden < 0; ++i) {
            auto *c = static_cast<MdbColumn *>(g_ptr_array_index(t->columns, i));
            if (!g_ascii_strcasecmp(c->name, s.name))
                gefunden = int(i);
        }
        const QString spalte = QStringLiteral("Spalte „") + tabelle + QLatin1Char('.') +
                               QString::fromUtf8(s.name) + QStringLiteral("“");
        if (gefunden < 0) {
            *fehler = spalte + QStringLiteral(" fehlt");
            return false;
        }
        auto *c = static_cast<MdbColumn *>(g_ptr_array_index(t->columns, guint(gefunden)));
        if (!passt(s.art, c->col_type)) {
            *fehler = spalte + QStringLiteral(" hat den Typ ") + typName(c->col_type) +
                      QStringLiteral("; erwartet wird ") + erwartet(s.art);
            return false;
        }
        index.push_back(gefunden);
    }

    MdbHandle *mdb = d->mdb;
    std::vector<MdbField> felder(t->num_cols);
    unsigned gelesen = 0;
    mdb_rewind_table(t.get());
    while (mdb_fetch_row(t.get())) {
        ++gelesen;
        int start = 0;
        size_t laenge = 0;
        // mdb_fetch_row has just read row cur_row - 1 of the page in mdb->pg_buf.
        if (mdb_find_row(mdb, int(t->cur_row) - 1, &start, &laenge) != 0 ||
            mdb_crack_row(t.get(), start & ZeilenVersatzMaske, laenge, felder.data()) < 0) {
            *fehler = QStringLiteral("Tabelle %1, Zeile %2 ist nicht lesbar; ")
                          .arg(zitiert)
                          .arg(gelesen) +
                      Beschaedigt;
            return false;
        }
        Zeile z;
        z.werte.reserve(spalten.size());
        for (qsizetype s = 0; s < spalten.size(); ++s) {
            auto *c = static_cast<MdbColumn *>(g_ptr_array_index(t->columns, guint(index[s])));
            const MdbField *f = nullptr;
            for (const MdbField &k : felder)
                if (k.colnum == index[s])
                    f = &k;
            if (!f || f->is_null) {
                z.werte.append(QVariant());
                continue;
            }
            const auto *p = static_cast<const unsigned char *>(f->value);
            QString grund;
            QVariant wert;
            if (spalten[s].art == Art::Zahl) {
                if (c->col_type == MDB_BYTE && f->siz >= 1)
                    wert = qint32(p[0]);
                else if (c->col_type == MDB_INT && f->siz >= 2)
                    wert = qint32(qint16(quint16(p[0] | p[1] << 8)));
                else if (c->col_type == MDB_LONGINT && f->siz >= 4)
                    wert = qint32(le32(p));
                else
                    grund = QStringLiteral("Zahl mit %1 Bytes").arg(f->siz);
            } else {
                QByteArray roh;
                if (c->col_type == MDB_MEMO || c->col_type == MDB_OLE) {
                    QString kaputt;
                    if (!d->langwert(c, *f, &roh, &kaputt)) {
                        *fehler = QStringLiteral("Tabelle %1, Zeile %2, Spalte %3: %4; ")
                                      .arg(zitiert)
                                      .arg(gelesen)
                                      .arg(QString::fromUtf8(spalten[s].name), kaputt) +
                                  Beschaedigt;
                        return false;
                    }
                } else {
                    roh = QByteArray(reinterpret_cast<const char *>(p), f->siz);
                }
                if (spalten[s].art == Art::Bild && c->col_type == MDB_OLE) {
                    wert = roh;
                } else {
                    QString text;
                    if (d->text(roh, &text, &grund)) {
                        QByteArray bytes;
                        if (spalten[s].art == Art::Text)
                            wert = text;
                        else if (JetText::bildAusText(text, &bytes, &grund))
                            wert = bytes;
                    }
                }
            }
            if (!grund.isEmpty() && z.problem.isEmpty())
                z.problem = QStringLiteral("Spalte ") + QString::fromUtf8(spalten[s].name) +
                            QStringLiteral(": ") + grund;
            z.werte.append(wert);
        }
        zeilen->append(z);
    }
    if (gelesen < t->num_rows) {
        *fehler = QStringLiteral("Tabelle %1: nur %2 von %3 Zeilen lesbar; ")
                      .arg(zitiert)
                      .arg(gelesen)
                      .arg(t->num_rows) +
                  Beschaedigt;
        return false;
    }
    return true;
}

namespace {

// The rows travel through the pipe as tagged values: NULL, number, text or bytes.
enum : quint8 { WertNull, WertZahl, WertText, WertBytes };

QByteArray verpacken(const JetDatei::Inhalt &inhalt)
{
    QByteArray b;
    QDataStream s(&b, QIODevice::WriteOnly);
    s.setVersion(QDataStream::Qt_6_0);
    s << qint32(inhalt.version) << inhalt.fehler << inhalt.fehlerBeimOeffnen
      << qint32(inhalt.zeilen.size());
    for (const QList<JetDatei::Zeile> &tabelle : inhalt.zeilen) {
        s << qint32(tabelle.size());
        for (const JetDatei::Zeile &z : tabelle) {
            s << z.problem << qint32(z.werte.size());
            for (const QVariant &w : z.werte) {
                if (!w.isValid())
                    s << quint8(WertNull);
                else if (w.typeId() == QMetaType::Int)
                    s << quint8(WertZahl) << qint32(w.toInt());
                else if (w.typeId() == QMetaType::QString)
                    s << quint8(WertText) << w.toString();
                else
                    s << quint8(WertBytes) << w.toByteArray();
            }
        }
    }
    return b;
}

bool entpacken(const QByteArray &b, JetDatei::Inhalt *inhalt)
{
    QDataStream s(b);
    s.setVersion(QDataStream::Qt_6_0);
    qint32 version = 0, tabellen = 0;
    s >> version >> inhalt->fehler >> inhalt->fehlerBeimOeffnen >> tabellen;
    inhalt->version = version;
    for (qint32 t = 0; t < tabellen && s.status() == QDataStream::Ok; ++t) {
        QList<JetDatei::Zeile> zeilen;
        qint32 anzahl = 0;
        s >> anzahl;
        for (qint32 i = 0; i < anzahl && s.status() == QDataStream::Ok; ++i) {
            JetDatei::Zeile z;
            qint32 werte = 0;
            s >> z.problem >> werte;
            for (qint32 k = 0; k < werte && s.status() == QDataStream::Ok; ++k) {
                quint8 art = WertNull;
                s >> art;
                if (art == WertZahl) {
                    qint32 zahl = 0;
                    s >> zahl;
                    z.werte.append(zahl);
                } else if (art == WertText) {
                    QString text;
                    s >> text;
                    z.werte.append(text);
                } else if (art == WertBytes) {
                    QByteArray bytes;
                    s >> bytes;
                    z.werte.append(bytes);
                } else {
                    z.werte.append(QVariant());
                }
            }
            zeilen.append(z);
        }
        inhalt->zeilen.append(zeilen);
    }
    return s.status() == QDataStream::Ok && s.atEnd();
}

// What /proc says of a process' memory in bytes: field 0 of statm is the address space, 1 the
// resident part.
qint64 speicher(pid_t pid, int feld)
{
    QFile f(QStringLiteral("/proc/%1/statm").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return f.readAll().split(' ').value(feld).toLongLong() * sysconf(_SC_PAGESIZE);
}

// The child's work: open and read every table, then hand the result to the parent.
[[noreturn]] void kindLesen(const QString &pfad, const QList<JetDatei::Tabelle> &tabellen,
                            const JetDatei::Grenzen &grenzen, int rohr, pid_t eltern)
{
    // Ends with the parent, and leaves the parent's own signal handling (removing the files
    // it writes) to the parent.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != eltern)
        _exit(1);
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        std::signal(sig, SIG_DFL);
    // How the child ends is the parent's to report: handlers it inherited (a fuzzer's, a
    // sanitizer's) would treat a crash of libmdb here, or glib's abort on memory beyond the
    // limit, as one of the parent.
    for (int sig : {SIGABRT, SIGTRAP, SIGSEGV, SIGBUS, SIGILL, SIGFPE})
        std::signal(sig, SIG_DFL);
#ifdef JET_OHNE_ADRESSGRENZE
    __sanitizer_set_death_callback(nullptr); // a fuzzer's, which would record the input
#endif
    // libmdb dumps pages of a damaged file to standard output; the parent's output stays its own.
    const int leer = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (leer >= 0)
        dup2(leer, STDOUT_FILENO);
    const rlimit zeit{rlim_t(grenzen.sekunden), rlim_t(grenzen.sekunden) + 1};
    setrlimit(RLIMIT_CPU, &zeit);
#ifndef JET_OHNE_ADRESSGRENZE
    const rlim_t raum = rlim_t(speicher(getpid(), 0)) + (rlim_t(grenzen.megabytes) << 20);
    const rlimit adressen{raum, raum};
    setrlimit(RLIMIT_AS, &adressen);
#endif

    JetDatei::Inhalt inhalt;
    JetDatei jet;
    if (!jet.oeffnen(pfad, &inhalt.fehler)) {
        inhalt.fehlerBeimOeffnen = true;
    } else {
        for (const JetDatei::Tabelle &t : tabellen) {
            QList<JetDatei::Zeile> zeilen;
            if (!jet.lesen(t.name, t.spalten, &zeilen, &inhalt.fehler)) {
                inhalt.zeilen.clear();
                break;
            }
            inhalt.zeilen.append(zeilen);
        }
    }
    inhalt.version = jet.jetVersion();
    const QByteArray b = verpacken(inhalt);
    for (qsizetype geschrieben = 0; geschrieben < b.size();) {
        const ssize_t n = write(rohr, b.constData() + geschrieben, size_t(b.size() - geschrieben));
        if (n < 0 && errno != EINTR)
            _exit(1);
        geschrieben += qMax<ssize_t>(n, 0);
    }
    // Nothing of the parent's (buffers, exit handlers) may run twice.
    _exit(0);
}

} // namespace

bool JetDatei::abgeschirmtLesen(const QString &pfad, const QList<Tabelle> &tabellen,
                                Inhalt *inhalt, const Grenzen &grenzen)
{
    *inhalt = Inhalt();
    const auto abbruch = [&](const QString &warum) {
        *inhalt = Inhalt();
        inhalt->fehler = QStringLiteral("kann nicht gelesen werden: ") + warum + QStringLiteral("; ") +
                         Beschaedigt;
        inhalt->fehlerBeimOeffnen = true;
        return false;
    };
    int rohr[2];
    if (pipe2(rohr, O_CLOEXEC) != 0)
        return abbruch(QString::fromLocal8Bit(std::strerror(errno)));
    const qint64 startSpeicher = speicher(getpid(), 1);
    std::fflush(nullptr); // nothing buffered may be written twice
    const pid_t eltern = getpid();
    const pid_t kind = fork();
    if (kind == 0) {
        close(rohr[0]);
        kindLesen(pfad, tabellen, grenzen, rohr[1], eltern);
    }
    close(rohr[1]);
    if (kind < 0) {
        close(rohr[0]);
        return abbruch(QString::fromLocal8Bit(std::strerror(errno)));
    }

    const qint64 grenze = qint64(grenzen.megabytes) << 20;
    QByteArray daten;
    bool zeitUm = false, zuGross = false;
    QElapsedTimer uhr;
    uhr.start();
    for (;;) {
        const qint64 rest = qint64(grenzen.sekunden) * 1000 - uhr.elapsed();
        if (rest <= 0) {
            zeitUm = true;
            break;
        }
        pollfd p{rohr[0], POLLIN, 0};
        const int bereit = poll(&p, 1, int(qMin<qint64>(rest, 100)));
        if (bereit == 0) {
            // The child writes only when done; while it reads, its memory is watched.
            if (speicher(kind, 1) - startSpeicher > grenze) {
                zuGross = true;
                break;
            }
            continue;
        }
        if (bereit < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        char puffer[65536];
        const ssize_t n = read(rohr[0], puffer, sizeof puffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        daten.append(puffer, n);
        if (daten.size() > grenze) {
            zuGross = true;
            break;
        }
    }
    close(rohr[0]);
    if (zeitUm || zuGross)
        kill(kind, SIGKILL);
    int status = 0;
    while (waitpid(kind, &status, 0) < 0 && errno == EINTR) {
    }

    if (zeitUm || (WIFSIGNALED(status) && WTERMSIG(status) == SIGXCPU))
        return abbruch(QStringLiteral("das Lesen dauerte länger als %1 s und wurde abgebrochen")
                           .arg(grenzen.sekunden));
    if (zuGross)
        return abbruch(QStringLiteral("das Lesen brauchte mehr als %1 MB Speicher und wurde "
                                      "abgebrochen")
                           .arg(grenzen.megabytes));
    if (WIFSIGNALED(status))
        return abbruch(QStringLiteral("das Lesen brach mit Signal %1 ab (Speichergrenze von "
                                      "%2 MB erreicht oder Lesefehler)")
                           .arg(WTERMSIG(status))
                           .arg(grenzen.megabytes));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !entpacken(daten, inhalt) ||
        (inhalt->fehler.isEmpty() && inhalt->zeilen.size() != tabellen.size()))
        return abbruch(QStringLiteral("das Lesen brach vorzeitig ab"));
    return inhalt->fehler.isEmpty();
}
