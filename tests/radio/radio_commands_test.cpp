// The bytes each receiver family is sent.
#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cstdlib>

#include "radio/receiver_commands.h"
#include "support/test_support.h"

namespace {

std::string Hex(const Bytes& bytes) {
  static const char* const kDigits = "0123456789ABCDEF";
  std::string text;
  for (uint8_t b : bytes) {
    if (!text.empty()) text += ' ';
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The steps of a plan: binary families in hex, the others as text, each
// with its pause when it has one.
std::vector<std::string> Steps(RadioType type, int32_t kHz, const std::string& address = "FF") {
  std::vector<std::string> steps;
  for (const TuningStep& s : BuildTuningPlan(type, kHz, address).steps) {
    const bool binary = type == RadioType::Icom || type == RadioType::Yaesu;
    steps.push_back((binary ? Hex(s.bytes) : Text(s.bytes)) +
                    (s.pauseAfterMs ? " +" + std::to_string(s.pauseAfterMs) + "ms" : ""));
  }
  return steps;
}

TEST(RadioCommands, EachFamilyTunesTheKnownFrames) {
  struct Case {
    int32_t kHz;
    const char* address;
    const char* icom;
    const char* yaesu;
    const char* kenwood;
    const char* alinco;
    const char* aor;
  };
  const Case cases[] = {
      {8942, "FF", "FE FE FF E0 05 00 20 94 08 00 FD", "00 89 42 00 01", "FA00008942000;", "AL~RW_RXF08942000",
       "RF8.942"},
      {21997, "94", "FE FE 94 E0 05 00 70 99 21 00 FD", "02 19 97 00 01", "FA00021997000;", "AL~RW_RXF21997000",
       "RF21.997"},
      {10081, "FF", "FE FE FF E0 05 00 10 08 10 00 FD", "01 00 81 00 01", "FA00010081000;", "AL~RW_RXF10081000",
       "RF10.081"},
      {5000, "FF", "FE FE FF E0 05 00 00 00 05 00 FD", "00 50 00 00 01", "FA00005000000;", "AL~RW_RXF05000000", "RF5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kHz);
    const std::string mode = std::string("FE FE ") + c.address + " E0 06 01 FD";
    EXPECT_EQ(Steps(RadioType::Icom, c.kHz, c.address), (std::vector<std::string>{c.icom, mode}));
    EXPECT_EQ(Steps(RadioType::Yaesu, c.kHz),
              (std::vector<std::string>{"00 00 00 00 00", c.yaesu, "01 00 00 00 07", "00 00 00 00 80"}));
    EXPECT_EQ(Steps(RadioType::Aor, c.kHz), (std::vector<std::string>{std::string(c.aor) + "\r\n", "MD3\r\n"}));
    EXPECT_EQ(Steps(RadioType::Kenwood, c.kHz), (std::vector<std::string>{c.kenwood, "MD2;"}));
    EXPECT_EQ(
        Steps(RadioType::Alinco, c.kHz),
        (std::vector<std::string>{"AL~RW_RFM00\r\n +100ms", "AL~RW_AGC00\r\n +100ms", std::string(c.alinco) + "\r\n"}));
    EXPECT_EQ(BuildTuningPlan(RadioType::Alinco, c.kHz, "FF").caption, std::string(c.alinco).substr(9));
  }
}

// Hz from kHz x 0.001 x 1000000 in floating point came out 1 Hz short.
TEST(RadioCommands, WholeKilohertzKeepEveryHertz) {
  EXPECT_EQ(Steps(RadioType::Yaesu, 2002)[1], "00 20 02 00 01");
  EXPECT_EQ(Steps(RadioType::Kenwood, 2002)[0], "FA00002002000;");
  EXPECT_EQ(Steps(RadioType::Alinco, 2002)[2], "AL~RW_RXF02002000\r\n");
}

TEST(RadioCommands, MhzTextIsTheShortestDecimalInEveryLocale) {
  for (int32_t kHz = 1; kHz < 30000; ++kHz) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, kHz * 0.001, std::chars_format::general, 15).ptr;
    ASSERT_EQ(MhzText(kHz), std::string(text, end)) << kHz;
  }
  const std::vector<std::string> before = Steps(RadioType::Icom, 8942);
  const std::vector<std::string> aor = Steps(RadioType::Aor, 8942);
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  auto setComma = [] {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
      if (std::setlocale(LC_NUMERIC, name) && *std::localeconv()->decimal_point == ',') return true;
    }
    return false;
  };
  // Without one installed, build one where the system has the sources.
  testing_support::TempDir locales;
  bool comma = setComma();
  if (!comma &&
      std::system(("localedef -i de_DE -f UTF-8 '" + locales.File("de_DE.UTF-8") + "' 2>/dev/null").c_str()) == 0) {
    setenv("LOCPATH", locales.path().c_str(), 1);
    comma = setComma();
  }
  if (comma) {
    EXPECT_EQ(Steps(RadioType::Icom, 8942), before);
    EXPECT_EQ(Steps(RadioType::Aor, 8942), aor);
  }
  std::setlocale(LC_NUMERIC, saved.c_str());
  unsetenv("LOCPATH");
  if (!comma) GTEST_SKIP() << "no locale with a decimal comma";
}

TEST(RadioCommands, AddressesAndTargetsOutOfTheField) {
  EXPECT_EQ(IcomAddress("94"), 0x94);
  EXPECT_EQ(IcomAddress("5"), 0x05);
  EXPECT_EQ(IcomAddress(""), 0xFF);
  EXPECT_EQ(IcomAddress("g1"), 0xFF);
  EXPECT_EQ(IcomAddress("a0"), 0xA0);
  // Too many digits for ICOM: the mode frame still goes.
  EXPECT_EQ(Steps(RadioType::Icom, 2500000), (std::vector<std::string>{"FE FE FF E0 06 01 FD"}));
  EXPECT_EQ(Steps(RadioType::Kenwood, -5), (std::vector<std::string>{"MD2;"}));
  EXPECT_TRUE(BuildTuningPlan(RadioType::Alinco, 100000, "FF").caption.empty());
  const int stopBits[] = {2, 2, 2, 1, 1};
  for (int type = 0; type < 5; ++type) {
    EXPECT_EQ(BuildTuningPlan(static_cast<RadioType>(type), 8942, "FF").stopBits, stopBits[type]) << type;
  }
  const TuningPlan unknown = BuildTuningPlan(static_cast<RadioType>(7), 8942, "FF");
  EXPECT_EQ(unknown.stopBits, 2);
  EXPECT_TRUE(unknown.steps.empty());
}

}  // namespace
