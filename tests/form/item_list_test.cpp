#include "form/item_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace vx::form {
namespace {

using Strings = std::vector<std::string>;

// The list checked against a vector of strings put through the same edits.
TEST(ItemList, RandomEditsMatchAPlainVectorOfStrings) {
  std::mt19937 rng(7);
  ItemList list;
  Strings plain;
  const auto randomText = [&rng] {
    return std::string(rng() % 40, static_cast<char>('a' + rng() % 26));
  };
  for (int step = 0; step < 20000; ++step) {
    const size_t at = plain.empty() ? 0 : rng() % plain.size();
    switch (plain.empty() ? 0 : rng() % 5) {
      case 0: {
        const std::string t = randomText();
        list.insert(at, t);
        plain.insert(plain.begin() + static_cast<long>(at), t);
        break;
      }
      case 1:
        list.erase(at);
        plain.erase(plain.begin() + static_cast<long>(at));
        break;
      case 2: {
        const std::string t = randomText();
        list.set(at, t);
        plain[at] = t;
        break;
      }
      case 3: {
        const size_t other = rng() % plain.size();
        list.swap(at, other);
        std::swap(plain[at], plain[other]);
        break;
      }
      default: {
        const std::string t = randomText();
        list.push_back(t);
        plain.push_back(t);
      }
    }
  }
  EXPECT_EQ(list.strings(), plain);
}

// An entry written from another entry of the same list: the buffer may move or be packed
// while the text is being copied.
TEST(ItemList, EntriesCopiedWithinTheListSurviveTheBufferGrowing) {
  ItemList list{"first entry", "second"};
  for (int i = 0; i < 2000; ++i) list.push_back(list[0]);
  list.set(1, list[0]);
  list.insert(0, list[1]);
  list.append(list);
  EXPECT_EQ(list.size(), 4006u);
  for (auto item : list) EXPECT_EQ(item, "first entry");
}

TEST(ItemList, CopiesAndListsFromOneTextChangeIndependently) {
  const auto text = std::make_shared<const std::string>("alpha\r\nbeta\r\ngamma\r\n");
  ItemList a(text, {{0, 5}, {7, 4}});
  ItemList b(text, {{13, 5}});
  ItemList copy = a;
  a.set(0, "changed");
  b.push_back("delta");
  copy.erase(1);
  EXPECT_EQ(a, (ItemList{"changed", "beta"}));
  EXPECT_EQ(b, (ItemList{"gamma", "delta"}));
  EXPECT_EQ(copy, (ItemList{"alpha"}));
  EXPECT_EQ(*text, "alpha\r\nbeta\r\ngamma\r\n");
  EXPECT_THROW(ItemList(text, {{18, 5}}), std::out_of_range);
  EXPECT_THROW(ItemList(text, {{0, 3}, {0xFFFFFFF0u, 0x20}}), std::out_of_range);  // its end wraps round
}

}  // namespace
}  // namespace vx::form
