// Whole-file reading and the atomic save where Windows has faults of its own: devices and pipes,
// files held without sharing, ACLs, names outside every code page, and folders that refuse.
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "folder_names.h"
#include "platform/atomic_file.h"
#include "platform/file_handle.h"
#include "platform/file_identity.h"
#include "platform/system_error.h"
#include "platform/whole_file.h"
#include "platform/windows/file_access.h"
#include "support/temp_dir.h"

namespace propdesk {
namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;
using windows::Wide;

// The DACL of the file at path in the system's text form; empty when it cannot be read.
std::wstring DaclText(const std::string& path) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (::GetNamedSecurityInfoW(Wide(path).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr,
                              nullptr, &descriptor) != ERROR_SUCCESS) {
    return {};
  }
  wchar_t* text = nullptr;
  std::wstring dacl;
  if (::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                             &text, nullptr)) {
    dacl = text;
    ::LocalFree(text);
  }
  ::LocalFree(descriptor);
  return dacl;
}

// Gives the file or folder at path exactly the DACL described in the system's text form.
bool SetDacl(const std::string& path, const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr)) return false;
  BOOL present = FALSE;
  BOOL defaulted = FALSE;
  PACL dacl = nullptr;
  const bool set = ::GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) &&
                   ::SetNamedSecurityInfoW(Wide(path).data(), SE_FILE_OBJECT,
                                           DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                                           nullptr, dacl, nullptr) == ERROR_SUCCESS;
  ::LocalFree(descriptor);
  return set;
}

class WholeFileWindowsTest : public testing::Test {
 protected:
  test::TempDir folder_;
};

TEST_F(WholeFileWindowsTest, DevicesAndPipesAreStreamsNeverReadWholeOrReplaced) {
  const std::string pipeName = "\\\\.\\pipe\\propdesk-test-" + std::to_string(::GetCurrentProcessId());
  const FileHandle pipe(windows::Native(::CreateNamedPipeW(
      Wide(pipeName).c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE, 1, 4096, 4096, 0, nullptr)));
  ASSERT_TRUE(pipe.IsOpen());
  const std::string file = folder_.File("plain.properties");
  test::WriteFileBytes(file, "old");
  for (const std::string& stream : {"NUL"s, "nul"s, pipeName}) {
    EXPECT_TRUE(IsStream(stream)) << stream;
    EXPECT_FALSE(IsExistingFile(stream)) << stream;
    std::string text = "left over";
    EXPECT_EQ(ReadWholeFile(stream, text).systemError, kNotRegularFileError) << stream;
    EXPECT_TRUE(text.empty());
  }
  EXPECT_FALSE(WriteWholeFile("NUL", "new").ok());
  EXPECT_FALSE(IsStream(file));
  EXPECT_FALSE(IsStream(folder_.path()));
  // Looking at the pipe took none of its connections.
  FileHandle client;
  EXPECT_TRUE(OpenStreamForWriting(pipeName, client).ok());
}

