#!/bin/sh
# Drives the service console through a whole session against the POSIX service manager: install,
# start, restart and uninstall the fixture service, and checks the states it printed, in order.
#   ConsoleSession.sh CONSOLE FIXTURE_SERVICE
set -eu
console=$1 fixture=$2
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
sh "$(dirname "$0")/../../scripts/stage-service.sh" "$fixture" "$folder"
export Q7N_MACHINE_DB="$folder/machine.sqlite"
cd "$folder"
# Each command goes in once the console has shown the state that it must come after: however
# slow the machine, no pause of a fixed length sends one too early.
mkfifo input
timeout 60 "$console" <input >output.txt &
session=$!
exec 3>input
# shown CAPTION TIMES: waits, 30 s at most, until the console has printed the state CAPTION TIMES
# times.
shown() {
    tries=0
    until [ "$(grep -c "  Q7NSrv: $1\$" output.txt)" -ge "$2" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 300 ]; then
            cat output.txt
            echo "the console did not show $1 $2 times within 30 s" >&2
            exit 1
        fi
        sleep 0.1
    done
}
printf 'state\ninstall\nstart\n' >&3
shown 'Работает (4)' 1
printf 'restart\n' >&3
shown 'Работает (4)' 2
printf 'uninstall\n' >&3
exec 3>&- # the end of the input: the console leaves once the uninstall is done
wait $session
cat output.txt
# The states, as printed, one per line without the time.
sed -n 's/^[0-9:.]*  Q7NSrv: //p' output.txt >states.txt
expected='Неизвестно (0)
Работает (4)
Остановлен (1)
Работает (4)
Останавливается (3)
Неизвестно (0)'
# A restart's stop may be seen as stop pending before it is seen as stopped.
actual=$(grep -v -x -F 'Останавливается (3)' states.txt | tr '\n' '|')
wanted=$(printf '%s\n' "$expected" | grep -v -x -F 'Останавливается (3)' | tr '\n' '|')
if [ "$actual" != "$wanted" ]; then
    echo "unexpected states: $actual (wanted $wanted)" >&2
    exit 1
fi
grep -q "program $folder/Install/Q7NService.exe" output.txt

# The settings key, as a registry export file; absent until the configurator stored something.
printf 'export-settings settings.reg\n' | timeout 60 "$console" >export.txt
grep -q 'The settings key cannot be read' export.txt

# Started in a folder that was deleted: one line on standard error and exit status 1, no crash.
mkdir gone
status=0
(cd gone && rmdir ../gone && exec timeout 60 "$console" </dev/null >"$folder/gone.out" 2>"$folder/gone.err") ||
    status=$?
cat "$folder/gone.err" >&2
if [ "$status" != 1 ] || ! grep -qi '^q7n_service_console: .*current' "$folder/gone.err"; then
    echo "in a deleted folder: exit status $status" >&2
    exit 1
fi
