// Runs "hilfedb pruefen" on databases as a writer would: the compiled sample content and a
// small hand-written database must pass; each broken database must report its defects, one
// line each, with exit status 1.
#include "BildArchiv.h"
#include "Global.h"
#include "HilfeDatenbankSchreiber.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <zip.h>

namespace {

struct Lauf
{
    int code = -1;
    QString aus;
    QString fehler;
};

Lauf pruefen(const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(HILFEDB_PFAD, args);
    p.closeWriteChannel();
    Lauf l;
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit)
        return l;
    l.code = p.exitCode();
    l.aus = QString::fromUtf8(p.readAllStandardOutput());
    l.fehler = QString::fromUtf8(p.readAllStandardError());
    return l;
}

QByteArray zipMit(const QString &mitglied, const QByteArray &daten)
{
    QTemporaryDir dir;
    const QByteArray pfad = dir.filePath("a.zip").toUtf8();
    int fehler = 0;
    zip_t *z = zip_open(pfad.constData(), ZIP_CREATE | ZIP_TRUNCATE, &fehler);
    if (!z)
        return {};
    zip_file_add(z, mitglied.toUtf8().constData(),
                 zip_source_buffer(z, daten.constData(), zip_uint64_t(daten.size()), 0), 0);
    if (zip_close(z) != 0)
        return {};
    QFile f(QString::fromUtf8(pfad));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray gutesBild()
{
    QImage bild(20, 10, QImage::Format_RGB32);
    bild.fill(Qt::blue);
    return BildArchiv::packen(bild);
}

QString rtf(const QString &text)
{
    return QStringLiteral("{\\rtf1\\ansi\\ansicpg1252 ") + text + QStringLiteral("}");
}

// What a defect changes in the small database: the text of section 01.01.02, and any further
// rows written after the good ones.
struct Aenderung
{
    QString text2;
    std::function<void(HilfeDatenbankSchreiber &, qint32 text1ID)> mehr;
};

// Chapter 1, topic 1, sections 01.01.01 and 01.01.02, picture 7, keyword "Kunde" -> 01.01.01.
bool schreiben(const QString &pfad, const Aenderung &a, QString *fehler)
{
    HilfeDatenbankSchreiber s;
    if (!s.oeffnen(pfad, QString::fromLatin1(HilfePasswort), fehler))
        return false;
    const qint32 k = s.kapitelEinfuegen(1, "Rechnungen", 1);
    const qint32 t = s.themaEinfuegen(k, 1, "Erfassen", 1);
    const qint32 x1 = s.textEinfuegen(
        t, 1, "Kunde", rtf("Siehe \\{T01.01.02\\}Weiter\\{TE\\} und \\{P00007\\}Maske\\{PE\\}."),
        1);
    s.textEinfuegen(t, 2, "Weiter", a.text2, 2);
    s.bildEinfuegen(7, gutesBild(), "Maske");
    s.zuordnungEinfuegen(s.wortEinfuegen("Kunde"), x1);
    if (a.mehr)
        a.mehr(s, x1);
    return s.abschliessen(fehler);
}

} // namespace

class TestHilfedbPruefen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void beispielInhalt();
    void datenbank_data();
    void datenbank();
    void aufruf_data();
    void aufruf();

private:
    QTemporaryDir m_dir;
};

void TestHilfedbPruefen::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
}

// The sample help as the build compiles it has no problem.
void TestHilfedbPruefen::beispielInhalt()
{
    const QString db = m_dir.filePath("HilfeBelna.mdb");
    QProcess p;
    p.start(HILFEDB_PFAD, {"erstellen", TOLVAR_SOURCE_DIR "/content", db});
    QVERIFY(p.waitForFinished(120000));
    QCOMPARE(p.exitCode(), 0);
    const Lauf l = pruefen({"pruefen", db});
    QCOMPARE(l.aus, QString());
    QCOMPARE(l.code, 0);
    QVERIFY2(l.fehler.contains(" Abschnitte, ") && l.fehler.contains("0 Probleme"),
             qPrintable(l.fehler));
}

