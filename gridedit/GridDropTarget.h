#pragma once
// The grid's OLE drop source and drop target: what a grid does while its cells, rows or a column
// are dragged out of it, and when columns, cell streams, rich text, text, files or links are
// dropped on it.
#include "grid/AdvGrid.h"
#include "grid/OleDragDrop.h"

#include <QPointer>
#include <functional>

// The source of one drag out of a grid: moves the floating picture of the dragged cells (or the
// header drag button) with the cursor and remembers the last copy or move effect.
class TGridDropSource : public TASGDropSource {
public:
    explicit TGridDropSource(TVerIvovavOzed* aGrid);

    void CurrentEffect(int dwEffect) override;
    void QueryDrag() override;
    void DragDropEnded() override;

    int LastEffect() const { return FLastEffect; }

private:
    QPointer<TVerIvovavOzed> FGrid;
    int FLastEffect = DROPEFFECT_NONE;
};

// The drop target registered for a grid while DragDropSettings.OleDropTarget is on. Points are in
// screen co-ordinates.
class TGridDropTarget : public TASGDropTarget {
public:
    explicit TGridDropTarget(TVerIvovavOzed* AGrid);

    // Takes the accepted formats from the grid's settings before the base reads them.
    HRESULT DragEnter(const std::shared_ptr<IDataObject>& dataObj, int grfKeyState, TPoint pt,
                      int& dwEffect) override;

    // A drop that wrote nothing answers no effect, so that the source of a move keeps its data.
    HRESULT Drop(const std::shared_ptr<IDataObject>& dataObj, int grfKeyState, TPoint pt, int& dwEffect) override;
    void DragMouseMove(TPoint pt, bool& Allow, TDropFormats DropFormats) override;
    void DragMouseLeave() override;
    void DropCol(TPoint pt, int Col) override;
    void DropStream(TPoint pt, const QByteArray& ms) override;
    void DropText(TPoint pt, const QString& s) override;
    void DropRTF(TPoint pt, const QString& s) override;
    void DropURL(TPoint pt, const QString& s) override;
    void DropFiles(TPoint pt, const platform::TStringList& files) override;

    TVerIvovavOzed* Grid() const { return FGrid; }

private:
    // The drop cell of a point and whether it appends below the last row (OleEntireRows with
    // OleAppendRows, a point at or below the last row's bottom).
    void DropCell(TPoint pt, bool ColumnDrag, int& ACol, int& ARow, bool& Append);
    // A single-cell drop of rich text or a link through its permission event.
    void DropIntoCell(TPoint pt, const QString& s, bool Url);
    void HideCellMarkers();
    // Runs the load of a dropped file; false, after telling the user, when it fails.
    bool LoadDroppedFile(const std::function<void()>& Load);

    QPointer<TVerIvovavOzed> FGrid;
    // Something of the current drop landed in the grid.
    bool FLanded = false;
};
