#pragma once

// Shared by the resource script and the code; a macro, as the resource compiler reads it.
#define SG_ICON 1
