#include "model/ServerRegistry.h"

HKEY g_hkeyServer = HKEY_LOCAL_MACHINE;
