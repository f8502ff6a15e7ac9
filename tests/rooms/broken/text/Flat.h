// An include that does not name its room.
#include "ShiftJis.h"
