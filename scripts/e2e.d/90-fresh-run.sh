# A newcomer's first scripts/run: a home with nothing of ours in it and no folder chosen, so every
# default is used. It must make the demonstration Orientador and NORVIK folders and start the program;
# Sair ends the program and scripts/run with it.
fresh="$work/fresh-home"
mkdir -p "$fresh"
(
  unset PELOMIRA_HOME PELOMIRA_WINDIR XDG_CONFIG_HOME
  HOME="$fresh" BUILD_DIR="$BUILD_DIR" exec scripts/run
) >"$work/fresh-run.out" 2>&1 &
app=$!
pids+=($app)
if ! main=$(wait_window "Pelomira - Transferência de Informações" 180); then
  echo "e2e: scripts/run did not start the program on a fresh home:" >&2
  cat "$work/fresh-run.out" >&2
  exit 1
fi
sleep 1
shot fresh-run-main-window
for made in "SISCOPRD/Import.prd/IMPORT.MDB" ".local/share/pelomira/NORVIK" ".local/share/pelomira/INTEGRA.FDB" \
  ".config/pelomira/PELOMIRA.INI"; do
  [ -e "$fresh/$made" ] || { echo "e2e: scripts/run did not make $made" >&2; cat "$work/fresh-run.out" >&2; exit 1; }
done
quit_program
rm -rf "$fresh"
