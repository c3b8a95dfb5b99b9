"""An FTP server for the upload tests: one user, one directory, 127.0.0.1 on a free port.

Prints the port on the first line of standard output, then serves until standard input
closes (the test ended or died). With --cert the control and data connections must use
TLS (explicit, AUTH TLS).
"""
import argparse
import logging
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    args = parser.parse_args()

    logging.basicConfig(level=logging.ERROR)
    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    handler = FTPHandler
    if args.cert:
        from pyftpdlib.handlers import TLS_DTPHandler, TLS_FTPHandler

        class DataChannel(TLS_DTPHandler):
            # pyftpdlib 1.5.7 drops a data connection whose TLS handshake starts before the
            # STOR command is through (as curl's does); fixed upstream after that release.
            def readable(self):
                return self._ssl_accepting or super().readable()


        handler = TLS_FTPHandler
        handler.certfile = args.cert
        handler.keyfile = args.key
        handler.tls_control_required = True
        handler.tls_data_required = True
        handler.dtp_handler = DataChannel
    handler.authorizer = authorizer
    # The default pause before refusing a login would cost each such test three seconds.
    handler.auth_failed_timeout = 0
    server = FTPServer(("127.0.0.1", 0), handler)
    print(server.socket.getsockname()[1], flush=True)

    def end_with_parent():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=end_with_parent, daemon=True).start()
    server.serve_forever()


main()
