// The open document and the documents subsystem: the editing control's set-up,
// the keyword lists, opening, saving and export.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "document/settingsblock.h"

// The file as it was on disk when the editor last read or wrote it.
struct DISKSTAMP {
    bool Known = false;
    // Known to have been missing: no file was there under Path.
    bool Absent = false;
    std::string Path;
    std::uint64_t Size = 0;
    std::uint64_t LastWrite = 0;
};

// The one open document.
struct DOCUMENTRECORD {
    // Full path of the listing; empty for an untitled document.
    std::string CurrentFile;
    // Folder of the last listing opened or saved, with trailing backslash.
    std::string CurrentDir;
    // The project settings of the document; they travel in its settings block.
    PROJECTSETTINGSRECORD ProjectSettings;
    // Set when the Project settings dialog changed them: until the document
    // is saved or replaced, that counts as an unsaved change.
    bool ProjectSettingsChanged = false;
    // The settings block cut off the file just opened, until it is applied.
    std::string PendingSettings;
    DISKSTAMP Stamp;
    // The file starts with the UTF-8 byte-order mark: the text is UTF-8. The
    // mark is kept out of the editing control (nothing shows it, no caret
    // lands in it) and written back before the text; positions in the
    // settings block count it, as they count every byte of the file.
    bool ByteOrderMark = false;
    // The text came from a recovery copy: it counts as unsaved until it is
    // saved or replaced.
    bool Recovered = false;
};
extern DOCUMENTRECORD Document;

// Sent to the main window whenever the document's name changes; the main
// window then shows DOCUMENTTITLE in its title bar.
constexpr UINT WM_DOCUMENTNAMED = WM_APP + 1;
// The document's path, or the program's default title when it has none.
std::string DOCUMENTTITLE();
// Names the document that start-up will open (empty for none): its folder,
// or the program's folder when the name has none, becomes CurrentDir.
void NAMESTARTDOCUMENT(const std::string &file, const std::string &exeDir);

// Editing control configuration.
void SETUPEDITOR();
void APPLYSTYLES();
void UPDATELINENUMBERWIDTH();
// Sizes the margins for a DPI (the control's at set-up, a new one when the
// window's DPI changes): the symbol margin scaled, the line-number margin
// measured again. The control must have re-measured its fonts first.
void SCALEEDITORMARGINS(std::uint32_t dpi);

// Keyword lists.
void LOADKEYWORDS();
// The Basic keyword list as last loaded (the keyword help searches it).
const std::string &BASICKEYWORDLIST();
// The API keyword list as last loaded, and how many times the lists were
// loaded (word completion builds its words again when that changes).
const std::string &APIKEYWORDLIST();
std::uint32_t KEYWORDLOADS();

// The text or the project settings hold changes that are not on disk.
bool DOCUMENTMODIFIED();

// Asks whether modified text is to be saved; true when the caller may drop
// the text (saved, not modified, or No), false for Cancel, a failed or
// cancelled save, or an RTF export chosen in the Save As dialog.
bool ASKTOSAVE();

// Modes of OPENFILE: the File menu's commands and the start-up file.
enum OPENMODE : std::int32_t {
    OPENEMPTY = 1100,     // File, New, Empty file
    OPENTEMPLATE = 1101,  // File, New, By template file
    OPENDIALOG = 1110,    // File, Open
    OPENCURRENT = 11101,  // the file named at start-up, without a dialog
};
// Statuses of OPENFILE and OPENPATH.
enum : std::int32_t {
    OPENDONE = 0,
    OPENKEPT = 1,          // Cancel (or a failed save) at the save prompt
    OPENNOTCHOSEN = 2,     // the Open dialog was cancelled
    OPENCANNOTOPEN = 3,    // the file cannot be opened (or its name is too long)
    OPENCANNOTREAD = 4,    // the file cannot be read completely
};
std::int32_t OPENFILE(std::int32_t mode);

// How OPENPATH takes a file.
enum OPENAS : int {
    OPENASLISTING,    // the file becomes the document
    OPENASTEMPLATE,   // its text becomes an untitled document
    OPENASSTARTFILE,  // the document named at start-up: its name is dropped
                      // when the file exists but cannot be read
};
// Opens one path: first the save prompt, then the file replaces the document.
// A file that cannot be opened or read leaves the document as it was.
std::int32_t OPENPATH(const std::string &path, OPENAS as = OPENASLISTING);

// Statuses of SAVEFILE: 0 saved, 1 no file name, 2 cannot create or replace,
// 3 write failed, 4 the file changed on disk and the user kept it.
std::int32_t SAVEFILE();
// Save As; with exported given, it tells whether the user chose the RTF type
// (the listing was exported, not saved).
std::int32_t SAVEFILEAS(bool *exported = nullptr);
std::int32_t EXPORTRTF(const std::string &name);
void APPLYFILESETTINGS();

// Recovery copies of unsaved text (recovery.cpp): one file of this running
// program beside the settings file, written a few seconds after typing
// pauses while the document holds unsaved changes.
// Once the main window exists.
void STARTRECOVERY();
// At start-up: offers stale copies in turn, the one of startFile first.
// True when one became the document.
bool OFFERRECOVERY(const std::string &startFile);
// The text changed: a copy is due.
void NOTEDOCUMENTCHANGE();
// The text is saved or given up: this program's copy goes.
void DROPRECOVERY();
// Windows ends the session: the copy is written at once, and waited for.
void WRITERECOVERYNOW();
// A clean end: a copy being written is waited for.
void ENDRECOVERY();
// Once per run: the copies cannot be written.
void REPORTRECOVERYFAILURE();
// The path of this program's copy.
std::string RECOVERYFILE();
// Sent to the main window when a copy could not be written.
constexpr UINT WM_RECOVERYFAILED = WM_APP + 2;
// Sent to the main window once it runs: offer recovery copies, then open
// the start file.
constexpr UINT WM_STARTDOCUMENT = WM_APP + 3;
// When a copy is due after the last change, and at the latest after the
// first change not copied yet (milliseconds, for a listing below 8 MB).
struct RECOVERYTIMING {
    DWORD PauseMs = 2000;
    DWORD LongestMs = 5000;
    // Tests only: the background writer meets an exception, as it would on
    // an error no file function reports (the program never sets it).
    bool WriterThrows = false;
};
extern RECOVERYTIMING RecoveryTiming;

// Used by recovery.cpp: the block of a recovery copy, and the copy's bytes
// made the document under the listing's name (empty: untitled), modified.
std::string RECOVERYSETTINGSBLOCK();
// The control's text in one piece, without a copy and without taking memory;
// valid until the text changes.
const char *CONTROLTEXT();
bool OPENRECOVEREDTEXT(const std::string &listing, std::string_view bytes);
