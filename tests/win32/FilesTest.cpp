#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/Failure.h"
#include "platform/win32/Win32Files.h"
#include "tests/support/TemplateNames.h"
#include "tests/support/TestFolders.h"

using namespace std::string_literals;

namespace {

// Waits short enough for a test, long enough to see that a set waits at all.
constexpr FilePatience Quick{300, 200};

std::string ContentOf(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    if (!file) return "<missing>";
    std::string content(::GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    if (!content.empty()) ::ReadFile(file.get(), content.data(), content.size(), &read, nullptr);
    content.resize(read);
    return content;
}

void Create(const std::wstring& path, const std::string& content) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.get(), content.data(), content.size(), &written, nullptr));
}

// As the host program holds a template it has open. Wine, like Windows, refuses to open such a
// file, to replace it or to rename over it (a sharing violation), so the test needs no stand-in.
UniqueFile HoldWithoutSharing(const std::wstring& path) {
    return UniqueFile(
        ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

// Every file of a folder with its bytes and attributes.
struct FoundFile {
    std::string bytes;
    DWORD attributes;
    bool operator==(const FoundFile& other) const {
        return bytes == other.bytes && attributes == other.attributes;
    }
};
using FolderState = std::map<std::wstring, FoundFile>;
void PrintTo(const FolderState& state, std::ostream* out) {
    for (const auto& [name, file] : state)
        *out << "\n  " << Narrow(name) << " " << std::hex << file.attributes << std::dec << " \""
             << file.bytes << "\"";
}

FolderState StateOf(const std::wstring& folder) {
    FolderState state;
    for (const std::wstring& name : Listing(folder)) {
        std::wstring path = folder + L"\\" + name;
        state[name] = {ContentOf(path), ::GetFileAttributesW(path.c_str())};
    }
    return state;
}

std::string CannotCreate(const std::wstring& path, DWORD code) {
    return "Cannot create file \"" + Narrow(path) + "\". " + SystemErrorText(code);
}

// The six templates of one installation and the folder they lie in as a host program has it:
// protected, plain and missing targets and a file of its own that is none of ours.
const std::vector<std::wstring> Names = [] {
    std::vector<std::wstring> wide;
    for (const std::string& name : TemplateNames()) wide.push_back(Widen(name));
    return wide;
}();
using Listed = std::vector<std::wstring>;
std::string NewContent(int i) {
    return "{\\rtf nowy " + std::to_string(i) + "}\r\n";
}

void MakeHostFolder(const std::wstring& templates) {
    ASSERT_TRUE(::CreateDirectoryW(templates.c_str(), nullptr));
    const DWORD attributes[] = {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN,
                                0,
                                0,
                                FILE_ATTRIBUTE_SYSTEM,
                                0,
                                FILE_ATTRIBUTE_ARCHIVE};
    for (int i : {0, 1, 3, 5}) {
        std::wstring path = templates + L"\\" + Names[i];
        Create(path, "stary " + Narrow(Names[i]));
        if (attributes[i]) {
            ASSERT_TRUE(::SetFileAttributesW(path.c_str(), attributes[i]));
        }
    }
    Create(templates + L"\\Inny.rtf", "szablon innego raportu");
}

void Stage(FileSet& set, const std::wstring& path, const std::string& content) {
    set.Stage(Narrow(path), reinterpret_cast<const unsigned char*>(content.data()), content.size());
}

std::vector<std::string> SixTargets(const std::wstring& templates) {
    std::vector<std::string> targets;
    for (const std::wstring& name : Names) targets.push_back(Narrow(templates + L"\\" + name));
    return targets;
}

// Stages the six new templates in table order, counting them, and commits them.
void InstallSix(
    Files& files, const std::wstring& templates, int& staged,
    const std::function<void()>& beforeCommit = [] {}) {
    std::unique_ptr<FileSet> set = files.BeginSet(SixTargets(templates));
    for (staged = 0; staged < 6; ++staged)
        Stage(*set, templates + L"\\" + Names[staged], NewContent(staged));
    beforeCommit();
    set->Commit();
}

// The next rename through a handle to this name fails, as a share that refuses it for a moment
// would (putting the old file back is a rename to the same name); an empty name refuses none.
std::wstring refusedName;
BOOL WINAPI RefusingSetFileInformation(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info,
                                       DWORD size) {
    if (kind == FileRenameInfo && !refusedName.empty()) {
        const auto* rename = static_cast<const FILE_RENAME_INFO*>(info);
        std::wstring to(rename->FileName, rename->FileNameLength / sizeof(wchar_t));
        if (to.size() >= refusedName.size() &&
            to.compare(to.size() - refusedName.size(), refusedName.size(), refusedName) == 0) {
            refusedName.clear();
            ::SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
    }
    return ::SetFileInformationByHandle(file, kind, info, size);
}

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        templates = folder.Wide() + L"\\SZABLONY";
        target = templates + L"\\" + Names[0];
    }

    // A set of one file.
    void Replace(const std::wstring& path, const std::string& content) {
        std::unique_ptr<FileSet> set = files.BeginSet({Narrow(path)});
        Stage(*set, path, content);
        set->Commit();
    }
    std::string ErrorOf(const std::wstring& path, const std::string& content) {
        try {
            Replace(path, content);
        } catch (const Failure& error) {
            return error.what();
        }
        return "no error";
    }

    TemporaryFolder folder;
    std::wstring templates;
    std::wstring target;
    Win32Files files{{}, Quick};
};

TEST_F(FilesTest, NewAndExistingFilesGetExactlyTheBytesAndNothingElseIsLeft) {
    ASSERT_TRUE(::CreateDirectoryW(templates.c_str(), nullptr));
    std::string first = "{\\rtf1 \\'b3\\'f3d\\'9f}\r\n\0 binary \x1a\xff end";
    first.append(1, '\0');
    Replace(target, first);
    EXPECT_EQ(ContentOf(target), first);

    std::string shorter = "\\trowd {\\row}";
    Replace(target, shorter);
    EXPECT_EQ(ContentOf(target), shorter);

    std::string large(3 * 1024 * 1024 + 7, 'x');
    for (std::size_t i = 0; i < large.size(); i += 4096) large[i] = static_cast<char>(i / 4096);
    Replace(target, large);
    EXPECT_EQ(ContentOf(target), large);

    Replace(target, "");
    EXPECT_EQ(ContentOf(target), "");

    std::wstring polish = templates + L"\\Zażółć gęślą jaźń.rtf";
    Replace(polish, "ok");
    EXPECT_EQ(ContentOf(polish), "ok");

    EXPECT_EQ(Listing(templates), (Listed{Names[0], L"Zażółć gęślą jaźń.rtf"}));
    EXPECT_EQ(::GetFileAttributesW(target.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
}

TEST_F(FilesTest, AMissingFolderFailsAndIsNotCreated) {
    std::string error = ErrorOf(target, "content");
    std::string prefix = "Cannot create file \"" + Narrow(target) + "\". ";
    EXPECT_EQ(error.substr(0, prefix.size()), prefix);
    EXPECT_GT(error.size(), prefix.size());
    EXPECT_EQ(Listing(folder.Wide()), Listed{});
}

TEST_F(FilesTest, ATargetHeldOpenWithoutSharingKeepsItsContentAndNoTemporaryFileIsLeft) {
    ASSERT_TRUE(::CreateDirectoryW(templates.c_str(), nullptr));
    Create(target, "old content");
    {
        UniqueFile held = HoldWithoutSharing(target);
        ASSERT_TRUE(held);
        EXPECT_EQ(ErrorOf(target, "new content"), CannotCreate(target, ERROR_SHARING_VIOLATION));
    }
    EXPECT_EQ(ContentOf(target), "old content");
    EXPECT_EQ(Listing(templates), Listed{Names[0]});
}

// From its staging on, a target is held: nobody writes, renames or removes it before the swap.
TEST_F(FilesTest, AStagedTargetIsHeldUntilItIsSwapped) {
    ASSERT_TRUE(::CreateDirectoryW(templates.c_str(), nullptr));
    Create(target, "old content");
    std::unique_ptr<FileSet> set = files.BeginSet({Narrow(target)});
    Stage(*set, target, "new content");
    UniqueFile writer(::CreateFileW(target.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(writer);
    EXPECT_FALSE(::MoveFileExW(target.c_str(), (templates + L"\\moved.rtf").c_str(), 0));
    EXPECT_FALSE(::DeleteFileW(target.c_str()));
    set->Commit();
    EXPECT_EQ(ContentOf(target), "new content");
    EXPECT_EQ(Listing(templates), Listed{Names[0]});
}

// The new file is made with the archive attribute only and keeps it; the old one's go with it.
TEST_F(FilesTest, AReadOnlyHiddenSystemTargetIsReplacedAndEndsArchiveOnly) {
    ASSERT_TRUE(::CreateDirectoryW(templates.c_str(), nullptr));
    Create(target, "old content");
    ASSERT_TRUE(::SetFileAttributesW(
        target.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    Replace(target, "new content");
    EXPECT_EQ(ContentOf(target), "new content");
    EXPECT_EQ(::GetFileAttributesW(target.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(Listing(templates), Listed{Names[0]});
}

TEST_F(FilesTest, AReadOnlyTargetIsReadOnlyAgainWhenItsSetFails) {
    ASSERT_TRUE(::CreateDirectoryW(templates.c_str(), nullptr));
    Create(target, "old content");
    ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    DWORD readOnly = ::GetFileAttributesW(target.c_str());  // Wine adds the archive attribute
    ASSERT_TRUE(readOnly & FILE_ATTRIBUTE_READONLY);
    FileCalls calls;
    calls.setFileInformation = RefusingSetFileInformation;
    Win32Files refusing(calls, Quick);
    std::unique_ptr<FileSet> set = refusing.BeginSet({Narrow(target)});
    Stage(*set, target, "new");
    refusedName = Names[0];
    EXPECT_THROW(set->Commit(), ReplaceFailed);
    refusedName.clear();
    set.reset();
    EXPECT_EQ(ContentOf(target), "old content");
    EXPECT_EQ(::GetFileAttributesW(target.c_str()), readOnly);
    EXPECT_EQ(Listing(templates), Listed{Names[0]});
}

// A second installer finds the journal held: it waits for the first to end and then installs;
// only a set that stays busy past the bound fails it.
TEST_F(FilesTest, ASecondSetWaitsForTheFirstAndFailsOnlyPastTheBound) {
    MakeHostFolder(templates);
    FolderState found = StateOf(templates);
    std::unique_ptr<FileSet> first = files.BeginSet(SixTargets(templates));
    Stage(*first, target, "first");
    int staged = 0;
    EXPECT_THROW(InstallSix(files, templates, staged), Failure);
    EXPECT_EQ(staged, 0);

    std::thread second([&] {
        Win32Files patient;
        InstallSix(patient, templates, staged);
    });
    ::Sleep(100);
    first->Commit();
    first.reset();
    second.join();
    EXPECT_EQ(staged, 6);
    FolderState expected = found;
    for (int i = 0; i < 6; ++i) expected[Names[i]] = {NewContent(i), FILE_ATTRIBUTE_ARCHIVE};
    EXPECT_EQ(StateOf(templates), expected);
}

// A reader that opens each file as it appears and holds it a moment, letting only readers in, as
// a virus scanner or an indexer does.
TEST_F(FilesTest, AReaderHoldingEachFileForAMomentDoesNotStopTheSet) {
    MakeHostFolder(templates);
    std::atomic<bool> done{false};
    std::thread reader([&] {
        while (!done) {
            for (const std::wstring& name : Names)
                for (const wchar_t* suffix : {L"", L".z27z-new", L".z27z-old"}) {
                    UniqueFile held(::CreateFileW((templates + L"\\" + name + suffix).c_str(),
                                                  GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                  OPEN_EXISTING, 0, nullptr));
                    if (held) ::Sleep(30);
                }
            ::Sleep(1);
        }
    });
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        Win32Files patient;
        int staged = 0;
        EXPECT_NO_THROW(InstallSix(patient, templates, staged));
    }
    done = true;
    reader.join();
    for (int i = 0; i < 6; ++i) EXPECT_EQ(ContentOf(templates + L"\\" + Names[i]), NewContent(i));
    Listed expected = Names;
    expected.insert(expected.begin(), L"Inny.rtf");
    EXPECT_EQ(Listing(templates), expected);
}

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

// Faults put into WriteFile: the disk fills up in the middle of one file, or a share reports one
// file written in full but keeps something else; and a target whose swap is refused.
enum class Fault { LockedWhenStaged, RefusedWhenSwapped, ShortWrite, WriteNotKept };
Fault writeFault;
int faultyWrite = -1;
int writeCalls = 0;
bool diskFull = false;

BOOL WINAPI FaultyWriteFile(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                            LPOVERLAPPED overlapped) {
    if (diskFull) {
        *written = 0;
        return TRUE;
    }
    if (writeCalls++ != faultyWrite) return ::WriteFile(file, data, size, written, overlapped);
    if (writeFault == Fault::ShortWrite) {
        diskFull = true;
        return ::WriteFile(file, data, size / 2, written, overlapped);
    }
    std::string kept(static_cast<const char*>(data), size);
    kept[0] ^= 0x20;  // the rest of the last sector is cut off after the write
    return ::WriteFile(file, kept.data(), size, written, overlapped);
}

// Each failure at each of the six entries (a missing folder is the test above). A lock stops the
// set at its entry; a refused swap stops it at that target, after the ones before it were
// replaced and with the old file renamed aside.
TEST_F(FilesTest, EveryFailurePointLeavesTheFolderAsFound) {
    for (Fault fault : {Fault::LockedWhenStaged, Fault::RefusedWhenSwapped, Fault::ShortWrite,
                        Fault::WriteNotKept}) {
        for (int at = 0; at < 6; ++at) {
            SCOPED_TRACE("fault " + std::to_string(static_cast<int>(fault)) + " at " +
                         std::to_string(at));
            std::wstring here = folder.Wide() + L"\\" + std::to_wstring(static_cast<int>(fault)) +
                                L"-" + std::to_wstring(at);
            MakeHostFolder(here);
            std::wstring failing = here + L"\\" + Names[at];
            bool locked = fault == Fault::LockedWhenStaged;
            bool refused = fault == Fault::RefusedWhenSwapped;
            FolderState found = StateOf(here);

            writeFault = fault;
            faultyWrite = locked || refused ? -1 : at;
            writeCalls = 0;
            diskFull = false;
            FileCalls calls;
            calls.writeFile = FaultyWriteFile;
            calls.setFileInformation = RefusingSetFileInformation;
            Win32Files faulty(calls, Quick);
            UniqueFile held;
            if (locked) {
                if (::GetFileAttributesW(failing.c_str()) == INVALID_FILE_ATTRIBUTES)
                    Create(failing, "stary, otwarty w programie");
                found = StateOf(here);
                held = HoldWithoutSharing(failing);
            }
            std::string error = "no error";
            std::size_t failedIndex = 99;
            int staged = 0;
            try {
                InstallSix(faulty, here, staged, [&] {
                    if (refused) refusedName = Names[at];
                });
            } catch (const ReplaceFailed& failed) {
                error = failed.what();
                failedIndex = failed.index;
            } catch (const Failure& failed) {
                error = failed.what();
            }
            held.reset();
            refusedName.clear();

            EXPECT_EQ(error, locked    ? CannotCreate(failing, ERROR_SHARING_VIOLATION)
                             : refused ? CannotCreate(failing, ERROR_ACCESS_DENIED)
                                       : "Stream write error");
            EXPECT_EQ(staged, refused ? 6 : at);
            EXPECT_EQ(failedIndex, refused ? at : 99u);
            EXPECT_EQ(StateOf(here), found);
        }
    }
}

// A run that is ended at a chosen call: the test starts itself again with these set in its
// environment, and the child does nothing but that run.
const wchar_t KillVariable[] = L"FILES_TEST_KILL_AT";
constexpr UINT KilledCode = 86;
std::wstring killCall;
int killNumber = 0;
int callCounts[3] = {0, 0, 0};

void CountCall(const wchar_t* call, int kind) {
    if (killCall == call && ++callCounts[kind] == killNumber)
        ::TerminateProcess(::GetCurrentProcess(), KilledCode);
}
BOOL WINAPI KillingWriteFile(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                             LPOVERLAPPED overlapped) {
    CountCall(L"write", 0);
    return ::WriteFile(file, data, size, written, overlapped);
}
// A rename through a handle is a step of a swap, a removal one of the clearing up.
BOOL WINAPI KillingSetFileInformation(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info,
                                      DWORD size) {
    if (kind == FileRenameInfo) CountCall(L"swap", 1);
    if (kind == FileDispositionInfo) CountCall(L"delete", 2);
    return ::SetFileInformationByHandle(file, kind, info, size);
}

// "<call> <number> <folder>": ends the process before that call's number-th use.
int RunToBeKilled(const std::wstring& order) {
    std::wstring::size_type first = order.find(L' '), second = order.find(L' ', first + 1);
    killCall = order.substr(0, first);
    killNumber = std::stoi(order.substr(first + 1, second - first - 1));
    FileCalls calls{KillingWriteFile, KillingSetFileInformation};
    Win32Files files(calls);
    int staged = 0;
    try {
        InstallSix(files, order.substr(second + 1), staged);
    } catch (...) {
        return 2;
    }
    return 1;  // never reached the call it was to be ended at
}

DWORD RunKilledAt(const std::wstring& order) {
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\"";
    ::SetEnvironmentVariableW(KillVariable, order.c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    BOOL started = ::CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                    nullptr, &startup, &process);
    ::SetEnvironmentVariableW(KillVariable, nullptr);
    if (!started) return 0;
    UniqueKernelHandle processHandle(process.hProcess), thread(process.hThread);
    ::WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    return code;
}

TEST_F(FilesTest, ASetCutOffByAKilledProcessIsUndoneByTheNextSetBeforeItStarts) {
    struct KillPoint {
        const wchar_t* order;
        bool takenEffect;  // the journal was emptied: the new set stays
    } points[] = {
        // The seventh write is the journal's. An existing target is swapped in two renames (old
        // aside, new in), a missing one in one: the second is the first target half-swapped, the
        // tenth the last.
        {L"write 3", false}, {L"write 7", false}, {L"swap 1", false},  {L"swap 2", false},
        {L"swap 6", false},  {L"swap 10", false}, {L"delete 1", true}, {L"delete 5", true},
    };
    int run = 0;
    for (const KillPoint& point : points) {
        SCOPED_TRACE(Narrow(point.order));
        std::wstring here = folder.Wide() + L"\\killed" + std::to_wstring(++run);
        MakeHostFolder(here);
        FolderState found = StateOf(here);
        FolderState expected = found;
        if (point.takenEffect)
            for (int i = 0; i < 6; ++i)
                expected[Names[i]] = {NewContent(i), FILE_ATTRIBUTE_ARCHIVE};

        ASSERT_EQ(RunKilledAt(std::wstring(point.order) + L" " + here), KilledCode);
        FolderState left = StateOf(here);
        EXPECT_NE(left, expected) << "the killed run left nothing to clean up";
        // Besides the targets, only files whose names say they are ours.
        for (const auto& [name, file] : left) {
            bool target = std::find(std::begin(Names), std::end(Names), name) != std::end(Names);
            if (!found.count(name) && !target) {
                EXPECT_NE(name.find(L"z27z"), std::wstring::npos) << Narrow(name);
            }
        }

        // The next run: its first file staged, then given up.
        {
            std::unique_ptr<FileSet> next = files.BeginSet(SixTargets(here));
            Stage(*next, here + L"\\" + Names[0], "x");
        }
        EXPECT_EQ(StateOf(here), expected);
    }
}

}  // namespace

int main(int argc, char** argv) {
    wchar_t order[2 * MAX_PATH];
    if (::GetEnvironmentVariableW(KillVariable, order, 2 * MAX_PATH)) return RunToBeKilled(order);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
