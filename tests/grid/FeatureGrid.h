#pragma once
// The configurator's table as the paint tests draw it: data check boxes, merged cells, an HTML
// cell, a sort indicator and a filter glyph, with cell (2, 5) selected.
#include "grid/AdvCGrid.h"

#include <QString>
#include <QWidget>

namespace kt_test {

// The grid, made in window; Tank_Name is the name in row 4. A comment of row 2 and a right-justified
// area column are there where asked for.
inline TZidIzavodUraz* Feature_Grid(QWidget* window, const char* Tank_Name, const char* Comment_2 = nullptr,
                                    bool Area_Right = false)
{
    auto* g = new TZidIzavodUraz(window);
    g->Loaded();
    g->SetColCount(5);
    g->SetRowCount(7);
    g->SetFixedRowHeight(22);
    g->SetDefaultRowHeight(20);
    g->SetOptions(TGridOptions(goFixedVertLine) | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect |
                  goColSizing | goEditing);
    g->Font().SetName(QStringLiteral("Verdana"));
    g->FixedFont().SetName(QStringLiteral("Tahoma"));
    g->FixedFont().SetStyle(fsBold);
    const char* headers[] = {"#", "Enable", "Name", "Area", "Comment"};
    const int widths[] = {40, 60, 110, 90, 170};
    for (int c = 0; c < 5; ++c) {
        TGridColumnItem* d = g->Columns().Items(c);
        d->SetHeader(QString::fromLatin1(headers[c]));
        d->SetWidth(widths[c]);
    }
    g->Columns().Items(1)->SetEditor(edDataCheckBox);
    if (Area_Right)
        g->Columns().Items(3)->SetAlignment(taRightJustify);
    const char* names[] = {"Pump 1", "Pump 2", "Valve", Tank_Name, "Motor"};
    for (int r = 1; r <= 5; ++r) {
        g->SetCells(0, r, QString::number(r));
        g->SetCells(1, r, r % 2 ? QStringLiteral("Y") : QStringLiteral("N"));
        g->SetCells(2, r, QString::fromLatin1(names[r - 1]));
        g->SetCells(3, r, QStringLiteral("DB%1").arg(r * 10));
    }
    g->SetCells(4, 1, QStringLiteral("<b>bold</b> and <font color=\"clRed\">red</font>"));
    if (Comment_2)
        g->SetCells(4, 2, QString::fromLatin1(Comment_2));
    g->MergeCells(3, 3, 2, 2);
    g->SetCells(3, 3, QStringLiteral("merged 2 x 2"));
    g->SortSettings().SetShow(true);
    g->SortSettings().SetColumn(2);
    g->Columns().Items(3)->Filter().Add(QStringLiteral("DB10"));
    g->SetSelection(TGridRect{2, 5, 2, 5});
    g->resize(480, 170);
    return g;
}

} // namespace kt_test
