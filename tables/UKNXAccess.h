#pragma once
// The KNX access table: which KNX telegrams the gateway sends, from which source to which
// destination, with which APCI, priority and data conversion, when (on command, on change, on a
// timer) and which bytes or bits of the gateway's data array they carry. One column grid of 1024
// rules, checked row by row on OK and kept in KNX_SetAccess.xml of the open configuration.
#include "tables/UTable_Frame.h"
#include "tables/UTable_Load.h"

#include <QStringList>

#include <cstdint>

class TFKNXAccess : public TFTable_Frame {
    Q_OBJECT
public:
    explicit TFKNXAccess(QWidget* parent = nullptr);

    static constexpr int Data_Rows = 1024;
    static constexpr int Col_Count = 17;
    // Bytes of the gateway's internal data array.
    static constexpr int Data_Size = 1500;

    // The choices of the drop-down columns.
    static const QStringList APCI_Items;
    static const QStringList Priorities;
    static const QStringList Formats;
    static const QStringList Bit_Modes;  // "No", "0" .. "7"

    // ---- components ----
    TZidIzavodUraz* ACG_KNX_in_Write = nullptr;

    // ---- fields ----
    int32_t Max_Num_Byte = 0;
    QStringList Hint;  // columns 1 .. 16
    bool Do_Copy_In_Write = false;

    // ---- handlers and methods ----
    void FormCreate() override;
    void FormShow() override;
    void Set_Lang() override;
    void ACG_KNX_in_WriteClickCell(QObject* Sender, int ARow, int ACol) { ClickCell(Sender, ARow, ACol); }

    bool Controllo_dati() override;
    // The rows below Num_Row move up one; the last row is emptied (shown columns only).
    void Delete_Row(int Num_Row, TVerIvovavOzed* SGA) override;

protected:
    void Loaded() override;

private:
    void Load_File() override;
    void Write_File() override;
};

extern TFKNXAccess* FKNXAccess;

// Creates the window the first time it is needed.
// Sets FKNXAccess and registers it with the main window.
TFKNXAccess* Create_FKNXAccess(QWidget* parent = nullptr);
