// The hit mail against a scripted server in the test's own thread, with
// short time-outs: it never blocks, sends the exact dialogue, reads
// multi-line and split replies, and fails, retries and queues per mail.
#include "aircraft/smtp_dialogue.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "aircraft/hit_mailer.h"
#include "support/recording_links.h"
#include "support/scripted_smtp_server.h"
#include "support/test_support.h"

namespace {

using testing_support::RunUntil;
using testing_support::ScriptedSmtpServer;
using Texts = std::vector<std::string>;

const MailTimings kShort{1000, 300, 100, 2000};

class SmtpDialogueTest : public ::testing::Test {
 protected:
  SmtpDialogueTest() {
    mail.MailFrom = "from@example.org";
    mail.MailTo = "to@example.org";
    mail.MIMEConv = 1;
    mail.SJISConv = 1;
  }

  struct Run {
    ScriptedSmtpServer server;
    HitMailQueue queue;
    testing_support::RecordingMailLink link{queue};
    MailSettings mail;
    std::unique_ptr<HitMailer> mailer;
    bool Shows(const std::string& tail) {
      return RunUntil([&] { return EndsWith(queue.StatusText, tail); }, 5000);
    }
    int Count(const std::string& tail) const {
      return static_cast<int>(std::count_if(link.statusTexts.begin(), link.statusTexts.end(),
                                            [&](const std::string& t) { return EndsWith(t, tail); }));
    }
  };
  std::unique_ptr<Run> Start(const std::function<void(ScriptedSmtpServer&)>& script = nullptr, quint16 port = 0) {
    auto run = std::make_unique<Run>();
    if (script) script(run->server);
    run->mail = mail;
    run->mail.MailHost = "127.0.0.1:" + std::to_string(port ? port : run->server.Port());
    run->mailer = std::make_unique<HitMailer>(run->queue, run->mail, run->link, kShort);
    return run;
  }
  // The status after the first failed attempt; never "Send mail".
  std::string FirstFailure(const std::function<void(ScriptedSmtpServer&)>& script, quint16 port = 0) {
    auto run = Start(script, port);
    run->mailer->SendHitMail(hit);
    EXPECT_TRUE(run->Shows("-Retry>1")) << run->queue.StatusText;
    EXPECT_EQ(run->Count("Send mail"), 0);
    return run->queue.StatusText;
  }
  static bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
  }

  testing_support::FixedClock clock{platform::EncodeDateTime(2024, 5, 1, 13, 5, 27)};
  MailSettings mail;
  HitMailArgs hit{"JA8089", "JL0012", true, "test remark", "San Francisco", "Tokyo"};
};

TEST_F(SmtpDialogueTest, SendsWithoutBlockingInTheExactDialogue) {
  auto run = Start([](ScriptedSmtpServer& s) { s.greetingDelayMs = 200; });
  run->mailer->SendHitMail(hit);
  // Back before the server even accepted: a blocking client starves it.
  EXPECT_EQ(run->server.connections, 0);
  ASSERT_TRUE(run->Shows("Send mail"));
  const MailRecord r = BuildMailRecord(hit, run->mail, true, platform::Now());
  const std::string data = "MIME-Version: 1.0\r\nContent-Transfer-Encoding: 7bit\r\n"
                           "Content-Type: text/plain; charset=\"ISO-2022-JP\"\r\nX-Mailer: Skarvel\r\n"
                           "Subject: =?iso-2022-jp?B?UmVjZWl2ZWQgSkE4MDg5?=\r\nTo: to@example.org\r\n"
                           "From: from@example.org\r\n\r\n" + r.Body + "\r\n.\r\n";
  EXPECT_EQ(run->server.received, "HELO 127.0.0.1 \r\nMAIL FROM:<from@example.org>\r\nRCPT TO:<to@example.org>\r\n"
                                  "DATA\r\n" + data + "QUIT\r\n");
  EXPECT_EQ(run->link.statusTexts,
            (Texts{"connecting Socket", "receiving : 220 test ready\n", "sending   : HELO 127.0.0.1 ",
                   "receiving : 250 ok", "sending   : MAIL FROM:<from@example.org>", "receiving : 250 ok",
                   "sending   : RCPT TO:<to@example.org>", "receiving : 250 ok", "sending   : DATA",
                   "receiving : 354 go", "sending   : Subject: " + r.Subject, "sending   : To: to@example.org",
                   "sending   : From: from@example.org", "sending   : ", "sending   : " + r.Body,
                   "receiving : 250 ok", "sending   : QUIT", "receiving : 221 bye", "Send mail"}));
  // The mail buttons rest exactly while the dialogue runs.
  const std::vector<bool>& f = run->link.inFlight;
  EXPECT_TRUE(f.front());
  EXPECT_FALSE(f.back());
  EXPECT_TRUE(std::is_partitioned(f.begin(), f.end(), [](bool b) { return b; }));
}

