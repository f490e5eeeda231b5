# Integrações > Samsung from the menu: the file dialog takes the sample Samsung file, the mapping window
# asks for the one code nobody mapped yet (unit PC), the closing window sends the document to
# merlin-sim, and Merlin's acceptance is shown.
ensure_settings
if [ -z "$("$cli" settings get Dados TabelasIntegra)" ]; then
  "$cli" init-integra "$work/home/INTEGRA.FDB" >/dev/null
  "$cli" settings set Dados TabelasIntegra "$work/home/INTEGRA.FDB" >/dev/null
fi
"$cli" settings set Dados WebService2 "http://127.0.0.1:$simport/ws" >/dev/null
mkdir -p "$work/samsung/XML"
cp share/samples/SAMSUNG_EXEMPLO.txt "$work/samsung/"
"$cli" settings set Integra Caminho_Samsung "$work/samsung/XML" >/dev/null
for m in "FABRICANTE SEC01 F100" "FABRICANTE SEC02 F200" "UNIDADE KG KG"; do
  # shellcheck disable=SC2086
  "$cli" mapping set SAMSUNG $m >/dev/null
done

start_program
press "$main" alt+n
sleep 0.4
shot integrations-menu
xdotool key --clearmodifiers s
dialog=$(wait_window "Integração SAMSUNG 1.0" 10)
sleep 0.5
xdotool type --delay 10 "$work/samsung/SAMSUNG_EXEMPLO.txt"
sleep 0.3
shot samsung-file-dialog
press "$dialog" Return
mapping=$(wait_window "Tabela De / Para" 20)
sleep 0.5
xdotool type --delay 20 "UN"
sleep 0.3
shot samsung-mapping-asked
press "$mapping" alt+s
wait_gone "Tabela De / Para"
closing=$(wait_window "^Pelomira$" 20)
sleep 0.5
shot samsung-generated
xml=$(ls "$work/samsung/XML"/SAMSUNG*.XML 2>/dev/null | head -1)
[ -n "$xml" ] || { echo "e2e: the Samsung XML file was not written" >&2; exit 1; }
grep -q "<COD_UNIDAD>UN</COD_UNIDAD>" "$xml" || { echo "e2e: the mapped unit is not in $xml" >&2; exit 1; }
press "$closing" alt+e
for _ in $(seq 100); do grep -q "receiveMerlinRequest" "$work/sim.log" && break; sleep 0.1; done
grep -q "POST /ws:receiveMerlinRequest" "$work/sim.log" || { echo "e2e: nothing was sent to merlin-sim" >&2; exit 1; }
sleep 1
answer=$(wait_window "^Pelomira$" 20)
sleep 0.4
shot samsung-sent
press "$answer" Return
wait_gone "^Pelomira$"
grep -q "receiveMerlinRequest -> code 0" "$work/sim.log" || { echo "e2e: merlin-sim did not accept the request" >&2; exit 1; }
quit_program
