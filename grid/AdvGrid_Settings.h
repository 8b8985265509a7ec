#pragma once
// Settings objects and small helper classes a string grid creates and owns besides those of
// GridSettings.h and GridSettingsObjects.h: the floating footer settings, the background and
// progress appearances, the control look, the sort, filter and grouping settings, the drag
// settings, and the hidden-row record. They hold their values with the defaults a new grid has; the
// features that read them give them their behaviour.
#include "grid/BackGround.h"
#include "grid/BalloonSettings.h"
#include "grid/BaseGrid.h"
#include "grid/ControlLook.h"
#include "grid/GridProgressAppearance.h"
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"
#include "platform/Property.h"
#include "platform/StringList.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TVerIvovavOzed;

#include "grid/FloatingFooter.h"

// The background, progress appearance and control look live in units of their own.

// ---- sorting, filtering, grouping ------------------------------------------------------------

#include "grid/AdvGrid_SettingsFilter.h"
#include "grid/AdvGrid_SettingsGroup.h"
#include "grid/AdvGrid_SettingsSort.h"

// ---- drag, balloon and modified-cell settings --------------------------------------------------

// The values TDragDropSettings::Assign copies, kept together so that one assignment copies them all.
struct TDragDropSettingsValues {
    bool FOleDropRTF = false;
    bool FOleAcceptText = true;
    bool FOleEntireRows = false;
    bool FOleDropSource = false;
    bool FOleRemoveRows = false;
    bool FOleAcceptFiles = true;
    bool FOleAcceptURLs = true;
    bool FOleDropTarget = false;
    bool FOleInsertRows = false;
    bool FOleAppendRows = false;
    bool FOleCopyAlways = false;
    bool FOleColumnDragDrop = false;
    bool FOleColumnReorder = false;
    bool FOleColumnsOnly = false;
    bool FShowCells = true;
};

// The OLE drag-and-drop switches of a grid. Setting OleDropTarget registers (or revokes) the grid
// as a drop target; OleDropRTF also allows rich text in the drag-and-drop unit. The other setters
// only store.
class TDragDropSettings : private TDragDropSettingsValues {
public:
    explicit TDragDropSettings(TVerIvovavOzed* AOwner) : FGrid(AOwner) {}
    TDragDropSettings(const TDragDropSettings&) = delete;
    TDragDropSettings& operator=(const TDragDropSettings&) = delete;
    // Copies the fifteen values as they are, without the setters' effects.
    void Assign(const TDragDropSettings& Source);

    bool OleDropRTF() const { return FOleDropRTF; }
    void SetOleDropRTF(bool Value);
    KT_PROPERTY(bool, OleAcceptText)
    KT_PROPERTY(bool, OleEntireRows)
    KT_PROPERTY(bool, OleDropSource)
    KT_PROPERTY(bool, OleRemoveRows)
    KT_PROPERTY(bool, OleAcceptFiles)
    KT_PROPERTY(bool, OleAcceptURLs)
    bool OleDropTarget() const { return FOleDropTarget; }
    void SetOleDropTarget(bool Value);
    KT_PROPERTY(bool, OleInsertRows)
    KT_PROPERTY(bool, OleAppendRows)
    KT_PROPERTY(bool, OleCopyAlways)
    KT_PROPERTY(bool, OleColumnDragDrop)
    KT_PROPERTY(bool, OleColumnReorder)
    KT_PROPERTY(bool, OleColumnsOnly)
    KT_PROPERTY(bool, ShowCells)

private:
    TVerIvovavOzed* FGrid;
};

class TDragScrollDelays {
public:
    int InitialDelay = 1000;
    int RepeatDelay = 250;
};

class TDragScrollMargins {
public:
    int TopMargin = 50;
    int BottomMargin = 50;
    int LeftMargin = 50;
    int RightMargin = 50;
};

class TDragScrollOptions {
public:
    TDragScrollOptions() = default;
    TDragScrollOptions(const TDragScrollOptions&) = delete;
    TDragScrollOptions& operator=(const TDragScrollOptions&) = delete;
    void Assign(const TDragScrollOptions& Source);

    bool Active = false;
    TDragScrollDelays& Delays() { return FDelays; }
    TDragScrollMargins& Margins() { return FMargins; }

private:
    TDragScrollDelays FDelays;
    TDragScrollMargins FMargins;
};

// ---- hidden rows -----------------------------------------------------------------------------

// One hidden row: its real index, height, the cells of every real column (texts and object slots)
// and the filter level that hid it. The item owns its lines: assigning Items copies them (and
// shares the cell objects, which are reference counted), so the source list stays the caller's.
// A row without objects keeps an empty object list (TGridStrings::Object reads it).
class TGridItem {
public:
    int Idx = 0;
    int Height = 0;
    TGridStrings Items;
    int Level = 0;
};

// The records of the hidden rows, in their list order. The list holds pointers; the records
// themselves are made in blocks and a record given back is reused by a later one, so hiding many
// rows makes no allocation per row and the records of one level lie together. A record keeps its
// address while it is listed (a pointer to its lines stays valid). The blocks are kept for reuse
// until clear().
class TGridItemList {
public:
    using const_iterator = std::vector<TGridItem*>::const_iterator;
    TGridItemList() = default;
    TGridItemList(const TGridItemList&) = delete;
    TGridItemList& operator=(const TGridItemList&) = delete;

    const_iterator begin() const { return FList.begin(); }
    const_iterator end() const { return FList.end(); }
    size_t size() const { return FList.size(); }
    bool empty() const { return FList.empty(); }
    TGridItem* operator[](size_t i) const { return FList[i]; }
    // Room for n records in all (list and records), made at once.
    void reserve(size_t n);
    // A new empty record at the end of the list.
    TGridItem* Add() { return Insert(FList.size()); }
    // A new empty record at list position pos.
    TGridItem* Insert(size_t pos);
    // Takes the record at list position i out of the list; the caller gives it back by Release.
    TGridItem* Take(size_t i);
    // Takes every record of the level out of the list (in list order) onto Out.
    void TakeLevel(int Level, std::vector<TGridItem*>& Out);
    // A record taken out is emptied and kept for reuse.
    void Release(TGridItem* Item);
    // Removes and empties every record and lets the blocks go.
    void clear();

private:
    std::vector<TGridItem*> FList;
    std::vector<TGridItem*> FFree; // emptied records, the next one to use at the back
    std::vector<std::unique_ptr<TGridItem[]>> FBlocks;
    size_t FMade = 0; // records in all blocks
    void Grow(size_t n);
};
#include "griddata/AdvGrid_SearchTypes.h"
