// The XML service: any bytes either load or are refused, and what it writes it reads back the same.
#include "FuzzSupport.h"

#include "core/XMLDocument.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kt_fuzz::Start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TXMLDocument doc;
    QString error;
    if (!doc.LoadFromBytes(kt_fuzz::Bytes(data, size), &error))
        return 0;
    const QByteArray saved = doc.SaveToBytes();
    TXMLDocument again;
    if (!again.LoadFromBytes(saved, &error) || again.SaveToBytes() != saved)
        std::abort();  // a file the service wrote that it cannot read back as written
    return 0;
}
