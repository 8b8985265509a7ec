#pragma once
// DEriRevaDodo: the grid's rich text edit. A grid keeps two: a hidden one of zero size that renders,
// measures and converts the RTF cell texts, and the in-place editor of edRichEdit cells. It adds
// sub- and superscript for the selection, the size its content asks for, growing the row while
// typing, and the keys that leave the editor for the grid.
#include "grid/AdvGrid.h"
#include "platform/Keys.h"
#include "platform/Property.h"

#include <QTextEdit>

class DEriRevaDodo : public QTextEdit, public IRichEditStream {
    Q_OBJECT
public:
    // The owner must be a grid; the editor is placed on its cell area.
    explicit DEriRevaDodo(TVerIvovavOzed* AOwner);

    // Settings here act at once; kept for the callers that recreate the editor before placing it.
    void ReCreate() {}

    // The width and height the content last asked for.
    int ReqHeight() const { return FReqHeight; }
    int ReqWidth() const { return FReqWidth; }
    // Set while the grid loads a cell into the editor, so that the load does not resize the row.
    KT_PROPERTY(bool, Locked)

    // The selection's baseline offset: 0, 40 twips below, 40 twips above.
    void SelNormal();
    void SelSubscript();
    void SelSuperscript();
    bool IsSelNormal() const;
    bool IsSelSubscript() const;
    bool IsSelSuperscript() const;

    // The rectangle the text is laid out in, in the editor's coordinates (exclusive right and
    // bottom).
    void SetFormatRect(const TRect& R);

    // IRichEditStream: the content as RTF.
    void Clear() override;
    void LoadFromStream(const QByteArray& Data) override;
    QByteArray SaveToStream() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The key-down step after the editor's own: Tab to the next cell, Up and Down to the next row.
    bool KeyDownStep(Word Key, TShiftState Shift);
    // The content asks for a new size (the document's layout changed size).
    void RequestResize(const QSizeF& Size);
    void SetSelOffset(int Twips);
    int SelOffset() const;
    bool Editing() const;

    TVerIvovavOzed* FGrid;
    int FReqHeight = 0;
    int FReqWidth = 0;
    bool FLocked = false;
};
