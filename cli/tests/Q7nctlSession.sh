#!/usr/bin/env bash
# Drives q7nctl as a script does, arguments in, exit code and output out: the ports file commands,
# the service commands on the fixture service, and the exit code of each kind of outcome.
#   Q7nctlSession.sh posix|wine FIXTURE_SERVICE FILE_HOLDER COMMAND...
# COMMAND... runs q7nctl; FILE_HOLDER is the program that holds a file's lock meanwhile, run the
# same way (under Wine: COMMAND... with its last word, the program, replaced).
set -u
mode=$1 fixture=$2 holder_program=$3
shift 3
run=("$@")
holder=("${run[@]:0:${#run[@]}-1}" "$holder_program")
. "$(dirname "$0")/StagedFolder.sh"
keeper=
trap '[ -z "$keeper" ] || kill "$keeper" 2>/dev/null; rm -rf "$folder"' EXIT
if [ "$mode" = wine ]; then
    # Wine's server, and its service manager with it, ends a few seconds after the last Windows
    # program; started again, the manager starts the automatic-start services, the fixture
    # among them, behind the session's back. A program alive through the session keeps one.
    "${holder[@]}" lock session.lock 600000 </dev/null >/dev/null 2>&1 &
    keeper=$!
fi

# ctl CODE ARGS...: runs q7nctl ARGS and expects exit code CODE; a failure is one line on
# standard error. Output in out.txt and err.txt, with Linux line ends.
ctl() {
    local want=$1 got=0
    shift
    timeout 120 "${prefix[@]}" "${run[@]}" "$@" </dev/null >"$folder/out.raw" 2>"$folder/err.raw" ||
        got=$?
    tr -d '\r' <"$folder/out.raw" >"$folder/out.txt"
    tr -d '\r' <"$folder/err.raw" >"$folder/err.txt"
    echo "q7nctl $* -> $got"
    if [ "$got" != "$want" ]; then
        fail "q7nctl $* answered $got, not $want"
    elif [ "$want" != 0 ] &&
        { [ "$(wc -l <"$folder/err.txt")" != 1 ] || ! grep -q '^q7nctl: ' "$folder/err.txt"; }; then
        fail "q7nctl $* did not say why in one line"
    fi
}
prefix=()
out_has() { grep -q -F -- "$1" "$folder/out.txt" || fail "no '$1' in the output"; }
err_has() { grep -q -F -- "$1" "$folder/err.txt" || fail "no '$1' in the error"; }
out_is() { [ "$(cat "$folder/out.txt")" = "$1" ] || fail "output is not: $1"; }

# Wrong command lines change nothing.
ctl 2
ctl 2 frobnicate
ctl 2 ports add --com 0
err_has "--com takes a COM port number from 1 to 256"
ctl 2 ports add --remote-port 80x
err_has "'80x' is not a valid integer value"
ctl 2 start --wait soon
ctl 2 ports set 1
[ ! -e Q7NPorts.xml ] || fail "a refused command wrote the ports file"
ctl 0 --help
out_has "5  timed out"

