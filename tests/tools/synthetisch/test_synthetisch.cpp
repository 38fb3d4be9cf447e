// The synthetic benchmark content: sizes, links, the frequent keyword, pictures, determinism.
#include "BildEntpacken.h"
#include "Datenbank.h"
#include "DatenbankAufbau.h"
#include "Global.h"
#include "HilfeDatenbank.h"
#include "RtfErzeuger.h"
#include "RtfLeser.h"
#include "SynthetischeDaten.h"

#include <QTextDocument>
#include <QtTest>

class TestSynthetisch : public QObject
{
    Q_OBJECT

private slots:
    void datenbank();
};

void TestSynthetisch::datenbank()
{
    QStandardPaths::setTestModeEnabled(true);
    const SynthetischeDaten::Optionen o{2, 3, 20, 500, 3, 900, 600};
    const HilfeQuelle q = SynthetischeDaten::erzeugen(o);
    const HilfeQuelle nochmal = SynthetischeDaten::erzeugen(o);
    QCOMPARE(RtfErzeuger::erzeugen(q.kapitel[1].themen[2].abschnitte[19].bloecke),
             RtfErzeuger::erzeugen(nochmal.kapitel[1].themen[2].abschnitte[19].bloecke));
    QTemporaryDir dir;
    QString fehler;
    DatenbankAufbau::Statistik st;
    QVERIFY2(DatenbankAufbau::schreiben(q, dir.filePath("HilfeBelna.mdb"), &fehler, &st),
             qPrintable(fehler));
    QCOMPARE(st.texte, 120);
    QVERIFY(st.zuordnungen > 800 && st.zuordnungen <= 900);
    setzeProgrammVerzeichnis(dir.path());
    gsPasswort = QString::fromLatin1(HilfePasswort);
    HilfeDatenbank &db = standardDatenbank();
    // Every link target exists.
    QSet<QString> nummern;
    QStringList ziele;
    static const QRegularExpression link(QStringLiteral("\\{[TP](.{8}|\\d{5})\\}[^{]+\\{[TP]E\\}"));
    for (const KapitelZeile &k : db.kapitel().zeilen)
        for (const ThemaZeile &t : db.themen(k.id).zeilen)
            for (const TextZeile &x : db.texte(t.id).zeilen) {
                nummern.insert(QString::asprintf("%02d.%02d.%02d", k.nummer, t.nummer, x.nummer));
                QTextDocument doc;
                QVERIFY(RtfLesen(x.text, doc));
                for (const auto &m : link.globalMatch(doc.toPlainText()))
                    ziele << m.captured(1);
            }
    QCOMPARE(nummern.size(), 120);
    QVERIFY(ziele.size() >= 120);
    for (const QString &n : std::as_const(ziele))
        QVERIFY2(nummern.contains(n) || (QStringList{"00001", "00002", "00003"}.contains(n)),
                 qPrintable(n));
    QCOMPARE(db.woerter("%").zeilen.size(), 500);
    qint32 haeufig = -1;
    for (const WortZeile &z : db.woerter(SynthetischeDaten::haeufigesWort).zeilen)
        if (z.wort == QString::fromLatin1(SynthetischeDaten::haeufigesWort))
            haeufig = z.id;
    QCOMPARE(db.texteZumWort(haeufig).zeilen.size(), 50);
    QImage bild;
    QVERIFY(BildEntpacken(db.bild("3").zeilen.value(0).bild, bild));
    QCOMPARE(bild.size(), QSize(640, 480));
    setzeProgrammVerzeichnis(QString());
}

QTEST_MAIN(TestSynthetisch)
#include "test_synthetisch.moc"
