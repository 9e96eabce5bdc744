#include "settings/preferences.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

struct Edit {
  const char* name;
  std::string text;                     // the file as read
  std::vector<std::pair<std::string, std::optional<std::string>>> changes;  // none: erase
  std::string saved;                    // the file as saved afterwards
  std::vector<int> unreadable;
};

// Lines this version does not know, comments and unreadable lines stay where they were.
const Edit kEdits[] = {
    {"an empty file gains the key", "", {{"copy", "%C"}}, "copy=%C\n", {}},
    {"the value is rewritten in place", "# mine\ncopy=%s\nlater=1\n", {{"copy", "%u"}}, "# mine\ncopy=%u\nlater=1\n", {}},
    {"a newer version's keys keep their order", "zone=x\nhotkey=none\nshade=blue\n", {{"hotkey", "Super+T"}},
     "zone=x\nhotkey=Super+T\nshade=blue\n", {}},
    {"the last of a twice-written key counts", "copy=%s\ncopy=%u\n", {{"copy", "%i"}}, "copy=%s\ncopy=%i\n", {}},
    {"unreadable lines are kept and named", "copy=%s\n  just words\n=%u\n\n", {{"copy", "%C"}},
     "copy=%C\n  just words\n=%u\n\n", {2, 3}},
    {"CR LF stays CR LF", "a=1\r\nb=2\r\n", {{"c", "3"}}, "a=1\r\nb=2\r\nc=3\r\n", {}},
    {"a last line without its end gets one", "a=1", {}, "a=1\n", {}},
    {"erasing drops every line of the key", "copy=%s\nx=1\ncopy=%u\n", {{"copy", std::nullopt}}, "x=1\n", {}},
    {"blanks around the key are not part of it", " copy = %S\n#x=1\n", {{"copy", "%s"}}, "copy=%s\n#x=1\n", {}},
};

TEST(Preferences, EditsKeepWhatTheyDoNotChange) {
  for (const Edit& edit : kEdits) {
    SCOPED_TRACE(edit.name);
    std::vector<int> unreadable;
    settings::Preferences preferences = settings::Preferences::parse(edit.text, &unreadable);
    for (const auto& [key, value] : edit.changes) {
      if (value) {
        preferences.set(key, *value);
      } else {
        preferences.erase(key);
      }
      EXPECT_EQ(preferences.get(key), value);
    }
    EXPECT_EQ(preferences.serialize(), edit.saved);
    EXPECT_EQ(unreadable, edit.unreadable);
  }
}

TEST(Preferences, LoadNamesEachUnreadableLineAndAFileItCannotRead) {
  const auto dir = std::filesystem::temp_directory_path() / "selenial-preferences-test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string file = (dir / "Selenial.conf").string();
  std::ofstream(file) << "copy=%s\noops\n";
  auto loaded = settings::loadPreferences(file);
  EXPECT_EQ(loaded.problems, std::vector<std::string>{"Selenial.conf line 2: not a key=value line"});
  EXPECT_EQ(loaded.preferences.get("copy"), "%s");
  // A folder where the file should be: no preferences, and said.
  std::filesystem::remove(file);
  std::filesystem::create_directories(file);
  loaded = settings::loadPreferences(file);
  EXPECT_EQ(loaded.problems.size(), 1u);
  EXPECT_EQ(loaded.preferences.get("copy"), std::nullopt);
  EXPECT_FALSE(settings::savePreferences(file, loaded.preferences).error.empty());
  std::filesystem::remove_all(dir);
}

}  // namespace
