#!/usr/bin/env bash
# Runs the real program on its own X server (Xvfb, with a small window manager) and drives it with
# real X input (xdotool), as a user would. One scenario per call:
#   e2e.sh <program binary> <scenario> [folder for screenshots]
# The program runs from a fresh program folder with a configuration "Plant_A" and the device
# address 127.0.0.1, so nothing is ever sent beyond loopback.
set -uo pipefail

PROGRAM=$(readlink -f "$1")
SCENARIO=$2
SHOTS=${3:-}
HERE=$(cd "$(dirname "$0")" && pwd)

. "$HERE/xserver.sh"

# ---- a fresh program folder ----
APP="$WORK/app"
mkdir -p "$APP/PROJECTS/Plant_A"
cp "$PROGRAM" "$APP/KT40917"
write_settings() { # $1: Enter jumps to the next field (1/0)
    cat >"$APP/Velmora.xml" <<EOF
<Conf_Settings><lastproj><projectname>Plant_A</projectname></lastproj><lastipadd><ipaddress>127.0.0.1</ipaddress></lastipadd><lastlang><language>English</language></lastlang><lastinternet><enable_internet>0</enable_internet><enable_update>0</enable_update><enable_jump_field_tables>$1</enable_jump_field_tables><Double_Click_Auto_Size>0</Double_Click_Auto_Size></lastinternet></Conf_Settings>
EOF
}
S7_FILE="$APP/PROJECTS/Plant_A/S7_Protocol.xml"

start_program() {
    (cd "$APP" && exec ./KT40917 >"$WORK/program.log" 2>&1) &
    APID=$!
    MAIN=$(wait_window "Configurator KT40917") || fail "the main window did not show"
}

# The S7comm access dialog from the main window's step 3 button.
open_s7() {
    click_in "$MAIN" 170 207
    S7=$(wait_window "^S7comm Access$") || fail "the S7comm access dialog did not open"
    settle 1
    S7_H=$(xdotool getwindowgeometry "$S7" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
}
# The dialog's buttons, along the bottom: OK, Cancel, Delete Row, Insert Row, ...
click_s7_button() { # x of the button's centre
    click_in "$S7" "$1" $((S7_H - 20))
}
S7_OK=72
S7_DELETE=307

s7_rows() { grep -o '<row ' "$S7_FILE" 2>/dev/null | wc -l; }
attr() { # row-number attribute: the attribute of the n-th row of the file
    grep -o '<row [^>]*>' "$S7_FILE" | sed -n "$1p" | sed -n "s/.* $2=\"\([^\"]*\)\".*/\1/p"
}

seed_three_rows() {
    local row='Enable="Y" PLC_Port="102" PLC_Type="S7300" Rack="0" Slot="2" Data_Type="Word" Data_Identifier="DB" DB_Number="5" PLC_Area="Inputs (I)" PLC_Add="100" PLC_Bit="0" PollTime="250" Position="12" Bit="0" Swap="N" SwapWord="N"'
    cat >"$S7_FILE" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<S7_Protocol><S7_Protocol_Read>
<row $row PLC_Address="10.0.0.1" Mnemonic="first"/>
<row $row PLC_Address="10.0.0.2" Mnemonic="second"/>
<row $row PLC_Address="10.0.0.3" Mnemonic="third"/>
</S7_Protocol_Read><S7_Protocol_Write/></S7_Protocol>
EOF
}

case "$SCENARIO" in
exit)
    # The window manager's close request ends the program, with its settings written.
    write_settings 0
    rm -f "$APP/Velmora.xml.stamp"
    start_program
    settle 1
    wmctrl -i -c "$MAIN"
    for _ in $(seq 1 100); do kill -0 "$APID" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$APID" 2>/dev/null && fail "the program still runs after its main window was closed"
    wait "$APID"
    rc=$?
    APID=""
    [ "$rc" -eq 0 ] || fail "exit code $rc"
    grep -q "<ipaddress>127.0.0.1</ipaddress>" "$APP/Velmora.xml" || fail "settings not written"
    ;;
exit_button)
    # The main window's own close button ends the program too.
    write_settings 0
    start_program
    settle 1
    geom=$(xdotool getwindowgeometry "$MAIN" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
    click_in "$MAIN" $((geom - 37)) 31
    for _ in $(seq 1 100); do kill -0 "$APID" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$APID" 2>/dev/null && fail "the program still runs after its close button"
    wait "$APID"
    rc=$?
    APID=""
    [ "$rc" -eq 0 ] || fail "exit code $rc"
    ;;
focus)
    # A table dialog opens with the keyboard in its grid: Enter edits, it does not press OK.
    write_settings 0
    seed_three_rows
    start_program
    open_s7
    shot "opened"
    key Right
    type_text "10.0.0.9"
    key Return
    settle
    xdotool search --onlyvisible --name "^S7comm Access$" >/dev/null || fail "Enter closed the dialog"
    click_s7_button $S7_OK
    settle 1
    [ "$(attr 1 PLC_Address)" = "10.0.0.9" ] || fail "typed address not saved: $(attr 1 PLC_Address)"
    ;;
