#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "platform/Failure.h"
#include "platform/win32/DllSearch.h"
#include "platform/win32/Win32Libraries.h"
#include "tests/support/BuildOutputs.h"
#include "tests/support/Registers.h"

namespace {

bool IsLoaded(const std::string& path) {
    return ::GetModuleHandleW(Widen(path).c_str());
}

std::string OwnerText(const OwnerBuffer& buffer) {
    return std::string(reinterpret_cast<const char*>(buffer) + 1, buffer[0]);
}

// What the wizard learns from one library, asked the way it asks: edition first, then owner.
struct Answers {
    bool loaded = false;
    bool hasEdition = false;
    int edition = -1;
    bool hasOwner = false;
    std::string owner;
    std::string error;
};

Answers Ask(Win32Libraries& libraries, const std::string& path) {
    Answers answers;
    LibraryHandle library = libraries.Load(path);
    answers.loaded = library != nullptr;
    if (!library) return answers;
    try {
        if (ExportAddress testSiec = libraries.Find(library, "TestSiec")) {
            answers.hasEdition = true;
            answers.edition = libraries.CallByteFunction(testSiec);
        }
        if (ExportAddress wlasciciel = libraries.Find(library, "Wlasciciel")) {
            answers.hasOwner = true;
            OwnerBuffer buffer;
            libraries.CallBufferFunction(wlasciciel, buffer);
            answers.owner = OwnerText(buffer);
        }
    } catch (const Failure& error) {
        answers.error = error.what();
    }
    libraries.Free(library);
    return answers;
}

class LibrariesTest : public ::testing::Test {
  protected:
    void SetUp() override { chain = ChainHead(); }
    void TearDown() override {
        EXPECT_EQ(ChainHead(), chain);
        for (const char* name : {"network", "null_write", "raise_owner", "cxx_throw", "handled",
                                 "owner_past_buffer_end", "cdecl_exports"})
            EXPECT_FALSE(IsLoaded(FixturePath(name))) << name << " is still loaded";
    }

