#pragma once
// Shared globals and small routines of every window and dialog of the configurator: the program's
// folders, the active configuration and its fourteen file paths, the program options kept in the
// settings file, the identity of the software, and the address, number and grid helpers.
#include <QChar>
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>

// ---- identity of the software (never written) ----
extern const QString SW_Code;        // "KT40917"
extern const QString SW_Desc;        // "OPC UA Server / S7comm - Converter"
extern const QString SW_Code_Update; // sent with the version query
extern const QString SW_Version;     // "1.000", shown by the about box and compared by the update check
extern const QString Manual_Code;    // "DM40917"
extern const QString Device_Code;    // "GX40917", the fragment of the download page

// The maker's web server and the three addresses the program opens or asks.
extern const QString Maker_Web_Host;   // host name only
// "http://" + the host, unless a test has put another server (e.g. "http://127.0.0.1:8080") in
// its place; empty restores the maker's server.
QString Maker_Web_Base();
void Set_Maker_Web_Base_Override(const QString& Base);
QString Home_Page_URL();       // home page, query frompg=<software code>
QString Download_Page_URL();   // download page with the device fragment
QString Version_Query_URL();   // version query, key nomesw=<software code>

// ---- captions ----
extern QString Main_Caption;
extern QString Shown_SW_Code;
extern QString Shown_SW_Desc;

// ---- folders (set once by the main window's create handler) ----
extern QString Exe_Dir;       // program folder, without a trailing separator
extern QString Master_Dir;    // Exe_Dir + "/MASTER"
extern QString Projects_Dir;  // Exe_Dir + "/PROJECTS"
extern QString Language_Dir;  // Exe_Dir + "/LANGUAGE"

// The program folder: the executable's folder, unless a test has put another folder in its place.
QString Program_Folder();
void Set_Program_Folder_Override(const QString& Folder); // empty restores the executable's folder

// ---- active configuration ----
extern QString Active_Conf_Name; // empty when none was remembered or chosen
extern QString Active_Conf_Path; // Projects_Dir + "/" + name; empty exactly when none is active
inline bool Conf_Is_Active() { return !Active_Conf_Path.isEmpty(); }

// ---- the fourteen configuration file paths, set by Set_Files ----
extern QString File_ParGen;
extern QString File_S7_Protocol;
extern QString File_KNX_SetAccess;
extern QString File_IEC61850_Variables;
extern QString File_TLS_Known_Cert;
extern QString File_CAN_Rec_Frames;
extern QString File_CAN_Send_Frames;
extern QString File_SDO_Server_CANopen;
extern QString File_SDO_Client_CANopen;
extern QString File_PDO_CANopen;
extern QString File_SNMP_Trap;
extern QString File_MQTT_Set_Topic;
extern QString File_BACnet_Slave;
extern QString File_OPC_UA_Server;

// Builds the fourteen paths from Active_Conf_Path, in their fixed order.
void Set_Conf_File_Paths();

// ---- program options (settings file) ----
extern QString Last_IP_Address;          // default "192.168.2.205"
extern QString Active_Language;          // default "English"
extern bool Enable_Internet;
extern bool Enable_Update;
extern bool Enable_Jump_Field_Tables;
extern bool Double_Click_Auto_Size;
// Kept only while the program runs.
extern int Last_Update_Option;           // 0 at start
extern bool Last_Read_Back;              // true at start

extern const QString Default_IP_Address; // "192.168.2.205"
extern const QString Default_Language;   // "English"

// Puts every option global to its default (as with no settings file).
void Reset_Program_Options();

// ---- shared lists ----
extern QStringList Row_Clipboard;          // the one copied grid row, one text per data column
extern QVector<bool> Row_Clipboard_CheckBox; // check-box marks of the last string-grid copy
extern QStringList MIB_Lines_A;            // work lists of the SNMP MIB generator
extern QStringList MIB_Lines_B;

// ---- address, number and text routines ----

// Dotted IPv4 text into four trimmed octet texts; true when all four are numbers 0..255.
// The outputs are written as far as the parsing got.
bool Check_IP_Address(const QString& Address, QString& IP1, QString& IP2, QString& IP3, QString& IP4);

// Dotted IPv4 text into four bytes; the result is true when the text is in error.
bool Conv_IP_Address(const QString& Address, uint8_t& B1, uint8_t& B2, uint8_t& B3, uint8_t& B4);
// The same on the UTF-8 bytes of the text (as the XML tree holds a value), without a QString.
bool Conv_IP_Address_Utf8(const char* Address, uint8_t& B1, uint8_t& B2, uint8_t& B3, uint8_t& B4);

// The program's integer rule (platform::TryStrToInt: leading blanks, a sign, "$", "x" or "0x" for
// hexadecimal filling 32 bits, decimal within the int range, nothing after the digits) on the
// UTF-8 bytes of a text: `Len` bytes from `Text`. Any byte outside ASCII is not a digit, as any
// character outside ASCII is not one for the QString form.
bool Utf8_To_Int(const char* Text, size_t Len, int& Value);
int Utf8_To_Int_Def(const char* Text, int Def);

