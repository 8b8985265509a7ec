// The parameters file: the communication parameters dialog is shown on it, then OK checks and
// writes it again.
#include "FuzzSupport.h"

#include "core/UComon.h"
#include "core/UParGen.h"

#include <memory>

namespace {
std::unique_ptr<TFParGen> Form;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kt_fuzz::Start(argc, argv);
    Shown_SW_Code = QStringLiteral("KT40917");
    File_ParGen = kt_fuzz::Path(QStringLiteral("ParGen.xml"));
    Form = std::make_unique<TFParGen>();
    Form->Create();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    kt_fuzz::Clear_Services();
    kt_fuzz::Put(File_ParGen, kt_fuzz::Bytes(data, size));
    Form->SetModalResult(platform::mrNone);
    Form->FormShow();
    Form->Btn_OKClick(nullptr);
    return 0;
}
