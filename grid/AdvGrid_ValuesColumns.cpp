// The column grid's column order in an INI file.
#include "grid/AdvCGrid.h"
#include "platform/IniFile.h"

#include <vector>

namespace {
QString PositionKey(int i) { return QStringLiteral("CP") + QString::number(i); }
} // namespace

void TZidIzavodUraz::SaveColumnPositions(const QString& Key, const QString& Section)
{
    platform::TMemIniFile ini(Key);
    for (int i = 0; i < Columns().Count(); ++i)
        ini.WriteInteger(Section, PositionKey(i), Columns().Items(i)->DefIdx());
    ini.UpdateFile();
}

void TZidIzavodUraz::LoadColumnPositions(const QString& Key, const QString& Section)
{
    const platform::TMemIniFile ini(Key);
    const int n = Columns().Count();
    // One missing position leaves the grid as it is.
    for (int i = 0; i < n; ++i)
        if (ini.ReadInteger(Section, PositionKey(i), -1) == -1)
            return;
    ResetColumnOrder();
    std::vector<int> saved;
    for (int j = 0; j < n; ++j) {
        const int v = ini.ReadInteger(Section, PositionKey(j), 0);
        Columns().Items(v)->SetDefIdx(j); // a value outside the list raises the list's index error
        saved.push_back(v);
    }
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
