#include "exchange/exchange_services.h"

#include "app/form1_state.h"
#include "exchange/daily_log_set.h"
#include "exchange/text_window.h"

void ExchangeServices::UpdateDailyLogNames(Form1State& form, bool force) { ::UpdateDailyLogNames(form, force); }

bool ExchangeServices::OpenServer(Form1State&, const std::string&) { return false; }

void ExchangeServices::CloseServer(Form1State&) {}

bool ExchangeServices::ConnectToServer(Form1State&, const std::string&, const std::string&) { return false; }

void ExchangeServices::DisconnectFromServer(Form1State&, bool) {}

void ExchangeServices::SendToServer(Form1State&, const std::string&) {}

void ExchangeServices::SendToAllClients(Form1State&, const std::string&) {}

void ExchangeServices::RefreshTextWindow(Form1State& form) {
  // A hidden window is refilled when it is shown.
  TForm10* window = FindTextWindow(form);
  if (window && window->isVisible()) window->RefreshMemo();
}

void ExchangeServices::N20Click(Form1State& form) { ::N20Click(form); }

void ExchangeServices::EachLogs1Click(Form1State& form) { ::EachLogs1Click(form); }

void ExchangeServices::N16Click(Form1State&) {}

void ExchangeServices::DATLOG1Click(Form1State&) {}

ExchangeServices& DefaultExchangeServices() {
  static ExchangeServices services;
  return services;
}
