# The return to Merlin: an Orientador folder with a registered DI and LI, a fresh Integra database;
# ALT+R opens the return window, the space bar ticks the DI, "Gerar" returns it to merlin-sim and the
# window scans again (the LI is left). Then, with the program closed, the command line returns the rest.
ensure_settings
retorno="$work/retorno"
mkdir -p "$retorno"
"$cli" init-orientador "$retorno/orientador" >/dev/null
sqlite3 "$retorno/orientador/IMPORT.MDB" "INSERT INTO \"DECLARAÇÃO_IMPORTAÇÃO\" (NR_IDENT_USUARIO, NR_DECLARACAO_IMP,
  DT_REGISTRO_DI, NR_DECL_IMP_PROT, DT_PROCESSAMENTO, DT_TRANSMISSAO)
  VALUES ('E2E-DI-1', '2612345678', '05032026', '9876543210', '04032026', '04032026')"
sqlite3 "$retorno/orientador/REGIMP.MDB" "INSERT INTO \"OPERAÇÃO_COM_TRATAMENTO\" (NR_IDENT_USUARIO,
  NR_OPER_TRAT_PREV, DT_REG_OPER_TRAT, NR_OPER_TRAT_PROT) VALUES ('E2E-LI-1', '2600000077', '2026-03-04', '7000000003')"
"$cli" init-integra "$retorno/INTEGRA.FDB" >/dev/null
"$cli" settings set Dados TabelasIntegra "$retorno/INTEGRA.FDB" >/dev/null
"$cli" settings set Dados Dados "$retorno/orientador" >/dev/null

start_program
xdotool key --clearmodifiers alt+r
window=$(wait_window "^Retorno de Processos$" 15)
sleep 1
shot return-window
# The grid has the focus on the first row (LI before DI): down to the DI, space ticks it.
press "$window" Down space
sleep 0.4
shot return-window-ticked
# "Gerar" has no mnemonic: clicked at its place in the fixed-size window.
xdotool mousemove --window "$window" $((397 + 42)) $((296 + 12)) click 1
summary=$(wait_window "^Pelomira$" 30)
sleep 0.4
shot return-summary
grep -q "receiveRetorno?TIPO_PROCESSO=01&ID_PROCESSO=E2E-DI-1&" "$work/sim.log" \
  || { echo "e2e: merlin-sim did not receive the DI's return" >&2; exit 1; }
if grep -q "ID_PROCESSO=E2E-LI-1" "$work/sim.log"; then echo "e2e: the unticked LI was sent" >&2; exit 1; fi
press "$summary" Return
wait_gone "^Pelomira$"
sleep 0.8
shot return-window-rescanned
xdotool search --onlyvisible --name "^Retorno de Processos$" >/dev/null \
  || { echo "e2e: the return window closed with a process left" >&2; exit 1; }
quit_program

"$cli" registry list GERADOS | grep -q "^DI;E2E-DI-1;" || { echo "e2e: GERADOS lacks the DI" >&2; exit 1; }
"$cli" return list --quiet >"$retorno/list.out"
grep -q "^LI;E2E-LI-1;" "$retorno/list.out" || { echo "e2e: return list lacks the LI" >&2; exit 1; }
if grep -q "E2E-DI-1" "$retorno/list.out"; then echo "e2e: the returned DI is offered again" >&2; exit 1; fi
"$cli" return send --all >"$retorno/send.out" || { echo "e2e: return send --all failed" >&2; exit 1; }
[ "$("$cli" return list --quiet | wc -l)" = 1 ] || { echo "e2e: processes left after send --all" >&2; exit 1; }
"$cli" settings set Dados Dados "$work/orientador" >/dev/null
