// COM headers for the late-bound object code. The build defines
// WIN32_LEAN_AND_MEAN, which keeps OLE out of <windows.h>.
#pragma once

#include "host/win_types.h"

#include <ole2.h>
#include <oleauto.h>
#include <wrl/client.h>
