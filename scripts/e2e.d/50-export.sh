# The table export: an Orientador folder of its own with the sample code tables and a TAB_NCM of
# 1,000,000 rows; ALT+T opens the window, two tables go to the right, Exportar writes TABS.XML (a
# screenshot while it runs, one of the closing message, one after), then the command line writes
# TABS.CSV. Both files are checked by readers of their own.
ensure_settings
export_folder="$work/orientador-export"
"$cli" init-orientador "$export_folder" --sample >/dev/null
sqlite3 "$export_folder/TABSISCO.MDB" "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000)
  INSERT INTO TAB_NCM SELECT printf('9%07d', i), 'Mercadoria de teste nº ' || i || ' – máquinas e aparelhos',
  '10', 2.5, NULL FROM n"
"$cli" settings set Dados Dados "$export_folder" >/dev/null
rm -f "$work/home/XML/TABS.XML" "$work/home/XML/TABS.CSV"
start_program
xdotool key --clearmodifiers alt+t
tabelas=$(wait_window "^Exportação de Tabelas$" 10)
sleep 0.5
shot export-window
# Keyboard search in the list of available tables, then "Incluir ->" (the list keeps the focus).
xdotool mousemove --window "$tabelas" 100 100 click 1
sleep 0.3
xdotool type --delay 60 "CLASS"
sleep 0.3
xdotool mousemove --window "$tabelas" 376 52 click 1
sleep 1.2
xdotool type --delay 60 "MOE"
sleep 0.3
xdotool mousemove --window "$tabelas" 376 52 click 1
sleep 0.4
shot export-tables-chosen
press "$tabelas" alt+e
sleep 0.3
shot export-running
done_window=$(wait_window "^Pelomira$" 120)
sleep 0.4
shot export-done
press "$done_window" Return
wait_gone "^Pelomira$"
sleep 0.4
shot export-window-reset
xml="$work/home/XML/TABS.XML"
[ -f "$xml" ] || { echo "e2e: TABS.XML was not written" >&2; exit 1; }
xmllint --noout "$xml" || { echo "e2e: TABS.XML is not well-formed" >&2; exit 1; }
want=$(sqlite3 "$export_folder/TABSISCO.MDB" "SELECT (SELECT count(*) FROM TAB_NCM) + (SELECT count(*) FROM TAB_MOEDA)")
got=$(grep -c '<REGISTRO NUMERO_REGISTRO=' "$xml")
[ "$got" = "$want" ] || { echo "e2e: TABS.XML holds $got rows, the two tables $want" >&2; exit 1; }
grep -q 'Finalizando Importação de Tabelas (CLASSIFICAÇÃO FISCAL (NCM), MOEDAS)' "$work/home/PELOMIRA_LOG.CSV" \
  || { echo "e2e: the export's closing log entry is missing" >&2; exit 1; }
press "$tabelas" alt+s
wait_gone "^Exportação de Tabelas$"

# The command line: every table as CSV, in code page 1252.
"$cli" export-tables --format csv --all --quiet >"$work/export-cli.out" 2>&1 \
  || { echo "e2e: export-tables --format csv failed" >&2; cat "$work/export-cli.out" >&2; exit 1; }
iconv -f CP1252 -t UTF-8 "$work/home/XML/TABS.CSV" | grep -q '^Tabela TAB_UNID_MEDIDA' \
  || { echo "e2e: TABS.CSV is not the code page 1252 table file" >&2; exit 1; }
ensure_settings
quit_program
