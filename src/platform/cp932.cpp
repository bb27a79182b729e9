#include "platform/cp932.h"

#include <iconv.h>

#include <QList>

#include <cerrno>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace platform {
namespace {

// One converter per direction and thread; glibc's "SHIFT_JIS" maps 0x5C to
// the yen sign and lacks the NEC row, "CP932" does neither.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv CP932 is not available");
  }
  ~Converter() { iconv_close(cd_); }
  iconv_t get() {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    return cd_;
  }

 private:
  iconv_t cd_;
};

std::u32string Decode(std::string_view bytes) {
  thread_local Converter conv("UTF-32LE", "CP932");
  iconv_t cd = conv.get();
  std::u32string out;
  out.reserve(bytes.size());
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char32_t chunk[256];
    char* outPtr = reinterpret_cast<char*>(chunk);
    size_t outLeft = sizeof chunk;
    size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(chunk, (sizeof chunk - outLeft) / sizeof(char32_t));
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: carry on after the bad byte.
      out.push_back(U'\uFFFD');
      ++in;
      --inLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

std::string Encode(const std::u32string& text) {
  thread_local Converter conv("CP932", "UTF-32LE");
  iconv_t cd = conv.get();
  std::string out;
  out.reserve(text.size() * 2);
  char* in = reinterpret_cast<char*>(const_cast<char32_t*>(text.data()));
  size_t inLeft = text.size() * sizeof(char32_t);
  while (inLeft > 0) {
    char chunk[512];
    char* outPtr = chunk;
    size_t outLeft = sizeof chunk;
    size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(chunk, sizeof chunk - outLeft);
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      out.push_back('?');
      in += sizeof(char32_t);
      inLeft -= sizeof(char32_t);
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

}  // namespace

QString Cp932ToQString(std::string_view bytes) {
  std::u32string u = Decode(bytes);
  return QString::fromUcs4(u.data(), static_cast<qsizetype>(u.size()));
}

std::string QStringToCp932(const QString& text) {
  QList<uint> ucs = text.toUcs4();
  std::u32string u(ucs.begin(), ucs.end());
  return Encode(u);
}

std::string Cp932ToUtf8(std::string_view bytes) { return Cp932ToQString(bytes).toUtf8().toStdString(); }

std::string Utf8ToCp932(std::string_view utf8) {
  return QStringToCp932(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

}  // namespace platform
