#pragma once
// The device image compiler: reads ParGen.xml, S7_Protocol.xml and OPC_UA_Server.xml of a
// configuration and builds the three banks the device loads, then writes them as bin/bank1.bin,
// bin/bank2.bin and bin/bank3.bin. All multi-byte values are little-endian on every host.
//
//  bank 1: the 2048-byte parameter block, ending in the 32-bit sum of its first 2044 bytes;
//  bank 2: 1024 S7comm rule records of 28 bytes (device address 0x80000);
//  bank 3: the OPC UA server block with absolute pointers from device address 0xA0000.
//
// Every value read has a default of the compiler's own, so a missing file, element or attribute
// never stops a compile. What does stop it, before any bank file is touched: a file that is not
// well-formed XML, a table file without its section, more rules than bank 2 holds, a bank 3 larger
// than its buffer, and a text that cannot be written one byte per character.
#include <QString>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <vector>

// Size of each output buffer, and so the largest bank the compiler can build.
constexpr uint32_t Bank_Buffer_Size = 131072;
constexpr uint32_t Par_Bank_Size = 2048;
constexpr int S7_Rules_Max = 1024;
constexpr uint32_t S7_Rule_Size = 28;
// Where the device loads banks 2 and 3.
constexpr uint32_t Bank2_Device_Address = 0x80000;
constexpr uint32_t Bank3_Device_Address = 0xA0000;

// A compile or save that cannot go on; the text is what the user is shown.
class ECompileError : public std::runtime_error {
public:
    explicit ECompileError(const QString& message);
    QString Message() const;
};

// One S7comm rule of bank 2, fields in file order.
struct TS7_Rule {
    uint32_t PLC_Address = 0;  // first octet * 16777216 + ... + fourth
    uint32_t PollTime = 0;     // milliseconds
    uint16_t PLC_Add = 0;
    uint16_t DB_Number = 0;
    uint16_t PLC_Port = 0;
    uint16_t Position = 0;
    uint16_t Reserved1 = 0;
    uint8_t Bit = 0;
    uint8_t PLC_Type = 0;
    uint8_t Data_Type = 0;
    uint8_t Data_Identifier = 0;
    uint8_t Reserved2 = 0;
    uint8_t Flags = 0;
    uint8_t PLC_Bit = 0;
    uint8_t PLC_Area = 0;
    uint8_t Rack_Slot = 0;     // (rack * 32 + slot) modulo 256
    uint8_t Reserved3 = 0;
};

// Flags of a rule (byte 23 of the record).
constexpr uint8_t S7_Flag_OnChange = 0x01;
constexpr uint8_t S7_Flag_Swap = 0x04;
constexpr uint8_t S7_Flag_SwapWord = 0x08;
constexpr uint8_t S7_Flag_OnCMD = 0x10;
constexpr uint8_t S7_Flag_Write = 0x20;

struct TOPC_UA_Var2 {
    uint32_t VarType = 0;
    uint16_t Position = 0;
    uint16_t Length = 0;
    uint32_t Options = 0;   // bit 0: the variable can be written
    uint32_t Add_Name = 0;  // device address of the name
    QString Name;
};

struct TOPC_UA_Server2 {
    uint16_t Port = 4840;
    uint16_t Num_Var = 0;
    std::vector<TOPC_UA_Var2> Variables;
    uint32_t Add_Num_Var = 0;
    QString NTP;
    uint32_t Add_NTP = 0;
    uint32_t NTP_Time = 10;
};

// The code tables of the rule and variable attributes (exact texts; anything else gives the
// table's "other" code).
uint8_t PLC_Type_Code(const QString& Text);
uint8_t S7_Data_Type_Code(const QString& Text);
uint8_t S7_Block_Code(const QString& Text);
uint8_t S7_Area_Code(const QString& Text);
uint32_t OPC_UA_Type_Code(const QString& Text);

// The compiler and its state, rebuilt completely by every compile.
class TSaveBincc {
public:
    TSaveBincc();

    // Builds Bank1..Bank3 and their lengths from the three files (each may be missing). On
    // failure nothing is left to save: the lengths are 0 and Save_Banks refuses.
    // Throws ECompileError.
    void Compile_Banks(const QString& File_ParGen, const QString& File_S7_Protocol,
                       const QString& File_OPC_UA_Server);
    // Writes the banks of the last successful compile to <Conf_Path>/bin (made when missing).
    // The three are replaced as one: a failure, or the program dying, at any point leaves either
    // the old set or the new one. Throws ECompileError naming the cause.
    void Save_Banks(const QString& Conf_Path) const;

    // The steps of a compile, in the order Compile_Banks runs them.
    void Reset_Par_Bank();
    void Clear_S7_Rules();
    void Reset_OPC_UA_Server();
    void Load_ParGen(const QString& File_ParGen);
    int Load_S7_Rules(const QString& File_S7_Protocol);   // returns the number of rules
    void Load_OPC_UA_Server(const QString& File_OPC_UA_Server, uint32_t Base);
    uint32_t Put_Par_Bank(uint32_t Pos, std::vector<uint8_t>& Buffer);
    uint32_t Put_S7_Bank(uint32_t Pos, std::vector<uint8_t>& Buffer) const;
    uint32_t Put_OPC_UA_Bank(uint32_t Pos, std::vector<uint8_t>& Buffer) const;

    // Bytes bank 3 takes for the current OPC_UA_Server_Data.
    uint32_t OPC_UA_Bank_Size() const;

    std::array<uint8_t, Par_Bank_Size> Par_Bank{};
    std::array<TS7_Rule, S7_Rules_Max> S7_Rules{};
    TOPC_UA_Server2 OPC_UA_Server_Data;
    std::vector<uint8_t> Bank1, Bank2, Bank3;
    uint32_t Bank1_Len = 0, Bank2_Len = 0, Bank3_Len = 0;

private:
    // A rule from the values of a row's attributes, in the order of the row's attribute names.
    void Fill_S7_Rule(const char* const* Values, TS7_Rule& Rule, bool Write);
};

// The program's compiler, bound to the open configuration's paths (File_ParGen,
// File_S7_Protocol, File_OPC_UA_Server, Active_Conf_Path). Each shows one error box when it
// fails and returns false; the update dialog must then not open.
TSaveBincc& Bank_Compiler();
bool Compile_Banks();
bool Save_Banks();
