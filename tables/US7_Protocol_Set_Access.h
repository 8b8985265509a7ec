#pragma once
// The S7comm access table: which data the gateway, as an S7comm client, reads from (read rules)
// or writes to (write rules) which PLC, how often, and where in the gateway's data image the
// values live. Two column grids on two tabs, checked row by row on OK and kept in
// S7_Protocol.xml of the open configuration, which the device image compiler reads.
#include "tables/UTable_Frame.h"
#include "tables/UTable_Load.h"

#include <QStringList>

#include <array>
#include <cstdint>

// One PLC connection met during a validation: the four octets of the address and the TCP port.
// A slot whose IP1 is -1 is free.
struct TIPPort {
    int32_t IP1 = -1;
    int32_t IP2 = -1;
    int32_t IP3 = -1;
    int32_t IP4 = -1;
    int32_t Port = -1;
};

class TFS7_Protocol_Set_Access : public TFTable_Frame {
    Q_OBJECT
public:
    explicit TFS7_Protocol_Set_Access(QWidget* parent = nullptr);

    // The number of data rows of each grid and the number of PLC connections the device holds.
    static constexpr int Data_Rows = 512;
    static constexpr int Max_Connections = 10;
    static constexpr int Read_Col_Count = 19;
    static constexpr int Write_Col_Count = 21;

    // The choices of the drop-down columns; the compiler maps the same texts to its codes.
    static const QStringList PLC_Types;
    static const QStringList Data_Types;
    static const QStringList Data_Identifiers;
    static const QStringList PLC_Areas;
    static const QStringList Bits;  // "0" .. "7"

    // ---- components ----
    QTabWidget* PageControl1 = nullptr;
    QWidget* TS_S7_Read = nullptr;
    QWidget* TS_S7_Write = nullptr;
    TZidIzavodUraz* ACG_S7_Read = nullptr;
    TZidIzavodUraz* ACG_S7_Write = nullptr;

    // ---- fields ----
    bool Do_Copy_In_Read = false;
    bool Do_Copy_In_Write = false;
    QStringList Hint_S7_Set_Access_Read;   // columns 1 .. 18
    QStringList Hint_S7_Set_Access_Write;  // columns 1 .. 20
    int32_t NByte_IN = 0;
    int32_t NByte_OUT = 0;
    std::array<TIPPort, Max_Connections> array_ip_Port;

    // ---- handlers and methods ----
    void FormCreate() override;
    void FormShow() override;
    void Set_Lang() override;

    bool Controllo_dati() override;
    // The slot of this connection in array_ip_Port (taking the first free one); -1 when all ten
    // slots hold other connections.
    int Check_IP_Port(int IP1, int IP2, int IP3, int IP4, int Port);

protected:
    void Loaded() override;

private:
    void Build_Grid(TZidIzavodUraz* Grid, bool Write);
    void Load_File() override;
    void Write_File() override;
    bool Check_Grid(TZidIzavodUraz* Grid, bool Write);
};

extern TFS7_Protocol_Set_Access* FS7_Protocol_Set_Access;

// Creates the window the first time it is needed.
// Sets FS7_Protocol_Set_Access and registers it with the main window.
TFS7_Protocol_Set_Access* Create_FS7_Protocol_Set_Access(QWidget* parent = nullptr);
