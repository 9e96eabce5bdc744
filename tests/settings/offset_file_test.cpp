#include "settings/offset_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class OffsetFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("selenial-settings-" + std::to_string(std::random_device{}()));
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
  };
  for (const Case& c : cases) {
    write(c.bytes);
    EXPECT_EQ(settings::readFirstItem(file_), c.item) << '"' << c.bytes << '"';
  }
}

TEST_F(OffsetFile, MissingOrHugeFile) {
  EXPECT_FALSE(settings::readFirstItem(file_));
  write(std::string(3 * settings::kMaxItem, '7'));
  EXPECT_EQ(settings::readFirstItem(file_)->size(), settings::kMaxItem);
}

TEST_F(OffsetFile, SaveWritesTheLineAndCrLfAtomically) {
  for (const char* line : {"7200", "", " -18000 ", "3600.5", "abc"}) {
    const settings::SaveResult saved = settings::saveLine(file_, line);
    EXPECT_TRUE(saved.ok) << saved.error;
    EXPECT_EQ(content(), std::string(line) + "\r\n");
    EXPECT_EQ(entries(), 1u) << "no temporary file is left behind";
  }
}

TEST_F(OffsetFile, SaveFailureIsReportedAndKeepsTheOldFile) {
  fs::create_directory(file_);  // a folder where the file should be
  const settings::SaveResult blocked = settings::saveLine(file_, "3600");
  EXPECT_FALSE(blocked.ok);
  EXPECT_FALSE(blocked.error.empty());
  EXPECT_TRUE(fs::is_directory(file_));
  EXPECT_EQ(entries(), 1u);

  const settings::SaveResult vanished = settings::saveLine(dir_ / "gone" / "Selenial.ini", "3600");
  EXPECT_FALSE(vanished.ok);
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
      // No number: the offset is 0 and the stored text stays as it was.
      {"", "0", 0},
      {"\r\n", "0", 0},
      {"-\r\n", "0", 0},
      {"abc\r\n", "0", 0},
      {std::string("\x00\x01\xfe", 3), "0", 0},
      {std::string(2'000'000, '1'), "0", 0},
  };
  const settings::OffsetSetting setting(file_);
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
  const settings::OffsetSetting setting(file_);
  struct Case {
    const char* box;
    std::optional<double> seconds;
  };
  const Case cases[] = {{"7200", 7200}, {"", std::nullopt}, {"-", std::nullopt}, {"-1", -1}, {"x1", std::nullopt}};
  for (const Case& c : cases) {
    const auto changed = setting.change(c.box);
    EXPECT_TRUE(changed.saved.ok);
    EXPECT_EQ(changed.seconds, c.seconds) << c.box;
    EXPECT_EQ(content(), std::string(c.box) + "\r\n");
  }
}

}  // namespace
