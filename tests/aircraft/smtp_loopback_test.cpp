// The hit mail through a real SMTP server on loopback: the English and the
// Japanese test mails and a hit mail arrive byte for byte as composed.
#include <gtest/gtest.h>

#include "aircraft/hit_mailer.h"
#include "platform/cp932.h"
#include "support/recording_links.h"
#include "support/scripted_smtp_server.h"
#include "support/smtp_sink.h"

namespace {

std::string Headers(const std::string& subject) {
  return "MIME-Version: 1.0\r\nContent-Transfer-Encoding: 7bit\r\nContent-Type: text/plain; charset=\"ISO-2022-JP\"\r\n"
         "X-Mailer: Skarvel\r\nSubject: " + subject + "\r\nTo: to@example.org\r\nFrom: from@example.org\r\n\r\n";
}

TEST(SmtpLoopback, TestAndHitMailsArriveAsComposed) {
  testing_support::SmtpSink sink;
  ASSERT_EQ(sink.Error(), "");
  testing_support::FixedClock clock(platform::EncodeDateTime(2024, 5, 1, 13, 5, 27));
  MailSettings mail;
  mail.MailHost = "127.0.0.1:" + std::to_string(sink.Port());
  mail.MailFrom = "from@example.org";
  mail.MailTo = "to@example.org";
  mail.SJISConv = mail.MIMEConv = 1;
  HitMailQueue queue;
  testing_support::RecordingMailLink link(queue);
  HitMailer mailer(queue, mail, link);
  mailer.SendHitMail(TestMailArgs(true));
  mailer.SendHitMail({"JA8089", "JL0012", true, "test remark", "San Francisco", "Tokyo"});
  ASSERT_TRUE(testing_support::RunUntil([&] { return queue.Pending.empty(); }, 20000)) << queue.StatusText;
  link.english = false;
  mailer.SendHitMail(TestMailArgs(false));
  ASSERT_TRUE(testing_support::RunUntil([&] { return queue.Pending.empty(); }, 20000)) << queue.StatusText;
  EXPECT_EQ(queue.StatusText, "メールを送信しました");

  const std::vector<testing_support::ReceivedMail> mails = sink.Mails(3, 5000);
  ASSERT_EQ(mails.size(), 3u);
  for (const testing_support::ReceivedMail& m : mails) {
    EXPECT_EQ(m.helo, "127.0.0.1");
    EXPECT_EQ(m.from, "from@example.org");
    EXPECT_EQ(m.to, "to@example.org");
    for (char c : m.content) EXPECT_LT(static_cast<unsigned char>(c), 0x80u);
  }
  EXPECT_EQ(mails[0].content, Headers("=?iso-2022-jp?B?UmVjZWl2ZWQgUmVnTm8=?=") +
                                  "Skarvel received following infomation\r\nReg.No.:RegNo\r\nFlight :FlightNo\r\n"
                                  "Dept.  :Dept. airport\r\nDest.  :Dest. airport\r\nTime   :13:05:27\r\n"
                                  "Remarks:test mail\r\n\r\n");
  EXPECT_EQ(mails[1].content, Headers("=?iso-2022-jp?B?UmVjZWl2ZWQgSkE4MDg5?=") +
                                  "Skarvel received following infomation\r\nReg.No.:JA8089\r\nFlight :JL0012\r\n"
                                  "Dept.  :Tokyo\r\nDest.  :San Francisco\r\nTime   :13:05:27\r\n"
                                  "Remarks:test remark\r\n\r\n");
  const std::string japanese = Headers("=?iso-2022-jp?B?UmVnTm8bJEIkcjx1Py4kNyReJDckPyEqGyhC?=");
  ASSERT_EQ(mails[2].content.substr(0, japanese.size()), japanese);
  EXPECT_EQ(platform::Iso2022JpToUtf8(mails[2].content.substr(japanese.size())),
            "Skarvelが以下の情報を受信しました\r\n機体番号:RegNo\r\n便　　名:FlightNo\r\n出発空港:○○空港\r\n"
            "到着空港:××空港\r\n時　　刻:13:05:27\r\n備　　考:テストメール\r\n"
            "便名検索:>https://skarvel.example/air/?F=FlightNo\r\n");
}

}  // namespace
