/* Resource numbers shared by setup.rc, the program and the tests. */
#ifndef RES_RESOURCE_H
#define RES_RESOURCE_H

#define IDD_PROMPT 102
#define IDI_SETUP 128
#define IDD_AGREEMENT 129
#define IDB_LOGO 131

#define IDC_PROMPT_ENTRY 1000
#define IDC_PROMPT_TEXT 1001
#define IDC_AGREEMENT_TEXT 1000

#endif
