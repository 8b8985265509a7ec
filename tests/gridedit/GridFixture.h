#pragma once
// A column grid in a shown, active window, driven by keys and the mouse as a user drives it.
// Posted events (the end-of-edit notice among them) are delivered by Pump.
#include "grid/AdvCGrid.h"
#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include <QApplication>
#include <QDateTime>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <vector>

// Readable failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace kt_test {

// Scripted services and the invariant number and date settings for one test; the old settings
// come back afterwards.
struct InvariantFormat {
    platform::TFormatSettings saved = platform::FormatSettings();
    platform::ScriptedServices services;
    platform::ScopedServices scope{services};
    InvariantFormat() { platform::FormatSettings() = platform::TFormatSettings::Invariant(); }
    ~InvariantFormat() { platform::FormatSettings() = saved; }
};

// The same with the scripted clock at 2025-06-07 08:30.
struct PinnedClock : InvariantFormat {
    PinnedClock() { services.Clock = QDateTime(QDate(2025, 6, 7), QTime(8, 30)); }
};

// The grid fills a window of Width x Height pixels, shown and made the active window.
inline void Show_Filled(QWidget& window, QWidget* grid, int Width, int Height)
{
    window.resize(Width, Height);
    grid->setGeometry(0, 0, Width, Height);
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}

struct GridFixture {
    QWidget window;
    TZidIzavodUraz* grid;

    explicit GridFixture(int cols = 5, int rows = 5)
    {
        window.resize(520, 320);
        grid = new TZidIzavodUraz(&window);
        grid->setGeometry(0, 0, 520, 320);
        grid->Loaded();
        grid->SetColCount(cols);
        grid->SetRowCount(rows);
        for (int c = 0; c < cols; ++c)
            grid->SetColWidths(c, 90);
        window.show();
        QApplication::setActiveWindow(&window);
        window.activateWindow();
        grid->setFocus(Qt::OtherFocusReason);
        Pump();
    }

    // Delivers what is queued (posted notices, deferred deletions) without waiting.
    static void Pump()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
    }

    static QWidget* Focus() { return QApplication::focusWidget(); }

    // Makes a cell current as code does, so that its editing permission applies.
    void GoTo(int col, int row)
    {
        grid->MoveToCell(col, row);
        grid->Select();
        Pump();
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* w = Focus() ? Focus() : grid;
        QTest::keyClick(w, key, mods);
        Pump();
    }

    // Opens the cell's editor with F2 and ends it with Enter, keeping what the editor shows.
    void Edit_And_Accept(int col, int row)
    {
        GoTo(col, row);
        Key(Qt::Key_F2);
        Key(Qt::Key_Return);
    }

    void Type(const QString& text)
    {
        for (QChar ch : text) {
            QWidget* w = Focus() ? Focus() : grid;
            QTest::keyClick(w, ch.toLatin1());
            Pump();
        }
    }

    void Click(int col, int row)
    {
        const TRect r = grid->CellRect(col, row);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
        Pump();
    }

    TGridColumnItem* Column(int realCol) { return grid->Columns().Items(realCol); }
};

// Real column 1 is hidden; real column c (c >= 2) shows at displayed column c - 1 and has the
// c - 2nd of the editors given. The end-of-edit notices are logged.
struct LoggedEditorGrid : GridFixture {
    std::vector<QString> log;
    LoggedEditorGrid(int cols, std::initializer_list<TEditorType> editors) : GridFixture(cols, 5)
    {
        int c = 2;
        for (TEditorType e : editors)
            Column(c++)->SetEditor(e);
        grid->HideColumn(1);
        grid->OnEditingDone = [this](QObject*) { log.push_back("done"); };
        grid->OnEditCellDone = [this](QObject*, int c, int r) { log.push_back(QString("celldone %1,%2").arg(c).arg(r)); };
    }
    // Real column c of row r gets the text, is made current and opened with F2.
    void Open_Cell(int c, int r, const QString& text)
    {
        grid->SetCells(c, r, text);
        GoTo(c - 1, r);
        Key(Qt::Key_F2);
    }
    // An edit still open when the window goes ends then: the log is gone by that time.
    ~LoggedEditorGrid()
    {
        grid->OnEditingDone = nullptr;
        grid->OnEditCellDone = nullptr;
    }
};

} // namespace kt_test
