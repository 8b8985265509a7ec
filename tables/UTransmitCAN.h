#pragma once
// The CAN transmit frames table: which CAN frames the gateway sends (identifier, frame format,
// length), when it sends them (a data byte changed, on command, on a timer) and from where in the
// gateway's data array each data byte is taken. The twin of the receive table; kept in
// CAN_Send_Frames.xml of the open configuration.
#include "tables/UReceiveCAN.h"

class TFTransmitCAN : public TFCAN_Frames {
    Q_OBJECT
public:
    explicit TFTransmitCAN(QWidget* parent = nullptr);

    static constexpr int Col_Count = 18;

    TZidIzavodUraz*& ACG_CAN_Transmit = Grid;
    QStringList& Hint_TransmitCAN = Hint_List;

    // The hints are taken again at every show as well.
    void FormShow() override;

    void ACG_CAN_TransmitDblClickCell(QObject* Sender, int ARow, int ACol) { DblClickCell(Sender, ARow, ACol); }
    void ACG_CAN_TransmitKeyPress(QObject* Sender, QChar& Key) { KeyPress(Sender, Key); }
    void ACG_CAN_TransmitGridHint(QObject* Sender, int ARow, int ACol, QString& HintStr)
    {
        GridHint(Sender, ARow, ACol, HintStr);
    }

protected:
    bool Check_Send(int Row, int& Message) override;
    QString Missing_Value(int Col, int Row) const override;
};

extern TFTransmitCAN* FTransmitCAN;

// Creates the window the first time it is needed.
// Sets FTransmitCAN and registers it with the main window.
TFTransmitCAN* Create_FTransmitCAN(QWidget* parent = nullptr);
