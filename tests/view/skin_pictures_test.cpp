// The built-in skins hold every picture the program names, each readable and of the size of the
// control it is drawn on, and a font file naming a font the system has.
#include <QFontDatabase>
#include <QImage>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include <gtest/gtest.h>

#include "basic/textfile.h"
#include "form/mainform.h"
#include "tests/view/qt_app.h"
#include "ui/skin_catalogue.h"

namespace vx::test {
namespace {

namespace fs = std::filesystem;

const std::string kRoot = VELVOX_BUILD_DIR "/picture";
const char* const kSkins[] = {"orange", "midnight"};

// Every picture file named in the program's sources and in the window's layout.
std::set<std::string> picturesNamedInSources() {
  std::set<std::string> names;
  // A file name in quotes, after the old path separator when there is one: "play2.bmp", "\\save1.bmp".
  std::regex literal(R"rx("(?:\\\\)?([A-Za-z][A-Za-z0-9_]*\.(?:bmp|ico))")rx");
  fs::path source = VELVOX_SOURCE_DIR;
  for (const char* folder : {"shell", "decks", "mixer", "songlist", "keys", "sampler", "recorder", "config", "ui", "form", "view"}) {
    if (!fs::exists(source / folder)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(source / folder)) {
      std::string ext = entry.path().extension().string();
      if (ext != ".cpp" && ext != ".h" && ext != ".layout") continue;
      std::ifstream in(entry.path());
      std::string text((std::istreambuf_iterator<char>(in)), {});
      for (std::sregex_iterator it(text.begin(), text.end(), literal), end; it != end; ++it) names.insert((*it)[1].str());
    }
  }
  return names;
}

TEST(SkinPictures, EveryPictureTheProgramNamesIsInBothSkins) {
  testApp();
  std::set<std::string> names = picturesNamedInSources();
  EXPECT_TRUE(names.count("play2.bmp"));
  EXPECT_TRUE(names.count("jog.ico"));
  names.insert(ui::skinPictureNames().begin(), ui::skinPictureNames().end());
  for (const char* skin : kSkins) {
    for (const std::string& name : names) {
      std::string path = kRoot + "/" + skin + "/" + name;
      EXPECT_FALSE(QImage(QString::fromStdString(path)).isNull()) << path;
    }
  }
}

TEST(SkinPictures, EachPictureHasTheSizeOfItsControls) {
  testApp();
  form::MainForm layout;
  for (const char* skin : kSkins) {
    for (form::Control* c : layout.controls()) {
      auto* picture = dynamic_cast<form::Picture*>(c);
      if (!picture || picture->picture().empty()) continue;
      QImage image(QString::fromStdString(kRoot + "/" + skin + "/" + picture->picture()));
      ASSERT_FALSE(image.isNull()) << picture->picture();
      EXPECT_EQ(image.width() * 15, picture->width()) << skin << " " << c->ref();
      EXPECT_EQ(image.height() * 15, picture->height()) << skin << " " << c->ref();
    }
    // Pressed and lit pictures match the released ones.
    for (const std::string& name : ui::skinPictureNames()) {
      if (!name.ends_with("2.bmp")) continue;
      std::string released = name.substr(0, name.size() - 5) + "1.bmp";
      QImage a(QString::fromStdString(kRoot + "/" + skin + "/" + name));
      QImage b(QString::fromStdString(kRoot + "/" + skin + "/" + released));
      EXPECT_EQ(a.size(), b.size()) << skin << " " << name;
      EXPECT_NE(a.convertToFormat(QImage::Format_RGB32), b.convertToFormat(QImage::Format_RGB32)) << skin << " " << name;
    }
  }
}

TEST(SkinPictures, TheFontFileHasItsSixteenLinesAndNamesAnInstalledFont) {
  testApp();
  QStringList families = QFontDatabase::families();
  for (const char* skin : kSkins) {
    basic::TextReadResult file = basic::readTextLines(kRoot + "/" + skin + "/font.txt");
    ASSERT_TRUE(file.ok) << skin;
    ASSERT_EQ(file.lines.size(), 16u) << skin;
    for (size_t line = 5; line < 10; ++line)
      EXPECT_TRUE(families.contains(QString::fromStdString(file.lines[line]))) << file.lines[line];
  }
}

}  // namespace
}  // namespace vx::test
