#pragma once
// The OPC UA variables table: which values of the gateway's data image its OPC UA server offers,
// each with its type, position, length, name, access and a description. One string grid set up
// by code, checked on OK and kept in OPC_UA_Server.xml of the open configuration, which the
// device image compiler reads.
#include "grid/BaseGrid.h"
#include "tables/UTable_Frame.h"
#include "tables/UTable_Load.h"

#include <QStringList>

class TFOPC_UA_Server_Access : public TFTable_Frame {
    Q_OBJECT
public:
    explicit TFOPC_UA_Server_Access(QWidget* parent = nullptr);

    static constexpr int Data_Rows = 250;
    static constexpr int Col_Count = 8;
    // Positions 0 .. Position_Limit - 1 are accepted.
    static constexpr int Position_Limit = 1500;

    // ---- components ----
    TVerIvovavOzed* ASG = nullptr;

    // ---- fields ----
    QStringList Hint;    // the hints of columns 1 .. 7
    QStringList VarType; // the 13 type names
    QStringList RWType;  // "Read Only", "Read/Write"
    bool Do_Copy = false;

    // ---- handlers and methods ----
    void FormCreate() override;
    void FormShow() override;
    void Set_Lang() override;
    // Moving rows and pasting one keep every Length lock with its row's type.
    void Btn_DelRowClick(QObject* Sender) override;
    void Btn_InsRowClick(QObject* Sender) override;
    void Btn_PasteRowClick(QObject* Sender) override;
    void ASGGetEditorType(QObject* Sender, int ACol, int ARow, TEditorType& AEditor);
    void ASGComboChange(QObject* Sender, int ACol, int ARow, int AItemIndex, const QString& ASelection);
    // The end of a cell's edit (after Enter, Escape or a click elsewhere).
    void ASGEditCellDone(QObject* Sender, int ACol, int ARow);

    void Init_Table();
    bool Controllo_dati() override;
    // The Length cell of the row follows the type: fixed and read-only, or a proposal of 10 that
    // may be changed; an empty R/W cell becomes "Read/Write".
    void VarSetLength(const QString& Type, int ACol, int ARow);

    // True for the types whose length is fixed.
    static bool Type_Fixes_Length(const QString& Type);

protected:
    void Loaded() override;

private:
    void Load_File() override;
    void Write_File() override;
    // Every Length cell read-only exactly when its row's type fixes the length (after rows moved).
    void Update_Length_Locks();

    // A Type edit under way: the row as it was before the edit touched it. The Length and R/W
    // cells follow a type the edit ends with, and are put back when it ends with the old type
    // (Escape), so that a row never keeps a length of a type it does not have.
    struct TType_Edit {
        int Row = -1;
        QString Type, Length, RW;
        bool Length_Locked = false;
    } FType_Edit;
};

extern TFOPC_UA_Server_Access* FOPC_UA_Server_Access;

// Creates the window the first time it is needed.
// Sets FOPC_UA_Server_Access and registers it with the main window.
TFOPC_UA_Server_Access* Create_FOPC_UA_Server_Access(QWidget* parent = nullptr);
