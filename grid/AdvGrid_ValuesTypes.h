#pragma once
// Types of the grid's undo link, typed values, headers, highlighting, appearance writers and column positions.
#include "grid/VerIvovavOzedCheck.h"

// Steps the export and import code reports to the notification hooks.
enum TGridExportState { esExportStart, esExportNewRow, esExportDone, esExportSelRow, esExportFail, esExportNextRow };
enum TGridImportState { isImportStart, isImportNewRow, isImportDone, isImportSelRow };
