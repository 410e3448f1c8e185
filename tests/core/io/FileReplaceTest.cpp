#include "core/io/FileReplace.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/text/ESyntax.h"

namespace {

namespace fs = std::filesystem;

class FileReplace : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    static std::string Contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // The message of the ESyntax that replacing fileName throws, "" when it succeeds.
    static std::string Failure(const fs::path& fileName, std::string_view text = "new") {
        try {
            ReplaceFileText(fileName.string(), text);
        } catch (const ESyntax& error) {
            EXPECT_EQ(error.Text(), fileName.string());
            return error.Message();
        }
        return "";
    }

    const fs::path folder_ = fs::temp_directory_path() /
                             ("tavo_replace_" + std::to_string(::getpid()) + "_" +
                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(FileReplace, ALinkKeepsPointingAtItsTargetWhichGetsTheText) {
    fs::create_directory(folder_ / "real");
    std::ofstream(folder_ / "real" / "model.rb") << "old";
    fs::create_symlink("real/model.rb", folder_ / "link.rb");  // relative to the link's folder
    fs::create_symlink(folder_ / "link.rb", folder_ / "chain.rb");
    ReplaceFileText((folder_ / "chain.rb").string(), "new");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder_ / "chain.rb")));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder_ / "link.rb")));
    EXPECT_EQ(Contents(folder_ / "real" / "model.rb"), "new");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"chain.rb", "link.rb", "real"}));

    fs::create_symlink("made.rb", folder_ / "dangling.rb");  // as a direct write, creates it
    ReplaceFileText((folder_ / "dangling.rb").string(), "made");
    EXPECT_EQ(Contents(folder_ / "made.rb"), "made");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder_ / "dangling.rb")));

    fs::create_symlink("loop.rb", folder_ / "loop.rb");
    EXPECT_EQ(Failure(folder_ / "loop.rb"),
              "cannot write file by open: Too many levels of symbolic links");
}

TEST_F(FileReplace, WhatIsNotARegularFileIsRefusedAndLeftAlone) {
    const fs::path fifo = folder_ / "pipe.rb";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(Failure(fifo), "cannot write file by open: not a regular file");
    EXPECT_TRUE(fs::is_fifo(fifo));
    fs::create_symlink("pipe.rb", folder_ / "to_pipe.rb");
    EXPECT_EQ(Failure(folder_ / "to_pipe.rb"), "cannot write file by open: not a regular file");
    fs::create_directory(folder_ / "folder.rb");
    EXPECT_EQ(Failure(folder_ / "folder.rb"), "cannot write file by open: not a regular file");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"folder.rb", "pipe.rb", "to_pipe.rb"}));
}

TEST_F(FileReplace, TheNewFileKeepsModeAndOwner) {
    const fs::path file = folder_ / "private.rb";
    std::ofstream(file) << "old";
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
    }
    ReplaceFileText(file.string(), "new");
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u);
    if (root) {
        EXPECT_EQ(status.st_uid, 65534u);
        EXPECT_EQ(status.st_gid, 65534u);
    }

    const mode_t oldMask = ::umask(027);
    ReplaceFileText((folder_ / "fresh.rb").string(), "new");
    ::umask(oldMask);
    ASSERT_EQ(::stat((folder_ / "fresh.rb").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);  // as a direct creation under that umask
}

// Root may write any file, so the refusal is tried by an unprivileged child.
TEST_F(FileReplace, AFileTheUserMayNotWriteIsRefusedAsADirectWriteWouldBe) {
    const fs::path file = folder_ / "protected.rb";
    std::ofstream(file) << "old";
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(folder_, fs::perms::all);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        ::_exit(Failure(file) == "cannot write file by open: Permission denied" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(Contents(file), "old");
    EXPECT_EQ(Entries(), std::vector<std::string>{"protected.rb"});
}

TEST_F(FileReplace, LeftoversOfEarlierAttemptsDoNotBlockAndFailuresLeaveNone) {
    const fs::path file = folder_ / "model.rb";
    std::ofstream(file) << "old";
    for (int attempt = 0; attempt < 100; ++attempt)
        std::ofstream(folder_ / ("model.rb.~" + std::to_string(attempt) + ".tmp")) << "stale";
    ReplaceFileText(file.string(), "new");
    EXPECT_EQ(Contents(file), "new");
    EXPECT_EQ(Entries().size(), 101u);
}

TEST_F(FileReplace, ErrorsSayWhy) {
    EXPECT_EQ(Failure(folder_ / "missing" / "model.rb"),
              "cannot write file by open: No such file or directory");

    // A full disk, as the file-size limit makes it: the write fails and the old file stays.
    const fs::path file = folder_ / "model.rb";
    std::ofstream(file) << "old";
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 4;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string failure = Failure(file, "longer than four bytes");
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(failure, "cannot write file by write: File too large");
    EXPECT_EQ(Contents(file), "old");
    EXPECT_EQ(Entries(), std::vector<std::string>{"model.rb"});
}

}  // namespace
