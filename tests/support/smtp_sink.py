# The tests' real SMTP server: python3-aiosmtpd on 127.0.0.1:PORT. For each
# message it writes FOLDER/<n>.eml (the content as received), then
# FOLDER/<n>.env (HELO name, sender, recipients, a line each).
import os, sys, time
from aiosmtpd.controller import Controller

folder, port, count = sys.argv[1], int(sys.argv[2]), [0]


class Keep:
    async def handle_DATA(self, server, session, envelope):
        count[0] += 1
        base = os.path.join(folder, str(count[0]))
        open(base + ".eml", "wb").write(envelope.content)
        open(base + ".env", "w").write("\n".join([session.host_name, envelope.mail_from] + envelope.rcpt_tos))
        return "250 OK"


Controller(Keep(), hostname="127.0.0.1", port=port).start()
open(os.path.join(folder, "ready"), "w").close()
while True:
    time.sleep(1)
