// Resources: the listing's resource file, the resource editor, the empty
// resource file and the PowerBASIC resource converter.
#pragma once
#include <cstdint>
#include <string>

// Edit Resources (F7).
void EDITRESOURCES();
// Update PowerBasic Resources (F8).
void UPDATEPBRESOURCES();

// The resource file of the current listing: from the project settings or the
// proposed name (FreeBASIC), or from the listing's resource statement
// (PowerBASIC); a missing file may be created on request. Returns the name's
// length, 0 when there is no usable name (name is then empty).
std::int32_t GETRESOURCEFILENAME(std::string &name);

// Writes an empty 32-bit resource file under name, asking before it replaces
// an existing file (which is kept as name + ".bak"). 1 when writing failed,
// else 0 (also for a name without the .res extension, or No).
std::int32_t CREATEEMPTYRESFILE(const std::string &name);
