#include "platform/cp932.h"

#include <iconv.h>

#include <QList>

#include <cerrno>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace platform {
namespace {

// One converter per direction and thread; glibc's "SHIFT_JIS" maps 0x5C to
// the yen sign and lacks the NEC row, "CP932" does neither.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(cd_); }
  iconv_t get() {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    return cd_;
  }

 private:
  iconv_t cd_;
};

std::u32string DecodeWith(Converter& conv, std::string_view bytes) {
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

std::u32string Decode(std::string_view bytes) {
  thread_local Converter conv("UTF-32LE", "CP932");
  return DecodeWith(conv, bytes);
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

// The characters where code page 932 and JIS X 0208 part in Unicode, as
// iconv decodes the one and encodes the other.
constexpr std::pair<char32_t, char32_t> kJisForms[] = {
    {0xFF5E, 0x301C}, {0x2225, 0x2016}, {0xFF0D, 0x2212}, {0xFFE0, 0x00A2}, {0xFFE1, 0x00A3}, {0xFFE2, 0x00AC},
};

bool HalfWidthKatakana(char32_t c) { return c >= 0xFF61 && c <= 0xFF9F; }

// What ISO-2022-JP can hold of the text: full-width katakana (a sound mark
// joins the kana before it) and the JIS forms of the parting characters.
std::u32string ToJisRepertoire(const std::u32string& text) {
  std::u32string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (HalfWidthKatakana(text[i])) {
      size_t end = i;
      while (end < text.size() && HalfWidthKatakana(text[end])) ++end;
      const QString run = QString::fromUcs4(text.data() + i, static_cast<qsizetype>(end - i));
      for (uint c : run.normalized(QString::NormalizationForm_KC).toUcs4()) {
        // A sound mark left alone is the spacing one.
        out.push_back(c == 0x3099 ? 0x309B : c == 0x309A ? 0x309C : c);
      }
      i = end;
      continue;
    }
    char32_t c = text[i++];
    for (const auto& [from, to] : kJisForms) {
      if (c == from) c = to;
    }
    out.push_back(c);
  }
  return out;
}

// Feeds count characters through cd; false when it stopped at one the
// target cannot hold (p then points at it).
bool Feed(iconv_t cd, const char32_t*& p, size_t& count, std::string& out) {
  char* in = reinterpret_cast<char*>(const_cast<char32_t*>(p));
  size_t inLeft = count * sizeof(char32_t);
  bool ok = true;
  while (inLeft > 0) {
    char chunk[256];
    char* outPtr = chunk;
    size_t outLeft = sizeof chunk;
    const size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(chunk, sizeof chunk - outLeft);
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      ok = false;
      break;
    }
  }
  p = reinterpret_cast<const char32_t*>(in);
  count = inLeft / sizeof(char32_t);
  return ok;
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

std::string Cp932ToIso2022Jp(std::string_view cp932) {
  thread_local Converter conv("ISO-2022-JP", "UTF-32LE");
  iconv_t cd = conv.get();
  const std::u32string text = ToJisRepertoire(Decode(cp932));
  std::string out;
  const char32_t* p = text.data();
  size_t count = text.size();
  while (!Feed(cd, p, count, out)) {
    // iconv stops at the character: the geta mark in its place.
    static const char32_t kGeta = 0x3013;
    const char32_t* geta = &kGeta;
    size_t one = 1;
    Feed(cd, geta, one, out);
    ++p;
    --count;
  }
  // Back to ASCII at the end.
  char tail[8];
  char* outPtr = tail;
  size_t outLeft = sizeof tail;
  iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  out.append(tail, sizeof tail - outLeft);
  return out;
}

std::string Iso2022JpToUtf8(std::string_view bytes) {
  thread_local Converter conv("UTF-32LE", "ISO-2022-JP");
  const std::u32string u = DecodeWith(conv, bytes);
  return QString::fromUcs4(u.data(), static_cast<qsizetype>(u.size())).toUtf8().toStdString();
}

}  // namespace platform
