#pragma once
// The CANopen SDO client table: the SDO requests the gateway sends to other devices of the bus,
// reading objects into its data array (read table) or writing them from it (write table), each at
// its own period. Two column grids on two tabs, checked row by row on OK and kept in
// SDO_Client_CANopen.xml of the open configuration.
#include "tables/USet_PDO_Access.h"

class TFSet_SDO_Client_Access : public TFSDO_Table {
    Q_OBJECT
public:
    explicit TFSet_SDO_Client_Access(QWidget* parent = nullptr);

    static constexpr int Data_Rows = 256;
    static constexpr int Read_Col_Count = 11;
    static constexpr int Write_Col_Count = 12;
};

extern TFSet_SDO_Client_Access* FSet_SDO_Client_Access;

// Creates the window the first time it is needed.
// Sets FSet_SDO_Client_Access and registers it with the main window.
TFSet_SDO_Client_Access* Create_FSet_SDO_Client_Access(QWidget* parent = nullptr);
