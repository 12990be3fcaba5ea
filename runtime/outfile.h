// Buffered file output in text mode (a line feed is written as CR LF) or binary mode, over CreateFileA.
#ifndef RUNTIME_OUTFILE_H
#define RUNTIME_OUTFILE_H

#include "runtime/rt.h"
#include "win32/api.h"

namespace rt {

class OutFile : public Sink {
 public:
  enum Mode { kText, kBinary };

  OutFile();
  // Closes the file if it is still open.
  ~OutFile();

  // Creates the file at path, or truncates an existing one. False when it cannot be created.
  bool Open(const char* path, Mode mode);
  // Queues bytes for writing; in text mode each line feed becomes CR LF.
  bool Put(const char* bytes, usize n) override;
  bool PutByte(unsigned char byte);
  // Writes the composition of format with its %s arguments.
  bool Print(const char* format, const char* a);
  // Writes what is buffered and closes the file; false if any write failed or it was never open.
  bool Close();
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  bool Flush();
  bool Raw(unsigned char byte);

  enum { kBufferSize = 512 };
  HANDLE handle_;
  Mode mode_;
  bool failed_;
  usize used_;
  unsigned char buffer_[kBufferSize];

  OutFile(const OutFile&);
  OutFile& operator=(const OutFile&);
};

}  // namespace rt

#endif  // RUNTIME_OUTFILE_H
