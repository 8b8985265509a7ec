#pragma once
// The SNMP variables table: the variables of the gateway's SNMP agent, each taken from (read
// table) or written into (write table) the gateway's internal data array, with its community
// name, type and the description that names it in the generated MIB module. The read variables
// are also sent as traps on change, on command or on a timer. Two column grids on two tabs, kept
// in SNMP_Trap.xml of the open configuration, which the MIB generator reads.
#include "tables/UTable_Frame.h"
#include "tables/UTable_Load.h"

#include <QStringList>

#include <cstdint>

class TFSNMP_Trap_Access : public TFTable_Frame {
    Q_OBJECT
public:
    explicit TFSNMP_Trap_Access(QWidget* parent = nullptr);

    static constexpr int Data_Rows = 256;
    static constexpr int Read_Col_Count = 15;
    static constexpr int Write_Col_Count = 10;
    static constexpr int Data_Size = 1440;  // bytes of the data array offered to the position lists

    // ---- components ----
    QTabWidget* PageControl1 = nullptr;
    QWidget* TS_SNMP_Read = nullptr;
    QWidget* TS_SNMP_Write = nullptr;
    TZidIzavodUraz* ACG_SNMP_Read = nullptr;
    TZidIzavodUraz* ACG_SNMP_Write = nullptr;

    // ---- fields ----
    QStringList Hint_SNMP_Read;   // columns 1 .. 14
    QStringList Hint_SNMP_Write;  // columns 1 .. 9
    int32_t NByte_IN = 0;
    int32_t NByte_OUT = 0;
    bool Do_Copy_In_Read = false;
    bool Do_Copy_In_Write = false;
    // The descriptions of the enabled rows met by the last validation.
    QStringList SL_Check_Desc;

    // ---- handlers and methods ----
    void FormCreate() override;
    void FormShow() override;
    void Set_Lang() override;
    void Grid_DblClickCell(QObject* Sender, int ARow, int ACol) { DblClickCell(Sender, ARow, ACol); }
    void SGA_GridHint(QObject* Sender, int ARow, int ACol, QString& HintStr) { GridHint(Sender, ARow, ACol, HintStr); }
    void SGA_KeyPress(QObject* Sender, QChar& Key) { KeyPress(Sender, Key); }
    void ACG_SNMP_ReadCheckBoxClick(QObject* Sender, int ACol, int ARow, bool State);

    bool Controllo_dati() override;
    // True when the text breaks the character rule of a community name (Check_Type 0: letters and
    // digits) or of a description (Check_Type 1: the same, beginning with a lower-case letter).
    static bool Check_Error_CommName_Desc(const QString& Text, int Check_Type);
    // Numbers the enabled rows of the grid 1, 2, 3, ... in column 0; disabled rows get no number.
    void Index_Row_Build(TZidIzavodUraz* app_SGA);

protected:
    void Loaded() override;

private:
    void Build_Grid(TZidIzavodUraz* Grid, bool Write);
    void Load_File() override;
    void Write_File() override;
    bool Check_Grid(TZidIzavodUraz* Grid, bool Write);
};

extern TFSNMP_Trap_Access* FSNMP_Trap_Access;

// Creates the window the first time it is needed.
// Sets FSNMP_Trap_Access and registers it with the main window.
TFSNMP_Trap_Access* Create_FSNMP_Trap_Access(QWidget* parent = nullptr);
