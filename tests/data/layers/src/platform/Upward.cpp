// A platform file that reaches up into the main window: the include check must refuse it.
#include "base/TextCompare.h"
#include "main/RegMain.h"
