// Fuzz target of the picture extraction: any bytes as a stored picture archive. An unpacked
// picture must respect the pixel limit.
#include "BildEntpacken.h"
#include "FuzzStart.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzzStarten(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t groesse)
{
    const QByteArray archiv(reinterpret_cast<const char *>(daten), qsizetype(groesse));
    QImage bild;
    if (BildEntpacken(archiv, bild)) {
        if (bild.isNull() || qint64(bild.width()) * bild.height() > MaxBildPixel)
            std::abort();
    } else if (!bild.isNull()) {
        std::abort(); // a failed extraction leaves the picture unchanged
    }
    return 0;
}