# The ports file through the port document.
ctl 0 ports list --json --file Q7NPorts.xml
out_is '{"file":"Q7NPorts.xml","mappings":[]}'
ctl 0 ports add --ip 10.0.0.1 --remote-port '$1F90' --local-port 4001 --com 2 --rate 115200
ctl 0 ports add --ip 'plc "7"' --local-port 4001 --com 2
err_has "warning: row 2: local port 4001 is also used by row 1"
ctl 0 ports set 2 --local-port 4002
ctl 0 ports list --json --file Q7NPorts.xml
out_is '{"file":"Q7NPorts.xml","mappings":[{"row":1,"ip":"10.0.0.1","remotePort":8080,"localPort":4001,"comPort":2,"rate":115200},{"row":2,"ip":"plc \"7\"","remotePort":8080,"localPort":4002,"comPort":2,"rate":9600}]}'
ctl 6 ports check --json --file Q7NPorts.xml
out_is '{"file":"Q7NPorts.xml","mappings":2,"findings":[{"row":1,"kind":"comPortShared","otherRow":2,"text":"COM2 is also used by row 2"},{"row":2,"kind":"comPortShared","otherRow":1,"text":"COM2 is also used by row 1"},{"row":2,"kind":"badAddress","otherRow":null,"text":"IP \"plc \\x227\\x22\" is neither an IPv4 address nor a host name"}]}'
err_has "3 findings in 2 of 2 mappings"
ctl 2 ports remove 3
err_has "there is no row '3'"
ctl 0 ports add --ip 10.0.0.3 --local-port 4003 --com 3
ctl 2 ports remove 2 1 '$2'
err_has "row 2 is named twice; nothing was removed"
ctl 0 ports remove 3 1
out_has "Removed 2 rows; the list has 1"
ctl 0 ports list --json --file Q7NPorts.xml
out_is '{"file":"Q7NPorts.xml","mappings":[{"row":1,"ip":"plc \"7\"","remotePort":8080,"localPort":4002,"comPort":2,"rate":9600}]}'
ctl 0 ports remove 1
ctl 0 ports check

# An unreadable file is changed only with --force, and then kept beside the new one.
printf 'not xml' >Q7NPorts.xml
ctl 6 ports list
err_has "cannot be read"
ctl 6 ports add
err_has "--force"
[ "$(cat Q7NPorts.xml)" = "not xml" ] || fail "the unreadable file was changed"
# A value that cannot be read is placed as the windows place it.
printf '<config Application="" Version="1"><Q7NPorts><Item/><Item><COMPort>COM3</COMPort></Item></Q7NPorts></config>' >Q7NPorts.xml
ctl 6 ports list
err_has "(mapping 2, element <COMPort>)"
printf 'not xml' >Q7NPorts.xml
ctl 0 ports add --force --com 3
[ "$(cat Q7NPorts.rejected.xml)" = "not xml" ] || fail "the unreadable file was not kept"
ctl 0 ports list
out_has "COM3"

# Twenty commands at once on one file: each waits for the lock, none loses another's row.
pids=()
for i in $(seq 1 20); do
    timeout 300 "${run[@]}" ports add --ip "10.0.1.$i" --com "$i" --wait 240 </dev/null \
        >"$folder/add$i.out" 2>"$folder/add$i.err" &
    pids+=($!)
done
for i in "${!pids[@]}"; do
    wait "${pids[$i]}" || fail "add $((i + 1)) of 20 at once answered $?"
done
ctl 0 ports list --json
for i in $(seq 1 20); do
    out_has "\"ip\":\"10.0.1.$i\""
done
[ "$(grep -o '"row":' "$folder/out.txt" | wc -l)" = 21 ] || fail "not 21 rows after 20 adds"
[ "$(cat "$folder"/add*.out | tr -d '\r' | sort -u | grep -c '^Added row')" = 20 ] ||
    fail "the 20 adds did not report 20 different rows"
# While another program holds the lock, a command waits as long as told, then changes nothing.
"${holder[@]}" lock Q7NPorts.lock 20000 </dev/null >"$folder/held.txt" 2>&1 &
holder_pid=$!
for _ in $(seq 1 600); do
    grep -q held "$folder/held.txt" && break
    sleep 0.1
done
grep -q held "$folder/held.txt" || fail "the holder did not take the lock"
ctl 5 ports add --wait 1
err_has "is being changed by another program, which holds"
kill "$holder_pid" 2>/dev/null
wait "$holder_pid" 2>/dev/null
ctl 0 ports list --json
[ "$(grep -o '"row":' "$folder/out.txt" | wc -l)" = 21 ] || fail "a command that timed out added a row"

# The service, through the service manager.
ctl 3 status --json
err_has "is not installed; run 'q7nctl install' first"
out_has '"registeredCommandLine":null}'
# What install registers, as status shows it (JSON escapes the backslashes of Wine's path).
if [ "$mode" = wine ]; then
    registered="Z:${folder//\//\\\\}\\\\Install\\\\Q7NService.exe"
