// The RTF codec: a cell's rich text read into a document, written back and read again, and made
// plain.
#include "FuzzSupport.h"

#include "platform/RichText.h"

#include <QTextDocument>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kt_fuzz::Start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray rtf = kt_fuzz::Bytes(data, size);
    platform::RtfToPlainText(rtf);
    QTextDocument doc;
    platform::RtfToDocument(rtf, doc);
    const QByteArray again = platform::DocumentToRtf(doc);
    QTextDocument back;
    platform::RtfToDocument(again, back);
    return 0;
}
