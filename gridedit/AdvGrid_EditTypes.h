#pragma once
// Types of the grid's editing lifecycle and editors.
#include "gridedit/AdvInplaceEdit.h"
#include "gridedit/GridButton.h"
#include "gridedit/GridCheckBox.h"
#include "gridedit/GridCombo.h"
#include "gridedit/GridDatePicker.h"
#include "gridedit/EditLink.h"
#include "gridedit/GridEditBtn.h"
#include "gridedit/GridSpin.h"
#include "gridedit/GridTransEdit.h"

#include <QFocusEvent>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>
#include <typeinfo>

// The drop-down cell editors (gridedit/GridDropDownEditors.h).
template <class Base>
class TGridDropDownEditor;
class TGridTrackbarDropDown;
class TGridMemoDropDown;
class TGridCalculatorDropDown;
class TGridTimepickerDropDown;
class TGridDetailPickerDropDown;
class TGridGridDropDown;
class TGridAdvGridDropDown;
class TGridColorDropDown;
class TGridImageDropDown;
class TAdvCustomDropDown;

// Posts a typed character to an editor control, so that it arrives after the control has the focus
// (the start character of an edit begun by typing).
void PostEditorChar(QWidget* target, QChar ch);
// The grid takes the focus from its editor with its always-edit navigation off, so that no editor
// reopens.
class TVerIvovavOzed;
void FocusGridQuietly(TVerIvovavOzed* g);
// An editor control lost the focus: unless its own pop-up took it, the grid's edit ends while
// `editing` holds. No error leaves the focus handler.
void EndEditOnFocusOut(TVerIvovavOzed* g, const QFocusEvent* event, bool editing);
// The keys that end an edit and move on in the grid: Enter, Escape, the page keys, End and the
// arrows.
bool IsEditEndingKey(Word Key);
// The clipboard's text for a paste into an editor of the current cell, as the grid's paste events
// leave it in `text`; false when there is none or an event refused it.
bool ClipboardTextToPaste(TVerIvovavOzed* g, QObject* editor, QString& text);
// A single line break at the very end of a pasted text is dropped; texts of several lines keep
// theirs.
void DropFinalLineBreak(QString& text);

class TVerIvovavOzed;
// The grid's combo, check-box, button and edit-with-button editor controls, made with the grid (hidden and disabled).
TGridCombo* NewGridCombo(TVerIvovavOzed* Grid);
TGridCheckBox* NewGridCheckBox(TVerIvovavOzed* Grid);
TGridButton* NewGridButton(TVerIvovavOzed* Grid);
TGridEditBtn* NewGridEditBtn(TVerIvovavOzed* Grid);
TGridUnitEditBtn* NewGridUnitEditBtn(TVerIvovavOzed* Grid);
TGridTransEdit* NewGridTransEdit(TVerIvovavOzed* Grid);
TGridTransCombo* NewGridTransCombo(TVerIvovavOzed* Grid);

// What the balloon at the editor said when the grid last refused a value, and where it showed.
struct TInvalidEntryBalloon {
    QString Title;
    QString Text;
    int Icon = 0; // a TInvalidEntryIcon value
    QPointer<QWidget> At;
    bool Shown = false;
};
