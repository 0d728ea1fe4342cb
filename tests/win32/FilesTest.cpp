#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>

#include "platform/win32/Win32Files.h"
#include "tests/win32/TestFolders.h"

namespace {

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

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        templates = folder.Wide() + L"\\SZABLONY";
        ASSERT_TRUE(::CreateDirectoryW(templates.c_str(), nullptr));
        target = templates + L"\\Kolwenta3A.rtf";
    }

    void Replace(const std::wstring& path, const std::string& content) {
        files.ReplaceContents(Narrow(path), reinterpret_cast<const unsigned char*>(content.data()),
                              content.size());
    }
    std::string ErrorOf(const std::wstring& path, const std::string& content) {
        try {
            Replace(path, content);
        } catch (const std::runtime_error& error) {
            return error.what();
        }
        return "no error";
    }
    std::string CannotCreate(const std::wstring& path, DWORD code) {
        return "Cannot create file \"" + Narrow(path) + "\". " + SystemErrorText(code);
    }

    TemporaryFolder folder;
    std::wstring templates;
    std::wstring target;
    Win32Files files;
};

TEST_F(FilesTest, NewAndExistingFilesGetExactlyTheBytesAndNothingElseIsLeft) {
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

    EXPECT_EQ(Listing(templates), L"Kolwenta3A.rtf|Zażółć gęślą jaźń.rtf");
    EXPECT_EQ(::GetFileAttributesW(target.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
}

TEST_F(FilesTest, AMissingFolderFailsAndIsNotCreated) {
    std::wstring elsewhere = folder.Wide() + L"\\Inny";
    ASSERT_TRUE(::CreateDirectoryW(elsewhere.c_str(), nullptr));
    std::wstring path = elsewhere + L"\\SZABLONY\\Kolwenta3A.rtf";
    std::string error = ErrorOf(path, "content");
    std::string prefix = "Cannot create file \"" + Narrow(path) + "\". ";
    EXPECT_EQ(error.substr(0, prefix.size()), prefix);
    EXPECT_GT(error.size(), prefix.size());
    EXPECT_EQ(Listing(elsewhere), L"");
}

TEST_F(FilesTest, ATargetHeldOpenWithoutSharingKeepsItsContentAndNoTemporaryFileIsLeft) {
    Create(target, "old content");
    {
        UniqueFile held(
            ::CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        std::string error = ErrorOf(target, "new content");
        EXPECT_EQ(error.substr(0, 19), "Cannot create file ");
        EXPECT_TRUE(error == CannotCreate(target, ERROR_SHARING_VIOLATION) ||
                    error == CannotCreate(target, ERROR_ACCESS_DENIED))
            << error;
    }
    EXPECT_EQ(ContentOf(target), "old content");
    EXPECT_EQ(Listing(templates), L"Kolwenta3A.rtf");
}

TEST_F(FilesTest, AReadOnlyHiddenTargetResetToArchiveIsReplacedAndStaysArchiveOnly) {
    Create(target, "old content");
    ASSERT_TRUE(::SetFileAttributesW(
        target.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_TRUE(files.SetAttributes(Narrow(target), ArchiveAttribute));
    EXPECT_EQ(::GetFileAttributesW(target.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    Replace(target, "new content");
    EXPECT_EQ(ContentOf(target), "new content");
    EXPECT_EQ(::GetFileAttributesW(target.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(Listing(templates), L"Kolwenta3A.rtf");

    EXPECT_FALSE(files.SetAttributes(Narrow(templates + L"\\missing.rtf"), ArchiveAttribute));
}

TEST_F(FilesTest, AReadOnlyTargetThatWasNotResetKeepsItsContent) {
    Create(target, "old content");
    ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    {
        UniqueFile probe(
            ::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        if (probe) {
            ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
            GTEST_SKIP() << "read-only files are writable here (Wine run as root); the "
                            "unprivileged run checks this";
        }
    }
    EXPECT_EQ(ErrorOf(target, "new content"), CannotCreate(target, ERROR_ACCESS_DENIED));
    EXPECT_EQ(ContentOf(target), "old content");
    EXPECT_EQ(Listing(templates), L"Kolwenta3A.rtf");
}

}  // namespace
