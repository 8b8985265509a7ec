// The column grid's column order in an INI file.
#include "grid/AdvCGrid.h"

#include <QSettings>
#include <vector>

namespace {
QString PositionKey(const QString& Section, int i) { return Section + QStringLiteral("/CP") + QString::number(i); }
} // namespace

void TZidIzavodUraz::SaveColumnPositions(const QString& Key, const QString& Section)
{
    QSettings ini(Key, QSettings::IniFormat);
    for (int i = 0; i < Columns().Count(); ++i)
        ini.setValue(PositionKey(Section, i), Columns().Items(i)->DefIdx());
    ini.sync();
}

void TZidIzavodUraz::LoadColumnPositions(const QString& Key, const QString& Section)
{
    QSettings ini(Key, QSettings::IniFormat);
    const int n = Columns().Count();
    // One missing position leaves the grid as it is.
    for (int i = 0; i < n; ++i)
        if (platform::StrToIntDef(ini.value(PositionKey(Section, i)).toString(), -1) == -1)
            return;
    ResetColumnOrder();
    std::vector<int> saved;
    for (int j = 0; j < n; ++j) {
        const int v = platform::StrToIntDef(ini.value(PositionKey(Section, j)).toString(), 0);
        Columns().Items(v)->SetDefIdx(j); // a value outside the list raises the list's index error
        saved.push_back(v);
    }
    Columns().ResetOrganization();
    for (int k = 0; k < n; ++k)
        Columns().Items(k)->SetDefIdx(saved[size_t(k)]);
}
