// The synthetic benchmark content: requested sizes reach the database, every link resolves,
// the frequent keyword leads to 50 texts, words are distinct, output is deterministic.
#include "BildEntpacken.h"
#include "Datenbank.h"
#include "DatenbankAufbau.h"
#include "Global.h"
#include "HilfeDatenbank.h"
#include "RtfErzeuger.h"
#include "RtfLeser.h"
#include "SynthetischeDaten.h"

#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

class TestSynthetisch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void woerterVerschieden();
    void datenbank();
    void gleicheEingabeGleicheDaten();
};

void TestSynthetisch::woerterVerschieden()
{
    QSet<QString> gesehen;
    for (int n = 0; n < 120000; ++n) {
        const QString w = SynthetischeDaten::wort(n).toCaseFolded();
        QVERIFY2(!gesehen.contains(w), qPrintable(QString::number(n) + ' ' + w));
        gesehen.insert(w);
    }
}

void TestSynthetisch::datenbank()
{
    SynthetischeDaten::Optionen o;
    o.kapitel = 2;
    o.themen = 3;
    o.abschnitte = 20;
    o.woerter = 500;
    o.bilder = 3;
    o.zuordnungen = 900;
    o.zeichenJeAbschnitt = 600;
    const HilfeQuelle q = SynthetischeDaten::erzeugen(o);

    QTemporaryDir dir;
    QString fehler;
    DatenbankAufbau::Statistik st;
    QVERIFY2(DatenbankAufbau::schreiben(q, dir.filePath("HilfeBelna.mdb"), &fehler, &st),
             qPrintable(fehler));
    QCOMPARE(st.texte, 120);
    QCOMPARE(st.woerter, 500);
    QCOMPARE(st.bilder, 3);
    QVERIFY(st.zuordnungen > 800 && st.zuordnungen <= 900);

    setzeProgrammVerzeichnis(dir.path());
    gsPasswort = QString::fromLatin1(HilfePasswort);

    // Every section, every link target exists; picture links only in chapter 1.
    QSet<QString> nummern;
    QStringList textLinks, bildLinks;
    HilfeDatenbank &db = standardDatenbank();
    const auto kapitel = db.kapitel();
    QVERIFY(kapitel.ok);
    QCOMPARE(kapitel.zeilen.size(), 2);
    for (const KapitelZeile &k : kapitel.zeilen) {
        const auto themen = db.themen(k.id);
        QVERIFY(themen.ok);
        QCOMPARE(themen.zeilen.size(), 3);
        for (const ThemaZeile &t : themen.zeilen) {
            const auto texte = db.texte(t.id);
            QVERIFY(texte.ok);
            QCOMPARE(texte.zeilen.size(), 20);
            for (const TextZeile &x : texte.zeilen) {
                nummern.insert(QStringLiteral("%1.%2.%3")
                                   .arg(k.nummer, 2, 10, QLatin1Char('0'))
                                   .arg(t.nummer, 2, 10, QLatin1Char('0'))
                                   .arg(x.nummer, 2, 10, QLatin1Char('0')));
                QTextDocument doc;
                QVERIFY(RtfLesen(x.text, doc));
                const QString text = doc.toPlainText();
                static const QRegularExpression tl(QStringLiteral("\\{T(.{8})\\}[^{]+\\{TE\\}"));
                static const QRegularExpression bl(QStringLiteral("\\{P(\\d{5})\\}[^{]+\\{PE\\}"));
                for (const auto &m : tl.globalMatch(text))
                    textLinks << m.captured(1);
                for (const auto &m : bl.globalMatch(text)) {
                    QCOMPARE(k.nummer, 1);
                    bildLinks << m.captured(1);
                }
                QCOMPARE(text.count("{T"), text.count("{TE}") * 2);
                QCOMPARE(text.count("{P"), text.count("{PE}") * 2);
            }
        }
    }
    QCOMPARE(nummern.size(), 120);
    QVERIFY(textLinks.size() >= 120);
    for (const QString &n : std::as_const(textLinks))
        QVERIFY2(nummern.contains(n), qPrintable(n));
    bildLinks.sort();
    QCOMPARE(bildLinks, (QStringList{"00001", "00002", "00003"}));

    QCOMPARE(db.woerter("%").zeilen.size(), 500);
    qint32 haeufig = -1;
    for (const WortZeile &z : db.woerter(SynthetischeDaten::haeufigesWort).zeilen)
        if (z.wort == QString::fromLatin1(SynthetischeDaten::haeufigesWort))
            haeufig = z.id;
    QVERIFY(haeufig > 0);
    QCOMPARE(db.texteZumWort(haeufig).zeilen.size(), 50);

    const QSize groessen[] = {{1024, 768}, {800, 600}, {640, 480}};
    for (int b = 1; b <= 3; ++b) {
        const auto gelesen = db.bild(QString::number(b));
        QVERIFY(gelesen.ok && gelesen.zeilen.size() == 1);
        QImage bild;
        QVERIFY(BildEntpacken(gelesen.zeilen.first().bild, bild));
        QCOMPARE(bild.size(), groessen[b - 1]);
    }
    setzeProgrammVerzeichnis(QString());
}

void TestSynthetisch::gleicheEingabeGleicheDaten()
{
    SynthetischeDaten::Optionen o;
    o.kapitel = 1;
    o.themen = 2;
    o.abschnitte = 3;
    o.woerter = 50;
    o.bilder = 0;
    o.zuordnungen = 60;
    const HilfeQuelle a = SynthetischeDaten::erzeugen(o);
    const HilfeQuelle b = SynthetischeDaten::erzeugen(o);
    QCOMPARE(RtfErzeuger::erzeugen(a.kapitel[0].themen[1].abschnitte[2].bloecke),
             RtfErzeuger::erzeugen(b.kapitel[0].themen[1].abschnitte[2].bloecke));
    QCOMPARE(a.kapitel[0].themen[1].abschnitte[2].stichwoerter,
             b.kapitel[0].themen[1].abschnitte[2].stichwoerter);
}

QTEST_MAIN(TestSynthetisch)
#include "test_synthetisch.moc"
