// The filter drop-down of the header: the value list of a column, the opening of the list under
// the header button, and the take-over of the checked entries of the check list.
#include "grid/AdvGrid.h"
#include "griddata/FilterList.h"

#include <QFontMetrics>
#include <algorithm>
#include <numeric>

namespace {

// The edge of a sunken list frame, as the system reports it.
constexpr int kEdge = 2;

QString FriendlyName(const QString& Entry)
{
    const qsizetype eq = Entry.indexOf(QLatin1Char('='));
    return eq >= 0 ? Entry.left(eq) : Entry;
}

} // namespace

// The distinct trimmed texts of a column, sorted as FFilterList sorts them with duplicates
// ignored. The list is built in one pass and one sort: inserting each value into the sorted list
// moves the list once per distinct value, which grows with the square of the rows. A column whose
// texts are unchanged since its last list (same fingerprint of every text in order) takes that
// list again without sorting.
void TVerIvovavOzed::FillFilterValues(int ACol)
{
    const int first = FixedRows(), last = RowCount() - FFixedFooters - 1;
    const bool cs = FFilterList.CaseSensitive();
    size_t fingerprint = 0x84222325u;
    int count = 0;
    auto mix = [&](const QString& s) {
        fingerprint ^= qHash(s, 0x9e3779b9u) + 0x9e3779b97f4a7c15ull + (fingerprint << 6) + (fingerprint >> 2);
        ++count;
    };
    std::vector<QString> raw;
    raw.reserve(size_t(std::max(0, last - first + 1)) + FGridItems.size());
    for (int r = first; r <= last; ++r) {
        raw.push_back(Cells(ACol, r));
        mix(raw.back());
    }
    if (!FFilterIncremental)
        for (const auto& it : FGridItems)
            if (ACol < it->Items.Count()) {
                raw.push_back(it->Items.Strings[ACol]);
                mix(raw.back());
            }
    TFilterValueCache& cache = FFilterValueCache[ACol];
    if (cache.Count == count && cache.Fingerprint == fingerprint && cache.CaseSensitive == cs) {
        FFilterList.SetSorted(false);
        FFilterList.Assign(cache.Values);
        return;
    }

    QStringList values;
    values.reserve(qsizetype(raw.size()));
    for (const QString& text : raw) {
        const QString s = text.trimmed();
        values.append(s.contains(QLatin1Char(' ')) ? s + QLatin1Char('=') + QLatin1Char('"') + s + QLatin1Char('"')
                                                   : s);
    }

    // Same order and same survivors as one sorted insert after the other: the list compares
    // case-insensitively when not case-sensitive, and the first value of equal ones stays.
    QStringList keys;
    if (!cs) {
        keys.reserve(values.size());
        for (const QString& v : values)
            keys.append(v.toLower());
    }
    std::vector<int> order(size_t(values.size()));
    std::iota(order.begin(), order.end(), 0);
    auto cmp = [&](int a, int b) {
        return cs ? platform::AnsiCompareStr(values[a], values[b])
                  : QString::compare(keys[a], keys[b], Qt::CaseSensitive);
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return cmp(a, b) < 0; });
    QStringList unique;
    unique.reserve(values.size());
    int prev = -1;
    for (int i : order) {
        if (prev >= 0 && cmp(prev, i) == 0)
            continue;
        unique.append(values[i]);
        prev = i;
    }
    cache.Fingerprint = fingerprint;
    cache.Count = count;
    cache.CaseSensitive = cs;
    cache.Values = unique;
    FFilterList.SetSorted(false);
    FFilterList.Assign(unique);
}

void TVerIvovavOzed::SetFilterDropDownRow(int Value)
{
    if (Value < 0 || Value >= FixedRows() || Value == FFilterDropDownRow)
        return;
    FFilterDropDownRow = Value;
    Invalidate();
}

void TVerIvovavOzed::SetFilterDropDownAuto(bool Value)
{
    FFilterDropDownAuto = Value;
    Invalidate();
}

void TVerIvovavOzed::FilterDropDownChange(QObject*) { Invalidate(); }

void TVerIvovavOzed::MakeFilterLists()
{
    if (FDropList)
        return;
    FDropList = new TDropList(this);
    FDropList->OnSelect = [this](int ItemIndex) { DoFilterSelect(ItemIndex); };
    FDropList->OnCancel = [this] { FFilterCol = -1; };
    FDropCheckList = new TDropCheckList(this);
    FDropCheckList->OnSelect = [this](int) { DoFilterCheck(); };
    FDropCheckList->OnCancel = [this] { FFilterCol = -1; };
}

