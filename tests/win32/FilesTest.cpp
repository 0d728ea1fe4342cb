#include <atomic>
#include <thread>

#include "tests/win32/FilesTestSupport.h"

namespace {

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
    Win32Files refusing(OverlayFileNames, calls, Quick);
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
        Win32Files patient(OverlayFileNames);
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
        Win32Files patient(OverlayFileNames);
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

}  // namespace
