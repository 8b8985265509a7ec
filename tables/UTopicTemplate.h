#pragma once
// The topic template picker: one MQTT topic or template text edited in a large text field, beside
// the list of the keywords a template may use. The MQTT topics table fills the field from a cell,
// shows the window modally and takes the text back when it closes with OK. The window itself
// stores nothing.
#include "platform/Form.h"

#include <QString>
#include <QStringList>

#include <cstdint>

class QLabel;
class QPlainTextEdit;
class QSplitter;
class QWidget;
class TLbButton;
class TVerIvovavOzed;

class TFTopicTemplate : public platform::TForm {
    Q_OBJECT
public:
    explicit TFTopicTemplate(QWidget* parent = nullptr);
    ~TFTopicTemplate() override;

    // ---- fields the caller sets before showing the window ----
    int32_t TopicTemplate = 0;  // 1: the text is a template; 0: a topic
    int32_t Working_Mode = 0;   // the caller's working mode
    int32_t Pub_Sub = 0;        // 0: publish table; 1: subscribe table

    // The keywords a template may use and, entry for entry, their descriptions. This device
    // defines none.
    QStringList Keywords;
    QStringList Keyword_Descriptions;

    // The text of the field, line breaks included.
    QString Topic_Text() const;
    void Set_Topic_Text(const QString& Text);

    // ---- handlers and methods ----
    void FormCreate();
    void FormShow();
    void Set_Lang();
    void Laod_Keywords();

    // ---- components ----
    QWidget* P_Title = nullptr;
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QSplitter* Splitter1 = nullptr;
    QWidget* Panel1 = nullptr;
    QPlainTextEdit* RE_TopicTemplate = nullptr;
    QWidget* P_Legend = nullptr;
    QLabel* L_List_Keywords = nullptr;
    TVerIvovavOzed* ASG_Keywords = nullptr;
    QWidget* P_Button = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;

protected:
    void Loaded() override;

private:
    QString FGiven_Text;
};

extern TFTopicTemplate* FTopicTemplate;

// Creates the window the first time it is needed.
// Sets FTopicTemplate and registers it with the main window.
TFTopicTemplate* Create_FTopicTemplate(QWidget* parent = nullptr);
