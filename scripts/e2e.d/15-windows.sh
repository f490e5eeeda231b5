# The windows as a user meets them under the window manager: two request windows cascaded and kept above
# the maximised main window, Alt + a key that is no mnemonic typing nothing, the wait window drawn while
# Merlin answers slowly, Qt's folder dialog in Portuguese, and the request windows coming back with the
# main window from the notification area.

# Position of a window in the window manager's stacking order, 1 at the bottom.
stack_position() {
  xprop -root _NET_CLIENT_LIST_STACKING | sed 's/^[^#]*# //' | tr -d ' ' | tr ',' '\n' |
    grep -nix "$(printf '0x%x' "$1")" | cut -d: -f1
}
geometry() { # window → X Y WIDTH HEIGHT of its client area
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "$X $Y $WIDTH $HEIGHT"
}
request_windows() { xdotool search --onlyvisible --name "^Importação - MERLIN$" 2>/dev/null || true; }
above_main() { # window...
  local m w
  m=$(stack_position "$main")
  for w in "$@"; do
    [ "$(stack_position "$w")" -gt "$m" ] || { echo "e2e: window $w is below the main window" >&2; return 1; }
  done
}

ensure_settings
year=$(date +%Y)
cp share/samples/DI_VARIAS_ADICOES.xml "$work/docs/DI_IMP%20002_$year.xml"
start_program

# Two request windows by the hot key: the second opens one step down and right of the first.
xdotool key --clearmodifiers alt+y
first=$(wait_window "^Importação - MERLIN$" 10)
sleep 0.3
xdotool key --clearmodifiers alt+y
for _ in $(seq 50); do [ "$(request_windows | wc -l)" -ge 2 ] && break; sleep 0.1; done
second=$(request_windows | grep -vx "$first" | head -1)
[ -n "$second" ] || { echo "e2e: the second request window did not appear" >&2; exit 1; }
read -r x1 y1 _ _ < <(geometry "$first")
read -r x2 y2 _ _ < <(geometry "$second")
if [ $((x2 - x1)) -ne 24 ] || [ $((y2 - y1)) -ne 24 ]; then
  echo "e2e: the second request window is at $x2,$y2, the first at $x1,$y1: not cascaded" >&2; exit 1
fi
# A click on the maximised main window leaves both above it.
xdotool mousemove --window "$main" 200 400 click 1
sleep 0.6
above_main "$first" "$second"
shot second-request-window-above-main

# Alt+M is no mnemonic of the request window: the reference stays "IMP 002". merlin-sim answers after
# 4 s, and all that time the wait window is on the screen, drawn.
echo "process@IMP 002=delay:4000" >"$work/sim.rules"
press "$first" ctrl+a BackSpace
xdotool type --delay 20 "IMP 002"
press "$first" alt+m alt+i
wait_id=$(wait_window "^Consultando WebService, aguarde...$" 3)
sleep 0.7
shot wait-window
read -r wx wy ww wh < <(geometry "$wait_id")
# Drawn, the window is white (and its text black); not drawn, it shows whatever was below it.
white=$(convert "$shots/$(printf %02d $step)-wait-window.png" -crop "${ww}x${wh}+${wx}+${wy}" +repage \
  -fill black +opaque white -colorspace Gray -format "%[fx:mean]\n" info:)
if ! awk -v w="$white" 'BEGIN { exit !(w > 0.7) }'; then
  echo "e2e: the wait window is not drawn during the request (white share $white)" >&2; exit 1
fi
confirm=$(wait_window "^Pelomira - DI$" 15)
: >"$work/sim.rules"
grep -q "P_TRAMITE=IMP%20002&" "$work/sim.log" || { echo "e2e: Merlin was not asked for IMP 002 exactly" >&2; exit 1; }
press "$confirm" alt+n
wait_gone "^Pelomira - DI$"

# Qt's folder dialog speaks Portuguese.
xdotool key --clearmodifiers ctrl+F12
config=$(wait_window "Pelomira - Configurações" 10)
press "$config" alt+o
browse=$(wait_window "Selecione a pasta dos arquivos de Atualização" 10)
sleep 0.8
shot folder-dialog
press "$browse" Escape
wait_gone "Selecione a pasta dos arquivos de Atualização"
press "$config" alt+f
wait_gone "Pelomira - Configurações"

# Minimised, the main window goes to the notification area and its request windows with it; restored,
# they come back above it.
xdotool windowminimize "$main"
for _ in $(seq 50); do
  xdotool search --onlyvisible --name "Pelomira - Transferência de Informações" >/dev/null 2>&1 || break
  sleep 0.1
done
trayicon=""
for w in $(xdotool search --onlyvisible --classname pelomira 2>/dev/null); do
  width=$(xwininfo -id "$w" | awk '/Width:/ {print $2}')
  [ "${width:-999}" -le 64 ] && { trayicon=$w; break; }
done
[ -n "$trayicon" ] || { echo "e2e: no notification-area icon after minimising" >&2; exit 1; }
xdotool mousemove --window "$trayicon" 10 10 click --repeat 2 --delay 80 1
main=$(wait_window "Pelomira - Transferência de Informações" 10)
for _ in $(seq 50); do [ "$(request_windows | wc -l)" -ge 2 ] && break; sleep 0.1; done
sleep 0.5
[ "$(request_windows | wc -l)" -ge 2 ] || { echo "e2e: the request windows did not come back with the main window" >&2; exit 1; }
above_main "$first" "$second"
shot request-windows-back-with-main

quit_program
