#!/usr/bin/env bash
# Checks that Windows programs start on Windows 7 (and on every later Windows): each imports only
# DLLs that Windows 7 has, and none of the functions that came with Windows 8 or later. The build
# targets Windows 7 (_WIN32_WINNT=0x0601, so the headers declare nothing newer); this catches what
# slips past that: a library linked in that calls a newer function, a newer DLL asked for by name.
# A newer function is taken with GetProcAddress where it is wanted, which imports nothing.
#   scripts/check-windows-imports.sh PROGRAM.exe...
# OBJDUMP names the objdump to use (any mingw-w64 one reads both 32- and 64-bit programs).
set -euo pipefail
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}

# DLLs of Windows 7 that a program of ours may import (in lower case). A DLL outside the list
# fails the check until someone has made sure Windows 7 has it, and added it here.
windows7_dlls=" advapi32.dll comctl32.dll comdlg32.dll crypt32.dll dbghelp.dll dwmapi.dll gdi32.dll
 gdiplus.dll imm32.dll iphlpapi.dll kernel32.dll msimg32.dll msvcrt.dll mswsock.dll netapi32.dll
 ntdll.dll ole32.dll oleaut32.dll psapi.dll rpcrt4.dll secur32.dll setupapi.dll shell32.dll
 shlwapi.dll user32.dll userenv.dll uxtheme.dll version.dll winmm.dll winspool.drv ws2_32.dll
 wtsapi32.dll bcrypt.dll "

# Functions that Windows 7's DLLs lack: those whose "Minimum supported client" in the Windows
# API's documentation is Windows 8, 8.1 or 10 (and later), among the DLLs above. Mostly the
# per-monitor DPI functions (user32: Windows 10 1607 and 1703), the pointer and touch input of
# Windows 8, dwmapi's gestures of Windows 8 (dwmapi.dll itself is there since Vista), and
# kernel32's additions of Windows 8 and 10.
newer_functions="
AdjustWindowRectExForDpi AreDpiAwarenessContextsEqual EnableNonClientDpiScaling
GetAwarenessFromDpiAwarenessContext GetDpiForSystem GetDpiForWindow GetDpiFromDpiAwarenessContext
GetSystemDpiForProcess GetSystemMetricsForDpi GetThreadDpiAwarenessContext
GetThreadDpiHostingBehavior GetWindowDpiAwarenessContext GetWindowDpiHostingBehavior
IsValidDpiAwarenessContext LogicalToPhysicalPointForPerMonitorDPI
PhysicalToLogicalPointForPerMonitorDPI SetProcessDpiAwarenessContext SetThreadDpiAwarenessContext
SetThreadDpiHostingBehavior SystemParametersInfoForDpi OpenThemeDataForDpi
EnableMouseInPointer GetPointerInfo GetPointerType GetPointerFrameInfo InitializeTouchInjection
InjectTouchInput RegisterPointerInputTarget GetCurrentInputMessageSource IsImmersiveProcess
GetDisplayAutoRotationPreferences SetDisplayAutoRotationPreferences
CreateFile2 CopyFile2 GetSystemTimePreciseAsFileTime WaitOnAddress WakeByAddressSingle
WakeByAddressAll GetCurrentThreadStackLimits GetOverlappedResultEx CreateFileMappingFromApp
MapViewOfFileFromApp VirtualAllocFromApp PrefetchVirtualMemory DiscardVirtualMemory
OfferVirtualMemory ReclaimVirtualMemory GetFirmwareType GetProcessMitigationPolicy
SetProcessMitigationPolicy SetThreadInformation GetThreadInformation GetProcessInformation
SetProcessInformation SetThreadDescription GetThreadDescription IsWow64Process2
GetMachineTypeAttributes GetCurrentPackageId GetCurrentPackageFullName GetPackageFullName
CreateProcessAsUserW2 GetIntegratedDisplaySize InitializeSynchronizationBarrier
EnterSynchronizationBarrier DeleteSynchronizationBarrier GetPointerDevices
DwmRenderGesture DwmShowContact DwmTetherContact
AddDllDirectory RemoveDllDirectory SetDefaultDllDirectories
"
# (The last three reached Windows 7 only with an update, KB2533623, that not every machine has.)

# One blank between names, and one at each end, for the lookups below.
# shellcheck disable=SC2086
windows7_dlls=" $(echo $windows7_dlls) "
# shellcheck disable=SC2086
newer_functions=" $(echo $newer_functions) "

status=0
for program in "$@"; do
    name=$(basename "$program")
    [ -f "$program" ] || { echo "check-windows-imports: no program $program" >&2; status=1; continue; }
    # "DLL Name: X" opens each DLL's block; its functions follow, one a line, the name last.
    imports=$("$objdump" -p "$program" | awk '
        /^[ \t]*DLL Name: / { dll = tolower($3); print "dll " dll; next }
        dll != "" && /^[ \t]*$/ { dll = ""; next }
        dll != "" && $1 ~ /^[0-9a-f]+$/ && NF >= 3 { print "fn " dll " " $NF }')
    [ -n "$imports" ] || { echo "check-windows-imports: $name: no import table read" >&2; status=1; continue; }
    while read -r kind dll function; do
        if [ "$kind" = dll ]; then
            case "$dll" in
            api-ms-win-* | ext-ms-*)
                echo "$name: imports the API set $dll, which Windows 7 does not have" >&2
                status=1 ;;
            shcore.dll)
                echo "$name: imports shcore.dll, which came with Windows 8.1" >&2
                status=1 ;;
            *)
                if [[ "$windows7_dlls" != *" $dll "* ]]; then
                    echo "$name: imports $dll, not on the list of Windows 7's DLLs" >&2
                    status=1
                fi ;;
            esac
        elif [[ "$newer_functions" == *" $function "* ]]; then
            echo "$name: imports $function from $dll, which Windows 7 does not have" >&2
            status=1
        fi
    done <<<"$imports"
done
[ $status -ne 0 ] || echo "check-windows-imports: $# programs import nothing that Windows 7 lacks"
exit $status
