// "hilfedb auspacken" and "erstellen" again: the sample help and each Jet 4 file in shared/jet
// come back with the same tree, section texts (the same bytes, or the same rendering where
// the original was no RTF of the compiler), keywords and pictures, and unpacking the rebuilt
// database gives the same files. What the sources cannot express is refused with nothing left.
#include "BildArchiv.h"
#include "DatenbankAnsicht.h"
#include "DatenbankOrt.h"
#include "Global.h"
#include "HilfeDatenbank.h"
#include "HilfeDatenbankSchreiber.h"
#include "QuellAusgabe.h"
#include "QuellParser.h"
#include "TestHilfen.h"

#include <QBuffer>
#include <QDirIterator>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Inhalt
{
    QStringList gliederung;       // "KK.TT.XX Titel" lines as `hilfedb kapitel` gives them
    QMap<QString, QString> texte; // help number -> stored text
    QStringList stichwoerter;     // "Wort -> KK.TT.XX", sorted
    QMap<int, QPair<QString, QByteArray>> bilder; // number -> title, Temp.bmp bytes
};

Inhalt inhaltLesen(const QString &datei)
{
    Inhalt i;
    DatenbankAnsicht::kapitel(datei, i.gliederung);
    const DatenbankOrt ort(datei);
    HilfeDatenbank &db = standardDatenbank();
    QHash<qint32, QString> nummer;
    for (const KapitelZeile &k : db.kapitel().zeilen)
        for (const ThemaZeile &t : db.themen(k.id).zeilen)
            for (const TextZeile &x : db.texte(t.id).zeilen) {
                nummer[x.id] = DatenbankAnsicht::hilfeNummer(k.nummer, t.nummer, x.nummer);
                i.texte[nummer[x.id]] = x.text;
            }
    for (const Werte &z : db.abfragen("SELECT w.Wort, z.TextID FROM \"WörterIndex\" w JOIN "
                                      "ZuordnungIndex z ON z.IndexID = w.ID")
                              .zeilen)
        i.stichwoerter << z[0].toString() + " -> " + nummer.value(z[1].toInt());
    i.stichwoerter.sort();
    for (const Werte &z : db.abfragen("SELECT Nummer, Bild, Bezeichnung FROM Bilder").zeilen)
        i.bilder[z[0].toInt()] = {z[2].toString(), BildArchiv::mitglied(z[1].toByteArray())};
    return i;
}

// Every file below ordner by relative path.
QMap<QString, QByteArray> dateien(const QString &ordner)
{
    QMap<QString, QByteArray> d;
    for (QDirIterator it(ordner, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString pfad = it.next();
        d[QDir(ordner).relativeFilePath(pfad)] = dateiLesen(pfad);
    }
    return d;
}

ProgrammLauf hilfedb(const QStringList &args)
{
    return programmLaufen(QStringLiteral(HILFEDB_PFAD), args);
}

} // namespace

class TestAuspacken : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_tmp;

private slots:
    void rundreise_data();
    void rundreise();
    void rtfBlock_data();
    void rtfBlock();
    void vorhandenerOrdner();
    void nichtDarstellbar();
};

