# The main window, the process request and DI transfer, the settings window, a second copy, the exit
# question and a start in the notification area.
"$bin" >"$work/pelomira.out" 2>&1 &
app=$!
pids+=($app)

sleep 0.8
shot splash
main=$(wait_window "Pelomira - Transferência de Informações" 20)
sleep 1
shot main-window
[ -f "$PELOMIRA_WINDIR/PELOMIRA.INI" ] || { echo "e2e: first-run settings were not written" >&2; exit 1; }

ensure_settings

# The process request window by its hot key, preset for a DI into the Orientador; what is typed goes
# straight into the reference box. Importar fetches the DI and hands it to the Orientador entry. Then
# the NORVIK request: kind choice disabled.
xdotool key --clearmodifiers alt+y
request=$(wait_window "Importação - MERLIN" 10)
sleep 0.3
xdotool type --delay 20 "IMP 001"
sleep 0.4
shot request-window-di
press "$request" alt+i
confirm=$(wait_window "^Pelomira - DI$" 15)
sleep 0.4
shot transfer-confirmation
grep -q "IMP%20001" "$work/sim.log" || { echo "e2e: merlin-sim was not asked for IMP 001" >&2; exit 1; }
[ -f "$PELOMIRA_HOME/TEMP.XML" ] || { echo "e2e: the document was not kept as TEMP.XML" >&2; exit 1; }
press "$confirm" alt+s
done_window=$(wait_window "^Pelomira$" 60)
sleep 0.4
shot transfer-done
id=$(sqlite3 "$work/orientador/IMPORT.MDB" 'SELECT NR_IDENT_USUARIO FROM "DECLARAÇÃO_IMPORTAÇÃO"')
[ -n "$id" ] || { echo "e2e: the DI was not written into IMPORT.MDB" >&2; exit 1; }
press "$done_window" Return
wait_gone "^Pelomira$"
xdotool key --clearmodifiers alt+x
for _ in $(seq 50); do
  [ "$(xdotool search --onlyvisible --name "Importação - MERLIN" 2>/dev/null | wc -l)" -ge 2 ] && break
  sleep 0.1
done
sleep 0.4
shot request-window-norvik

# The settings window by its system-wide hot key.
xdotool key --clearmodifiers ctrl+F12
config=$(wait_window "Pelomira - Configurações" 10)
sleep 0.5
shot settings-window
press "$config" alt+f
wait_gone "Pelomira - Configurações"

# The Manutenção menu.
press "$main" alt+m
sleep 0.7
shot maintenance-menu
press "$main" Escape Escape

# A second copy refuses to start.
"$bin" >"$work/second.out" 2>&1 &
second=$!
pids+=($second)
refusal=$(wait_window "^Pelomira$" 15)
sleep 0.5
shot second-copy-refused
press "$refusal" Return
for _ in $(seq 50); do kill -0 "$second" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$second" 2>/dev/null; then echo "e2e: the second copy did not end" >&2; exit 1; fi

# Exit through Manutenção > Sair and the question; No first keeps the program.
press "$main" alt+m s
question=$(wait_window "Pelomira - Sair" 10)
sleep 0.5
shot exit-question
press "$question" n
wait_gone "Pelomira - Sair"
kill -0 "$app" 2>/dev/null || { echo "e2e: answering No ended the program" >&2; exit 1; }
press "$main" alt+m s
question=$(wait_window "Pelomira - Sair" 10)
press "$question" Return
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then echo "e2e: the program did not end after Yes" >&2; exit 1; fi
wait "$app" || { echo "e2e: the program ended with an error" >&2; cat "$work/pelomira.out" >&2; exit 1; }

# Started with "/m": only the notification-area icon; the hot keys work all the same.
"$bin" /m >"$work/tray.out" 2>&1 &
app=$!
pids+=($app)
sleep 3.5
if xdotool search --onlyvisible --name "Pelomira - Transferência de Informações" >/dev/null 2>&1; then
  echo "e2e: started with /m, the main window shows" >&2; exit 1
fi
trayicon=""
for w in $(xdotool search --onlyvisible --classname pelomira 2>/dev/null); do
  width=$(xwininfo -id "$w" | awk '/Width:/ {print $2}')
  [ "${width:-999}" -le 64 ] && { trayicon=$w; break; }
done
[ -n "$trayicon" ] || { echo "e2e: no notification-area icon" >&2; exit 1; }
shot started-in-tray
xdotool mousemove --window "$trayicon" 10 10 click 3
sleep 0.7
shot tray-menu
xdotool key Escape
sleep 0.3
xdotool key --clearmodifiers ctrl+F12
config=$(wait_window "Pelomira - Configurações" 10)
sleep 0.5
shot settings-from-tray
press "$config" alt+f
wait_gone "Pelomira - Configurações"
# The hot keys also work with Caps Lock on.
xdotool key Caps_Lock
xdotool key ctrl+F12
config=$(wait_window "Pelomira - Configurações" 10)
xdotool key Caps_Lock
press "$config" alt+f
wait_gone "Pelomira - Configurações"
xdotool mousemove --window "$trayicon" 10 10 click --repeat 2 --delay 80 1
main=$(wait_window "Pelomira - Transferência de Informações" 10)
sleep 0.5
shot restored-from-tray
press "$main" alt+m s
question=$(wait_window "Pelomira - Sair" 10)
press "$question" Return
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then echo "e2e: the program started with /m did not end" >&2; exit 1; fi
