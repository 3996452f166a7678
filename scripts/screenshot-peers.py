#!/usr/bin/env python3
"""Two scripted IRC users for the screenshot: they wait in a channel for the program's user,
greet it, wait for its answer and chat on. Progress is told by creating marker files.

usage: screenshot-peers.py PORT CHANNEL USER MARKER_FOLDER
markers: "online" once USER is registered, "greeted" once USER joined and was greeted,
"done" once USER's line was answered."""
import pathlib
import socket
import sys
import time

port, channel, user, markers = int(sys.argv[1]), sys.argv[2], sys.argv[3], pathlib.Path(sys.argv[4])
deadline = time.monotonic() + 60


class Peer:
    def __init__(self, nick, realname):
        self.nick = nick
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=1)
        self.buffer = b""
        self.send(f"NICK {nick}")
        self.send(f"USER {nick} 0 * :{realname}")
        self.wait_for(lambda line: line.split(" ")[1:2] == ["001"])

    def send(self, line):
        self.sock.sendall(line.encode() + b"\r\n")

    def say(self, text):
        self.send(f"PRIVMSG {channel} :{text}")
        time.sleep(0.4)

    def lines(self):
        """The lines received so far; answers the server's PING on the way."""
        try:
            data = self.sock.recv(4096)
        except socket.timeout:
            return []
        if not data:
            raise SystemExit(f"{self.nick}: the server closed the connection")
        self.buffer += data
        *complete, self.buffer = self.buffer.split(b"\r\n")
        out = []
        for raw in complete:
            line = raw.decode(errors="replace")
            if line.startswith("PING "):
                self.send("PONG " + line[5:])
            out.append(line)
        return out

    def wait_for(self, test):
        while time.monotonic() < deadline:
            for line in self.lines():
                if test(line):
                    return line
        raise SystemExit(f"{self.nick}: gave up waiting")


def from_user(line, command):
    parts = line.split(" ")
    return len(parts) > 2 and parts[0].startswith(f":{user}!") and parts[1] == command


mira = Peer("mira", "Mira")
mira.send(f"JOIN {channel}")
mira.wait_for(lambda line: " 366 " in line)
mira.send(f"TOPIC {channel} :Friendly chat about anything - teletrivia on Friday nights")
tomas = Peer("tomas", "Tomas")
tomas.send(f"JOIN {channel}")
tomas.wait_for(lambda line: " 366 " in line)
mira.send(f"MODE {channel} +v tomas")
mira.say("evening tomas")
tomas.say("hi mira! quiet night so far")

while time.monotonic() < deadline:
    mira.send(f"ISON {user}")
    if mira.wait_for(lambda line: " 303 " in line).split(":")[-1].strip() == user:
        break
    time.sleep(0.2)
(markers / "online").touch()

mira.wait_for(lambda line: from_user(line, "JOIN"))
mira.say(f"hi {user}, welcome to {channel}!")
tomas.say("hey there")
(markers / "greeted").touch()

tomas.wait_for(lambda line: from_user(line, "PRIVMSG"))
tomas.send(f"PRIVMSG {channel} :\x01ACTION waves\x01")
time.sleep(0.4)
mira.say("\x0312trivia starts on Friday at 8 pm, bring your best guesses")
tomas.say("count me in")
(markers / "done").touch()
# Stay in the channel until stopped, so that the picture shows everyone.
while True:
    mira.lines()
    tomas.lines()
