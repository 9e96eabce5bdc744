#include "ui/qt/autostart.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

// The entry as the desktop's session settings may leave it: turned off, it stays, marked.
TEST(XdgAutostart, AnEntryTheDesktopTurnedOffIsNotOn) {
  struct Row {
    const char* entry;
    bool on;
  };
  const Row rows[] = {
      {"[Desktop Entry]\nType=Application\nExec=selenial\n", true},
      {"[Desktop Entry]\nExec=selenial\nHidden=true\n", false},
      {"[Desktop Entry]\r\nExec=selenial\r\nHidden = true\r\n", false},
      {"[Desktop Entry]\nExec=selenial\nHidden=false\n", true},
      {"[Desktop Entry]\nExec=selenial\nX-GNOME-Autostart-enabled=false\n", false},
      {"[Desktop Entry]\nExec=selenial\nX-GNOME-Autostart-enabled=true\n", true},
      // Only the entry's own group speaks for it.
      {"[Desktop Entry]\nExec=selenial\n[Desktop Action quit]\nHidden=true\n", true},
  };
  const auto home = std::filesystem::path(testing::TempDir()) / "autostart-home";
  std::filesystem::remove_all(home);
  ui::qt::XdgAutostart autostart(home);
  EXPECT_FALSE(autostart.present());
  std::filesystem::create_directories(autostart.file().parent_path());
  for (const Row& row : rows) {
    std::ofstream(autostart.file(), std::ios::binary) << row.entry;
    EXPECT_EQ(autostart.present(), row.on) << row.entry;
    // Turned on from the clock, it is the clock's own entry again.
    if (!row.on) {
      EXPECT_EQ(autostart.set(true), "");
      EXPECT_TRUE(autostart.present()) << row.entry;
    }
  }
  EXPECT_EQ(autostart.set(false), "");
  EXPECT_FALSE(autostart.present());
}

}  // namespace
