#pragma once
// TAsgEditBtn: a single-line edit with a small push button inside its right edge; the button or
// F4 fires OnClickBtn. TAsgUnitEditBtn adds a unit shown right of the text, chosen from a list
// through the button's popup menu; TextAndUnit joins and splits number and unit. The grid's
// edit-with-button and unit cell editors derive from them.
#include "grid/AsgButtonEdit.h"
#include "platform/StringList.h"
#include "platform/Property.h"

#include <QMenu>
#include <QPointer>
#include <functional>

using TUnitChangeEvent = std::function<void(QObject* Sender, const QString& NewUnit)>;

class TAsgEditButton;

// The push button face inside the button control.
class TAdvSpeedButton : public TAsgGlyphButton {
    Q_OBJECT
public:
    explicit TAdvSpeedButton(QWidget* AOwner = nullptr);

    KT_PROPERTY_NOTIFY(QString, Caption, update)

    // Paints the face onto a canvas of the button's size.
    void PaintTo(TCanvas& Canvas);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TAsgEditButton* ButtonOwner() const;
    QString FCaption;
};

// The button control: one speed button that always fills it.
class TAsgEditButton : public TAsgButtonControl {
    Q_OBJECT
public:
    explicit TAsgEditButton(QWidget* AOwner = nullptr);

    TAdvSpeedButton* Button() const { return FButton; }
    const TBitmap& Glyph() const { return FButton->Glyph(); }
    void SetGlyph(const TBitmap& Value) { FButton->SetGlyph(Value); }
    int NumGlyphs() const { return FButton->NumGlyphs(); }
    void SetNumGlyphs(int Value) { FButton->SetNumGlyphs(Value); }
    QString ButtonCaption() const { return FButton->Caption(); }
    void SetButtonCaption(const QString& Value) { FButton->SetCaption(Value); }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool Loading() const { return FLoading; }
    void SetLoading(bool Value);

    // A press released over the speed button: OnClick, then the focus moves.
    void Press();

    TNotifyEvent OnClick;

protected:
    void ButtonColorChanged() override { FButton->update(); }
    void resizeEvent(QResizeEvent* event) override;

private:
    TAdvSpeedButton* FButton;
    bool FFlat = false;
    bool FLoading = false;
};

class TAsgEditBtn : public TAsgButtonEdit {
    Q_OBJECT
public:
    explicit TAsgEditBtn(QWidget* AOwner = nullptr);

    bool RightAlign() const { return FRightAlign; }
    void SetRightAlign(bool Value);
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int Value);
    QString ButtonCaption() const { return FButton->ButtonCaption(); }
    void SetButtonCaption(const QString& Value) { FButton->SetButtonCaption(Value); }
    const TBitmap& Glyph() const { return FButton->Glyph(); }
    void SetGlyph(const TBitmap& Value) { FButton->SetGlyph(Value); }
    void SetIsWinXP(bool Value);
    TAsgEditButton* Button() const { return FButton; }

    // The button click; sender is the button control after a mouse press, the edit after F4.
    virtual void BtnClick(QObject* Sender);

    TRect EditRect() const override;

    TNotifyEvent OnClickBtn;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;

    int FUnitSize = 0;

private:
    bool FRightAlign = false;
    TAsgEditButton* FButton = nullptr;
    int FButtonWidth = 18;
};

class TAsgUnitEditBtn : public TAsgEditBtn {
    Q_OBJECT
public:
    explicit TAsgUnitEditBtn(QWidget* AOwner = nullptr);
    ~TAsgUnitEditBtn() override;

    const platform::TStringList& Units() const { return FUnits; }
    void SetUnits(const platform::TStringList* Value); // copies; none does nothing
    void SetUnits(const QStringList& Value);
    KT_PROPERTY_NOTIFY(QString, UnitID, update)
    int UnitSpace() const { return FUnitSize; }
    void SetUnitSpace(int Value);
    // The text followed by the unit; writing splits off the first unit the value ends with.
    QString TextAndUnit() const;
    void SetTextAndUnit(const QString& Value);

    void BtnClick(QObject* Sender) override;
    // A command of the unit menu: identifiers 1..count pick a unit, others are ignored.
    void UnitMenuCommand(int ID);
    // The unit menu while it is open (null otherwise).
    QMenu* UnitMenu() const { return FMenu; }

    TUnitChangeEvent OnUnitChanged;

protected:
    void PaintOver(TCanvas& Canvas) override;

private:
    QString FUnitID;
    platform::TStringList FUnits;
    QPointer<QMenu> FMenu;
};
