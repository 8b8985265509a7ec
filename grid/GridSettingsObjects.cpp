#include "grid/GridSettingsObjects.h"
#include "platform/Property.h"

#include <set>

// ---- TSearchFooter ---------------------------------------------------------------------------

TSearchFooter::TSearchFooter(QObject* AOwner, bool InitDesign) : FOwner(AOwner)
{
    if (InitDesign) {
        FFindNextCaption = QStringLiteral("Find &next");
        FFindPrevCaption = QStringLiteral("Find &previous");
        FHighLightCaption = QStringLiteral("Highlight");
        FHintClose = QStringLiteral("Close");
        FHintFindNext = QStringLiteral("Find next occurrence");
        FHintFindPrev = QStringLiteral("Find previous occurrence");
        FHintHighlight = QStringLiteral("Highlight occurrences");
        FMatchCaseCaption = QStringLiteral("Match case");
    }
}

void TSearchFooter::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TSearchFooter::Assign(const TSearchFooter& Source)
{
    TSearchFooterValues::operator=(Source);
    // The font's own change notification is not ours to fire.
    auto notify = std::move(FFont.OnChange);
    FFont.OnChange = nullptr;
    FFont.Assign(Source.FFont);
    FFont.OnChange = std::move(notify);
}

#define KT_STORE_EVENT(Setter, Field, Type) \
    void TSearchFooter::Setter(Type Value)  \
    {                                       \
        Field = Value;                      \
        Changed();                          \
    }
#define KT_CHANGE_EVENT(Setter, Field, Type) \
    void TSearchFooter::Setter(Type Value)   \
    {                                        \
        if (Field == Value)                  \
            return;                          \
        Field = Value;                       \
        Changed();                           \
    }

KT_STORE_EVENT(SetColor, FColor, TColor)
KT_STORE_EVENT(SetColorTo, FColorTo, TColor)
KT_STORE_EVENT(SetFindNextCaption, FFindNextCaption, const QString&)
KT_STORE_EVENT(SetFindPrevCaption, FFindPrevCaption, const QString&)
KT_STORE_EVENT(SetHighLightCaption, FHighLightCaption, const QString&)
KT_STORE_EVENT(SetHintClose, FHintClose, const QString&)
KT_STORE_EVENT(SetHintFindNext, FHintFindNext, const QString&)
KT_STORE_EVENT(SetHintFindPrev, FHintFindPrev, const QString&)
KT_STORE_EVENT(SetHintHighlight, FHintHighlight, const QString&)
KT_STORE_EVENT(SetMatchCaseCaption, FMatchCaseCaption, const QString&)
KT_STORE_EVENT(SetShowClose, FShowClose, bool)
KT_STORE_EVENT(SetAutoThemeAdapt, FAutoThemeAdapt, bool)
KT_CHANGE_EVENT(SetShowFindNext, FShowFindNext, bool)
KT_CHANGE_EVENT(SetShowFindPrev, FShowFindPrev, bool)
KT_CHANGE_EVENT(SetShowHighLight, FShowHighLight, bool)
KT_CHANGE_EVENT(SetShowMatchCase, FShowMatchCase, bool)
KT_CHANGE_EVENT(SetVisible, FVisible, bool)
#undef KT_STORE_EVENT
#undef KT_CHANGE_EVENT

void TSearchFooter::SetFont(const TFont& Value)
{
    FFont.Assign(Value);
    Changed();
}

// ---- TNavigation -----------------------------------------------------------------------------

void TNavigation::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TNavigation::Assign(const TNavigation& Source)
{
    TNavigationValues::operator=(Source);
}

void TNavigation::SetAdvanceAuto(bool Value)
{
    if (!platform::Change(FAdvanceAuto, Value))
        return;
    if (Value)
        FAdvanceOnEnter = true;
}

// ---- TMouseActions ---------------------------------------------------------------------------

bool TMouseActions::IsDesigning()
{
    bool designing = false;
    if (OnIsDesigning)
        OnIsDesigning(this, designing);
    return designing;
}

void TMouseActions::Assign(const TMouseActions& Source)
{
    TMouseActionsValues::operator=(Source);
}

void TMouseActions::SetDisjunctRowSelect(bool Value)
{
    FDisjunctRowSelect = Value;
    if (Value && IsDesigning()) {
        FDisjunctColSelect = false;
        FDisjunctCellSelect = false;
    }
}

void TMouseActions::SetDisjunctColSelect(bool Value)
{
    FDisjunctColSelect = Value;
    if (Value && IsDesigning()) {
        FDisjunctRowSelect = false;
        FDisjunctCellSelect = false;
    }
}

void TMouseActions::SetDisjunctCellSelect(bool Value)
{
    FDisjunctCellSelect = Value;
    if (Value && IsDesigning()) {
        FDisjunctRowSelect = false;
        FDisjunctColSelect = false;
    }
}

void TMouseActions::SetEditOnDblClickOnly(bool Value)
{
    FEditOnDblClickOnly = Value;
    if (Value && OnDisableEdit)
        OnDisableEdit(this);
}

void TMouseActions::SetHotmailRowSelect(bool Value)
{
    FHotmailRowSelect = Value;
    if (Value) {
        FDisjunctRowSelect = true;
        FCheckAllCheck = true;
    }
    if (OnInvalidate)
        OnInvalidate(this);
}

void TMouseActions::SetWheelAction(TWheelAction Value)
{
    if (!platform::Change(FWheelAction, Value))
        return;
    if (OnChange)
        OnChange(this, int(Value));
}

// ---- TSyncGrid -------------------------------------------------------------------------------

namespace {
// The grids passing a change on to their partner right now (GUI thread only).
std::multiset<const TStringGrid*>& PassingOn()
{
    static std::multiset<const TStringGrid*> grids;
    return grids;
}
} // namespace

void TSyncGrid::SetGrid(TStringGrid* Value)
{
    if (Value && Value == FOwner)
        return;
    FGrid = Value;
}

void TSyncGrid::Assign(const TSyncGrid& Source)
{
    SetGrid(Source.Grid());
    TSyncGridValues::operator=(Source);
}

bool TSyncGrid::CanSync() const
{
    const TStringGrid* other = FGrid.data();
    if (!other)
        return false;
    const auto& passing = PassingOn();
    return passing.count(other) == 0 && passing.count(FOwner) == 0;
}

TSyncGrid::TGuard::TGuard(const TSyncGrid& Sync) : FGridMarked(Sync.FOwner) { PassingOn().insert(FGridMarked); }

TSyncGrid::TGuard::~TGuard()
{
    auto& passing = PassingOn();
    const auto it = passing.find(FGridMarked);
    if (it != passing.end())
        passing.erase(it);
}

// ---- TBands ----------------------------------------------------------------------------------

void TBands::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TBands::Assign(const TBands& Source)
{
    TBandsValues::operator=(Source);
    FTotalLength = FPrimaryLength + FSecondaryLength;
}

void TBands::SetPrimaryColor(TColor Value)
{
    if (!platform::Change(FPrimaryColor, Value))
        return;
    if (FActive)
        Changed();
}

void TBands::SetPrimaryLength(int Value)
{
    if (!platform::Change(FPrimaryLength, Value))
        return;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    if (FActive)
        Changed();
}

void TBands::SetSecondaryColor(TColor Value)
{
    if (!platform::Change(FSecondaryColor, Value))
        return;
    if (FActive)
        Changed();
}

void TBands::SetSecondaryLength(int Value)
{
    if (!platform::Change(FSecondaryLength, Value))
        return;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    if (FActive)
        Changed();
}
