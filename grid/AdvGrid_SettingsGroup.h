#pragma once
// The grouping settings of the string grid and the change notifier its grids tell.
#include "grid/BaseGrid.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TVerIvovavOzed;

// The values TGrouping::Assign copies, kept together so that one assignment copies them all.
struct TGroupingValues {
    bool MergeHeader = false;
    bool MergeSummary = false;
    TColor HeaderColor = clNone;
    TColor SummaryColor = clNone;
    TColor HeaderColorTo = clNone;
    TColor HeaderTextColor = clNone;
    TColor SummaryTextColor = clNone;
    TColor SummaryColorTo = clNone;
    bool HeaderUnderline = false;
    bool SummaryLine = false;
    bool ShowGroupCount = false;
    QString GroupCountFormat;
    bool AutoSelectGroup = false;
    bool AutoCheckGroup = false;
};

// How Group and SubGroup mark and colour header and summary rows, and what the grid does with
// header rows elsewhere (borders, the group count, clicks and check boxes). Values are read and
// written directly; nothing repaints on a change.
class TGrouping : public TGroupingValues {
public:
    TGrouping() = default;
    TGrouping(const TGrouping&) = delete;
    TGrouping& operator=(const TGrouping&) = delete;
    // Copies the looks and the behaviours, not Summary nor the line pens.
    void Assign(const TGrouping& Source);

    bool Summary = false;
    int SummaryLineWidth = 2;
    int HeaderLineWidth = 2;
    TColor SummaryLineColor = 0xFF0000;
    TColor HeaderLineColor = 0xFF0000;
    // A release on an open node row selects the rows of its group.
    // Toggling a node row's box sets its rows; toggling a row of a group checks, unchecks or
    // grays the node's box.
};

// Follows the cell changes of the grids it is registered with; descendants act on them. It
// leaves every grid it is registered with when it is destroyed, and forgets a grid destroyed
// before it.
class TGridChangeNotifier : public QObject {
public:
    explicit TGridChangeNotifier(QObject* AOwner = nullptr) : QObject(AOwner) {}
    ~TGridChangeNotifier() override;
    TGridChangeNotifier(const TGridChangeNotifier&) = delete;
    TGridChangeNotifier& operator=(const TGridChangeNotifier&) = delete;

    // R: Left/Right the first and last column, Top/Bottom the first and last row changed.
    virtual void CellsChanged(const TRect& R);

private:
    friend class TVerIvovavOzed;
    std::vector<TVerIvovavOzed*> FGrids; // the grids it is registered with
};

