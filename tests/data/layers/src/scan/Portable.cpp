// A scanner that reaches for a Windows header: the include check must refuse it.
#include "platform/win32/Win32.h"
