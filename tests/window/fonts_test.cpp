// The skin's font.txt: read line by line up to the first line that cannot be applied, written
// back from the controls, and saved into the home folder when the skin is an installed one.
#include <gtest/gtest.h>

#include <fstream>

#include "basic/textfile.h"
#include "tests/support/test_program.h"
#include "tests/window/skin_folder.h"
#include "ui/fonts.h"

namespace vx::test {
namespace {

const std::vector<std::string> kFile = {"12", "14", "9", "10", "11", "Serif A", "Serif B", "Pad Font", "List A",
                                        "List B", "255", "65280", "16711680", "4660", "22136", "1193046"};

class FontFile : public ::testing::Test {
 protected:
  void SetUp() override {
    makeSkin(installed.path() / "picture", "orange");
    p.skin.roots = {(home.path() / "picture").string(), (installed.path() / "picture").string()};
    p.homeDir = home.str();
  }
  void write(const std::vector<std::string>& lines) {
    ASSERT_TRUE(basic::writeTextLinesAtomic((installed.path() / "picture/orange/font.txt").string(), lines, nullptr));
  }
  form::MainForm& m() { return p.main; }
  TempFolder home, installed;
  TestProgram t;
  Program& p = t.p;
};

TEST_F(FontFile, AWholeFileReachesEveryControlAndWritesBackTheSame) {
  write(kFile);
  ui::loadFonts(p);
  EXPECT_EQ(m().label("text2", 1).fontSize(), 14);
  EXPECT_EQ(m().label("text2", 0).fontName(), "Serif A");
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(m().label("Text1", i).fontName(), "Pad Font");
    EXPECT_EQ(m().label("Text1", i).foreColor(), 16711680);
  }
  EXPECT_EQ(m().listBox("List1", 1).fontSize(), 11);
  EXPECT_EQ(m().listBox("title1", 1).foreColor(), 22136);
  EXPECT_EQ(m().listBox("title1", 0).backColor(), 1193046);
  EXPECT_EQ(m().label("Totaltime", 1).foreColor(), 255);
  EXPECT_EQ(ui::fontLines(p), kFile);
}

TEST_F(FontFile, BadLinesStopTheReadingThereAndKeepWhatCameBefore) {
  struct Case {
    size_t line;  // 1-based line replaced
    std::string text;
  } cases[] = {{1, "0"}, {2, "5000"}, {3, "big"}, {7, ""}, {11, "red"}, {16, "-5"}, {14, "16777216"}};
  for (const Case& c : cases) {
    TestProgram fresh;
    Program& q = fresh.p;
    q.skin.roots = p.skin.roots;
    std::vector<std::string> lines = kFile;
    lines[c.line - 1] = c.text;
    write(lines);
    ui::loadFonts(q);
    // lines before the bad one applied, the bad one and all after it not
    std::vector<std::string> read = ui::fontLines(q);
    for (size_t i = 0; i + 1 < c.line; ++i) EXPECT_EQ(read[i], kFile[i]) << "bad line " << c.line;
    EXPECT_NE(read[c.line - 1], kFile[c.line - 1]) << "bad line " << c.line;
    EXPECT_NE(q.main.label("Totaltime", 0).foreColor(), 255) << "bad line " << c.line;
  }
}

TEST_F(FontFile, AShortFileOrNoneKeepsTheRestAndAnUnknownFontNameIsKept) {
  std::vector<std::string> lines(kFile.begin(), kFile.begin() + 7);
  lines[5] = "No Such Font Anywhere";
  write(lines);
  ui::loadFonts(p);
  EXPECT_EQ(m().label("text2", 0).fontName(), "No Such Font Anywhere");
  EXPECT_EQ(m().label("text2", 1).fontName(), "Serif B");
  EXPECT_NE(m().label("Text1", 0).fontName(), "Pad Font");
  std::filesystem::remove(installed.path() / "picture/orange/font.txt");
  ui::loadFonts(p);
  EXPECT_EQ(m().label("text2", 1).fontName(), "Serif B");
}

TEST_F(FontFile, SavingAnInstalledSkinCopiesItIntoTheHomeFolder) {
  write(kFile);
  ui::loadFonts(p);
  m().label("text2", 0).setFontSize(33);
  std::string error;
  ASSERT_TRUE(ui::saveFonts(p, error)) << error;
  std::filesystem::path copy = home.path() / "picture/orange";
  EXPECT_TRUE(std::filesystem::exists(copy / "bar.bmp"));
  EXPECT_EQ(basic::readTextLines((copy / "font.txt").string()).lines[0], "33");
  // the installed skin is left as it was; the copy now hides it
  EXPECT_EQ(basic::readTextLines((installed.path() / "picture/orange/font.txt").string()).lines[0], "12");
  m().label("text2", 0).setFontSize(40);
  ASSERT_TRUE(ui::saveFonts(p, error)) << error;
  EXPECT_EQ(basic::readTextLines((copy / "font.txt").string()).lines[0], "40");
  ui::loadFonts(p);
  EXPECT_EQ(m().label("text2", 0).fontSize(), 40);
}

}  // namespace
}  // namespace vx::test
