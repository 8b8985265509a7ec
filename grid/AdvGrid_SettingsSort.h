#pragma once
// The sort settings of the string grid.
#include "grid/BaseGrid.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TVerIvovavOzed;

class TSortSettings {
public:
    explicit TSortSettings(TVerIvovavOzed* AOwner) : FGrid(AOwner) {}
    TSortSettings(const TSortSettings&) = delete;
    TSortSettings& operator=(const TSortSettings&) = delete;
    void Assign(const TSortSettings& Source);

    bool Show() const { return FShow; }
    void SetShow(bool Value) { FShow = Value; }
    int Row() const { return FRow; }
    void SetRow(int Value) { FRow = Value; }
    int Column() const { return FColumn; }
    void SetColumn(int Value) { FColumn = Value; }
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor Value);
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor Value);
    TColor HeaderMirrorColor() const { return FHeaderMirrorColor; }
    void SetHeaderMirrorColor(TColor Value);
    TColor HeaderMirrorColorTo() const { return FHeaderMirrorColorTo; }
    void SetHeaderMirrorColorTo(TColor Value);
    TBitmap& UpGlyph() { return FUpGlyph; }
    TBitmap& DownGlyph() { return FDownGlyph; }

private:
    void RepaintHeader();
    TVerIvovavOzed* FGrid;
    bool FShow = false;
    int FRow = 0;
    int FColumn = -1;
    TColor FHeaderColor = clNone;
    TColor FHeaderColorTo = clNone;
    TColor FHeaderMirrorColor = clNone;
    TColor FHeaderMirrorColorTo = clNone;
    TBitmap FUpGlyph;
    TBitmap FDownGlyph;
};