// Numbers (as texts) of the serial ports present, ascending.
QStringList Search_COM_Ports();

// KNX address check: 0 valid, 1 invalid. Group = slash form; Allow_Zero admits 0.0.0.
int Check_KNX_Address(const QString& Address, bool Group, bool Allow_Zero);
bool Is_Group_Address(const QString& Address);

// "," or "." as the user's decimal separator ("," for anything else).
QChar Get_Decimal_Separator();
// Float text with either separator; false and 1.0 on failure.
bool Conv_Str_To_Float(const QString& Text, QChar Sep, float& Value);

// ---- grid event routines ----
// Written against any grid class with Col/Row/ColCount/RowCount and SetCol/SetRow, so that every
// table dialog can call them from its key-press and double-click handlers.

// Enter moves to the next data cell when the option is on; the key is consumed.
template <class TGrid, class TKey>
void Jump_Next_Field(TGrid* Grid, TKey& Key)
{
    if (!Enable_Jump_Field_Tables || Key != TKey(13))
        return;
    if (Grid && Grid->Col() > 0 && Grid->Row() > 0) {
        if (Grid->Col() < Grid->ColCount() - 1) {
            Grid->SetCol(Grid->Col() + 1);
        } else {
            Grid->SetCol(1);
            if (Grid->Row() < Grid->RowCount() - 1)
                Grid->SetRow(Grid->Row() + 1);
            else
                Grid->SetRow(1);
        }
    }
    Key = TKey(0);
}

// A double click on a header cell sizes that column to its contents when the option is on.
template <class TGrid>
void Auto_Size_Column(TGrid* Grid, int Row, int Col)
{
    if (Grid && Double_Click_Auto_Size && Row == 0)
        Grid->AutoSizeCol(Col, 0);
}

// ---- the common look of the dialogs ----
class QLabel;
class QWidget;

// A child control named `Name` at that place of its owner.
template <class T>
T* Make_Named(QWidget* Owner, const char* Name, int Left, int Top, int Width, int Height)
{
    auto* w = new T(Owner);
    w->setObjectName(QLatin1String(Name));
    w->setGeometry(Left, Top, Width, Height);
    return w;
}

// Background of every window ($EDF7F8).
constexpr int Window_Color = 15595512;

// The title panel at the top of a dialog (P_Title, 69 high) with the software code and the
// dialog's subtitle; returns the panel.
QWidget* Make_Title_Panel(QWidget* Owner, int Width, QLabel*& L_SW_Code, QLabel*& L_SW_Desc);
class QFont;
// Bold Verdana that many pixels high, the font of the titles.
QFont Title_Font(int Pixels);
// The software code's and the subtitles' look: the title font in grey.
void Set_Title_Look(QLabel* Label, int Pixels);
// Sets the window's background colour and the Verdana font of the dialogs.
void Apply_Window_Look(QWidget* Window);

namespace platform {
class TForm;
}
// How the user may size a dialog.
enum class TDialog_Sizing { Fixed, Free, Fixed_Width };
// A dialog's create handler: the shown software code in its title panel and the client size;
// a centred dialog opens in the middle of the screen.
void Place_Dialog(platform::TForm* Form, QLabel* L_SW_Code, int Width, int Height, TDialog_Sizing Sizing,
                  bool Centred);
// The window caption and the subtitle in the title panel.
void Set_Dialog_Titles(platform::TForm* Form, QLabel* L_SW_Desc, const QString& Caption, const QString& Desc);
// Names a small dialog, gives it a fixed-size title bar with only a close box and the look above.
void Set_Up_Dialog(QWidget* Dialog, const QString& Name);
class TLbButton;
// The program's push button in a dialog, 28 high: the window's colour, yellow under the mouse,
// orange while pressed, with the glyph of that resource name (none: no glyph).
TLbButton* Make_Dialog_Button(QWidget* Owner, const char* Name, int Left, int Top, int Width, const char* Glyph);
// The button panel at the foot of a dialog (P_Button; its owner places it) with Btn_OK at the
// left and Btn_Cancel beside it; Cancel ends the dialog by itself. Returns the panel.
QWidget* Make_OK_Cancel_Panel(QWidget* Owner, TLbButton*& Btn_OK, TLbButton*& Btn_Cancel);

// ---- names and files ----

// True when a name (of a configuration, a language) names exactly one entry directly inside its
// folder and comes back unchanged from the settings file: not empty, not only blanks, no path
// separator, not "." or "..", no control character, no character that XML cannot hold (U+FFFE,
// U+FFFF, a surrogate without its pair).
bool Is_Plain_Conf_Name(const QString& Name);

// Writes a copy of the file Path to Copy (replacing an older copy, atomically). False, with the
// reason in Error, when the file cannot be read or the copy not written.
bool Keep_File_Copy(const QString& Path, const QString& Copy, QString* Error);
