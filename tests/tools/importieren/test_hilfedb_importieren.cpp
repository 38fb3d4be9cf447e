// "hilfedb importieren" on the Jet 4 files in shared/jet and byte-changed copies: every row read
// back matches beispiel-jet4.erwartung.txt, left-out rows are named, the check section says what
// "hilfedb pruefen" says; inputs that are no usable Jet file leave no file behind.
#include "Global.h"
#include "SqlDialekt.h"
#include "TestHilfen.h"

#include <QtTest>

#include <sqlite3.h>

#include <functional>

namespace {

const QString JetOrdner = QStringLiteral(TOLVAR_SOURCE_DIR "/../shared/jet/");
const QStringList Tabellen = {"Kapitel", "Themen",      "Texte",
                              "Bilder",  "WörterIndex", "ZuordnungIndex"};

// A row as one comparable line: "Spalte=Wert" in column order; text as JSON, pictures by size and
// SHA-256 of the zip (equal bytes hold an equal Temp.bmp).
using Erwartung = QMap<QString, QList<QJsonObject>>; // table -> rows as in the file

QString wertZeile(const QJsonValue &v)
{
    if (v.isNull())
        return QStringLiteral("NULL");
    if (v.isDouble())
        return QString::number(v.toInteger());
    if (v.isString())
        return QString::fromUtf8(QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact));
    return QStringLiteral("zip %1 %2").arg(v["bytes"].toInteger()).arg(v["sha256"].toString());
}

// beispiel-jet4.erwartung.txt: "== TABELLE name | ...", "-- name Zeile k", "Spalte = JSON".
Erwartung erwartungLesen()
{
    Erwartung e;
    QString tabelle;
    for (const QByteArray &roh :
         dateiLesen(JetOrdner + "beispiel-jet4.erwartung.txt").split('\n')) {
        const QString z = QString::fromUtf8(roh);
        if (z.startsWith("== TABELLE "))
            tabelle = z.mid(11).section(" |", 0, 0);
        else if (z.startsWith("-- "))
            e[tabelle].append(QJsonObject());
        else if (!z.startsWith('#') && z.contains(" = ") && !e[tabelle].isEmpty())
            e[tabelle].last().insert(
                z.section(" = ", 0, 0),
                QJsonDocument::fromJson("[" + z.section(" = ", 1).toUtf8() + "]").array().first());
    }
    return e;
}

QStringList erwarteteZeilen(const QList<QJsonObject> &zeilen, const QStringList &spalten)
{
    QStringList l;
    for (const QJsonObject &o : zeilen) {
        QStringList teile;
        for (const QString &s : spalten)
            teile << s + "=" + wertZeile(o.value(s));
        l << teile.join(" | ");
    }
    l.sort();
    return l;
}

// Every row of a table of the new database, with its column names.
QStringList gelesen(sqlite3 *db, const QString &tabelle, QStringList *spalten)
{
    QStringList l;
    sqlite3_stmt *st = nullptr;
    const QByteArray sql = "SELECT * FROM \"" + tabelle.toUtf8() + "\"";
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
        return {QStringLiteral("nicht lesbar: ") + QString::fromUtf8(sqlite3_errmsg(db))};
    spalten->clear();
    for (int i = 0; i < sqlite3_column_count(st); ++i)
        *spalten << QString::fromUtf8(sqlite3_column_name(st, i));
    while (sqlite3_step(st) == SQLITE_ROW) {
        QStringList teile;
        for (int i = 0; i < spalten->size(); ++i) {
            const int typ = sqlite3_column_type(st, i);
            const QByteArray roh(static_cast<const char *>(sqlite3_column_blob(st, i)),
                                 sqlite3_column_bytes(st, i));
            const QString sha = QCryptographicHash::hash(roh, QCryptographicHash::Sha256).toHex();
            teile << spalten->at(i) + "=" +
                         wertZeile(typ == SQLITE_NULL      ? QJsonValue()
                                   : typ == SQLITE_INTEGER ? QJsonValue(sqlite3_column_int64(st, i))
                                   : typ == SQLITE_TEXT    ? QJsonValue(QString::fromUtf8(roh))
                                   : QJsonObject{{"bytes", roh.size()}, {"sha256", sha}});
        }
        l << teile.join(" | ");
    }
    sqlite3_finalize(st);
    l.sort();
    return l;
}

// A byte change of a copy, checked against what must stand there first.
struct Aenderung
{
    QByteArray suchen; // occurs exactly once
    int versatz;       // from the start of suchen
    QByteArray vorher, nachher;
};

