// Small registry writers for the start-up entry. Keys are only opened, never created, and closed
// within each call; the callers ignore failures by design.
#pragma once

#include <windows.h>

#include <string>

namespace shell {

// REG_SZ writes the text with its character count as length (no NUL); REG_DWORD writes the text read
// as a decimal 32-bit number (ERROR_INVALID_DATA when it is none); other types write nothing and give 0.
LONG WriteRegistryValue(HKEY key, const std::string& name, DWORD type, const std::string& data);
// `view` (KEY_WOW64_64KEY or KEY_WOW64_32KEY) picks a registry view of the key; 0 the program's own.
LONG SaveRegistryValue(HKEY hive, const std::string& keyPath, const std::string& name, const std::string& data,
                       DWORD type, REGSAM view = 0);
LONG DeleteRegistryValue(HKEY hive, const std::string& keyPath, const std::string& name, REGSAM view = 0);

// Tests stand in for RegOpenKeyExA here, to see how the callers take a key they may not open.
using RegOpenKeyFn = LONG(WINAPI*)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
void SetRegOpenKeyForTesting(RegOpenKeyFn fn);  // null restores the real one

}  // namespace shell
