#!/usr/bin/env bash
# Drives 'q7nctl ports apply' as configuration management does, against the service manager
# stand-in with a private machine database and the fixture service, which listens on the local
# port of each mapping of its folder's ports file: changed then unchanged, --check, a bad file,
# and a restart on a mapping whose port another program holds, which is put back.
#   ApplySession.sh FIXTURE_SERVICE Q7NCTL
set -u
fixture=$1 q7nctl=$2
. "$(dirname "$0")/StagedFolder.sh"
listener_pid=
cleanup() {
    [ -n "$listener_pid" ] && kill "$listener_pid" 2>/dev/null
    "$q7nctl" uninstall --wait 30 >/dev/null 2>&1
    rm -rf "$folder"
}
trap cleanup EXIT
# ctl CODE ARGS...: runs q7nctl ARGS, expects exit code CODE; output in out.txt and err.txt.
ctl() {
    local want=$1 got=0
    shift
    timeout 120 "$q7nctl" "$@" >out.txt 2>err.txt || got=$?
    echo "q7nctl $* -> $got"
    [ "$got" = "$want" ] || fail "q7nctl $* answered $got, not $want"
}
out_has() { grep -q -F -- "$1" out.txt || fail "no '$1' in the output"; }
err_has() { grep -q -F -- "$1" err.txt || fail "no '$1' in the error"; }
same_file() { cmp -s Q7NPorts.xml before.xml || fail "$1: the ports file changed"; }
mapping() { # IP LOCAL_PORT COM
    printf '{"ip":"%s","remotePort":4001,"localPort":%s,"comPort":%s,"rate":115200}' "$@"
}
# Two local ports that nothing listens on now.
read -r port1 port2 port3 < <(python3 -c 'import socket
s=[socket.socket() for _ in range(3)]
[x.bind(("127.0.0.1",0)) for x in s]
print(*[x.getsockname()[1] for x in s])')
echo "{\"mappings\":[$(mapping 10.0.0.1 "$port1" 1)]}" >desired.json

ctl 0 install --wait 30
ctl 0 start --wait 30

# Changed, then unchanged: the second writes nothing, not even the modification time.
ctl 0 ports apply desired.json --restart --json
out_has '"changed":true,"actions":[{"action":"added","row":1,"after":{"ip":"10.0.0.1"'
out_has '"restarted":true,"rolledBack":false'
sed -n 's/.*"verifyMilliseconds":\([0-9]*\).*/verified restart: the service listened, answered after \1 ms (goal under 1000)/p' out.txt
(exec 3<>"/dev/tcp/127.0.0.1/$port1") 2>/dev/null || fail "the service does not listen on $port1"
cp -p Q7NPorts.xml before.xml
stamp=$(stat -c %.9Y Q7NPorts.xml)
ctl 0 ports apply - --json --restart <desired.json
out_has '"changed":false,"actions":[],"warnings":[],"restarted":false'
same_file "an unchanged apply"
[ "$(stat -c %.9Y Q7NPorts.xml)" = "$stamp" ] || fail "an unchanged apply touched the file"
ctl 0 ports apply desired.json --check
out_has "holds the 1 mapping already"

# --check tells and writes nothing; the order of the rows is part of the list.
echo "{\"mappings\":[$(mapping 10.0.0.2 "$port2" 2),$(mapping 10.0.0.1 "$port1" 1)]}" >two.json
ctl 7 ports apply two.json --check --diff --restart
out_has "-1 ip=10.0.0.1 remotePort=4001 localPort=$port1 comPort=1 rate=115200"
out_has "+2 ip=10.0.0.1"
err_has "would change: 1 added, 0 removed, 1 changed"
same_file "--check"

# A file the ports file cannot hold changes nothing.
ctl 2 ports apply missing.json
echo '{"mappings":[{"ip":"10.0.0.1","remotePort":4001,"localPort":70000,"comPort":1,"rate":9600}]}' >bad.json
ctl 2 ports apply bad.json
err_has '"localPort" is 70000, not within 0 to 65535'
echo '{"mappings":[{"ip":"10.0.0.1","remotePort":4001,"localPort":1,"rate":9600}]}' >bad.json
ctl 2 ports apply bad.json
err_has '"comPort" is missing'
printf '<config><Q7NPorts><Item><COMPort>COM3</COMPort></Item></Q7NPorts></config>' >bad.xml
ctl 2 ports apply bad.xml
same_file "a bad file"

# Another program holds the new mapping's port: the service cannot take it, so the previous file
# is put back byte for byte and the service runs on it again.
python3 -c 'import socket,sys,time
s=socket.socket(); s.setsockopt(socket.SOL_SOCKET,socket.SO_REUSEADDR,1)
s.bind(("0.0.0.0",int(sys.argv[1]))); s.listen(); print("held",flush=True); time.sleep(120)' \
    "$port2" >held.txt &
listener_pid=$!
for _ in $(seq 1 100); do grep -q held held.txt && break; sleep 0.1; done
ctl 8 ports apply two.json --restart --verify 2 --json
out_has '"rolledBack":true'
out_has '"kind":"localPortTaken"'
err_has "Q7NPorts.xml was put back and Q7NSrv restarted on it"
same_file "a rolled back apply"
ctl 0 status
out_has "Работает (4)"
(exec 3<>"/dev/tcp/127.0.0.1/$port1") 2>/dev/null || fail "after the rollback, nothing on $port1"

# A row the apply does not touch is reported, not judged: the held port stays in row 1 while row 2
# is added on a free one.
echo "{\"mappings\":[$(mapping 10.0.0.2 "$port2" 2)]}" >held.json
ctl 0 ports apply held.json
echo "{\"mappings\":[$(mapping 10.0.0.2 "$port2" 2),$(mapping 10.0.0.3 "$port3" 3)]}" >more.json
ctl 0 ports apply more.json --restart --verify 5 --json
out_has '"rolledBack":false'
out_has '"kind":"localPortTaken"'

if [ "$failures" != 0 ]; then
    echo "$failures failures"
    exit 1
fi
