#!/usr/bin/env bash
# Runs the grid harness (three grids in one window) on its own X server and drives the grid
# library's own user paths with real X input, as a user would. One scenario per call:
#   grid_e2e.sh <harness binary> <scenario> [folder for screenshots]
set -uo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)

. "$HERE/xserver.sh"
HARNESS=$BINARY

DUMP="$WORK/cells.txt"
"$HARNESS" "$DUMP" >"$WORK/harness.log" 2>&1 &
APID=$!
WIN=$(wait_window "^Grid harness$") || fail "the harness window did not show"
settle 1

# The cells of the window, as the harness writes them when it is closed.
close_and_dump() {
    wmctrl -c "Grid harness"
    for _ in $(seq 1 50); do
        kill -0 "$APID" 2>/dev/null || break
        sleep 0.1
    done
    APID=""
    [ -f "$DUMP" ] || fail "no cells were written"
}
cell() { # grid col row
    sed -n "s/^$1 $3: //p" "$DUMP" | awk -F'|' -v c=$(($2 + 1)) '{print $c}'
}
expect_cell() { # grid col row text
    [ "$(cell "$1" "$2" "$3")" = "$4" ] || fail "$1 ($2, $3) is '$(cell "$1" "$2" "$3")'"
}
dumped() { # what follows "<label>: " in the dump
    sed -n "s/^$1: //p" "$DUMP"
}

# Geometry of the harness: grid A at (10, 10), grid B at (500, 10), grid C at (10, 290), grid D at
# (10, 560); column 0 is 40 pixels wide, the others 100; rows are ROW_H high.
ROW_H=${ROW_H:-22}
cell_x() { echo $(($1 + 40 + ($2 - 1) * 100 + 50)); } # grid-left col
cell_y() { echo $(($1 + $2 * ROW_H + ROW_H / 2)); }   # grid-top row

# Presses at a point of the window, moves in small steps to another and releases there.
drag_in() { # x1 y1 x2 y2
    xdotool mousemove --window "$WIN" "$1" "$2"
    settle 0.3
    xdotool mousedown 1
    settle 0.2
    local i
    for i in 1 2 3 4 5 6 7 8 9 10; do
        xdotool mousemove --window "$WIN" $(($1 + ($3 - $1) * i / 10)) $(($2 + ($4 - $2) * i / 10))
        sleep 0.08
        [ $i = 8 ] && shot "dragging"
    done
    settle 0.3
    xdotool mouseup 1
    settle 0.6
}

case "$SCENARIO" in
drag_cells)
    # A selected cell of grid A dragged onto grid B moves there; B's footer sums it.
    click_in "$WIN" "$(cell_x 10 1)" "$(cell_y 10 1)"
    drag_in "$(cell_x 10 1)" "$(cell_y 10 1)" "$(cell_x 500 1)" "$(cell_y 10 2)"
    shot "dropped"
    close_and_dump
    expect_cell B 1 2 "10"
    [ "$(cell A 1 1)" = "" ] || fail "A (1, 1) is '$(cell A 1 1)' after a move"
    [ "$(cell B 1 7)" = "10.00" ] || fail "B's footer sum is '$(cell B 1 7)'"
    ;;
resize_selection)
    # The corner of a one-cell selection dragged two rows down copies the cell into them.
    click_in "$WIN" "$(cell_x 10 2)" "$(cell_y 10 1)"
    drag_in $((10 + 40 + 200 - 3)) $((10 + 2 * ROW_H - 3)) "$(cell_x 10 2)" "$(cell_y 10 3)"
    shot "resized"
    close_and_dump
    expect_cell A 2 2 "a21"
    expect_cell A 2 3 "a21"
    expect_cell A 2 4 "a24"
    ;;
dropdown_editor)
    # The detail picker opened from the keyboard writes the chosen item.
    click_in "$WIN" "$(cell_x 10 1)" "$(cell_y 290 1)"
    key F2
    key alt+Down
    shot "open"
    key Down
    key Return
    settle 0.5
    close_and_dump
    expect_cell C 1 1 "Alpha"
    ;;
rich_editor)
    # Text typed into the rich-text editor is stored as rich text when a click ends the edit.
    click_in "$WIN" "$(cell_x 10 2)" "$(cell_y 290 1)"
    key F2
    type_text "Hello"
    shot "typing"
    click_in "$WIN" "$(cell_x 10 2)" "$(cell_y 290 3)"
    close_and_dump
    case "$(cell C 2 1)" in
    "{\\rtf"*Hello*) ;;
    *) fail "C (2, 1) is '$(cell C 2 1)'" ;;
    esac
    ;;
column_move)
    # Grid D's column 3 dragged by its header onto column 1: the cells move and the sort column
    # (2) follows to 3, where its cells went.
    drag_in "$(cell_x 10 3)" "$(cell_y 560 0)" "$(cell_x 10 1)" "$(cell_y 560 0)"
    shot "moved"
    close_and_dump
    expect_cell D 1 2 "d32"
    expect_cell D 2 2 "d12"
    expect_cell D 3 2 "d22"
    [ "$(dumped 'D sort')" = "3" ] || fail "D's sort column is '$(dumped 'D sort')'"
    ;;
row_header_drag)
    # Pressing on the row header of row 1 and dragging down to row 4 selects rows 1 to 4 whole.
    drag_in 30 "$(cell_y 560 1)" 30 "$(cell_y 560 4)"
    shot "rows"
    close_and_dump
    [ "$(dumped 'D selection')" = "1,1,4,4" ] || fail "D's selection is '$(dumped 'D selection')'"
    ;;
html_combo)
    # The combo control of cell (2, 4) drops down on a click; the third entry is chosen with the
    # keys, and a click on another cell ends the choice into the cell text.
    click_in "$WIN" $((10 + 40 + 100 + 8)) "$(cell_y 560 4)"
    shot "dropped"
    key Down Down Return
    click_in "$WIN" "$(cell_x 10 1)" "$(cell_y 560 1)"
    shot "chosen"
    close_and_dump
    case "$(cell D 2 4)" in
    *'VALUE="three"'*) ;;
    *) fail "D (2, 4) is '$(cell D 2 4)'" ;;
    esac
    ;;
*)
    fail "unknown scenario"
    ;;
esac
echo "PASS [$SCENARIO]"