void TVerIvovavOzed::HideFilterDropDown()
{
    if (FDropList)
        FDropList->hide();
    if (FDropCheckList)
        FDropCheckList->hide();
    FFilterCol = -1;
}

bool TVerIvovavOzed::FilterDropDownMouseUp(int X, int Y)
{
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const int rcol = DisplToRealCol(ACol);
    if (ACol < 0 || ARow != FFilterDropDownRow || rcol == FFilterCol) {
        HideFilterDropDown();
        return false;
    }
    const TRect R = CellRect(ACol, ARow);
    if (!(X > R.Right - 16 && X < R.Right - 3 && Y < R.Top + 19) || !FillFilterDropDown(rcol)) {
        HideFilterDropDown();
        return false;
    }
    MakeFilterLists();
    FFilterCol = rcol;
    const bool check = FFilterDropDownCheck;
    TDropListBase* list = check ? static_cast<TDropListBase*>(FDropCheckList) : FDropList;
    (check ? static_cast<TDropListBase*>(FDropList) : FDropCheckList)->hide();
    QPalette pal = list->palette();
    pal.setColor(QPalette::Base, ToQColor(FFilterDropDown->Color));
    list->setPalette(pal);
    list->setFont(FFilterDropDown->Font.ToQFont());
    list->clear();

    int widest = 0;
    const QFontMetrics fm(list->font());
    for (int i = 0; i < FFilterList.Count(); ++i) {
        const QString name = FriendlyName(FFilterList.Strings(i));
        widest = std::max(widest, fm.horizontalAdvance(name));
        if (check) {
            const QString probe = name.contains(QLatin1Char(' ')) ? QLatin1Char('"') + name + QLatin1Char('"') : name;
            bool checked = false;
            for (int k = 0; k < FFilter->Count() && !checked; ++k)
                checked = FFilter->Items(k)->Column == rcol && FFilter->Items(k)->Condition == probe;
            FDropCheckList->AddEntry(name, checked);
        } else {
            FDropList->addItem(name);
        }
    }
    if (!check && FDropList->count() > 0)
        FDropList->setCurrentRow(0);

    int w = FFilterDropDown->Width, h = FFilterDropDown->Height;
    if (FFilterDropDown->AutoSize) {
        const int itemHeight = list->count() > 0 ? list->sizeHintForRow(0) : fm.height();
        h = list->count() * itemHeight + 2 * kEdge;
        w = widest + 8 + 2 * kEdge;
    }
    int left = R.Right - 16;
    const int top = R.Top + 16;
    if (FFilterDropDown->ColumnWidth) {
        left = R.Left;
        w = R.Right - R.Left;
    }
    if (left + w > viewport()->width()) {
        TRect head = CellRect(ACol, 0);
        left = std::max(0, (head.Right > head.Left ? head.Right : R.Right) - w);
    }
    const QPoint at = viewport()->mapTo(this, QPoint(left, top));
    list->setGeometry(at.x(), at.y(), w, h);
    list->show();
    list->raise();
    list->setFocus();
    return true;
}

void TVerIvovavOzed::DoFilterCheck()
{
    if (FFilterCol < 0 || FFilterCol >= AllColCount() || !FDropCheckList)
        return;
    FillFilterDropDown(FFilterCol);
    if (FAutoFilterUpdate)
        SetFilterActive(false);
    FFilter->Clear();
    bool first = true;
    const int n = std::min(FDropCheckList->count(), FFilterList.Count());
    for (int i = 0; i < n; ++i) {
        if (!FDropCheckList->Checked(i))
            continue;
        const QString entry = FFilterList.Strings(i);
        const qsizetype eq = entry.indexOf(QLatin1Char('='));
        const QString name = eq >= 0 ? entry.left(eq) : entry;
        QString condition = eq >= 0 ? entry.mid(eq + 1) : entry;
        if (condition == FFilterDropDownClear)
            condition.clear();
        if (OnFilterCheck)
            OnFilterCheck(this, FFilterCol, i, name, condition, FDropCheckList);
        TFilterData* d = FFilter->Add();
        d->Condition = condition;
        d->Column = int16_t(FFilterCol);
        d->Operation = first ? foNONE : foOR;
        first = false;
    }
    SetFilterActive(true);
    FDropCheckList->viewport()->update();
}
