#pragma once
// Ports of network services by the system's services table.

namespace platform {

// The TCP port of the "mail" service, 25 when the table does not list it.
int MailServicePort();

}  // namespace platform
