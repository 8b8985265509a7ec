#pragma once
// The rows of an S7comm access table file as the benchmarks write them: every attribute the
// dialog and the compiler read, the values varied row by row.
#include <QByteArray>
#include <QString>

namespace kt_bench {

// `mnemonic` holds "%1" for the row number; `lineEnd` follows each row.
inline QByteArray S7Rows(int count, bool write, const char* mnemonic, const char* lineEnd)
{
    static const char* const plcTypes[] = {"Logo0BA8", "S7200", "S7300", "S7400", "S71200", "S71500"};
    static const char* const dataTypes[] = {"Bit", "Byte", "Char", "Word", "Int", "DWord", "DInt", "Real"};
    static const char* const blocks[] = {"OB", "DB", "SDB", "FC", "SFC", "FB", "SFB"};
    static const char* const areas[] = {"Direct peripheral access (P)", "Inputs (I)", "Output (Q)",
                                        "Flags (M) (Merker)"};
    QByteArray out;
    for (int i = 0; i < count; ++i) {
        out += QStringLiteral("<row Enable=\"Y\" PLC_Address=\"192.168.%1.%2\" PLC_Port=\"102\" PLC_Type=\"%3\" "
                              "Rack=\"0\" Slot=\"%4\" Data_Type=\"%5\" Data_Identifier=\"%6\" DB_Number=\"%7\" "
                              "PLC_Area=\"%8\" PLC_Add=\"%9\" PLC_Bit=\"%10\" PollTime=\"1000\" ")
                   .arg(i / 250 + 1)
                   .arg(i % 250 + 1)
                   .arg(plcTypes[i % 6])
                   .arg(i % 32)
                   .arg(dataTypes[i % 8])
                   .arg(blocks[i % 7])
                   .arg(i)
                   .arg(areas[i % 4])
                   .arg(i * 2)
                   .arg(i % 8)
                   .toUtf8();
        if (write)
            out += "OnChange=\"Y\" OnCMD=\"N\" ";
        out += QStringLiteral("Position=\"%1\" Bit=\"0\" Swap=\"N\" SwapWord=\"Y\" Mnemonic=\"%2\"/>")
                   .arg(i % 1500)
                   .arg(QString::fromLatin1(mnemonic).arg(i))
                   .toUtf8();
        out += lineEnd;
    }
    return out;
}

} // namespace kt_bench
