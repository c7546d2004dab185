// Ids of the help dialogs.
#pragma once
