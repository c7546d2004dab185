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

// Go to Sub and word completion: the commands at the end of the Edit menu,
// the Options item, and the Go to Sub dialog.
#define CMD_GOTOSUB 1240
#define CMD_COMPLETEWORD 1241
#define CMD_AUTOCOMPLETE 1413
#define IDD_GOTOSUB 32
#define IDC_SUBFILTER 10401
#define IDC_SUBLIST 10402
