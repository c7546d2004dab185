// Procedures of the documents subsystem that the main window calls.
#pragma once
#include <cstdint>
#include <string>

// Editing control configuration.
void SETUPEDITOR();
void APPLYSTYLES();
void UPDATELINENUMBERWIDTH();

// Keyword lists.
void LOADKEYWORDS();

// Opening, saving, export.
std::int32_t OPENFILE(std::int32_t mode);
std::int32_t SAVEFILE();
std::int32_t SAVEFILEAS();
std::int32_t EXPORTRTF(const std::string &name);
void APPLYFILESETTINGS();
