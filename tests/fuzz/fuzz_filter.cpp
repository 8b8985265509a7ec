// Filter conditions of the grid: the input is the condition, a line break, then the cell value.
#include "FuzzSupport.h"

#include "render/RuvOdid_Filter.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kt_fuzz::Start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(kt_fuzz::Bytes(data, size));
    const qsizetype cut = text.indexOf(QLatin1Char('\n'));
    const QString condition = cut < 0 ? text : text.left(cut);
    const QString value = cut < 0 ? QString() : text.mid(cut + 1);
    MatchFilterCondition(condition, value, false);
    MatchFilterCondition(condition, value, true);
    platform::TDateTime when = 0;
    ParseDateTimeText(value, when);
    return 0;
}
