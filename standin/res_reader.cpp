// Bounds-checked readers of .res files and dialog templates (both formats).
#include "standin/res_reader.h"

namespace standin {
namespace {

const uint32_t kDsSetFont = 0x40;

// A cursor over a byte range that refuses to move past its end.
class Reader {
 public:
  Reader(const unsigned char* bytes, size_t size) : p_(bytes), size_(size) {}

  size_t pos() const { return pos_; }
  size_t left() const { return size_ - pos_; }
  bool Seek(size_t pos) {
    if (pos > size_) return false;
    pos_ = pos;
    return true;
  }
  bool Word(uint16_t* v) {
    if (left() < 2) return false;
    *v = static_cast<uint16_t>(p_[pos_] | (p_[pos_ + 1] << 8));
    pos_ += 2;
    return true;
  }
  bool Short(int16_t* v) {
    uint16_t w;
    if (!Word(&w)) return false;
    *v = static_cast<int16_t>(w);
    return true;
  }
  bool Dword(uint32_t* v) {
    uint16_t lo, hi;
    if (left() < 4) return false;
    Word(&lo);
    Word(&hi);
    *v = lo | (static_cast<uint32_t>(hi) << 16);
    return true;
  }
  bool Byte(uint8_t* v) {
    if (left() < 1) return false;
    *v = p_[pos_++];
    return true;
  }
  bool Bytes(size_t n, std::vector<unsigned char>* out) {
    if (left() < n) return false;
    out->assign(p_ + pos_, p_ + pos_ + n);
    pos_ += n;
    return true;
  }
  // A NUL-terminated UTF-16LE text.
  bool Text(std::string* out) {
    std::u16string wide;
    for (;;) {
      uint16_t c;
      if (!Word(&c)) return false;
      if (c == 0) break;
      wide.push_back(static_cast<char16_t>(c));
    }
    *out = NarrowFromUtf16(wide);
    return true;
  }
  // 0x0000 nothing, 0xFFFF then an ordinal, else a text starting with that code unit.
  bool Id(ResId* out) {
    uint16_t first;
    size_t start = pos_;
    if (!Word(&first)) return false;
    *out = ResId();
    if (first == 0) return true;
    if (first == 0xFFFF) {
      out->kind = ResId::kOrdinal;
      return Word(&out->ordinal);
    }
    pos_ = start;
    out->kind = ResId::kName;
    return Text(&out->name);
  }
  // Moves to the next DWORD boundary, counted from the start of the range.
  bool AlignDword() { return Seek((pos_ + 3) & ~static_cast<size_t>(3)); }