error_once)
    # Enter on an error box closes it; its release does not press OK behind it again.
    write_settings 0
    start_program
    open_s7
    key Right
    type_text "999.0.0.1"
    key Return
    before=$(window_count)
    click_s7_button $S7_OK
    settle 1
    [ "$(window_count)" -gt "$before" ] || fail "no error box"
    shot "error"
    key Return
    settle 1
    [ "$(window_count)" -eq "$before" ] || fail "the error box came back after Enter"
    [ -e "$S7_FILE" ] && fail "an invalid table was saved"
    ;;
delete_once)
    # Delete Row and Enter on the question delete one row, once.
    write_settings 0
    seed_three_rows
    start_program
    open_s7
    key Down
    before=$(window_count)
    click_s7_button $S7_DELETE
    settle 1
    [ "$(window_count)" -gt "$before" ] || fail "no question"
    shot "question"
    key Return
    settle 1
    [ "$(window_count)" -eq "$before" ] || fail "the question came back after Enter"
    click_s7_button $S7_OK
    settle 1
    [ "$(s7_rows)" -eq 2 ] || fail "$(s7_rows) rows saved, 2 expected"
    [ "$(attr 1 PLC_Address)" = "10.0.0.1" ] && [ "$(attr 2 PLC_Address)" = "10.0.0.3" ] ||
        fail "wrong row deleted"
    ;;
jump)
    # With the Enter-jump option, Enter stores each cell and moves on; list cells pick items.
    write_settings 1
    seed_three_rows
    start_program
    open_s7
    key Right
    type_text "10.0.0.7"
    key Return
    type_text "103"
    key Return
    type_text "S"
    key Return
    type_text "1"
    key Return
    type_text "2"
    key Return
    type_text "I"
    key Return
    shot "filled"
    click_s7_button $S7_OK
    settle 1
    [ "$(attr 1 PLC_Address)" = "10.0.0.7" ] || fail "PLC_Address '$(attr 1 PLC_Address)'"
    [ "$(attr 1 PLC_Port)" = "103" ] || fail "PLC_Port '$(attr 1 PLC_Port)'"
    [ "$(attr 1 PLC_Type)" = "S7200" ] || fail "PLC_Type '$(attr 1 PLC_Type)'"
    [ "$(attr 1 Rack)" = "1" ] || fail "Rack '$(attr 1 Rack)'"
    [ "$(attr 1 Slot)" = "2" ] || fail "Slot '$(attr 1 Slot)'"
    [ "$(attr 1 Data_Type)" = "Int" ] || fail "Data_Type '$(attr 1 Data_Type)'"
    ;;
new_config)
    # Enter in the New Configuration dialog creates the configuration once; its release does not
    # press the main window's button again.
    write_settings 0
    start_program
    before=$(window_count)
    click_in "$MAIN" 170 128
    settle 1
    [ "$(window_count)" -gt "$before" ] || fail "no New Configuration dialog"
    type_text "Line_B"
    key Return
    settle 1
    [ "$(window_count)" -eq "$before" ] || fail "the dialog came back after Enter"
    [ -d "$APP/PROJECTS/Line_B" ] || fail "configuration not created"
    ;;
first_dropdown)
    # The first list editor of a fresh process opens like any later one: nothing is written,
    # the keyboard stays in the grid, Escape leaves the cell as it was.
    write_settings 0
    seed_three_rows
    start_program
    open_s7
    key Right Right Right
    type_text "S"
    settle
    shot "dropdown"
    xdotool search --onlyvisible --name "^S7comm Access$" >/dev/null || fail "the dialog closed"
    key Escape
    key Return Escape
    xdotool search --onlyvisible --name "^S7comm Access$" >/dev/null ||
        fail "Enter reached OK: the keyboard left the grid"
    click_s7_button $S7_OK
    settle 1
    [ "$(attr 1 PLC_Type)" = "S7300" ] || fail "PLC_Type '$(attr 1 PLC_Type)'"
    ;;
*)
    fail "unknown scenario"
    ;;
esac
echo "PASS [$SCENARIO]"