void TestAuspacken::rundreise_data()
{
    QTest::addColumn<QString>("quelle");    // source folder or Jet file
    QTest::addColumn<bool>("gleicheBytes"); // every section text comes back byte for byte
    QTest::addColumn<int>("alsRtf");        // sections kept as RTF blocks
    const QString jet = QStringLiteral(TOLVAR_SOURCE_DIR "/../shared/jet/");
    zeile("Beispielhilfe", QStringLiteral(TOLVAR_CONTENT_DIR), true, 0);
    // A bitmap whose header a re-encoding would not keep (reserved bytes set).
    QByteArray bmp;
    {
        QBuffer puffer(&bmp);
        puffer.open(QIODevice::WriteOnly);
        QImage bild(7, 3, QImage::Format_RGB888);
        bild.fill(Qt::darkCyan);
        bild.save(&puffer, "BMP");
    }
    bmp[6] = 0x12;
    const QString eigen = m_tmp.filePath("eigen");
    dateiSchreiben(eigen + "/bilder/00003-Logo.bmp", bmp);
    dateiSchreiben(eigen + "/kapitel/01-a.txt", "= 1 | A\n== 1 | B\n=== 1 | C\n[[Bild 3|Logo]]\n");
    zeile("eigenes BMP", eigen, true, 0);
    // The Jet texts are rich-edit RTF; only the one paragraph without lists or links that the
    // compiler writes alike becomes source text.
    zeile("jet4", jet + "beispiel-jet4.mdb", false, 14);
    zeile("jet4 mit Passwort", jet + "beispiel-jet4-passwort.mdb", false, 14);
    zeile("jet4 Bild als Text", jet + "beispiel-jet4-bildtext.mdb", false, 14);
}

void TestAuspacken::rundreise()
{
    QFETCH(QString, quelle);
    QFETCH(bool, gleicheBytes);
    QFETCH(int, alsRtf);
    QTemporaryDir tmp;
    const QString a = tmp.filePath("a.mdb"), b = tmp.filePath("b.mdb");
    const bool jet = quelle.endsWith(".mdb");
    QCOMPARE(hilfedb({jet ? "importieren" : "erstellen", quelle, a}).code, 0);

    const ProgrammLauf aus = hilfedb({"auspacken", a, tmp.filePath("q1")});
    QVERIFY2(aus.code == 0, qPrintable(aus.fehler));
    QVERIFY2(aus.aus.contains(QStringLiteral("(%1 als RTF unverändert)").arg(alsRtf)),
             qPrintable(aus.aus));
    const ProgrammLauf erstellt = hilfedb({"erstellen", tmp.filePath("q1"), b});
    QVERIFY2(erstellt.code == 0, qPrintable(erstellt.aus + erstellt.fehler));

    const Inhalt vorher = inhaltLesen(a), nachher = inhaltLesen(b);
    QVERIFY(!vorher.texte.isEmpty() && !vorher.bilder.isEmpty());
    QCOMPARE(nachher.gliederung, vorher.gliederung);
    QCOMPARE(nachher.stichwoerter, vorher.stichwoerter);
    QCOMPARE(nachher.bilder, vorher.bilder);
    if (QFile::exists(quelle + "/bilder/00003-Logo.bmp"))
        QCOMPARE(vorher.bilder[3].second, dateiLesen(quelle + "/bilder/00003-Logo.bmp"));
    QCOMPARE(nachher.texte.keys(), vorher.texte.keys());
    for (auto it = vorher.texte.cbegin(); it != vorher.texte.cend(); ++it) {
        const QString &neu = nachher.texte[it.key()];
        QString unterschied;
        QVERIFY2(gleicheBytes ? neu == *it
                              : QuellAusgabe::gleichDargestellt(*it, neu, &unterschied),
                 qPrintable(it.key() + ": " + unterschied));
    }

    const ProgrammLauf vergleich = hilfedb({"vergleichen", a, b});
    QVERIFY2(vergleich.code == 0, qPrintable(vergleich.aus));

    QCOMPARE(hilfedb({"auspacken", b, tmp.filePath("q2")}).code, 0);
    const auto d1 = dateien(tmp.filePath("q1"));
    QCOMPARE(dateien(tmp.filePath("q2")), d1);
}

