#include "aircraft/smtp_dialogue.h"

#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

#include "platform/service_port.h"

namespace {

// A server that sends more without ending its reply is not an SMTP server.
constexpr size_t kMaxReply = 64 * 1024;
// What the status bar shows of a reply at most (the old reply buffer).
constexpr size_t kShownReply = 1024;

int PortOf(std::string_view digits) {
  if (digits.empty() || digits.size() > 5) return 0;
  int port = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return 0;
    port = port * 10 + (c - '0');
  }
  return port <= 65535 ? port : 0;
}

std::string WithoutLineEnd(const std::string& line) {
  return line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0 ? line.substr(0, line.size() - 2) : line;
}

}  // namespace

MailServer ParseMailHost(const std::string& mailHost, int defaultPort) {
  const std::string_view s = mailHost;
  if (!s.empty() && s[0] == '[') {
    const size_t close = s.find(']');
    if (close != std::string_view::npos) {
      const std::string host(s.substr(1, close - 1));
      if (close + 1 == s.size()) return {host, defaultPort};
      if (s[close + 1] == ':') {
        if (int port = PortOf(s.substr(close + 2))) return {host, port};
      }
    }
    return {mailHost, defaultPort};
  }
  const size_t colon = s.find(':');
  if (colon != std::string_view::npos && s.find(':', colon + 1) == std::string_view::npos) {
    if (int port = PortOf(s.substr(colon + 1))) return {std::string(s.substr(0, colon)), port};
  }
  return {mailHost, defaultPort};
}

bool TakeSmtpReply(std::string& input, std::string& reply, size_t maxBytes) {
  size_t start = 0;
  size_t pos = 0;
  while (true) {
    const size_t lf = input.find('\n', pos);
    if (lf == std::string::npos) return false;
    size_t end = lf;
    if (end > pos && input[end - 1] == '\r') --end;
    if (end == pos && pos == start) {
      start = pos = lf + 1;
      continue;
    }
    if (end - pos >= 4 && input[pos + 3] == '-') {
      pos = lf + 1;
      continue;
    }
    if (end - start > maxBytes) return false;
    reply = input.substr(start, end - start);
    input.erase(0, lf + 1);
    return true;
  }
}

SmtpDialogue::SmtpDialogue(const MailTimings& timings, QObject* parent) : QObject(parent), timings_(timings) {
  timer_ = new QTimer(this);
  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, [this] { TimedOut(); });
}

SmtpDialogue::~SmtpDialogue() {
  // Nothing reaches the owner once it lets the dialogue go.
  if (socket_) socket_->disconnect(this);
}

void SmtpDialogue::Start(const std::string& mailHost, const MailRecord& record) {
  const MailServer server = ParseMailHost(mailHost, platform::MailServicePort());
  host_ = server.Host;
  record_ = record;
  socket_ = new QTcpSocket(this);
  connect(socket_, &QTcpSocket::connected, this, [this] { Connected(); });
  connect(socket_, &QTcpSocket::readyRead, this, [this] { ReadReplies(); });
  connect(socket_, &QTcpSocket::errorOccurred, this, [this] { SocketFailed(); });
  connect(socket_, &QTcpSocket::disconnected, this, [this] { Closed(); });
  step_ = Step::Connect;
  timer_->start(std::max(1, timings_.ConnectMs));
  socket_->connectToHost(QString::fromStdString(server.Host), static_cast<quint16>(server.Port));
}

void SmtpDialogue::Connected() {
  step_ = Step::Greeting;
  timer_->start(std::max(1, timings_.ReplyMs));
}

void SmtpDialogue::SocketFailed() {
  if (step_ == Step::Finished) return;
  if (step_ == Step::Connect) return Fail("Invalid Socket");
  Closed();
}

void SmtpDialogue::Closed() {
  if (step_ == Step::Finished) return;
  // What arrived before the close is read first.
  ReadReplies();
  if (step_ != Step::Finished) NoReply();
}

