# The DI transfer into NORVIK: ALT+X opens the request window preset for NORVIK, the sample DI comes
# from merlin-sim, the transfer writes a NORVIK folder made by init-norvik, the merge program takes the
# additions, and norvik check finds the indices in agreement with the tables.
[ -x "$BUILD_DIR/bin/AUXQRPX.EXE" ] || cmake --build "$BUILD_DIR" --target norvik_merge -j2
norvik="$work/norvik"
"$cli" init-norvik "$norvik" --sample >/dev/null
printf '[NORVIK]\r\nCAMINHO=%s\r\n' "$norvik" >"$PELOMIRA_WINDIR/VORDA.INI"
cp "$BUILD_DIR/bin/AUXQRPX.EXE" "$PELOMIRA_HOME/"

start_program
ensure_settings
xdotool key --clearmodifiers alt+x
request=$(wait_window "Importação - MERLIN" 10)
sleep 0.3
xdotool type --delay 20 "IMP 001"
sleep 0.3
shot norvik-request
press "$request" alt+i
confirm=$(wait_window "^Pelomira - DI$" 15)
sleep 0.4
shot norvik-confirmation
press "$confirm" alt+s
closing=$(wait_window "^Pelomira$" 60)
sleep 0.5
shot norvik-transfer-done
press "$closing" Return
wait_gone "^Pelomira$"
for _ in $(seq 100); do ls "$norvik" | grep -qi '^TM' || break; sleep 0.1; done
grep -q "incorporada" "$norvik/AUXQRPX.LOG" || { echo "e2e: the merge program did not take the additions" >&2; exit 1; }
"$cli" norvik check "$norvik" >"$work/norvik-check.txt" 2>&1 ||
  { echo "e2e: norvik check found faults" >&2; cat "$work/norvik-check.txt" >&2; exit 1; }
/usr/bin/python3 - "$norvik" <<'PY' || { echo "e2e: the DI is not in RIREGI.DBF" >&2; exit 1; }
import sys
from dbfread import DBF
heads = [r for r in DBF(sys.argv[1] + '/RIREGI.DBF', encoding='cp850')]
sys.exit(0 if [r['REGISTRO'] for r in heads] == ['2026001534'] else 1)
PY
quit_program