TEST_F(SmtpDialogueTest, MultiLineSplitAndEarlyRepliesAndAnUnansweredQuit) {
  auto run = Start([](ScriptedSmtpServer& s) {
    s.replies["GREETING"] = "220-hello|\r\n220 ready\r\n250 early";
    s.replies["HELO"] = "";
    s.replies["MAIL"] = "250-a\r\n2|50 b";
    s.replies["QUIT"] = "";
  });
  run->mailer->SendHitMail(hit);
  ASSERT_TRUE(run->Shows("Send mail"));
  const Texts& t = run->link.statusTexts;
  for (const char* status : {"receiving : 220-hello\r\n220 ready\n", "receiving : 250 early",
                             "receiving : 250-a\r\n250 b", "** ERROR ** (no reply)"}) {
    EXPECT_NE(std::find(t.begin(), t.end(), status), t.end()) << status;
  }
}

TEST_F(SmtpDialogueTest, FailuresAreReportedAndRetried) {
  EXPECT_EQ(FirstFailure(nullptr, testing_support::UnusedPort()), "Invalid Socket-Retry>1");
  EXPECT_EQ(FirstFailure([](ScriptedSmtpServer& s) { s.replies["RCPT"] = "550 no such user"; }),
            "** ERROR ** 550 no such user-Retry>1");
  EXPECT_EQ(FirstFailure([](ScriptedSmtpServer& s) { s.replies["HELO"] = "CLOSE"; }),
            "** ERROR ** (no reply)-Retry>1");
  EXPECT_EQ(FirstFailure([](ScriptedSmtpServer& s) { s.replies["MAIL"] = "CLOSE"; }),
            "** ERROR ** (no reply)-Retry>1");
  EXPECT_EQ(FirstFailure([](ScriptedSmtpServer& s) { s.replies["GREETING"] = ""; }),
            "** ERROR ** (no reply)-Retry>1");
  std::string huge;
  while (huge.size() < 70 * 1024) huge += "220-" + std::string(60, 'x') + "\r\n";
  const std::string status = FirstFailure([&](ScriptedSmtpServer& s) { s.replies["GREETING"] = huge; });
  EXPECT_EQ(status.rfind("** ERROR ** 220-xxx", 0), 0u);

  auto run = Start([](ScriptedSmtpServer& s) { s.replies["RCPT"] = "550 no such user"; });
  run->mailer->SendHitMail(hit);
  ASSERT_TRUE(run->Shows("-Transmission failed"));
  EXPECT_EQ(run->server.connections, 4);
  EXPECT_EQ(run->queue.StatusText, "** ERROR ** 550 no such user-Transmission failed");
  EXPECT_EQ(run->Count("-Retry>3"), 1);
}

TEST_F(SmtpDialogueTest, EveryQueuedMailHasItsOwnAttempts) {
  auto run = Start([](ScriptedSmtpServer& s) { s.replies["RCPT"] = "550 no such user"; });
  run->mailer->SendHitMail(hit);
  run->mailer->SendHitMail(TestMailArgs(true));
  ASSERT_TRUE(RunUntil([&] { return run->Count("-Transmission failed") == 2; }, 8000));
  EXPECT_EQ(run->server.connections, 8);

  // A failure, a successful retry, then a new mail's failure: its first.
  run->server.replies["RCPT"] = "550 no such user";
  run->mailer->SendHitMail(hit);
  ASSERT_TRUE(run->Shows("-Retry>1"));
  run->server.replies["RCPT"] = "250 ok";
  ASSERT_TRUE(run->Shows("Send mail"));
  run->server.replies["RCPT"] = "550 no such user";
  run->mailer->SendHitMail(hit);
  ASSERT_TRUE(run->Shows("-Retry>1"));
  EXPECT_EQ(run->queue.StatusText, "** ERROR ** 550 no such user-Retry>1");
  EXPECT_TRUE(run->queue.Pending.size() == 1 && !run->queue.InFlight());
}

}  // namespace
