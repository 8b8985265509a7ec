#pragma once
// The dialog that lists the configuration folders under PROJECTS and lets the user pick one.
#include "platform/Form.h"

#include <QStringList>

class QLabel;
class QListWidget;
class QWidget;
class TLbButton;

class TFOpenConf : public platform::TForm {
    Q_OBJECT
public:
    explicit TFOpenConf(QWidget* parent = nullptr);

    void FormCreate();
    void FormShow();
    void Set_Lang();
    void ListBox1Click();
    void Load_Existing_Configuration();
    // Index in SL of the name, letters a to z compared without case; -1 when absent.
    int Search_Open_Conf(const QString& Name) const;

    // The chosen name; the main window reads it after OK. Kept between showings.
    QString Name_Conf;

    QWidget* P_Title = nullptr;
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* Label1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QWidget* P_Button = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;

    const QStringList& Folder_Names() const { return SL; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QStringList SL;
};

extern TFOpenConf* FOpenConf;
TFOpenConf* Create_FOpenConf(QWidget* parent = nullptr);
