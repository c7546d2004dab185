// The open document and the documents subsystem: the editing control's set-up,
// the keyword lists, opening, saving and export.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "document/settingsblock.h"

// The file as it was on disk when the editor last read or wrote it.
struct DISKSTAMP {
    bool Known = false;
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

// Keyword lists.
void LOADKEYWORDS();
// The Basic keyword list as last loaded (the keyword help searches it).
const std::string &BASICKEYWORDLIST();

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
