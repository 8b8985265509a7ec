#!/usr/bin/env bash
# Runs the libFuzzer targets of tests/fuzz (from the test build, scripts/build-test.sh) each for a
# bounded time, seeded from tests/fixtures. A crash stops the run; the input that caused it is kept in the build
# folder (crash-*) to become a regression fixture.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build}
JOBS=${JOBS:-$(nproc)}
# 30 s each keeps the whole stage under five minutes on two cores (the targets run JOBS at a time).
FUZZ_SECONDS=${FUZZ_SECONDS:-30}
# A fixed seed makes a run repeatable, so a finding shows up again on the same tree; FUZZ_SEED=0
# lets libFuzzer pick a new one (exploratory runs).
FUZZ_SEED=${FUZZ_SEED:-1}
./scripts/build-test.sh
FX="$PWD/tests/fixtures"
SUPP="$PWD/scripts/sanitizers"
export QT_QPA_PLATFORM=offscreen
# Leaks are the suite's concern (scripts/sanitize.sh); here every loop is one process.
export ASAN_OPTIONS="detect_leaks=0:suppressions=$SUPP/asan.supp"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$SUPP/ubsan.supp"
cd "$BUILD_DIR/tests/fuzz"

# Seeds: the hand-made fixtures each reader takes.
seed() {  # seed <target> <files...>
  local dir="corpus/$1"; shift
  mkdir -p "$dir"
  for f in "$@"; do [ -f "$f" ] && cp "$f" "$dir/" ; done
  return 0
}
seed fuzz_xml "$FX"/xml/* "$FX"/pargen/* "$FX"/settings/* "$FX"/boot/* "$FX"/tables/*.xml "$FX"/tables/*/*.xml
seed fuzz_tables "$FX"/tables/*.xml "$FX"/tables/*/*.xml "$FX"/generators/*.xml
seed fuzz_settings "$FX"/settings/*
seed fuzz_pargen "$FX"/pargen/* "$FX"/compiler/pargen_*/* "$FX"/generators/ParGen_*.xml
seed fuzz_generators "$FX"/generators/*.xml "$FX"/pargen/*
seed fuzz_language "$FX"/language/*
seed fuzz_pictures "$FX"/pictures/*
seed fuzz_html "$FX"/html/*
seed fuzz_filter "$FX"/filter/*
seed fuzz_number_format "$FX"/numbers/*
seed fuzz_rtf "$FX"/rtf/*
seed fuzz_workbook "$FX"/exchange/*.xls
# A small hand-made .xlsx package: two sheets, shared and inline strings, a number.
python3 - "corpus/fuzz_workbook/two_sheets.xlsx" <<'PY'
import sys, zipfile
parts = {
 "[Content_Types].xml": '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/></Types>',
 "_rels/.rels": '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>',
 "xl/workbook.xml": '<?xml version="1.0"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="One" sheetId="1" r:id="rId1"/><sheet name="Two" sheetId="2" r:id="rId2"/></sheets></workbook>',
 "xl/_rels/workbook.xml.rels": '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/sheet2.xml"/><Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/></Relationships>',
 "xl/sharedStrings.xml": '<?xml version="1.0"?><sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="2" uniqueCount="2"><si><t>Name</t></si><si><r><t>Ri</t></r><r><t>ch</t></r></si></sst>',
 "xl/worksheets/sheet1.xml": '<?xml version="1.0"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><dimension ref="B2:C3"/><sheetData><row r="2"><c r="B2" t="s"><v>0</v></c><c r="C2" t="s"><v>1</v></c></row><row r="3"><c r="B3"><v>1.5</v></c><c r="C3" t="inlineStr"><is><t>x</t></is></c></row></sheetData></worksheet>',
 "xl/worksheets/sheet2.xml": '<?xml version="1.0"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData><row r="1"><c r="AA1" t="b"><v>1</v></c></row></sheetData></worksheet>',
}
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    for name, text in parts.items():
        z.writestr(name, text)
PY
# The grid's readers: the first byte picks the reader (see fuzz_grid_files.cpp).
mkdir -p corpus/fuzz_grid_files
gseed() {  # gseed <reader byte> <files...>
  local b="$1"; shift
  for f in "$@"; do
    [ -f "$f" ] && { printf "\\x$b"; cat "$f"; } > "corpus/fuzz_grid_files/$b-$(basename "$f")"
  done
  return 0
}
gseed 00 "$FX"/griddata/*.txt
gseed 01 "$FX"/griddata/*.csv
gseed 02 "$FX"/griddata/fixed.txt
gseed 03 "$FX"/griddata/layout/*.ini
gseed 04 "$FX"/griddata/layout/visual.txt
gseed 05 "$FX"/griddata/layout/print_*.ini
gseed 06 "$FX"/griddata/xml/*.xml
gseed 07 "$FX"/griddata/stream/*
gseed 0a "$FX"/colstream/*.bin
for t in "u1" "d2" "i;u1;d3" "i;u2;d1" "i;"; do printf "\x08%s" "$t" > "corpus/fuzz_grid_files/08-$t"; done
# The compiler takes its three files in one input, each ended by a line "====".
mkdir -p corpus/fuzz_compiler
for d in "$FX"/compiler/*/; do
  out="corpus/fuzz_compiler/$(basename "$d")"
  : > "$out"
  for name in ParGen.xml S7_Protocol.xml OPC_UA_Server.xml; do
    [ -f "$d/$name" ] && cat "$d/$name" >> "$out"
    printf '\n====\n' >> "$out"
  done
done

# The targets run side by side, each for the same bounded time.
pids=()
names=()
for exe in fuzz_*; do
  [ -f "$exe" ] && [ -x "$exe" ] || continue
  mkdir -p "corpus/$exe" "artifacts/$exe"
  ./"$exe" -max_total_time="$FUZZ_SECONDS" -seed="$FUZZ_SEED" -timeout=20 -rss_limit_mb=4096 -max_len=65536 \
    -artifact_prefix="artifacts/$exe/" -print_final_stats=1 "corpus/$exe" > "$exe.log" 2>&1 &
  pids+=($!)
  names+=("$exe")
  # At most JOBS at a time.
  while [ "$(jobs -rp | wc -l)" -ge "$JOBS" ]; do sleep 1; done
done
status=0
for i in "${!pids[@]}"; do
  if ! wait "${pids[$i]}"; then
    echo "FUZZ FAILURE in ${names[$i]}:"; tail -40 "${names[$i]}.log"; status=1
  else
    echo "${names[$i]}: $(grep -E 'stat::number_of_executed_units' "${names[$i]}.log" | awk '{print $2}') runs, clean"
  fi
done
exit $status
