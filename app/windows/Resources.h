#pragma once

// Ids of the program's Windows resources, shared by the resource script and the code.
#define IDI_MAINICON 1
#define IDI_GEARS 101
#define IDI_COMPUTER_TOOLS 102
