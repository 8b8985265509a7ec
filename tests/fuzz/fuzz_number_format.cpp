// The one number parser, the float and date texts, and Format with a typed argument list: the
// first line is parsed every way, the second is a format given it as integer, float and string.
#include "FuzzSupport.h"

#include "platform/SysUtils.h"

using namespace platform;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kt_fuzz::Start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(kt_fuzz::Bytes(data, size));
    const qsizetype cut = text.indexOf(QLatin1Char('\n'));
    const QString number = cut < 0 ? text : text.left(cut);
    const QString fmt = cut < 0 ? text : text.mid(cut + 1);

    int i = StrToIntDef(number, -1);
    int64_t big = 0;
    TryStrToInt64(number, big);
    double f = 0;
    const bool isFloat = TryStrToFloat(number, f);
    TDateTime when = 0;
    TryStrToDate(number, when);
    TryStrToTime(number, when);
    try {
        if (isFloat) {
            FloatToStr(f);
            Round(f);
            FormatDateTime(QStringLiteral("c mmm dddd ampm"), f);
        }
    } catch (const EConvertError&) {
        // out of range: refused, as designed
    }
    try {
        Format(fmt, {i, f, number, big});
    } catch (const EConvertError&) {
        // a format that does not fit its arguments
    }
    try {
        Format(fmt, {number, i});
    } catch (const EConvertError&) {
    }
    return 0;
}
