#pragma once
// Operations of message output and data exchange: the daily logs, the
// received-text window and the link between copies.
#include <string>

struct Form1State;

class ExchangeServices {
 public:
  virtual ~ExchangeServices() = default;

  // Rebuilds the eight daily log paths when the date changed (or force).
  virtual void UpdateDailyLogNames(Form1State& form, bool force);
  // Starts listening as a server; false on any failure, without a message.
  virtual bool OpenServer(Form1State& form, const std::string& port);
  virtual void CloseServer(Form1State& form);
  // Starts a client connection; false when the attempt failed at once.
  virtual bool ConnectToServer(Form1State& form, const std::string& host, const std::string& port);
  virtual void DisconnectFromServer(Form1State& form, bool withMessage);
  virtual void SendToServer(Form1State& form, const std::string& text);
  virtual void SendToAllClients(Form1State& form, const std::string& text);
  // The received-text window shows TextBuffers[TxtType] afresh.
  virtual void RefreshTextWindow(Form1State& form);

  // Main-window commands: clean-up of the log folders and log imports.
  virtual void N20Click(Form1State& form);        // delete the files of logs/
  virtual void EachLogs1Click(Form1State& form);  // delete the files of logs/EachLogs
  virtual void N16Click(Form1State& form);        // import RAW logs
  virtual void DATLOG1Click(Form1State& form);    // import DAT logs
};

ExchangeServices& DefaultExchangeServices();
