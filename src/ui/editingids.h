// Ids of the editing dialogs.
#pragma once
