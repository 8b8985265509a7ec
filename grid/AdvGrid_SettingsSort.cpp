// The sort settings of the string grid.
#include "grid/AdvGrid_SettingsSort.h"

#include "grid/AdvGrid.h"
#include "platform/SysUtils.h"
#include "platform/Property.h"

void TSortSettings::Assign(const TSortSettings& Source)
{
    if (&Source == this)
        return;
    TSortSettingsValues::operator=(Source);
    FUpGlyph.Assign(Source.FUpGlyph);
    FDownGlyph.Assign(Source.FDownGlyph);
    FIndexUpGlyph.Assign(Source.FIndexUpGlyph);
    FIndexDownGlyph.Assign(Source.FIndexDownGlyph);
}

void TSortSettings::SetShow(bool Value)
{
    FShow = Value;
    if (FGrid)
        FGrid->InvalidateGrid();
}

void TSortSettings::SetRow(int Value)
{
    if (FGrid && Value > FGrid->FixedRows())
        throw platform::Exception("Sort row should be smaller than number of fixed rows");
    FRow = Value;
}

void TSortSettings::RepaintHeader()
{
    if (FGrid && FGrid->FixedRows() > 0)
        FGrid->RepaintRow(FGrid->FixedRows() - 1);
}

void TSortSettings::ToggleDirection() { FDirection = FDirection == sdAscending ? sdDescending : sdAscending; }

void TSortSettings::Remove()
{
    FColumn = -1;
    if (!FGrid)
        return;
    FGrid->FSortIndexes.Clear();
    if (FGrid->FixedRows() > 0)
        FGrid->RepaintRow(FGrid->FixedRows() - 1);
}

QString TSortSettings::SaveToString() const
{
    if (FIndexShow)
        return QStringLiteral("i;") + (FGrid ? FGrid->FSortIndexes.SaveToString() : QString());
    return (FDirection == sdDescending ? QStringLiteral("d") : QStringLiteral("u")) + QString::number(FColumn);
}

void TSortSettings::LoadFromString(const QString& Value)
{
    if (Value.isEmpty())
        return;
    SetShow(true);
    if (Value.size() < 2)
        throw platform::Exception("Invalid sort settings specifier");
    if (!Value.contains(QLatin1String("i;"))) {
        FIndexShow = false;
        FDirection = Value.contains(QLatin1Char('u')) ? sdAscending : sdDescending;
        int col = 0;
        if (platform::TryStrToInt(Value.mid(1), col)) {
            FColumn = col;
            if (FGrid)
                FGrid->QSort();
        }
        return;
    }
    FIndexShow = true;
    const QString rest = Value.mid(2);
    if (rest.isEmpty() || !FGrid)
        return;
    FGrid->FSortIndexes.LoadFromString(rest);
    FGrid->QSortIndexed();
}
