#pragma once
// What the table dialog tests share: a temporary configuration folder with the scripted services,
// and a reading of a table file as one line per node, so that a written file is compared with a
// hand-made fixture node by node and attribute by attribute, in their order, whatever the
// white space between the elements.
#include "ColumnGridTest.h"
#include "TestSupport.h"
#include "core/ULanguage.h"
#include "core/UComon.h"
#include "core/UVelmoraeFirmWare.h"
#include "grid/AdvCGrid.h"
#include "grid/AdvGrid.h"
#include "platform/ScriptedServices.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTabWidget>
#include <QTemporaryDir>

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>
#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>
#include <pugixml.hpp>

namespace table_test {

inline void Canonical_Node(const pugi::xml_node& n, int depth, QStringList& out)
{
    const QString indent(depth * 2, QLatin1Char(' '));
    auto text = [](const char* s) {
        return QString::fromUtf8(s).replace(QLatin1Char('\n'), QLatin1String("\\n")).replace(QLatin1Char('\t'), QLatin1String("\\t"));
    };
    switch (n.type()) {
    case pugi::node_element: {
        QString line = indent + QLatin1Char('<') + QString::fromUtf8(n.name());
        for (const pugi::xml_attribute& a : n.attributes())
            line += QStringLiteral(" %1=\"%2\"").arg(QString::fromUtf8(a.name()), text(a.value()));
        out << line + QLatin1Char('>');
        for (const pugi::xml_node& c : n.children())
            Canonical_Node(c, depth + 1, out);
        break;
    }
    case pugi::node_comment:
        out << indent + QStringLiteral("<!--%1-->").arg(text(n.value()));
        break;
    case pugi::node_declaration:
        out << indent + QStringLiteral("<?xml?>");
        break;
    case pugi::node_pi:
        out << indent + QStringLiteral("<?%1?>").arg(QString::fromUtf8(n.name()));
        break;
    default:
        out << indent + QStringLiteral("text:") + text(n.value());
        break;
    }
}

// The document as lines; "not well-formed" when it does not parse.
inline QStringList Canonical(const QByteArray& xml)
{
    pugi::xml_document doc;
    if (!doc.load_buffer(xml.constData(), size_t(xml.size()),
                         pugi::parse_default | pugi::parse_comments | pugi::parse_pi | pugi::parse_declaration))
        return {QStringLiteral("not well-formed")};
    QStringList out;
    for (const pugi::xml_node& n : doc.children())
        Canonical_Node(n, 0, out);
    return out;
}

inline QByteArray Fixture(const QString& name)
{
    return kt_test::ReadFile(kt_test::FixturePath(QStringLiteral("tables/") + name));
}

// The window shown and saved to the grabs folder, then hidden again.
inline void Grab(QWidget* Form, const QString& png)
{
    Form->show();
    QApplication::processEvents();
    EXPECT_TRUE(Form->grab().save(kt_test::GrabPath(png)));
    Form->hide();
}

// A dialog's client size, its caption and the program code it shows.
template <class TForm_>
void Expect_Window(TForm_& Form, int Width, int Height, const QString& Caption)
{
    EXPECT_EQ(Form.ClientWidth(), Width);
    EXPECT_EQ(Form.ClientHeight(), Height);
    EXPECT_EQ(Form.Caption(), Caption);
    EXPECT_EQ(Form.L_SW_Code->text(), "KT40917");
}

// The same for a dialog whose description label repeats its caption.
template <class TForm_>
void Expect_Described_Window(TForm_& Form, int Width, int Height, const QString& Caption)
{
    Expect_Window(Form, Width, Height, Caption);
    EXPECT_EQ(Form.L_SW_Desc->text(), Caption);
}

// The texts of a page control's tabs, in their order.
inline QStringList Tab_Texts(const QTabWidget* Pages)
{
    QStringList l;
    for (int i = 0; i < Pages->count(); ++i)
        l << Pages->tabText(i);
    return l;
}

// A dialog made at start is the one its global names and the one the main window finds by that
// name; deleting it clears both.
template <class TForm_>
void Expect_Made_At_Start(TForm_* (*Create)(QWidget*), TForm_* const& Global, const QString& Name)
{
    TForm_* w = Create(nullptr);
    EXPECT_EQ(Global, w);
    const TRegisteredWindow* reg = Find_Window(Name);
    ASSERT_NE(reg, nullptr);
    EXPECT_EQ(reg->Form, w);
    EXPECT_EQ(w->L_SW_Code->text(), "KT40917");
    delete w;
    EXPECT_EQ(Global, nullptr);
    EXPECT_EQ(Find_Window(Name), nullptr);
}

// A configuration folder of its own, the built-in texts and the scripted services.
class TableDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        Load_Default_Language();
    }
    QString Path(const QString& name) const { return Dir.filePath(name); }
    void Put_File(const QString& name, const QByteArray& bytes) const
    {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QStringList Messages() const
    {
        QStringList texts;
        for (const auto& m : Services.MessageBoxes)
            texts << m.Text;
        return texts;
    }
    void Expect_No_Messages() const { EXPECT_TRUE(Messages().isEmpty()) << Messages().join("\n").toStdString(); }
    // The checks OK applies, run on the rows as they stand: with an empty message they pass without
    // a word, otherwise they refuse with that one error box and its OK button.
    template <class TDialog>
    void Expect_Rules(TDialog& Dialog, const QString& message)
    {
        Services.MessageBoxes.clear();
        EXPECT_EQ(Dialog.Controllo_dati(), message.isEmpty());
        if (message.isEmpty()) {
            Expect_No_Messages();
            return;
        }
        ASSERT_EQ(Messages(), QStringList{message});
        EXPECT_EQ(Services.MessageBoxes[0].Type, platform::mtError);
        EXPECT_EQ(Services.MessageBoxes[0].Buttons, platform::TMsgDlgButtons(platform::mbOK));
    }
    // OK on rows that pass: no message, the dialog closes with OK and the file reads as expected.
    template <class TDialog>
    void Expect_Ok_Writes(TDialog& Dialog, const QString& File, const QByteArray& expected)
    {
        Dialog.Btn_OKClick(nullptr);
        Expect_No_Messages();
        EXPECT_EQ(Dialog.ModalResult(), platform::mrOk);
        EXPECT_EQ(Canonical(kt_test::ReadFile(File)), Canonical(expected));
    }

    QTemporaryDir Dir;
    platform::ScriptedServices Services;
    platform::ScopedServices Scope{Services};
};

