#include "platform/service_port.h"

#include <arpa/inet.h>
#include <netdb.h>

namespace platform {

int MailServicePort() {
  const servent* entry = getservbyname("mail", "tcp");
  return entry ? ntohs(static_cast<uint16_t>(entry->s_port)) : 25;
}

}  // namespace platform
