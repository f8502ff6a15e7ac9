// The command line reaching across into the window.
#include "app/win32/Unit1.h"
