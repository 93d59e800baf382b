#!/bin/sh
# Puts the stand-in service program where the configurator looks for the service's program,
# FOLDER/Install/Q7NService.exe, so that it installs and starts a real service there.
#   scripts/stage-service.sh FIXTURE_SERVICE FOLDER
set -eu
mkdir -p "$2/Install"
cp "$1" "$2/Install/Q7NService.exe"
