#!/usr/bin/env python3
"""NetWireXtra in xtrahost under Wine, against peers of our own on 127.0.0.1.

    netwire_session_test.py <wine-run> <dist folder>

Each test drives one xtrahost session through its standard input, a call per line,
and reads each result as it is printed.
"""
import queue
import re
import socket
import subprocess
import sys
import threading
import time
import unittest

WINE_RUN = DIST = None
TIMEOUT = 20.0
# Ports of these tests only.
PORT = {name: 47100 + i for i, name in enumerate(
    ["udp1", "udp2", "udp3", "stop1", "stop2", "tcp", "dest", "peer", "twice"])}


class Session:
    def __init__(self):
        self.process = subprocess.Popen(
            [WINE_RUN, DIST + "/xtrahost.exe", DIST + "/NetWireXtra.x32"],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()
        while not self._next().startswith("safeForShockwave:"):
            pass

    def _read(self):
        for raw in self.process.stdout:
            self.lines.put(raw.decode("latin-1").rstrip("\r\n"))
        self.lines.put(None)

    def _next(self):
        line = self.lines.get(timeout=TIMEOUT)
        if line is None:
            raise AssertionError("xtrahost ended early")
        return line

    def send(self, *calls):
        self.process.stdin.write("".join(c + "\n" for c in calls).encode("latin-1"))
        self.process.stdin.flush()

    def call(self, line):
        self.send(line)
        return self._next()

    def calls(self, lines):
        self.send(*lines)
        return [self._next() for _ in lines]

    def wait_for(self, line, expected):
        deadline = time.time() + TIMEOUT
        while True:
            got = self.call(line)
            if got == expected or time.time() > deadline:
                return got
            time.sleep(0.05)

    def take(self, count):
        """The next count messages, waiting for them as they arrive."""
        got = []
        deadline = time.time() + TIMEOUT
        while len(got) < count and time.time() < deadline:
            line = self.call("GetNext()")
            if line != "-1":
                got.append(line)
        return got

    def close(self):
        """Ends the session; its output from here on must show nothing left behind."""
        self.process.stdin.close()
        rest = []
        while (line := self.lines.get(timeout=TIMEOUT)) is not None:
            rest.append(line)
        self.process.stdout.close()
        return self.process.wait(TIMEOUT), rest


def udp_send(port, payload):
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
        s.sendto(payload, ("127.0.0.1", port))


def port_taken(port, kind=socket.SOCK_DGRAM):
    with socket.socket(socket.AF_INET, kind) as s:
        try:
            s.bind(("", port))
            return False
        except OSError:
            return True


def wait_until(predicate):
    deadline = time.time() + TIMEOUT
    while not predicate():
        if time.time() > deadline:
            raise AssertionError("timed out")
        time.sleep(0.05)


def tcp_connect(port):
    deadline = time.time() + TIMEOUT
    while True:
        try:
            return socket.create_connection(("127.0.0.1", port), timeout=TIMEOUT)
        except OSError:
            if time.time() > deadline:
                raise
            time.sleep(0.05)


def accept(server):
    connection, _ = server.accept()
    connection.settimeout(TIMEOUT)
    return connection


def read_messages(connection, count, buffered=b""):
    """The next count NUL-terminated messages of a stream, and what followed them."""
    while buffered.count(b"\0") < count:
        chunk = connection.recv(65536)
        if not chunk:
            break
        buffered += chunk
    parts = buffered.split(b"\0")
    return [p.decode("latin-1") for p in parts[:count]], b"\0".join(parts[count:])


class NetWireSession(unittest.TestCase):
    def setUp(self):
        self.session = Session()

    def tearDown(self):
        code, rest = self.session.close()
        self.assertIn("DllCanUnloadNow: 0x00000000", rest)
        self.assertEqual(code, 0, rest)

    def test_udp_queue_order_and_datagram_texts(self):
        s = self.session
        self.assertEqual(s.calls(["HasNext()", "GetNext()"]), ["0", "-1"])
        self.assertEqual(s.call('WaitForUDP(%d)' % PORT["udp1"]), '"Monitoring UDP Connections..."')
        s.call('WaitForUDP(%d)' % PORT["udp2"])
        wait_until(lambda: port_taken(PORT["udp1"]) and port_taken(PORT["udp2"]))

        udp_send(PORT["udp1"], b"hello\0")
        self.assertEqual(s.wait_for("HasNext()", "1"), "1")
        self.assertEqual(s.calls(["GetNext()", "GetNext()"]), ['["hello", "127.0.0.1"]', "-1"])

        # Arrival order across listeners, and a look at the queue takes nothing.
        udp_send(PORT["udp2"], b"first\0")
        s.wait_for("HasNext()", "1")
        udp_send(PORT["udp1"], b"second\0")
        time.sleep(1.0)
        self.assertEqual(s.calls(["GetNext()", "HasNext()", "GetNext()", "HasNext()"]),
                         ['["first", "127.0.0.1"]', "1", '["second", "127.0.0.1"]', "0"])

        # Bytes after the NUL are not text; an oversized datagram without one is cut
        # to the text block and doesn't end the listener.
        udp_send(PORT["udp1"], b"text\0tail")
        udp_send(PORT["udp1"], b"y" * 9000)
        udp_send(PORT["udp1"], b"after\0")
        s.wait_for("HasNext()", "1")
        self.assertEqual(s.take(3), ['["text", "127.0.0.1"]', '["%s", "127.0.0.1"]' % ("y" * 8191),
                               '["after", "127.0.0.1"]'])

        # A second listener on a bound port can't bind; the first goes on alone.
        s.call('WaitForUDP(%d)' % PORT["udp1"])
        udp_send(PORT["udp1"], b"once\0")
        s.wait_for("HasNext()", "1")
        time.sleep(0.3)
        self.assertEqual(s.calls(["GetNext()", "GetNext()"]), ['["once", "127.0.0.1"]', "-1"])

    def test_destroy_all_threads(self):
        s = self.session
        s.calls(['WaitForUDP(%d)' % PORT["stop1"], 'WaitForUDP(%d)' % PORT["stop2"]])
        wait_until(lambda: port_taken(PORT["stop1"]) and port_taken(PORT["stop2"]))
        udp_send(PORT["stop1"], b"kept\0")
        s.wait_for("HasNext()", "1")
        self.assertEqual(s.call("DestroyAllThreads()"), "<Void>")

        # No traffic: everything keeps running and nothing is taken from the queue.
        time.sleep(0.5)
        self.assertEqual(s.call("HasNext()"), "1")
        self.assertTrue(port_taken(PORT["stop1"]) and port_taken(PORT["stop2"]))

        # The next datagram wakes its listener, which empties the queue and ends.
        udp_send(PORT["stop1"], b"wake\0")
        self.assertEqual(s.wait_for("HasNext()", "0"), "0")
        udp_send(PORT["stop1"], b"nobody\0")
        time.sleep(0.5)
        self.assertEqual(s.call("HasNext()"), "0")
        self.assertTrue(port_taken(PORT["stop1"]))

    def test_tcp_receive_framing(self):
        s = self.session
        self.assertEqual(s.call('WaitForTCP(%d)' % PORT["tcp"]), '"Monitoring TCP Connections..."')
        with tcp_connect(PORT["tcp"]) as peer:
            peer.sendall(b"one\0two\0")
            peer.sendall(b"spl")
            time.sleep(0.3)
            peer.sendall(b"it\0" + b"z" * 9000 + b"\0")
            self.assertEqual(s.take(5), ['["%s", "127.0.0.1"]' % t
                                   for t in ["one", "two", "split", "z" * 8191, "z" * 809]])
            # An unfinished message waits for its end.
            peer.sendall(b"par")
            time.sleep(0.3)
            self.assertEqual(s.call("HasNext()"), "0")
            peer.sendall(b"t\0")
            self.assertEqual(s.wait_for("GetNext()", '["part", "127.0.0.1"]'), '["part", "127.0.0.1"]')

    def test_udp_send(self):
        s = self.session
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as peer:
            peer.bind(("127.0.0.1", PORT["peer"]))
            peer.settimeout(TIMEOUT)
            self.assertEqual(s.call('SendUDPMessage("127.0.0.1", %d, "")' % PORT["peer"]),
                             '"Sent message to:127.0.0.1:%d"' % PORT["peer"])
            self.assertEqual(peer.recv(100), b"\0")
            self.assertEqual(s.call('SendUDPMessage("localhost", %d, "by name")' % PORT["peer"]),
                             '"Sent message to:localhost:%d"' % PORT["peer"])
            s.call('SendUDPMessage("127.0.0.1", %d, "marker")' % PORT["peer"])
            self.assertEqual(peer.recv(100), b"marker\0")  # the named one never came
        # A confirmation too long for its 256 bytes is cut inside the address.
        text = s.call('SendUDPMessage("%s", 5, "x")' % ("h" * 300)).strip('"')
        self.assertRegex(text, r"^Sent message to:h+:5$")
        self.assertLessEqual(len(text), 255)

    def test_tcp_send_destinations(self):
        s = self.session
        port = PORT["dest"]
        with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as server:
            server.bind(("127.0.0.1", port))
            server.listen(5)
            server.settimeout(TIMEOUT)
            # A burst right behind the first message: all of it, in order, on one connection.
            burst = ['SendTCPMessage("127.0.0.1", %d, "m%d")' % (port, i) for i in range(1000)]
            self.assertEqual(set(s.calls(burst)), {"1"})
            first = accept(server)
            got, rest = read_messages(first, 1000)
            self.assertEqual(got, ["m%d" % i for i in range(1000)])
            self.assertEqual(rest, b"")

            # Another text for the same address is another destination.
            send = lambda host, text: s.call('SendTCPMessage("%s", %d, "%s")' % (host, port, text))
            send("localhost", "by name")
            second = accept(server)
            send("localhost", "")
            self.assertEqual(read_messages(second, 2)[0], ["by name", ""])

            # The peer closes: the next message is dropped, the one after reconnects.
            first.close()
            time.sleep(0.3)
            for text in ["dropped", "again", "same"]:
                send("127.0.0.1", text)
            third = accept(server)
            self.assertEqual(read_messages(third, 2)[0], ["again", "same"])
            second.close()
            third.close()

    def test_local_ip(self):
        got = self.session.call("GetLocalIP()")
        self.assertRegex(got, r'^\[("\d{1,3}(\.\d{1,3}){3}"(, )?)+\]$')


if __name__ == "__main__":
    WINE_RUN, DIST = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1] + sys.argv[3:], verbosity=2)
