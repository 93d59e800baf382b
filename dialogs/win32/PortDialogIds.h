#pragma once

// Resource and control identifiers of the port dialogs (shared by the resource script and code).
// The buttons are not IDOK and IDCANCEL: Enter must not press them.

#define IDD_Q7NPORT 3101
#define IDD_Q7NPORTS 3102

#define IDC_LBLIP 3110
#define IDC_EDTIP 3111
#define IDC_LBLRPORT 3112
#define IDC_EDTRPORT 3113
#define IDC_LBLLPORT 3114
#define IDC_EDTLPORT 3115
#define IDC_LBLCOMPORT 3116
#define IDC_CBBCOMPORT 3117
#define IDC_LBLRATE 3118
#define IDC_CBBRATE 3119
#define IDC_BTNOK 3120
#define IDC_BTNCANCEL 3121
#define IDC_SEPARATOR 3122

#define IDC_TOOLBAR 3130
#define IDC_LVPORTS 3131
#define IDC_ACTADD 3132
#define IDC_ACTEDIT 3133
#define IDC_ACTDELETE 3134
#define IDC_FINDINGS 3135
