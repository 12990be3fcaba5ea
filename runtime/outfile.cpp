// Buffered file output over CreateFileA / WriteFile: OS-independent beyond win32/api.h.
#include "runtime/outfile.h"

namespace rt {

OutFile::OutFile() : handle_(INVALID_HANDLE_VALUE), mode_(kBinary), failed_(false), used_(0) {}

OutFile::~OutFile() {
  if (IsOpen()) Close();
}

bool OutFile::Open(const char* path, Mode mode) {
  if (IsOpen()) Close();
  handle_ = CreateFileA(path, GENERIC_WRITE, 0, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
  mode_ = mode;
  failed_ = false;
  used_ = 0;
  return IsOpen();
}

bool OutFile::Flush() {
  if (used_ == 0) return !failed_;
  DWORD written = 0;
  if (!WriteFile(handle_, buffer_, static_cast<DWORD>(used_), &written, 0) || written != used_) {
    failed_ = true;
  }
  used_ = 0;
  return !failed_;
}

bool OutFile::Raw(unsigned char byte) {
  if (used_ == kBufferSize && !Flush()) return false;
  buffer_[used_++] = byte;
  return true;
}

bool OutFile::PutByte(unsigned char byte) {
  if (!IsOpen() || failed_) return false;
  if (mode_ == kText && byte == '\n' && !Raw('\r')) return false;
  return Raw(byte);
}

bool OutFile::Put(const char* bytes, usize n) {
  for (usize i = 0; i < n; ++i) {
    if (!PutByte(static_cast<unsigned char>(bytes[i]))) return false;
  }
  return true;
}

bool OutFile::Print(const char* format, const char* a) {
  if (!IsOpen()) return false;
  return ComposeTo(*this, format, &a, 1);
}

bool OutFile::Close() {
  if (!IsOpen()) return false;
  bool ok = Flush();
  if (!CloseHandle(handle_)) ok = false;
  handle_ = INVALID_HANDLE_VALUE;
  return ok;
}

}  // namespace rt
