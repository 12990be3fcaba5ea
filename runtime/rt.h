// Run-time services of our own, the same on every build: memory, bounded texts, %s composition, heap.
// No C or C++ standard library may be used here or by anything that includes this file.
#ifndef RUNTIME_RT_H
#define RUNTIME_RT_H

namespace rt {

typedef __SIZE_TYPE__ usize;

// Memory
void MemCopy(void* dst, const void* src, usize n);
void MemFill(void* dst, int value, usize n);

// Texts (NUL-terminated narrow strings)
usize Length(const char* s);
// Length of s, but looks at no more than max bytes.
usize LengthBounded(const char* s, usize max);
// Copies src into dst of dstSize bytes. When it does not fit, dst becomes "" and the result is false.
bool Copy(char* dst, usize dstSize, const char* src);
// Copies at most srcLen bytes of src, stopping early at a NUL; same rule when it does not fit.
bool CopyBounded(char* dst, usize dstSize, const char* src, usize srcLen);
bool Equal(const char* a, const char* b);
// True when needle occurs in hay (exact bytes, case-sensitive).
bool Contains(const char* hay, const char* needle);

// Composition from a format in which %s stands for the next text argument and %% for a percent sign;
// any other character, a lone % included, is copied as it stands. The result is written into out
// (size bytes, NUL included). When it does not fit, or when the format asks for more arguments than
// given, out becomes "" and the result is false: a cut text is never left behind.
bool ComposeN(char* out, usize size, const char* format, const char* const* args, int count);
inline bool Compose(char* out, usize size, const char* format, const char* a) {
  return ComposeN(out, size, format, &a, 1);
}
inline bool Compose(char* out, usize size, const char* format, const char* a, const char* b) {
  const char* args[2] = {a, b};
  return ComposeN(out, size, format, args, 2);
}

// Receives the pieces of a composition one run of bytes at a time.
class Sink {
 public:
  // Called for each run of output bytes, in order; returns false to stop the composition.
  virtual bool Put(const char* bytes, usize n) = 0;

 protected:
  ~Sink() {}
};
// Streams the composition into sink; false when the sink stopped or an argument was missing.
bool ComposeTo(Sink& sink, const char* format, const char* const* args, int count);

// Heap blocks of the process heap. Alloc returns 0 when no memory is left.
void* Alloc(usize bytes);
void Free(void* block);

// Functions to run at a normal exit, last registered first.
class ExitList {
 public:
  enum { kCapacity = 32 };
  // Registers fn; false when the list is full.
  bool Add(void (*fn)());
  // Runs and removes every registered function, last registered first.
  void RunAll();

 private:
  void (*fns_[kCapacity])();
  int count_;
};

// Ends the process the normal way: registered exit functions and static destructors in reverse order
// of registration, then the exit code. Does not return.
[[noreturn]] void NormalExit(int code);

}  // namespace rt

#endif  // RUNTIME_RT_H
