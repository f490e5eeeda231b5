# The window and pelomira-cli on one embedded Integra file at once: a registry window stays open (its
# connection held) while two streams of `pelomira-cli mapping set` write in parallel; none may be
# refused, lost or doubled. Then SIGTERM ends the program as a normal end, and the file is whole.
ensure_settings
if [ ! -f "$work/home/INTEGRA.FDB" ]; then
  "$cli" init-integra "$work/home/INTEGRA.FDB" >/dev/null
  "$cli" settings set Dados TabelasIntegra "$work/home/INTEGRA.FDB" >/dev/null
fi
start_program
press "$main" alt+n
sleep 0.4
xdotool key --clearmodifiers c
sleep 0.4
xdotool key --clearmodifiers u
unidade=$(wait_window "^Cadastro de Unidade$" 10)
sleep 0.5

mapping_stream() { # customer count: one line per refused command
  seq 1 "$2" | xargs -P 4 -I{} sh -c \
    '"$0" mapping set "$1" fabricante "C{}" "M{}" >"$2/map-$1-{}.out" 2>&1 || echo "$1 {}"' \
    "$cli" "$1" "$work"
}
mapping_stream SAMSUNG 60 >"$work/refused-a.txt" &
stream_a=$!
mapping_stream SYNTHES 60 >"$work/refused-b.txt" &
stream_b=$!
# The window searches on its own connection while they write.
press "$unidade" alt+p
search=$(wait_window "^Pesquisa$" 10)
press "$search" 1
sleep 0.5
shot shared-integra-search-while-cli-writes
press "$search" Return
wait_gone "^Pesquisa$"
wait "$stream_a" "$stream_b"
if [ -s "$work/refused-a.txt" ] || [ -s "$work/refused-b.txt" ]; then
  echo "e2e: pelomira-cli was refused while the window had the database open:" >&2
  cat "$work/refused-a.txt" "$work/refused-b.txt" | while read -r customer n; do
    cat "$work/map-$customer-$n.out"
  done >&2
  exit 1
fi
rows=$("$cli" registry list VINCULO | tail -n +2 | sort | uniq | wc -l)
total=$("$cli" registry list VINCULO | tail -n +2 | wc -l)
if [ "$rows" != 120 ] || [ "$total" != 120 ]; then
  echo "e2e: 120 mappings expected, found $total ($rows different)" >&2
  exit 1
fi
shot shared-integra-window-after-cli

# SIGTERM: the program ends by itself, as after Sair (exit code 0), and lets go of the file.
kill -TERM "$app"
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then
  echo "e2e: the program did not end on SIGTERM" >&2
  exit 1
fi
set +e
wait "$app"
code=$?
set -e
if [ "$code" != 0 ]; then
  echo "e2e: the program ended with code $code on SIGTERM (0 expected)" >&2
  exit 1
fi
# Nobody has the file now: a validation by the installation's own engine, which takes it alone.
env -u FIREBIRD -u FIREBIRD_LOCK gfix -v -full -user SYSDBA "$work/home/INTEGRA.FDB" >"$work/gfix.out" 2>&1 &&
  [ ! -s "$work/gfix.out" ] || {
  echo "e2e: the Integra database is not whole after SIGTERM:" >&2
  cat "$work/gfix.out" >&2
  exit 1
}
echo "  the program ended on SIGTERM with code 0; the database validates"
