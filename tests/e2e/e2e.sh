#!/usr/bin/env bash
# Runs the real program on its own X server (Xvfb, with a small window manager) and drives it with
# real X input (xdotool), as a user would. One scenario per call:
#   e2e.sh <program binary> <scenario> [folder for screenshots]
# The program runs from a fresh program folder with a configuration "Plant_A" and the device
# address 127.0.0.1, so nothing is ever sent beyond loopback.
set -uo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)

. "$HERE/xserver.sh"
PROGRAM=$BINARY

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

window_height() { xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p'; }
# Waits up to ten seconds for the program to end.
wait_program_end() {
    for _ in $(seq 1 100); do kill -0 "$APID" 2>/dev/null || break; sleep 0.1; done
}
# The program has ended ($1: after what) with exit code 0.
expect_clean_exit() {
    wait_program_end
    kill -0 "$APID" 2>/dev/null && fail "the program still runs after $1"
    wait "$APID"
    rc=$?
    APID=""
    [ "$rc" -eq 0 ] || fail "exit code $rc"
}

# The S7comm access dialog from the main window's step 3 button.
open_s7() {
    click_in "$MAIN" 170 207
    S7=$(wait_window "^S7comm Access$") || fail "the S7comm access dialog did not open"
    settle 1
    S7_H=$(window_height "$S7")
}
# The dialog's buttons, along the bottom: OK, Cancel, Delete Row, Insert Row, ...
click_s7_button() { # x of the button's centre
    click_in "$S7" "$1" $((S7_H - 20))
}
S7_OK=72
S7_DELETE=307
# A button of the dialog puts up a box that Enter closes, once: button-x what shot-name.
box_closed_by_enter() {
    before=$(window_count)
    click_s7_button "$1"
    settle 1
    [ "$(window_count)" -gt "$before" ] || fail "no $2"
    shot "$3"
    key Return
    settle 1
    [ "$(window_count)" -eq "$before" ] || fail "the $2 came back after Enter"
}

s7_rows() { grep -o '<row ' "$S7_FILE" 2>/dev/null | wc -l; }
file_attr() { # file row-number attribute: the attribute of the n-th row of the file
    grep -o '<row [^>]*>' "$1" | sed -n "$2p" | sed -n "s/.* $3=\"\([^\"]*\)\".*/\1/p"
}
attr() { file_attr "$S7_FILE" "$1" "$2"; }
# The attribute of a row of a file is the value expected: file row-number attribute value.
expect_file_attr() {
    [ "$(file_attr "$1" "$2" "$3")" = "$4" ] || fail "row $2 $3 '$(file_attr "$1" "$2" "$3")'"
}
expect_attr() { expect_file_attr "$S7_FILE" "$@"; }

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

# ---- Escape, the settings file, the update program, the OPC UA types ----
visible() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
# Windows of the program that are shown, pop-up lists included.
app_windows() { xdotool search --onlyvisible --pid "$APID" 2>/dev/null | wc -l; }
OPC_FILE="$APP/PROJECTS/Plant_A/OPC_UA_Server.xml"

case "$SCENARIO" in
exit)
    # The window manager's close request ends the program, with its settings written.
    write_settings 0
    rm -f "$APP/Velmora.xml.stamp"
    start_program
    settle 1
    wmctrl -i -c "$MAIN"
    expect_clean_exit "its main window was closed"
    grep -q "<ipaddress>127.0.0.1</ipaddress>" "$APP/Velmora.xml" || fail "settings not written"
    ;;
exit_button)
    # The main window's own close button ends the program too.
    write_settings 0
    start_program
    settle 1
    geom=$(xdotool getwindowgeometry "$MAIN" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
    click_in "$MAIN" $((geom - 37)) 31
    expect_clean_exit "its close button"
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
    box_closed_by_enter $S7_OK "error box" "error"
    [ -e "$S7_FILE" ] && fail "an invalid table was saved"
    ;;
delete_once)
    # Delete Row and Enter on the question delete one row, once.
    write_settings 0
    seed_three_rows
    start_program
    open_s7
    key Down
    box_closed_by_enter $S7_DELETE "question" "question"
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
    expect_attr 1 PLC_Address "10.0.0.7"
    expect_attr 1 PLC_Port "103"
    expect_attr 1 PLC_Type "S7200"
    expect_attr 1 Rack "1"
    expect_attr 1 Slot "2"
    expect_attr 1 Data_Type "Int"
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
    expect_attr 1 PLC_Type "S7300"
    ;;
escape_table)
    # Escape ends only what it belongs to: nothing after an edit, the list in an open drop-down,
    # the editor in a cell; the table dialog and its edits stay.
    write_settings 0
    seed_three_rows
    start_program
    open_s7
    key Right
    type_text "10.0.0.9"
    key Return
    key Escape
    settle
    visible "^S7comm Access$" || fail "Escape after an edit closed the dialog"
    key Right Right F2
    base=$(app_windows)
    key F4
    settle
    [ "$(app_windows)" -gt "$base" ] || fail "the PLC Type list did not open"
    key Down
    shot "list"
    key Escape
    settle
    [ "$(app_windows)" -eq "$base" ] || fail "Escape left the list open"
    visible "^S7comm Access$" || fail "Escape in the open list closed the dialog"
    key Escape
    settle
    visible "^S7comm Access$" || fail "Escape in the list editor closed the dialog"
    key Right
    type_text "3"
    key Escape
    settle
    visible "^S7comm Access$" || fail "Escape in the text editor closed the dialog"
    click_s7_button $S7_OK
    settle 1
    visible "^S7comm Access$" && fail "OK did not close the dialog"
    [ "$(attr 1 PLC_Address)" = "10.0.0.9" ] || fail "the edit was lost: PLC_Address '$(attr 1 PLC_Address)'"
    expect_attr 1 PLC_Type "S7300"
    expect_attr 1 Rack "0"
    ;;