bool aendern(QByteArray &datei, const QList<Aenderung> &aenderungen)
{
    for (const Aenderung &a : aenderungen) {
        const qsizetype i = datei.indexOf(a.suchen);
        if (i < 0 || datei.indexOf(a.suchen, i + 1) >= 0 ||
            datei.mid(i + a.versatz, a.vorher.size()) != a.vorher) {
            qWarning() << "Stelle nicht gefunden:" << a.suchen;
            return false;
        }
        datei.replace(i + a.versatz, a.nachher.size(), a.nachher);
    }
    return true;
}

QByteArray utf16(const char *s)
{
    const QString t = QString::fromUtf8(s);
    return QByteArray(reinterpret_cast<const char *>(t.utf16()), t.size() * 2);
}

// A Kapitel row's compressed title (FF FE ...); the row's offsets and null mask follow it.
QByteArray kapitelTitel(const char *titel) { return QByteArray("\xff\xfe") + titel; }

QJsonObject &zeileMit(Erwartung &e, const QString &tabelle, const QString &spalte, int wert)
{
    for (QJsonObject &o : e[tabelle])
        if (o.value(spalte).toInteger() == wert)
            return o;
    static QJsonObject keine;
    return keine;
}

using Anpassung = std::function<void(Erwartung &)>;

} // namespace

class TestHilfedbImportieren : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void uebernahme_data();
    void uebernahme();
    void abgelehnt_data();
    void abgelehnt();
    void ziel_data();
    void ziel();

private:
    QTemporaryDir m_dir;
    Erwartung m_erwartung;
};

void TestHilfedbImportieren::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    m_erwartung = erwartungLesen();
    QCOMPARE(m_erwartung.keys().size(), 6);
}

void TestHilfedbImportieren::uebernahme_data()
{
    QTest::addColumn<QString>("quelle");
    QTest::addColumn<QList<Aenderung>>("aenderungen");
    QTest::addColumn<Anpassung>("anpassung");
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("fehlerZeilen");
    QTest::addColumn<QStringList>("pruefung");

    // Bytes in octal where a digit or letter follows (a hexadecimal escape would take it in).
    const auto f = [](
                       const char *name, const char *quelle, const QList<Aenderung> &aenderungen,
                       const Anpassung &anpassung = [](Erwartung &) {}, int code = 0,
                       const QStringList &fehlerZeilen = {}, const QStringList &pruefung = {}) {
        zeile(name, QString(quelle), aenderungen, anpassung, code, fehlerZeilen, pruefung);
    };
    f("ole pictures", "beispiel-jet4.mdb", {});
    f("database password in the header", "beispiel-jet4-passwort.mdb", {});
    f("pictures in the old text form", "beispiel-jet4-bildtext.mdb", {});
    // Null mask bits of Nummer and Bezeichnung cleared: both stay NULL, not 0 and "".
    f("nulls", "beispiel-jet4.mdb",
      {{kapitelTitel("Adressen verwalten"), 20, QByteArray("\x20\x00\x0c\x00\x01\x00\x0f", 7),
        QByteArray("\x20\x00\x0c\x00\x01\x00\x09", 7)}},
      [](Erwartung &e) {
          for (const char *s : {"Nummer", "Bezeichnung"})
              zeileMit(e, "Kapitel", "ID", 2)[s] = QJsonValue::Null;
      },
      0, {}, {"Die Prüfung konnte @ nicht vollständig lesen"});
    // The section text's long-value head made an inline value of length 0: an empty text.
    f("empty memo", "beispiel-jet4.mdb",
      {{QByteArray("\377\376\334ber dieses Programm\xfd\x01\x00\x40", 26), 22,
        QByteArray("\xfd\x01\x00\x40", 4), QByteArray("\x00\x00\x00\x80", 4)}},
      [](Erwartung &e) { zeileMit(e, "Texte", "ID", 1)["Text"] = ""; }, 0, {},
      {"01.01.01: Text ist leer",
       "Warnung: Bild 00001 „Hauptfenster“: kein Verweis zeigt dieses Bild"});
    // The catalogue names the keyword table with the ö of another code page (U+201D is what
    // code page 850's ö becomes when read as 1252).
    f("keyword table in another code page", "beispiel-jet4.mdb",
      {{utf16("WörterIndex"), 2, QByteArray("\xf6\x00", 2), QByteArray("\x1d\x20", 2)}});
    // Chapter 4 given the ID of chapter 1: the later row is left out and named.
    QStringList ohneText{"01.01.01: Verweis auf 03.01.01: kein solcher Abschnitt"};
    for (const char *wort :
         {"Adressliste drucken", "Briefumschläge", "CSV-Export", "Datensicherung",
          "Etiketten [Vorlagen]", "Größe der Etiketten", "Sicherungskopie"})
        ohneText << QStringLiteral("Stichwort „%1“: führt zu keinem Text").arg(wort);
    ohneText << "Warnung: Bild 00012 „Druckvorschau (Beispiel)“: kein Verweis zeigt dieses Bild";
    f(
        "duplicate ID", "beispiel-jet4.mdb",
        {{kapitelTitel("Drucken und Weitergeben"), -10, QByteArray("\x04\x00\x00\x00", 4),
          QByteArray("\x01\x00\x00\x00", 4)}},
        [](Erwartung &e) { e["Kapitel"].removeLast(); }, 1,
        {"hilfedb: Kapitel, ID 1: ID kommt mehrfach vor; nur die erste Zeile wird übernommen"},
        ohneText);
}

