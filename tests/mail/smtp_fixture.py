"""A loopback SMTP server for the mail tests.

usage: smtp_fixture.py MODE AUTH FOLDER CERT KEY PORT
  MODE  plain | starttls | implicit
  AUTH  1 to require a login (user "sender@example.com", password "s3cret pass")
  PORT  0 for any free port

Prints "PORT <n>" once it listens on 127.0.0.1 (or "BINDFAIL <reason>" and
exits). Every accepted message is written to FOLDER as <n>.raw (the message
as received, dot-stuffing undone), <n>.body (the decoded body bytes),
<n>.text (the body as text, UTF-8), <n>.env (four lines: MAIL FROM, the
recipients joined with ",", the login or "", "tls" or "plain"), and last
<n>.done. Recipients starting with "refused@" are refused with 550. While
the file FOLDER/reply-delay holds S, the reply to DATA comes S seconds after
the message is written (the client has sent it all, the server has it).
"""

import asyncio
import email
import email.policy
import os
import ssl
import sys

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

USER = b"sender@example.com"
PASSWORD = b"s3cret pass"


class Handler:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.startswith("refused@"):
            return "550 5.1.1 <%s>: Recipient address rejected: User unknown" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.folder, str(self.count))
        raw = envelope.original_content
        message = email.message_from_bytes(raw, policy=email.policy.default)
        body = message.get_payload(decode=True) or b""
        text = message.get_content() if not message.is_multipart() else ""
        login = session.auth_data.login.decode() if session.authenticated else ""
        tls = "tls" if server.transport.get_extra_info("sslcontext") else "plain"
        with open(base + ".raw", "wb") as f:
            f.write(raw)
        with open(base + ".body", "wb") as f:
            f.write(body)
        with open(base + ".text", "w", encoding="utf-8", newline="") as f:
            f.write(text)
        with open(base + ".env", "w", encoding="utf-8", newline="") as f:
            f.write("\n".join([envelope.mail_from, ",".join(envelope.rcpt_tos), login, tls]))
        with open(base + ".done", "w") as f:
            f.write("")
        try:
            with open(os.path.join(self.folder, "reply-delay")) as f:
                delay = float(f.read())
        except (OSError, ValueError):
            delay = 0
        if delay > 0:
            await asyncio.sleep(delay)
        return "250 2.0.0 Message accepted for delivery"


def authenticator(server, session, envelope, mechanism, auth_data):
    if (isinstance(auth_data, LoginPassword) and auth_data.login == USER
            and auth_data.password == PASSWORD):
        return AuthResult(success=True, auth_data=auth_data)
    return AuthResult(success=False, handled=False)


def main():
    mode, auth, folder, cert, key, port = sys.argv[1:7]
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)
    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)
    handler = Handler(folder)
    kwargs = dict(hostname="smtp.test.example", decode_data=False, loop=loop)
    if auth == "1":
        kwargs.update(authenticator=authenticator, auth_required=True)
    if mode == "starttls":
        kwargs.update(tls_context=context, require_starttls=True, auth_require_tls=True)
    else:
        kwargs.update(auth_require_tls=False)
    try:
        server = loop.run_until_complete(loop.create_server(
            lambda: SMTP(handler, **kwargs), "127.0.0.1", int(port),
            ssl=context if mode == "implicit" else None))
    except OSError as e:
        print("BINDFAIL %s" % e, flush=True)
        return
    print("PORT %d" % server.sockets[0].getsockname()[1], flush=True)
    loop.run_forever()


if __name__ == "__main__":
    main()
