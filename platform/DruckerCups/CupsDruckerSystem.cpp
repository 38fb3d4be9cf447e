// The CUPS printer system (see CupsDruckerSystem.h). The PPD interface of libcups is marked
// deprecated but is still the only place where a queue's driver names its paper sources.
#include "CupsDruckerSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSizeF>

#include <cups/cups.h>
#include <cups/ppd.h>
#include <unistd.h>

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace {

QString text(const char *s)
{
    // Driver texts are UTF-8: libcups converts a PPD's texts from the encoding its
    // LanguageEncoding declares when it opens the file.
    return s ? QString::fromUtf8(s) : QString();
}

struct Ziele
{
    cups_dest_t *dests = nullptr;
    int anzahl = 0;
    Ziele() { anzahl = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests); }
    ~Ziele() { cupsFreeDests(anzahl, dests); }
    Ziele(const Ziele &) = delete;
    Ziele &operator=(const Ziele &) = delete;
};

} // namespace

CupsDruckerSystem::CupsDruckerSystem() = default;
CupsDruckerSystem::~CupsDruckerSystem() = default;

QString CupsDruckerSystem::lpoptionsDatei()
{
    return QDir::homePath() + QStringLiteral("/.cups/lpoptions");
}

QList<DruckerInfo> CupsDruckerSystem::drucker()
{
    QList<DruckerInfo> r;
    Ziele z;
    for (int i = 0; i < z.anzahl; ++i) {
        const cups_dest_t &d = z.dests[i];
        if (d.instance)
            continue;
        DruckerInfo info;
        info.Geraetename = text(d.name);
        info.Port = text(cupsGetOption("device-uri", d.num_options, d.options));
        const Daten &dd = daten(info.Geraetename);
        info.PapierGroesse = dd.papier;
        info.PapierZufuhr = dd.schacht;
        r.append(info);
    }
    return r;
}

QStringList CupsDruckerSystem::druckerNamen()
{
    QStringList r;
    Ziele z;
    for (int i = 0; i < z.anzahl; ++i) {
        if (!z.dests[i].instance)
            r << text(z.dests[i].name);
    }
    return r;
}

DruckerInfo CupsDruckerSystem::druckerInfo(const QString &name)
{
    DruckerInfo info;
    info.Geraetename = name;
    const QByteArray n = name.toUtf8();
    if (cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, n.constData(), nullptr)) {
        info.Port = text(cupsGetOption("device-uri", dest->num_options, dest->options));
        cupsFreeDests(1, dest);
    }
    const Daten &dd = daten(name);
    info.PapierGroesse = dd.papier;
    info.PapierZufuhr = dd.schacht;
    return info;
}

QString CupsDruckerSystem::standardDrucker()
{
    Ziele z;
    for (int i = 0; i < z.anzahl; ++i) {
        if (z.dests[i].is_default)
            return text(z.dests[i].name);
    }
    return QString();
}

CupsDruckerSystem::Daten &CupsDruckerSystem::daten(const QString &name)
{
    Daten &d = m_daten[name];
    if (!d.gelesen) {
        lesen(name, d);
        d.gelesen = true;
    }
    return d;
}

