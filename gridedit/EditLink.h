#pragma once
// TEditLink: the component through which a program plugs its own editor control into the grid. A
// cell of editor type edCustom is edited by the control the grid's EditLink (in the column grid,
// the column's link) creates, in place over the cell or in a frameless stay-on-top pop-up form.
// The grid drives the link through the virtual operations below; the link turns keys into the end
// of the edit, gives the old value back on Escape and keeps its pop-up form for reuse.
#include "platform/Keys.h"
#include "platform/Graphics.h"
#include "platform/Property.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>

class TVerIvovavOzed;
class TFont;

enum TEditStyle { esInplace, esPopup };

// The frameless stay-on-top form a pop-up link edits in; losing the active state runs FormExit.
class TEditLinkPopup : public QWidget {
    Q_OBJECT
public:
    explicit TEditLinkPopup(class TEditLink* ALink);
    // Runs the link's FormExit as the form's deactivation does.
    void Deactivate();

protected:
    bool event(QEvent* e) override;

private:
    class TEditLink* FLink;
    bool FInExit = false;
};

class TEditLink : public QObject {
    Q_OBJECT
public:
    explicit TEditLink(QObject* AOwner = nullptr);
    ~TEditLink() override;

    // ---- operations a descendant overrides
    // The key handling of the link; a descendant hooks its control's key-down to it.
    virtual void EditKeyDown(QObject* Sender, Word& Key, TShiftState Shift);
    virtual QWidget* GetEditControl() { return nullptr; }
    virtual void CreateEditor(QWidget* AParent) { (void)AParent; }
    virtual void DestroyEditor() {}
    virtual void SetFocus(bool Value);
    virtual void SetRect(TRect r);
    virtual void SetVisible(bool Value);
    virtual void SetProperties() {}
    virtual void SetCellProps(TColor AColor, TFont& AFont)
    {
        (void)AColor;
        (void)AFont;
    }
    virtual QString GetEditorValue() { return QString(); }
    virtual void SetEditorValue(const QString& s) { (void)s; }

    // ---- steps
    void EditExit(QObject* Sender);
    void FormExit(QObject* Sender);
    QWidget* GetParent() const;
    QString GetCellValue() const;
    void SetCellValue(const QString& s);
    void HideEditor();
    void RestoreWinProc();

    // ---- properties
    TVerIvovavOzed* Grid() const { return FGrid; }
    // Real column and row of the cell being edited.
    QPoint EditCell() const { return FEditCell; }
    KT_PROPERTY(bool, AutoPopupWidth)
    KT_PROPERTY(TEditStyle, EditStyle)
    KT_PROPERTY(int, PopupLeft)
    KT_PROPERTY(int, PopupTop)
    KT_PROPERTY(int, PopupWidth)
    KT_PROPERTY(int, PopupHeight)
    KT_PROPERTY(bool, WantKeyLeftRight)
    KT_PROPERTY(bool, WantKeyUpDown)
    KT_PROPERTY(bool, WantKeyHomeEnd)
    KT_PROPERTY(bool, WantKeyPriorNext)
    KT_PROPERTY(bool, WantKeyReturn)
    KT_PROPERTY(bool, WantKeyEscape)
    KT_PROPERTY(bool, WantReturns)
    KT_PROPERTY(bool, WantTabs)
    KT_PROPERTY(int, Tag)
    // The pop-up form (made by the grid at the first pop-up edit, then reused).
    TEditLinkPopup* PopupForm() const { return FPopupForm.data(); }
    bool Subclassed() const { return FSubClassed; }

protected:
    // The grid takes the focus with FForcedExit set for the duration.
    void FocusGridForced();

private:
    friend class TVerIvovavOzed;
    friend class TEditLinkPopup;
    friend class TEditLinkFilter;

    TVerIvovavOzed* FGrid = nullptr;
    bool FWantKeyLeftRight = false;
    bool FWantKeyUpDown = false;
    bool FWantKeyHomeEnd = false;
    bool FWantKeyPriorNext = false;
    bool FWantKeyReturn = false;
    bool FWantKeyEscape = false;
    TEditStyle FEditStyle = esInplace;
    QPointer<TEditLinkPopup> FPopupForm;
    int FPopupWidth = 0;
    int FPopupHeight = 0;
    bool FForcedExit = false;
    QPoint FEditCell;
    int FTag = 0;
    bool FAutoPopupWidth = false;
    int FPopupLeft = -1;
    int FPopupTop = -1;
    bool FSubClassed = false;
    bool FWantReturns = false;
    bool FWantTabs = false;
    QPointer<QObject> FFilter;
    QPointer<QWidget> FSubclassedControl;
};