// Changes to the cells of a row: column and new text.
using Cell_Changes = std::vector<std::pair<int, QString>>;

inline void Set_Cells(TVerIvovavOzed* g, int r, const Cell_Changes& cells)
{
    for (const auto& [c, v] : cells)
        g->SetCells(c, r, v);
}

// A case of the rules OK applies: the changes to rows that pass, and the one message OK gives
// (empty: passes).
struct Rule_Case {
    const char* name;
    Cell_Changes cells;
    QString message;
};

// A case of the rules OK applies to a dialog with two grids: the changes, in the second grid where
// second is set, to rows that pass, and the one message OK gives (empty: passes).
struct Two_Grid_Rule_Case {
    const char* name;
    bool second;
    Cell_Changes cells;
    QString message;
};

// A case of the hints a grid gives: the cell and its hint (empty: none).
struct Hint_Case {
    int row, col;
    QString hint;
};

// What the hint handler (row, column, hint text) makes of a cell text, cell by cell.
template <class Hint_Handler>
void Expect_Hints(Hint_Handler Hint, std::initializer_list<Hint_Case> Cases, const QString& Cell_Text = "cell text")
{
    for (const Hint_Case& k : Cases) {
        QString hint = Cell_Text;
        Hint(k.row, k.col, hint);
        EXPECT_EQ(hint, k.hint) << k.row << "," << k.col;
    }
}

