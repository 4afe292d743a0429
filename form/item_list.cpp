#include "form/item_list.h"

#include <cstring>
#include <stdexcept>

namespace vx::form {

ItemList::ItemList(std::initializer_list<std::string_view> items) {
  for (auto item : items) push_back(item);
}

ItemList::ItemList(const std::vector<std::string>& items) {
  size_t bytes = 0;
  for (const auto& item : items) bytes += item.size();
  reserve(items.size(), bytes);
  for (const auto& item : items) push_back(item);
}

ItemList::ItemList(std::shared_ptr<const std::string> text, std::vector<Span> spans)
    : text_(std::move(text)), spans_(spans.begin(), spans.end()) {
  const size_t size = text_ ? text_->size() : 0;
  for (const Span& s : spans_)
    if (size_t{s.at} + s.size > size) throw std::out_of_range("entry outside the list's text");
}

std::optional<ItemList> ItemList::lines(std::shared_ptr<const std::string> text, basic::LineSplitter& in, size_t n) {
  const std::string_view part = in.text();
  if (!text || part.data() < text->data() || part.data() + part.size() > text->data() + text->size())
    throw std::invalid_argument("lines of another text");
  ItemList list;
  list.spans_.resize(n);
  if (in.nextSpans(list.spans_.data(), n) != n) return std::nullopt;
  // The splitter counts from the start of its part; spans count from the start of the text.
  if (const auto offset = static_cast<size_t>(part.data() - text->data()); offset != 0) {
    if (offset + part.size() > UINT32_MAX) return std::nullopt;
    for (Span& s : list.spans_) s.at += static_cast<uint32_t>(offset);
  }
  list.text_ = std::move(text);
  return list;
}

// Copies the live entries, in order, into a new buffer of our own.
void ItemList::pack() {
  auto packed = std::make_shared<std::string>();
  size_t bytes = 0;
  for (const Span& s : spans_) bytes += s.size;
  packed->reserve(bytes);
  const char* from = data();
  for (Span& s : spans_) {
    const auto at = static_cast<uint32_t>(packed->size());
    packed->append(from + s.at, s.size);
    s.at = at;
  }
  text_ = std::move(packed);
  own_ = true;
  unused_ = 0;
}

std::string& ItemList::ownText() {
  if (!text_ || !own_ || text_.use_count() > 1) pack();
  // Made by pack() as a non-const string; only this list holds it now.
  return const_cast<std::string&>(*text_);
}

void ItemList::reserve(size_t items, size_t bytes) {
  spans_.reserve(spans_.size() + items);
  std::string& text = ownText();
  text.reserve(text.size() + bytes);
}

// Appends the text. An item that points into the buffer is copied out first: the buffer may
// move as it grows, or be packed anew.
ItemList::Span ItemList::store(std::string_view item) {
  if (text_ && item.data() >= text_->data() && item.data() < text_->data() + text_->size()) {
    const std::string copy(item);
    return store(copy);
  }
  std::string& text = ownText();
  if (text.size() + item.size() > UINT32_MAX) throw std::length_error("list text too long");
  const Span s{static_cast<uint32_t>(text.size()), static_cast<uint32_t>(item.size())};
  text.append(item);
  return s;
}

// Forgets bytes no entry refers to any more; once they are most of an own buffer, the live
// entries are packed together again, so editing a list for hours does not grow it without end.
void ItemList::dropText(size_t bytes) {
  unused_ += bytes;
  if (own_ && unused_ >= 4096 && unused_ * 2 >= text_->size()) pack();
}

void ItemList::push_back(std::string_view item) { spans_.push_back(store(item)); }

void ItemList::assign(size_t n, std::string_view item) {
  const std::string copy(item);
  clear();
  reserve(n, n * copy.size());
  for (size_t i = 0; i < n; ++i) push_back(copy);
}

void ItemList::append(const ItemList& more) {
  if (this == &more) {
    const ItemList copy = more;
    append(copy);
    return;
  }
  size_t bytes = 0;
  for (auto item : more) bytes += item.size();
  reserve(more.size(), bytes);
  for (auto item : more) push_back(item);
}

void ItemList::insert(size_t i, std::string_view item) {
  const Span s = store(item);
  spans_.insert(spans_.begin() + static_cast<std::ptrdiff_t>(i), s);
}

void ItemList::erase(size_t i) {
  const Span gone = spans_[i];
  spans_.erase(spans_.begin() + static_cast<std::ptrdiff_t>(i));
  dropText(gone.size);
}

void ItemList::set(size_t i, std::string_view item) {
  const Span s = store(item);
  const uint32_t old = spans_[i].size;
  spans_[i] = s;
  dropText(old);
}

void ItemList::clear() {
  text_.reset();
  own_ = false;
  unused_ = 0;
  spans_.clear();
}

std::vector<std::string> ItemList::strings() const {
  std::vector<std::string> all;
  all.reserve(size());
  for (auto item : *this) all.emplace_back(item);
  return all;
}

bool operator==(const ItemList& a, const ItemList& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}

}  // namespace vx::form
