#include "settings/offset_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

#ifndef _WIN32
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

std::string utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return {text.begin(), text.end()};
}

class OffsetFile : public ::testing::Test {
 protected:
  void SetUp() override {
    // A name beyond ASCII, as many home folders have: the file is named in UTF-8 everywhere.
    dir_ = fs::temp_directory_path() / fs::path(u8"selenial-settings-Z\u00fcrich-");
    dir_ += std::to_string(std::random_device{}());
    fs::create_directories(dir_);
    file_ = dir_ / "Selenial.ini";
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  void write(const std::string& bytes) const {
    std::ofstream(file_, std::ios::binary) << bytes;
  }
  std::string content() const {
    std::ifstream in(file_, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  std::size_t entries() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {})); }

  fs::path dir_;
  fs::path file_;
};

TEST_F(OffsetFile, FirstItem) {
  struct Case {
    std::string bytes;
    std::string item;
  };
  const Case cases[] = {
      {"3600\r\n", "3600"},
      {" 3600\r\n", "3600"},
      {"\t 3600", "3600"},
      {"3600,60\r\n", "3600"},
      {"3600 ,60", "3600 "},
      {"-18000\n7200\n", "-18000"},
      {"3600.5\r\n", "3600.5"},
      {"", ""},
      {"\r\n3600\r\n", ""},
      {"abc", "abc"},
      {std::string("\x00\xff\x01,2", 5), std::string("\x00\xff\x01", 3)},
      {"\xef\xbb\xbf" "3600\r\n", "3600"},  // a byte-order mark, as some editors write
      {"\xef\xbb" "3600\r\n", "\xef\xbb" "3600"},
  };
  for (const Case& c : cases) {
    write(c.bytes);
    const settings::FirstItem read = settings::readFirstItem(utf8(file_));
    EXPECT_EQ(read.text, c.item) << '"' << c.bytes << '"';
    EXPECT_EQ(read.error, "") << '"' << c.bytes << '"';
  }
}

TEST_F(OffsetFile, MissingOrHugeFile) {
  EXPECT_FALSE(settings::readFirstItem(utf8(file_)).text);
  EXPECT_EQ(settings::readFirstItem(utf8(file_)).error, "") << "a missing file is no fault";
  write(std::string(3 * settings::kMaxItem, '7'));
  EXPECT_EQ(settings::readFirstItem(utf8(file_)).text->size(), settings::kMaxItem);
}

TEST_F(OffsetFile, SaveWritesTheLineAndCrLfAtomically) {
  for (const char* line : {"7200", "", " -18000 ", "3600.5", "abc"}) {
    const settings::SaveResult saved = settings::saveLine(utf8(file_), line);
    EXPECT_EQ(saved.error, "");
    EXPECT_EQ(content(), std::string(line) + "\r\n");
    EXPECT_EQ(entries(), 1u) << "no temporary file is left behind";
  }
}

TEST_F(OffsetFile, SaveFailureIsReportedAndKeepsTheOldFile) {
  fs::create_directory(file_);  // a folder where the file should be
  const settings::SaveResult blocked = settings::saveLine(utf8(file_), "3600");
  EXPECT_FALSE(blocked.error.empty());
  EXPECT_TRUE(fs::is_directory(file_));
  EXPECT_EQ(entries(), 1u);

  const settings::SaveResult vanished = settings::saveLine(utf8(dir_ / "gone" / "Selenial.ini"), "3600");
  EXPECT_NE(vanished.error.find("gone"), std::string::npos) << vanished.error;
}

TEST_F(OffsetFile, LoadAtStartUp) {
  struct Case {
    std::optional<std::string> bytes;  // empty: no file
    std::string box;
    double seconds;
  };
  const Case cases[] = {
      {std::nullopt, "0", 0},
      {"3600\r\n", "3600", 3600},
      {" 3600\r\n", "3600", 3600},
      {"3600,60\r\n", "3600", 3600},
      {"0.0\r\n", "0", 0},
      {"-18000\r\n", "-18000", -18000},
      {"3600.5\r\n", "3600.5", 3600.5},
      {"1E3\r\n", "1000", 1000},
      {"\xef\xbb\xbf" "3600\r\n", "3600", 3600},
      // No number: the offset is 0 and the stored text stays as it was.
      {"", "0", 0},
      {"\r\n", "0", 0},
      {"-\r\n", "0", 0},
      {"abc\r\n", "0", 0},
      {std::string("\x00\x01\xfe", 3), "0", 0},
      {std::string(2'000'000, '1'), "0", 0},
  };
  const settings::OffsetSetting setting(utf8(file_));
  for (const Case& c : cases) {
    std::error_code ignored;
    fs::remove(file_, ignored);
    if (c.bytes) write(*c.bytes);
    const auto loaded = setting.load();
    EXPECT_EQ(loaded.boxText, c.box) << (c.bytes ? c.bytes->substr(0, 20) : "(no file)");
    EXPECT_EQ(loaded.seconds, c.seconds) << (c.bytes ? c.bytes->substr(0, 20) : "(no file)");
    EXPECT_EQ(fs::exists(file_), c.bytes.has_value());
    if (c.bytes) {
      EXPECT_EQ(content(), *c.bytes) << "load never writes";
    }
  }
}

