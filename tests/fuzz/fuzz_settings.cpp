// The settings file beside the program: read, then written back.
#include "FuzzSupport.h"

#include "core/USettings.h"
#include "core/XMLDocument.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kt_fuzz::Start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString path = kt_fuzz::Path(QStringLiteral("Velmora.xml"));
    static const QString out = kt_fuzz::Path(QStringLiteral("Velmora_out.xml"));
    kt_fuzz::Put(path, kt_fuzz::Bytes(data, size));
    TXMLDocument doc;
    Read_Settings(doc, path);
    Write_Settings(doc, out);
    return 0;
}
