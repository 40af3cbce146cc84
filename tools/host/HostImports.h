// Replacement of one imported function in a loaded module's import address table.
#pragma once

#include <windows.h>

// Points module's import of dll!function at replacement and answers the address it had, or
// null when the module does not import that function by name.
void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement);
// The import address table entry of dll!function in module, or null when it imports none by name.
void** FindImportSlot(HMODULE module, const char* dll, const char* function);