TEST_F(OffsetFile, ChangeStoresWhatWasTyped) {
  const settings::OffsetSetting setting(utf8(file_));
  struct Case {
    const char* box;
    std::optional<double> seconds;
  };
  const Case cases[] = {{"7200", 7200}, {"", std::nullopt}, {"-", std::nullopt}, {"-1", -1}, {"x1", std::nullopt}};
  for (const Case& c : cases) {
    const auto changed = setting.change(c.box);
    EXPECT_EQ(changed.error, "");
    EXPECT_EQ(changed.seconds, c.seconds) << c.box;
    EXPECT_EQ(content(), std::string(c.box) + "\r\n");
  }
}

}  // namespace

#ifndef _WIN32
namespace {

// The cases a hostile disk or user can set up, run in a fresh folder each.
class WhatTheFolderHolds : public OffsetFile {
 protected:
  using Arrange = void (*)(const fs::path& dir);
  static constexpr uid_t kNobody = 65534;

  void TearDown() override {
    // Folders a case made read-only must open up again to be removed.
    std::error_code ignored;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
    OffsetFile::TearDown();
  }

  // Sets up the folder afresh; files belong to nobody when the test runs as root
  // and the case is about permissions, so that they are the user's own.
  void arrange(Arrange how, bool asUser) {
    unarranged = false;
    std::error_code ignored;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    ::umask(022);
    how(dir_);
    if (asUser && ::geteuid() == 0) {
      ASSERT_EQ(::lchown(dir_.c_str(), kNobody, kNobody), 0);
      for (const auto& entry : fs::recursive_directory_iterator(dir_)) {
        ASSERT_EQ(::lchown(entry.path().c_str(), kNobody, kNobody), 0) << entry.path();
      }
    }
  }