    Win32Libraries libraries;
    void* chain = nullptr;
};

TEST_F(LibrariesTest, WellBehavedLibrariesAnswerAndAreUnloaded) {
    struct Case {
        const char* fixture;
        bool hasEdition;
        int edition;
        bool hasOwner;
        std::string owner;
    };
    std::string longOwner;
    for (int i = 0; i < 254; ++i) longOwner += static_cast<char>('A' + i % 26);
    longOwner += "Ż";
    const Case cases[] = {
        {"network", true, 1, true, "Laboratorium Badań Środowiska Łódź"},
        {"single_station", true, 0, true, "Pracownia Pomiarów Gdańsk"},
        {"owner_only", false, -1, true, "Zakład Higieny Pracy"},
        {"no_exports", false, -1, false, ""},
        {"long_owner", true, 1, true, longOwner},
        {"empty_owner", true, 0, true, ""},
        // Writes past the counted string land in the spare room of the buffer.
        {"owner_overrun", true, 1, true, "Owner"},
        {"owner_to_buffer_end", true, 0, true, "Do końca bufora"},
        {"cdecl_exports", true, 1, true, "Biblioteka w konwencji C"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        std::string path = FixturePath(c.fixture);
        Answers answers = Ask(libraries, path);
        EXPECT_TRUE(answers.loaded);
        EXPECT_EQ(answers.hasEdition, c.hasEdition);
        EXPECT_EQ(answers.edition, c.edition);
        EXPECT_EQ(answers.hasOwner, c.hasOwner);
        EXPECT_EQ(answers.owner, c.owner);
        EXPECT_EQ(answers.error, "");
        EXPECT_FALSE(IsLoaded(path));
    }
}

TEST_F(LibrariesTest, TheLibraryIsFoundUnderItsOwnNameInAnyFolder) {
    TemporaryFolder folder;
    std::wstring copy = folder.Wide() + L"\\KORDALIN.dll";
    ASSERT_TRUE(::CopyFileW(Widen(FixturePath("network")).c_str(), copy.c_str(), FALSE));
    Answers answers = Ask(libraries, Narrow(copy));
    EXPECT_TRUE(answers.loaded);
    EXPECT_EQ(answers.edition, 1);
    EXPECT_EQ(answers.owner, "Laboratorium Badań Środowiska Łódź");
    EXPECT_FALSE(::GetModuleHandleW(copy.c_str()));
}

TEST_F(LibrariesTest, MissingOrInvalidLibrariesAreNotLoadedAndTheErrorModeIsKept) {
    TemporaryFolder folder;
    std::wstring notALibrary = folder.Wide() + L"\\KORDALIN.dll";
    {
        UniqueFile file(::CreateFileW(notALibrary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file.get(), "MZ not really", 13, &written, nullptr));
    }
    UINT before = ::SetErrorMode(SEM_NOGPFAULTERRORBOX);
    EXPECT_EQ(libraries.Load(folder.Narrow() + "\\missing\\KORDALIN.dll"), nullptr);
    EXPECT_EQ(libraries.Load(Narrow(notALibrary)), nullptr);
    EXPECT_EQ(libraries.Load("\\KORDALIN.dll"), nullptr);
    EXPECT_EQ(::SetErrorMode(before), static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
}

TEST_F(LibrariesTest, FaultsInsideTheLibraryBecomeErrorsAndTheProcessGoesOn) {
    Answers nullWrite = Ask(libraries, FixturePath("null_write"));
    EXPECT_TRUE(nullWrite.hasEdition);
    EXPECT_EQ(nullWrite.edition, -1);
    EXPECT_FALSE(nullWrite.hasOwner) << "calls after a fault must be skipped";
    EXPECT_EQ(nullWrite.error, "External exception C0000005");

    Answers raise = Ask(libraries, FixturePath("raise_owner"));
    EXPECT_EQ(raise.edition, 1);
    EXPECT_EQ(raise.error, "External exception E0001234");

    Answers cxxThrow = Ask(libraries, FixturePath("cxx_throw"));
    EXPECT_EQ(cxxThrow.edition, 1);
    EXPECT_EQ(cxxThrow.error, "External exception E06D7363");

    Answers pastEnd = Ask(libraries, FixturePath("owner_past_buffer_end"));
    EXPECT_EQ(pastEnd.edition, 1);
    EXPECT_EQ(pastEnd.error, "External exception C0000005");

    // The same library answers normally after its own fault.
    Answers again = Ask(libraries, FixturePath("network"));
    EXPECT_EQ(again.edition, 1);
    EXPECT_EQ(again.error, "");
}

TEST_F(LibrariesTest, ExceptionsTheLibraryHandlesItselfAreLeftToIt) {
    Answers handled = Ask(libraries, FixturePath("handled"));
    EXPECT_EQ(handled.edition, 1);
    EXPECT_EQ(handled.owner, "Obsłużone wewnątrz");
    EXPECT_EQ(handled.error, "");
}

TEST_F(LibrariesTest, AFaultWhileUnloadingLeavesTheLibraryUnloaded) {
    std::string path = FixturePath("detach_fault");
    LibraryHandle library = libraries.Load(path);
    ASSERT_TRUE(library);
    ExportAddress testSiec = libraries.Find(library, "TestSiec");
    ASSERT_TRUE(testSiec);
    EXPECT_EQ(libraries.CallByteFunction(testSiec), 1);
    // Whether the fault reaches us depends on whether the system's loader catches it itself.
    try {
        libraries.Free(library);
    } catch (const Failure& error) {
        EXPECT_EQ(std::string(error.what()), "External exception C0000005");
    }
    EXPECT_FALSE(IsLoaded(path));
}

// Unloaded, the library would fault in its thread's next tick; the process would end with it.
TEST_F(LibrariesTest, ALibraryThatLeavesAThreadRunningStaysLoadedUntilTheProcessEnds) {
    std::string path = FixturePath("leaves_thread");
    Answers answers = Ask(libraries, path);
    EXPECT_EQ(answers.edition, 1);
    EXPECT_EQ(answers.error, "");
    HMODULE stillLoaded = ::GetModuleHandleW(Widen(path).c_str());
    ASSERT_TRUE(stillLoaded);
    auto ticks = reinterpret_cast<LONG(__stdcall*)()>(
        reinterpret_cast<void*>(::GetProcAddress(stillLoaded, "Ticks")));
    ASSERT_TRUE(ticks);
    LONG released = ticks();
    for (int wait = 0; wait < 100 && ticks() == released; ++wait) ::Sleep(10);
    EXPECT_GT(ticks(), released) << "the thread stopped";
}

// A library built with the C convention leaves Wlasciciel's argument for the caller to remove;
// left there, each call would move the caller's stack by one more word.
TEST_F(LibrariesTest, TheStackIsAsBeforeAfterEveryCallWhateverTheLibrarysConvention) {
    if (OneCallingConvention) GTEST_SKIP() << OneCallingConvention;
    for (const char* fixture : {"cdecl_exports", "network"}) {
        SCOPED_TRACE(fixture);
        LibraryHandle library = libraries.Load(FixturePath(fixture));
        ASSERT_TRUE(library);
        ExportAddress testSiec = libraries.Find(library, "TestSiec");
        ExportAddress wlasciciel = libraries.Find(library, "Wlasciciel");
        void* stack = StackPointer();
        for (int round = 0; round < 100; ++round) {
            SCOPED_TRACE(round);
            ASSERT_EQ(libraries.CallByteFunction(testSiec), 1);
            OwnerBuffer buffer;
            libraries.CallBufferFunction(wlasciciel, buffer);
            ASSERT_EQ(StackPointer(), stack);
        }
        libraries.Free(library);
    }
}

TEST_F(LibrariesTest, TheOwnerBufferIsClearedBeforeTheCall) {
    LibraryHandle library = libraries.Load(FixturePath("empty_owner"));
    ASSERT_TRUE(library);
    OwnerBuffer buffer;
    std::memset(buffer, 0xEE, sizeof buffer);
    libraries.CallBufferFunction(libraries.Find(library, "Wlasciciel"), buffer);
    libraries.Free(library);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[1], 'X');
    EXPECT_EQ(buffer[2], 'Y');
    for (int i = 3; i < 256; ++i) ASSERT_EQ(buffer[i], 0) << "byte " << i;
}

TEST_F(LibrariesTest, ARestrictedSearchPathStillLoadsByFullPath) {
    SecureDllSearch();
    Answers answers = Ask(libraries, FixturePath("single_station"));
    EXPECT_TRUE(answers.loaded);
    EXPECT_EQ(answers.edition, 0);
}

}  // namespace
