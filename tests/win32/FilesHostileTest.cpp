#include <algorithm>
#include <optional>

#include "tests/win32/FilesTestSupport.h"

namespace {

using namespace std::string_literals;

void WriteJournalText(const std::wstring& path, const std::wstring& text) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(
        ::WriteFile(file.get(), text.data(), text.size() * sizeof(wchar_t), &written, nullptr));
}

// Starts a Unix program in `folder` and waits until `done` says it has done its work: Wine starts
// a Unix program as it does a Windows one (drive Z: is the Unix root) but does not wait for it.
bool RunUnix(const std::wstring& folder, std::wstring command, const std::function<bool()>& done) {
    std::wstring program = L"Z:\\bin\\" + command.substr(0, command.find(L' '));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &process))
        return false;
    UniqueKernelHandle processHandle(process.hProcess), thread(process.hThread);
    for (int wait = 0; wait < 500 && !done(); ++wait) ::Sleep(10);
    return done();
}

// A symbolic link in `folder` to `to`, a path relative to it. Wine's CreateSymbolicLinkW succeeds
// and makes nothing, and Wine shows a Unix link as the file it points to (where Windows shows a
// reparse point): so under Wine the link is made by /bin/ln, in the folder, with no Unix path.
bool MakeSymbolicLink(const std::wstring& folder, const std::wstring& name, std::wstring to) {
    auto made = [&] {
        Listed names = Listing(folder);
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    if (made()) return false;
    if (::CreateSymbolicLinkW((folder + L"\\" + name).c_str(), to.c_str(),
                              SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
        made())
        return true;
    std::replace(to.begin(), to.end(), L'\\', L'/');
    return RunUnix(folder, L"ln -s " + to + L" " + name, made);
}

// What others may leave in a shared templates folder. Whatever it is, nothing but the six targets
// changes, they change together or not at all, and nothing is made or changed outside the folder.
// Wine shows a hard link by its link count, as Windows does; a symbolic link only by the path the
// opened file resolves to.
TEST_F(FilesTest, WhatOthersLeaveInTheFolderIsNeverActedOn) {
    enum Plant { HardLink, SymbolicLink, DanglingLink, HeldOverlay, Journal, Plain };
    // An earlier overlay's six files, Kolwenta3A.rtf held open, and a journal that would remove
    // them all if its damaged line were taken for Kolwenta3B.rtf.
    std::wstring nul = L"FFFFFFFF Kolwenta3A.rtf\nFFFFFFFF Kolwenta3B.rtf"s + L'\0' +
                       L"x\nFFFFFFFF Kolwenta3C.rtf\nFFFFFFFF Kolwenta3CC.rtf\n"
                       L"FFFFFFFF Kolwenta3CCC.rtf\nFFFFFFFF Kolwenta3CZ.rtf\nend\n";
    struct Row {
        const char* what;
        Plant plant;
        const wchar_t* name;                  // in the templates folder
        std::optional<std::wstring> journal;  // planted journal text
        bool installs;
    } rows[] = {
        {"journal hard link", HardLink, L"z27z.journal", {}, false},
        {"journal symbolic link", SymbolicLink, L"z27z.journal", {}, false},
        {"journal link to nowhere", DanglingLink, L"z27z.journal", {}, false},
        {"target hard link", HardLink, L"Kolwenta3C.rtf", {}, false},
        {"target symbolic link", SymbolicLink, L"Kolwenta3A.rtf", {}, false},
        {"staging name hard link", HardLink, L"Kolwenta3B.rtf.z27z-new", L"", false},
        {"staging name symbolic link", SymbolicLink, L"Kolwenta3B.rtf.z27z-new", L"", false},
        {"backup name hard link", HardLink, L"Kolwenta3CZ.rtf.z27z-old", {}, false},
        {"backup name symbolic link", SymbolicLink, L"Kolwenta3A.rtf.z27z-old", L"", false},
        {"journal of another report", Journal, nullptr, L"00000020 Inny.rtf\nend\n", true},
        {"trailing dot", Journal, nullptr, L"00000020 Inny.rtf.\nend\n", true},
        {"trailing space", Journal, nullptr, L"00000020 Inny.rtf \nend\n", true},
        {"ours and another", Journal, nullptr, L"00000020 Kolwenta3A.rtf\n00000020 Inny.rtf\nend\n",
         true},
        {"NUL in a name, a target held", HeldOverlay, L"Kolwenta3A.rtf", nul, false},
        {"stale staging file", Plain, L"Kolwenta3B.rtf.z27z-new", {}, true},
        {"stale backup", Plain, L"Kolwenta3A.rtf.z27z-old", {}, true},
    };
    int run = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::wstring host = folder.Wide() + L"\\hostile" + std::to_wstring(++run);
        ASSERT_TRUE(::CreateDirectoryW(host.c_str(), nullptr));
        std::wstring outside = host + L"\\outside.txt";
        Create(outside, "plik spoza zestawu");
        std::wstring here = host + L"\\SZABLONY";
        MakeHostFolder(here);
        // Another report's backup beside it: a journal naming Inny.rtf would bring it back.
        Create(here + L"\\Inny.rtf.z27z-old", "podrzucony");
        if (row.plant == HardLink) {
            if (row.name == std::wstring(L"Kolwenta3C.rtf")) Create(outside, "stary Kolwenta3C");
            ::DeleteFileW((here + L"\\" + row.name).c_str());
            ASSERT_TRUE(
                ::CreateHardLinkW((here + L"\\" + row.name).c_str(), outside.c_str(), nullptr));
        } else if (row.plant == SymbolicLink || row.plant == DanglingLink) {
            ::SetFileAttributesW((here + L"\\" + row.name).c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW((here + L"\\" + row.name).c_str());
            // Wine lists no link to nowhere: it is made to a file, which then goes.
            Create(host + L"\\nowhere.txt", "");
            ASSERT_TRUE(MakeSymbolicLink(
                here, row.name,
                row.plant == SymbolicLink ? L"..\\outside.txt" : L"..\\nowhere.txt"));
            ASSERT_TRUE(::DeleteFileW((host + L"\\nowhere.txt").c_str()));
        } else if (row.plant == HeldOverlay) {
            for (int i : {2, 4}) Create(here + L"\\" + Names[i], "stary " + Narrow(Names[i]));
        } else if (row.plant == Plain) {
            Create(here + L"\\" + row.name, "pozostałość");
        }
        if (row.journal) WriteJournalText(here + L"\\z27z.journal", *row.journal);
        FolderState found = StateOf(here);
        std::string outsideBytes = ContentOf(outside);
        UniqueFile held;
        if (row.plant == HeldOverlay) held = HoldWithoutSharing(here + L"\\" + row.name);

        int staged = 0;
        bool installed = true;
        try {
            InstallSix(files, here, staged);
        } catch (const Failure&) {
            installed = false;
        }
        held.reset();
        EXPECT_EQ(installed, row.installs);
        EXPECT_EQ(ContentOf(outside), outsideBytes);
        EXPECT_EQ(Listing(host), (Listed{L"SZABLONY", L"outside.txt"}));
        FolderState expected = found;
        if (installed) {
            for (int i = 0; i < 6; ++i)
                expected[Names[i]] = {NewContent(i), FILE_ATTRIBUTE_ARCHIVE};
            for (auto name = expected.begin(); name != expected.end();)
                name = name->first.find(L"Kolwenta3") == 0 &&
                               name->first.find(L".z27z-") != std::wstring::npos
                           ? expected.erase(name)
                           : std::next(name);
        }
        // A plain journal under our name that we could not act on is discarded, as ours would be.
        if (installed || row.journal) expected.erase(L"z27z.journal");
        EXPECT_EQ(StateOf(here), expected);
        // Wine would delete what a Unix link points to, and lists no link to nowhere.
        if (row.plant == SymbolicLink || row.plant == DanglingLink) {
            EXPECT_TRUE(RunUnix(folder.Wide(), L"rm -rf hostile" + std::to_wstring(run), [&] {
                return ::GetFileAttributesW(host.c_str()) == INVALID_FILE_ATTRIBUTES;
            }));
        }
    }
}

}  // namespace
