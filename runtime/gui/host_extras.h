// The host's common controls, common dialogs, rich edit and COM declarations, which need
// <windows.h> (through the internal header) before them.
#pragma once

#include "runtime/gui/gui_internal.h"
// clang-format off: these depend on <windows.h> above.
#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>
#include <richedit.h>
// clang-format on
