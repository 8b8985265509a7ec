// TVerIvovavOzed: the smart paste after a selection paste. A single value fills the selection;
// in a one-column or one-row selection the first two cells start a series of dates, times,
// decimal or whole numbers, or else the pasted values repeat over it; a single pasted line (or
// column) is pasted again into every further row (or column) of the selection.
#include "grid/AdvGrid.h"
#include "griddata/AdvGrid_FilesStreamTypes.h"
#include "render/RuvOdid.h"

namespace {

bool IsDateOrTime(const QString& s)
{
    return HasTwoSeparators(s) || s.contains(platform::FormatSettings().TimeSeparator);
}

} // namespace

void TVerIvovavOzed::SmartPasteAfter(int N, int R, int C)
{
    const TGridRect S = Selection();
    const int M = (S.Bottom - S.Top + 1) * (S.Right - S.Left + 1);
    auto finish = [this](bool cellsChanged) {
        ImportNotification(isImportDone, -1);
        if (cellsChanged) {
            const TGridRect s = Selection();
            DoCellsChanged(TRect{s.Left, s.Top, s.Right, s.Bottom});
        }
        RecalcFooters();
    };

    // The pasted block, ended by a line end, fits the selection exactly.
    if (N - 1 == M) {
        finish(false);
        return;
    }

    TUndoGroup group(this);

    // Writes one value with the paste events (not for the selection's top-left cell).
    auto write = [&](int c, int r, QString v, bool markCell) {
        const bool topLeft = c == S.Left && r == S.Top;
        bool allow = true;
        if (!topLeft && OnClipboardBeforePasteCell)
            OnClipboardBeforePasteCell(this, c, r, v, allow);
        if (!allow)
            return;
        PasteCellValue(c, r, v);
        if (markCell)
            CellModified(FLastCopyTopLeft, TRect{c, r, c, r}, coCopy);
        if (!topLeft && OnClipboardAfterPasteCell)
            OnClipboardAfterPasteCell(this, c, r, v);
    };
    auto editable = [&](int c, int r) { return IsEditable(RealColIndex(c), r); };

    BeforeClipboardPaste();
    const bool single = S.Left == S.Right && S.Top == S.Bottom;
    if (N == 1 && !single) {
        const int rc = RealColIndex(S.Left);
        QString value = GetCellEx(rc, S.Top);
        if (HasCheckBox(rc, S.Top)) {
            bool state = false;
            GetCheckBoxState(rc, S.Top, state);
            if (state) {
                value = CheckTrue();
                GetCheckTrue(rc, S.Top, value);
            } else {
                value = CheckFalse();
                GetCheckFalse(rc, S.Top, value);
            }
        }
        for (int c = S.Left; c <= S.Right; ++c)
            for (int r = S.Top; r <= S.Bottom; ++r)
                if (editable(c, r) || FNavigation->AllowClipboardAlways())
                    write(c, r, value, true);
    }
    AfterClipboardPaste();

    const bool oneCol = S.Left == S.Right;
    const bool oneRow = S.Top == S.Bottom;
    if (N > 1 && (oneCol || oneRow)) {
        const QString F = GetCellEx(RealColIndex(S.Left), S.Top);
        const QString G = oneCol ? GetCellEx(RealColIndex(S.Left), S.Top + 1) : GetCellEx(RealColIndex(S.Left + 1), S.Top);
        const platform::TFormatSettings& fs = platform::FormatSettings();
        // Every cell of the selection in turn; only editable cells are written, but the running
        // value moves on past the others too. A value that cannot be made ends the series.
        auto series = [&](const std::function<QString()>& value, const std::function<bool()>& advance) {
            for (int c = S.Left; c <= S.Right; ++c)
                for (int r = S.Top; r <= S.Bottom; ++r) {
                    if (editable(c, r))
                        write(c, r, value(), true);
                    if (!advance())
                        return;
                }
        };
        bool isSeries = true;
        try {
            if (IsDateOrTime(F) && IsDateOrTime(G)) {
                platform::TDateTime d1 = 0, d2 = 0;
                if (platform::TryStrToDateTime(F, d1) && platform::TryStrToDateTime(G, d2)) {
                    int y1, m1, dd1, y2, m2, dd2;
                    platform::DecodeDate(d1, y1, m1, dd1);
                    platform::DecodeDate(d2, y2, m2, dd2);
                    const double step = d2 - d1;
                    const bool asTime = !F.contains(fs.DateSeparator);
                    platform::TDateTime t = d1;
                    series(
                        [&] {
                            return asTime ? platform::FormatDateTime(fs.ShortTimeFormat, t) : platform::DateToStr(t);
                        },
                        [&] {
                            try {
                                t = DateAddParts(short(y2 - y1), short(m2 - m1), short(dd2 - dd1), step, t);
                                int y, m, d;
                                platform::DecodeDate(t, y, m, d); // a date out of range ends it
                                return true;
                            } catch (const platform::Exception&) {
                                return false;
                            }
                        });
                }
            } else if (F.contains(fs.DecimalSeparator) || G.contains(fs.DecimalSeparator)) {
                double v1 = 0, v2 = 0;
                if (platform::TryStrToFloat(F, v1) && platform::TryStrToFloat(G, v2)) {
                    const double step = v2 - v1;
                    double v = v1;
                    series([&] { return platform::Format(FloatFormat(), {v}); },
                           [&] {
                               v += step;
                               return true;
                           });
                }
            } else {
                int i1 = 0, i2 = 0;
                if (platform::TryStrToInt(F, i1) && platform::TryStrToInt(G, i2)) {
                    const int step = i2 - i1;
                    int v = i1;
                    series([&] { return QString::number(v); },
                           [&] {
                               v += step;
                               return true;
                           });
                } else
                    isSeries = false;
            }
        } catch (const platform::Exception&) {
            // A value that does not convert ends the series; the cells written stay.
        }
        if (isSeries) {
            finish(false);
            DoCellsChanged(TRect{S.Left, S.Top, S.Right, S.Bottom});
            return;
        }

        // Repeat: the pasted lines (a one-column selection) or the pasted row's fields (a
        // one-row selection) again and again.
        const int period = oneCol ? FPasteLines : FPasteFirstFields;
        if (period > 0) {
            if (oneCol) {
                const int rc = RealColIndex(S.Left);
                for (int r = S.Top + period; r <= S.Bottom; ++r)
                    if (editable(S.Left, r))
                        write(S.Left, r, GetCellEx(rc, r - period), false);
                CellModified(TPoint{S.Left, S.Top}, TRect{S.Left, S.Top + period, S.Left, S.Bottom}, coCopy);
            } else {
                for (int c = S.Left + period; c <= S.Right; ++c)
                    if (editable(c, S.Top))
                        write(c, S.Top, GetCellEx(RealColIndex(c - period), S.Top), false);
                CellModified(TPoint{S.Left, S.Top}, TRect{S.Left + period, S.Top, S.Right, S.Bottom}, coCopy);
            }
        }
    }

    int rows = 0, cols = 0;
    if (S.Bottom > S.Top && S.Left != S.Right && R == 1) {
        for (int r = S.Top + 1; r <= S.Bottom; ++r) {
            SetRow(r);
            PasteFromClipboardAt(S.Left, r, rows, cols);
        }
        SetSelection(S);
    }
    if (S.Bottom != S.Top && S.Right > S.Left && C == 1) {
        for (int c = S.Left + 1; c <= S.Right; ++c) {
            SetCol(c);
            PasteFromClipboardAt(c, S.Top, rows, cols);
        }
        SetSelection(S);
    }
    finish(true);
}
