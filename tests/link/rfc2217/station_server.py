#!/usr/bin/env python3
"""An RFC 2217 serial device server for the link tests.

The Telnet and COM-PORT-OPTION side is pyserial's serial.rfc2217.PortManager,
code written independently of this project. The serial port it drives is a
stand-in whose bytes and line settings travel over a TCP "bridge" connection
to the test program, where a simulated upload station sits.

Bridge messages, both ways: one type byte, a 2-byte big-endian length, the
payload.
  b'D'  data bytes (to the station, or from it)
  b'C'  a line setting the server applied, as ASCII "name=value"
        (dtr, rts, break_condition, baudrate, bytesize, parity, stopbits,
        xonxoff, rtscts) or "purge_in" / "purge_out"

Usage: station_server.py --bridge PORT [--port PORT]
Prints "LISTENING <port>" once it accepts clients; serves one client at a
time and takes the next when it leaves.
"""

import argparse
import os
import socket
import struct
import sys
import threading

import serial.rfc2217


class Bridge:
    def __init__(self, port):
        self.sock = socket.create_connection(("127.0.0.1", port))
        self.sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        self.lock = threading.Lock()

    def send(self, kind, payload):
        with self.lock:
            self.sock.sendall(kind + struct.pack("!H", len(payload)) + payload)

    def receive(self):
        header = self._exactly(3)
        (length,) = struct.unpack("!H", header[1:3])
        return header[0:1], self._exactly(length)

    def _exactly(self, n):
        data = b""
        while len(data) < n:
            chunk = self.sock.recv(n - len(data))
            if not chunk:
                raise EOFError("bridge closed")
            data += chunk
        return data


class BridgePort:
    """The attributes of a pyserial port that PortManager reads and sets."""

    WATCHED = ("dtr", "rts", "break_condition", "baudrate", "bytesize",
               "parity", "stopbits", "xonxoff", "rtscts")

    def __init__(self, bridge):
        object.__setattr__(self, "_bridge", bridge)
        for name, value in (("dtr", False), ("rts", False), ("break_condition", False),
                            ("baudrate", 9600), ("bytesize", 8), ("parity", "N"),
                            ("stopbits", 1), ("xonxoff", False), ("rtscts", False),
                            ("cts", False), ("dsr", False), ("ri", False), ("cd", False)):
            object.__setattr__(self, name, value)

    def __setattr__(self, name, value):
        object.__setattr__(self, name, value)
        if name in self.WATCHED:
            self._bridge.send(b"C", "{}={}".format(name, value).encode("ascii"))

    def reset_input_buffer(self):
        self._bridge.send(b"C", b"purge_in")

    def reset_output_buffer(self):
        self._bridge.send(b"C", b"purge_out")

    def write(self, data):
        if data:
            self._bridge.send(b"D", bytes(data))


class Client:
    """The network side of PortManager: a thread-safe write."""

    def __init__(self, sock):
        self.sock = sock
        self.lock = threading.Lock()

    def write(self, data):
        with self.lock:
            try:
                self.sock.sendall(data)
            except OSError:
                pass  # the reader notices the lost client


def forward_station(bridge, state):
    """Bytes from the station go to the client of the moment, escaped. The
    server ends with the station's process."""
    while True:
        try:
            kind, payload = bridge.receive()
        except (EOFError, OSError):
            os._exit(0)
        manager = state.get("manager")
        if kind == b"D" and manager is not None:
            manager.connection.write(b"".join(manager.escape(payload)))


def serve(client_sock, port, state):
    client_sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    manager = serial.rfc2217.PortManager(port, Client(client_sock))
    state["manager"] = manager
    try:
        while True:
            data = client_sock.recv(4096)
            if not data:
                break
            port.write(b"".join(manager.filter(data)))
    except OSError:
        pass
    finally:
        state["manager"] = None
        client_sock.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bridge", type=int, required=True)
    parser.add_argument("--port", type=int, default=0)
    args = parser.parse_args()

    bridge = Bridge(args.bridge)
    port = BridgePort(bridge)
    state = {"manager": None}
    threading.Thread(target=forward_station, args=(bridge, state), daemon=True).start()

    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", args.port))
    server.listen(4)
    print("LISTENING {}".format(server.getsockname()[1]), flush=True)
    while True:
        client_sock, _ = server.accept()
        serve(client_sock, port, state)


if __name__ == "__main__":
    sys.exit(main())
