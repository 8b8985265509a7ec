// A table as the configurator's dialogs show it, grabbed for a person to look at: data check
// boxes, merged cells, an HTML cell, a sort indicator and a filter glyph.
#include "grid/AdvCGrid.h"
#include "TestSupport.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

TEST(PaintGrab, GridFeatures)
{
    QWidget window;
    auto* g = new TZidIzavodUraz(&window);
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
    const char* names[] = {"Pump 1", "Pump 2", "Valve", "Tank level", "Motor"};
    for (int r = 1; r <= 5; ++r) {
        g->SetCells(0, r, QString::number(r));
        g->SetCells(1, r, r % 2 ? QStringLiteral("Y") : QStringLiteral("N"));
        g->SetCells(2, r, QString::fromLatin1(names[r - 1]));
        g->SetCells(3, r, QStringLiteral("DB%1").arg(r * 10));
    }
    g->SetCells(4, 1, QStringLiteral("<b>bold</b> and <font color=\"clRed\">red</font>"));
    g->MergeCells(3, 3, 2, 2);
    g->SetCells(3, 3, QStringLiteral("merged 2 x 2"));
    g->SortSettings().SetShow(true);
    g->SortSettings().SetColumn(2);
    g->Columns().Items(3)->Filter().Add(QStringLiteral("DB10"));
    g->SetSelection(TGridRect{2, 5, 2, 5});
    g->resize(480, 170);

    const QImage img = g->grab().toImage();
    ASSERT_TRUE(img.save(kt_test::GrabPath("grid_features.png")));
    // Coarse samples: the selected cell in the selection colour, a plain cell white.
    const TRect sel = g->CellRect(2, 5);
    EXPECT_EQ(FromQColor(img.pixelColor(sel.Right - 4, sel.Bottom - 4)), 0xEACAB6);
    const TRect plain = g->CellRect(4, 5);
    EXPECT_EQ(FromQColor(img.pixelColor(plain.Right - 4, plain.Bottom - 4)), 0xFFFFFF);
}