  // Runs `act` as an unprivileged user: in a child process as nobody when the
  // test runs as root, which would ignore every permission. Its text comes back
  // through a pipe; empty when the child could not become nobody.
  std::optional<std::string> asUser(const std::function<std::string()>& act) const {
    if (::geteuid() != 0) return act();
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
      ::close(pipeEnds[0]);
      if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0 ||
          ::access(dir_.parent_path().c_str(), X_OK) != 0) {
        ::_exit(77);
      }
      const std::string text = act();
      const bool sent = ::write(pipeEnds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
      ::_exit(sent ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeEnds[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      return std::nullopt;
    }
    return text;
  }

  // Gives a file or link to nobody; only root may, and the case is skipped otherwise.
  inline static bool unarranged = false;
  static void giveAway(const fs::path& path) {
    if (::lchown(path.c_str(), kNobody, kNobody) != 0) unarranged = true;
  }

  // What stands at `path`, read by the test itself: the bytes of a regular file, or its kind.
  static std::string held(fs::path path) {
    std::error_code ignored;
    // Links followed by hand: the kernel may refuse to follow some for the test too.
    for (int hops = 0; hops < 8 && fs::is_symlink(path, ignored); ++hops) {
      const fs::path to = fs::read_symlink(path, ignored);
      path = to.is_absolute() ? to : path.parent_path() / to;
    }
    switch (fs::status(path, ignored).type()) {
      case fs::file_type::not_found: return "(missing)";
      case fs::file_type::directory: return "(folder)";
      case fs::file_type::fifo: return "(fifo)";
      case fs::file_type::socket: return "(socket)";
      case fs::file_type::regular: break;
      default: return "(other)";
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  // "0644", readable in a failure message.
  static std::string octal(fs::perms mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode) & 07777u);
    return text;
  }
  std::vector<fs::path> temporaries() const {
    std::vector<fs::path> found;
    for (const auto& entry : fs::recursive_directory_iterator(dir_)) {
      if (entry.path().filename().string().find(".tmp") != std::string::npos) found.push_back(entry.path());
    }
    return found;
  }

  static void put(const fs::path& path, const std::string& bytes, fs::perms perms = fs::perms(0644)) {
    std::ofstream(path, std::ios::binary) << bytes;
    fs::permissions(path, perms);
  }
  // A link from Selenial.ini to other/real.ini, relative as users make them.
  static void linkToOther(const fs::path& dir) {
    fs::create_directory(dir / "other");
    fs::create_symlink(fs::path("other") / "real.ini", dir / "Selenial.ini");
  }
  // The same link, planted by nobody in a sticky folder anyone may write, as /tmp.
  static void foreignLink(const fs::path& dir) {
    linkToOther(dir);
    put(dir / "other" / "real.ini", "3600\r\n");
    put(dir / "other" / "real.ini.tmp", "36");
    fs::permissions(dir, fs::perms(01777));
    giveAway(dir / "Selenial.ini");
  }
};

TEST_F(WhatTheFolderHolds, SavesThroughLinksAndNeverOverWhatTheUserMayNotWrite) {
  struct Case {
    const char* what;
    Arrange arrange;
    bool asUser;  // about permissions, which root would ignore
    bool saved;
    std::string after;  // what Selenial.ini holds afterwards, read through a link
    fs::perms mode;     // of the file behind Selenial.ini afterwards
    bool link;          // Selenial.ini is a link afterwards
    std::size_t leftovers = 0;  // temporary files beside it afterwards: start-up removes them
    bool diskFull = false;      // no byte more may be written
  };
  const fs::perms rw = fs::perms(0644);
  const Case cases[] = {
      {"a plain file", [](const fs::path& d) { put(d / "Selenial.ini", "3600\r\n"); }, false, true, "7200\r\n", rw, false},
      {"a file of mode 0640", [](const fs::path& d) { put(d / "Selenial.ini", "3600\r\n", fs::perms(0640)); }, false,
       true, "7200\r\n", fs::perms(0640), false},
      {"a link to a file in another folder",
       [](const fs::path& d) {
         linkToOther(d);
         put(d / "other" / "real.ini", "1\r\n", fs::perms(0600));
       },
       false, true, "7200\r\n", fs::perms(0600), true},
      {"a dangling link", linkToOther, false, true, "7200\r\n", rw, true},
      {"a read-only file", [](const fs::path& d) { put(d / "Selenial.ini", "3600\r\n", fs::perms(0444)); }, true,
       false, "3600\r\n", fs::perms(0444), false},
      {"a link to a read-only file",
       [](const fs::path& d) {
         linkToOther(d);
         put(d / "other" / "real.ini", "3600\r\n", fs::perms(0444));
       },
       true, false, "3600\r\n", fs::perms(0444), true},
      {"a writable file in a read-only folder",
       [](const fs::path& d) {
         put(d / "Selenial.ini", "3600\r\n");
         fs::permissions(d, fs::perms(0555));
       },
       true, true, "7200\r\n", rw, false},
      {"a read-only folder without the file", [](const fs::path& d) { fs::permissions(d, fs::perms(0555)); }, true,
       false, "(missing)", fs::perms::none, false},
      {"a FIFO", [](const fs::path& d) { ASSERT_EQ(::mkfifo((d / "Selenial.ini").c_str(), 0644), 0); }, false, false,
       "(fifo)", fs::perms::none, false},
      {"a temporary file left by a save cut short",
       [](const fs::path& d) {
         put(d / "Selenial.ini", "3600\r\n");
         put(d / "Selenial.ini.tmp", "36", fs::perms(0444));
       },
       true, true, "7200\r\n", rw, false, 1},
      {"a read-only file that holds the line already",
       [](const fs::path& d) { put(d / "Selenial.ini", "7200\r\n", fs::perms(0444)); }, true, true, "7200\r\n",
       fs::perms(0444), false},
      {"a link of another user in a sticky folder others may write", foreignLink, false, false, "3600\r\n", rw, true,
       1},
      {"a file of another user, saved by root",
       [](const fs::path& d) {
         put(d / "Selenial.ini", "3600\r\n");
         giveAway(d / "Selenial.ini");
       },
       false, true, "7200\r\n", rw, false},
      {"a longer file in a read-only folder",
       [](const fs::path& d) {
         put(d / "Selenial.ini", "-18000.5\r\n");
         fs::permissions(d, fs::perms(0555));
       },
       true, true, "7200\r\n", rw, false},
      {"a full disk in a read-only folder",
       [](const fs::path& d) {
         put(d / "Selenial.ini", "3600\r\n");
         fs::permissions(d, fs::perms(0555));
       },
       true, false, "3600\r\n", rw, false, 0, true},
  };
  std::vector<std::string> skipped;
  for (const Case& c : cases) {
    arrange(c.arrange, c.asUser);
    if (unarranged) {
      skipped.push_back(c.what);
      continue;
    }
    struct stat before {};
    const bool had = ::stat(file_.c_str(), &before) == 0 && S_ISREG(before.st_mode);
    const auto save = [this, full = c.diskFull] {
      rlimit was{};
      ::getrlimit(RLIMIT_FSIZE, &was);
      if (full) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit none{0, was.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &none);
      }
      const settings::SaveResult saved = settings::saveLine(utf8(file_), "7200");
      ::setrlimit(RLIMIT_FSIZE, &was);
      return saved.error.empty() ? std::string("saved") : saved.error;
    };
    const auto result = c.asUser ? asUser(save) : std::optional<std::string>(save());
    if (!result) {
      skipped.push_back(c.what);
      continue;
    }
    const bool saved = *result == "saved";
    EXPECT_EQ(saved, c.saved) << c.what << ": " << *result;
    if (!saved) {
      EXPECT_NE(result->find(utf8(fs::absolute(file_)) + ": "), std::string::npos) << c.what << ": " << *result;
    }
    EXPECT_EQ(held(file_), c.after) << c.what;
    if (fs::is_regular_file(file_)) {
      EXPECT_EQ(octal(fs::status(file_).permissions()), octal(c.mode)) << c.what;
    }
    EXPECT_EQ(fs::is_symlink(file_), c.link) << c.what;
    EXPECT_EQ(temporaries().size(), c.leftovers) << c.what;
    struct stat after {};
    if (had && ::stat(file_.c_str(), &after) == 0) {
      EXPECT_EQ(after.st_uid, before.st_uid) << c.what << ": the file keeps its owner";
      EXPECT_EQ(after.st_gid, before.st_gid) << c.what << ": the file keeps its group";
    }
  }
  if (!skipped.empty()) {
    GTEST_SKIP() << "could not try " << skipped.size() << " cases that need root or nobody (65534), the first: "
                 << skipped.front();
  }
}

TEST_F(WhatTheFolderHolds, StartUpReadsOnlyARegularFileAndReportsWhatItCannotRead) {
  struct Case {
    const char* what;
    Arrange arrange;
    bool asUser;
    std::string box;
    std::string error;  // a part of the reported fault; empty: no fault
    std::string after;
    std::size_t leftovers = 0;  // temporary files that are not this program's to remove
  };
  const Case cases[] = {
      {"a link to a file", [](const fs::path& d) {
         linkToOther(d);
         put(d / "other" / "real.ini", "3600\r\n");
       },
       false, "3600", "", "3600\r\n"},
      {"a dangling link", linkToOther, false, "0", "", "(missing)"},
      {"a FIFO", [](const fs::path& d) { ASSERT_EQ(::mkfifo((d / "Selenial.ini").c_str(), 0644), 0); }, false, "0",
       "not a regular file", "(fifo)"},
      {"a folder", [](const fs::path& d) { fs::create_directory(d / "Selenial.ini"); }, false, "0",
       "not a regular file", "(folder)"},
      {"a link to a device", [](const fs::path& d) { fs::create_symlink("/dev/zero", d / "Selenial.ini"); }, false,
       "0", "not a regular file", "(other)"},
      {"a socket",
       [](const fs::path& d) {
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         const std::string name = (d / "Selenial.ini").string();
         ASSERT_LT(name.size(), sizeof address.sun_path);
         std::strcpy(address.sun_path, name.c_str());
         const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
         ASSERT_EQ(::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
         ::close(s);
       },
       false, "0", "not a regular file", "(socket)"},
      {"a file the user cannot read", [](const fs::path& d) { put(d / "Selenial.ini", "3600\r\n", fs::perms(0200)); },
       true, "0", std::strerror(EACCES), "3600\r\n"},
      {"a temporary file left by a save cut short",
       [](const fs::path& d) {
         put(d / "Selenial.ini", "3600\r\n");
         put(d / "Selenial.ini.tmp", "72");
       },
       false, "3600", "", "3600\r\n"},
      {"a file beside a link's target, named as a temporary file",
       [](const fs::path& d) {
         linkToOther(d);
         put(d / "other" / "real.ini", "-18000\r\n");
         put(d / "other" / "real.ini.tmp", "-1");
       },
       false, "-18000", "", "-18000\r\n", 1},
      {"a link of another user in a sticky folder others may write", foreignLink, false, "0",
       "a link owned by another user in a folder others may write to", "3600\r\n", 1},
      {"temporary files of this version and of earlier ones",
       [](const fs::path& d) {
         put(d / "Selenial.ini", " Auto\r\n");
         put(d / "Selenial.ini.tmp-4242-7", "72");
         put(d / "Selenial.ini.tmp12345", "");
       },
       false, "Auto", "", " Auto\r\n"},
  };
  std::vector<std::string> skipped;
  for (const Case& c : cases) {
    arrange(c.arrange, c.asUser);
    if (unarranged) {
      skipped.push_back(c.what);
      continue;
    }
    const auto load = [this] {
      const auto loaded = settings::OffsetSetting(utf8(file_)).load();
      return loaded.boxText + '\n' + loaded.error;
    };
    const auto result = c.asUser ? asUser(load) : std::optional<std::string>(load());
    if (!result) {
      skipped.push_back(c.what);
      continue;
    }
    const std::string box = result->substr(0, result->find('\n'));
    const std::string error = result->substr(result->find('\n') + 1);
    EXPECT_EQ(box, c.box) << c.what;
    // What is left is read by the test, also from a file the case made unreadable.
    if (fs::is_regular_file(file_)) fs::permissions(file_, fs::perms::owner_read, fs::perm_options::add);
    if (c.error.empty()) {
      EXPECT_EQ(error, "") << c.what;
    } else {
      EXPECT_NE(error.find(c.error), std::string::npos) << c.what << ": " << error;
      EXPECT_NE(error.find(utf8(fs::absolute(file_))), std::string::npos) << c.what << ": " << error;
    }
    EXPECT_EQ(held(file_), c.after) << c.what;
    EXPECT_EQ(temporaries().size(), c.leftovers) << c.what;
  }
  if (!skipped.empty()) {
    GTEST_SKIP() << "could not try " << skipped.size() << " cases that need root or nobody (65534), the first: "
                 << skipped.front();
  }
}

// Two programs in one folder, a double start: whatever they save, the file always
// holds one whole line of one of them, every save succeeds, and a start-up meanwhile
// removes no file that one of them is writing.
TEST_F(WhatTheFolderHolds, TwoProgramsSavingAtOnceNeverTearTheFile) {
  constexpr int kSaves = 2000;
  const std::string lines[] = {"3600", "-18000.5"};
  ASSERT_EQ(settings::saveLine(utf8(file_), lines[0]).error, "");
  pid_t savers[2];
  for (int i = 0; i < 2; ++i) {
    savers[i] = ::fork();
    ASSERT_GE(savers[i], 0);
    if (savers[i] == 0) {
      int failed = 0;
      for (int n = 0; n < kSaves; ++n) failed += settings::saveLine(utf8(file_), lines[i]).error.empty() ? 0 : 1;
      ::_exit(failed > 0 ? 1 : 0);
    }
  }
  int reads = 0;
  std::string torn;
  int status[2] = {-1, -1};
  while (status[0] < 0 || status[1] < 0) {
    const std::string now = held(file_);
    ++reads;
    if (now != lines[0] + "\r\n" && now != lines[1] + "\r\n" && torn.empty()) torn = now;
    if (reads % 50 == 0) settings::OffsetSetting(utf8(file_)).load();
    for (int i = 0; i < 2; ++i) {
      int how = 0;
      if (status[i] < 0 && ::waitpid(savers[i], &how, WNOHANG) == savers[i]) status[i] = WIFEXITED(how) ? WEXITSTATUS(how) : 128;
    }
  }
  EXPECT_EQ(torn, "") << "after " << reads << " reads";
  EXPECT_EQ(status[0], 0) << "a save of the first program failed";
  EXPECT_EQ(status[1], 0) << "a save of the second program failed";
  EXPECT_EQ(temporaries(), std::vector<fs::path>{});
}

}  // namespace
#endif
