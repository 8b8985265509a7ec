#include "grid/UndoRedo.h"

#include "grid/AdvGrid.h"

// ---- TUndoRedoItem ---------------------------------------------------------------------------

void TUndoRedoItem::Assign(const platform::TCollectionItem& Source)
{
    const auto* s = dynamic_cast<const TUndoRedoItem*>(&Source);
    if (!s) {
        platform::TCollectionItem::Assign(Source);
        return;
    }
    TUndoRedoItemValues::operator=(*s);
}

TUndoRedoCollection::TUndoRedoCollection() : platform::TCollection([] { return new TUndoRedoItem(); }) {}

// ---- RUvaVoviVareReda ------------------------------------------------------------------------

RUvaVoviVareReda::RUvaVoviVareReda(QObject* AOwner) : QObject(AOwner) {}

RUvaVoviVareReda::~RUvaVoviVareReda()
{
    // A grid that still points here must not keep a dangling link.
    if (FGrid && FGrid->UndoRedo() == this)
        FGrid->SetUndoRedo(nullptr);
}

void RUvaVoviVareReda::DropUndone()
{
    // What was undone cannot be redone once something new happened: a later Undo would
    // otherwise walk into those items and write their stale texts back.
    while (FItems.Count() > FLevel && FItems.Count() > 0)
        FItems.Delete(FItems.Count() - 1);
}

void RUvaVoviVareReda::RegisterChange(int ACol, int ARow, const QString& OldValue, const QString& NewValue)
{
    DropUndone();
    if (FMaxLevel > 0 && FItems.Count() >= FMaxLevel)
        FItems.Delete(0);
    TUndoRedoItem* item = FItems.AddItem();
    item->SetCol(ACol);
    item->SetRow(ARow);
    item->SetValue(NewValue);
    item->SetOrigValue(OldValue);
    FLevel = FItems.Count();
}

void RUvaVoviVareReda::AddMarker(bool Start)
{
    DropUndone();
    TUndoRedoItem* item = FItems.AddItem();
    item->SetCol(-1);
    item->SetRow(-1);
    item->SetSequenceStart(Start);
    item->SetSequenceStop(!Start);
    FLevel = FItems.Count();
}

void RUvaVoviVareReda::StartSequence() { AddMarker(true); }

void RUvaVoviVareReda::StopSequence() { AddMarker(false); }

void RUvaVoviVareReda::Reset()
{
    while (FItems.Count() > 0)
        FItems.Delete(0);
    FLevel = 0;
}

void RUvaVoviVareReda::WriteBack(const TUndoRedoItem& Item, const QString& Text, const RUvaVoviVareRedaEvent& Event)
{
    TBaseGrid* grid = FGrid.data();
    // A marker whose partner is gone (trimmed by MaxLevel, or never written) names no cell.
    if (Item.Col() < 0 || Item.Row() < 0)
        return;
    if (Event)
        Event(this, grid, Item.Col(), Item.Row(), grid->GetCellEx(Item.Col(), Item.Row()), Text);
    grid->SetCellEx(Item.Col(), Item.Row(), Text);
    const int dcol = grid->DisplColIndex(Item.Col());
    if (auto* adv = dynamic_cast<TVerIvovavOzed*>(grid)) {
        adv->SetCol(dcol);
        adv->SetRow(Item.Row());
    } else {
        grid->SetCol(dcol);
        grid->SetRow(Item.Row());
    }
}

void RUvaVoviVareReda::Undo()
{
    if (!FGrid || FLevel <= 0 || FItems.Count() < FLevel)
        return;
    const TUndoRedoItem* item = FItems.Item(FLevel - 1);
    if (item->SequenceStop()) {
        --FLevel;
        while (FLevel > 0 && !FItems.Item(FLevel - 1)->SequenceStart()) {
            const TUndoRedoItem* it = FItems.Item(FLevel - 1);
            WriteBack(*it, it->OrigValue(), OnUndo);
            --FLevel;
        }
        // Over the opening marker; a sequence whose opening marker was trimmed ends at 0.
        if (FLevel > 0)
            --FLevel;
        FGrid->InvalidateGrid();
    } else {
        WriteBack(*item, item->OrigValue(), OnUndo);
        if (item->Col() >= 0 && item->Row() >= 0)
            FGrid->RepaintCell(FGrid->Col(), item->Row());
        --FLevel;
    }
}

void RUvaVoviVareReda::Redo()
{
    if (!FGrid || FLevel < 0 || FLevel >= FItems.Count())
        return;
    const TUndoRedoItem* item = FItems.Item(FLevel);
    ++FLevel;
    if (item->SequenceStart()) {
        ++FLevel;
        // Also reapplies the last change of a sequence that was never closed.
        while (FLevel <= FItems.Count() && !FItems.Item(FLevel - 1)->SequenceStop()) {
            const TUndoRedoItem* it = FItems.Item(FLevel - 1);
            WriteBack(*it, it->Value(), OnRedo);
            ++FLevel;
        }
        if (FLevel > FItems.Count())
            FLevel = FItems.Count();
        FGrid->InvalidateGrid();
    } else {
        WriteBack(*item, item->Value(), OnRedo);
    }
}