void TestHilfedbPruefen::datenbank_data()
{
    QTest::addColumn<QString>("text2");
    QTest::addColumn<std::function<void(HilfeDatenbankSchreiber &, qint32)>>("mehr");
    QTest::addColumn<QStringList>("probleme");
    using Mehr = std::function<void(HilfeDatenbankSchreiber &, qint32)>;
    const QString gut = rtf("Zur\\'fcck zu \\{T01.01.01\\}Kunde\\{TE\\}.");

    QTest::newRow("gut") << gut << Mehr() << QStringList();
    QTest::newRow("gut, numbers written short")
        << rtf("\\{T01.1.001\\}Kunde\\{TE\\} \\{P7    \\}Bild\\{PE\\}") << Mehr() << QStringList();
    QTest::newRow("link to a missing section")
        << rtf("\\{T01.01.09\\}Fehlt\\{TE\\} und \\{T02.01.01\\}auch\\{TE\\}") << Mehr()
        << QStringList{"01.01.02: Verweis auf 01.01.09: kein solcher Abschnitt",
                       "01.01.02: Verweis auf 02.01.01: kein solcher Abschnitt"};
    QTest::newRow("link target not a help number")
        << rtf("\\{T01.01.x1\\}Fehlt\\{TE\\}") << Mehr()
        << QStringList{"01.01.02: Verweis auf „01.01.x1“: keine Hilfenummer KK.TT.XX"};
    QTest::newRow("missing picture")
        << rtf("\\{P00008\\}Maske\\{PE\\}") << Mehr()
        << QStringList{"01.01.02: Bildverweis „Maske“ auf Bild 00008: kein solches Bild"};
    const QString bild8 = rtf("\\{P00008\\}Acht\\{PE\\} und \\{P00008\\}noch mal\\{PE\\}");
    const QString entpacken = QStringLiteral(": Bild lässt sich nicht entpacken");
    QTest::newRow("picture not a zip")
        << bild8
        << Mehr([](HilfeDatenbankSchreiber &s, qint32) { s.bildEinfuegen(8, "kein zip", "A"); })
        << QStringList{"01.01.02: Bildverweis „Acht“ auf Bild 00008" + entpacken,
                       "01.01.02: Bildverweis „noch mal“ auf Bild 00008" + entpacken};
    QTest::newRow("picture without Temp.bmp")
        << rtf("\\{P00008\\}Acht\\{PE\\}")
        << Mehr([](HilfeDatenbankSchreiber &s, qint32) {
               s.bildEinfuegen(8, zipMit("Bild.bmp", gutesBild()), "A");
           })
        << QStringList{"01.01.02: Bildverweis „Acht“ auf Bild 00008" + entpacken};
    QTest::newRow("Temp.bmp not a bitmap")
        << rtf("\\{P00008\\}Acht\\{PE\\}")
        << Mehr([](HilfeDatenbankSchreiber &s, qint32) {
               s.bildEinfuegen(8, zipMit("Temp.bmp", "BM kaputt"), "A");
           })
        << QStringList{"01.01.02: Bildverweis „Acht“ auf Bild 00008" + entpacken};
    QTest::newRow("keyword without assignment")
        << gut << Mehr([](HilfeDatenbankSchreiber &s, qint32) { s.wortEinfuegen("Waise"); })
        << QStringList{"Stichwort „Waise“: führt zu keinem Text"};
    QTest::newRow("keyword to a missing text")
        << gut
        << Mehr([](HilfeDatenbankSchreiber &s, qint32) {
               s.zuordnungEinfuegen(s.wortEinfuegen("Geist"), 999);
           })
        << QStringList{"Stichwort „Geist“: führt zu keinem Text"};
    QTest::newRow("keyword to a text without topic")
        << gut
        << Mehr([](HilfeDatenbankSchreiber &s, qint32) {
               s.zuordnungEinfuegen(s.wortEinfuegen("Lose"),
                                    s.textEinfuegen(77, 1, "lose", rtf("x"), 1));
           })
        << QStringList{"Stichwort „Lose“: führt zu keinem Text"};
    QTest::newRow("empty text") << QString() << Mehr()
                                << QStringList{"01.01.02: Text ist leer"};
    QTest::newRow("text without visible text")
        << rtf("{\\*\\generator nur Steuerung}\\par") << Mehr()
        << QStringList{"01.01.02: Text ergibt keinen sichtbaren Text"};
    QTest::newRow("not rtf") << QStringLiteral("Nur Text") << Mehr()
                             << QStringList{"01.01.02: Text ist kein RTF und erscheint als "
                                            "reiner Text"};
    QTest::newRow("opening tag cut short")
        << rtf("Ende \\{T01.0") << Mehr()
        << QStringList{"01.01.02: Verweismarkup bleibt sichtbar: „{T01.0“"};
    // A closing tag first in the text is taken for an opening tag, and that has no end.
    QTest::newRow("closing tag alone")
        << rtf("Text\\{PE\\} weiter") << Mehr()
        << QStringList{"01.01.02: Verweis nicht anklickbar: Abschlusstag fehlt oder Verweis hinter "
                       "Position 32767"};
    QTest::newRow("closing tag missing")
        << rtf("\\{T01.01.01\\}Kunde und mehr") << Mehr()
        << QStringList{"01.01.02: Verweis nicht anklickbar: Abschlusstag fehlt oder Verweis hinter "
                       "Position 32767"};
    QTest::newRow("link beyond the last position")
        << rtf(QString(33000, 'x') + "\\{T01.01.01\\}Kunde\\{TE\\}") << Mehr()
        << QStringList{"01.01.02: Verweis nicht anklickbar: Abschlusstag fehlt oder Verweis hinter "
                       "Position 32767"};
    // A section longer than the help shows is named once; a link in the part shown is still
    // checked, links behind the cut are not.
    QTest::newRow("section too long")
        << rtf("\\{T09.09.09\\}a\\{TE\\}" + QString(600000, 'x') +
               "\\{T08.08.08\\}b\\{TE\\}")
        << Mehr()
        << QStringList{"01.01.02: Abschnitt ist zu lang: nur die ersten 500000 Zeichen werden "
                       "angezeigt",
                       "01.01.02: Verweis auf 09.09.09: kein solcher Abschnitt"};
    QTest::newRow("several defects in order")
        << rtf("\\{T09.09.09\\}a\\{TE\\} \\{P00009\\}b\\{PE\\} \\{TE\\}") << Mehr()
        << QStringList{"01.01.02: Verweismarkup bleibt sichtbar: „{TE}“",
                       "01.01.02: Verweis auf 09.09.09: kein solcher Abschnitt",
                       "01.01.02: Bildverweis „b“ auf Bild 00009: kein solches Bild"};
}

