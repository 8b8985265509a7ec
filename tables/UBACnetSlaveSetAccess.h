#pragma once
// The BACnet objects table: the BACnet objects the gateway offers on its BACnet side, each with
// its object type, engineering unit, the place of its value in the gateway's data image and its
// name. Objects of the read table take their values from the read data area, those of the write
// table put them into the write data area. Two column grids on two tabs, kept in BACnet_Slave.xml
// of the open configuration, which the EDE generator reads. A double click on a unit cell opens
// the engineering unit picker.
#include "tables/UTable_Frame.h"
#include "tables/UTable_Load.h"

#include <QStringList>

#include <cstdint>

class TFBACnetSlaveSetAccess : public TFTable_Frame {
    Q_OBJECT
public:
    explicit TFBACnetSlaveSetAccess(QWidget* parent = nullptr);

    static constexpr int Col_Count = 8;
    // Data rows of each grid and objects of both tables together: the long-name setting of the
    // parameters file halves both.
    static constexpr int Max_Rows = 2000;
    static constexpr int Max_Rows_Long_Names = 1000;
    static constexpr int Data_Size = 1500;

    static const QStringList Read_Types;
    static const QStringList Write_Types;

    // ---- components ----
    QTabWidget* PageControl1 = nullptr;
    QWidget* TS_BACnet_in_Read = nullptr;
    QWidget* TS_BACnet_in_Write = nullptr;
    TZidIzavodUraz* ACG_BACnet_in_Read = nullptr;
    TZidIzavodUraz* ACG_BACnet_in_Write = nullptr;

    // ---- fields ----
    bool Desc_Lenght = false;
    bool Do_Copy_Read = false;
    bool Do_Copy_Write = false;
    int32_t NByte_IN = 0;
    int32_t NByte_OUT = 0;

    // ---- handlers and methods ----
    void FormCreate() override;
    void FormShow() override;
    void Set_Lang() override;
    void bitbtn1Click(QObject* Sender) { Btn_OKClick(Sender); }
    void Btn_DelRow_Click(QObject* Sender) { Btn_DelRowClick(Sender); }
    // A double click on a unit cell opens the unit picker for it, then sizes as every table does.
    void DblClickCell(QObject* Sender, int ARow, int ACol) override;
    void ACG_BACnet_in_ReadDblClickCell(QObject* Sender, int ARow, int ACol);
    void ACG_BACnet_in_WriteDblClickCell(QObject* Sender, int ARow, int ACol);
    void ACG_BACnet_in_WriteComboChange(QObject* Sender, int ACol, int ARow, int AItemIndex,
                                        const QString& ASelection);

    bool Controllo_dati() override;
    // The number of objects both tables may hold together.
    int Object_Limit() const { return Desc_Lenght ? Max_Rows_Long_Names : Max_Rows; }

protected:
    void Loaded() override;

private:
    void Build_Grid(TZidIzavodUraz* Grid, bool Write);
    void Read_Name_Setting();
    void Load_File() override;
    void Write_File() override;
    bool Check_Grid(TZidIzavodUraz* Grid, bool Write, int& Count);
    void Pick_Unit(TZidIzavodUraz* Grid, int ARow, int ACol);
};

extern TFBACnetSlaveSetAccess* FBACnetSlaveSetAccess;

// Creates the window the first time it is needed.
// Sets FBACnetSlaveSetAccess and registers it with the main window.
TFBACnetSlaveSetAccess* Create_FBACnetSlaveSetAccess(QWidget* parent = nullptr);
