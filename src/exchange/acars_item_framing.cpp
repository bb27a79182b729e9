#include "exchange/acars_item_framing.h"

void AcarsItemFraming::Feed(std::string_view bytes, const Take& take) {
  for (char c : bytes) {
    if (c == '\0') {
      const bool whole = !dropping_;
      dropping_ = false;
      std::string value = std::move(value_);
      value_.clear();
      if (whole && !value.empty()) take(value);
    } else if (!dropping_) {
      value_.push_back(c);
      if (value_.size() > kMaxAcarsItemValue) {
        value_.clear();
        dropping_ = true;
      }
    }
  }
}

void AcarsItemFraming::Finish(const Take& take) {
  if (!dropping_ && !value_.empty()) take(value_);
  value_.clear();
  dropping_ = false;
}
