// A language file from the LANGUAGE folder, applied over the built-in texts.
#include "FuzzSupport.h"

#include "core/ULanguage.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kt_fuzz::Start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString path = kt_fuzz::Path(QStringLiteral("Test.lng"));
    kt_fuzz::Put(path, kt_fuzz::Bytes(data, size));
    Load_Language_File(path);
    Load_Default_Language();
    return 0;
}
