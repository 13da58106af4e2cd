#!/usr/bin/env python3
"""PUTURL and ATTACHURL over https and through redirects, black-box through
"wrphost expand", against loopback TLS servers whose certificates come from a
test CA made here with the openssl tool. The servers record every request's
bytes and every connection, which the cases check alongside the host's output.

Natively the test CA is trusted through SSL_CERT_FILE; under Wine the program
runs in a mount namespace of its own with a bundle holding the test CA bound
over the system's bundle, from which Wine builds its root store. Certificates
name "localhost": Wine's policy matches no IP-address names.

Usage: https_test.py [--wine WINE_RUN] WRPHOST
Exit code 77 (skipped) when no mount namespace can be made for Wine.
"""
import os
import socket
import ssl
import subprocess
import sys
import tempfile
import threading
import warnings

SKIPPED = 77
# Every program run and every server socket gives up after this long.
RUN_SECONDS = 60
IO_SECONDS = 10
SYSTEM_BUNDLE = "/etc/ssl/certs/ca-certificates.crt"
BODY = b"Binary \x00\x80\xff body, byte for byte.\r\n" * 100


def openssl(*args, cwd):
    done = subprocess.run(["openssl", *args], cwd=cwd, capture_output=True)
    if done.returncode != 0:
        sys.exit("openssl %s failed: %s" % (args[0], done.stderr.decode(errors="replace")))


def make_certificates(folder):
    """The test CA, a second CA nobody trusts, and the servers' certificates."""
    days = ["-days", "2"]
    for ca in ("ca", "stranger"):
        openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", ca + ".key",
                "-out", ca + ".pem", "-subj", "/CN=Quillet test " + ca, *days,
                "-addext", "basicConstraints=critical,CA:TRUE",
                "-addext", "keyUsage=critical,keyCertSign,cRLSign", cwd=folder)
    with open(os.path.join(folder, "ca.cnf"), "w") as f:
        f.write("[ca]\ndefault_ca=test\n[test]\ndatabase=index.txt\nnew_certs_dir=.\n"
                "serial=serial\ndefault_md=sha256\npolicy=any\ncopy_extensions=copy\n"
                "unique_subject=no\n"
                "[any]\ncommonName=supplied\n")
    open(os.path.join(folder, "index.txt"), "w").close()
    with open(os.path.join(folder, "serial"), "w") as f:
        f.write("1000\n")

    def server(name, dns, ca="ca", dates=None):
        openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", name + ".key", "-out",
                name + ".csr", "-subj", "/CN=" + dns, "-addext", "subjectAltName=DNS:" + dns,
                "-addext", "extendedKeyUsage=serverAuth", cwd=folder)
        span = ["-startdate", dates[0], "-enddate", dates[1]] if dates else days
        openssl("ca", "-batch", "-config", "ca.cnf", "-cert", ca + ".pem", "-keyfile",
                ca + ".key", "-in", name + ".csr", "-out", name + ".pem", *span, cwd=folder)

    server("good", "localhost")
    server("elsewhere", "elsewhere.test")
    server("expired", "localhost", dates=("20200101000000Z", "20200201000000Z"))
    server("untrusted", "localhost", ca="stranger")
    with open(os.path.join(folder, "bundle.pem"), "wb") as f:
        f.write(open(os.path.join(folder, "ca.pem"), "rb").read())


class Server:
    """A loopback server, TLS unless context is None; answer(path, head)
    gives the response bytes and whether to close after it, and how: "close"
    with the TLS close-notify, "cut" without it."""

    def __init__(self, answer, context=None):
        self.answer, self.context = answer, context
        self.requests, self.connections = [], 0
        self.listener = socket.socket()
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(8)
        self.listener.settimeout(1)
        self.port = self.listener.getsockname()[1]
        self.stopping = False
        self.thread = threading.Thread(target=self.serve, daemon=True)
        self.thread.start()

    def serve(self):
        while not self.stopping:
            try:
                raw, _ = self.listener.accept()
            except socket.timeout:
                continue
            except OSError:
                return
            self.connections += 1
            threading.Thread(target=self.talk, args=(raw,), daemon=True).start()

    def talk(self, raw):
        raw.settimeout(IO_SECONDS)
        try:
            conn = self.context.wrap_socket(raw, server_side=True) if self.context else raw
        except (ssl.SSLError, OSError):
            raw.close()
            return
        try:
            buffered = b""
            for _ in range(100):
                while b"\r\n\r\n" not in buffered:
                    data = conn.recv(65536)
                    if not data:
                        return
                    buffered += data
                head, buffered = buffered.split(b"\r\n\r\n", 1)
                self.requests.append(head + b"\r\n\r\n")
                path = head.split(b" ")[1].decode()
                response, ending = self.answer(path, head)
                conn.sendall(response)
                if ending == "cut":
                    # The socket closes under the TLS layer: no close-notify.
                    raw.shutdown(socket.SHUT_RDWR)
                    return
                if ending == "close":
                    if self.context:
                        conn.unwrap()
                    return
        except (ssl.SSLError, OSError):
            return
        finally:
            conn.close()

    def stop(self):
        self.stopping = True
        self.listener.close()


