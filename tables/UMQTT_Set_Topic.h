#pragma once
// The MQTT topics table: the topics the gateway's MQTT client publishes from its internal data
// array (publish table) and the topics whose messages it takes into the array (subscribe table),
// with their retain flag, quality of service, the type, size and position of the value and the
// template that shapes the message text. Two column grids on two tabs, kept in MQTT_Set_Topic.xml
// of the open configuration. The grids carry columns of the family's other working modes too;
// this device hides them, and the checks pass over hidden columns.
#include "tables/UTable_Frame.h"
#include "tables/UTable_Load.h"

#include <QStringList>

#include <cstdint>

class TFMQTT_Set_Topic : public TFTable_Frame {
    Q_OBJECT
public:
    explicit TFMQTT_Set_Topic(QWidget* parent = nullptr);

    static constexpr int Data_Rows = 1024;
    static constexpr int Pub_Col_Count = 18;
    static constexpr int Sub_Col_Count = 15;
    // The column whose cells the topic template picker edits.
    static constexpr int Pub_Template_Col = 9;
    static constexpr int Sub_Template_Col = 11;

    // ---- components ----
    QTabWidget* PageControl1 = nullptr;
    QWidget* TS_MQTT_Publish = nullptr;
    QWidget* TS_MQTT_Subscribe = nullptr;
    TZidIzavodUraz* ACG_Pub = nullptr;
    TZidIzavodUraz* ACG_Sub = nullptr;

    // ---- fields ----
    bool Do_Copy_Pub = false;
    bool Do_Copy_Sub = false;
    QStringList Hint_MQTT_Set_Topic_Pub;  // columns 1 .. 17
    QStringList Hint_MQTT_Set_Topic_Sub;  // columns 1 .. 14
    int32_t Byte_IN = 0;
    int32_t Byte_OUT = 0;
    int32_t Working_Mode = 0;

    // ---- handlers and methods ----
    void FormCreate() override;
    void FormShow() override;
    void Set_Lang() override;
    // A double click on a template cell opens the topic template picker for it.
    void DblClickCell(QObject* Sender, int ARow, int ACol) override;
    void ACG_MQTT_DblClickCell(QObject* Sender, int ARow, int ACol) { DblClickCell(Sender, ARow, ACol); }
    void ACG_MQTT_GridHint(QObject* Sender, int ARow, int ACol, QString& HintStr) { GridHint(Sender, ARow, ACol, HintStr); }
    void ACG_MQTT_KeyPress(QObject* Sender, QChar& Key) { KeyPress(Sender, Key); }

    bool Controllo_dati() override;
    // True when the template is not well formed: its "$" signs do not pair up.
    static bool Error_In_Topic_Template(const QString& Str);
    // Edits one template cell (real column, displayed row) in the topic template picker.
    void Show_Form_Topic(TZidIzavodUraz* Grid, int ARow, int ACol);

protected:
    void Loaded() override;

private:
    void Build_Grid(TZidIzavodUraz* Grid, bool Sub);
    void Load_File() override;
    void Write_File() override;
    bool Check_Grid(TZidIzavodUraz* Grid, bool Sub);
};

extern TFMQTT_Set_Topic* FMQTT_Set_Topic;

// Creates the window the first time it is needed.
// Sets FMQTT_Set_Topic and registers it with the main window.
TFMQTT_Set_Topic* Create_FMQTT_Set_Topic(QWidget* parent = nullptr);
