// The string grid's change notice: its event, its registered notifiers, then the footer.
#include "grid/AdvGrid.h"

#include <algorithm>

TGridChangeNotifier::~TGridChangeNotifier()
{
    // No grid may call a notifier that is gone.
    const auto grids = FGrids;
    for (TVerIvovavOzed* g : grids)
        g->UnRegisterNotifier(this);
}

void TGridChangeNotifier::CellsChanged(const TRect&) {}

void TVerIvovavOzed::DoCellsChanged(const TRect& R)
{
    if (OnCellsChanged)
        OnCellsChanged(this, R);
    // A notifier may unregister itself or another one while it is told; one that left the list
    // meanwhile (destroyed, perhaps) is not called.
    const auto notifiers = FNotifierList;
    for (TGridChangeNotifier* n : notifiers)
        if (std::find(FNotifierList.begin(), FNotifierList.end(), n) != FNotifierList.end())
            n->CellsChanged(R);
    CalcFooter(-1);
}

void TVerIvovavOzed::RegisterNotifier(TGridChangeNotifier* ANotifier)
{
    if (!ANotifier || std::find(FNotifierList.begin(), FNotifierList.end(), ANotifier) != FNotifierList.end())
        return;
    FNotifierList.push_back(ANotifier);
    ANotifier->FGrids.push_back(this);
}

void TVerIvovavOzed::UnRegisterNotifier(TGridChangeNotifier* ANotifier)
{
    const auto it = std::find(FNotifierList.begin(), FNotifierList.end(), ANotifier);
    if (it == FNotifierList.end())
        return;
    FNotifierList.erase(it);
    auto& grids = ANotifier->FGrids;
    grids.erase(std::remove(grids.begin(), grids.end(), this), grids.end());
}

void TVerIvovavOzed::ForgetNotifiers()
{
    for (TGridChangeNotifier* n : FNotifierList) {
        auto& grids = n->FGrids;
        grids.erase(std::remove(grids.begin(), grids.end(), this), grids.end());
    }
    FNotifierList.clear();
}
