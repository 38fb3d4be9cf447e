// "hilfedb pruefen": the compiled sample content passes; each broken database reports its
// defects, one line each, with exit status 1; warnings alone leave it 0.
#include "BildArchiv.h"
#include "Global.h"
#include "HilfeDatenbankSchreiber.h"
#include "TestHilfen.h"
#include "ZipHilfe.h"

#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

QByteArray gutesBild()
{
    QImage bild(20, 10, QImage::Format_RGB32);
    bild.fill(Qt::blue);
    return BildArchiv::packen(bild);
}

QString rtf(const QString &text) { return "{\\rtf1\\ansi\\ansicpg1252 " + text + "}"; }

using Mehr = std::function<void(HilfeDatenbankSchreiber &)>;

// Chapter 1, topic 1, sections 01.01.01 and 01.01.02 (text2), picture 7, keyword "Kunde" ->
// 01.01.01; mehr writes further rows after these.
bool schreiben(const QString &pfad, const QString &text2, const Mehr &mehr, QString *fehler)
{
    HilfeDatenbankSchreiber s;
    if (!s.oeffnen(pfad, QString::fromLatin1(HilfePasswort), fehler))
        return false;
    const qint32 t = s.themaEinfuegen(s.kapitelEinfuegen(1, "Rechnungen", 1), 1, "Erfassen", 1);
    const qint32 x1 = s.textEinfuegen(
        t, 1, "Kunde", rtf("Siehe \\{T01.01.02\\}Weiter\\{TE\\} und \\{P00007\\}Maske\\{PE\\}."),
        1);
    s.textEinfuegen(t, 2, "Weiter", text2, 2);
    s.bildEinfuegen(7, gutesBild(), "Maske");
    s.zuordnungEinfuegen(s.wortEinfuegen("Kunde"), x1);
    if (mehr)
        mehr(s);
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

private:
    QTemporaryDir m_dir;
};

void TestHilfedbPruefen::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
}

// The sample help as the build compiles it has no problem (warnings are the writers' call).
void TestHilfedbPruefen::beispielInhalt()
{
    const QString db = m_dir.filePath("HilfeBelna.mdb");
    QCOMPARE(programmLaufen(HILFEDB_PFAD, {"erstellen", TOLVAR_SOURCE_DIR "/content", db}).code, 0);
    const ProgrammLauf l = programmLaufen(HILFEDB_PFAD, {"pruefen", db});
    QCOMPARE(l.aus.split('\n', Qt::SkipEmptyParts).filter(QRegularExpression("^(?!Warnung: )")),
             QStringList());
    QCOMPARE(l.code, 0);
    QVERIFY2(l.fehler.contains(" Abschnitte, ") && l.fehler.contains("0 Probleme"),
             qPrintable(l.fehler));
}

