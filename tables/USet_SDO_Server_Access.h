#pragma once
// The CANopen SDO server table: the objects the gateway offers in its own object dictionary, read
// by the master from positions of the data array (read table) or written by it into the data
// array (write table). Two column grids on two tabs, checked row by row on OK and kept in
// SDO_Server_CANopen.xml of the open configuration, which the EDS generator reads.
#include "tables/USet_PDO_Access.h"

class TFSet_SDO_Server_Access : public TFSDO_Table {
    Q_OBJECT
public:
    explicit TFSet_SDO_Server_Access(QWidget* parent = nullptr);

    static constexpr int Data_Rows = 500;
    static constexpr int Col_Count = 9;
};

extern TFSet_SDO_Server_Access* FSet_SDO_Server_Access;

// Creates the window the first time it is needed.
// Sets FSet_SDO_Server_Access and registers it with the main window.
TFSet_SDO_Server_Access* Create_FSet_SDO_Server_Access(QWidget* parent = nullptr);
