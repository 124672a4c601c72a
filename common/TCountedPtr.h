// The program's shared-ownership pointer. Unlike std::shared_ptr it carries an owns flag that
// holders share and may clear (a purge that already destroyed the object), and its count can be
// read, because callers decide by "held by exactly one or two".
#pragma once
#include <cstdint>
#include <type_traits>
#include <utility>

template <class T>
concept ComObject = requires(T* p) {
  p->AddRef();
  p->Release();
};

// How the last holder disposes of an object: COM objects are released, everything else deleted.
template <class T>
void DisposeCounted(void* p) {
  if constexpr (ComObject<T>)
    static_cast<T*>(p)->Release();
  else
    delete static_cast<T*>(p);
}

struct TCountedBlock {
  bool owns;
  int32_t count;
  void (*dispose)(void*);
  void* original;  // as created, so a pointer to a base still disposes of the whole object
};

template <class T>
class TCountedPtr {
 public:
  TCountedPtr() : block_(new TCountedBlock{false, 1, nullptr, nullptr}), object_(nullptr) {}
  explicit TCountedPtr(T* object, void (*dispose)(void*) = &DisposeCounted<T>)
      : block_(new TCountedBlock{object != nullptr, 1, dispose, object}), object_(object) {}
  TCountedPtr(const TCountedPtr& other) : block_(other.block_), object_(other.object_) {
    ++block_->count;
  }
  template <class U>
    requires std::is_convertible_v<U*, T*>
  TCountedPtr(const TCountedPtr<U>& other) : block_(other.block_), object_(other.object_) {
    ++block_->count;
  }
  TCountedPtr& operator=(const TCountedPtr& other) {
    if (block_ != other.block_) {
      ++other.block_->count;
      Replace(other.block_, other.object_);
    }
    return *this;
  }
  ~TCountedPtr() { Drop(block_); }

  // Releases this holder's share and becomes an empty pointer of its own.
  void Reset() { Replace(new TCountedBlock{false, 1, nullptr, nullptr}, nullptr); }
  void Reset(T* object) {
    Replace(new TCountedBlock{object != nullptr, 1, &DisposeCounted<T>, object}, object);
  }

  T* Get() const { return object_; }
  T* operator->() const { return object_; }
  T& operator*() const { return *object_; }
  explicit operator bool() const { return object_ != nullptr; }

  int32_t GetCount() const { return block_->count; }
  bool Owns() const { return block_->owns; }
  // Clearing it makes the last release leave the object alone.
  void SetOwns(bool owns) const { block_->owns = owns; }
  bool SharesWith(const TCountedPtr& other) const { return block_ == other.block_; }

  void Swap(TCountedPtr& other) {
    std::swap(block_, other.block_);
    std::swap(object_, other.object_);
  }

 private:
  template <class U>
  friend class TCountedPtr;

  void Replace(TCountedBlock* block, T* object) {
    TCountedBlock* old = block_;
    block_ = block;
    object_ = object;
    Drop(old);
  }
  static void Drop(TCountedBlock* block) {
    if (--block->count > 0) return;
    if (block->owns && block->original && block->dispose) block->dispose(block->original);
    delete block;
  }

  TCountedBlock* block_;
  T* object_;
};

template <class T, class... Args>
TCountedPtr<T> MakeCounted(Args&&... args) {
  return TCountedPtr<T>(new T(std::forward<Args>(args)...));
}