// Problems in section 01.01.02 are written with "@" for "01.01.02: "; warnings begin with
// "Warnung: ".
void TestHilfedbPruefen::datenbank_data()
{
    QTest::addColumn<QString>("text2");
    QTest::addColumn<Mehr>("mehr");
    QTest::addColumn<QStringList>("probleme");
    const auto f = [](const char *name, const QString &text2, QStringList probleme,
                      const Mehr &mehr = {}) {
        for (QString &p : probleme) {
            const qsizetype at = p.startsWith("Warnung: ") ? 9 : 0;
            if (p.mid(at, 1) == "@")
                p.replace(at, 1, "01.01.02: ");
        }
        zeile(name, text2, mehr, probleme);
    };
    const QString gut = rtf("Zur\\'fcck zu \\{T01.01.01\\}Kunde\\{TE\\}.");
    const QString bild8 = rtf("\\{P00008\\}Acht\\{PE\\}");
    const QString entpacken = "@Bildverweis „Acht“ auf Bild 00008: Bild lässt sich nicht entpacken";
    const QString anklickbar =
        "@Verweis nicht anklickbar: Abschlusstag fehlt oder Verweis hinter Position 32767";

    f("gut", gut, {});
    f("gut, numbers written short", rtf("\\{T01.1.001\\}Kunde\\{TE\\} \\{P7    \\}Bild\\{PE\\}"),
      {});
    f("link to a missing section",
      rtf("\\{T01.01.09\\}Fehlt\\{TE\\} und \\{T02.01.01\\}auch\\{TE\\}"),
      {"@Verweis auf 01.01.09: kein solcher Abschnitt",
       "@Verweis auf 02.01.01: kein solcher Abschnitt"});
    f("link target not a help number", rtf("\\{T01.01.x1\\}Fehlt\\{TE\\}"),
      {"@Verweis auf „01.01.x1“: keine Hilfenummer KK.TT.XX"});
    f("missing picture", rtf("\\{P00008\\}Maske\\{PE\\}"),
      {"@Bildverweis „Maske“ auf Bild 00008: kein solches Bild"});
    f("picture not a zip", rtf("\\{P00008\\}Acht\\{PE\\} und \\{P00008\\}noch mal\\{PE\\}"),
      {entpacken, QString(entpacken).replace("Acht", "noch mal")},
      [](HilfeDatenbankSchreiber &s) { s.bildEinfuegen(8, "kein zip", "A"); });
    f("picture without Temp.bmp", bild8, {entpacken}, [](HilfeDatenbankSchreiber &s) {
        s.bildEinfuegen(8, zipErstellen({{"Bild.bmp", gutesBild()}}), "A");
    });
    f("reused number", rtf("\\{T01.01.01\\}E-Rechnung ausgeben\\{TE\\}"),
      {"Warnung: @Link „E-Rechnung ausgeben“ führt zu 01.01.01 „Kunde“ – Nummer neu vergeben?"});
    f("unused picture", gut, {"Warnung: Bild 00009 „Logo“: kein Verweis zeigt dieses Bild"},
      [](HilfeDatenbankSchreiber &s) { s.bildEinfuegen(9, gutesBild(), "Logo"); });
    f("keyword without assignment", gut, {"Stichwort „Waise“: führt zu keinem Text"},
      [](HilfeDatenbankSchreiber &s) { s.wortEinfuegen("Waise"); });
    f("keyword to a missing text", gut, {"Stichwort „Geist“: führt zu keinem Text"},
      [](HilfeDatenbankSchreiber &s) { s.zuordnungEinfuegen(s.wortEinfuegen("Geist"), 999); });
    f("empty text", QString(), {"@Text ist leer"});
    f("text without visible text", rtf("{\\*\\generator nur Steuerung}\\par"),
      {"@Text ergibt keinen sichtbaren Text"});
    f("not rtf", "Nur Text", {"@Text ist kein RTF und erscheint als reiner Text"});
    f("opening tag cut short", rtf("Ende \\{T01.0"), {"@Verweismarkup bleibt sichtbar: „{T01.0“"});
    // A closing tag first in the text is taken for an opening tag, and that has no end.
    f("closing tag alone", rtf("Text\\{PE\\} weiter"), {anklickbar});
    f("closing tag missing", rtf("\\{T01.01.01\\}Kunde und mehr"), {anklickbar});
    f("link beyond the last position", rtf(QString(33000, 'x') + "\\{T01.01.01\\}Kunde\\{TE\\}"),
      {anklickbar});
    // A section longer than the help shows is named once; links behind the cut are not checked.
    f("section too long",
      rtf("\\{T09.09.09\\}a\\{TE\\}" + QString(600000, 'x') + "\\{T08.08.08\\}b\\{TE\\}"),
      {"@Abschnitt ist zu lang: nur die ersten 500000 Zeichen werden angezeigt",
       "@Verweis auf 09.09.09: kein solcher Abschnitt"});
    f("several defects in order", rtf("\\{T09.09.09\\}a\\{TE\\} \\{P00009\\}b\\{PE\\} \\{TE\\}"),
      {"@Verweismarkup bleibt sichtbar: „{TE}“", "@Verweis auf 09.09.09: kein solcher Abschnitt",
       "@Bildverweis „b“ auf Bild 00009: kein solches Bild"});
}

void TestHilfedbPruefen::datenbank()
{
    QFETCH(QString, text2);
    QFETCH(Mehr, mehr);
    QFETCH(QStringList, probleme);
    const QString db = m_dir.filePath(QStringLiteral("%1.mdb").arg(QTest::currentDataTag()));
    QString fehler;
    QVERIFY2(schreiben(db, text2, mehr, &fehler), qPrintable(fehler));
    const ProgrammLauf l = programmLaufen(HILFEDB_PFAD, {"pruefen", db});
    QVERIFY2(l.aus.split('\n', Qt::SkipEmptyParts) == probleme, qPrintable(l.aus));
    const qsizetype warnungen = probleme.filter(QRegularExpression("^Warnung: ")).size();
    QCOMPARE(l.code, probleme.size() == warnungen ? 0 : 1);
    QVERIFY2(l.fehler.contains(QStringLiteral("%1 Problem").arg(probleme.size() - warnungen)) &&
                 l.fehler.contains(QStringLiteral(", %1 Warnung").arg(warnungen)),
             qPrintable(l.fehler));
}

QTEST_MAIN(TestHilfedbPruefen)
#include "test_hilfedb_pruefen.moc"