// A dialog of this kind made for the test (not shown), its table file (where it has one) in the
// test's folder and its fixtures in a folder of their own.
template <class TForm_>
class Dialog_Test : public TableDialogTest {
protected:
    void Open(QString& File, const char* File_Name, const char* Fixtures = "")
    {
        File = Path(QLatin1String(File_Name));
        FFile = &File;
        FFixtures = QLatin1String(Fixtures);
        Open();
    }
    void Open()
    {
        TableDialogTest::SetUp();
        Shown_SW_Code = "KT40917";
        Form = std::make_unique<TForm_>();
        Form->Create();
    }
    // A fixture of this dialog's folder.
    QByteArray Fix(const char* name) const { return Fixture(FFixtures + QLatin1Char('/') + QLatin1String(name)); }
    // The table file as written, node by node.
    QStringList Saved() const { return Canonical(kt_test::ReadFile(*FFile)); }
    void Expect_Ok_Writes(const QByteArray& expected) { TableDialogTest::Expect_Ok_Writes(*Form, *FFile, expected); }
    void Expect_Rules(const QString& message) { TableDialogTest::Expect_Rules(*Form, message); }
    // OK on a dialog shown without its file writes what the fixture holds.
    void Expect_Ok_Writes_Fixture(const char* name)
    {
        Form->Btn_OKClick(nullptr);
        EXPECT_EQ(Saved(), Canonical(Fix(name)));
    }
    // Each case on a new showing: Fill puts the rows it checks, then the checks OK applies run.
    template <class TCase, size_t N, class Fill_>
    void Expect_Rule_Cases(const TCase (&Cases)[N], Fill_ Fill)
    {
        for (const TCase& k : Cases) {
            SCOPED_TRACE(k.name);
            Form->FormShow();
            Fill(k);
            Expect_Rules(k.message);
        }
    }
    // Row 1 of both grids passes, then takes the changes of the case.
    template <size_t N>
    void Expect_Row_1_Rules(const Two_Grid_Rule_Case (&Cases)[N], TVerIvovavOzed* First, const QStringList& Good_First,
                            TVerIvovavOzed* Second, const QStringList& Good_Second)
    {
        Expect_Rule_Cases(Cases, [&](const Two_Grid_Rule_Case& k) {
            Put_Row(First, 1, Good_First);
            Put_Row(Second, 1, Good_Second);
            Set_Cells(k.second ? Second : First, 1, k.cells);
        });
    }
    // The dialog shown on a fixture as its table file.
    void Show_Fixture(const char* fixture)
    {
        Put_File(QFileInfo(*FFile).fileName(), Fix(fixture));
        Form->FormShow();
    }
    // The same, saved to the grabs folder.
    void Grab_Loaded(const char* fixture, const QString& png)
    {
        Show_Fixture(fixture);
        Grab(Form.get(), png);
    }
    // The table file of these bytes, shown: the messages are those of this showing.
    void Show_File(const QByteArray& bytes)
    {
        Put_File(QFileInfo(*FFile).fileName(), bytes);
        Services.MessageBoxes.clear();
        Form->FormShow();
    }
    // The file could not be used: one error box ending in the reason, and the file as it was.
    void Expect_Refused_File(const QByteArray& bytes, const QString& reason)
    {
        ASSERT_EQ(Services.MessageBoxes.size(), 1) << Messages().join("\n").toStdString();
        EXPECT_EQ(Services.MessageBoxes[0].Type, platform::mtError);
        EXPECT_TRUE(Messages()[0].endsWith(reason)) << Messages()[0].toStdString();
        EXPECT_EQ(kt_test::ReadFile(*FFile), bytes);
    }
    // Delete of row r asked twice: No keeps the row (Kept checks it), Yes deletes it.
    template <class Kept_>
    void Delete_Asked_Twice(TVerIvovavOzed* g, int r, Kept_ Kept)
    {
        g->SetRow(r);
        Services.MessageBoxAnswers = {platform::mrNo, platform::mrYes};
        Form->Btn_DelRowClick(nullptr);
        Kept();
        Form->Btn_DelRowClick(nullptr);
        EXPECT_EQ(Messages(), QStringList(2, QStringLiteral("Are you sure to delete the Row number %1").arg(r)));
        EXPECT_EQ(Services.MessageBoxes[0].Type, platform::mtConfirmation);
    }
    // Copy of row from, paste into row to: no message.
    void Copy_Paste(TVerIvovavOzed* g, int from, int to)
    {
        Services.MessageBoxes.clear();
        g->SetRow(from);
        Form->Btn_CopyRowClick(nullptr);
        g->SetRow(to);
        Form->Btn_PasteRowClick(nullptr);
        EXPECT_TRUE(Messages().isEmpty());
    }
    // A paste with no copy of this showing is refused.
    void Expect_Paste_Refused()
    {
        Form->Btn_PasteRowClick(nullptr);
        EXPECT_EQ(Messages(), QStringList{"Error!!! Copy a valid row before Paste it"});
    }

