// Random bytes through the alerts' readers and encoders, random texts and
// strings through both searches. Nothing may fault, read outside its input
// or write outside its folder. Built and run under the sanitizers.
#include <gtest/gtest.h>

#include "acars/message_search.h"
#include "aircraft/hit_mail.h"
#include "aircraft/smtp_dialogue.h"
#include "aircraft/watch_list.h"
#include "platform/cp932.h"
#include "platform/file_io.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

using testing_support::WriteFile;

// xorshift64*; the bytes lean towards those the parsers look at.
class Random {
 public:
  int Pick(int n) { return static_cast<int>((Next() >> 33) % static_cast<uint64_t>(n)); }
  uint64_t Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 2685821657736338717ULL;
  }
  std::string Bytes(int length) {
    static const char kFavoured[] = "\r\n,*-.\x1B$B(J\x0E\x0F 250AB\x81\x82\xFF";
    std::string s;
    for (int i = 0; i < length; ++i) {
      s += Pick(2) ? kFavoured[Pick(sizeof kFavoured - 1)] : static_cast<char>(Pick(256));
    }
    return s;
  }

 private:
  uint64_t state_ = 20240501;
};

TEST(AlertsFuzz, ReadersOfTheListFiles) {
  Random r;
  testing_support::TempDir dir;
  const std::string path = dir.File("list");
  for (int i = 0; i < 300; ++i) {
    WriteFile(path, r.Bytes(r.Pick(400)));
    WatchList w;
    LoadSearchList(w, path);
    for (const SearchListRow& row : w.Rows) EXPECT_TRUE(row.Search.size() <= 8 && row.Remarks.size() <= 31);
    MessageSearch s;
    OpenMessageSearch(s, path, dir.File("hits"), "");
  }
}

TEST(AlertsFuzz, ReplyParserAndEncoders) {
  Random r;
  for (int i = 0; i < 2000; ++i) {
    std::string input = r.Bytes(r.Pick(300));
    std::string reply;
    while (TakeSmtpReply(input, reply, 100)) EXPECT_LE(reply.size(), 100u);

    std::string text = r.Bytes(r.Pick(200));
    const size_t before = text.size();
    JisToShiftJisText(text);
    EXPECT_LE(text.size(), before);

    const std::string body = WireBody(r.Bytes(r.Pick(200)));
    for (size_t k = 0; k < body.size(); ++k) {
      ASSERT_LT(static_cast<unsigned char>(body[k]), 0x80u);
      if (body[k] == '\n') {
        ASSERT_TRUE(k > 0 && body[k - 1] == '\r');
      }
    }
    platform::Iso2022JpToUtf8(r.Bytes(r.Pick(100)));
  }
}

TEST(AlertsFuzz, Searches) {
  Random r;
  testing_support::TempDir dir;
  MessageSearch s;
  OpenMessageSearch(s, dir.File("list"), dir.File("hits"), "");
  testing_support::RecordingAlertsLink link;
  WatchList w;
  for (int i = 0; i < 300; ++i) {
    s.SearchStrings = {r.Bytes(r.Pick(3)), r.Bytes(r.Pick(120))};
    SearchAcarsMessage(s, MsgSrchSettings{0, 0, 1}, link, r.Bytes(8), r.Bytes(8), r.Bytes(r.Pick(300)));
    w.Rows.assign(2, SearchListRow{});
    w.Rows[0].Search = r.Bytes(r.Pick(10));
    w.Rows[1].Search = "*******";
    EXPECT_GE(FindSearchMatch(w, r.Bytes(r.Pick(10))), 1);
  }
  // Every hit is a file of the hit folder, none elsewhere.
  EXPECT_EQ(platform::ListFiles(dir.File("hits"), "*.log").size(), s.HitNames.size());
  EXPECT_GT(s.HitNames.size(), 0u);
}

}  // namespace
