#pragma once
// The CANopen SDO client table: the SDO requests the gateway sends to other devices of the bus,
// reading objects into its data array (read table) or writing them from it (write table), each at
// its own period. Two column grids on two tabs, checked row by row on OK and kept in
// SDO_Client_CANopen.xml of the open configuration.
#include "tables/USet_PDO_Access.h"

class TFSet_SDO_Client_Access : public TFCANopen_Table {
    Q_OBJECT
public:
    explicit TFSet_SDO_Client_Access(QWidget* parent = nullptr);
    ~TFSet_SDO_Client_Access() override;

    static constexpr int Data_Rows = 256;
    static constexpr int Read_Col_Count = 11;
    static constexpr int Write_Col_Count = 12;

    QWidget*& TS_SDO_Read = Sheet[0];
    QWidget*& TS_SDO_Write = Sheet[1];
    QStringList& Hint_SDO_Client_Read = Hints[0];
    QStringList& Hint_SDO_Client_Write = Hints[1];
    bool& Do_Copy_SDO_Read = Do_Copy[0];
    bool& Do_Copy_SDO_Write = Do_Copy[1];
};

extern TFSet_SDO_Client_Access* FSet_SDO_Client_Access;

// Creates the window the first time it is needed.
// Sets FSet_SDO_Client_Access and registers it with the main window.
TFSet_SDO_Client_Access* Create_FSet_SDO_Client_Access(QWidget* parent = nullptr);
