// Fuzz target of the RTF reader: any bytes, read as stored RTF (the byte form) or, when the
// last byte is 0x01, as the text form the database delivers (bytes as characters; 0xFF and the
// two bytes behind it as one character beyond 0xFF). Seeds are plain RTF files.
#include "FuzzStart.h"
#include "RtfLeser.h"

#include <QTextDocument>

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzzStarten(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t groesse)
{
    const bool textForm = groesse > 0 && daten[groesse - 1] == 0x01;
    const QByteArray bytes(reinterpret_cast<const char *>(daten),
                           qsizetype(textForm ? groesse - 1 : groesse));
    QTextDocument doc;
    if (textForm) {
        QString text;
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            if (b == 0xFF && i + 2 < bytes.size()) {
                text += QChar(char16_t(static_cast<unsigned char>(bytes[i + 1]) << 8 |
                                       static_cast<unsigned char>(bytes[i + 2])));
                i += 2;
            } else {
                text += QChar(b);
            }
        }
        RtfLesen(text, doc);
    } else {
        RtfLesen(bytes, doc);
    }
    // Walk the result once, as the display and the text routines do.
    (void)doc.toPlainText();
    return 0;
}
