// Composition of texts from formats with %s: OS-independent.
#include "runtime/rt.h"

namespace rt {

bool ComposeTo(Sink& sink, const char* format, const char* const* args, int count) {
  int next = 0;
  const char* run = format;  // start of the literal bytes not yet handed to the sink
  const char* p = format;
  while (*p != '\0') {
    if (p[0] == '%' && (p[1] == 's' || p[1] == '%')) {
      if (p > run && !sink.Put(run, static_cast<usize>(p - run))) return false;
      if (p[1] == '%') {
        if (!sink.Put("%", 1)) return false;
      } else {
        if (next >= count) return false;
        const char* arg = args[next++];
        if (arg == 0) arg = "";
        usize n = Length(arg);
        if (n > 0 && !sink.Put(arg, n)) return false;
      }
      p += 2;
      run = p;
    } else {
      ++p;
    }
  }
  if (p > run && !sink.Put(run, static_cast<usize>(p - run))) return false;
  return true;
}

namespace {

// Writes into a fixed buffer and refuses what does not fit (one byte is kept for the NUL).
class BufferSink : public Sink {
 public:
  BufferSink(char* out, usize size) : out_(out), size_(size), used_(0) {}
  bool Put(const char* bytes, usize n) override {
    if (n >= size_ - used_) return false;
    MemCopy(out_ + used_, bytes, n);
    used_ += n;
    return true;
  }
  usize used() const { return used_; }

 private:
  char* out_;
  usize size_;
  usize used_;
};

}  // namespace

bool ComposeN(char* out, usize size, const char* format, const char* const* args, int count) {
  if (size == 0) return false;
  BufferSink sink(out, size);
  if (!ComposeTo(sink, format, args, count)) {
    out[0] = '\0';
    return false;
  }
  out[sink.used()] = '\0';
  return true;
}

}  // namespace rt
