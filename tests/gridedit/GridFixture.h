#pragma once
// A column grid in a shown, active window, driven by keys and the mouse as a user drives it.
// Posted events (the end-of-edit notice among them) are delivered by Pump.
#include "grid/AdvCGrid.h"
#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

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

} // namespace kt_test
