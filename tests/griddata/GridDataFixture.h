#pragma once
// Grids for the data tests: loaded, sized, with their fixed columns and rows, and filled row by row.
#include "grid/AdvGrid.h"
#include "platform/SysUtils.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <QTest>
#include <QWidget>
#include <memory>
#include <vector>

namespace griddatatest {

// Loads the grid and gives it cols x rows cells with that many fixed columns and rows.
template <class G>
G& Sized(G& g, int cols, int rows, int fixedCols = 0, int fixedRows = 0)
{
    g.Loaded();
    g.SetColCount(cols);
    g.SetRowCount(rows);
    g.SetFixedCols(fixedCols);
    g.SetFixedRows(fixedRows);
    return g;
}

template <class G = TVerIvovavOzed>
std::unique_ptr<G> MakeGrid(int cols, int rows, int fixedCols = 0, int fixedRows = 0)
{
    auto g = std::make_unique<G>();
    Sized(*g, cols, rows, fixedCols, fixedRows);
    return g;
}

// The bytes Write puts into a stream.
template <class F>
QByteArray Written(F Write)
{
    QByteArray data;
    QBuffer b(&data);
    b.open(QIODevice::WriteOnly);
    Write(b);
    return data;
}

// Lets Read take the bytes from a stream.
template <class F>
void ReadBack(QByteArray data, F Read)
{
    QBuffer b(&data);
    b.open(QIODevice::ReadOnly);
    Read(b);
}

// The texts of the cells, row by row from the top left cell.
inline void Fill(TVerIvovavOzed& g, const std::vector<std::vector<QString>>& rows)
{
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            g.SetCells(int(c), int(r), rows[r][c]);
}

// Fixed number settings with day-first dates ("dd/mm/yyyy") and minute times ("hh:nn") for one
// test; the old settings come back afterwards.
struct DayFirstFormat {
    platform::TFormatSettings saved = platform::FormatSettings();
    DayFirstFormat()
    {
        platform::TFormatSettings fs = platform::TFormatSettings::Invariant();
        fs.ShortDateFormat = "dd/mm/yyyy";
        fs.ShortTimeFormat = "hh:nn";
        fs.LongTimeFormat = "hh:nn:ss";
        platform::FormatSettings() = fs;
    }
    ~DayFirstFormat() { platform::FormatSettings() = saved; }
    DayFirstFormat(const DayFirstFormat&) = delete;
    DayFirstFormat& operator=(const DayFirstFormat&) = delete;
};

// Gives the window that size with the control filling it, shows it and waits until it is active;
// false when it never becomes active.
inline bool ShowFilled(QWidget& window, QWidget& control, int width, int height)
{
    window.resize(width, height);
    control.setGeometry(0, 0, width, height);
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

} // namespace griddatatest
