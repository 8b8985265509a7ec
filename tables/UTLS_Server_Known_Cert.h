#pragma once
// The known TLS server certificates: up to ten certificates, each with an enable mark and a
// description. One string grid of tall rows set up by code, kept in TLS_Known_Cert.xml of the
// open configuration. Nothing is checked: OK always saves.
#include "tables/UTable_Frame.h"
#include "tables/UTable_Load.h"

#include <QStringList>

class TFTLS_Server_Known_Cert : public TFTable_Frame {
    Q_OBJECT
public:
    explicit TFTLS_Server_Known_Cert(QWidget* parent = nullptr);

    static constexpr int Data_Rows = 10;
    static constexpr int Col_Count = 4;
    static constexpr int Data_Row_Height = 60;

    // ---- components ----
    TVerIvovavOzed* ASG = nullptr;

    // ---- fields ----
    QStringList Hint_List;  // the hints of columns 1 .. 3
    bool Do_Copy = false;

    // ---- handlers and methods ----
    void FormCreate() override;
    void FormShow() override;
    void Set_Lang() override;

    void Init_Table();
    bool Controllo_dati() override;

protected:
    void Loaded() override;

private:
    void Load_File() override;
    void Write_File() override;
};

extern TFTLS_Server_Known_Cert* FTLS_Server_Known_Cert;

// Creates the window the first time it is needed.
// Sets FTLS_Server_Known_Cert and registers it with the main window.
TFTLS_Server_Known_Cert* Create_FTLS_Server_Known_Cert(QWidget* parent = nullptr);