void CupsDruckerSystem::lesen(const QString &name, Daten &d)
{
    const QByteArray n = name.toUtf8();
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, n.constData(), nullptr);
    if (!dest)
        return;
    d.erreichbar = true;
    const char *ppdDatei = cupsGetPPD2(CUPS_HTTP_DEFAULT, n.constData());
    ppd_file_t *ppd = ppdDatei ? ppdOpenFile(ppdDatei) : nullptr;
    if (ppdDatei)
        ::unlink(ppdDatei);
    if (!ppd) {
        cupsFreeDests(1, dest);
        return;
    }
    ppdMarkDefaults(ppd);
    cupsMarkOptions(ppd, dest->num_options, dest->options);

    if (ppd_option_t *slot = ppdFindOption(ppd, "InputSlot")) {
        const ppd_choice_t *markiert = ppdFindMarkedChoice(ppd, "InputSlot");
        for (int i = 0; i < slot->num_choices; ++i) {
            const ppd_choice_t &c = slot->choices[i];
            const int code = DruckerSystem::schachtCode(text(c.choice), i);
            d.schaechte.append({text(c.text[0] ? c.text : c.choice).left(24), code});
            d.schachtSchluessel.append(text(c.choice));
            if (markiert && qstrcmp(markiert->choice, c.choice) == 0)
                d.schacht = code;
        }
    }
    if (ppd_option_t *groesse = ppdFindOption(ppd, "PageSize")) {
        const ppd_choice_t *markiert = ppdFindMarkedChoice(ppd, "PageSize");
        QList<QPageSize> seiten;
        QStringList schluessel, namen;
        for (int i = 0; i < groesse->num_choices; ++i) {
            const ppd_choice_t &c = groesse->choices[i];
            const ppd_size_t *s = ppdPageSize(ppd, c.choice);
            if (!s)
                continue;
            seiten.append(QPageSize(QSizeF(s->width, s->length), QPageSize::Point, text(c.choice),
                                    QPageSize::FuzzyMatch));
            schluessel << text(c.choice);
            namen << text(c.text[0] ? c.text : c.choice).left(64);
        }
        const QList<int> codes = papierCodes(schluessel, seiten);
        for (qsizetype i = 0; i < codes.size(); ++i) {
            d.formate.append({namen[i], codes[i]});
            d.seiten.append(seiten[i]);
            if (markiert && schluessel[i] == text(markiert->choice))
                d.papier = codes[i];
        }
    }
    // Options for the properties dialog: every option of the driver's groups but PageRegion,
    // which names the paper size again for manual feed and follows PageSize (libcups marks
    // both when a size is chosen), so it is not a choice of its own.
    for (int g = 0; g < ppd->num_groups; ++g) {
        const ppd_group_t &gruppe = ppd->groups[g];
        for (int o = 0; o < gruppe.num_options; ++o) {
            const ppd_option_t &opt = gruppe.options[o];
            if (qstrcmp(opt.keyword, "PageRegion") == 0)
                continue;
            DruckerOption option;
            option.schluessel = text(opt.keyword);
            option.titel = text(opt.text[0] ? opt.text : opt.keyword);
            for (int c = 0; c < opt.num_choices; ++c) {
                option.werte << text(opt.choices[c].choice);
                option.wertTitel << text(opt.choices[c].text[0] ? opt.choices[c].text
                                                                : opt.choices[c].choice);
                if (opt.choices[c].marked)
                    option.aktuell = text(opt.choices[c].choice);
            }
            d.optionen.append(option);
        }
    }
    ppdClose(ppd);
    cupsFreeDests(1, dest);
}

QList<int> CupsDruckerSystem::papierCodes(const QStringList &schluessel,
                                          const QList<QPageSize> &seiten)
{
    // Variants of a size ("Letter.Borderless", "A4.FullBleed") measure like the size itself and
    // would get its code: the plain size (the key without a variant suffix, else the first)
    // keeps the code, each variant gets one of its own (256 + its position).
    QList<int> codes;
    QHash<int, qsizetype> traeger; // code -> entry that holds it
    for (qsizetype i = 0; i < seiten.size(); ++i) {
        const int id = seiten[i].windowsId();
        codes << (id > 0 ? id : 256 + int(i));
    }
    for (qsizetype i = 0; i < codes.size(); ++i) {
        if (codes[i] >= 256)
            continue;
        const auto it = traeger.constFind(codes[i]);
        if (it == traeger.constEnd()) {
            traeger.insert(codes[i], i);
            continue;
        }
        const qsizetype bisher = *it;
        const bool neuSchlicht = !schluessel[i].contains(QLatin1Char('.'));
        const bool bisherSchlicht = !schluessel[bisher].contains(QLatin1Char('.'));
        if (neuSchlicht && !bisherSchlicht) {
            codes[i] = codes[bisher];
            codes[bisher] = 256 + int(bisher);
            traeger.insert(codes[i], i);
        } else {
            codes[i] = 256 + int(i);
        }
    }
    return codes;
}

bool CupsDruckerSystem::oeffnen(const QString &name)
{
    return daten(name).erreichbar;
}

bool CupsDruckerSystem::oeffnenVoll(const QString &name)
{
    if (!oeffnen(name))
        return false;
    const QString ordner = QFileInfo(lpoptionsDatei()).path();
    return QDir().mkpath(ordner) && QFileInfo(ordner).isWritable();
}

QList<PapierEintrag> CupsDruckerSystem::schaechte(const QString &name)
{
    return daten(name).schaechte;
}

QList<PapierEintrag> CupsDruckerSystem::papierformate(const QString &name)
{
    return daten(name).formate;
}

