#pragma once
// What the table dialog tests share: a temporary configuration folder with the scripted services,
// and a reading of a table file as one line per node, so that a written file is compared with a
// hand-made fixture node by node and attribute by attribute, in their order, whatever the
// white space between the elements.
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
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
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

// A dialog of this kind made for the test (not shown), its table file in the test's folder.
template <class TForm_>
class Dialog_Test : public TableDialogTest {
protected:
    void Open(QString& File, const char* File_Name)
    {
        TableDialogTest::SetUp();
        Shown_SW_Code = "KT40917";
        File = Path(QLatin1String(File_Name));
        FFile = &File;
        Form = std::make_unique<TForm_>();
        Form->Create();
    }
    // The table file as written, node by node.
    QStringList Saved() const { return Canonical(kt_test::ReadFile(*FFile)); }
    void Expect_Ok_Writes(const QByteArray& expected) { TableDialogTest::Expect_Ok_Writes(*Form, *FFile, expected); }
    void Expect_Rules(const QString& message) { TableDialogTest::Expect_Rules(*Form, message); }

    std::unique_ptr<TForm_> Form;
    const QString* FFile = nullptr;
};

// A dialog with the two grids sga and sgb, as A and B.
template <class TForm_>
class Two_Grid_Test : public Dialog_Test<TForm_> {
protected:
    void Open_Grids(QString& File, const char* File_Name)
    {
        this->Open(File, File_Name);
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
