# An Integra database of this run, filled with Merlin's unit list by the command line; then
# Integrações > Cadastros > Unidade through the menu, ALT+V for the next free code, and Sair.
ensure_settings
"$cli" init-integra "$work/home/INTEGRA.FDB" >/dev/null
"$cli" settings set Dados TabelasIntegra "$work/home/INTEGRA.FDB" >/dev/null
"$cli" registry import UNIDADE share/samples/UNIDADES.xml --quiet >"$work/cadastros-import.out" 2>&1 \
  || { echo "e2e: the unit import failed" >&2; cat "$work/cadastros-import.out" >&2; exit 1; }
start_program
press "$main" alt+n
sleep 0.4
xdotool key --clearmodifiers c
sleep 0.4
shot registries-menu
xdotool key --clearmodifiers u
unidade=$(wait_window "^Cadastro de Unidade$" 10)
sleep 0.7
shot unit-registry
press "$unidade" alt+v
sleep 0.5
shot unit-registry-free-code
# The search: codes holding "5", Enter keeps the row found.
press "$unidade" alt+p
search=$(wait_window "^Pesquisa$" 10)
press "$search" 5
sleep 0.5
shot unit-search
press "$search" Return
wait_gone "^Pesquisa$"
sleep 0.3
shot unit-registry-found
# ALT+R is the program's own system-wide key (Retorno), so Sair is clicked.
xdotool mousemove --window "$unidade" $((8 + 4 * 80 + 40)) $((110 + 17)) click 1
wait_gone "^Cadastro de Unidade$"
quit_program
