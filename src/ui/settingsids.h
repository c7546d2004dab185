// Ids of the settings dialogs.
#pragma once
