#pragma once
// The IEC 61850 variables table: the variables the gateway offers on its IEC 61850 side, each with
// its name, type, length, access, place in the gateway's data array, conversion and swapping. One
// column grid of 50 variables, checked row by row on OK and kept in IEC61850_Variables.xml of the
// open configuration.
#include "tables/UTable_Frame.h"
#include "tables/UTable_Load.h"

#include <QStringList>

#include <cstdint>

class TFIEC61850_Variables : public TFTable_Frame {
    Q_OBJECT
public:
    explicit TFIEC61850_Variables(QWidget* parent = nullptr);

    static constexpr int Data_Rows = 50;
    static constexpr int Col_Count = 13;
    // Bytes of the gateway's internal data array.
    static constexpr int Data_Size = 1438;

    // The choices of the drop-down columns.
    static const QStringList Types;
    static const QStringList Start_Bits;   // "0" .. "7"
    static const QStringList Conversions;
    static const QStringList Factors;      // "None"; any number may be typed as well

    // ---- components ----
    TZidIzavodUraz* ACG = nullptr;

    // ---- fields ----
    int32_t NByte_IN = 0;
    QStringList Hint_List;  // columns 1 .. 12
    bool Do_Copy = false;

    // ---- handlers and methods ----
    void FormCreate() override;
    void FormShow() override;
    void Set_Lang() override;
    // A choice in a drop-down changes no other cell.
    void ComboChange(QObject* Sender, int ACol, int ARow, int AItemIndex, const QString& ASelection);

    bool Controllo_dati() override;

protected:
    void Loaded() override;

private:
    void Load_File() override;
    void Write_File() override;
};

extern TFIEC61850_Variables* FIEC61850_Variables;

// Creates the window the first time it is needed.
// Sets FIEC61850_Variables and registers it with the main window.
TFIEC61850_Variables* Create_FIEC61850_Variables(QWidget* parent = nullptr);
