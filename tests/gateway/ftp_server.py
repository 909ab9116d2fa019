"""FTP server for the gateway tests: serves ROOT on 127.0.0.1 at a free port, which it prints,
to the user "root" with the gateway's default password, and exits after LIFETIME seconds.
With "stall" as third argument it never answers a download request."""
import logging
import signal
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import FTPServer


class StallingHandler(FTPHandler):
    def ftp_RETR(self, file):
        pass


root, lifetime = sys.argv[1], int(sys.argv[2])
stall = sys.argv[3:] == ["stall"]
signal.alarm(lifetime)
config_logging(level=logging.WARNING)

authorizer = DummyAuthorizer()
authorizer.add_user("root", "lumo", root, perm="elradfmwMT")
handler = StallingHandler if stall else FTPHandler
handler.authorizer = authorizer
handler.auth_failed_timeout = 0
server = FTPServer(("127.0.0.1", 0), handler)
print(server.address[1], flush=True)
server.serve_forever()
