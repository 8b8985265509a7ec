#pragma once
// The grouping settings of the string grid.
#include "grid/BaseGrid.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TVerIvovavOzed;

class TGrouping {
public:
    TGrouping() = default;
    TGrouping(const TGrouping&) = delete;
    TGrouping& operator=(const TGrouping&) = delete;
    void Assign(const TGrouping& Source);

    bool HeaderUnderline = false;
    TColor HeaderLineColor = 0x0000FF;
    int HeaderLineWidth = 2;
    bool SummaryLine = false;
    TColor SummaryLineColor = 0x0000FF;
    int SummaryLineWidth = 2;
    int GroupColumn = -1;
    // Toggling a node row's box sets its rows; toggling a row of a group checks, unchecks or
    // grays the node's box.
    bool AutoCheckGroup = false;
    // A release on an open node row selects the rows of its group.
    bool AutoSelectGroup = false;
};

