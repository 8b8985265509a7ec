// TVerIvovavOzed: the user's column layout kept from run to run: the column-state text, and the
// per-column width and position values in an INI file or the registry.
#include "grid/AdvGrid.h"
#include "platform/IniFile.h"
#include "platform/SysUtils.h"
#include "render/AdvStyleIF.h"

#include <memory>
#include <vector>

namespace {

const QChar Hash(u'#');
const QChar Comma(u',');

// The section of ColumnSize's store: an INI file read whole and written back whole, or the
// current user's registry key Key with the section as its sub-key.
class TLayoutStore {
public:
    explicit TLayoutStore(const TColumnSize& CS) : FSection(CS.Section())
    {
        if (CS.Location() == clIniFile) {
            FIni = std::make_unique<platform::TMemIniFile>(CS.Key());
        } else {
            FReg.SetRootKey(HKEY_CURRENT_USER);
            FReg.OpenKey(CS.Key() + QLatin1Char('\\') + CS.Section(), true);
        }
    }
    int Read(const QString& Name, int Default) const
    {
        if (FIni)
            return FIni->ReadInteger(FSection, Name, Default);
        return FReg.ValueExists(Name) ? FReg.ReadInteger(Name) : Default;
    }
    void Write(const QString& Name, int Value)
    {
        if (FIni)
            FIni->WriteInteger(FSection, Name, Value);
        else
            FReg.WriteInteger(Name, Value);
    }
    // The INI file is rewritten whole, after a load as well.
    void Close()
    {
        if (FIni)
            FIni->UpdateFile();
        else
            FReg.CloseKey();
    }

private:
    QString FSection;
    std::unique_ptr<platform::TMemIniFile> FIni;
    TRegistry FReg;
};

bool StoreNamed(const TColumnSize& CS) { return !CS.Key().isEmpty() && !CS.Section().isEmpty(); }

QString ColName(int i) { return QStringLiteral("Col") + QString::number(i); }
QString PosName(int i) { return QStringLiteral("Pos") + QString::number(i); }

// For each column p from 0 to Count - 1 the positions of the order at which p stands.
std::vector<int> InverseOrder(const std::vector<int>& Order, int Count)
{
    std::vector<int> inv;
    for (int p = 0; p < Count; ++p)
        for (size_t i = 0; i < Order.size(); ++i)
            if (Order[i] == p)
                inv.push_back(int(i));
    return inv;
}

// A column order names each column of the grid at most once.
bool ValidOrder(const std::vector<int>& Order, int Count)
{
    std::vector<bool> seen(size_t(std::max(0, Count)), false);
    for (int v : Order) {
        if (v < 0 || v >= Count || seen[size_t(v)])
            return false;
        seen[size_t(v)] = true;
    }
    return true;
}

} // namespace

QString TVerIvovavOzed::ColumnStatesToString()
{
    const int n = ColCount() + NumHiddenColumns();
    QStringList widths, order, visible;
    for (int i = 0; i < n; ++i)
        widths << QString::number(i < ColCount() ? ColWidths(i) : DefaultColWidth());
    if (FColumnOrder.Count() == 0) {
        for (int i = 0; i < n; ++i)
            order << QString::number(i);
    } else {
        for (int i = 0; i < FColumnOrder.Count(); ++i)
            order << QString::number(FColumnOrder.GetInteger(i));
    }
    for (int i = 0; i < n; ++i)
        visible << (IsHiddenColumn(i) ? QStringLiteral("0") : QStringLiteral("1"));
    return QString::number(n) + Hash + widths.join(Comma) + Hash + order.join(Comma) + Hash + visible.join(Comma);
}

