// Procedures of the documents subsystem that the main window calls.
#pragma once
#include <cstdint>
#include <string>

#include "document/settingsblock.h"

// Editing control configuration.
void SETUPEDITOR();
void APPLYSTYLES();
void UPDATELINENUMBERWIDTH();

// Font and colours dialog: shows it modally; 1 when it ended with OK.
int OPENFONTSETTINGS();

// Keyword lists.
void LOADKEYWORDS();
// The Basic keyword list as last loaded (the keyword help searches it).
const std::string &BASICKEYWORDLIST();

// The project settings of the current document; they travel in its
// settings block.
extern PROJECTSETTINGSRECORD ProjectSettings;
// Set when the Project settings dialog changed ProjectSettings: until the
// document is saved or replaced, that counts as an unsaved change.
extern bool ProjectSettingsChanged;
// The text or the project settings hold changes that are not on disk.
bool DOCUMENTMODIFIED();

// Opening, saving, export.
// Asks whether modified text is to be saved; true when the caller may drop
// the text (saved, not modified, or No), false for Cancel or a failed save.
bool ASKTOSAVE();
std::int32_t OPENFILE(std::int32_t mode);
std::int32_t SAVEFILE();
std::int32_t SAVEFILEAS();
std::int32_t EXPORTRTF(const std::string &name);
void APPLYFILESETTINGS();