    std::unique_ptr<TForm_> Form;
    const QString* FFile = nullptr;
    QString FFixtures;
};

// A dialog with one column grid G, whose data cells a row puts and reads as one list.
template <class TForm_>
class One_Grid_Test : public Dialog_Test<TForm_> {
protected:
    void Put_Row(int r, const QStringList& cells) { table_test::Put_Row(G, r, cells); }
    QStringList Row(int r) const { return Row_Of(G, r); }
    // Rows 1 .. r of G pass, then row r takes the changes of the case.
    template <size_t N>
    void Expect_Row_Rules(const Rule_Case (&Cases)[N], const QStringList& Good, int r)
    {
        this->Expect_Rule_Cases(Cases, [&](const Rule_Case& k) {
            for (int i = 1; i <= r; ++i)
                Put_Row(i, Good);
            Set_Cells(G, r, k.cells);
        });
    }

    TZidIzavodUraz* G = nullptr;
};

// A dialog with the two grids sga and sgb, as A and B.
template <class TForm_>
class Two_Grid_Test : public Dialog_Test<TForm_> {
protected:
    void Open_Grids(QString& File, const char* File_Name, const char* Fixtures)
    {
        this->Open(File, File_Name, Fixtures);
        A = this->Form->sga;
        B = this->Form->sgb;
    }

    TZidIzavodUraz* A = nullptr;
    TZidIzavodUraz* B = nullptr;
};

// Lets the events a key or a click queued run out.
inline void Pump()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

inline QPoint Centre(TVerIvovavOzed* g, int c, int r)
{
    const TRect rc = g->CellRect(c, r);
    return QPoint((rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2);
}

// A dialog shown (its show handler runs) and made the active window, with helpers that act on
// one of its grids as the user's keys and mouse do.
class Shown_Table_Test : public TableDialogTest {
protected:
    static void Show(QWidget* Form)
    {
        Form->show();
        QApplication::setActiveWindow(Form);
        Form->activateWindow();
        Pump();
    }
    void TearDown() override
    {
        Enable_Jump_Field_Tables = false;
        Double_Click_Auto_Size = false;
        QToolTip::hideText();
    }

    static QWidget* Target(TVerIvovavOzed* g)
    {
        QWidget* f = QApplication::focusWidget();
        return f ? f : g;
    }
    static void Click(TVerIvovavOzed* g, int c, int r)
    {
        QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, Centre(g, c, r));
        Pump();
    }
    static void Dbl_Click(TVerIvovavOzed* g, int c, int r)
    {
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, Centre(g, c, r));
        Pump();
    }
    static void Key(TVerIvovavOzed* g, Qt::Key k, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            QTest::keyClick(Target(g), k);
            Pump();
        }
    }
    static void Type(TVerIvovavOzed* g, const QString& text)
    {
        for (QChar ch : text) {
            QTest::keyClick(Target(g), ch.toLatin1());
            Pump();
        }
    }
    // The hint the grid shows with the pointer resting on a cell; empty when it shows none.
    // A tip put up beforehand tells "no hint" (it is only hidden, after a delay) from a new one.
    static QString Hint_At(TVerIvovavOzed* g, int c, int r)
    {
        const QString before = QStringLiteral("(no hint)");
        QToolTip::showText(g->mapToGlobal(QPoint(0, 0)), before, g);
        const QPoint p = Centre(g, c, r);
        QHelpEvent e(QEvent::ToolTip, p, g->viewport()->mapToGlobal(p));
        QApplication::sendEvent(g->viewport(), &e);
        const QString shown = QToolTip::text();
        return shown == before ? QString() : shown;
    }
};

} // namespace table_test
