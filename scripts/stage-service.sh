#!/bin/sh
# Puts the stand-in service program where the configurator looks for the service's program,
# FOLDER/Install/Q7NService.exe, so that it installs and starts a real service there. With
# PORTS_FILE, also puts that as the service's ports file FOLDER/Q7NPorts.xml unless one is there
# already (an edited one is kept); the service listens on its mappings' local ports while it runs.
#   scripts/stage-service.sh FIXTURE_SERVICE FOLDER [PORTS_FILE]
set -eu
mkdir -p "$2/Install"
cp "$1" "$2/Install/Q7NService.exe"
if [ $# -ge 3 ] && [ ! -e "$2/Q7NPorts.xml" ]; then
    cp "$3" "$2/Q7NPorts.xml"
fi
