#pragma once
// Types of the grid's editing lifecycle and editors.
#include "gridedit/AdvInplaceEdit.h"
#include "gridedit/GridCheckBox.h"
#include "gridedit/GridCombo.h"

class TVerIvovavOzed;
// The grid's combo and check-box editor controls, made with the grid (hidden and disabled).
TGridCombo* NewGridCombo(TVerIvovavOzed* Grid);
TGridCheckBox* NewGridCheckBox(TVerIvovavOzed* Grid);
