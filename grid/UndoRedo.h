#pragma once
// RUvaVoviVareReda: the undo list of one grid's cell edits. The grid's editing code records each
// finished edit with RegisterChange; Undo and Redo write the recorded texts back. A group of
// changes bracketed by StartSequence and StopSequence is taken back and reapplied as one step.
#include "platform/Collection.h"
#include "platform/Property.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class TBaseGrid;

// The values TUndoRedoItem::Assign copies, kept together so that one assignment copies them all.
struct TUndoRedoItemValues {
    int FRow = 0;
    int FCol = 0;
    QString FValue;
    QString FOrigValue;
    bool FSequenceStart = false;
    bool FSequenceStop = false;
};

// One recorded change, or a sequence marker (Col and Row -1, empty texts).
class TUndoRedoItem : public platform::TCollectionItem, private TUndoRedoItemValues {
public:
    KT_PROPERTY(int, Row)
    // The grid's data column (the real column when columns are hidden).
    KT_PROPERTY(int, Col)
    // The text after the change (what Redo writes).
    KT_PROPERTY(QString, Value)
    // The text before the change (what Undo writes).
    KT_PROPERTY(QString, OrigValue)
    KT_PROPERTY(bool, SequenceStart)
    KT_PROPERTY(bool, SequenceStop)

    void Assign(const platform::TCollectionItem& Source) override;

private:
};

class TUndoRedoCollection : public platform::TCollection {
public:
    TUndoRedoCollection();
    TUndoRedoItem* Item(int Index) const { return ItemAs<TUndoRedoItem>(Index); }
    TUndoRedoItem* AddItem() { return static_cast<TUndoRedoItem*>(Add()); }
};

// OrigValue: the cell's text when the event fires; NewValue: the text about to be written.
using RUvaVoviVareRedaEvent = std::function<void(QObject* Sender, TBaseGrid* Grid, int Col, int Row,
                                                 const QString& OrigValue, const QString& NewValue)>;

class RUvaVoviVareReda : public QObject {
public:
    explicit RUvaVoviVareReda(QObject* AOwner = nullptr);
    ~RUvaVoviVareReda() override;

    TUndoRedoCollection& Items() { return FItems; }
    const TUndoRedoCollection& Items() const { return FItems; }
    // The grid whose cells are written; not owned, forgotten when the grid is destroyed.
    TBaseGrid* Grid() const { return FGrid.data(); }
    void SetGrid(TBaseGrid* Value) { FGrid = Value; }
    // Items 0 .. Level - 1 are applied; items from Level on are undone.
    KT_PROPERTY(int, Level)
    // Most change items kept; 0 or less keeps all.
    KT_PROPERTY(int, MaxLevel)

    virtual void RegisterChange(int ACol, int ARow, const QString& OldValue, const QString& NewValue);
    virtual void StartSequence();
    virtual void StopSequence();

    void Undo();
    void Redo();
    void Reset();
    bool CanUndo() const { return FLevel > 0; }
    bool CanRedo() const { return FLevel < FItems.Count(); }

    RUvaVoviVareRedaEvent OnUndo;
    RUvaVoviVareRedaEvent OnRedo;

private:
    void AddMarker(bool Start);
    // Removes the undone items above Level.
    void DropUndone();
    // Fires the event, writes Text into the item's cell and makes that cell current.
    void WriteBack(const TUndoRedoItem& Item, const QString& Text, const RUvaVoviVareRedaEvent& Event);

    TUndoRedoCollection FItems;
    QPointer<TBaseGrid> FGrid;
    int FLevel = 0;
    int FMaxLevel = 0;
};