void TestHilfedbPruefen::datenbank()
{
    QFETCH(QString, text2);
    QFETCH(std::function<void(HilfeDatenbankSchreiber &, qint32)>, mehr);
    QFETCH(QStringList, probleme);
    const QString db = m_dir.filePath(QStringLiteral("%1.mdb").arg(QTest::currentDataTag()));
    QString fehler;
    QVERIFY2(schreiben(db, {text2, mehr}, &fehler), qPrintable(fehler));
    const Lauf l = pruefen({"pruefen", db});
    const QStringList zeilen = l.aus.split('\n', Qt::SkipEmptyParts);
    QVERIFY2(zeilen == probleme, qPrintable(l.aus));
    QCOMPARE(l.code, probleme.isEmpty() ? 0 : 1);
    QVERIFY2(l.fehler.contains(QStringLiteral("%1 Problem").arg(probleme.size())),
             qPrintable(l.fehler));
}

void TestHilfedbPruefen::aufruf_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("stderrEnthaelt");
    QTest::newRow("no database") << QStringList{"pruefen"} << 2 << "Aufruf: hilfedb pruefen DB";
    QTest::newRow("two databases") << QStringList{"pruefen", "a.mdb", "b.mdb"} << 2
                                   << "Aufruf: hilfedb pruefen DB";
    QTest::newRow("missing database") << QStringList{"pruefen", "@/fehlt.mdb"} << 1
                                      << "Die Hilfedatenbank wurde nicht gefunden!";
    QTest::newRow("not a database") << QStringList{"pruefen", "@/keine.mdb"} << 1
                                    << "kann nicht vollständig gelesen werden";
}

void TestHilfedbPruefen::aufruf()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, stderrEnthaelt);
    QFile keine(m_dir.filePath("keine.mdb"));
    QVERIFY(keine.open(QIODevice::WriteOnly));
    keine.write(QByteArray(4096, 'x'));
    keine.close();
    for (QString &a : args)
        a.replace('@', m_dir.path());
    const Lauf l = pruefen(args);
    QCOMPARE(l.code, code);
    QCOMPARE(l.aus, QString());
    QVERIFY2(l.fehler.contains(stderrEnthaelt), qPrintable(l.fehler));
}

QTEST_MAIN(TestHilfedbPruefen)
#include "test_hilfedb_pruefen.moc"
