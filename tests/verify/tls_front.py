#!/usr/bin/env python3
# TLS in front of a link-check test's HTTP server, one port on 127.0.0.1 per kind of server certificate, and a
# proxy before it.
# Usage: tls_front.py CONTROL_PORT BACKEND_PORT. Makes a throw-away certificate authority and certificates with
# openssl, connects to the test on CONTROL_PORT and sends "kind port" lines, the authority's certificate (PEM)
# and "end"; then relays the bytes of every connection that gets through the handshake, and of every request to
# the proxy, to the test's HTTP server on BACKEND_PORT. Exits when the test closes the control connection.
import socket, ssl, subprocess, sys, tempfile, threading

# kind: (issuer, name in the certificate, days valid); no issuer signs itself, -1 days has expired.
KINDS = {
    "trusted": ("ca", "localhost", 2),
    "self-signed": (None, "localhost", 2),
    "unknown-ca": ("other-ca", "localhost", 2),  # sent without its issuer: a chain that ends nowhere
    "wrong-name": ("ca", "wrong.invalid", 2),
    "expired": ("ca", "localhost", -1),
}


def openssl(*args):
    subprocess.run(["openssl", *args], check=True, capture_output=True)


def make_certificates(d):
    for ca in ("ca", "other-ca"):
        openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", f"/CN=Tresk test {ca}",
                "-keyout", f"{d}/{ca}.key", "-out", f"{d}/{ca}.pem")
    openssl("genrsa", "-out", f"{d}/server.key", "2048")
    for kind, (issuer, name, days) in KINDS.items():
        with open(f"{d}/{kind}.ext", "w") as ext:
            ext.write(f"subjectAltName=DNS:{name}\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n")
        openssl("req", "-new", "-key", f"{d}/server.key", "-subj", f"/CN={name}", "-out", f"{d}/{kind}.csr")
        signer = ["-CA", f"{d}/{issuer}.pem", "-CAkey", f"{d}/{issuer}.key"] if issuer else ["-key", f"{d}/server.key"]
        openssl("x509", "-req", "-in", f"{d}/{kind}.csr", *signer, "-days", str(days), "-extfile", f"{d}/{kind}.ext",
                "-out", f"{d}/{kind}.pem")


def pipe(source, sink):
    try:
        while data := source.recv(65536):
            sink.sendall(data)
    except (OSError, ValueError):
        pass
    for end in (source, sink):  # wakes the other direction too
        try:
            end.shutdown(socket.SHUT_RDWR)
        except (OSError, ValueError):
            pass


def relay(connection, port, head=b""):
    with socket.create_connection(("127.0.0.1", port)) as upstream:
        upstream.sendall(head)
        threading.Thread(target=pipe, args=(upstream, connection), daemon=True).start()
        pipe(connection, upstream)


# CONNECT opens a tunnel to that port of 127.0.0.1 (refused for hosts named refuse.*); any other request goes to
# the test's server as it came.
def proxy(connection, backend):
    head = connection.recv(4096)
    words = head.split(b" ")
    if words[0] != b"CONNECT":
        return relay(connection, backend, head)
    if words[1].startswith(b"refuse."):
        return connection.sendall(b"HTTP/1.0 403 Forbidden\r\n\r\n")
    connection.sendall(b"HTTP/1.0 200 Connection established\r\n\r\n")
    relay(connection, int(words[1].split(b":")[1]))


def handle(connection, context, backend):
    with connection:
        try:
            connection.settimeout(30)
            if context == "proxy":
                return proxy(connection, backend)
            if context == "plain":  # an HTTP server on the https port answers the greeting it cannot read
                connection.recv(4096)
                return connection.sendall(b"HTTP/1.0 400 Bad Request\r\n\r\n")
            with context.wrap_socket(connection, server_side=True) as secure:
                relay(secure, backend)
        except OSError:  # a refused handshake among them
            pass


def serve(listener, context, backend):
    while True:
        connection, _ = listener.accept()
        threading.Thread(target=handle, args=(connection, context, backend), daemon=True).start()


def main():
    control_port, backend = int(sys.argv[1]), int(sys.argv[2])
    told = ""
    with tempfile.TemporaryDirectory() as d:
        make_certificates(d)
        for kind in [*KINDS, "plain", "proxy"]:
            context = kind if kind in ("plain", "proxy") else ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            if kind in KINDS:
                context.load_cert_chain(f"{d}/{kind}.pem", f"{d}/server.key")
            listener = socket.create_server(("127.0.0.1", 0))
            threading.Thread(target=serve, args=(listener, context, backend), daemon=True).start()
            told += f"{kind} {listener.getsockname()[1]}\n"
        with open(f"{d}/ca.pem") as ca:
            told += ca.read() + "end\n"
    control = socket.create_connection(("127.0.0.1", control_port))
    control.sendall(told.encode())
    control.recv(1)  # returns when the test closes the connection or ends


if __name__ == "__main__":
    main()