TEST_F(WholeFileWindowsTest, AFileHeldWithoutSharingIsLeftAsItWas) {
  const std::string path = folder_.File("held.properties");
  test::WriteFileBytes(path, "old");
  {
    const FileHandle held(windows::Native(
        ::CreateFileW(Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    ASSERT_TRUE(held.IsOpen());
    const SaveResult saved = WriteWholeFile(path, "new");
    EXPECT_EQ(saved.systemError, ERROR_SHARING_VIOLATION);
    EXPECT_FALSE(saved.folderRefusedNewFile);
    // Which file it is can still be learnt.
    EXPECT_TRUE(TakeFileStamp(path));
  }
  EXPECT_EQ(test::ReadFileBytes(path), "old");
  EXPECT_EQ(test::FolderNames(folder_.path()), std::vector<std::string>{"held.properties"});
}

TEST_F(WholeFileWindowsTest, ReplacingKeepsTheFilesAclAndAttributes) {
  const std::string path = folder_.File("guarded.properties");
  test::WriteFileBytes(path, "old");
  constexpr DWORD kMarks = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  ASSERT_TRUE(::SetFileAttributesW(Wide(path).c_str(), kMarks));
  const wchar_t* acl = L"D:P(A;;FA;;;WD)(A;;FR;;;BU)";
  ASSERT_TRUE(SetDacl(path, acl));
  const std::wstring before = DaclText(path);
  ASSERT_FALSE(before.empty());
  ASSERT_TRUE(WriteWholeFile(path, "new").ok());
  EXPECT_EQ(test::ReadFileBytes(path), "new");
  // A written file is marked for archiving, which is no change of what it is.
  EXPECT_EQ(::GetFileAttributesW(Wide(path).c_str()) & ~DWORD{FILE_ATTRIBUTE_ARCHIVE}, kMarks);
  const std::wstring after = DaclText(path);
  if (after != before && ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr) {
    GTEST_SKIP() << "Wine's ReplaceFileW does not carry the ACL over";
  }
  EXPECT_EQ(after, before);
}

TEST_F(WholeFileWindowsTest, NamesOutsideTheCodePageAreReadAndWritten) {
  const std::vector<std::string> names = {"café", "ソ表", "日本.properties"};
  for (const std::string& name : names) {
    const std::string path = folder_.File(name);
    ASSERT_TRUE(WriteWholeFile(path, "first").ok()) << name;
    ASSERT_TRUE(WriteWholeFile(path, "key=\\u65e5\r\n").ok()) << name;
    EXPECT_TRUE(IsExistingFile(path)) << name;
    std::string text;
    ASSERT_TRUE(ReadWholeFile(path, text).ok()) << name;
    EXPECT_EQ(text, "key=\\u65e5\r\n");
  }
  // The names as the system's wide calls see them.
  EXPECT_EQ(test::FolderNames(folder_.path()), names);
}

TEST_F(WholeFileWindowsTest, FolderThatRefusesNewFilesKeepsTheOldFileAndIsNamedAsTheCause) {
  const std::string shut = folder_.File("shut");
  fs::create_directory(test::FileSystemPath(shut));
  const std::string path = shut + "/messages.properties";
  test::WriteFileBytes(path, "old");
  // Everyone may do anything but add a file to the folder itself.
  ASSERT_TRUE(SetDacl(shut, L"D:P(D;;0x2;;;WD)(A;OICI;FA;;;WD)"));
  const std::wstring probe = Wide(shut + "/probe");
  if (const HANDLE made = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
      made != INVALID_HANDLE_VALUE) {
    ::CloseHandle(made);
    ::DeleteFileW(probe.c_str());
    GTEST_SKIP() << "this system (Wine) does not enforce a folder's ACL";
  }
  const SaveResult saved = WriteWholeFile(path, "new");
  EXPECT_EQ(saved.systemError, ERROR_ACCESS_DENIED);
  EXPECT_TRUE(saved.folderRefusedNewFile);
  EXPECT_EQ(test::ReadFileBytes(path), "old");
}

TEST_F(WholeFileWindowsTest, FileIdentityIsTheSameWhateverThePathsForm) {
  const std::string path = folder_.File("Messages.properties");
  test::WriteFileBytes(path, "x");
  std::string otherForm = path;
  std::replace(otherForm.begin(), otherForm.end(), '/', '\\');
  std::transform(otherForm.begin(), otherForm.end(), otherForm.begin(), [](char c) { return c == 'M' ? 'm' : c; });
  fs::create_hard_link(test::FileSystemPath(path), test::FileSystemPath(folder_.File("other")));
  test::WriteFileBytes(folder_.File("third"), "x");
  EXPECT_TRUE(IsSameFile(path, otherForm));
  EXPECT_TRUE(IsSameFile(path, folder_.File("other")));
  EXPECT_FALSE(IsSameFile(path, folder_.File("third")));
  EXPECT_FALSE(IsSameFile(path, folder_.File("missing")));
}

TEST_F(WholeFileWindowsTest, ErrorTextsEndWithoutPeriodOrLineBreakAndUnknownCodesAreNamed) {
  const int errors[] = {ERROR_ACCESS_DENIED, ERROR_FILE_NOT_FOUND, kOutOfMemoryError, kNotRegularFileError};
  for (const int error : errors) {
    const std::string text = SystemErrorText(error);
    ASSERT_FALSE(text.empty()) << error;
    EXPECT_EQ(std::string_view(". \r\n").find(text.back()), std::string_view::npos) << text;
  }
  EXPECT_NE(SystemErrorText(0x2badbeef).find(std::to_string(0x2badbeef)), std::string::npos);
}

}  // namespace
}  // namespace propdesk
