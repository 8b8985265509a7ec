// The column grid's column order in an INI file.
#include "grid/AdvCGrid.h"
#include "platform/IniFile.h"

#include <vector>

namespace {
QString PositionKey(int i) { return QStringLiteral("CP") + QString::number(i); }
} // namespace

void TZidIzavodUraz::SaveColumnPositions(const QString& Key, const QString& Section)
{
    if (Key.isEmpty() || Section.isEmpty())
        return;
    platform::TMemIniFile ini(Key);
    for (int i = 0; i < Columns().Count(); ++i)
        ini.WriteInteger(Section, PositionKey(i), Columns().Items(i)->DefIdx());
    ini.UpdateFile();
}

void TZidIzavodUraz::LoadColumnPositions(const QString& Key, const QString& Section)
{
    if (Key.isEmpty() || Section.isEmpty())
        return;
    const platform::TMemIniFile ini(Key);
    const int n = Columns().Count();
    // One missing position leaves the grid as it is.
    std::vector<int> saved;
    for (int i = 0; i < n; ++i) {
        const int v = ini.ReadInteger(Section, PositionKey(i), -1);
        if (v == -1)
            return;
        saved.push_back(v);
    }
    // Only a permutation of the positions is an order: a value naming no definition raises the
    // list's index error (after the columns are back in their first order, before any definition
    // changes); a position named twice leaves the grid as it is.
    std::vector<bool> seen(size_t(n), false);
    bool repeated = false;
    for (int v : saved) {
        if (v < 0 || v >= n) {
            ResetColumnOrder();
            (void)Columns().Items(v); // raises the list's index error
            return;
        }
        repeated = repeated || seen[size_t(v)];
        seen[size_t(v)] = true;
    }
    if (repeated)
        return;
    ResetColumnOrder();
    for (int j = 0; j < n; ++j)
        Columns().Items(saved[size_t(j)])->SetDefIdx(j);
    Columns().ResetOrganization();
    for (int k = 0; k < n; ++k)
        Columns().Items(k)->SetDefIdx(saved[size_t(k)]);
}

void TZidIzavodUraz::SaveColPositions()
{
    if (ColumnSize().Location() != clIniFile) {
        TVerIvovavOzed::SaveColPositions();
        return;
    }
    // Without a file or section name nothing is stored, as with the string grid's values.
    if (!ColumnSize().Key().isEmpty() && !ColumnSize().Section().isEmpty())
        SaveColumnPositions(ColumnSize().Key(), ColumnSize().Section());
}

void TZidIzavodUraz::LoadColPositions()
{
    if (ColumnSize().Location() != clIniFile) {
        TVerIvovavOzed::LoadColPositions();
        return;
    }
    if (!ColumnSize().Key().isEmpty() && !ColumnSize().Section().isEmpty())
        LoadColumnPositions(ColumnSize().Key(), ColumnSize().Section());
}
