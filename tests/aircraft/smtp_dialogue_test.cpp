// The hit mail against a scripted server in the test's own thread, with
// short time-outs: it never blocks, sends the exact dialogue, reads
// multi-line, split and early replies, and fails and retries per mail.
#include "aircraft/smtp_dialogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "aircraft/hit_mailer.h"
#include "support/recording_links.h"
#include "support/smtp_sink.h"

namespace {

using testing_support::ScriptedSmtpServer;

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

struct SmtpDialogueTest : ::testing::Test {
  void Start(quint16 port) {
    mailer.reset();
    queue = {};
    link.statusTexts.clear();
    mail = {"127.0.0.1:" + std::to_string(port), "from@example.org", "to@example.org", 0, 1, 1};
    mailer = std::make_unique<HitMailer>(queue, mail, link, MailTimings{1000, 300, 100, 2000});
  }
  bool Shows(const std::string& tail) {
    return testing_support::RunUntil([&] { return EndsWith(queue.StatusText, tail); }, 5000);
  }
  int Count(const std::string& tail) const {
    return static_cast<int>(std::count_if(link.statusTexts.begin(), link.statusTexts.end(),
                                          [&](const std::string& t) { return EndsWith(t, tail); }));
  }
  // The status after the first failed attempt, which is never "Send mail".
  std::string FirstFailure(const char* command, const std::string& reply) {
    ScriptedSmtpServer fresh;
    if (command) fresh.replies[command] = reply;
    Start(command ? fresh.Port() : testing_support::UnusedPort());
    mailer->SendHitMail(hit);
    EXPECT_TRUE(Shows("-Retry>1") && Count("Send mail") == 0) << queue.StatusText;
    return queue.StatusText;
  }

  testing_support::FixedClock clock{platform::EncodeDateTime(2024, 5, 1, 13, 5, 27)};
  ScriptedSmtpServer server;
  MailSettings mail;
  HitMailQueue queue;
  testing_support::RecordingMailLink link{queue};
  std::unique_ptr<HitMailer> mailer;
  HitMailArgs hit{"JA8089", "JL0012", true, "test remark", "San Francisco", "Tokyo"};
};

TEST_F(SmtpDialogueTest, SendsWithoutBlockingInTheExactDialogue) {
  server.greetingDelayMs = 200;
  // A reply in two pieces with the reply to HELO ahead of its time, a
  // multi-line reply in two pieces, and no reply to QUIT.
  server.replies = {{"GREETING", "220-hello|\r\n220 ready\r\n250 early"}, {"HELO", ""},
                    {"MAIL", "250-a\r\n2|50 b"}, {"DATA", "354 go"}, {"QUIT", ""}};
  Start(server.Port());
  mailer->SendHitMail(hit);
  // Back before the server even accepted: a blocking client starves it.
  EXPECT_EQ(server.connections, 0);
  ASSERT_TRUE(Shows("Send mail"));
  const MailRecord r = BuildMailRecord(hit, mail, true, platform::Now());
  EXPECT_EQ(server.received, "HELO 127.0.0.1 \r\nMAIL FROM:<from@example.org>\r\nRCPT TO:<to@example.org>\r\nDATA\r\n" +
                                 testing_support::MailHeaders("=?iso-2022-jp?B?UmVjZWl2ZWQgSkE4MDg5?=") + r.Body +
                                 "\r\n.\r\nQUIT\r\n");
  EXPECT_EQ(link.statusTexts,
            (std::vector<std::string>{
                "connecting Socket", "receiving : 220-hello\r\n220 ready\n", "sending   : HELO 127.0.0.1 ",
                "receiving : 250 early", "sending   : MAIL FROM:<from@example.org>", "receiving : 250-a\r\n250 b",
                "sending   : RCPT TO:<to@example.org>", "receiving : 250 ok", "sending   : DATA", "receiving : 354 go",
                "sending   : Subject: " + r.Subject, "sending   : To: to@example.org",
                "sending   : From: from@example.org", "sending   : ", "sending   : " + r.Body, "receiving : 250 ok",
                "** ERROR ** (no reply)", "Send mail"}));
  // The mail buttons rest exactly while the dialogue runs.
  const std::vector<bool>& f = link.inFlight;
  EXPECT_TRUE(f.front() && !f.back() && std::is_partitioned(f.begin(), f.end(), [](bool b) { return b; }));
}

TEST_F(SmtpDialogueTest, FailuresAreRetriedPerMail) {
  std::string huge;
  while (huge.size() < 70 * 1024) huge += "220-" + std::string(60, 'x') + "\r\n";
  // {the command answered so (none: no server), the answer, the status's start}
  const std::tuple<const char*, std::string, std::string> rows[] = {
      {nullptr, "", "Invalid Socket-Retry>1"},
      {"GREETING", "CLOSE", "** ERROR ** (no reply)-Retry>1"},
      {"HELO", "CLOSE", "** ERROR ** (no reply)-Retry>1"},
      {"MAIL", "CLOSE", "** ERROR ** (no reply)-Retry>1"},
      {"GREETING", "", "** ERROR ** (no reply)-Retry>1"},
      {"GREETING", huge, "** ERROR ** 220-xxx"}};
  for (const auto& [command, reply, status] : rows) {
    EXPECT_EQ(FirstFailure(command, reply).substr(0, status.size()), status) << (command ? command : "no server");
  }

  // Four attempts each, even for two mails at once.
  server.replies["RCPT"] = "550 no such user";
  Start(server.Port());
  mailer->SendHitMail(hit);
  mailer->SendHitMail(TestMailArgs(true));
  ASSERT_TRUE(testing_support::RunUntil([&] { return Count("-Transmission failed") == 2; }, 8000));
  EXPECT_TRUE(Count("** ERROR ** 550 no such user-Retry>1") == 2 && Count("-Retry>3") == 2);
  EXPECT_EQ(queue.StatusText, "** ERROR ** 550 no such user-Transmission failed");
  EXPECT_EQ(server.connections, 8);
  // A fresh mail after "-Transmission failed", then after a failure and a
  // successful retry a new mail's failure: each is its own first retry.
  mailer->SendHitMail(hit);
  ASSERT_TRUE(Shows("-Retry>1"));
  server.replies["RCPT"] = "250 ok";
  link.english = false;
  ASSERT_TRUE(Shows("メールを送信しました"));
  server.replies["RCPT"] = "550 no such user";
  mailer->SendHitMail(hit);
  ASSERT_TRUE(Shows("-リトライ>1"));
  EXPECT_TRUE(queue.Pending.size() == 1 && !queue.InFlight());
}

}  // namespace
