#pragma once
// One mail handed to an SMTP server (plain, no login, no encryption) as a
// state machine on a socket in the GUI thread. Every step waits for a
// socket signal or a timer and nothing waits in place, so decoding, the
// waterfall and the clock go on while a server is slow or silent.
#include <QObject>
#include <functional>
#include <string>

#include "aircraft/hit_mail.h"

class QTcpSocket;
class QTimer;

// How long the mail waits. Tests shorten them.
struct MailTimings {
  int ConnectMs = 30000;  // the connect, the name look-up included
  int ReplyMs = 30000;    // each reply
  int RetryMs = 30000;    // from a failed attempt to the next
  int ExitMs = 10000;     // for the mails still due at program end
};

// MailHost as host and port: "host", "host:2525", "[::1]:2525". A name with
// more than one ':' and no brackets, or a port outside 1..65535, is all
// host.
struct MailServer {
  std::string Host;
  int Port = 25;
};
MailServer ParseMailHost(const std::string& mailHost, int defaultPort);

// A server's reply is whole at the line whose code is followed by a blank
// or ends the line ("250-" lines continue it); blank lines are no reply.
// Takes the next whole reply off the front of input, without its final
// line end; false while none is whole. maxBytes: a longer reply is never
// taken.
bool TakeSmtpReply(std::string& input, std::string& reply, size_t maxBytes);

class SmtpDialogue : public QObject {
  Q_OBJECT
 public:
  explicit SmtpDialogue(const MailTimings& timings, QObject* parent = nullptr);
  ~SmtpDialogue() override;

  // Each status text as it comes: commands and replies without their final
  // CR LF (bytes as on the wire).
  std::function<void(const std::string& text)> Status;
  // Once, at the end: true when the server took the mail (its reply to the
  // end of data); a bad or missing reply to QUIT does not undo that.
  std::function<void(bool sent)> Done;

  // Starts the dialogue with the server of MailHost ("mail" service port
  // when it names none).
  void Start(const std::string& mailHost, const MailRecord& record);

 private:
  enum class Step { Connect, Greeting, Helo, MailFrom, RcptTo, Data, EndOfData, Quit, Finished };

  void Connected();
  void SocketFailed();
  void Closed();
  void ReadReplies();
  void Reply(const std::string& reply);
  void TimedOut();
  void Send(const std::string& command, Step next);
  void SendMessage();
  void NoReply();
  void Fail(const std::string& status);
  void Finish(bool sent);
  void Report(const std::string& text);

  MailTimings timings_;
  QTcpSocket* socket_ = nullptr;
  QTimer* timer_ = nullptr;
  Step step_ = Step::Connect;
  std::string host_;
  MailRecord record_;
  std::string command_;  // the last command, for its status text
  std::string input_;
  bool sent_ = false;
};