void SmtpDialogue::ReadReplies() {
  if (step_ == Step::Connect || step_ == Step::Finished) return;
  const QByteArray bytes = socket_->readAll();
  input_.append(bytes.constData(), static_cast<size_t>(bytes.size()));
  std::string reply;
  while (step_ != Step::Finished && TakeSmtpReply(input_, reply, kMaxReply)) Reply(reply);
  if (step_ != Step::Finished && input_.size() > kMaxReply) Fail("** ERROR ** " + input_.substr(0, kShownReply));
}

void SmtpDialogue::Reply(const std::string& reply) {
  // The first byte decides: "4" and "5" (anything above "3") fail.
  const bool bad = !reply.empty() && static_cast<unsigned char>(reply[0]) > '3';
  const std::string shown = reply.substr(0, kShownReply);
  if (step_ == Step::Quit) {
    if (bad) {
      Report("** ERROR ** " + shown);
    } else {
      Report("sending   : " + WithoutLineEnd(command_));
      Report("receiving : " + shown);
    }
    return Finish(true);
  }
  if (bad) return Fail("** ERROR ** " + shown);
  switch (step_) {
    case Step::Greeting:
      Report("connecting Socket");
      Report("receiving : " + shown + "\n");
      return Send("HELO " + host_ + " \r\n", Step::Helo);
    case Step::Helo:
    case Step::MailFrom:
    case Step::RcptTo:
    case Step::Data:
      Report("sending   : " + WithoutLineEnd(command_));
      Report("receiving : " + shown);
      if (step_ == Step::Helo) return Send("MAIL FROM:<" + record_.From + ">\r\n", Step::MailFrom);
      if (step_ == Step::MailFrom) return Send("RCPT TO:<" + record_.To + ">\r\n", Step::RcptTo);
      if (step_ == Step::RcptTo) return Send("DATA\r\n", Step::Data);
      return SendMessage();
    case Step::EndOfData:
      // The server has the mail: a trouble with QUIT must not send it again.
      sent_ = true;
      Report("receiving : " + shown);
      return Send("QUIT\r\n", Step::Quit);
    default:
      return;
  }
}

void SmtpDialogue::Send(const std::string& command, Step next) {
  command_ = command;
  step_ = next;
  socket_->write(command.data(), static_cast<qint64>(command.size()));
  timer_->start(std::max(1, timings_.ReplyMs));
}

void SmtpDialogue::SendMessage() {
  std::string data =
      "MIME-Version: 1.0\r\n"
      "Content-Transfer-Encoding: 7bit\r\n"
      "Content-Type: text/plain; charset=\"ISO-2022-JP\"\r\n"
      "X-Mailer: Skarvel\r\n";
  const std::string shownLines[] = {"Subject: " + record_.Subject, "To: " + record_.To, "From: " + record_.From, "",
                                    record_.Body};
  for (const std::string& line : shownLines) {
    data += line + "\r\n";
    Report("sending   : " + line);
  }
  data += ".\r\n";
  Send(data, Step::EndOfData);
}

void SmtpDialogue::TimedOut() {
  if (step_ == Step::Connect) return Fail("Invalid Socket");
  NoReply();
}

void SmtpDialogue::NoReply() {
  const std::string status = input_.empty() ? "** ERROR ** (no reply)" : "** ERROR ** " + input_.substr(0, kShownReply);
  if (step_ == Step::Quit) {
    Report(status);
    return Finish(true);
  }
  Fail(status);
}

void SmtpDialogue::Fail(const std::string& status) {
  Report(status);
  Finish(sent_);
}

void SmtpDialogue::Finish(bool sent) {
  step_ = Step::Finished;
  timer_->stop();
  if (socket_) {
    socket_->disconnect(this);
    socket_->abort();
  }
  if (Done) Done(sent);
}

void SmtpDialogue::Report(const std::string& text) {
  if (Status) Status(text);
}
