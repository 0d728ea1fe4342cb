#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "platform/win32/OurFiles.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Files.h"

// Creates the new file, its handle in `file`, where nothing has the name (a link left there, even
// one to nowhere, is not followed); an error code, or 0.
DWORD CreateNew(const std::wstring& path, UniqueFile& file);

// Writes the bytes to a file made by CreateNew, makes them durable and compares what the disk
// gives back with them; an error code, NotAsWritten, or 0. `buffer` is kept for the next file.
DWORD WriteChecked(const FileCalls& calls, HANDLE file, const unsigned char* data, std::size_t size,
                   std::vector<unsigned char>& buffer);
