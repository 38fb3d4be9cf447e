// The printer system interface: current printer and paper source codes (see DruckerSystem.h).
#include "DruckerSystem.h"

namespace {

DruckerSystem *g_system = nullptr;

// Windows bin codes and the driver keys that mean the same source. The first key of a code is
// the one used when a job asks for that code on a driver that does not list it itself.
struct Schacht
{
    int code;
    const char *schluessel[4];
};

const Schacht schachtTabelle[] = {
    {7, {"Auto", "AutoSelect", "Default", nullptr}},
    {1, {"Upper", "Tray1", "Top", "OnlyOne"}},
    {2, {"Lower", "Tray2", "Bottom", nullptr}},
    {3, {"Middle", "Tray3", nullptr, nullptr}},
    {4, {"Manual", "ManualFeed", "MP", "MPTray"}},
    {5, {"Envelope", "EnvelopeFeed", nullptr, nullptr}},
    {6, {"EnvManual", "ManualEnvelope", nullptr, nullptr}},
    {8, {"Tractor", nullptr, nullptr, nullptr}},
    {9, {"SmallFormat", nullptr, nullptr, nullptr}},
    {10, {"LargeFormat", nullptr, nullptr, nullptr}},
    {11, {"LargeCapacity", nullptr, nullptr, nullptr}},
    {14, {"Cassette", nullptr, nullptr, nullptr}},
    {15, {"FormSource", nullptr, nullptr, nullptr}},
};

} // namespace

DruckerSystem *druckerSystem()
{
    return g_system;
}

void setzeDruckerSystem(DruckerSystem *system)
{
    g_system = system;
}

QStringList DruckerSystem::druckerNamen()
{
    QStringList namen;
    for (const DruckerInfo &d : drucker())
        namen << d.Geraetename;
    return namen;
}

DruckerInfo DruckerSystem::druckerInfo(const QString &name)
{
    for (const DruckerInfo &d : drucker()) {
        if (d.Geraetename == name)
            return d;
    }
    DruckerInfo d;
    d.Geraetename = name;
    return d;
}

QString DruckerSystem::aktuellerDrucker()
{
    return m_aktuell.isEmpty() ? standardDrucker() : m_aktuell;
}

QString DruckerSystem::schachtSchluessel(const QString &name, int code)
{
    const QList<PapierEintrag> liste = schaechte(name);
    // The driver's keys are not kept in the list; codes are found again through the table or
    // the position (codes from 256 on).
    if (code >= 256 && code - 256 < liste.size())
        return QString(); // a driver-specific source: the implementation knows its key
    return standardSchachtSchluessel(code);
}

QPageSize DruckerSystem::seitenformat(const QString &, int code)
{
    const QPageSize::PageSizeId id = QPageSize::id(code);
    return id == QPageSize::Custom ? QPageSize() : QPageSize(id);
}

int DruckerSystem::schachtCode(const QString &schluessel, int position)
{
    for (const Schacht &s : schachtTabelle) {
        for (const char *k : s.schluessel) {
            if (k && schluessel.compare(QLatin1String(k), Qt::CaseInsensitive) == 0)
                return s.code;
        }
    }
    return 256 + position;
}

QString DruckerSystem::standardSchachtSchluessel(int code)
{
    for (const Schacht &s : schachtTabelle) {
        if (s.code == code)
            return QLatin1String(s.schluessel[0]);
    }
    return QString();
}
