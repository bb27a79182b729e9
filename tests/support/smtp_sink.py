# A real SMTP server for the tests (python3-aiosmtpd) on a loopback port:
# for each message it keeps the HELO name, the envelope and the content as
# received, in <folder>/<n>.helo, .from, .to and .eml, then <n>.done.
# Usage: smtp_sink.py FOLDER PORT; it writes FOLDER/ready once listening.
import os
import sys
import time

from aiosmtpd.controller import Controller

folder, port = sys.argv[1], int(sys.argv[2])


class Keep:
    count = 0

    async def handle_DATA(self, server, session, envelope):
        Keep.count += 1
        base = os.path.join(folder, str(Keep.count))
        for suffix, data in (("helo", session.host_name.encode()), ("from", envelope.mail_from.encode()),
                             ("to", ",".join(envelope.rcpt_tos).encode()), ("eml", envelope.content)):
            with open(base + "." + suffix, "wb") as f:
                f.write(data)
        open(base + ".done", "wb").close()
        return "250 OK"


controller = Controller(Keep(), hostname="127.0.0.1", port=port)
controller.start()
open(os.path.join(folder, "ready"), "wb").close()
while True:
    time.sleep(1)
