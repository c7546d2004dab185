// Ids of the editing dialogs.
#pragma once

#define IDD_SEARCH 1
#define IDD_GOTO 2

// Search/Replace
#define IDC_SEARCHTEXT 101
#define IDC_REPLACETEXT 102
#define IDC_WHOLEWORD 111
#define IDC_MATCHCASE 112
#define IDC_REPLACE 123
#define IDC_REPLACEALL 124

// Go to line
#define IDC_GOTOLINE 100
