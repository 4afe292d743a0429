// Keys as Windows virtual-key codes, by the keys' places on US, ISO and JIS keyboards, and the
// window taking every key before its lists see one.
#include <QApplication>
#include <QKeyEvent>

#include "tests/view/window_fixture.h"
#include "view/keymap.h"
#include "view/list_box_view.h"

namespace vx::test {
namespace {

using view::KeyboardFamily;
using view::virtualKey;

constexpr uint32_t x11(uint32_t evdev) { return evdev + 8; }

TEST(KeyMap, PunctuationKeysFollowTheirPlaceOnTheKeyboard) {
  // US and ISO keyboards.
  EXPECT_EQ(virtualKey(Qt::Key_Semicolon, false, x11(39), KeyboardFamily::Standard), 186);
  EXPECT_EQ(virtualKey(Qt::Key_Slash, false, x11(53), KeyboardFamily::Standard), 191);
  EXPECT_EQ(virtualKey(Qt::Key_BracketRight, false, x11(27), KeyboardFamily::Standard), 221);
  EXPECT_EQ(virtualKey(Qt::Key_Less, false, x11(86), KeyboardFamily::Standard), 226);
  // A German layout writes other characters on the same keys; the codes stay.
  EXPECT_EQ(virtualKey(Qt::Key_Odiaeresis, false, x11(39), KeyboardFamily::Standard), 186);
  EXPECT_EQ(virtualKey(Qt::Key_Minus, false, x11(53), KeyboardFamily::Standard), 191);
  EXPECT_EQ(virtualKey(Qt::Key_Plus, false, x11(27), KeyboardFamily::Standard), 221);
  // JIS: the level keys sit in pairs.
  EXPECT_EQ(virtualKey(Qt::Key_Colon, false, x11(40), KeyboardFamily::Jis), 186);
  EXPECT_EQ(virtualKey(Qt::Key_BracketRight, false, x11(43), KeyboardFamily::Jis), 221);
  EXPECT_EQ(virtualKey(Qt::Key_Slash, false, x11(53), KeyboardFamily::Jis), 191);
  EXPECT_EQ(virtualKey(Qt::Key_Backslash, false, x11(89), KeyboardFamily::Jis), 226);
  EXPECT_EQ(virtualKey(Qt::Key_Semicolon, false, x11(39), KeyboardFamily::Jis), 187);
  EXPECT_TRUE(view::isJisOnlyKey(x11(89)));
  EXPECT_FALSE(view::isJisOnlyKey(x11(86)));
}

TEST(KeyMap, LettersDigitsKeypadAndControlKeys) {
  EXPECT_EQ(virtualKey(Qt::Key_Q, false, x11(16), KeyboardFamily::Standard), 'Q');
  // AZERTY: the key at the place of Q writes A, and is A.
  EXPECT_EQ(virtualKey(Qt::Key_A, false, x11(16), KeyboardFamily::Standard), 'A');
  // A Cyrillic layout: the letter comes from the place.
  EXPECT_EQ(virtualKey(0x0439, false, x11(16), KeyboardFamily::Standard), 'Q');
  // Shifted digits are still the digit keys.
  EXPECT_EQ(virtualKey(Qt::Key_Exclam, false, x11(2), KeyboardFamily::Standard), '1');
  EXPECT_EQ(virtualKey(Qt::Key_1, true, x11(79), KeyboardFamily::Standard), 97);
  EXPECT_EQ(virtualKey(Qt::Key_8, true, 0, KeyboardFamily::Standard), 104);
  EXPECT_EQ(virtualKey(Qt::Key_Space, false, x11(57), KeyboardFamily::Standard), 32);
  EXPECT_EQ(virtualKey(Qt::Key_Backspace, false, 0, KeyboardFamily::Standard), 8);
  EXPECT_EQ(virtualKey(Qt::Key_Return, false, 0, KeyboardFamily::Standard), 13);
  EXPECT_EQ(virtualKey(Qt::Key_Enter, true, 0, KeyboardFamily::Standard), 13);
  EXPECT_EQ(virtualKey(Qt::Key_Delete, false, 0, KeyboardFamily::Standard), 46);
  EXPECT_EQ(virtualKey(Qt::Key_PageDown, false, 0, KeyboardFamily::Standard), 34);
  EXPECT_EQ(virtualKey(Qt::Key_End, false, 0, KeyboardFamily::Standard), 35);
  EXPECT_EQ(virtualKey(Qt::Key_F5, false, 0, KeyboardFamily::Standard), 116);
  // Without a scan code the character decides.
  EXPECT_EQ(virtualKey(Qt::Key_Slash, false, 0, KeyboardFamily::Standard), 191);
  EXPECT_EQ(virtualKey(Qt::Key_Semicolon, false, 0, KeyboardFamily::Standard), 186);
  EXPECT_EQ(virtualKey(Qt::Key_BracketRight, false, 0, KeyboardFamily::Standard), 221);
  EXPECT_EQ(virtualKey(0x0439, false, 0, KeyboardFamily::Standard), 0);
}

TEST(KeyMap, TheKeyboardFamilyComesFromTheSettingOrTheSystem) {
  EXPECT_EQ(view::keyboardFamily("jis", ""), KeyboardFamily::Jis);
  EXPECT_EQ(view::keyboardFamily("us", "XKBLAYOUT=\"jp\"\n"), KeyboardFamily::Standard);
  EXPECT_EQ(view::keyboardFamily(nullptr, "XKBMODEL=\"jp106\"\nXKBLAYOUT=\"jp\"\n"), KeyboardFamily::Jis);
  EXPECT_EQ(view::keyboardFamily("", "XKBLAYOUT=\"us,jp\"\n"), KeyboardFamily::Standard);
  EXPECT_EQ(view::keyboardFamily(nullptr, "XKBLAYOUT=de\n"), KeyboardFamily::Standard);
  EXPECT_EQ(view::keyboardFamily(nullptr, ""), KeyboardFamily::Standard);
}

class KeyWindowTest : public WindowFixture {
 protected:
  std::vector<std::pair<bool, int>> keys;
  void SetUp() override {
    WindowFixture::SetUp();
    p.main.keyDown = [this](int vk, int) { keys.emplace_back(true, vk); };
    p.main.keyUp = [this](int vk, int) { keys.emplace_back(false, vk); };
    showWith("orange");
  }
  void send(QWidget* to, QEvent::Type type, int key, uint32_t scan, bool repeat = false) {
    QKeyEvent e(type, key, Qt::NoModifier, scan, 0, 0, QString(), repeat);
    QApplication::sendEvent(to, &e);
  }
};

TEST_F(KeyWindowTest, TheWindowTakesTheKeysAsVirtualKeyCodes) {
  send(&gui->mainWindow(), QEvent::KeyPress, Qt::Key_Slash, x11(53));
  send(&gui->mainWindow(), QEvent::KeyPress, Qt::Key_Slash, x11(53), true);
  send(&gui->mainWindow(), QEvent::KeyRelease, Qt::Key_Slash, x11(53), true);
  send(&gui->mainWindow(), QEvent::KeyRelease, Qt::Key_Slash, x11(53));
  EXPECT_EQ(keys, (std::vector<std::pair<bool, int>>{{true, 191}, {true, 191}, {false, 191}}));

  // A JIS-only key tells the keyboard's family for the keys after it.
  keys.clear();
  send(&gui->mainWindow(), QEvent::KeyPress, Qt::Key_Backslash, x11(89));
  send(&gui->mainWindow(), QEvent::KeyPress, Qt::Key_Colon, x11(40));
  EXPECT_EQ(keys, (std::vector<std::pair<bool, int>>{{true, 226}, {true, 186}}));
}

TEST_F(KeyWindowTest, ArrowKeysOnAListGoToTheWindowNotToTheList) {
  for (int i = 0; i < 3; ++i) p.main.listBox("title1", 0).addItem("song");
  p.main.listBox("title1", 0).setListIndex(0);
  settle();
  view::ListBoxView* list = canvas().listView(control("title1", 0));
  send(list, QEvent::KeyPress, Qt::Key_Down, x11(108));
  settle();
  EXPECT_EQ(keys, (std::vector<std::pair<bool, int>>{{true, 40}}));
  EXPECT_EQ(p.main.listBox("title1", 0).listIndex(), 0);
}

}  // namespace
}  // namespace vx::test
