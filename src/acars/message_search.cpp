#include "acars/message_search.h"

// Matching arrives with the search window and its list of texts.
void SearchAcarsMessage(const std::string&, const std::string&, const std::string&) {}