void TestHilfedbImportieren::uebernahme()
{
    QFETCH(QString, quelle);
    QFETCH(QList<Aenderung>, aenderungen);
    QFETCH(Anpassung, anpassung);
    QFETCH(int, code);
    QFETCH(QStringList, fehlerZeilen);
    QFETCH(QStringList, pruefung);
    QString alt = JetOrdner + quelle;
    if (!aenderungen.isEmpty()) {
        QByteArray datei = dateiLesen(alt);
        QVERIFY(aendern(datei, aenderungen));
        alt = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".mdb");
        dateiSchreiben(alt, datei);
    }
    const QString neu = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + "-neu.mdb");
    const ProgrammLauf l = programmLaufen(HILFEDB_PFAD, {"importieren", alt, neu});
    QCOMPARE(l.code, code);
    Erwartung e = m_erwartung;
    anpassung(e);
    // One line per table with the rows read and written, in the order of the import.
    QStringList tabellenZeilen;
    for (const QString &t : Tabellen)
        tabellenZeilen << QStringLiteral("%1: %2 gelesen, %3 geschrieben")
                              .arg(t).arg(m_erwartung[t].size()).arg(e[t].size());
    QCOMPARE(l.aus.split('\n').mid(0, 6), tabellenZeilen);
    QStringList stderrZeilen = l.fehler.split('\n', Qt::SkipEmptyParts);
    stderrZeilen.removeIf([](const QString &z) { return !z.startsWith("hilfedb: "); });
    QCOMPARE(stderrZeilen, fehlerZeilen);
    sqlite3 *db = nullptr;
    const QByteArray pfad = QFile::encodeName(neu);
    QCOMPARE(sqlite3_open_v2(pfad.constData(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_key(db, HilfePasswort, int(qstrlen(HilfePasswort)));
    SqlDialekt::registrieren(db);
    for (const QString &t : Tabellen) {
        QStringList spalten;
        const QStringList ist = gelesen(db, t, &spalten);
        QCOMPARE(ist, erwarteteZeilen(e[t], spalten));
    }
    sqlite3_close(db);
    // The check section holds exactly what "hilfedb pruefen" prints for the new file.
    const QString abschnitt = l.aus.section(QStringLiteral("Prüfung von ") + neu + ":\n", 1);
    QStringList probleme = abschnitt.split('\n', Qt::SkipEmptyParts);
    QVERIFY2(!probleme.isEmpty(), qPrintable(l.aus));
    const QString summe = probleme.takeLast();
    const QString lesbar = QStringLiteral("Die Prüfung konnte @ nicht vollständig lesen");
    if (pruefung.contains(lesbar)) {
        QVERIFY2(summe.startsWith(QString(lesbar).replace("@", neu)), qPrintable(summe));
        pruefung.removeAll(lesbar);
    } else {
        QVERIFY2(summe.contains(QStringLiteral(" Abschnitte, ")), qPrintable(summe));
    }
    QCOMPARE(probleme, pruefung);
    const ProgrammLauf p = programmLaufen(HILFEDB_PFAD, {"pruefen", neu});
    QCOMPARE(p.aus.split('\n', Qt::SkipEmptyParts), pruefung);
    QCOMPARE(p.code, pruefung.isEmpty() && !summe.startsWith("Die Prüfung") ? 0 : 1);
}

void TestHilfedbImportieren::abgelehnt_data()
{
    QTest::addColumn<std::function<QByteArray()>>("inhalt");
    QTest::addColumn<QString>("meldung");
    using Inhalt = std::function<QByteArray()>;
    const auto jet = [](std::function<void(QByteArray &)> aendern) {
        return Inhalt([aendern] {
            QByteArray d = dateiLesen(JetOrdner + "beispiel-jet4.mdb");
            aendern(d);
            return d;
        });
    };
    zeile("empty file", jet([](QByteArray &d) { d.clear(); }),
          "ist keine Jet-Datenbank (Access .mdb)");
    zeile("truncated within a page", jet([](QByteArray &d) { d.truncate(100000); }),
          "ist unvollständig: 100000 Bytes sind keine ganze Zahl von Datenbankseiten");
    zeile("truncated at a page boundary", jet([](QByteArray &d) { d.truncate(262144); }),
          ": Tabelle „ZuordnungIndex“: nur 0 von 34 Zeilen lesbar; die Datei ist beschädigt oder "
          "abgeschnitten");
    zeile("encrypted pages", jet([](QByteArray &d) { d[0x3e] = char(d[0x3e] ^ 0x55); }),
          "ist verschlüsselt (Jet-Seitenverschlüsselung)");
    zeile("access 2007", jet([](QByteArray &d) { d.replace(4, 15, "Standard ACE DB"); }),
          "ist eine Access-Datenbank ab Access 2007 (.accdb); unterstützt wird nur Jet 4");
    zeile("jet 3 that is none", jet([](QByteArray &d) { d[0x14] = 0; }),
          "(eine Jet-3-Datei; vollständig unterstützt wird nur Jet 4)");
    zeile("missing table",
          jet([](QByteArray &d) { d.replace(utf16("ZuordnungIndex"), utf16("ZuordnungIndey")); }),
          ": Tabelle „ZuordnungIndex“ fehlt");
    zeile("missing column",
          jet([](QByteArray &d) { d.replace(utf16("lfdNummer"), utf16("lfdNummex")); }),
          ": Spalte „Kapitel.lfdNummer“ fehlt");
    zeile("missing file", Inhalt(), "kann nicht gelesen werden: die Datei gibt es nicht");
    // A catalogue entry whose property data sends libmdb reading without end.
    zeile("runaway catalogue properties", jet([](QByteArray &d) { d[0x17f09] = 0x5e; }),
          "kann nicht gelesen werden: das Lesen");
}

void TestHilfedbImportieren::abgelehnt()
{
    QFETCH(std::function<QByteArray()>, inhalt);
    QFETCH(QString, meldung);
    QTemporaryDir dir;
    const QString alt = dir.filePath("alt.mdb");
    if (inhalt)
        dateiSchreiben(alt, inhalt());
    const QString neu = dir.filePath("neu.mdb");
    const ProgrammLauf l = programmLaufen(HILFEDB_PFAD, {"importieren", alt, neu});
    QCOMPARE(l.code, 1);
    const QString erste =
        l.fehler.section(QStringLiteral("hilfedb: alt.mdb"), 1).section('\n', 0, 0);
    QVERIFY2(erste.contains(meldung), qPrintable(l.fehler));
    QVERIFY2(l.fehler.contains(QStringLiteral("hilfedb: ") + neu + " wurde nicht erstellt"),
             qPrintable(l.fehler));
    // The reason and the file not made, nothing else (the Jet library's complaints included).
    QCOMPARE(l.fehler.count(QStringLiteral("hilfedb: ")), 2);
    QStringList uebrig = QDir(dir.path()).entryList(QDir::Files);
    uebrig.removeAll("alt.mdb");
    QCOMPARE(uebrig, QStringList());
}

void TestHilfedbImportieren::ziel_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("meldung");
    QTest::addColumn<bool>("ersetzt");
    // "@" is the existing target, "!" the source.
    zeile("existing target", argumente("! @"), 2,
          "@ gibt es schon; mit --ersetzen wird die Datei ersetzt", false);
    zeile("existing target replaced", argumente("! @ --ersetzen"), 0, "", true);
    zeile("source as target", argumente("@ @ --ersetzen"), 2, "@ ist Quelle und Ziel zugleich",
          false);
}

void TestHilfedbImportieren::ziel()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, meldung);
    QFETCH(bool, ersetzt);
    QTemporaryDir dir;
    const QString neu = dir.filePath("neu.mdb");
    dateiSchreiben(neu, "bisher");
    for (QString &a : args)
        a = a == "@" ? neu : a == "!" ? JetOrdner + "beispiel-jet4.mdb" : a;
    const ProgrammLauf l = programmLaufen(HILFEDB_PFAD, QStringList{"importieren"} + args);
    QCOMPARE(l.code, code);
    QVERIFY2(l.fehler.contains(QString(meldung).replace("@", neu)), qPrintable(l.fehler));
    QCOMPARE(dateiLesen(neu) != "bisher", ersetzt);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"neu.mdb"});
}

QTEST_GUILESS_MAIN(TestHilfedbImportieren)
#include "test_hilfedb_importieren.moc"