escape_dialogs)
    # No dialog of the program closes on Escape; each closes by its close box.
    write_settings 0
    start_program
    while read -r x y title; do
        click_in "$MAIN" "$x" "$y"
        id=$(wait_window "$title") || fail "no window '$title'"
        settle
        key Escape
        settle
        visible "$title" || fail "Escape closed '$title'"
        wmctrl -i -c "$id"
        settle 1
        visible "$title" && fail "'$title' did not close by its close box"
    done <<'LIST'
170 128 ^Create New Configuration$
340 128 ^Open Configuration$
170 163 ^Set Communication$
170 207 ^S7comm Access$
170 251 ^Definition of OPC UA Server Variables$
170 295 ^Update Device by Ethernet
526 18 ^About
584 18 ^Software Options$
LIST
    ;;
settings_damaged)
    # A damaged settings file is told once at start, and kept as Velmora.xml.bak when the
    # settings are written again at close.
    printf '<Conf_Settings><lastproj><projectname>Plant_A</projectname></lastproj><lastipadd><ipadd' \
        >"$APP/Velmora.xml"
    cp "$APP/Velmora.xml" "$WORK/damaged"
    (cd "$APP" && exec ./KT40917 >"$WORK/program.log" 2>&1) &
    APID=$!
    wait_window "^Warning$" >/dev/null || fail "no word about the damaged settings"
    shot "warning"
    key Return
    MAIN=$(wait_window "Configurator KT40917") || fail "the main window did not show"
    settle 1
    visible "^Warning$" && fail "the warning came back"
    wmctrl -i -c "$MAIN"
    wait_program_end
    wait "$APID"
    APID=""
    cmp -s "$APP/Velmora.xml.bak" "$WORK/damaged" || fail "the damaged file was not kept"
    grep -q "<ipaddress>192.168.2.205</ipaddress>" "$APP/Velmora.xml" || fail "the settings were not written"
    ;;
updater_missing)
    # Without the update program a good ping ends in a message naming it; with a program that
    # starts and ends, nothing is said.
    write_settings 0
    start_program
    click_in "$MAIN" 170 295
    BOOT=$(wait_window "^Update Device by Ethernet") || fail "no update dialog"
    settle
    BOOT_H=$(window_height "$BOOT")
    click_in "$BOOT" 220 $((BOOT_H - 20))
    wait_window "^Error$" >/dev/null || fail "no message about the missing update program"
    shot "missing"
    grep -q "<IP_Address_Dev>127.0.0.1</IP_Address_Dev>" "$APP/Ethernet_Update.xml" || fail "no job file"
    key Return
    settle
    visible "^Error$" && fail "the message did not close"
    visible "^Update Device by Ethernet" || fail "the update dialog closed"
    printf '#!/bin/sh\nexit 0\n' >"$APP/Ethernet_Update.exe"
    chmod +x "$APP/Ethernet_Update.exe"
    click_in "$BOOT" 220 $((BOOT_H - 20))
    settle 3
    visible "^Error$" && fail "a message although the update program ran"
    visible "^Update Device by Ethernet" || fail "the update dialog closed"
    ;;
opc_type)
    # Opening the Type list on a row without a known type and leaving it with Escape changes
    # nothing of the row; Enter keeps the list's first type, and the row follows it.
    write_settings 0
    printf '%s' '<OPC_UA_Server><OPC_UA_Server_Variables><row Enable="Y" Type="Int33" Position="0" Length="5" Name="a" ReadWrite="Read Only" Mnemonic=""/></OPC_UA_Server_Variables></OPC_UA_Server>' \
        >"$OPC_FILE"
    start_program
    click_in "$MAIN" 170 251
    OPC=$(wait_window "^Definition of OPC UA Server Variables$") || fail "no OPC UA dialog"
    settle 1
    OPC_H=$(window_height "$OPC")
    key Right F2
    shot "type_list"
    key Escape
    key Down F2
    key Return
    key Right
    type_text "1"
    key Return
    click_in "$OPC" 72 $((OPC_H - 20))
    settle 1
    visible "^Definition of OPC UA Server Variables$" && fail "OK did not close the dialog"
    expect_file_attr "$OPC_FILE" 1 Type "Int33"
    expect_file_attr "$OPC_FILE" 1 Length "5"
    expect_file_attr "$OPC_FILE" 1 ReadWrite "Read Only"
    expect_file_attr "$OPC_FILE" 2 Type "Boolean"
    expect_file_attr "$OPC_FILE" 2 Length "1"
    expect_file_attr "$OPC_FILE" 2 ReadWrite "Read/Write"
    ;;
*)
    fail "unknown scenario"
    ;;
esac
echo "PASS [$SCENARIO]"
