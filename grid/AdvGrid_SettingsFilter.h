#pragma once
// The row filter conditions and the header filter drop-down settings of the string grid.
#include "grid/BaseGrid.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TVerIvovavOzed;

// One filter condition of a column.
class TFilterData {
public:
    int Column = 0;
    QString Condition;
    bool CaseSensitive = false;
};

class TFilter {
public:
    explicit TFilter(TVerIvovavOzed* AOwner) : FGrid(AOwner) {}
    TFilter(const TFilter&) = delete;
    TFilter& operator=(const TFilter&) = delete;
    void Assign(const TFilter& Source);

    int Count() const { return int(FItems.size()); }
    TFilterData* Items(int i) const { return FItems.at(size_t(i)).get(); }
    TFilterData* Add();
    void Clear() { FItems.clear(); }
    // The condition of a column, added (Column := Col) when the column has none.
    TFilterData* GetColFilter(int Col);
    bool HasFilter(int Col) const;

private:
    TVerIvovavOzed* FGrid;
    std::vector<std::unique_ptr<TFilterData>> FItems;
};

class TFilterDropDown {
public:
    TFilterDropDown() = default;
    TFilterDropDown(const TFilterDropDown&) = delete;
    TFilterDropDown& operator=(const TFilterDropDown&) = delete;
    void Assign(const TFilterDropDown& Source);

    TColor Color = clWindow;
    int Height = 200;
    int Width = 0;
    std::function<void()> OnChange;
};

