#!/usr/bin/env bash
# Runs the Linux playbook with Debian's ansible-playbook on this machine, on the stand-ins, with
# the fixture service in a scratch folder: a first run changes, a second changes nothing, a check
# run tells and writes nothing, a bad desired list fails and leaves the machine as it was.
#   PlaybookRun.sh FIXTURE_SERVICE Q7NCTL
set -u
fixture=$1 ctl=$2
here=$(cd "$(dirname "$0")/.." && pwd)
command -v ansible-playbook >/dev/null ||
    { echo "FAIL: ansible-playbook is missing: run scripts/install-deps.sh test"; exit 1; }
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
sh "$here/../../scripts/stage-service.sh" "$fixture" "$folder/service" || exit 1
export Q7N_MACHINE_DB="$folder/machine.sqlite"
export ANSIBLE_HOME="$folder/ansible" ANSIBLE_LOCAL_TEMP="$folder/ansible/tmp"
export ANSIBLE_REMOTE_TEMP="$folder/ansible/remote" ANSIBLE_CONFIG="$folder/none.cfg"
export ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_GATHERING=explicit
export ANSIBLE_LOCALHOST_WARNING=0 ANSIBLE_DEPRECATION_WARNINGS=0 ANSIBLE_FORCE_COLOR=0
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# play CODE MAPPINGS_JSON [OPTIONS...]: runs the playbook for localhost with these mappings and
# expects its exit code CODE. Output in play.txt.
play() {
    local want=$1 mappings=$2 got=0
    shift 2
    printf '{"q7n_hosts":"localhost","q7n_ctl":"%s","q7n_folder":"%s","q7n_mappings":%s}' \
        "$ctl" "$folder/service" "$mappings" >"$folder/vars.json"
    timeout 300 ansible-playbook -i localhost, -c local -e ansible_python_interpreter=python3 \
        -e "@$folder/vars.json" "$@" "$here/q7n-linux.yml" >"$folder/play.txt" 2>&1 || got=$?
    echo "ansible-playbook $* -> $got"
    [ "$got" = "$want" ] || { fail "ansible-playbook $* answered $got, not $want"; cat "$folder/play.txt"; }
}
# The status line of a task in the last run (ok, changed, failed, fatal).
task_is() {
    awk -v task="TASK [$1]" '$0 ~ /^TASK \[/ { on = index($0, task) == 1 } on' "$folder/play.txt" |
        grep -q "^$2: \[localhost\]" || fail "task '$1' is not $2"
}
recap_has() { grep -q -E "^localhost +: .*$1" "$folder/play.txt" || fail "the recap has no '$1'"; }
has() { grep -q -F -- "$1" "$folder/play.txt" || fail "no '$1' in the output"; }
state() { (cd "$folder/service" && "$ctl" status --json 2>/dev/null) | grep -o '"state":[0-9]'; }

two='[{"ip":"10.0.0.1","remotePort":4001,"localPort":48101,"comPort":2,"rate":115200},
      {"ip":"plc-2","remotePort":4002,"localPort":48102,"comPort":3,"rate":9600}]'
play 0 "$two"
task_is "Port mappings" changed
task_is "Service state" changed
[ "$(state)" = '"state":4' ] || fail "the service does not run after the first run"
play 0 "$two"
recap_has "changed=0 "
task_is "Port mappings" ok
cp "$folder/service/Q7NPorts.xml" "$folder/before.xml"

one='[{"ip":"10.0.0.9","remotePort":4009,"localPort":48109,"comPort":9,"rate":19200}]'
play 0 "$one" --check --diff
task_is "Port mappings" changed
has "+1 ip=10.0.0.9"
cmp -s "$folder/before.xml" "$folder/service/Q7NPorts.xml" || fail "the check run wrote the file"

play 2 '[{"ip":7,"remotePort":4001,"localPort":48101,"comPort":2,"rate":9600}]'
task_is "Port mappings" fatal
has '\"ip\" is a number, not a string; nothing was changed'
cmp -s "$folder/before.xml" "$folder/service/Q7NPorts.xml" || fail "a bad list changed the file"
[ "$(state)" = '"state":4' ] || fail "a bad list changed the service"

(cd "$folder/service" && "$ctl" uninstall --wait 30 >/dev/null) || fail "the service stays"

# Both plays parse; the Windows one needs the ansible.windows collection (Debian's 'ansible').
ansible-playbook --syntax-check -i "$here/inventory.ini" "$here/q7n-linux.yml" >"$folder/play.txt" 2>&1 ||
    { fail "q7n-linux.yml does not parse"; cat "$folder/play.txt"; }
if ansible-galaxy collection list ansible.windows >/dev/null 2>&1; then
    ansible-playbook --syntax-check -i "$here/inventory.ini" "$here/q7n-windows.yml" \
        >"$folder/play.txt" 2>&1 || { fail "q7n-windows.yml does not parse"; cat "$folder/play.txt"; }
else
    echo "q7n-windows.yml not checked: the ansible.windows collection is not installed" \
        "(Debian's package 'ansible')"
fi

if [ "$failures" != 0 ]; then
    echo "$failures failures"
    exit 1
fi
