// Ids of the help dialogs.
#pragma once

// The editor's help window: topic list and RichEdit text.
#define IDD_EDITORHELP 9
#define IDC_HELPTEXT 100
#define IDC_HELPTOPICS 300

// The editor's own help text: RTF, sections separated by the byte 0x7F.
#define RT_HELPDOCUMENT 500
#define IDR_HELPDOCUMENT 1
