"""FTP server for the gateway tests; FtpTestServer.h describes ROOT and MODE."""
import os
import signal
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

root, mode = sys.argv[1:3]
os.makedirs(root, exist_ok=True)
signal.alarm(60)
if mode == "stall":
    FTPHandler.ftp_RETR = lambda handler, file: None
if mode == "alter":
    def alter(handler, file):
        with open(file, "ab") as stored:
            stored.write(b"#")
    FTPHandler.on_file_received = alter
if mode == "busy":
    def refuse(handler):
        handler.respond("421 Too many connections, try later.")
        handler.close_when_done()
    FTPHandler.handle = refuse
FTPHandler.authorizer = DummyAuthorizer()
FTPHandler.authorizer.add_user("root", "lumo", root, perm="elradfmwMT")
FTPHandler.auth_failed_timeout = 0
server = FTPServer(("::1" if mode == "answer6" else "127.0.0.1", 0), FTPHandler)
print(server.address[1], flush=True)
server.serve_forever()
