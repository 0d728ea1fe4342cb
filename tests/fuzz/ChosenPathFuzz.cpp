#include <cstdint>

#include "discovery/ChosenLocation.h"
#include "platform/FolderOf.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

bool IsRoot(const std::string& path) {
    return path == "\\" || (path.size() == 3 && path[1] == ':' && path[2] == '\\');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string path(reinterpret_cast<const char*>(data), size);

    // The installer's own folder: the path less its last name; a root keeps its backslash.
    std::string folder = FolderOf(path);
    FUZZ_CHECK(path.compare(0, folder.size(), folder) == 0);
    FUZZ_CHECK(folder.empty() == (path.find('\\') == std::string::npos));
    if (!folder.empty()) {
        std::string rest = path.substr(folder.size());
        bool separated = !rest.empty() && rest[0] == '\\';
        FUZZ_CHECK(separated ? !IsRoot(folder + '\\') : IsRoot(folder));
        FUZZ_CHECK(rest.find('\\', separated ? 1 : 0) == std::string::npos);
    }
    // The same rule over UTF-16, as the Win32 layer uses it.
    std::u16string wide(data, data + size);
    std::string back;
    for (char16_t unit : FolderOf(wide)) back.push_back(static_cast<char>(unit));
    FUZZ_CHECK(back == folder);

    // A folder chosen by hand loses one trailing backslash, no more.
    std::string location = ChosenLocation(path);
    bool trailing = !path.empty() && path.back() == '\\';
    FUZZ_CHECK(location + (trailing ? "\\" : "") == path);
    return 0;
}
