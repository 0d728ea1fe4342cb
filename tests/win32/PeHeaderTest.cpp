#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tests/support/TestFolders.h"

// The built installers' headers, read from the file as Windows' loader reads it: the exe of this
// build's architecture and the shipped 32-bit one, which a host that runs no 32-bit programs still
// builds and checks here.
namespace {

std::string InstallerPath() {
    const char* other = std::getenv("INSTALATOR_EXE");
    return WindowsPath(other && *other ? other : INSTALATOR_EXE);
}

// Known DLLs on every Windows the wizard supports (7 to 11): always loaded from the system, never
// from the installer's folder.
const std::set<std::string> KnownDlls = {
    "advapi32.dll", "clbcatq.dll",  "comdlg32.dll", "difxapi.dll", "gdi32.dll",    "imagehlp.dll",
    "imm32.dll",    "kernel32.dll", "msctf.dll",    "msvcrt.dll",  "normaliz.dll", "nsi.dll",
    "ntdll.dll",    "ole32.dll",    "oleaut32.dll", "psapi.dll",   "rpcrt4.dll",   "sechost.dll",
    "setupapi.dll", "shell32.dll",  "shlwapi.dll",  "user32.dll",  "wldap32.dll",  "ws2_32.dll",
};

// Loaded when the folder chooser first opens, so the start does not wait for them.
const std::set<std::string> OnlyForTheChooser = {"shell32.dll", "ole32.dll"};

class Image {
  public:
    explicit Image(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    // A PE32 (32-bit) or PE32+ (64-bit) image whose headers lie inside the file.
    bool Valid() const {
        return bytes.size() > sizeof(IMAGE_DOS_HEADER) && Dos().e_magic == IMAGE_DOS_SIGNATURE &&
               Dos().e_lfanew > 0 && Fits(Dos().e_lfanew, sizeof(IMAGE_NT_HEADERS64)) &&
               Nt().Signature == IMAGE_NT_SIGNATURE &&
               (Nt().OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC || Wide()) &&
               Fits(SectionsOffset(), Count() * sizeof(IMAGE_SECTION_HEADER));
    }
    bool Wide() const { return Nt().OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC; }
    std::size_t Size() const { return bytes.size(); }
    // The file header and the optional header's first fields are the same in both forms.
    const IMAGE_NT_HEADERS32& Nt() const { return At<IMAGE_NT_HEADERS32>(Dos().e_lfanew); }
    const IMAGE_NT_HEADERS64& Nt64() const { return At<IMAGE_NT_HEADERS64>(Dos().e_lfanew); }
    std::size_t Count() const { return Nt().FileHeader.NumberOfSections; }
    const IMAGE_SECTION_HEADER& Section(std::size_t i) const {
        return At<IMAGE_SECTION_HEADER>(SectionsOffset() + i * sizeof(IMAGE_SECTION_HEADER));
    }
    WORD DllCharacteristics() const {
        return Wide() ? Nt64().OptionalHeader.DllCharacteristics
                      : Nt().OptionalHeader.DllCharacteristics;
    }
    const IMAGE_DATA_DIRECTORY& Directory(int index) const {
        return Wide() ? Nt64().OptionalHeader.DataDirectory[index]
                      : Nt().OptionalHeader.DataDirectory[index];
    }

    // The names of the imported DLLs, lower case; "?" for one that lies outside the file.
    std::vector<std::string> ImportedDlls() const {
        std::vector<std::string> names;
        std::size_t offset = FileOffset(Directory(IMAGE_DIRECTORY_ENTRY_IMPORT).VirtualAddress);
        for (; Fits(offset, sizeof(IMAGE_IMPORT_DESCRIPTOR));
             offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            const auto& entry = At<IMAGE_IMPORT_DESCRIPTOR>(offset);
            if (entry.Name == 0) break;
            std::size_t name = FileOffset(entry.Name);
            std::string text;
            while (Fits(name, 1) && bytes[name])
                text += static_cast<char>(::tolower(bytes[name++]));
            names.push_back(Fits(name, 1) ? text : "?");
        }
        return names;
    }

  private:
    const IMAGE_DOS_HEADER& Dos() const { return At<IMAGE_DOS_HEADER>(0); }
    std::size_t SectionsOffset() const {
        return Dos().e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
               Nt().FileHeader.SizeOfOptionalHeader;
    }
    bool Fits(std::size_t offset, std::size_t size) const {
        return offset <= bytes.size() && size <= bytes.size() - offset;
    }
    template <typename T>
    const T& At(std::size_t offset) const {
        return *reinterpret_cast<const T*>(bytes.data() + offset);
    }
    // Past the end of the file when no section holds the address.
    std::size_t FileOffset(DWORD rva) const {
        for (std::size_t i = 0; i < Count(); ++i) {
            const IMAGE_SECTION_HEADER& s = Section(i);
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return bytes.size();
    }

    std::vector<unsigned char> bytes;
};

void CheckHardened(const std::string& path) {
    Image image(path);
    ASSERT_TRUE(image.Valid());
    WORD flags = image.DllCharacteristics();
    const struct {
        const char* what;
        bool holds;
    } checks[] = {
        {"address space layout randomisation (DYNAMIC_BASE)",
         (flags & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE) != 0},
        {"no execution of data (NX_COMPAT)", (flags & IMAGE_DLLCHARACTERISTICS_NX_COMPAT) != 0},
        {"TERMINAL_SERVER_AWARE", (flags & IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE) != 0},
        // The component library's guard installs an exception handler.
        {"no NO_SEH claim", (flags & IMAGE_DLLCHARACTERISTICS_NO_SEH) == 0},
        {"relocations kept, or the image cannot move",
         !(image.Nt().FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED) &&
             image.Directory(IMAGE_DIRECTORY_ENTRY_BASERELOC).Size > 0},
    };
    for (const auto& check : checks) EXPECT_TRUE(check.holds) << check.what;

    for (std::size_t i = 0; i < image.Count(); ++i) {
        const IMAGE_SECTION_HEADER& section = image.Section(i);
        std::string name(reinterpret_cast<const char*>(section.Name),
                         strnlen(reinterpret_cast<const char*>(section.Name), 8));
        EXPECT_FALSE((section.Characteristics & IMAGE_SCN_MEM_WRITE) &&
                     (section.Characteristics & IMAGE_SCN_MEM_EXECUTE))
            << name << " is writable and executable";
    }

    std::vector<std::string> imported = image.ImportedDlls();
    EXPECT_FALSE(imported.empty());
    for (const std::string& dll : imported) {
        EXPECT_TRUE(KnownDlls.count(dll)) << dll << " is not a known DLL";
        EXPECT_FALSE(OnlyForTheChooser.count(dll)) << dll << " is imported, not loaded when needed";
    }
}

TEST(PeHeader, TheInstallersAreHardenedAndTheShippedOneSmall) {
    for (const std::string& path : {InstallerPath(), WindowsPath(SHIPPED_EXE)}) {
        SCOPED_TRACE(path);
        CheckHardened(path);
    }
    Image shipped(WindowsPath(SHIPPED_EXE));
    ASSERT_TRUE(shipped.Valid());
    EXPECT_EQ(shipped.Nt().FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
    EXPECT_FALSE(shipped.Wide());
    EXPECT_LE(shipped.Size(), 196608u) << "more than 192 KiB";
}

}  // namespace