def reply(body, code="200 OK", headers=()):
    lines = ["HTTP/1.1 " + code, "Content-Length: %d" % len(body), *headers]
    return ("\r\n".join(lines) + "\r\n\r\n").encode() + body


def server_context(folder, name, legacy=False):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(os.path.join(folder, name + ".pem"), os.path.join(folder, name + ".key"))
    if legacy:
        warnings.simplefilter("ignore", DeprecationWarning)
        context.set_ciphers("DEFAULT:@SECLEVEL=0")
        context.minimum_version = ssl.TLSVersion.TLSv1
        context.maximum_version = ssl.TLSVersion.TLSv1
    return context


class Run:
    def __init__(self, code, out, err):
        self.code, self.out, self.err = code, out, err

    def failure(self):
        for line in self.err.decode(errors="replace").splitlines():
            if line.startswith("wrphost: abnormal end: "):
                return line[len("wrphost: abnormal end: "):]
        return None


def main():
    args = sys.argv[1:]
    wine = None
    if args[:1] == ["--wine"]:
        wine, args = args[1], args[2:]
    wrphost = os.path.realpath(args[0])
    scratch = tempfile.mkdtemp()
    os.chdir(scratch)
    make_certificates(scratch)
    bundle = os.path.join(scratch, "bundle.pem")
    env = dict(os.environ, TZ="UTC", LC_ALL="C", TMPDIR=os.path.join(scratch, "temp"),
               QUILLET_REGISTRY=os.path.join(scratch, "no-registry.reg"),
               QUILLET_DRIVES=os.path.join(scratch, "drives"), SSL_CERT_FILE=bundle)
    os.mkdir(env["TMPDIR"])
    prefix = []
    if wine:
        mount = 'mount --bind "$0" %s && exec "$@"' % SYSTEM_BUNDLE
        prefix = ["unshare", "-rm", "sh", "-c", mount, bundle, wine]
        probe = subprocess.run(["unshare", "-rm", "sh", "-c", mount, bundle, "true"],
                               capture_output=True)
        if probe.returncode != 0:
            print("skipped: no mount namespace for the trusted test CA: " +
                  probe.stderr.decode(errors="replace").strip())
            return SKIPPED

    def expand(template, settings=None):
        if settings is None:
            if os.path.exists("WRPlugin.INI"):
                os.remove("WRPlugin.INI")
        else:
            with open("WRPlugin.INI", "w") as f:
                f.write(settings)
        with open("case.tpl", "w") as f:
            f.write(template)
        done = subprocess.run(prefix + [wrphost, "expand", "case.tpl"], env=env,
                              capture_output=True, timeout=RUN_SECONDS)
        return Run(done.returncode, done.stdout, done.stderr)

    failures = []

    def check(name, condition, detail=""):
        print(("ok: " if condition else "FAIL: ") + name + ("" if condition else " " + str(detail)))
        if not condition:
            failures.append(name)

    plain_log = []

    def plain_answer(path, head):
        plain_log.append(head + b"\r\n")
        if path == "/files/start.txt":
            return reply(b"", "302 Found", ["Location: https://localhost:%d/final/report.txt" %
                                            good.port]), None
        return reply(b"plain"), None

    def good_answer(path, head):
        if path == "/page":
            return reply(BODY), None
        if path == "/set":
            return reply(b"set", headers=["Set-Cookie: s=1; Secure; Path=/", "Set-Cookie: p=2; Path=/"]), None
        if path == "/final/report.txt":
            return reply(b"Quarterly figures.\n"), None
        if path == "/untilclose":
            return b"HTTP/1.1 200 OK\r\n\r\nall of it", "close"
        if path == "/cut":
            return b"HTTP/1.1 200 OK\r\n\r\npart of it", "cut"
        if path == "/tohttp":
            return reply(b"", "301 Moved Permanently",
                         ["Location: http://localhost:%d/x" % plain.port]), None
        if path.startswith("/r/"):
            left = int(path[3:])
            if left == 0:
                return reply(b"arrived"), None
            return reply(b"", "302 Found", ["Location: %d" % (left - 1),
                                            "Set-Cookie: hop%d=1; Path=/" % left]), None
        return reply(b"none", "404 Not Found"), None

    plain = Server(plain_answer)
    good = Server(good_answer, server_context(scratch, "good"))
    def refuse(path, head):
        return reply(b"no"), None
    odd = {name: Server(refuse, server_context(scratch, name))
           for name in ("elsewhere", "expired", "untrusted")}
    odd["legacy"] = Server(refuse, server_context(scratch, "good", legacy=True))

    def url(server, path):
        return "https://localhost:%d%s" % (server.port, path)

    # Off by default: the classic refusal, and nothing reaches the server.
    run = expand('%%PUTURL("%s")' % url(good, "/page"))
    check("off: the classic error", run.failure() ==
          "EIdIOHandlerPropInvalid: IOHandler value is not valid", run.err)
    check("off: no connection", good.connections == 0)

    on = "; the plug-in's switches\r\n[other]\r\nHttps=bad\r\n[QUILLET]\r\n Https = 1 \r\n"
    run = expand('[%%PUTURL("%s")][%%PUTURL("page")][%%PUTURL("%s")]'
                 '[%%PUTURL("http://localhost:%d/p")][%%PUTURL("%s")][%%PUTURL("%s")]' %
                 (url(good, "/page"), url(good, "/set"), plain.port, url(good, "/page"),
                  url(good, "/untilclose")), on)
    want = b"[" + BODY + b"][" + BODY + b"][set][plain][" + BODY + b"][all of it]"
    check("on: bodies byte for byte", run.code == 0 and run.out == want, run.err)
    check("on: one kept connection for the first three", good.connections == 2,
          "%d connections" % good.connections)
    first = good.requests[0] if good.requests else b""
    check("on: the same request bytes as over http",
          first.startswith(b"GET /page HTTP/1.1\r\n") and
          b"\r\nHost: localhost:%d\r\n" % good.port in first and good.requests[1] == first,
          good.requests[:2])
    check("on: the secure cookie stays off plain http",
          b"Cookie: p=2\r\n" in plain_log[0] and b"s=1" not in plain_log[0], plain_log)
    check("on: and goes over https", b"Cookie: s=1; p=2\r\n" in good.requests[3],
          good.requests[3:4])

    for name, failure in (
            ("untrusted", "ETlsCertificateError: Server certificate not trusted"),
            ("elsewhere", "ETlsCertificateError: Server certificate does not name the host"),
            ("expired", "ETlsCertificateError: Server certificate expired"),
            ("legacy", "ETlsError: TLS handshake failed")):
        run = expand('%%PUTURL("%s")' % url(odd[name], "/"), on)
        check(name, run.failure() == failure, run.err)
        check(name + ": nothing asked", odd[name].requests == [])

    run = expand('%%PUTURL("%s")' % url(good, "/cut"), on)
    check("a cut without close-notify", run.failure() ==
          "ETlsError: TLS connection closed without close-notify", run.err)

    redirects = on + "Redirects=3\r\n"
    before = len(good.requests)
    run = expand('[%%PUTURL("%s")]' % url(good, "/r/3"), redirects)
    check("three redirects followed", run.code == 0 and run.out == b"[arrived]", run.err)
    check("cookies of every hop", b"Cookie: hop3=1; hop2=1; hop1=1\r\n" in good.requests[-1],
          good.requests[before:])
    run = expand('%%PUTURL("%s")' % url(good, "/r/4"), redirects)
    check("four are too many", run.failure() == "EIdHTTPProtocolException: HTTP/1.1 302 Found",
          run.err)
    asked = len(plain_log)
    run = expand('%%PUTURL("%s")' % url(good, "/tohttp"), redirects)
    check("https to http refused",
          run.failure() == "ERedirectError: Redirect from https to http refused", run.err)
    check("https to http: nothing fetched", len(plain_log) == asked)
    run = expand('[%%ATTACHURL("http://localhost:%d/files/start.txt")]' % plain.port, redirects)
    err = run.err.decode(errors="replace")
    check("ATTACHURL names the file as the page that answered",
          run.code == 0 and "report.txt\"" in err and "start.txt" not in err.split("command:")[-1],
          err)
    if not wine:
        # Wine keeps its own temporary folder; natively it is TMPDIR.
        files = os.listdir(env["TMPDIR"])
        check("ATTACHURL wrote the body", files == ["report.txt"] and open(
            os.path.join(env["TMPDIR"], "report.txt"), "rb").read() == b"Quarterly figures.\n",
            files)

    run = expand("x", "[Quillet]\nRedirects=21\n")
    check("a bad value stops the start",
          run.failure() == "ESettingsError: Invalid value '21' for 'Redirects' in line 2 of "
          "WRPlugin.INI", run.err)

    for server in [plain, good, *odd.values()]:
        server.stop()
    print("%d failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
