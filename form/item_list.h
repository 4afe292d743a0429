#pragma once
// A list box's entries kept compact: their texts in one buffer, an (offset, length) pair each.
// A deck's song list is seven lists of up to 32,767 entries; as separate strings that was close
// to half a million allocations to read the settings file and again to copy a list for display.
// Lists read from one file share that file's text until one of them changes (it then packs its
// own entries into a buffer of its own), and a copy of a list shares its buffer likewise.
// Not for use from more than one thread at a time.
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "basic/textfile.h"

namespace vx::form {

class ItemList {
 public:
  // Where an entry's text starts in the buffer, and its length: a line of a file read whole is
  // an entry as it stands.
  using Span = basic::LineSpan;

  ItemList() = default;
  ItemList(std::initializer_list<std::string_view> items);
  ItemList(const std::vector<std::string>& items);  // NOLINT: a list of strings is a list of entries
  // Entries that are pieces of one shared text, such as the lines of a file read whole. Every
  // span must lie within the text (std::out_of_range otherwise); the text is never changed.
  ItemList(std::shared_ptr<const std::string> text, std::vector<Span> spans);
  // The next n lines `in` gives, which must split `text` or a part of it; nullopt when fewer
  // are left (where `in` then stands is unspecified). The lines are taken where they stand:
  // the settings file's lists, close to half a million lines, are read this way.
  static std::optional<ItemList> lines(std::shared_ptr<const std::string> text, basic::LineSplitter& in, size_t n);

  size_t size() const { return spans_.size(); }
  bool empty() const { return spans_.empty(); }
  // Valid until the list next changes.
  std::string_view operator[](size_t i) const { return {data() + spans_[i].at, spans_[i].size}; }

  // Room for `items` more entries holding `bytes` more text.
  void reserve(size_t items, size_t bytes);
  void push_back(std::string_view item);
  // n copies of one item in place of the whole list.
  void assign(size_t n, std::string_view item);
  void append(const ItemList& more);
  // Each requires i within the list (i == size() for insert).
  void insert(size_t i, std::string_view item);
  void erase(size_t i);
  void set(size_t i, std::string_view item);
  void swap(size_t i, size_t j) { std::swap(spans_[i], spans_[j]); }
  void clear();

  std::vector<std::string> strings() const;
  friend bool operator==(const ItemList& a, const ItemList& b);

  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;
    const_iterator() = default;
    const_iterator(const ItemList* list, size_t i) : list_(list), i_(i) {}
    std::string_view operator*() const { return (*list_)[i_]; }
    const_iterator& operator++() { ++i_; return *this; }
    const_iterator operator++(int) { auto before = *this; ++i_; return before; }
    bool operator==(const const_iterator& o) const { return i_ == o.i_; }
   private:
    const ItemList* list_ = nullptr;
    size_t i_ = 0;
  };
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, spans_.size()}; }

 private:
  const char* data() const { return text_ ? text_->data() : ""; }
  // The buffer, ours alone, ready to grow. Packs the live entries when it was shared.
  std::string& ownText();
  void pack();
  Span store(std::string_view item);
  void dropText(size_t bytes);

  std::shared_ptr<const std::string> text_;
  bool own_ = false;     // text_ was made by this list (it may still be shared by its copies)
  size_t unused_ = 0;    // bytes of an own text no entry refers to any more
  // Grows without writing the new entries first: lines split from a file are written once,
  // straight into place.
  template <class T>
  struct UnsetAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
      using other = UnsetAllocator<U>;
    };
    UnsetAllocator() = default;
    template <class U>
    UnsetAllocator(const UnsetAllocator<U>&) noexcept {}  // NOLINT: allocators convert implicitly
    template <class U>
    void construct(U* p) noexcept {
      ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
      ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
  };

  std::vector<Span, UnsetAllocator<Span>> spans_;
};

}  // namespace vx::form
