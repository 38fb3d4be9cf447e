// The import of a Jet help database (see JetImport.h).
#include "JetImport.h"

#include "Global.h"
#include "HilfeDatenbankSchreiber.h"
#include "JetDatei.h"
#include "JetText.h"

#include <QFileInfo>
#include <QSet>
#include <QVariant>

namespace {

using Art = JetDatei::Art;

struct Quelltabelle
{
    const char *name;
    HilfeDatenbankSchreiber::Tabelle ziel;
    // In the order of the help database's schema; must match the columns that
    // HilfeDatenbankSchreiber::zeileUebernehmen() writes for the table.
    QList<JetDatei::Spalte> spalten;
    bool mitID; // the first column is the table's unique key "ID"
};

const QList<Quelltabelle> &quelltabellen()
{
    using T = HilfeDatenbankSchreiber::Tabelle;
    static const QList<Quelltabelle> tabellen = {
        {"Kapitel",
         T::Kapitel,
         {{"ID", Art::Zahl},
          {"Nummer", Art::Zahl},
          {"Bezeichnung", Art::Text},
          {"lfdNummer", Art::Zahl}},
         true},
        {"Themen",
         T::Themen,
         {{"ID", Art::Zahl},
          {"KapitelID", Art::Zahl},
          {"Nummer", Art::Zahl},
          {"Bezeichnung", Art::Text},
          {"lfdNummer", Art::Zahl}},
         true},
        {"Texte",
         T::Texte,
         {{"ID", Art::Zahl},
          {"ThemenID", Art::Zahl},
          {"Nummer", Art::Zahl},
          {"Bezeichnung", Art::Text},
          {"Text", Art::Text},
          {"lfdNummer", Art::Zahl}},
         true},
        {"Bilder",
         T::Bilder,
         {{"Nummer", Art::Zahl}, {"Bild", Art::Bild}, {"Bezeichnung", Art::Text}},
         false},
        {"WörterIndex", T::WoerterIndex, {{"ID", Art::Zahl}, {"Wort", Art::Text}}, true},
        {"ZuordnungIndex",
         T::ZuordnungIndex,
         {{"IndexID", Art::Zahl}, {"TextID", Art::Zahl}},
         false},
    };
    return tabellen;
}

QString wertText(const QVariant &v)
{
    return v.isValid() ? v.toString() : QStringLiteral("NULL");
}

// How a row is named in a message: by its key where it has one, else by its place.
QString zeilenName(const Quelltabelle &t, const JetDatei::Zeile &z, int nr)
{
    QString s = QString::fromUtf8(t.name) + QStringLiteral(", ");
    if (t.ziel == HilfeDatenbankSchreiber::Tabelle::ZuordnungIndex)
        return s + QStringLiteral("IndexID %1, TextID %2 (Zeile %3)")
                       .arg(wertText(z.werte.value(0)), wertText(z.werte.value(1)))
                       .arg(nr);
    const QVariant schluessel = z.werte.value(0);
    if (!schluessel.isValid())
        return s + QStringLiteral("Zeile %1").arg(nr);
    return s + QString::fromUtf8(t.spalten.first().name) + QLatin1Char(' ') + schluessel.toString();
}

// Why a row that was read cannot be written as it is stored; empty when it can.
QString zeilenProblem(const Quelltabelle &t, const JetDatei::Zeile &z, QSet<qint32> &ids)
{
    if (!z.problem.isEmpty())
        return z.problem;
    for (qsizetype i = 0; i < z.werte.size(); ++i) {
        const QVariant &v = z.werte[i];
        if (v.typeId() != QMetaType::QString)
            continue;
        const qsizetype stelle = JetText::ungueltigesZeichen(v.toString());
        if (stelle >= 0)
            return QStringLiteral("Spalte %1: Zeichen %2 ist ein halbes UTF-16-Paar (U+%3) und "
                                  "lässt sich nicht verlustfrei speichern")
                .arg(QString::fromUtf8(t.spalten[i].name))
                .arg(stelle + 1)
                .arg(QString::number(v.toString()[stelle].unicode(), 16).toUpper());
    }
    if (t.mitID) {
        const QVariant id = z.werte.value(0);
        if (!id.isValid())
            return QStringLiteral("ID ist leer (NULL)");
        if (ids.contains(id.toInt()))
            return QStringLiteral("ID kommt mehrfach vor; nur die erste Zeile wird übernommen");
        ids.insert(id.toInt());
    }
    return {};
}

} // namespace

bool JetImport::importieren(const QString &quelle, const QString &ziel, bool ersetzen,
                            Ergebnis &ergebnis)
{
    ergebnis = Ergebnis();
    if (!ersetzen && QFileInfo::exists(ziel)) {
        ergebnis.fehler = ziel + QStringLiteral(" gibt es schon");
        return false;
    }
    const QString quellName = QFileInfo(quelle).fileName();
    // Everything is read before the new file is begun: a source that breaks off leaves
    // nothing behind.
    QList<JetDatei::Tabelle> tabellen;
    for (const Quelltabelle &t : quelltabellen())
        tabellen.append({QString::fromUtf8(t.name), t.spalten});
    JetDatei::Inhalt inhalt;
    if (!JetDatei::abgeschirmtLesen(quelle, tabellen, &inhalt, JetDatei::Grenzen())) {
        ergebnis.fehler = quellName + (inhalt.fehlerBeimOeffnen ? QStringLiteral(" ")
                                                                : QStringLiteral(": ")) +
                          inhalt.fehler;
        // libmdb reads Jet 3 files too; what it cannot read of one is named as such.
        if (inhalt.version == 3)
            ergebnis.fehler += QStringLiteral(" (eine Jet-3-Datei; vollständig unterstützt wird "
                                              "nur Jet 4)");
        return false;
    }
    const QList<QList<JetDatei::Zeile>> &gelesen = inhalt.zeilen;

    QString fehler;
    HilfeDatenbankSchreiber db;
    if (!db.oeffnen(ziel, QString::fromLatin1(HilfePasswort), &fehler)) {
        ergebnis.fehler = ziel + QStringLiteral(": ") + fehler;
        return false;
    }
    for (qsizetype i = 0; i < quelltabellen().size(); ++i) {
        const Quelltabelle &t = quelltabellen()[i];
        Tabelle zaehler{QString::fromUtf8(t.name), int(gelesen[i].size()), 0};
        QSet<qint32> ids;
        int nr = 0;
        for (const JetDatei::Zeile &z : std::as_const(gelesen[i])) {
            ++nr;
            const QString problem = zeilenProblem(t, z, ids);
            if (!problem.isEmpty()) {
                ergebnis.zeilenFehler << zeilenName(t, z, nr) + QStringLiteral(": ") + problem;
                continue;
            }
            if (!db.zeileUebernehmen(t.ziel, z.werte)) {
                ergebnis.fehler = zeilenName(t, z, nr) +
                                  QStringLiteral(": kann nicht geschrieben werden: ") +
                                  db.letzterFehler();
                return false; // the writer discards its unfinished file
            }
            ++zaehler.geschrieben;
        }
        ergebnis.tabellen.append(zaehler);
    }
    // A file that appeared at the target while the source was read is kept.
    if (!ersetzen && QFileInfo::exists(ziel)) {
        ergebnis.fehler = ziel + QStringLiteral(" ist inzwischen entstanden und bleibt erhalten");
        return false;
    }
    if (!db.abschliessen(&fehler)) {
        ergebnis.fehler = ziel + QStringLiteral(": ") + fehler;
        return false;
    }
    return true;
}
