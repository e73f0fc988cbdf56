// A growable array of plain values kept in one realloc'ed block. Large
// blocks grow by remapping their pages rather than copying them, and no
// element is written before it is appended: for lists of tens of millions of
// entries that are filled once and read once.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

namespace textops {

template <class T>
struct PodArray {
  static_assert(std::is_trivially_copyable<T>::value, "plain values only");
  T* data = nullptr;
  size_t size = 0;
  size_t capacity = 0;

  PodArray() = default;
  PodArray(const PodArray&) = delete;
  PodArray& operator=(const PodArray&) = delete;
  PodArray(PodArray&& other) noexcept
      : data(other.data), size(other.size), capacity(other.capacity) {
    other.data = nullptr;
    other.size = other.capacity = 0;
  }
  ~PodArray() { std::free(data); }

  const T* begin() const { return data; }
  const T* end() const { return data + size; }
  T* begin() { return data; }
  T* end() { return data + size; }
  const T& operator[](size_t i) const { return data[i]; }
  T& operator[](size_t i) { return data[i]; }
  bool empty() const { return size == 0; }
};

// Room for at least `more` further elements; throws std::bad_alloc when the
// memory cannot be had.
template <class T>
void reserveMore(PodArray<T>& a, size_t more) {
  if (a.capacity - a.size >= more) return;
  const size_t limit = SIZE_MAX / sizeof(T) / 2;
  if (more > limit || a.size > limit - more) throw std::bad_alloc();
  size_t capacity = a.capacity < 64 ? 64 : a.capacity > limit ? a.capacity : a.capacity * 2;
  if (capacity < a.size + more) capacity = a.size + more;
  void* p = std::realloc(a.data, capacity * sizeof(T));
  if (!p) throw std::bad_alloc();
  a.data = static_cast<T*>(p);
  a.capacity = capacity;
}

template <class T>
inline void pushBack(PodArray<T>& a, const T& value) {
  if (a.size == a.capacity) reserveMore(a, 1);
  a.data[a.size++] = value;
}

// Appends n values; the caller fills [result, result + n).
template <class T>
inline T* extend(PodArray<T>& a, size_t n) {
  reserveMore(a, n);
  T* at = a.data + a.size;
  a.size += n;
  return at;
}

}  // namespace textops
