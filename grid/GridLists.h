#pragma once
// Small containers the grid and its features share: an integer list with a change event and a
// comma text form, the sort index list of multi-column sorting, the list of controls placed in
// cells, a string list read and written line by line, and a picture held by file name.
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/StringList.h"
// The value types of the cell objects ride along with the lists the grid header includes.
#include "gridedit/AdvGrid_CellObjectTypes.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class TIntList;

// Change event of an integer list: the list and the cell that owns it (or -1, -1).
using TImageChangeEvent = std::function<void(TIntList* Sender, int ACol, int ARow)>;

// A list of 32-bit integers. Add, Delete and SetInteger fire OnChange; Insert, Clear do not.
class TIntList {
public:
    TIntList(int Col = -1, int Row = -1) : FCol(Col), FRow(Row) {}
    virtual ~TIntList() = default;

    int Count() const { return int(FItems.size()); }
    // Raises platform::EListError "List index out of bounds (<index>)" outside the list.
    int GetInteger(int Index) const;
    void SetInteger(int Index, int Value);
    int Items(int Index) const { return GetInteger(Index); }
    int Add(int Value);
    void Insert(int Index, int Value);
    void Delete(int Index);
    // Deletes the first entry equal to Value (through Delete); nothing when absent.
    void DeleteValue(int Value);
    bool HasValue(int Value) const;
    int IndexOf(int Value) const;
    void Clear() { FItems.clear(); }
    // Moves an entry (no event).
    void Move(int CurIndex, int NewIndex);
    void Exchange(int Index1, int Index2);

    // The entries in decimal joined by ",". Writing parses comma text (separated by "," or
    // blanks, double quotes group) and adds each entry; a non-integer entry raises
    // platform::EConvertError after the entries before it were added.
    QString StrValue() const;
    void SetStrValue(const QString& Value);

    int Col() const { return FCol; }
    int Row() const { return FRow; }

    TImageChangeEvent OnChange;

protected:
    void Changed();
    void CheckIndex(int Index) const;
    std::vector<int> FItems;

private:
    int FCol;
    int FRow;
};

// Sort columns in priority order: bits 0-30 the column, bit 31 set for descending.
class TSortIndexList : public TIntList {
public:
    using TIntList::TIntList;

    void AddIndex(int ColumnIndex, bool Ascending);
    // Position of the first entry of the column; -1 when none.
    int FindIndex(int ColumnIndex) const;
    // Flips the direction of the column's first entry; nothing when it is not in the list.
    void ToggleIndex(int ColumnIndex);
    int GetSortColumns(int i) const;
    void SetSortColumns(int i, int Value);
    // True for ascending.
    bool GetSortDirections(int i) const;
    void SetSortDirections(int i, bool Value);
    // Text form: "u" or "d" and the column, entries joined by ";" (u2;d0).
    QString SaveToString() const;
    // Reads the text form; entries shorter than 2 characters and negative columns are skipped.
    void LoadFromString(const QString& s);
};

// A control shown in a cell (the control is not owned).
class TControlItem {
public:
    TControlItem(int X, int Y, QWidget* AObject) : FX(X), FY(Y), FObject(AObject) {}
    int X() const { return FX; }
    int Y() const { return FY; }
    QWidget* Object() const { return FObject.data(); }

private:
    int FX;
    int FY;
    QPointer<QWidget> FObject;
};

class TControlList {
public:
    TControlList() = default;
    TControlList(const TControlList&) = delete;
    TControlList& operator=(const TControlList&) = delete;

    int Count() const { return int(FItems.size()); }
    void AddControl(int X, int Y, QWidget* AObject);
    // Position of the first item placed at (X, Y); -1 when none.
    int ControlIndex(int X, int Y) const;
    // Raises platform::EListError outside the list.
    TControlItem* GetControl(int i) const;
    // Frees the item (not its control).
    void RemoveControl(int i);
    // True when some item's control is the given window.
    bool HasHandle(const QWidget* Handle) const;
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TControlItem>> FItems;
};

// A string list read line by line (ReadLn) and written in pieces (Write, WriteLn).
class TFileStringList : public platform::TStringList {
public:
    void Reset();
    bool Eof() const { return fp >= Count(); }
    // Raises platform::EStringListError past the end.
    void ReadLn(QString& s);
    void Write(const QString& s);
    void WriteLn(const QString& s);

private:
    int fp = 0;
    QString cache;
};

// A picture kept by file name: measured when the name is set, loaded again each time it is drawn.
class TFilePicture {
public:
    QString Filename() const { return FFilename; }
    // Stores the name and measures the picture; an unreadable file raises EInvalidGraphic and
    // keeps the previous size.
    void SetFilename(const QString& Value);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Draws the picture stretched into r; an empty name or an unreadable file draws nothing.
    void DrawPicture(TCanvas& Canvas, const TRect& r) const;
    void Assign(const TFilePicture& Source);

private:
    QString FFilename;
    int FWidth = 0;
    int FHeight = 0;
};
