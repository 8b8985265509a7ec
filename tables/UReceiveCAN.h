#pragma once
// The CAN receive frames table: which CAN frames the gateway takes from the bus (identifier,
// frame format, length, time-out) and where each data byte goes in the gateway's data array.
// One column grid, checked row by row on OK and kept in CAN_Rec_Frames.xml of the open
// configuration, with the rows directly under the root.
//
// The transmit frames table is its twin: both stand on TFCAN_Frames below, which holds what the
// two share (grid, byte lists, show, load, check of identifier, length and byte positions, save,
// row buttons, grid events); each dialog gives its columns, its texts and its own checks.
#include "grid/BaseGrid.h"
#include "tables/UTable_Frame.h"
#include "tables/UTable_Load.h"

#include <QStringList>

#include <cstdint>

// One column of a CAN frames grid.
struct TCAN_Column {
    int Header;             // language index of the header
    TEditorType Editor;
    bool Byte_List;         // a drop-down of "None" and the array positions, filled at every show
    int Width;
    TColor Color;
    bool Centred;
    const char* Attribute;  // attribute of the table file; none for the row number
    const char* Missing;    // the cell's text when the file lacks the attribute
    int Hint;               // language index of the header hint; none for the row number
};

// What makes one of the two CAN frames dialogs.
struct TCAN_Layout {
    const char* Name;          // instance name
    const char* Grid_Name;
    int Client_Width;
    const TCAN_Column* Columns;
    int Col_Count;
    int Max_Byte;              // size of the gateway's data array the byte positions point into
    int First_Byte_Col;        // the column of Byte1; Byte2 .. Byte8 follow it
    int Caption;               // window caption; the subtitle is the next text
    int Button_Captions;       // six consecutive texts
    int Button_Hints;          // six consecutive texts
    int Error_Row;             // "Error row "
    int CobID_11;              // identifier out of range, 11-bit frames
    int CobID_29;              // identifier out of range, 29-bit frames
    int Dimension;             // length out of range
    int Byte1;                 // position of byte 1 out of range
    int Or_None;               // the end of every position message
    int Byte2;                 // position of byte 2 out of range; bytes 3 .. 8 follow it
    int Delete_Question;
    const char* Root;          // root element of the table file
    QString* Path;             // the file's path in the open configuration
};

class TFCAN_Frames : public TFTable_Frame {
    Q_OBJECT
public:
    static constexpr int Data_Rows = 512;
    // The frame format whose identifiers are 11 bits; any other text means 29 bits.
    static const QString Type_11_Bits;
    static const QString Type_29_Bits;

    // ---- components ----
    TZidIzavodUraz* Grid = nullptr;

    // ---- fields ----
    int32_t MAX_Byte = 0;
    QStringList Hint_List;  // header hints of the data columns, entry i for column i + 1
    bool Do_Copy = false;

    // ---- handlers and methods ----
    void FormCreate() override;
    void FormShow() override;
    void Set_Lang() override;

    bool Controllo_dati() override;

protected:
    TFCAN_Frames(QWidget* parent, const TCAN_Layout& Layout);
    void Loaded() override;

    // The checks of an enabled row between its length and its byte positions; a failing one
    // gives the language index of its message.
    virtual bool Check_Send(int Row, int& Message) = 0;
    // The text of a cell whose attribute the file lacks, the cells to its left already read.
    virtual QString Missing_Value(int Col, int Row) const;
    void Refill_Hints();

private:
    void Load_File() override;
    void Write_File() override;
    void Fail(int Row, const QString& Text);

    const TCAN_Layout& FLayout;
};

class TFReceiveCAN : public TFCAN_Frames {
    Q_OBJECT
public:
    explicit TFReceiveCAN(QWidget* parent = nullptr);

    static constexpr int Col_Count = 15;

    TZidIzavodUraz*& ACG_CAN_Receive = Grid;
    QStringList& Hint_ReceiveCAN = Hint_List;

    void ACG_CAN_ReceiveDblClickCell(QObject* Sender, int ARow, int ACol) { DblClickCell(Sender, ARow, ACol); }
    void ACG_CAN_ReceiveKeyPress(QObject* Sender, QChar& Key) { KeyPress(Sender, Key); }
    void ACG_CAN_ReceiveGridHint(QObject* Sender, int ARow, int ACol, QString& HintStr)
    {
        GridHint(Sender, ARow, ACol, HintStr);
    }

protected:
    bool Check_Send(int Row, int& Message) override;
};

extern TFReceiveCAN* FReceiveCAN;

// Creates the window the first time it is needed.
// Sets FReceiveCAN and registers it with the main window.
TFReceiveCAN* Create_FReceiveCAN(QWidget* parent = nullptr);