 private:
  const unsigned char* p_;
  size_t size_;
  size_t pos_ = 0;
};

bool Fail(std::string* error, const std::string& why, size_t at) {
  if (error) *error = why + " at byte " + std::to_string(at);
  return false;
}

bool ReadItem(Reader& r, bool extended, DialogItem* item, std::string* error) {
  if (!r.AlignDword()) return Fail(error, "item alignment past the end", r.pos());
  size_t start = r.pos();
  bool ok;
  if (extended) {
    uint32_t id;
    ok = r.Dword(&item->helpId) && r.Dword(&item->exStyle) && r.Dword(&item->style) &&
         r.Short(&item->x) && r.Short(&item->y) && r.Short(&item->cx) && r.Short(&item->cy) &&
         r.Dword(&id);
    item->id = id;
  } else {
    uint16_t id;
    ok = r.Dword(&item->style) && r.Dword(&item->exStyle) && r.Short(&item->x) &&
         r.Short(&item->y) && r.Short(&item->cx) && r.Short(&item->cy) && r.Word(&id);
    item->id = id;
  }
  if (!ok) return Fail(error, "truncated item header", start);
  if (!r.Id(&item->windowClass)) return Fail(error, "truncated item class", start);
  if (!r.Id(&item->title)) return Fail(error, "truncated item title", start);
  uint16_t extra;
  if (!r.Word(&extra)) return Fail(error, "truncated item creation data", start);
  // The extended count is the number of bytes that follow; the classic one includes its own word.
  size_t n = extra;
  if (!extended && n != 0) {
    if (n < 2) return Fail(error, "bad creation data size", start);
    n -= 2;
  }
  if (!r.Bytes(n, &item->creationData)) return Fail(error, "truncated item creation data", start);
  return true;
}

}  // namespace

std::string NarrowFromUtf16(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out.push_back(c < 0x100 ? static_cast<char>(c) : '?');
  return out;
}

bool ParseResFile(const unsigned char* bytes, size_t size, std::vector<ResEntry>* out,
                  std::string* error) {
  out->clear();
  Reader r(bytes, size);
  bool first = true;
  while (r.left() > 0) {
    size_t start = r.pos();
    uint32_t dataSize, headerSize;
    if (!r.Dword(&dataSize) || !r.Dword(&headerSize)) {
      out->clear();
      return Fail(error, "truncated entry header", start);
    }
    if (headerSize < 8 || headerSize > r.left() + 8) {
      out->clear();
      return Fail(error, "bad header size", start);
    }
    // The header is read within its own declared size.
    Reader h(bytes + start, headerSize);
    h.Seek(8);
    ResEntry entry;
    if (!h.Id(&entry.type) || !h.Id(&entry.name) || !h.AlignDword() || !h.Dword(&entry.dataVersion) ||
        !h.Word(&entry.memoryFlags) || !h.Word(&entry.languageId) || !h.Dword(&entry.version) ||
        !h.Dword(&entry.characteristics)) {
      out->clear();
      return Fail(error, "truncated entry header", start);
    }
    r.Seek(start + headerSize);
    if (!r.Bytes(dataSize, &entry.data)) {
      out->clear();
      return Fail(error, "truncated entry data", start);
    }
    // Padding after the last entry may be missing.
    if (r.left() > 0 && !r.AlignDword()) r.Seek(size);
    // The file opens with an empty entry (no data, type and name 0).
    if (first) {
      first = false;
      if (dataSize == 0 && entry.type.kind == ResId::kOrdinal && entry.type.ordinal == 0) continue;
      out->clear();
      return Fail(error, "missing the leading empty entry", start);
    }
    out->push_back(std::move(entry));
  }
  if (first) return Fail(error, "empty file", 0);
  return true;
}

bool ParseResFile(const std::vector<unsigned char>& bytes, std::vector<ResEntry>* out,
                  std::string* error) {
  return ParseResFile(bytes.data(), bytes.size(), out, error);
}

bool ParseDialogTemplate(const unsigned char* bytes, size_t size, DialogTemplate* out,
                         std::string* error) {
  *out = DialogTemplate();
  Reader r(bytes, size);
  uint16_t w0 = 0, w1 = 0;
  if (!r.Word(&w0) || !r.Word(&w1)) return Fail(error, "truncated template header", 0);
  DialogTemplate& t = *out;
  t.extended = (w0 == 1 && w1 == 0xFFFF);
  bool ok;
  if (t.extended) {
    t.dlgVer = w0;
    t.signature = w1;
    ok = r.Dword(&t.helpId) && r.Dword(&t.exStyle) && r.Dword(&t.style);
  } else {
    t.style = w0 | (static_cast<uint32_t>(w1) << 16);
    ok = r.Dword(&t.exStyle);
  }
  ok = ok && r.Word(&t.itemCount) && r.Short(&t.x) && r.Short(&t.y) && r.Short(&t.cx) &&
       r.Short(&t.cy);
  if (!ok) return Fail(error, "truncated template header", 0);
  if (!r.Id(&t.menu)) return Fail(error, "truncated menu", r.pos());
  if (!r.Id(&t.windowClass)) return Fail(error, "truncated class", r.pos());
  if (!r.Text(&t.title)) return Fail(error, "truncated title", r.pos());
  if (t.style & kDsSetFont) {
    t.hasFont = true;
    if (!r.Word(&t.pointSize)) return Fail(error, "truncated font", r.pos());
    if (t.extended && !(r.Word(&t.weight) && r.Byte(&t.italic) && r.Byte(&t.charset)))
      return Fail(error, "truncated font", r.pos());
    if (!r.Text(&t.typeface)) return Fail(error, "truncated font name", r.pos());
  }
  // Each item takes at least 18 (classic) or 24 (extended) bytes: a count beyond what the bytes
  // can hold is refused before anything is reserved for it.
  size_t minimum = t.extended ? 24 : 18;
  if (t.itemCount > r.left() / minimum + 1) return Fail(error, "more items than bytes", r.pos());
  for (uint16_t i = 0; i < t.itemCount; ++i) {
    DialogItem item;
    if (!ReadItem(r, t.extended, &item, error)) {
      *out = DialogTemplate();
      return false;
    }
    t.items.push_back(std::move(item));
  }
  return true;
}

bool ParseDialogTemplate(const std::vector<unsigned char>& bytes, DialogTemplate* out,
                         std::string* error) {
  return ParseDialogTemplate(bytes.data(), bytes.size(), out, error);
}

}  // namespace standin
