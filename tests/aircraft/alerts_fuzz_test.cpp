// Random bytes through the alerts' readers and encoders, random texts and
// strings through both searches: nothing may fault, read outside its input
// or write outside its folder. Built and run under the sanitizers.
#include <gtest/gtest.h>

#include <random>

#include "acars/message_search.h"
#include "aircraft/smtp_dialogue.h"
#include "platform/cp932.h"
#include "platform/file_io.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

TEST(AlertsFuzz, ReadersEncodersAndSearches) {
  std::mt19937 random(20240501);
  // Bytes that lean towards those the parsers look at.
  auto bytes = [&](int maxLength) {
    static const char kFavoured[] = "\r\n,*-.\x1B$B(J\x0E\x0F 250AB\x81\x82\xFF";
    std::string s(random() % static_cast<unsigned>(maxLength + 1), ' ');
    for (char& c : s) c = random() % 2 ? kFavoured[random() % (sizeof kFavoured - 1)] : static_cast<char>(random());
    return s;
  };
  testing_support::TempDir dir;
  MessageSearch search;
  testing_support::RecordingAlertsLink link;
  WatchList w;
  for (int i = 0; i < 2000; ++i) {
    testing_support::WriteFile(dir.File("list"), bytes(400));
    LoadSearchList(w, dir.File("list"));
    for (const SearchListRow& row : w.Rows) ASSERT_TRUE(row.Search.size() <= 8 && row.Remarks.size() <= 31);
    OpenMessageSearch(search, dir.File("list"), dir.File("hits"), "");

    std::string input = bytes(300), reply;
    while (TakeSmtpReply(input, reply, 100)) ASSERT_LE(reply.size(), 100u);
    std::string text = bytes(200);
    const size_t before = text.size();
    JisToShiftJisText(text);
    ASSERT_LE(text.size(), before);
    const std::string body = WireBody(bytes(200));
    for (size_t k = 0; k < body.size(); ++k) {
      ASSERT_LT(static_cast<unsigned char>(body[k]), 0x80u);
      ASSERT_TRUE(body[k] != '\n' || (k > 0 && body[k - 1] == '\r'));
    }
    platform::Iso2022JpToUtf8(bytes(100));

    search.SearchStrings = {bytes(2), bytes(120)};
    SearchAcarsMessage(search, MsgSrchSettings{0, 0, 1}, link, bytes(8), bytes(8), bytes(300));
    w.Rows.resize(2);
    w.Rows[1].Search = "*******";
    ASSERT_GE(FindSearchMatch(w, bytes(10)), 1);
  }
  // Every hit is a file of the hit folder.
  EXPECT_EQ(platform::ListFiles(dir.File("hits"), "*.log").size(), search.HitNames.size());
  EXPECT_GT(search.HitNames.size(), 0u);
}

}  // namespace
