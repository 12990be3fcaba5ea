// CString: the class library's small narrow string, heap-backed, always NUL-terminated.
#ifndef FRAMEWORK_CSTRING_H
#define FRAMEWORK_CSTRING_H

class CString {
 public:
  CString();
  CString(const char* text);
  CString(const CString& other);
  ~CString();

  CString& operator=(const char* text);
  CString& operator=(const CString& other);

  operator const char*() const { return data_; }
  int GetLength() const { return length_; }
  bool IsEmpty() const { return length_ == 0; }

  // Makes room for at least minLength characters and returns the buffer to write them into.
  // Returns 0 when no memory is left; the string is then unchanged.
  char* GetBuffer(int minLength);
  // Ends a GetBuffer: the new length is newLength, or the text's own length when it is -1.
  void ReleaseBuffer(int newLength = -1);

 private:
  bool Assign(const char* text, int length);
  void Release();

  char* data_;    // points at kEmpty while nothing is allocated
  int length_;
  int capacity_;  // characters that fit without the NUL; 0 for kEmpty
  static char kEmpty[1];
};

#endif  // FRAMEWORK_CSTRING_H
