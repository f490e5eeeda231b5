# The LI, DSI and LSI requests through their hot keys: each process is fetched from merlin-sim, confirmed
# and written into the Orientador folder of this run; the closing message windows are saved and the
# rows read back with sqlite3.
ensure_settings
year=$(date +%Y)
cp share/samples/LI_DUAS_LICENCAS.xml "$work/docs/LI_LIC-001_$year.xml"
cp share/samples/DSI.xml "$work/docs/DI_DSI-001_$year.xml"
cp share/samples/LSI.xml "$work/docs/LI_LSI-001_$year.xml"
start_program

# Waits for a window whose title matches and that is none of the windows given; prints its id.
wait_new_window() { # title, timeout, known window ids...
  local title=$1 timeout=$2 id
  shift 2
  for _ in $(seq $((timeout * 10))); do
    for id in $(xdotool search --onlyvisible --name "$title" 2>/dev/null); do
      case " $* " in *" $id "*) ;; *) echo "$id"; return 0 ;; esac
    done
    sleep 0.1
  done
  echo "e2e: no new window '$title' appeared" >&2
  return 1
}
# Asks for a process through the request window of a hot key (a new one: the earlier ones stay open)
# and confirms the transfer.
request_process() { # hot key, reference, kind
  local known request confirm
  known=$(xdotool search --onlyvisible --name "Importação - MERLIN" 2>/dev/null | tr '\n' ' ' || true)
  xdotool key --clearmodifiers "$1"
  # shellcheck disable=SC2086
  request=$(wait_new_window "Importação - MERLIN" 10 $known)
  sleep 0.3
  xdotool windowfocus --sync "$request" 2>/dev/null || true
  xdotool type --delay 20 "$2"
  press "$request" alt+i
  confirm=$(wait_window "^Pelomira - $3\$" 15)
  sleep 0.3
  press "$confirm" alt+s
}
# The rows of a table of the Orientador folder.
count_rows() { # file, table
  sqlite3 "$work/orientador/$1" "SELECT count(*) FROM \"$2\""
}

request_process alt+k LIC-001 LI
closing=$(wait_window "^Pelomira$" 60)
sleep 0.4
shot li-transferred
[ "$(count_rows REGIMP.MDB "OPERAÇÃO_COM_TRATAMENTO")" = 2 ] || { echo "e2e: the LI's licences are not in REGIMP.MDB" >&2; exit 1; }
[ "$(count_rows REGIMP.MDB DETALHE_MERC_COM_TRATAMENTO)" = 3 ] || { echo "e2e: the LI's items are not in REGIMP.MDB" >&2; exit 1; }
press "$closing" Return
wait_gone "^Pelomira$"

request_process alt+z DSI-001 DSI
closing=$(wait_window "^Pelomira$" 60)
sleep 0.4
shot dsi-transferred
[ "$(count_rows DSI.MDB DSI_BENS)" = 2 ] || { echo "e2e: the DSI's goods are not in DSI.MDB" >&2; exit 1; }
[ "$(count_rows DSI.MDB DSI_TRIBUTOS_BEM)" = 2 ] || { echo "e2e: the DSI's taxes are not in DSI.MDB" >&2; exit 1; }
press "$closing" Return
wait_gone "^Pelomira$"

# The LSI's second licence replaces the first (they share the process number): a warning first, then
# the closing window listing only the licence that stays.
request_process alt+w LSI-001 LSI
warning=$(wait_window "^Pelomira$" 60)
sleep 0.4
shot lsi-licence-replaced
press "$warning" Return
closing=$(wait_new_window "^Pelomira$" 30 "$warning")
sleep 0.4
shot lsi-transferred
[ "$(count_rows LIDSI.MDB "OPERAÇÃO_COM_TRATAMENTO")" = 1 ] || { echo "e2e: the LSI is not in LIDSI.MDB" >&2; exit 1; }
press "$closing" Return
wait_gone "^Pelomira$"
grep -q "LSI 26/0460001-2 substituída pela LSI 26/0460002-0" "$PELOMIRA_HOME/PELOMIRA_LOG.CSV" \
  || { echo "e2e: the replaced LSI is not in the activity log" >&2; exit 1; }

quit_program