else
    registered="$folder/Install/Q7NService.exe"
fi
ctl 3 start
# service ensure does only what is missing; --check only tells, with 7 when it would act.
ctl 3 service ensure running --json
out_has '"before":{"installed":false,"state":0,"caption":"Неизвестно"}'
err_has "does not install it"
ctl 0 service ensure absent --json
out_has '"changed":false'
ctl 7 service ensure installed --check
ctl 3 status
ctl 0 service ensure installed --json --wait 30
out_has '"after":{"installed":true,"state":1,"caption":"Остановлен"},"changed":true'
ctl 0 service ensure installed
out_is "Q7NSrv is installed already"
ctl 7 service ensure running --check --json
out_has '"after":{"installed":true,"state":1,'
ctl 0 service ensure running --json --wait 30
out_has '"after":{"installed":true,"state":4,"caption":"Работает"},"changed":true'
ctl 0 service ensure running --json
out_has '"changed":false,"msg":"Q7NSrv is running already"}'
ctl 0 service ensure running --check
ctl 0 service ensure absent --wait 30
out_has "Q7NSrv: not installed"
ctl 0 service ensure absent --json
out_has '"changed":false'
ctl 2 service ensure present
ctl 0 install --wait 30
ctl 1 install
err_has "already installed"
ctl 0 start --wait 30
out_has "Q7NSrv: Работает (4)"
ctl 0 status --json
out_has '"installed":true,"state":4,"caption":"Работает"'
# The registered command line, not the one this folder would register.
mkdir elsewhere && cd elsewhere || exit 1
ctl 0 status --json
out_has ",\"registeredCommandLine\":\"$registered\"}"
ctl 0 status
out_has "registered command line: "
# The doctor of another folder: its program is missing and the service runs another one.
ctl 6 doctor --file ../Q7NPorts.xml
out_has "service: the service's program is missing"
out_has "service: the service is registered with the program of another folder"
cd "$folder" || exit 1
# Most of the mappings' COM ports are not on this machine; the connections follow the findings.
ctl 6 doctor --json
out_has '"kind":"comPortMissing","otherRow":null,"text":"COM20 is not present on this machine"'
out_has '],"connections":['
# The fixture takes 300 ms to stop.
ctl 5 stop --wait 0
err_has "did not stop within 0 s"
ctl 0 stop --wait 30
out_has "Q7NSrv: Остановлен (1)"
ctl 0 restart --wait 30
out_has "Q7NSrv: Работает (4)"
if [ "$mode" = posix ]; then
    # A user who cannot write the machine database is no administrator.
    if [ "$(id -u)" = 0 ]; then
        prefix=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    else
        chmod a-w "$folder" machine.sqlite
    fi
    ctl 4 stop
    err_has "run q7nctl as an administrator"
    # Who may only look still sees what is registered.
    ctl 4 status --json
    out_has ",\"registeredCommandLine\":\"$registered\"}"
    prefix=()
    chmod u+w "$folder" machine.sqlite
    # A folder that can be written but not read: the save stands, its flush cannot be done.
    mkdir sealed && chmod 333 sealed
    [ "$(id -u)" = 0 ] && prefix=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    ctl 0 ports add --file sealed/Q7NPorts.xml
    err_has "q7nctl: warning: sealed/Q7NPorts.xml was saved, but Cannot open folder"
    ctl 0 ports add --file sealed/Q7NPorts.xml --com 2
    out_has "Added row 2"
    prefix=()
    chmod 755 sealed
    ctl 1 settings export settings.reg
    err_has "has stored no settings here yet"
    # A current folder that is gone.
    mkdir gone && cd gone && rmdir ../gone
    ctl 1 status
    err_has "the current folder cannot be read"
    cd "$folder" || exit 1
fi
ctl 0 uninstall --wait 30
ctl 3 status
out_has "not installed"
ctl 0 doctor --file none.xml
out_is ""

if [ "$failures" != 0 ]; then
    echo "$failures failures"
    exit 1
fi
