// Whole-file reading and the atomic save where POSIX systems differ: named pipes and devices,
// permission bits, owners, extended attributes and ACLs, symbolic links, and folders that refuse.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/whole_file.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace propdesk {
namespace {

namespace fs = std::filesystem;

constexpr const char* kAccessAcl = "system.posix_acl_access";

// An access ACL in the kernel's attribute form: owner rw-, user nobody rw-, group r--, mask r--,
// other ---. The mask keeps nobody from writing; without the ACL the group bits would say r--.
std::string AccessAclForNobody() {
  struct Entry {
    std::uint16_t tag, permissions;
    std::uint32_t id;
  };
  const Entry entries[] = {{0x01, 6, ~0u}, {0x02, 6, 65534}, {0x04, 4, ~0u}, {0x10, 4, ~0u}, {0x20, 0, ~0u}};
  const std::uint32_t version = 2;
  std::string bytes(reinterpret_cast<const char*>(&version), sizeof version);
  bytes.append(reinterpret_cast<const char*>(entries), sizeof entries);
  return bytes;
}

std::string Attribute(const std::string& path, const char* name) {
  char value[256];
  const ssize_t size = ::getxattr(path.c_str(), name, value, sizeof value);
  return size < 0 ? std::string() : std::string(value, static_cast<std::size_t>(size));
}

mode_t Permissions(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0);
  return info.st_mode & 07777;
}

class WholeFilePosixTest : public testing::Test {
 protected:
  test::TempDir folder_;
};

TEST_F(WholeFilePosixTest, PipesAndDevicesAreNotFilesAndAreRefusedWithoutWaiting) {
  fs::create_directory(folder_.File("folder"));
  // A FIFO without a writer would keep an open waiting for good.
  const std::string fifo = folder_.File("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const struct {
    std::string path;
    int error;
  } cases[] = {{folder_.File("missing"), ENOENT}, {folder_.File("folder"), EISDIR}, {fifo, ENOTSUP}, {"", ENOENT}};
  for (const auto& [path, error] : cases) {
    std::string text = "left over";
    EXPECT_EQ(ReadWholeFile(path, text).systemError, error) << path;
    EXPECT_TRUE(text.empty());
  }
  EXPECT_FALSE(IsExistingFile(fifo));
  EXPECT_FALSE(IsExistingFile("/dev/null"));
  EXPECT_FALSE(WriteWholeFile("/dev/null", "new").ok());
}

TEST_F(WholeFilePosixTest, KeepsPermissionBits) {
  const std::string path = folder_.File("private.properties");
  test::WriteFileBytes(path, "old");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(WriteWholeFile(path, "new").ok());
  EXPECT_EQ(Permissions(path), 0640u);
}

TEST_F(WholeFilePosixTest, KeepsOwnerGroupSpecialBitsAclAndAttributesOfSomeoneElsesFile) {
  if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs a privileged user";
  // The test folder's file system may lack user attributes; a memory file system has them.
  std::optional<test::TempDir> memoryFolder;
  std::string path = folder_.File("theirs.properties");
  test::WriteFileBytes(path, "old");
  if (::setxattr(path.c_str(), "user.propdesk", "kept", 4, 0) != 0) {
    path = memoryFolder.emplace("/dev/shm").File("theirs.properties");
    test::WriteFileBytes(path, "old");
    if (::setxattr(path.c_str(), "user.propdesk", "kept", 4, 0) != 0) {
      GTEST_SKIP() << "no user extended attributes in " << folder_.path() << " or /dev/shm";
    }
  }
  ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
  ASSERT_EQ(::chmod(path.c_str(), 04750), 0);
  const std::string acl = AccessAclForNobody();
  if (::setxattr(path.c_str(), kAccessAcl, acl.data(), acl.size(), 0) != 0) {
    GTEST_SKIP() << "no ACLs on the file system of " << path << ": " << std::strerror(errno);
  }
  const mode_t before = Permissions(path);
  ASSERT_NE(before & S_ISUID, 0u);

  ASSERT_TRUE(WriteWholeFile(path, "new").ok());
  struct stat after {};
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_uid, 65534u);
  EXPECT_EQ(after.st_gid, 65534u);
  EXPECT_EQ(after.st_mode & 07777, before);
  EXPECT_EQ(Attribute(path, kAccessAcl), acl);
  EXPECT_EQ(Attribute(path, "user.propdesk"), "kept");
  EXPECT_EQ(test::ReadFileBytes(path), "new");
}

TEST_F(WholeFilePosixTest, FollowsSymbolicLinks) {
  fs::create_directory(folder_.File("real"));
  const std::string target = folder_.File("real/messages.properties");
  test::WriteFileBytes(target, "old");
  fs::create_symlink("real/messages.properties", folder_.File("link.properties"));
  ASSERT_TRUE(WriteWholeFile(folder_.File("link.properties"), "new").ok());
  EXPECT_TRUE(fs::is_symlink(folder_.File("link.properties")));
  EXPECT_EQ(test::ReadFileBytes(target), "new");
}

TEST_F(WholeFilePosixTest, FolderThatRefusesNewFilesKeepsTheOldFileAndIsNamedAsTheCause) {
  const std::string path = folder_.File("shut/messages.properties");
  fs::create_directory(folder_.File("shut"));
  test::WriteFileBytes(path, "old");
  ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(folder_.File("shut").c_str(), 0555), 0);
  ASSERT_EQ(::chmod(folder_.path().c_str(), 0755), 0);
  EXPECT_TRUE(test::HoldsForAnUnprivilegedUser([&] {
    const SaveResult saved = WriteWholeFile(path, "new");
    return saved.systemError == EACCES && saved.folderRefusedNewFile;
  }));
  EXPECT_EQ(test::ReadFileBytes(path), "old");
}

}  // namespace
}  // namespace propdesk