QList<DruckerOption> CupsDruckerSystem::optionen(const QString &name)
{
    return daten(name).optionen;
}

QString CupsDruckerSystem::schachtSchluessel(const QString &name, int code)
{
    const Daten &d = daten(name);
    for (qsizetype i = 0; i < d.schaechte.size(); ++i) {
        if (d.schaechte[i].code == code)
            return d.schachtSchluessel.value(i);
    }
    return QString();
}

QPageSize CupsDruckerSystem::seitenformat(const QString &name, int code)
{
    const Daten &d = daten(name);
    for (qsizetype i = 0; i < d.formate.size(); ++i) {
        if (d.formate[i].code == code)
            return d.seiten.value(i);
    }
    return DruckerSystem::seitenformat(name, code);
}

bool CupsDruckerSystem::optionenSpeichern(const QString &name, const QMap<QString, QString> &werte)
{
    if (!oeffnenVoll(name))
        return false;
    // The options file is shared by every program of the user and has its own quoting and
    // escaping, instances and defaults: it is read and written only through libcups, which
    // keeps the other printers' and programs' options. Only values that differ from what the
    // printer has now are set; when none does, the file is not written at all.
    Ziele z;
    const QByteArray n = name.toUtf8();
    cups_dest_t *dest = cupsGetDest(n.constData(), nullptr, z.anzahl, z.dests);
    if (!dest)
        return false;
    bool geaendert = false;
    for (auto it = werte.begin(); it != werte.end(); ++it) {
        const QByteArray schluessel = it.key().toUtf8();
        const QByteArray wert = it.value().toUtf8();
        const char *alt = cupsGetOption(schluessel.constData(), dest->num_options, dest->options);
        if (alt && wert == alt)
            continue;
        dest->num_options = cupsAddOption(schluessel.constData(), wert.constData(),
                                          dest->num_options, &dest->options);
        geaendert = true;
    }
    if (!geaendert)
        return true;
    if (cupsSetDests2(CUPS_HTTP_DEFAULT, z.anzahl, z.dests) != 0)
        return false;
    m_daten.remove(name);
    return true;
}

bool CupsDruckerSystem::auftragSenden(const QString &name, const QString &pdfDatei,
                                      const QString &titel, const QString &papier,
                                      const QString &schacht, int kopien, QString *fehler)
{
    int anzahl = 0;
    cups_option_t *optionen = nullptr;
    if (!papier.isEmpty())
        anzahl = cupsAddOption("media", papier.toUtf8().constData(), anzahl, &optionen);
    if (!schacht.isEmpty())
        anzahl = cupsAddOption("InputSlot", schacht.toUtf8().constData(), anzahl, &optionen);
    if (kopien > 1)
        anzahl = cupsAddIntegerOption("copies", kopien, anzahl, &optionen);
    // The printer's defaults and the user's own options (those set under "Eigenschaften"),
    // as lp takes them: every option of the destination that the job does not set itself.
    // The job's paper size and source stand for the options that name them another way.
    const QByteArray n = name.toUtf8();
    if (cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, n.constData(), nullptr)) {
        for (int i = 0; i < dest->num_options; ++i) {
            const cups_option_t &o = dest->options[i];
            if (cupsGetOption(o.name, anzahl, optionen))
                continue;
            if (!papier.isEmpty() &&
                (qstrcmp(o.name, "PageSize") == 0 || qstrcmp(o.name, "PageRegion") == 0 ||
                 qstrcmp(o.name, "media-col") == 0))
                continue;
            if (!schacht.isEmpty() && qstrcmp(o.name, "media-source") == 0)
                continue;
            anzahl = cupsAddOption(o.name, o.value, anzahl, &optionen);
        }
        cupsFreeDests(1, dest);
    }
    const int job =
        cupsPrintFile2(CUPS_HTTP_DEFAULT, n.constData(), QFile::encodeName(pdfDatei).constData(),
                       titel.toUtf8().constData(), anzahl, optionen);
    cupsFreeOptions(anzahl, optionen);
    if (job <= 0 && fehler) {
        // The server's reason (queue not accepting jobs, no such printer, no server).
        *fehler = QStringLiteral("Der Drucker „%1“ hat den Auftrag nicht angenommen: %2")
                      .arg(name, text(cupsLastErrorString()));
    }
    return job > 0;
}
