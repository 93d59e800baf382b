# Sourced by the q7nctl session scripts: a new folder with the fixture service ($fixture) staged
# as the service's program, made the current folder, with its own machine database; fail SAYS
# counts a failure and shows the output of the latest command (out.txt, err.txt).
folder=$(mktemp -d)
chmod 755 "$folder"
sh "$(dirname "${BASH_SOURCE[0]}")/../../scripts/stage-service.sh" "$fixture" "$folder" || exit 1
cd "$folder" || exit 1
export Q7N_MACHINE_DB="$folder/machine.sqlite"
failures=0

fail() {
    echo "FAIL: $*"
    cat "$folder/out.txt" "$folder/err.txt"
    failures=$((failures + 1))
}
