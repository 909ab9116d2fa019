"""The far end of a serial line for the Windows serial test: a pseudo-terminal in raw mode whose
device path is printed first, then every byte that arrives is sent back, for at most five minutes."""
import os
import select
import signal
import tty

signal.alarm(300)
master, slave = os.openpty()
tty.setraw(slave)
print(os.ttyname(slave), flush=True)
while True:
    ready, _, _ = select.select([master], [], [])
    if ready:
        os.write(master, os.read(master, 1024))
