// Placeholder bodies until the real services land; this file is deleted then.
#include <stdexcept>

#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32FolderChooser.h"
#include "platform/win32/Win32Libraries.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Resources.h"

void RestrictDllSearchPath() {}
std::optional<std::string> Win32Registry::ReadUserString(const std::string&, const std::string&) {
    return std::nullopt;
}
LibraryHandle Win32Libraries::Load(const std::string&) { return nullptr; }
ExportAddress Win32Libraries::Find(LibraryHandle, const char*) { return nullptr; }
std::uint8_t Win32Libraries::CallByteFunction(ExportAddress) { return 0; }
void Win32Libraries::CallBufferFunction(ExportAddress, OwnerBuffer&) {}
void Win32Libraries::Free(LibraryHandle) {}
std::optional<std::string> Win32FolderChooser::Choose(const std::string&, const std::string&) {
    return std::nullopt;
}
Payload Win32Resources::Open(const std::string& name) {
    throw std::runtime_error("Resource " + name + " not found");
}
void Win32Resources::Release(const Payload&) {}
bool Win32Files::SetAttributes(const std::string&, std::uint32_t) { return false; }
void Win32Files::ReplaceContents(const std::string&, const unsigned char*, std::size_t) {
    throw std::runtime_error("Stream write error");
}