void TestAuspacken::rtfBlock_data()
{
    QTest::addColumn<QString>("text");   // lines after "=== 1 | A"
    QTest::addColumn<QString>("rtf");    // the section's stored text
    QTest::addColumn<QString>("fehler"); // expected error, empty when none
    // Comment, variable and include lines stay as they are inside the block.
    zeile("unverändert", "```rtf\n{\\rtf1 a\n# b {{x}}\nEinfügen: c\n\n```",
          "{\\rtf1 a\r\n# b {{x}}\r\nEinfügen: c\r\n", "");
    zeile("leer", "```rtf\n```", "", "");
    zeile("nicht geschlossen", "```rtf\n{\\rtf1 }", "", "nicht mit „```“ geschlossen");
    zeile("mit Text daneben", "Text\n```rtf\n{\\rtf1 }\n```", "", "RTF-Block und daneben Text");
    zeile("zweimal", "```rtf\n```\n```rtf\n```", "", "schon einen RTF-Block");
}

void TestAuspacken::rtfBlock()
{
    QFETCH(QString, text);
    QFETCH(QString, rtf);
    QFETCH(QString, fehler);
    HilfeQuelle q;
    QList<QuellFehler> f;
    QuellParser::kapitelDateiLesen("k.txt", "= 1 | K\n== 1 | T\n=== 1 | A\n" + text + "\n", q, f);
    if (!fehler.isEmpty()) {
        QVERIFY(!f.isEmpty());
        QVERIFY2(f.first().text.contains(fehler), qPrintable(f.first().text));
        return;
    }
    QVERIFY2(f.isEmpty(), qPrintable(f.value(0).alsText()));
    const QuellAbschnitt &a = q.kapitel[0].themen[0].abschnitte[0];
    QVERIFY(a.rtfUnveraendert);
    QCOMPARE(a.rtf, rtf);
}

void TestAuspacken::vorhandenerOrdner()
{
    QTemporaryDir tmp;
    const QString db = tmp.filePath("a.mdb"), ziel = tmp.filePath("q");
    QCOMPARE(hilfedb({"erstellen", TOLVAR_CONTENT_DIR, db}).code, 0);
    dateiSchreiben(ziel + "/eigen.txt", "bleibt");
    QCOMPARE(hilfedb({"auspacken", db, ziel}).code, 2);
    QCOMPARE(dateien(ziel).keys(), QStringList{"eigen.txt"});
    QCOMPARE(hilfedb({"auspacken", db, ziel, "--ersetzen"}).code, 0);
    QVERIFY(!QFile::exists(ziel + "/eigen.txt"));
    QVERIFY(QFile::exists(ziel + "/kapitel/01-erste-schritte.txt"));
    QCOMPARE(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{"a.mdb", "q"}));
}

void TestAuspacken::nichtDarstellbar()
{
    QTemporaryDir tmp;
    const QString db = tmp.filePath("a.mdb");
    {
        HilfeDatenbankSchreiber s;
        QVERIFY(s.oeffnen(db, QString::fromLatin1(HilfePasswort)));
        const qint32 k = s.kapitelEinfuegen(100, "Kapitel", 1);
        const qint32 t = s.themaEinfuegen(k, 1, " Thema", 1);
        s.textEinfuegen(t, 1, "Abschnitt", "{\\rtf1 Text\\par}", 1);
        s.textEinfuegen(t, 1, "Zweiter", "{\\rtf1 Text\\par}", 2);
        s.wortEinfuegen("verwaist");
        QVERIFY(s.abschliessen());
    }
    const ProgrammLauf lauf = hilfedb({"auspacken", db, tmp.filePath("q")});
    QCOMPARE(lauf.code, 1);
    for (const char *meldung :
         {"nicht darstellbar: Kapitel 100: Nummer ist keine Zahl von 1 bis 99",
          "nicht darstellbar: Thema 100.1: Titel „ Thema“ beginnt oder endet mit Leerraum",
          "nicht darstellbar: Abschnitt 100.1.1: Nummer gibt es mehrfach",
          "nicht darstellbar: Stichwort „verwaist“: führt zu keinem Abschnitt"})
        QVERIFY2(lauf.fehler.contains(QString::fromUtf8(meldung)), qPrintable(lauf.fehler));
    QCOMPARE(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"a.mdb"});
}

QTEST_MAIN(TestAuspacken)
#include "test_hilfedb_auspacken.moc"
