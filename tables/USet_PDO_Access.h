#pragma once
// The CANopen PDO table: the receive PDOs the gateway takes from the bus and the transmit PDOs it
// sends, each with its COB-ID, its length and where each data byte lives in the gateway's data
// array. Two column grids on two tabs, checked row by row on OK and kept in PDO_CANopen.xml of the
// open configuration, which the EDS generator reads.
//
// The CANopen tables (PDO, SDO client, SDO server) stand on TFCANopen_Table below: two column
// grids without an Enable column, keyed by column 1, on two tabs; the row buttons work on the grid
// of the tab in front; the header hints follow that tab; the rules of a row are a list of range
// tests ending in the byte positions the row's length asks for.
#include "grid/BaseGrid.h"
#include "tables/UTable_Frame.h"
#include "tables/UTable_Load.h"

#include <QStringList>

#include <array>
#include <cstddef>
#include <cstdint>

struct TCANopen_Column {
    TEditorType Editor;
    int Width;
    TColor Color;
    bool Centred;
    const char* Attribute;  // attribute of the table file; none for the row number
};

// One test of a row, in the order they are applied.
struct TCANopen_Rule {
    enum TKind {
        Range,      // Col read as a number must be Min .. Max
        One_Two_Four, // Col read as a number must be 1, 2 or 4
        Positions,  // bytes 1 .. (Col read as a number): Position_Col + k - 1 must lie in the data array
    };
    TKind Kind;
    int Col;
    int Min;
    int Max;
    int Text;          // message; for Positions the message of byte 1, the others following it
    int Position_Col;  // Positions: the column of byte 1
};

struct TCANopen_Grid {
    const char* Sheet_Name;
    const char* Grid_Name;
    const char* Section;          // section element of the table file
    const TCANopen_Column* Columns;
    int Col_Count;
    int Tab_Text;
    int First_Header;             // headers of columns 0 .. Col_Count - 1, consecutive
    int First_Hint;               // hints of columns 1 .. Col_Count - 1, consecutive
    const TCANopen_Rule* Rules;
    int Rule_Count;
};

struct TCANopen_Layout {
    const char* Name;        // instance name
    int Client_Width;
    int Data_Rows;
    TCANopen_Grid Grids[2];
    int Caption;             // window caption; the subtitle is the next text
    int Button_Captions;
    int Button_Hints;
    int Error_Row;
    int Delete_Question;
    const char* Root;
    QString* Path;
};

class TFCANopen_Table : public TFTable_Frame {
    Q_OBJECT
public:
    // The size of the gateway's data array that byte positions point into.
    static constexpr int Data_Size = 1500;

    // ---- components ----
    QTabWidget* PageControl1 = nullptr;
    QWidget* Sheet[2] = {nullptr, nullptr};
    TZidIzavodUraz* sga = nullptr;
    TZidIzavodUraz* sgb = nullptr;

    // ---- fields ----
    int32_t PROFINET_NByte_IN = 0;   // byte positions of the first grid lie below it
    int32_t PROFINET_NByte_OUT = 0;  // and of the second grid below this one
    QStringList Hints[2];            // header hints of each grid, entry i for column i + 1
    bool Do_Copy[2] = {false, false};

    // ---- handlers and methods ----
    void FormCreate() override;
    void FormShow() override;
    void Set_Lang() override;
    void Btn_OK_Click(QObject* Sender) { Btn_OKClick(Sender); }
    void Btn_DelRow_Click(QObject* Sender) { Btn_DelRowClick(Sender); }

    bool Controllo_dati() override;
    // Moves the rows below up by one and empties the last row (shown columns only).
    void Delete_Row(int Row, TVerIvovavOzed* Grid) override;

protected:
    TFCANopen_Table(QWidget* parent, const TCANopen_Layout& Layout);
    void Loaded() override;

private:
    TZidIzavodUraz* Grid(int i) const { return i == 0 ? sga : sgb; }
    bool Check_Grid(int i);
    void Load_File() override;
    void Write_File() override;

    const TCANopen_Layout& FLayout;
};

// The CANopen tables' columns in their order; a table whose columns begin with those of another
// is written as the shared head and its own tail.
template <size_t N, size_t M>
constexpr std::array<TCANopen_Column, N + M> Join_Columns(const std::array<TCANopen_Column, N>& Head,
                                                           const std::array<TCANopen_Column, M>& Tail)
{
    std::array<TCANopen_Column, N + M> all{};
    for (size_t i = 0; i < N; ++i)
        all[i] = Head[i];
    for (size_t i = 0; i < M; ++i)
        all[N + i] = Tail[i];
    return all;
}

// The two SDO tables, client and server: a read table and a write table, each on its tab. Both
// use the client table's names.
class TFSDO_Table : public TFCANopen_Table {
    Q_OBJECT
public:
    QWidget*& TS_SDO_Read = Sheet[0];
    QWidget*& TS_SDO_Write = Sheet[1];
    QStringList& Hint_SDO_Client_Read = Hints[0];
    QStringList& Hint_SDO_Client_Write = Hints[1];
    bool& Do_Copy_SDO_Read = Do_Copy[0];
    bool& Do_Copy_SDO_Write = Do_Copy[1];

protected:
    using TFCANopen_Table::TFCANopen_Table;
};

class TFSet_PDO_Access : public TFCANopen_Table {
    Q_OBJECT
public:
    explicit TFSet_PDO_Access(QWidget* parent = nullptr);

    static constexpr int Data_Rows = 30;
    static constexpr int Receive_Col_Count = 13;
    static constexpr int Transmit_Col_Count = 14;

    QWidget*& TS_Receive_PDO = Sheet[0];
    QWidget*& TS_Transmit_PDO = Sheet[1];
    QStringList& Hint_PDO_Receive = Hints[0];
    QStringList& Hint_PDO_Transmit = Hints[1];
    bool& Do_Copy_Receive_PDO = Do_Copy[0];
    bool& Do_Copy_Transmit_PDO = Do_Copy[1];
};

extern TFSet_PDO_Access* FSet_PDO_Access;

// Creates the window the first time it is needed.
// Sets FSet_PDO_Access and registers it with the main window.
TFSet_PDO_Access* Create_FSet_PDO_Access(QWidget* parent = nullptr);
