#include <algorithm>

#include "tests/win32/FilesTestSupport.h"

namespace {

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
            Win32Files faulty(OverlayFileNames, calls, Quick);
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
    Win32Files files(OverlayFileNames, calls);
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
