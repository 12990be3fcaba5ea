// CString: OS-independent, over the run-time's heap blocks.
#include "framework/cstring.h"

#include "runtime/rt.h"

char CString::kEmpty[1] = {'\0'};

CString::CString() : data_(kEmpty), length_(0), capacity_(0) {}

CString::CString(const char* text) : data_(kEmpty), length_(0), capacity_(0) { *this = text; }

CString::CString(const CString& other) : data_(kEmpty), length_(0), capacity_(0) {
  Assign(other.data_, other.length_);
}

CString::~CString() { Release(); }

void CString::Release() {
  if (data_ != kEmpty) rt::Free(data_);
  data_ = kEmpty;
  length_ = 0;
  capacity_ = 0;
}

bool CString::Assign(const char* text, int length) {
  if (length <= capacity_) {
    if (length > 0) rt::MemCopy(data_, text, static_cast<rt::usize>(length));
    if (data_ != kEmpty) data_[length] = '\0';
    length_ = length;
    return true;
  }
  char* block = static_cast<char*>(rt::Alloc(static_cast<rt::usize>(length) + 1));
  if (block == 0) return false;  // out of memory: the string keeps its old text
  rt::MemCopy(block, text, static_cast<rt::usize>(length));
  block[length] = '\0';
  Release();
  data_ = block;
  length_ = length;
  capacity_ = length;
  return true;
}

CString& CString::operator=(const char* text) {
  if (text == 0) text = "";
  if (text == data_) return *this;
  Assign(text, static_cast<int>(rt::Length(text)));
  return *this;
}

CString& CString::operator=(const CString& other) {
  if (&other != this) Assign(other.data_, other.length_);
  return *this;
}

char* CString::GetBuffer(int minLength) {
  if (minLength < 0) minLength = 0;
  if (minLength <= capacity_ && data_ != kEmpty) return data_;
  char* block = static_cast<char*>(rt::Alloc(static_cast<rt::usize>(minLength) + 1));
  if (block == 0) return 0;
  rt::MemCopy(block, data_, static_cast<rt::usize>(length_) + 1);
  int length = length_;
  Release();
  data_ = block;
  length_ = length;
  capacity_ = minLength;
  return data_;
}

void CString::ReleaseBuffer(int newLength) {
  if (data_ == kEmpty) return;
  if (newLength < 0) newLength = static_cast<int>(rt::LengthBounded(data_, static_cast<rt::usize>(capacity_)));
  if (newLength > capacity_) newLength = capacity_;
  data_[newLength] = '\0';
  length_ = newLength;
}
