#include "core/io/FileReplace.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/text/ESyntax.h"

namespace {

namespace fs = std::filesystem;

class FileReplace : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        std::ofstream(file_) << "old";
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Old() const {
        return std::string(std::istreambuf_iterator<char>(std::ifstream(file_).rdbuf()), {});
    }
    long Entries() const { return std::distance(fs::directory_iterator(folder_), {}); }
    // The failure's message, "" when the text was written.
    static std::string Failure(const fs::path& file, std::string_view text = "new") {
        try {
            ReplaceFileText(file.string(), text);
        } catch (const ESyntax& error) {
            return error.Message();
        }
        return "";
    }

    const fs::path folder_ =
        fs::temp_directory_path() / ("tavo_replace_" + std::to_string(::getpid()));
    const fs::path file_ = folder_ / "model.rb";
};

TEST_F(FileReplace, LinksAreFollowedSpecialFilesRefusedModesKept) {
    fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write);
    const bool root = ::geteuid() == 0;
    ASSERT_TRUE(!root || ::chown(file_.c_str(), 65534, 65534) == 0);
    fs::create_symlink("model.rb", folder_ / "link.rb");
    EXPECT_EQ(Failure(folder_ / "link.rb"), "");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder_ / "link.rb")));
    EXPECT_EQ(Old(), "new");
    struct stat status {};
    ASSERT_EQ(::stat(file_.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u);
    EXPECT_TRUE(!root || status.st_uid == 65534u);

    ASSERT_EQ(::mkfifo((folder_ / "pipe").c_str(), 0644), 0);
    EXPECT_EQ(Failure(folder_ / "pipe"), "cannot write file by open: not a regular file");
    EXPECT_TRUE(fs::is_fifo(folder_ / "pipe"));
    EXPECT_EQ(Entries(), 3);
}

// Root may write any file, so an unprivileged child tries it.
TEST_F(FileReplace, AFileTheUserMayNotWriteIsRefused) {
    fs::permissions(file_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(folder_, fs::perms::all);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        ::_exit(Failure(file_) == "cannot write file by open: Permission denied" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(Old(), "old");
    EXPECT_EQ(Entries(), 1);
}

TEST_F(FileReplace, LeftoversDoNotBlockAndAFailedWriteLeavesNoneAndSaysWhy) {
    for (int attempt = 0; attempt < 100; ++attempt)
        std::ofstream(folder_ / ("model.rb.~" + std::to_string(attempt) + ".tmp")) << "stale";
    EXPECT_EQ(Failure(file_, "written"), "");
    EXPECT_EQ(Old(), "written");
    fs::remove_all(folder_);
    SetUp();

    // A full disk, as the file-size limit makes it.
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 4;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string failure = Failure(file_, "longer than four bytes");
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(failure, "cannot write file by write: File too large");
    EXPECT_EQ(Old(), "old");
    EXPECT_EQ(Entries(), 1);
}

}  // namespace