void TVerIvovavOzed::StringToColumnStates(const QString& Value)
{
    if (!Value.contains(Hash))
        return;
    const QStringList parts = Value.split(Hash);
    auto part = [&](int i) { return i < parts.size() ? parts[i] : QString(); };
    const QStringList widths = part(1).split(Comma);
    const int n = platform::StrToInt(part(0));
    // Every column has its width in the text; a count beyond them is a broken text, refused before
    // anything changes.
    if (n < 1 || n > widths.size())
        throw platform::EListError(
            QStringLiteral("Column count %1 does not match the %2 column widths").arg(n).arg(widths.size()));
    // The stored order is relative to the columns' first order: columns the user moved since are
    // put back there first (which also shows the hidden ones).
    ResetColumnOrder();
    FColumnOrder.Clear();
    SetColCount(n);

    const QString orderText = part(2);
    if (!orderText.isEmpty()) {
        const QStringList entries = orderText.split(Comma);
        std::vector<int> order;
        for (int i = 0; i < ColCount(); ++i) {
            if (i >= entries.size())
                throw platform::EListError(QStringLiteral("List index out of bounds (%1)").arg(i));
            const int v = platform::StrToInt(entries[i]);
            if (v != -1)
                order.push_back(v);
        }
        if (!ValidOrder(order, ColCount()))
            throw platform::EListError(QStringLiteral("Invalid column order ") + orderText);
        const std::vector<int> inv = InverseOrder(order, ColCount());
        for (int v : inv)
            FColumnOrder.Add(v);
        if (FColumnOrder.Count() > 0)
            ResetColumnOrder();
        FColumnOrder.Clear();
        for (int v : order)
            FColumnOrder.Add(v);
    }

    const QStringList visible = part(3).split(Comma);
    for (int i = ColCount() - 1; i >= 0; --i)
        if (i < visible.size() && visible[i] == QLatin1String("0"))
            HideColumn(i);

    // Stretching would undo the widths while they are set; it is switched back on afterwards, also
    // when a width fails.
    const bool stretch = FColumnSize->Stretch();
    struct TStretchBack {
        TColumnSize& CS;
        bool On;
        ~TStretchBack() { CS.SetStretch(On); }
    } back{*FColumnSize, stretch};
    FColumnSize->SetStretch(false);
    if (stretch) {
        const int sc = FColumnSize->StretchColumn() == -1 ? ColCount() - 1 : FColumnSize->StretchColumn();
        if (sc >= 0 && sc < ColCount())
            SetDefaultColWidth(ColWidths(sc));
    }
    for (int i = 0; i < ColCount(); ++i)
        SetColWidths(i, platform::StrToInt(widths[i]));
}

void TVerIvovavOzed::SaveColSizes()
{
    if (!StoreNamed(*FColumnSize))
        return;
    TLayoutStore store(*FColumnSize);
    for (int c = 0; c < ColCount(); ++c)
        store.Write(ColName(c), ColWidths(c));
    store.Close();
}

void TVerIvovavOzed::LoadColSizes()
{
    if (!StoreNamed(*FColumnSize))
        return;
    TLayoutStore store(*FColumnSize);
    for (int c = 0; c < ColCount(); ++c) {
        const int w = store.Read(ColName(c), ColWidths(c));
        if (w != ColWidths(c))
            SetColWidths(c, w);
    }
    store.Close();
}

void TVerIvovavOzed::SaveColPositions()
{
    if (!StoreNamed(*FColumnSize))
        return;
    TLayoutStore store(*FColumnSize);
    for (int i = 0; i < FColumnOrder.Count(); ++i)
        store.Write(PosName(i), FColumnOrder.GetInteger(i));
    store.Close();
}

void TVerIvovavOzed::LoadColPositions()
{
    if (!StoreNamed(*FColumnSize))
        return;
    TLayoutStore store(*FColumnSize);
    if (store.Read(PosName(0), -1) != -1) {
        const int m = ColCount() + NumHiddenColumns();
        std::vector<int> order;
        for (int i = 0; i < m; ++i) {
            const int v = store.Read(PosName(i), -1);
            if (v != -1)
                order.push_back(v);
        }
        // Only an order of exactly this grid's columns is applied: one stored for another set of
        // columns (or edited by hand) is left alone.
        if (int(order.size()) == m && ValidOrder(order, m)) {
            const std::vector<int> inv = InverseOrder(order, m);
            std::vector<int> hidden;
            for (int c = 0; c < m; ++c)
                if (IsHiddenColumn(c))
                    hidden.push_back(c);
            FColumnOrder.Clear();
            for (int v : inv)
                FColumnOrder.Add(v);
            UnHideColumnsAll();
            if (FColumnOrder.Count() > 0)
                ResetColumnOrder();
            // A hidden column is hidden again where the new order put it (column c went to
            // position inv[c]).
            for (int c : hidden)
                HideColumn(inv[size_t(c)]);
            FColumnOrder.Clear();
            for (int v : order)
                FColumnOrder.Add(v);
        }
    }
    store.Close();
}
