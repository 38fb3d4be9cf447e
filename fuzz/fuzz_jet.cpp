// Fuzz target of the Jet import's reader: any bytes as an old help database, read with the
// six tables and columns the import asks for. Whatever the file holds, the read must end
// within its limits with the rows or a reason, and rows must have a value for every column.
#include "JetDatei.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace {

using Art = JetDatei::Art;

// The tables and columns the import reads.
const QList<JetDatei::Tabelle> tabellen = {
    {"Kapitel",
     {{"ID", Art::Zahl}, {"Nummer", Art::Zahl}, {"Bezeichnung", Art::Text}, {"lfdNummer", Art::Zahl}}},
    {"Themen",
     {{"ID", Art::Zahl},
      {"KapitelID", Art::Zahl},
      {"Nummer", Art::Zahl},
      {"Bezeichnung", Art::Text},
      {"lfdNummer", Art::Zahl}}},
    {"Texte",
     {{"ID", Art::Zahl},
      {"ThemenID", Art::Zahl},
      {"Nummer", Art::Zahl},
      {"Bezeichnung", Art::Text},
      {"Text", Art::Text},
      {"lfdNummer", Art::Zahl}}},
    {"Bilder", {{"Nummer", Art::Zahl}, {"Bild", Art::Bild}, {"Bezeichnung", Art::Text}}},
    {QStringLiteral("WörterIndex"), {{"ID", Art::Zahl}, {"Wort", Art::Text}}},
    {"ZuordnungIndex", {{"IndexID", Art::Zahl}, {"TextID", Art::Zahl}}},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t groesse)
{
    // The reader takes a path: the input lives in a memory file named through /proc.
    static const int fd = memfd_create("jet", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, daten, groesse, 0) != ssize_t(groesse))
        std::abort();
    // Short limits keep a hanging input from slowing the search; the code path is the same.
    JetDatei::Inhalt inhalt;
    const bool gelesen = JetDatei::abgeschirmtLesen(QStringLiteral("/proc/self/fd/%1").arg(fd),
                                                    tabellen, &inhalt, JetDatei::Grenzen{2, 256});
    if (gelesen != inhalt.fehler.isEmpty())
        std::abort(); // a failure always says why, a success never
    if (gelesen) {
        if (inhalt.zeilen.size() != tabellen.size())
            std::abort();
        for (qsizetype t = 0; t < tabellen.size(); ++t)
            for (const JetDatei::Zeile &z : inhalt.zeilen[t])
                if (z.werte.size() != tabellen[t].spalten.size())
                    std::abort();
    }
    return 0;
}
