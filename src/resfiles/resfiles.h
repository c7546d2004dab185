// Resources: the listing's resource file, the resource editor, the empty
// resource file and the PowerBASIC resource converter.
#pragma once

// Edit Resources (F7).
void EDITRESOURCES();
// Update PowerBasic Resources (F8).
void UPDATEPBRESOURCES();
